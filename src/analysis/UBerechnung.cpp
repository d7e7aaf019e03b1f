// Flussberechnung: Eingangs- und Ausgangsdurchgänge bis zur Ruhe.
#include "analysis/UBerechnung.h"

#include <algorithm>
#include <cmath>

#include "model/UKnoten.h"
#include "model/UPlattform.h"
#include "model/UVorabladen.h"

namespace tessomir {
namespace {

constexpr double UeberlaufGrenze = 1e100;
constexpr double RuheGrenze = 1e-10;

bool SummeAllerArtikel() { return Modell != nullptr && Modell->SummeAllerArtikel; }

// Zellen, die ein Eingangsweg je Artikel liefert: Ausgangsscheibe o+1 des
// Startknotens. Artikel, die der Startknoten nicht hat, liefern 0.
struct TZulauf {
    const double* Zelle = nullptr;
    size_t Schritt = 0;
    int Artikel = 0;

    double Wert(int a) const { return a < Artikel ? Zelle[static_cast<size_t>(a) * Schritt] : 0.0; }
    // Alle Zellen auf einmal anfordern, statt nacheinander auf jede zu warten.
    void Vorabladen() const {
        for (int a = 0; a < Artikel; ++a) tessomir::Vorabladen(Zelle + static_cast<size_t>(a) * Schritt);
    }
};

// Hebt den Höchststrom um einen Wert (Betrag verglichen, Vorzeichen behalten).
void Heben(double& maxStrom, double wert) {
    if (std::fabs(wert) > maxStrom) maxStrom = wert;
}

// Hält den berechneten Höchststrom während eines Knotens in einer lokalen
// Variablen und schreibt ihn am Ende zurück.
class THoechststrom {
public:
    THoechststrom() : Wert(Modell != nullptr ? Modell->MaxStromBerechnet : 0.0) {}
    ~THoechststrom() {
        if (Modell != nullptr) Modell->MaxStromBerechnet = Wert;
    }
    THoechststrom(const THoechststrom&) = delete;
    THoechststrom& operator=(const THoechststrom&) = delete;
    double Wert;
};

TZulauf ZulaufVon(const TWeg* weg, int position) {
    TZulauf z;
    if (position < 0) return z;
    const TDyn3DMatrix& oben = weg->Start()->Matrix();
    if (position + 1 >= oben.Dim3()) return z;
    z.Zelle = oben.Daten() + position + 1;
    z.Schritt = oben.ArtikelSchritt();
    z.Artikel = oben.Dim1();
    return z;
}

// Die ganze Matrix anfordern: der Ausgangsdurchgang liest sie vollständig.
void MatrixVorabladen(const TDyn3DMatrix& m) {
    const char* anfang = reinterpret_cast<const char*>(m.Daten());
    const size_t bytes = std::min<size_t>(m.AnzahlZellen() * sizeof(double), 4096);
    for (size_t i = 0; i < bytes; i += 64) Vorabladen(anfang + i);
}

} // namespace

// ---------------------------------------------------------------- Knoten

TBerechnungsZustand TSenke::EingaengeUebernehmen() {
    const TZulauf zulauf = ZulaufVon(Eingang, ZulaufPosition(Eingang));
    zulauf.Vorabladen();
    const bool summieren = SummeAllerArtikel();
    THoechststrom maxStrom;
    double summe = 0.0;
    TDyn3DMatrix& m = Verteilung;
    const bool hatEingang = m.Dim2() > 1;
    for (int a = 0; a < m.Dim1(); ++a) {
        const double r = zulauf.Wert(a);
        if (summieren) summe += r;
        else Heben(maxStrom.Wert, r);
        if (hatEingang) m.W(a, 1, 0) = r;
    }
    if (summieren) Heben(maxStrom.Wert, summe);
    return Konvergierend;
}

TBerechnungsZustand TKnoten::EingangBewerten(const TWeg* weg, int eingangsScheibe, int eingangsNummer, bool wandler,
                                             double& groessteAenderung) {
    const TZulauf zulauf = ZulaufVon(weg, ZulaufPosition(weg));
    zulauf.Vorabladen();
    const bool summieren = SummeAllerArtikel();
    TDyn3DMatrix& m = Verteilung;
    double* eingang = eingangsScheibe < m.Dim2() ? m.Daten() + static_cast<size_t>(eingangsScheibe) * m.Dim3() : nullptr;
    const size_t schritt = m.ArtikelSchritt();
    const double letzte = LetzteAenderung;
    double aenderung = groessteAenderung;
    double summe = 0.0;
    TBerechnungsZustand z = Konvergierend;
    THoechststrom maxStrom;
    for (int a = 0; a < m.Dim1(); ++a) {
        const double r = zulauf.Wert(a);
        if (summieren) summe += r;
        else Heben(maxStrom.Wert, r);
        TBerechnungsZustand bewertung;
        if (std::fabs(r) <= UeberlaufGrenze) {
            double* zelle = eingang != nullptr ? eingang + static_cast<size_t>(a) * schritt : nullptr;
            const double d = std::fabs(r - (zelle != nullptr ? *zelle : 0.0));
            if (d < RuheGrenze && letzte < RuheGrenze) bewertung = Stabil;
            else if (d > letzte) bewertung = Zunehmend;
            else bewertung = Konvergierend;
            if (d > aenderung) aenderung = d;
            if (zelle != nullptr) *zelle = r;
        } else {
            bewertung = Ueberlauf;
            if (Modell != nullptr) {
                const std::string text = wandler
                    ? Titel() + " " + Modell->ArtikelText(a) + " " + TModell::EingangText(0)
                    : Titel() + Modell->ArtikelText(a) + " " + TModell::EingangText(eingangsNummer);
                Modell->LogZeile(text + " : Eingangsstrom wird zu gross");
            }
        }
        if (bewertung > z) z = bewertung;
    }
    if (summieren) Heben(maxStrom.Wert, summe);
    groessteAenderung = aenderung;
    return z;
}

TBerechnungsZustand TVerzweigung::EingaengeUebernehmen() {
    double m = 0.0;
    TBerechnungsZustand z = Konvergierend;
    for (int i = 0; i < AnzahlEingaenge(); ++i) {
        z = std::max(z, EingangBewerten(Eingaenge[static_cast<size_t>(i)], i + 1, i + 1, false, m));
    }
    LetzteAenderung = m;
    return z;
}

TBerechnungsZustand TWandler::EingaengeUebernehmen() {
    double m = 0.0;
    const TBerechnungsZustand z = EingangBewerten(Eingang, 1, 0, true, m);
    LetzteAenderung = m;
    return z;
}

void TVerzweigung::AusgaengeBerechnen() {
    TDyn3DMatrix& m = Verteilung;
    const int p = std::min(AnzahlEingaenge(), m.Dim2() - 1);
    const int q = std::min(AnzahlAusgaenge(), m.Dim3() - 1);
    const size_t d3 = static_cast<size_t>(m.Dim3());
    for (int a = 0; a < m.Dim1(); ++a) {
        double* artikel = m.Daten() + static_cast<size_t>(a) * m.ArtikelSchritt();
        // Zeile 0 sammelt die Ausgänge; je Ausgang wird über die Eingänge in
        // aufsteigender Reihenfolge summiert.
        for (int k = 1; k <= q; ++k) artikel[k] = 0.0;
        for (int j = 1; j <= p; ++j) {
            const double* zeile = artikel + static_cast<size_t>(j) * d3;
            const double zufluss = zeile[0];
            for (int k = 1; k <= q; ++k) artikel[k] += zufluss * zeile[k] / 100.0;
        }
    }
}

void TWandler::AusgaengeBerechnen() {
    TDyn3DMatrix& m = Verteilung;
    if (m.Dim3() < 2) return;
    const int n = std::min(m.Dim1(), m.Dim2() - 1);
    const size_t d3 = static_cast<size_t>(m.Dim3());
    const size_t schritt = m.ArtikelSchritt();
    double* daten = m.Daten();
    for (int i = 0; i < n; ++i) {
        // Faktoren von Artikel i liegen in (i, j+1, 1), die Zuflüsse in (j, 1, 0).
        const double* faktoren = daten + static_cast<size_t>(i) * schritt + d3 + 1;
        double summe = 0.0;
        for (int j = 0; j < n; ++j) summe += daten[static_cast<size_t>(j) * schritt + d3] * faktoren[static_cast<size_t>(j) * d3];
        daten[static_cast<size_t>(i) * schritt + 1] = summe;
    }
}

// ---------------------------------------------------------------- Modell

void TModell::BerechnungVorbereiten() {
    MaxStromBerechnet = 0.0;
    for (TKnoten* k : FOListe.Knoten()) k->Zuruecksetzen();
}

TBerechnungsZustand TModell::EingangsDurchgang(bool* alleStabil) {
    TBerechnungsZustand z = Konvergierend;
    bool stabil = true;
    const std::vector<TKnoten*>& knoten = FOListe.Knoten();
    for (size_t i = 0; i < knoten.size(); ++i) {
        if (i + 4 < knoten.size()) Vorabladen(knoten[i + 4]);
        if (i + 1 < knoten.size()) MatrixVorabladen(knoten[i + 1]->Matrix());
        TKnoten* k = knoten[i];
        const TBerechnungsZustand b = k->EingaengeUebernehmen();
        if (b > z) z = b;
        if (b != Stabil && k->BewertetStabilitaet()) stabil = false;
    }
    if (alleStabil != nullptr) *alleStabil = stabil;
    return z;
}

void TModell::AusgangsDurchgang() {
    const std::vector<TKnoten*>& knoten = FOListe.Knoten();
    for (size_t i = 0; i < knoten.size(); ++i) {
        if (i + 4 < knoten.size()) Vorabladen(knoten[i + 4]);
        if (i + 1 < knoten.size()) MatrixVorabladen(knoten[i + 1]->Matrix());
        knoten[i]->AusgaengeBerechnen();
    }
}

void TModell::MaxStromErmitteln() {
    for (const auto& o : FOListe.Alle()) {
        const double s = o->Strom();
        if (s > MaxStromBerechnet) MaxStromBerechnet = s;
    }
}

// ---------------------------------------------------------------- Befehl

TBerechnungsErgebnis ModellNeuberechnen(TModell& modell, const std::function<void()>& maxStromAnzeigen) {
    if (maxStromAnzeigen) maxStromAnzeigen();
    modell.LogLeeren();
    if (!(modell.StrukturPruefen() && modell.KolonnensummenPruefen())) {
        Plattform().Meldungen->Fehler("Beim Pr\xFC" "fen sind Fehler aufgetreten");
        return TBerechnungsErgebnis::PruefungFehlerhaft;
    }
    modell.LogZeile("Daten OK, Berechnung gestartet");
    modell.BerechnungVorbereiten();
    IUhr& uhr = *Plattform().Uhr;
    const uint32_t start = uhr.Millisekunden();
    TBerechnungsZustand z;
    do {
        bool alleStabil = false;
        z = modell.EingangsDurchgang(&alleStabil);
        modell.AusgangsDurchgang();
        // Fertig erst, wenn nichts mehr zunimmt und jede Verzweigung und jeder
        // Wandler ruht; ein einzelner ruhender Knoten genügt nicht.
        if (z <= Stabil) z = alleStabil ? Stabil : Konvergierend;
        const uint32_t vergangen = uhr.Millisekunden() - start;
        if (vergangen > modell.MaxBerDauer) {
            modell.LogZeile("Max. Berechnungsdauer von : " + std::to_string(modell.MaxBerDauer) +
                            " msec \xFC" "berschritten.");
            modell.LogZeile("Wahrscheinliche Ursache : Schlaufe mit monoton zunehmendem Strom");
            z = Zeitueberschreitung;
        }
    } while (z != Stabil && z != Ueberlauf && z != Zeitueberschreitung);

    const bool ok = z == Stabil;
    if (ok) {
        modell.EingangsDurchgang();
        modell.LogZeile("Berechnung OK");
    } else {
        Plattform().Meldungen->Fehler("Beim Berechnen sind Fehler aufgetreten");
    }
    modell.MaxStromErmitteln();
    if (maxStromAnzeigen) maxStromAnzeigen();
    return ok ? TBerechnungsErgebnis::BerechnungOK : TBerechnungsErgebnis::BerechnungFehlerhaft;
}

} // namespace tessomir
