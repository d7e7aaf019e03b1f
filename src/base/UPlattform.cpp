#include "base/UPlattform.h"

#include <chrono>
#include <iostream>

#include "base/UText.h"

namespace tessomir {
namespace {

class TStderrMeldungen final : public IMeldungen {
public:
    void Info(const std::string& text) override { std::cerr << Utf8AusAnsi(text) << '\n'; }
    void Fehler(const std::string& text) override { std::cerr << Utf8AusAnsi(text) << '\n'; }
    void Warnung(const std::string& text) override { std::cerr << Utf8AusAnsi(text) << '\n'; }
    // Ohne Benutzer wird nichts verworfen: Abbrechen ist die sichere Antwort.
    TAntwort Frage(const std::string& text) override {
        std::cerr << Utf8AusAnsi(text) << '\n';
        return TAntwort::Abbrechen;
    }
};

class TStderrSignalton final : public ISignalton {
public:
    void Piep() override { std::cerr << '\a'; }
};

class TStderrProtokoll final : public IProtokoll {
public:
    void LogLeeren() override {}
    void LogZeile(const std::string& zeile) override { std::cerr << Utf8AusAnsi(zeile) << '\n'; }
};

class TSystemUhr final : public IUhr {
public:
    uint32_t Millisekunden() override {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(ms.count());
    }
};

TStderrMeldungen stderrMeldungen;
TStderrSignalton stderrSignalton;
TStderrProtokoll stderrProtokoll;
TSystemUhr systemUhr;

TPlattform plattform{&stderrMeldungen, &stderrSignalton, &stderrProtokoll, &systemUhr};

} // namespace

TPlattform& Plattform() { return plattform; }

IUhr& Systemuhr() { return systemUhr; }

void PlattformVorgaben() {
    plattform = TPlattform{&stderrMeldungen, &stderrSignalton, &stderrProtokoll, &systemUhr};
}

} // namespace tessomir
