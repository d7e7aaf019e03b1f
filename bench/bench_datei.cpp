// Laden und Speichern der Modelldatei, im Speicher und über eine Datei, dazu
// der Speicherbedarf eines geladenen Modells. Die Heap-Bytes zählt ein eigener
// operator new/delete dieses Programms.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <new>
#include <string>

#include <unistd.h>

#include "UModellGenerator.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"

namespace {

// Vor jedem Block steht seine Größe; 16 Bytes halten die Ausrichtung.
constexpr size_t Kopf = 16;
std::atomic<int64_t> HeapBytes{0};
std::atomic<int64_t> HeapBloecke{0};

void* Anfordern(size_t n) {
    auto* p = static_cast<unsigned char*>(std::malloc(n + Kopf));
    if (p == nullptr) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(p) = n;
    HeapBytes.fetch_add(static_cast<int64_t>(n), std::memory_order_relaxed);
    HeapBloecke.fetch_add(1, std::memory_order_relaxed);
    return p + Kopf;
}

void Freigeben(void* q) noexcept {
    if (q == nullptr) return;
    auto* p = static_cast<unsigned char*>(q) - Kopf;
    HeapBytes.fetch_sub(static_cast<int64_t>(*reinterpret_cast<size_t*>(p)), std::memory_order_relaxed);
    HeapBloecke.fetch_sub(1, std::memory_order_relaxed);
    std::free(p);
}

} // namespace

void* operator new(size_t n) { return Anfordern(n); }
void* operator new[](size_t n) { return Anfordern(n); }
void operator delete(void* p) noexcept { Freigeben(p); }
void operator delete[](void* p) noexcept { Freigeben(p); }
void operator delete(void* p, size_t) noexcept { Freigeben(p); }
void operator delete[](void* p, size_t) noexcept { Freigeben(p); }
// Auch die nothrow-Formen (std::stable_sort holt sich so Puffer), damit
// jede Freigabe zu ihrer Anforderung passt.
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

// Der TSR-Text eines berechneten Modells je Knotenzahl, einmal erzeugt.
const std::string& ModellText(size_t knoten) {
    static std::map<size_t, std::string> texte;
    auto it = texte.find(knoten);
    if (it != texte.end()) return it->second;
    auto m = bench::ModellErzeugen(knoten, Artikel);
    bench::Durchrechnen(*m);
    TZeilenSchreiber aus;
    m->Schreiben(aus);
    return texte.emplace(knoten, aus.Text()).first->second;
}

std::unique_ptr<TModell> AusText(const std::string& text) {
    auto m = std::make_unique<TModell>();
    Modell = m.get();
    m->TextLaden(text);
    return m;
}

std::string TempDatei(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("tessomir_bench_") + std::to_string(::getpid()) +
                                                       "_" + name + ".TSR"))
        .string();
}

void Kennzahlen(benchmark::State& state, const std::string& text, const TModell& m) {
    const auto g = bench::Groesse(m);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["Knoten"] = static_cast<double>(g.Knoten);
    state.counters["Zellen"] = static_cast<double>(g.Zellen);
    state.counters["TextMB"] = static_cast<double>(text.size()) / 1e6;
}

void BM_LadenSpeicher(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    std::unique_ptr<TModell> m;
    for (auto _ : state) {
        m = AusText(text);
        benchmark::DoNotOptimize(m.get());
        state.PauseTiming();
        if (state.iterations() + 1 < state.max_iterations) m.reset();
        state.ResumeTiming();
    }
    if (!m) m = AusText(text);
    Kennzahlen(state, text, *m);
}

void BM_LadenDatei(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    const std::string pfad = TempDatei("laden");
    {
        auto m = AusText(text);
        m->DateiSpeichern(pfad);
    }
    TOeffnenErgebnis e;
    for (auto _ : state) {
        e = ModellOeffnen(pfad);
        if (!e.Modell) state.SkipWithError(e.Grund.c_str());
        state.PauseTiming();
        e.Modell.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(pfad);
    Kennzahlen(state, text, *AusText(text));
}

void BM_SpeichernSpeicher(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    auto m = AusText(text);
    for (auto _ : state) {
        TZeilenSchreiber aus;
        m->Schreiben(aus);
        benchmark::DoNotOptimize(aus.Text().data());
        if (aus.Text().size() != text.size()) state.SkipWithError("anderer Text");
    }
    Kennzahlen(state, text, *m);
}

void BM_SpeichernDatei(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    auto m = AusText(text);
    const std::string pfad = TempDatei("speichern");
    for (auto _ : state) m->DateiSpeichern(pfad);
    std::filesystem::remove(pfad);
    Kennzahlen(state, text, *m);
}

// Schließen eines geladenen Modells (wie "Neu" oder Öffnen über ein Modell).
void BM_Schliessen(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto m = AusText(text);
        state.ResumeTiming();
        m.reset();
        benchmark::DoNotOptimize(m.get());
    }
    Kennzahlen(state, text, *AusText(text));
}

// Heap eines geladenen Modells gegen die Bytes seiner Zellen (8 je Zelle).
void BM_Speicherbedarf(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    int64_t bytes = 0;
    int64_t bloecke = 0;
    size_t zellen = 0;
    for (auto _ : state) {
        const int64_t vorher = HeapBytes.load();
        const int64_t bloeckeVorher = HeapBloecke.load();
        auto m = AusText(text);
        bytes = HeapBytes.load() - vorher;
        bloecke = HeapBloecke.load() - bloeckeVorher;
        zellen = bench::Groesse(*m).Zellen;
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
    const double zellBytes = 8.0 * static_cast<double>(zellen);
    state.counters["HeapMB"] = static_cast<double>(bytes) / 1e6;
    state.counters["ZellMB"] = zellBytes / 1e6;
    state.counters["Verhaeltnis"] = static_cast<double>(bytes) / zellBytes;
    state.counters["Bloecke"] = static_cast<double>(bloecke);
}

} // namespace

BENCHMARK(BM_LadenSpeicher)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LadenDatei)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeichernSpeicher)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeichernDatei)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Schliessen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Speicherbedarf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
