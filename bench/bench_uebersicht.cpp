// Finden und Lesen auf einem Modell mit 100 000 Knoten (und 91 000 Wegen),
// berechnet. Jede Messung meldet ihr Verhältnis zum Ziel (ZuZiel < 1 heisst:
// schnell genug):
//   Suche über alle Namen (Index)            unter  20 ms
//   Übersicht füllen (Zeilen + Bildschirm)   unter 200 ms
//   Übersicht nach Strom sortieren           unter 300 ms
//   Hinweis am Zeiger (Index, Treffer, Text) unter   5 ms
// und die Bilanz aller Knoten im Verhältnis zu einem Durchgang der Berechnung
// im selben Lauf (Ziel: unter 2). Dazu zum Vergleich die Suche ohne Index und
// der Aufbau beider Indizes, den die erste Abfrage nach einer Änderung zahlt.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "UModellGenerator.h"
#include "UVerhaeltnisUhr.h"
#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "editing/USuche.h"
#include "editing/UUebersicht.h"
#include "model/UKnoten.h"
#include "qt/UQtZeichenflaeche.h"
#include "qt/UUebersichtModell.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"
#include "view/UTrefferindex.h"

namespace tessomir {
namespace {

constexpr size_t Knoten = 100000;
constexpr int Artikel = 3;

TModell& Messmodell() {
    static std::unique_ptr<TModell> m = [] {
        auto modell = bench::ModellErzeugen(Knoten, Artikel);
        bench::Durchrechnen(*modell);
        return modell;
    }();
    return *m;
}

// Median der Einzelzeiten im Verhältnis zum Ziel.
class TZielUhr {
public:
    explicit TZielUhr(double zielMs) : Ziel(zielMs / 1e3) {}
    template <class F> void Messen(F&& f) {
        const auto a = std::chrono::steady_clock::now();
        f();
        Zeiten.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count());
    }
    void Melden(benchmark::State& state) {
        auto mitte = Zeiten.begin() + static_cast<std::ptrdiff_t>(Zeiten.size() / 2);
        std::nth_element(Zeiten.begin(), mitte, Zeiten.end());
        state.counters["ZuZiel"] = Zeiten.empty() ? 0.0 : *mitte / Ziel;
    }

private:
    double Ziel;
    std::vector<double> Zeiten;
};

void BM_SucheAlleNamen(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    TZielUhr uhr(20);
    // Ein Teil eines Namens, der nur beim letzten Knoten vorkommt: die ganze Liste wird durchsucht.
    m.FOListe.Knoten().back()->Name = "Gro\xDF" "e M\xFChle";
    const TSuche suche("gROSSE mueh");
    TSuchindex index;
    index.Aufbauen(m);
    for (auto _ : state) {
        uhr.Messen([&] { benchmark::DoNotOptimize(index.Naechster(suche, nullptr).Objekt); });
    }
    uhr.Melden(state);
}

// Dieselbe Suche ohne Index, über die Objekte und ihre Namen; und der Aufbau
// des Index, den das Fenster nach jeder Änderung bei der ersten Suche einmal zahlt.
void BM_SucheOhneIndex(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    TZielUhr uhr(20);
    const TSuche suche("gROSSE mueh");
    for (auto _ : state) uhr.Messen([&] { benchmark::DoNotOptimize(NaechsterTreffer(m, suche, nullptr).Objekt); });
    uhr.Melden(state);
}

void BM_SuchindexAufbauen(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    TZielUhr uhr(200);
    TSuchindex index;
    for (auto _ : state) uhr.Messen([&] { index.Aufbauen(m); });
    uhr.Melden(state);
}

void BM_UebersichtFuellen(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    TZielUhr uhr(200);
    TUebersichtModell tabelle;
    for (auto _ : state) {
        uhr.Messen([&] {
            tabelle.ModellSetzen(&m, true);
            // Was ein Fenster von 40 Zeilen gleich danach liest.
            for (int z = 0; z < 40; ++z)
                for (int s = 0; s < SpaltenAnzahl; ++s) benchmark::DoNotOptimize(tabelle.index(z, s).data());
        });
    }
    uhr.Melden(state);
    state.counters["Zeilen"] = tabelle.rowCount();
}

void BM_UebersichtNachStromSortieren(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    TZielUhr uhr(300);
    TUebersichtModell tabelle;
    tabelle.ModellSetzen(&m, true);
    bool ab = true;
    for (auto _ : state) {
        uhr.Messen([&] { tabelle.sort(static_cast<int>(TSpalte::Strom), ab ? Qt::DescendingOrder : Qt::AscendingOrder); });
        ab = !ab;
    }
    uhr.Melden(state);
}

void BM_HinweisAmZeiger(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    TZielUhr uhr(5);
    QImage bild(1280, 1024, QImage::Format_RGB32);
    QPainter maler(&bild);
    TQtZeichenflaeche flaeche(maler);
    TAnsicht ansicht(&flaeche);
    // Über dem letzten Knoten der Liste: der Treffertest geht über alle Objekte.
    const TKnoten* ziel = m.FOListe.Knoten().back();
    ansicht.Trefferpunkt = ansicht.Transformieren(ziel->Refpunkt);
    TTrefferindex index;
    index.Aufbauen(m.FOListe);
    for (auto _ : state) {
        uhr.Messen([&] {
            const TFO* o = index.ObjektUnter(ansicht);
            if (o != nullptr) benchmark::DoNotOptimize(ObjektHinweis(*o, true));
        });
    }
    uhr.Melden(state);
}

// Der Aufbau, den der erste Hinweis nach einer Änderung einmal zahlt, und
// der Treffertest eines Klicks über alle Objekte zum Vergleich.
void BM_TrefferindexAufbauen(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    TZielUhr uhr(200);
    TTrefferindex index;
    for (auto _ : state) uhr.Messen([&] { index.Aufbauen(m.FOListe); });
    uhr.Melden(state);
}

void BM_BilanzAllerKnoten(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    bench::TVerhaeltnisUhr uhr;
    TBerechnungsPlan plan(m);
    std::vector<TBilanz> alle;
    for (auto _ : state) {
        uhr.Start();
        AlleKnotenBilanzen(m, alle);
        benchmark::DoNotOptimize(alle.data());
        uhr.Stopp();
        state.PauseTiming();
        uhr.GrenzeMessen([&] { benchmark::DoNotOptimize(plan.Durchgang()); });
        state.ResumeTiming();
    }
    uhr.Melden(state, "ZuDurchgang");
}

BENCHMARK(BM_SucheAlleNamen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SucheOhneIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SuchindexAufbauen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UebersichtFuellen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UebersichtNachStromSortieren)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HinweisAmZeiger)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrefferindexAufbauen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BilanzAllerKnoten)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tessomir
