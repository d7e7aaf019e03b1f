// Die Werte-Tabelle eines Modells mit 100 000 Knoten und 10 Artikeln (etwa
// zwei Millionen Zeilen): CSV schreiben (Ziel mindestens 200 MB/s, gemeldet
// als MBs und ZuZiel = 200 MB/s geteilt durch die erreichte Rate) und wieder
// einlesen samt Probelauf (Ziel höchstens das Dreifache des Ladens der
// Modelldatei selbst, im selben Lauf gemessen: ZuLaden).
#include <benchmark/benchmark.h>

#include <chrono>

#include "UModellGenerator.h"
#include "UVerhaeltnisUhr.h"
#include "model/UZeilen.h"
#include "persistence/UModellDatei.h"
#include "persistence/UWerteTabelle.h"

namespace tessomir {
namespace {

constexpr size_t Knoten = 100000;
constexpr int Artikel = 10;

TModell& Messmodell() {
    static std::unique_ptr<TModell> m = bench::ModellErzeugen(Knoten, Artikel);
    return *m;
}

const std::string& Modelltext() {
    static const std::string text = [] {
        TZeilenSchreiber aus;
        Schreiben(Messmodell(), aus);
        return aus.Text();
    }();
    return text;
}

void BM_WerteCsvSchreiben(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    size_t bytes = 0;
    double sekunden = 0;
    for (auto _ : state) {
        const auto a = std::chrono::steady_clock::now();
        const std::string csv = WerteAlsCsv(m, TTabellenform::Standard);
        sekunden += std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count();
        bytes += csv.size();
        benchmark::DoNotOptimize(csv.data());
    }
    const double mbs = static_cast<double>(bytes) / sekunden / 1e6;
    state.counters["MBs"] = mbs;
    state.counters["ZuZiel"] = 200.0 / mbs;
    state.counters["Zeilen"] = static_cast<double>(WerteZeilen(m).size());
}

void BM_WerteCsvEinlesen(benchmark::State& state) {
    const bench::TStillePlattform still;
    TModell& m = Messmodell();
    const std::string csv = WerteAlsCsv(m, TTabellenform::Standard);
    bench::TVerhaeltnisUhr uhr;
    for (auto _ : state) {
        uhr.Start();
        const TWertePruefung p = CsvWertePruefen(m, csv);
        benchmark::DoNotOptimize(p.Aenderungen.data());
        uhr.Stopp();
        state.PauseTiming();
        uhr.GrenzeMessen([&] {
            TModell geladen;
            TextLaden(geladen, Modelltext());
        });
        state.ResumeTiming();
    }
    uhr.Melden(state, "ZuLaden");
}

BENCHMARK(BM_WerteCsvSchreiben)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WerteCsvEinlesen)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace tessomir

BENCHMARK_MAIN();
