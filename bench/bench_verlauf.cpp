// Verlauf: Speicher eines Verschiebeschritts im Modell mit 100 000 Knoten und
// Zeit von Rückgängig plus Wiederholen eines Ein-Objekt-Schritts im Modell mit
// 10 000 Knoten. Die Heap-Bytes zählt ein eigener operator new/delete.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "UModellGenerator.h"
#include "model/UKnoten.h"
#include "editing/USchritte.h"

namespace {

constexpr size_t Kopf = 16; // hält die Ausrichtung
std::atomic<int64_t> HeapBytes{0};

void* Anfordern(size_t n) {
    auto* p = static_cast<unsigned char*>(std::malloc(n + Kopf));
    if (p == nullptr) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(p) = n;
    HeapBytes.fetch_add(static_cast<int64_t>(n), std::memory_order_relaxed);
    return p + Kopf;
}

void Freigeben(void* q) noexcept {
    if (q == nullptr) return;
    auto* p = static_cast<unsigned char*>(q) - Kopf;
    HeapBytes.fetch_sub(static_cast<int64_t>(*reinterpret_cast<size_t*>(p)), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

void* operator new(size_t n) { return Anfordern(n); }
void* operator new[](size_t n) { return Anfordern(n); }
void operator delete(void* p) noexcept { Freigeben(p); }
void operator delete[](void* p) noexcept { Freigeben(p); }
void operator delete(void* p, size_t) noexcept { Freigeben(p); }
void operator delete[](void* p, size_t) noexcept { Freigeben(p); }
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    try {
        return Anfordern(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](size_t n, const std::nothrow_t& nt) noexcept { return operator new(n, nt); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Freigeben(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Freigeben(p); }

namespace {

using namespace tessomir;

constexpr int Artikel = 10;

// Eine Verzweigung aus der Mitte der Knotenliste: Ein- und Ausgänge, die wieder an ihre Stelle müssen.
TKnoten& MittlereVerzweigung(TModell& m) {
    const auto& knoten = m.FOListe.Knoten();
    for (size_t i = knoten.size() / 2; i < knoten.size(); ++i)
        if (knoten[i]->Art() == TKnotenArt::Verzweigung && knoten[i]->AnzahlAusgaenge() > 1) return *knoten[i];
    return *knoten[knoten.size() / 2];
}

void BM_SpeicherVerschieben(benchmark::State& state) {
    bench::TStillePlattform still;
    const int64_t vorModell = HeapBytes.load();
    auto m = bench::ModellErzeugen(static_cast<size_t>(state.range(0)), Artikel);
    bench::Durchrechnen(*m);
    const int64_t modell = HeapBytes.load() - vorModell;
    TKnoten& k = MittlereVerzweigung(*m);
    int64_t schritt = 0;
    size_t gemeldet = 0;
    for (auto _ : state) {
        TVerlauf verlauf;
        const int64_t vorher = HeapBytes.load();
        const TPunkt alt = k.Refpunkt;
        Ausfuehren(*m, &verlauf, VerschiebenSchritt({{&k, alt, {alt.X + 10, alt.Y}}}));
        schritt = HeapBytes.load() - vorher;
        gemeldet = verlauf.Speicherbedarf();
        benchmark::DoNotOptimize(verlauf);
    }
    state.counters["Knoten"] = static_cast<double>(m->FOListe.Knoten().size());
    state.counters["ModellMB"] = static_cast<double>(modell) / 1e6;
    state.counters["SchrittBytes"] = static_cast<double>(schritt);
    state.counters["Speicherbedarf"] = static_cast<double>(gemeldet);
}

// Je Durchlauf ein Rückgängig und ein Wiederholen.
void Hin(benchmark::State& state, TModell& m, TVerlauf& verlauf) {
    for (auto _ : state) {
        verlauf.Rueckgaengig(m);
        verlauf.Wiederholen(m);
    }
    state.counters["Knoten"] = static_cast<double>(m.FOListe.Knoten().size());
    state.counters["SchrittBytes"] = static_cast<double>(verlauf.Speicherbedarf());
}

void BM_LoeschenZurueckUndWieder(benchmark::State& state) {
    bench::TStillePlattform still;
    auto m = bench::ModellErzeugen(static_cast<size_t>(state.range(0)), Artikel);
    bench::Durchrechnen(*m);
    TVerlauf verlauf;
    m->FOListe.Auswaehlen(&MittlereVerzweigung(*m), false);
    AuswahlLoeschen(*m, &verlauf);
    Hin(state, *m, verlauf);
}

void BM_MatrixZurueckUndWieder(benchmark::State& state) {
    bench::TStillePlattform still;
    auto m = bench::ModellErzeugen(static_cast<size_t>(state.range(0)), Artikel);
    bench::Durchrechnen(*m);
    TKnoten& k = MittlereVerzweigung(*m);
    TVerlauf verlauf;
    TDyn3DMatrix neu = k.Matrix();
    neu.ZelleSetzen(0, 1, 1, 12.5);
    MatrixAendern(k, neu, &verlauf);
    Hin(state, *m, verlauf);
}

} // namespace

BENCHMARK(BM_SpeicherVerschieben)->Arg(100000)->Iterations(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoeschenZurueckUndWieder)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatrixZurueckUndWieder)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
