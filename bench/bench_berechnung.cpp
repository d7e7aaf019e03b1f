// Prüfung und ein Durchgang der Flussberechnung (Eingangs- und
// Ausgangsdurchgang) auf erzeugten Modellen mit 10 Artikeln.
#include <benchmark/benchmark.h>

#include "UModellGenerator.h"

namespace {

using namespace tessomir;

constexpr int Artikel = 10;

void Kennzahlen(benchmark::State& state, const TModell& m) {
    const auto g = bench::Groesse(m);
    state.counters["Knoten"] = static_cast<double>(g.Knoten);
    state.counters["Wege"] = static_cast<double>(g.Wege);
    state.counters["Zellen"] = static_cast<double>(g.Zellen);
    state.counters["Knoten/s"] =
        benchmark::Counter(static_cast<double>(g.Knoten), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Pruefen(benchmark::State& state) {
    bench::TStillePlattform still;
    auto m = bench::ModellErzeugen(static_cast<size_t>(state.range(0)), Artikel);
    for (auto _ : state) {
        const bool ok = m->StrukturPruefen() && m->KolonnensummenPruefen();
        if (!ok) state.SkipWithError("Modell besteht die Pr\xFC" "fung nicht");
        benchmark::DoNotOptimize(ok);
    }
    Kennzahlen(state, *m);
}

void BM_Durchgang(benchmark::State& state) {
    bench::TStillePlattform still;
    auto m = bench::ModellErzeugen(static_cast<size_t>(state.range(0)), Artikel);
    // Eingeschwungen messen: die Ströme stehen schon in den Matrizen.
    bench::Durchrechnen(*m);
    for (auto _ : state) {
        benchmark::DoNotOptimize(m->EingangsDurchgang());
        m->AusgangsDurchgang();
    }
    Kennzahlen(state, *m);
}

} // namespace

BENCHMARK(BM_Pruefen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Durchgang)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
