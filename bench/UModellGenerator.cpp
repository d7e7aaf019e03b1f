#include "UModellGenerator.h"

#include <random>
#include <string>

#include "analysis/UBerechnung.h"
#include "model/UKnoten.h"

namespace tessomir::bench {
namespace {

class TBauer {
public:
    TBauer(int artikel, uint32_t saat) : M(std::make_unique<TModell>()), Zufall(saat) {
        M->ArtikelListe[0] = "Artikel1";
        for (int a = 2; a <= artikel; ++a) M->ArtikelEinfuegen("Artikel" + std::to_string(a));
    }

    template <class T> T& Knoten(double x, double y) {
        auto k = std::make_unique<T>(*M);
        k->Refpunkt = Punkt(x, y);
        T& ref = *k;
        M->FOListe.Hinzufuegen(std::move(k), true);
        return ref;
    }

    // Wie der Editor: Wege vorn in die Liste, Matrizen wachsen beim Verbinden.
    void Weg(TKnoten& von, TKnoten& nach) {
        auto w = std::make_unique<TWeg>(*M);
        TWeg& ref = *w;
        M->FOListe.Hinzufuegen(std::move(w), false);
        ref.SetStart(&von);
        ref.SetZiel(&nach);
    }

    TQuelle& Quelle(double x, double y) { return Knoten<TQuelle>(x, y); }
    TSenke& Senke(double x, double y) { return Knoten<TSenke>(x, y); }
    TVerzweigung& Verzweigung(double x, double y) { return Knoten<TVerzweigung>(x, y); }
    TWandler& Wandler(double x, double y) { return Knoten<TWandler>(x, y); }

    int Zahl(int bis) { return std::uniform_int_distribution<int>(0, bis)(Zufall); }

    // Werte setzen, wenn alle Wege stehen: Mengen, Anteile, Faktoren.
    void Fuellen() {
        const int n = M->AnzahlArtikel();
        for (const auto& o : M->FOListe.Alle()) {
            TKnoten* k = o->AlsKnoten();
            if (k == nullptr) continue;
            TDyn3DMatrix& m = k->Matrix();
            if (dynamic_cast<TWandler*>(k) != nullptr) {
                // Neun Zehntel bleiben Artikel, ein Zehntel wird zum nächsten.
                for (int i = 0; i < n; ++i) {
                    m.W(i, i + 1, 1) += 0.9;
                    m.W((i + 1) % n, i + 1, 1) += 0.1;
                }
                continue;
            }
            m.AlleSetzen(0.0);
            if (dynamic_cast<TQuelle*>(k) != nullptr) {
                for (int a = 0; a < n; ++a) m.W(a, 0, 1) = Zahl(4) == 0 ? 0.0 : 1 + Zahl(99);
            } else if (dynamic_cast<TVerzweigung*>(k) != nullptr) {
                for (int a = 0; a < n; ++a) {
                    for (int j = 1; j < m.Dim2(); ++j) {
                        const int s = Zahl(20) * 5;
                        m.W(a, j, 1) = s;
                        m.W(a, j, 2) = 100 - s;
                    }
                }
            }
        }
    }

    std::unique_ptr<TModell> M;
    std::mt19937 Zufall;
};

} // namespace

std::unique_ptr<TModell> ModellErzeugen(size_t knoten, int artikel, uint32_t saat) {
    TBauer b(artikel, saat);
    const size_t einheiten = knoten / 10;
    size_t rest = knoten % 10;
    // Ein einzelner übriger Knoten verlängert die letzte Einheit um einen Wandler.
    const bool verlaengern = rest == 1 && einheiten > 0;
    if (verlaengern) rest = 0;
    TVerzweigung* naechsteWurzel = nullptr;
    TWandler* zufuehrung = nullptr;
    for (size_t e = 0; e < einheiten; ++e) {
        const double x = static_cast<double>(e % 100) * 200.0;
        const double y = -static_cast<double>(e / 100) * 120.0;
        auto& q = b.Quelle(x, y);
        auto& v0 = naechsteWurzel != nullptr ? *naechsteWurzel : b.Verzweigung(x + 30, y);
        naechsteWurzel = nullptr;
        auto& v1 = b.Verzweigung(x + 60, y + 20);
        auto& v2 = b.Verzweigung(x + 60, y - 20);
        b.Weg(q, v0);
        if (zufuehrung != nullptr) b.Weg(*zufuehrung, v0);
        zufuehrung = nullptr;
        b.Weg(v0, v1);
        b.Weg(v0, v2);
        // Oberer Zweig: Wandler (bei Bedarf zwei hintereinander) und Senke, dazu eine Senke.
        auto& w1 = b.Wandler(x + 90, y + 30);
        b.Weg(v1, w1);
        TKnoten* ende = &w1;
        if (verlaengern && e + 1 == einheiten) {
            auto& w1b = b.Wandler(x + 110, y + 30);
            b.Weg(w1, w1b);
            ende = &w1b;
        }
        b.Weg(*ende, b.Senke(x + 130, y + 30));
        b.Weg(v1, b.Senke(x + 90, y + 10));
        // Unterer Zweig: jede zehnte Einheit führt über zwei Wandler in die
        // Wurzel der nächsten Einheit, sonst Wandler und Senke.
        auto& w2 = b.Wandler(x + 90, y - 10);
        b.Weg(v2, w2);
        const bool zusammen = e % 10 == 0 && e + 1 < einheiten;
        if (zusammen) {
            auto& w2b = b.Wandler(x + 120, y - 10);
            b.Weg(w2, w2b);
            zufuehrung = &w2b;
            // Die Wurzel der nächsten Einheit entsteht schon hier, damit ihr
            // zweiter Eingang in der Reihenfolge des Editors entsteht.
            naechsteWurzel = &b.Verzweigung(x + 230, y);
        } else {
            b.Weg(w2, b.Senke(x + 120, y - 10));
        }
        b.Weg(v2, b.Senke(x + 90, y - 30));
    }
    // Übrige Knoten: Quelle-Wandler-Senke für eine ungerade Zahl, sonst Paare.
    double x = 0.0;
    const double y = -static_cast<double>(einheiten / 100 + 1) * 120.0;
    if (rest % 2 == 1 && rest >= 3) {
        auto& q = b.Quelle(x, y);
        auto& w = b.Wandler(x + 20, y);
        b.Weg(q, w);
        b.Weg(w, b.Senke(x + 40, y));
        rest -= 3;
        x += 60;
    }
    for (; rest >= 2; rest -= 2, x += 60) b.Weg(b.Quelle(x, y), b.Senke(x + 30, y));
    b.Fuellen();
    return std::move(b.M);
}

void Durchrechnen(TModell& modell, int durchgaenge) {
    BerechnungVorbereiten(modell);
    for (int i = 0; i < durchgaenge; ++i) {
        EingangsDurchgang(modell);
        AusgangsDurchgang(modell);
    }
}

TStillePlattform::TStillePlattform() : Vorher(Plattform()) { Plattform() = TPlattform{this, this, this, this}; }

TStillePlattform::~TStillePlattform() { Plattform() = Vorher; }

TModellGroesse Groesse(const TModell& modell) {
    TModellGroesse g;
    for (const auto& o : modell.FOListe.Alle()) {
        if (const TKnoten* k = o->AlsKnoten()) {
            ++g.Knoten;
            g.Zellen += k->Matrix().AnzahlZellen();
        } else {
            ++g.Wege;
        }
    }
    return g;
}

} // namespace tessomir::bench
