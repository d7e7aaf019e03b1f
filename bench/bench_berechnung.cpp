// Prüfung und ein Durchgang der Flussberechnung (Eingangs- und
// Ausgangsdurchgang) auf erzeugten Modellen mit 10 Artikeln.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "UModellGenerator.h"
#include "UVerhaeltnisUhr.h"
#include "analysis/UBerechnung.h"
#include "model/UKnoten.h"
#include "base/UVorabladen.h"
#include "model/UZeilen.h"
#include "persistence/UModellDatei.h"

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
        Schreiben(*erzeugt, aus);
        text = std::move(aus.Text());
    }
    auto m = std::make_unique<TModell>();
    TextLaden(*m, text);
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
        const bool ok = StrukturPruefen(*m) && KolonnensummenPruefen(*m);
        if (!ok) state.SkipWithError("Modell besteht die Pr\xFC" "fung nicht");
        benchmark::DoNotOptimize(ok);
    }
    Kennzahlen(state, *m);
}

using TZellbereiche = std::vector<std::pair<const double*, size_t>>;

// Wo die Zellen jedes Knotens liegen, in Knotenreihenfolge; außerhalb der Messung ermittelt.
TZellbereiche Zellbereiche(const TModell& m) {
    TZellbereiche b;
    for (const TKnoten* k : m.FOListe.Knoten()) b.emplace_back(k->Matrix().Daten(), k->Matrix().AnzahlZellen());
    return b;
}

// Liest jede Zelle einmal. Acht Teilsummen, damit die Speicherbandbreite
// begrenzt und nicht die Latenz einer einzigen Additionskette.
// Die Bereiche liegen verstreut: den übernächsten schon anfordern, wie es
// die Durchgänge auch tun, damit die Grenze nicht auf jeden Bereich wartet.
double ZellenSumme(const TZellbereiche& bereiche) {
    double s[8] = {};
    for (size_t b = 0; b < bereiche.size(); ++b) {
        if (b + 2 < bereiche.size()) {
            const char* vorab = reinterpret_cast<const char*>(bereiche[b + 2].first);
            const size_t bytes = std::min<size_t>(bereiche[b + 2].second * sizeof(double), 4096);
            for (size_t i = 0; i < bytes; i += 64) Vorabladen(vorab + i);
        }
        const auto& [daten, n] = bereiche[b];
        size_t i = 0;
        for (; i + 8 <= n; i += 8)
            for (int t = 0; t < 8; ++t) s[t] += daten[i + static_cast<size_t>(t)];
        for (; i < n; ++i) s[0] += daten[i];
    }
    return ((s[0] + s[1]) + (s[2] + s[3])) + ((s[4] + s[5]) + (s[6] + s[7]));
}

std::unique_ptr<TModell> MessModell(benchmark::State& state) {
    auto m = state.range(1) != 0 ? GeladenesModell(static_cast<size_t>(state.range(0)))
                                 : bench::ModellErzeugen(static_cast<size_t>(state.range(0)), Artikel);
    // Eingeschwungen messen: die Ströme stehen schon in den Matrizen.
    bench::Durchrechnen(*m);
    return m;
}

// Ein Durchgang, wie ModellNeuberechnen ihn macht: über den Plan der Berechnung.
// VerhaeltnisZuStrom: Zeit je Durchgang durch die Zeit, alle Zellen einmal
// zu lesen, die neben jedem Durchgang einmal gemessen wird.
void BM_Durchgang(benchmark::State& state) {
    bench::TStillePlattform still;
    auto m = MessModell(state);
    const TZellbereiche bereiche = Zellbereiche(*m);
    bench::TVerhaeltnisUhr uhr;
    {
        TBerechnungsPlan plan(*m);
        for (auto _ : state) {
            uhr.Start();
            benchmark::DoNotOptimize(plan.Durchgang());
            uhr.Stopp();
            state.PauseTiming();
            uhr.GrenzeMessen([&] { benchmark::DoNotOptimize(ZellenSumme(bereiche)); });
            state.ResumeTiming();
        }
    }
    Kennzahlen(state, *m);
    uhr.Melden(state, "VerhaeltnisZuStrom");
}

// Dasselbe ohne Plan: EingangsDurchgang und AusgangsDurchgang über die Knoten.
void BM_DurchgangOhnePlan(benchmark::State& state) {
    bench::TStillePlattform still;
    auto m = MessModell(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EingangsDurchgang(*m));
        AusgangsDurchgang(*m);
    }
    Kennzahlen(state, *m);
}

// Einmal alle Zellen aller Matrizen lesen: die untere Grenze eines Durchgangs.
void BM_ZellenStreamen(benchmark::State& state) {
    bench::TStillePlattform still;
    auto m = GeladenesModell(static_cast<size_t>(state.range(0)));
    const TZellbereiche bereiche = Zellbereiche(*m);
    for (auto _ : state) benchmark::DoNotOptimize(ZellenSumme(bereiche));
    Kennzahlen(state, *m);
    state.counters["Bytes"] = static_cast<double>(bench::Groesse(*m).Zellen * sizeof(double));
}

} // namespace

BENCHMARK(BM_Pruefen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// Zweites Argument: 0 im Editor gebaut, 1 aus dem Dateitext geladen.
BENCHMARK(BM_Durchgang)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->ArgNames({"Knoten", "geladen"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DurchgangOhnePlan)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->ArgNames({"Knoten", "geladen"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZellenStreamen)->Arg(1000)->Arg(10000)->Arg(100000)->ArgNames({"Knoten"})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
