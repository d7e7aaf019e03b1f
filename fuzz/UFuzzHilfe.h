#pragma once
// Was beide Fuzz-Ziele brauchen: eine stille Plattform, Lesen aus dem
// Speicher, Schreiben in einen Text und der Abbruch mit beiden Texten.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/UFehler.h"
#include "model/UModell.h"
#include "model/UPlattform.h"

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
    Modell = m.get();
    try {
        m->TextLaden(text);
    } catch (const EFehler& e) {
        if (grund != nullptr) *grund = e.what();
        return nullptr; // zerstört das halb gelesene Modell
    }
    return m;
}

inline std::string Schreiben(const TModell& m) {
    TZeilenSchreiber aus;
    m.Schreiben(aus);
    return aus.Text();
}

[[noreturn]] inline void Abbruch(const char* was, const std::string& a, const std::string& b) {
    std::fprintf(stderr, "%s\n--- erst ---\n%s\n--- dann ---\n%s\n", was, a.c_str(), b.c_str());
    std::abort();
}

} // namespace tessomir::fuzz
