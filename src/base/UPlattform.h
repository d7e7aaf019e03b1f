#pragma once
// Schnittstellen zur Plattform (Meldungsfenster, Signalton, Protokoll, Uhr).
// Das Programm setzt Qt-Umsetzungen ein, das Kommandozeilenwerkzeug eigene,
// die Tests aufzeichnende. Texte sind Windows-1252.
#include <cstdint>
#include <string>

namespace tessomir {

enum class TAntwort { Ja, Nein, Abbrechen };

class IMeldungen {
public:
    virtual ~IMeldungen() = default;
    virtual void Info(const std::string& text) = 0;
    virtual void Fehler(const std::string& text) = 0;
    virtual void Warnung(const std::string& text) = 0;
    // Frage mit Ja, Nein und Abbrechen.
    virtual TAntwort Frage(const std::string& text) = 0;
    // Warnung mit Ja und Nein; true nur für Ja. Ohne eigene Umsetzung gilt
    // die Antwort auf Frage, Abbrechen also als Nein.
    virtual bool WarnFrage(const std::string& text) { return Frage(text) == TAntwort::Ja; }
    // Frage mit Ja, Nein und Später (Abbrechen heisst hier Später). Ohne eigene
    // Umsetzung die Antwort auf Frage.
    virtual TAntwort FrageMitSpaeter(const std::string& text) { return Frage(text); }
};

class ISignalton {
public:
    virtual ~ISignalton() = default;
    virtual void Piep() = 0;
};

class IProtokoll {
public:
    virtual ~IProtokoll() = default;
    virtual void LogLeeren() = 0;
    virtual void LogZeile(const std::string& zeile) = 0;
};

// 32-Bit-Millisekundenuhr; läuft nach 2^32 ms über.
class IUhr {
public:
    virtual ~IUhr() = default;
    virtual uint32_t Millisekunden() = 0;
};

// Die gerade eingesetzten Umsetzungen. Ohne eigene Wahl gehen Meldungen und
// Protokoll nach stderr, die Uhr ist die monotone Systemuhr.
struct TPlattform {
    IMeldungen* Meldungen;
    ISignalton* Signalton;
    IProtokoll* Protokoll;
    IUhr* Uhr;
};

TPlattform& Plattform();
// Die monotone Systemuhr; ohne Zustand, jeder Faden darf sie lesen (anders
// als eine Uhr, die ein Test einsetzt).
IUhr& Systemuhr();

// Ein Protokoll, das nichts behält: für Rechnungen auf Kopien des Modells.
class TStillesProtokoll final : public IProtokoll {
public:
    void LogLeeren() override {}
    void LogZeile(const std::string&) override {}
};
// Setzt alle Schnittstellen auf die Vorgaben zurück.
void PlattformVorgaben();

} // namespace tessomir
