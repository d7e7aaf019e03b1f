#pragma once
// Was beide Fuzz-Ziele brauchen: eine stille Plattform, Lesen aus dem
// Speicher, Schreiben in einen Text und der Abbruch mit beiden Texten.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "base/UFehler.h"
#include "model/UModell.h"
#include "base/UPlattform.h"
#include "persistence/UModellDatei.h"

namespace tessomir::fuzz {

// Meldungen und Protokoll verschlucken; die Uhr rückt je Abfrage um 'Schritt'
// Millisekunden vor (0: sie steht).
class TStill final : public IMeldungen, public ISignalton, public IProtokoll, public IUhr {
public:
    void Info(const std::string&) override {}
    void Fehler(const std::string&) override {}
    void Warnung(const std::string&) override {}
    TAntwort Frage(const std::string&) override { return TAntwort::Abbrechen; }
    void Piep() override {}
    void LogLeeren() override {}
    void LogZeile(const std::string&) override {}
    uint32_t Millisekunden() override { return Zeit += Schritt; }
    uint32_t Zeit = 0;
    uint32_t Schritt = 0;
};

// Liest wie DateiLaden, nur aus dem Speicher; 'grund' erhält den Fehlertext.
inline std::unique_ptr<TModell> Lesen(std::string_view text, std::string* grund = nullptr) {
    auto m = std::make_unique<TModell>();
    try {
        TextLaden(*m, text);
    } catch (const EFehler& e) {
        if (grund != nullptr) *grund = e.what();
        return nullptr; // zerstört das halb gelesene Modell
    }
    return m;
}

inline std::string Schreiben(const TModell& m) {
    TZeilenSchreiber aus;
    tessomir::Schreiben(m, aus);
    return aus.Text();
}

[[noreturn]] inline void Abbruch(const char* was, const std::string& a, const std::string& b) {
    std::fprintf(stderr, "%s\n--- erst ---\n%s\n--- dann ---\n%s\n", was, a.c_str(), b.c_str());
    std::abort();
}

// Jede Eingabe beginnt mit der stillen Plattform (ein Modell bringt seine
// Zähler selbst mit).
inline void Beginnen(TStill& still) { Plattform() = TPlattform{&still, &still, &still, &still}; }

// Der geschriebene Text muss sich lesen lassen und zweimal gelesen und wieder
// geschrieben derselbe bleiben (jedes Lesen kehrt die Folge der Wege um).
inline void StabilPruefen(const std::string& erst) {
    std::string dann = erst;
    for (int i = 0; i < 2; ++i) {
        std::string grund;
        std::unique_ptr<TModell> n = Lesen(dann, &grund);
        if (!n) Abbruch(("Geschriebenes Modell laesst sich nicht lesen: " + grund).c_str(), erst, dann);
        dann = Schreiben(*n);
    }
    if (dann != erst) Abbruch("Schreiben und Lesen sind nicht stabil", erst, dann);
}

} // namespace tessomir::fuzz
