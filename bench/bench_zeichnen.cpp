// Volles Neuzeichnen eines großen Modells (10 000 Knoten, 10 000 Wege) in ein
// 2000 x 4000-Bild über die Qt-Zeichenfläche, wie beim Neuzeichnen des Fensters.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "UModellGenerator.h"
#include "app/UQtZeichenflaeche.h"
#include "model/UKnoten.h"
#include "view/UAnsicht.h"

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
    Modell = modell.get();
    modell->MaxStromBer = false;
    modell->MaxStrom = 100.0;
    modell->Stromanzeige = anzeige;
    modell->QuellenBeschr = modell->SenkenBeschr = modell->VerzweigBeschr = modell->WandlerBeschr = beschriftet;
    modell->WegeBeschr = beschriftet;

    std::vector<TKnoten*> knoten;
    knoten.reserve(Spalten * Zeilen);
    for (int z = 0; z < Zeilen; ++z) {
        for (int s = 0; s < Spalten; ++s) {
            std::unique_ptr<TKnoten> k;
            if (s == 0) k = std::make_unique<TQuelle>();
            else if (s == Spalten - 1) k = std::make_unique<TSenke>();
            else if (s % 2 == 1) k = std::make_unique<TVerzweigung>();
            else k = std::make_unique<TWandler>();
            k->Refpunkt = TPunkt{20.0 + s * 39.0, -(10.0 + z * 19.9)};
            k->Name = std::string("K").append(std::to_string(z * Spalten + s));
            knoten.push_back(k.get());
            modell->FOListe.Hinzufuegen(std::move(k), true);
        }
    }
    int nr = 0;
    const auto verbinden = [&](TKnoten* von, TKnoten* nach) {
        auto w = std::make_unique<TWeg>();
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

void Neuzeichnen(benchmark::State& state, const std::unique_ptr<TModell>& modell) {
    QImage bild(Bildbreite, Bildhoehe, QImage::Format_RGB32);
    // Wie im Fenster: der Textspeicher lebt über alle Neuzeichnungen.
    TQtTextSpeicher texte;
    for (auto _ : state) {
        QPainter maler(&bild);
        TQtZeichenflaeche flaeche(maler, &texte);
        flaeche.PinselfarbeSetzen(Weiss);
        flaeche.RechteckFuellen({0, 0, Bildbreite, Bildhoehe});
        TAnsicht ansicht(&flaeche);
        ModellZeichnen(*modell, ansicht);
        maler.end();
        benchmark::DoNotOptimize(bild.constBits());
    }
    state.counters["Objekte"] = static_cast<double>(modell->FOListe.Anzahl());
    Modell = nullptr;
}

void BM_NeuzeichnenBalken(benchmark::State& state) { Neuzeichnen(state, ModellErzeugen(false, 0)); }
void BM_NeuzeichnenZahlenUndNamen(benchmark::State& state) { Neuzeichnen(state, ModellErzeugen(true, 1)); }

// Das gemeinsame Messmodell (10 000 Knoten, durchgerechnet) ist 20 000 Einheiten
// breit: im Bild liegt nur ein Teil, der Rest fällt dem Beschneiden zu.
void BM_NeuzeichnenMessmodell(benchmark::State& state) {
    bench::TStillePlattform plattform;
    std::unique_ptr<TModell> modell = bench::ModellErzeugen(Spalten * Zeilen, 1);
    bench::Durchrechnen(*modell);
    Neuzeichnen(state, modell);
}

BENCHMARK(BM_NeuzeichnenBalken)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeuzeichnenZahlenUndNamen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeuzeichnenMessmodell)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tessomir

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
