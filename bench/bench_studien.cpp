// Empfindlichkeit eines Modells mit 200 Knoten: jede Eingabe (Liefermengen,
// Anteile, Faktoren; mit zwei Artikeln rund 500) gesenkt und gehoben, je eine
// Berechnung. Ziel: unter 2 s auf einem Kern (gemeldet als ZuZiel = Zeit /
// 2 s), dazu dasselbe mit zwei Fäden. Und die Herkunft einer Senke (eine
// Rechnung je Quelle).
#include <benchmark/benchmark.h>

#include <chrono>

#include "UModellGenerator.h"
#include "analysis/UBerechnung.h"
#include "analysis/UEmpfindlichkeit.h"
#include "analysis/UHerkunft.h"
#include "model/UKnoten.h"
#include "persistence/UWerteTabelle.h"

namespace tessomir {
namespace {

TModell& Modell200() {
    static std::unique_ptr<TModell> m = [] {
        auto modell = bench::ModellErzeugen(200, 2);
        return modell;
    }();
    return *m;
}

uint32_t ErsteSenke(const TModell& m) {
    for (const TKnoten* k : m.FOListe.Knoten())
        if (k->Art() == TKnotenArt::Senke) return k->FONr;
    return 0;
}

void Empfindlichkeit(benchmark::State& state, unsigned faeden) {
    const bench::TStillePlattform still;
    TModell& m = Modell200();
    TEmpfindlichkeitsAuftrag auftrag;
    auftrag.ZielFONr = ErsteSenke(m);
    auftrag.Faeden = faeden;
    double sekunden = 0;
    size_t eingaben = 0, gescheitert = 0, wirksam = 0;
    for (auto _ : state) {
        const auto a = std::chrono::steady_clock::now();
        const TEmpfindlichkeit e = EmpfindlichkeitBerechnen(m, auftrag);
        sekunden += std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count();
        eingaben = e.Zeilen.size();
        gescheitert = wirksam = 0;
        for (const TEmpfindlichkeitsZeile& z : e.Zeilen) {
            if (z.Gescheitert()) ++gescheitert;
            else if (z.Wirkung() > 0.0) ++wirksam;
        }
        benchmark::DoNotOptimize(e.Zeilen.data());
    }
    state.counters["Eingaben"] = static_cast<double>(eingaben);
    state.counters["Gescheitert"] = static_cast<double>(gescheitert);
    state.counters["Wirksam"] = static_cast<double>(wirksam);
    state.counters["ZuZiel"] = sekunden / static_cast<double>(state.iterations()) / 2.0;
}

void BM_EmpfindlichkeitEinFaden(benchmark::State& state) { Empfindlichkeit(state, 1); }
void BM_EmpfindlichkeitZweiFaeden(benchmark::State& state) { Empfindlichkeit(state, 2); }

void BM_HerkunftSenke(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Modell200();
    const uint32_t senke = ErsteSenke(m);
    for (auto _ : state) {
        const THerkunft h = HerkunftBerechnen(m, senke);
        benchmark::DoNotOptimize(h.Zeilen.data());
    }
}

BENCHMARK(BM_EmpfindlichkeitEinFaden)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EmpfindlichkeitZweiFaeden)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HerkunftSenke)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tessomir

BENCHMARK_MAIN();
