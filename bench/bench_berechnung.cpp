// Prüfung und ein Durchgang der Flussberechnung (Eingangs- und
// Ausgangsdurchgang) auf erzeugten Modellen mit 10 Artikeln.
#include <benchmark/benchmark.h>

#include "UModellGenerator.h"
#include "model/UZeilen.h"

namespace {

using namespace tessomir;

constexpr int Artikel = 10;

// Erzeugt, rechnet ein, schreibt und liest wieder: so liegt das Modell im
// Speicher wie nach dem Öffnen einer Datei.
std::unique_ptr<TModell> GeladenesModell(size_t knoten) {
    std::string text;
    {
        auto erzeugt = bench::ModellErzeugen(knoten, Artikel);
        bench::Durchrechnen(*erzeugt);
        TZeilenSchreiber aus;
        erzeugt->Schreiben(aus);
        text = std::move(aus.Text());
    }
    auto m = std::make_unique<TModell>();
    Modell = m.get();
    m->TextLaden(text);
    return m;
}

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
    auto m = state.range(1) != 0 ? GeladenesModell(static_cast<size_t>(state.range(0)))
                                 : bench::ModellErzeugen(static_cast<size_t>(state.range(0)), Artikel);
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
// Zweites Argument: 0 im Editor gebaut, 1 aus dem Dateitext geladen.
BENCHMARK(BM_Durchgang)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->ArgNames({"Knoten", "geladen"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
