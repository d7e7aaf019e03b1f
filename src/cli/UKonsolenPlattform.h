#pragma once
// Protokoll und Meldungen der Kommandozeile: Protokoll nach stdout,
// Meldungsfenster nach stderr, jeweils in UTF-8. Gilt, solange das Objekt lebt.
#include <ostream>
#include <string>

#include "base/UPlattform.h"
#include "base/UText.h"

namespace tessomir {

class TKonsolenPlattform final : public IMeldungen, public ISignalton, public IProtokoll {
public:
    TKonsolenPlattform(std::ostream& aus, std::ostream& fehler) : Aus(aus), Fehlerstrom(fehler) {
        Vorher = Plattform();
        Plattform().Meldungen = this;
        Plattform().Signalton = this;
        Plattform().Protokoll = this;
    }
    ~TKonsolenPlattform() override { Plattform() = Vorher; }
    TKonsolenPlattform(const TKonsolenPlattform&) = delete;
    TKonsolenPlattform& operator=(const TKonsolenPlattform&) = delete;

    void Info(const std::string& text) override { Melden(text); }
    void Fehler(const std::string& text) override { Melden(text); }
    void Warnung(const std::string& text) override { Melden(text); }
    TAntwort Frage(const std::string& text) override {
        Melden(text);
        return TAntwort::Abbrechen;
    }
    void Piep() override {}
    void LogLeeren() override {}
    void LogZeile(const std::string& zeile) override { Aus << Utf8AusAnsi(zeile) << '\n'; }

private:
    void Melden(const std::string& text) { Fehlerstrom << Utf8AusAnsi(text) << '\n'; }

    std::ostream& Aus;
    std::ostream& Fehlerstrom;
    TPlattform Vorher{};
};

// Meldet einen falschen Aufruf; Rückgabewert 2 für main.
inline int Aufruffehler(const std::string& text, std::ostream& fehler) {
    fehler << "tessomir-cli: " << text << "\nHilfe: tessomir-cli --help\n";
    return 2;
}

} // namespace tessomir
