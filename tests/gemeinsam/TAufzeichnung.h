#pragma once
// Aufzeichnende Plattform für Tests: merkt sich Meldungen, Signaltöne und
// Protokollzeilen; Antworten auf Fragen und die Uhr werden vom Test gesteuert.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/UModell.h"
#include "base/UPlattform.h"

namespace tessomir::test {

struct TMeldung {
    enum Art { Info, Fehler, Warnung, Frage } Art;
    std::string Text;
    bool operator==(const TMeldung&) const = default;
};

class TAufzeichnung final : public IMeldungen, public ISignalton, public IProtokoll, public IUhr {
public:
    // Setzt sich als Plattform ein.
    TAufzeichnung();
    ~TAufzeichnung() override;
    TAufzeichnung(const TAufzeichnung&) = delete;
    TAufzeichnung& operator=(const TAufzeichnung&) = delete;

    void Info(const std::string& text) override { Meldungen.push_back({TMeldung::Info, text}); }
    void Fehler(const std::string& text) override { Meldungen.push_back({TMeldung::Fehler, text}); }
    void Warnung(const std::string& text) override { Meldungen.push_back({TMeldung::Warnung, text}); }
    TAntwort Frage(const std::string& text) override;
    void Piep() override { ++Pieptoene; }
    void LogLeeren() override {
        Protokoll.clear();
        ++Geleert;
    }
    void LogZeile(const std::string& zeile) override { Protokoll.push_back(zeile); }
    // Jede Abfrage rückt die Uhr um 'Schritt' Millisekunden vor, wenn kein
    // eigener Taktgeber gesetzt ist.
    uint32_t Millisekunden() override;

    std::vector<TMeldung> Meldungen;
    std::deque<TAntwort> Antworten; // werden der Reihe nach gegeben
    int Pieptoene = 0;
    std::vector<std::string> Protokoll;
    int Geleert = 0;
    uint32_t Zeit = 0;
    uint32_t Schritt = 0;
    std::function<uint32_t()> Taktgeber;

private:
    TPlattform Vorher{};
};

} // namespace tessomir::test
