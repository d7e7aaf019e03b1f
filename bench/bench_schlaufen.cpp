// Schlaufenanalyse einer Komponente aus 1000 Verzweigungen (Ziel: unter 100 ms):
// ein Ring, jede zehnte Verzweigung mit einem Rückweg fünf Stellen zurück,
// jede gibt einen Teil an eine eigene Senke ab; drei Artikel.
#include <benchmark/benchmark.h>

#include "UModellGenerator.h"
#include "analysis/USchlaufen.h"
#include "model/UKnoten.h"

namespace {

using namespace tessomir;

std::unique_ptr<TModell> Ring(size_t anzahl) {
    auto m = std::make_unique<TModell>();
    m->ArtikelEinfuegen("B");
    m->ArtikelEinfuegen("C");
    std::vector<TVerzweigung*> ring;
    for (size_t i = 0; i < anzahl; ++i) {
        auto v = std::make_unique<TVerzweigung>(*m);
        ring.push_back(v.get());
        m->FOListe.Hinzufuegen(std::move(v), true);
    }
    const auto weg = [&](TKnoten* von, TKnoten* nach) {
        auto w = std::make_unique<TWeg>(*m);
        w->SetStart(von);
        w->SetZiel(nach);
        m->FOListe.Hinzufuegen(std::move(w), false);
    };
    for (size_t i = 0; i < anzahl; ++i) {
        weg(ring[i], ring[(i + 1) % anzahl]);
        auto s = std::make_unique<TSenke>(*m);
        weg(ring[i], s.get());
        m->FOListe.Hinzufuegen(std::move(s), true);
        if (i % 10 == 9) weg(ring[i], ring[i - 5]);
    }
    // Je Eingang: 90 % weiter im Ring, der Rest an die Senke oder den Rückweg.
    for (TVerzweigung* v : ring) {
        TDyn3DMatrix& mat = v->Matrix();
        for (int a = 0; a < mat.Dim1(); ++a)
            for (int j = 1; j < mat.Dim2(); ++j) {
                mat.ZelleSetzen(a, j, 1, 90.0 - a);
                for (int k = 2; k < mat.Dim3(); ++k) mat.ZelleSetzen(a, j, k, (10.0 + a) / (mat.Dim3() - 2));
            }
    }
    return m;
}

void BM_SchlaufenRing(benchmark::State& state) {
    const bench::TStillePlattform plattform;
    auto m = Ring(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        auto schlaufen = SchlaufenErmitteln(*m);
        benchmark::DoNotOptimize(schlaufen);
    }
}
BENCHMARK(BM_SchlaufenRing)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
