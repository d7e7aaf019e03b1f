// Volles Neuzeichnen eines großen Modells (10 000 Knoten, 10 000 Wege) in ein
// 2000 x 4000-Bild über die Qt-Zeichenfläche, und das Erneuern eines
// Fensterausschnitts von 1280 x 1024 mit Sichtbereich, fest und beim Rollen;
// dasselbe in der Sankey-Ansicht (Bänder statt Linien).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/UKnoten.h"
#include "qt/UQtZeichenflaeche.h"
#include "UModellGenerator.h"
#include "view/UAnsicht.h"
#include "view/USankey.h"

namespace tessomir {
namespace {

constexpr int Spalten = 50;
constexpr int Zeilen = 200;
constexpr int Bildbreite = 2000;
constexpr int Bildhoehe = 4000;

// Raster aus Zeilen: Quelle, abwechselnd Verzweigung und Wandler, Senke;
// waagrechte Wege längs jeder Zeile und senkrechte zwischen Verzweigungen.
std::unique_ptr<TModell> ModellErzeugen(bool beschriftet, int anzeige) {
    auto modell = std::make_unique<TModell>();
    modell->MaxStromBer = false;
    modell->MaxStrom = 100.0;
    modell->MaxStromBerechnet = 94.0; // wie nach einer Berechnung (die Sankey-Ansicht zeigt sonst Linien)
    modell->Stromanzeige = anzeige;
    modell->QuellenBeschr = modell->SenkenBeschr = modell->VerzweigBeschr = modell->WandlerBeschr = beschriftet;
    modell->WegeBeschr = beschriftet;

    std::vector<TKnoten*> knoten;
    knoten.reserve(Spalten * Zeilen);
    for (int z = 0; z < Zeilen; ++z) {
        for (int s = 0; s < Spalten; ++s) {
            std::unique_ptr<TKnoten> k;
            if (s == 0) k = std::make_unique<TQuelle>(*modell);
            else if (s == Spalten - 1) k = std::make_unique<TSenke>(*modell);
            else if (s % 2 == 1) k = std::make_unique<TVerzweigung>(*modell);
            else k = std::make_unique<TWandler>(*modell);
            k->Refpunkt = TPunkt{20.0 + s * 39.0, -(10.0 + z * 19.9)};
            k->Name = std::string("K").append(std::to_string(z * Spalten + s));
            knoten.push_back(k.get());
            modell->FOListe.Hinzufuegen(std::move(k), true);
        }
    }
    int nr = 0;
    const auto verbinden = [&](TKnoten* von, TKnoten* nach) {
        auto w = std::make_unique<TWeg>(*modell);
        w->Name = std::string("W").append(std::to_string(nr));
        TWeg& weg = *w;
        modell->FOListe.Hinzufuegen(std::move(w), false);
        weg.SetStart(von);
        weg.SetZiel(nach);
        // Strom am Ziel, damit Balken und Zahlen gezeichnet werden; jeder
        // zehnte Weg liegt über seiner Kapazität und wird rot.
        weg.Kapazitaet = nr % 10 == 0 ? 5.0 : 1000.0;
        nach->Matrix().ZelleSetzen(0, nach->EingangIndex(&weg) + 1, 0, 5.0 + nr % 90);
        ++nr;
    };
    const auto at = [&](int z, int s) { return knoten[static_cast<size_t>(z * Spalten + s)]; };
    for (int z = 0; z < Zeilen; ++z)
        for (int s = 0; s + 1 < Spalten; ++s) verbinden(at(z, s), at(z, s + 1));
    for (int z = 0; z + 1 < Zeilen; ++z) verbinden(at(z, 1), at(z + 1, 1));
    verbinden(at(0, 3), at(1, 3));
    return modell;
}

// Zielzeiten in Millisekunden; jede Messung meldet ihr Verhältnis dazu.
constexpr double ZielBalken = 30.0;
constexpr double ZielZahlenUndNamen = 60.0;
constexpr double ZielFenster = 8.0;

// Mittlere Zeit je Durchgang im Verhältnis zum Ziel (unter 1: erreicht).
class TZielmessung {
public:
    explicit TZielmessung(double zielMs) : ZielMs(zielMs) {}
    void Beginnen() { Start = std::chrono::steady_clock::now(); }
    void Beenden() { Summe += std::chrono::steady_clock::now() - Start; ++Durchgaenge; }
    void Melden(benchmark::State& state) const {
        if (Durchgaenge == 0) return;
        const double ms = std::chrono::duration<double, std::milli>(Summe).count() / Durchgaenge;
        state.counters["VerhaeltnisZumZiel"] = ms / ZielMs;
    }

private:
    double ZielMs;
    std::chrono::steady_clock::time_point Start;
    std::chrono::steady_clock::duration Summe{};
    int64_t Durchgaenge = 0;
};

// Ein Bild des Modells: ganz (ohne Sichtbereich) oder nur der Ausschnitt ab
// 'ursprung' in Bildgröße, wie ihn das Zeichenfeld des Fensters erneuert.
void Zeichnen(QImage& bild, TQtTextSpeicher& texte, const TModell& modell, const QPoint* ursprung,
              bool sankey = false) {
    QPainter maler(&bild);
    if (ursprung != nullptr) maler.translate(-*ursprung);
    TQtZeichenflaeche flaeche(maler, &texte);
    const QPoint o = ursprung != nullptr ? *ursprung : QPoint(0, 0);
    flaeche.PinselfarbeSetzen(Weiss);
    flaeche.RechteckFuellen({o.x(), o.y(), o.x() + bild.width(), o.y() + bild.height()});
    TAnsicht ansicht(&flaeche);
    if (sankey) ansicht.Sankey = TSankey{};
    if (ursprung != nullptr) {
        maler.setClipRect(QRect(o, bild.size()));
        flaeche.MalerGeaendert();
        ansicht.SichtbereichSetzen({o.x(), o.y(), o.x() + bild.width(), o.y() + bild.height()}, modell.Schrift);
    }
    ModellZeichnen(modell, ansicht);
    maler.end();
}

void Neuzeichnen(benchmark::State& state, const std::unique_ptr<TModell>& modell, double zielMs, bool sankey = false) {
    QImage bild(Bildbreite, Bildhoehe, QImage::Format_RGB32);
    // Wie im Fenster: der Textspeicher lebt über alle Neuzeichnungen. Das
    // erste Bild setzt die Texte und zählt nicht mit (dafür BM_ErstesBild...).
    TQtTextSpeicher texte;
    Zeichnen(bild, texte, *modell, nullptr, sankey);
    TZielmessung ziel(zielMs);
    for (auto _ : state) {
        ziel.Beginnen();
        Zeichnen(bild, texte, *modell, nullptr, sankey);
        benchmark::DoNotOptimize(bild.constBits());
        ziel.Beenden();
    }
    state.counters["Objekte"] = static_cast<double>(modell->FOListe.Anzahl());
    ziel.Melden(state);
}

void BM_NeuzeichnenBalken(benchmark::State& state) { Neuzeichnen(state, ModellErzeugen(false, 0), ZielBalken); }
void BM_NeuzeichnenZahlenUndNamen(benchmark::State& state) {
    Neuzeichnen(state, ModellErzeugen(true, 1), ZielZahlenUndNamen);
}

// Das erste Bild nach dem Laden: jeder Text wird dabei einmal gesetzt.
void BM_ErstesBildZahlenUndNamen(benchmark::State& state) {
    const std::unique_ptr<TModell> modell = ModellErzeugen(true, 1);
    QImage bild(Bildbreite, Bildhoehe, QImage::Format_RGB32);
    for (auto _ : state) {
        TQtTextSpeicher texte;
        Zeichnen(bild, texte, *modell, nullptr);
        benchmark::DoNotOptimize(bild.constBits());
    }
}

// Das gemeinsame Messmodell (10 000 Knoten, durchgerechnet) ist 20 000 Einheiten
// breit: im Bild liegt nur ein Teil, der Rest fällt dem Beschneiden zu.
void BM_NeuzeichnenMessmodell(benchmark::State& state) {
    bench::TStillePlattform plattform;
    std::unique_ptr<TModell> modell = bench::ModellErzeugen(Spalten * Zeilen, 1);
    bench::Durchrechnen(*modell);
    Neuzeichnen(state, modell, ZielBalken);
}

// Ein Fenster von 1280 x 1024 über der Mitte der Zeichnung: erneuert wird nur
// dieser Ausschnitt, mit Sichtbereich wie im Zeichenfeld.
constexpr int Fensterbreite = 1280;
constexpr int Fensterhoehe = 1024;
const QPoint Fenstermitte((Bildbreite - Fensterbreite) / 2, (Bildhoehe - Fensterhoehe) / 2);

void Fenster(benchmark::State& state, const std::unique_ptr<TModell>& modell, bool sankey = false) {
    QImage bild(Fensterbreite, Fensterhoehe, QImage::Format_RGB32);
    TQtTextSpeicher texte;
    Zeichnen(bild, texte, *modell, &Fenstermitte, sankey);
    TZielmessung ziel(ZielFenster);
    for (auto _ : state) {
        ziel.Beginnen();
        Zeichnen(bild, texte, *modell, &Fenstermitte, sankey);
        benchmark::DoNotOptimize(bild.constBits());
        ziel.Beenden();
    }
    ziel.Melden(state);
}

void BM_FensterBalken(benchmark::State& state) { Fenster(state, ModellErzeugen(false, 0)); }
void BM_FensterZahlenUndNamen(benchmark::State& state) { Fenster(state, ModellErzeugen(true, 1)); }

// Sankey: jeder Weg ein Band (jeder zehnte rot an seiner Kapazität), Ziel
// wie für Zahlen und Namen 60 ms für das ganze Bild, 8 ms für das Fenster.
void BM_NeuzeichnenSankey(benchmark::State& state) {
    Neuzeichnen(state, ModellErzeugen(false, 0), ZielZahlenUndNamen, true);
}
void BM_FensterSankey(benchmark::State& state) { Fenster(state, ModellErzeugen(false, 0), true); }
// Das Messmodell mit drei Artikeln in der Summe: drei Streifen je Band.
void BM_NeuzeichnenSankeySumme(benchmark::State& state) {
    bench::TStillePlattform plattform;
    std::unique_ptr<TModell> modell = bench::ModellErzeugen(Spalten * Zeilen, 3);
    bench::Durchrechnen(*modell);
    modell->SummeAllerArtikel = true;
    Neuzeichnen(state, modell, ZielZahlenUndNamen, true);
}

// Rollen von oben nach unten durch die ganze Zeichnung, je Schritt 64 Punkte;
// jeder Schritt erneuert den ganzen Fensterausschnitt wie nach einem Sprung.
void BM_RollenZahlenUndNamen(benchmark::State& state) {
    const std::unique_ptr<TModell> modell = ModellErzeugen(true, 1);
    QImage bild(Fensterbreite, Fensterhoehe, QImage::Format_RGB32);
    TQtTextSpeicher texte;
    constexpr int Schritt = 64;
    constexpr int Unterste = Bildhoehe - Fensterhoehe;
    for (int y = 0; y <= Unterste; y += Schritt) {
        const QPoint o(Fenstermitte.x(), y);
        Zeichnen(bild, texte, *modell, &o);
    }
    TZielmessung ziel(ZielFenster);
    int y = 0;
    for (auto _ : state) {
        const QPoint o(Fenstermitte.x(), y);
        ziel.Beginnen();
        Zeichnen(bild, texte, *modell, &o);
        benchmark::DoNotOptimize(bild.constBits());
        ziel.Beenden();
        y = y + Schritt > Unterste ? 0 : y + Schritt;
    }
    ziel.Melden(state);
}

BENCHMARK(BM_NeuzeichnenBalken)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeuzeichnenZahlenUndNamen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ErstesBildZahlenUndNamen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeuzeichnenMessmodell)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FensterBalken)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FensterZahlenUndNamen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RollenZahlenUndNamen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeuzeichnenSankey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FensterSankey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeuzeichnenSankeySumme)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tessomir
