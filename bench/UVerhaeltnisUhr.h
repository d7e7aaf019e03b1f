#pragma once
// Verhältnis einer Messung zu ihrer Grenze, beide im selben Lauf gemessen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

namespace tessomir::bench {

// Verhältnis zu einer Grenze, die neben jedem Durchlauf (außerhalb der
// gemessenen Zeit) einmal mitläuft: Zähler und Nenner messen dieselbe Lage
// des geteilten Rechners. Gemeldet werden Mediane; einzelne Stockungen des
// Rechners beim Anfordern frischer Seiten verschieben sie nicht.
class TVerhaeltnisUhr {
public:
    void Start() { Anfang = std::chrono::steady_clock::now(); }
    void Stopp() { Letzte = std::chrono::duration<double>(std::chrono::steady_clock::now() - Anfang).count(); }
    template <class F> void GrenzeMessen(F&& grenze) {
        const auto anfang = std::chrono::steady_clock::now();
        grenze();
        const double g = std::chrono::duration<double>(std::chrono::steady_clock::now() - anfang).count();
        if (g <= 0.0) return;
        Verhaeltnisse.push_back(Letzte / g);
        Grenzen.push_back(g);
    }
    void Melden(benchmark::State& state, const char* name) {
        state.counters[name] = Median(Verhaeltnisse);
        state.counters["GrenzeMs"] = Median(Grenzen) * 1e3;
    }

private:
    static double Median(std::vector<double>& werte) {
        if (werte.empty()) return 0.0;
        const auto mitte = werte.begin() + static_cast<std::ptrdiff_t>(werte.size() / 2);
        std::nth_element(werte.begin(), mitte, werte.end());
        return *mitte;
    }

    std::chrono::steady_clock::time_point Anfang;
    double Letzte = 0.0;
    std::vector<double> Verhaeltnisse;
    std::vector<double> Grenzen;
};

} // namespace tessomir::bench
