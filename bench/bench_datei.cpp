// Laden und Speichern der Modelldatei, im Speicher und über eine Datei, dazu
// der Speicherbedarf eines geladenen Modells. Die Heap-Bytes zählt ein eigener
// operator new/delete dieses Programms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <new>
#include <string>
#include <string_view>

#include <unistd.h>

#include "UModellGenerator.h"
#include "UVerhaeltnisUhr.h"
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
    Schreiben(*m, aus);
    return texte.emplace(knoten, aus.Text()).first->second;
}

std::unique_ptr<TModell> AusText(const std::string& text) {
    auto m = std::make_unique<TModell>();
    TextLaden(*m, text);
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

// Untergrenzen im selben Lauf: jede Zahl des Textes einmal mit from_chars
// lesen (Zeilen an LF, Wert ab Spalte 21, Felder an " / ") bzw. jede Zelle
// einmal mit to_chars in einen Puffer schreiben, sonst nichts.
double ZahlenLesen(std::string_view text) {
    double summe = 0.0;
    size_t pos = 0;
    while (pos < text.size()) {
        const char* anfang = text.data() + pos;
        const void* lf = std::memchr(anfang, '\n', text.size() - pos);
        const size_t laenge = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - anfang) : text.size() - pos;
        pos += laenge + 1;
        if (laenge <= 20) continue;
        const char* p = anfang + 20;
        const char* const ende = anfang + laenge;
        while (p < ende) {
            double w = 0.0;
            const auto r = std::from_chars(p, ende, w);
            if (r.ec == std::errc()) summe += w;
            const void* trenner = std::memchr(p, '/', static_cast<size_t>(ende - p));
            if (trenner == nullptr) break;
            p = static_cast<const char*>(trenner) + 2;
        }
    }
    return summe;
}

// Jede Zelle einmal mit to_chars in 'puffer'.
void ZellenSchreiben(const TModell& m, std::string& puffer) {
    puffer.clear();
    for (const auto& o : m.FOListe.Alle()) {
        const TKnoten* k = o->AlsKnoten();
        if (k == nullptr) continue;
        const TDyn3DMatrix& x = k->Matrix();
        const size_t alt = puffer.size();
        puffer.resize(alt + x.AnzahlZellen() * 28);
        char* p = puffer.data() + alt;
        for (size_t i = 0; i < x.AnzahlZellen(); ++i) {
            p = std::to_chars(p, p + 24, x.Daten()[i]).ptr;
            *p++ = ' ';
        }
        puffer.resize(static_cast<size_t>(p - puffer.data()));
    }
    benchmark::DoNotOptimize(puffer.data());
}

// Zeit je Durchlauf des gemessenen Teils, von Hand gestoppt, für die Verhältnisse.
class TStoppuhr {
public:
    void Start() { Anfang = std::chrono::steady_clock::now(); }
    void Stopp() {
        Summe += std::chrono::duration<double>(std::chrono::steady_clock::now() - Anfang).count();
        ++Anzahl;
    }
    double Mittel() const { return Anzahl > 0 ? Summe / Anzahl : 0.0; }

private:
    std::chrono::steady_clock::time_point Anfang;
    double Summe = 0.0;
    int Anzahl = 0;
};

void BM_LadenSpeicher(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    std::unique_ptr<TModell> m;
    bench::TVerhaeltnisUhr uhr;
    for (auto _ : state) {
        uhr.Start();
        m = AusText(text);
        uhr.Stopp();
        benchmark::DoNotOptimize(m.get());
        state.PauseTiming();
        if (state.iterations() + 1 < state.max_iterations) m.reset();
        uhr.GrenzeMessen([&] { benchmark::DoNotOptimize(ZahlenLesen(text)); });
        state.ResumeTiming();
    }
    if (!m) m = AusText(text);
    Kennzahlen(state, text, *m);
    uhr.Melden(state, "ZuFromChars");
}

void BM_LadenDatei(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    const std::string pfad = TempDatei("laden");
    {
        auto m = AusText(text);
        DateiSpeichern(*m, pfad);
    }
    TOeffnenErgebnis e;
    bench::TVerhaeltnisUhr uhr;
    for (auto _ : state) {
        uhr.Start();
        e = ModellOeffnen(pfad);
        uhr.Stopp();
        if (!e.Modell) state.SkipWithError(e.Grund.c_str());
        state.PauseTiming();
        e.Modell.reset();
        uhr.GrenzeMessen([&] { benchmark::DoNotOptimize(ZahlenLesen(text)); });
        state.ResumeTiming();
    }
    std::filesystem::remove(pfad);
    Kennzahlen(state, text, *AusText(text));
    // Ziel: höchstens das Doppelte einer bloßen from_chars-Runde.
    uhr.Melden(state, "ZuFromChars");
}

void BM_SpeichernSpeicher(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    auto m = AusText(text);
    bench::TVerhaeltnisUhr uhr;
    std::string puffer;
    for (auto _ : state) {
        uhr.Start();
        TZeilenSchreiber aus;
        Schreiben(*m, aus);
        benchmark::DoNotOptimize(aus.Text().data());
        uhr.Stopp();
        state.PauseTiming();
        if (aus.Text().size() != text.size()) state.SkipWithError("anderer Text");
        uhr.GrenzeMessen([&] { ZellenSchreiben(*m, puffer); });
        state.ResumeTiming();
    }
    Kennzahlen(state, text, *m);
    uhr.Melden(state, "ZuToChars");
}

void BM_SpeichernDatei(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    auto m = AusText(text);
    const std::string pfad = TempDatei("speichern");
    bench::TVerhaeltnisUhr uhr;
    std::string puffer;
    for (auto _ : state) {
        uhr.Start();
        DateiSpeichern(*m, pfad);
        uhr.Stopp();
        state.PauseTiming();
        uhr.GrenzeMessen([&] { ZellenSchreiben(*m, puffer); });
        state.ResumeTiming();
    }
    std::filesystem::remove(pfad);
    Kennzahlen(state, text, *m);
    uhr.Melden(state, "ZuToChars");
}

// Schließen eines geladenen Modells (wie "Neu" oder Öffnen über ein Modell).
void BM_Schliessen(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    TStoppuhr uhr;
    for (auto _ : state) {
        state.PauseTiming();
        auto m = AusText(text);
        state.ResumeTiming();
        uhr.Start();
        m.reset();
        uhr.Stopp();
        benchmark::DoNotOptimize(m.get());
    }
    Kennzahlen(state, text, *AusText(text));
    // Ziel: unter 30 ms für das Modell mit 100 000 Knoten.
    state.counters["ZuZiel30ms"] = uhr.Mittel() / 0.030;
}

// Heap eines geladenen Modells gegen die Bytes seiner Zellen (8 je Zelle).
void BM_Speicherbedarf(benchmark::State& state) {
    bench::TStillePlattform still;
    const std::string& text = ModellText(static_cast<size_t>(state.range(0)));
    int64_t bytes = 0;
    int64_t bloecke = 0;
    size_t zellen = 0;
    for (auto _ : state) {
        // Zellen aus dem Vorrat des Ladens liegen neben dem Heap.
        const auto belegt = [] { return HeapBytes.load() + static_cast<int64_t>(TZellvorrat::BelegteBytesGesamt()); };
        const int64_t vorher = belegt();
        const int64_t bloeckeVorher = HeapBloecke.load();
        auto m = AusText(text);
        bytes = belegt() - vorher;
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
