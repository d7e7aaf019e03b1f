#pragma once
// Erzeugt große, berechenbare Modelle für die Messprogramme: Quellen speisen
// Bäume aus Verzweigungen (je zwei Ausgänge, Anteile mit Summe 100), deren
// Blätter über Wandler oder direkt in Senken enden; jede zehnte Einheit
// führt einen Strang in die nächste Einheit weiter (Zusammenführung).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/UModell.h"
#include "base/UPlattform.h"

namespace tessomir::bench {

struct TModellGroesse {
    size_t Knoten = 0;
    size_t Wege = 0;
    size_t Zellen = 0;
};

// Legt ein Modell mit genau 'knoten' Knoten und 'artikel' Artikeln an.
// Gleiche Saat, gleiches Modell.
std::unique_ptr<TModell> ModellErzeugen(size_t knoten, int artikel, uint32_t saat = 1);

TModellGroesse Groesse(const TModell& modell);

// Füllt die Ströme mit einigen Durchgängen, wie nach einer Berechnung.
void Durchrechnen(TModell& modell, int durchgaenge = 12);

// Plattform ohne Ausgaben für die Dauer der Messung; die Uhr steht.
class TStillePlattform final : public IMeldungen, public ISignalton, public IProtokoll, public IUhr {
public:
    TStillePlattform();
    ~TStillePlattform() override;
    TStillePlattform(const TStillePlattform&) = delete;
    TStillePlattform& operator=(const TStillePlattform&) = delete;

    void Info(const std::string&) override {}
    void Fehler(const std::string&) override {}
    void Warnung(const std::string&) override {}
    TAntwort Frage(const std::string&) override { return TAntwort::Abbrechen; }
    void Piep() override {}
    void LogLeeren() override {}
    void LogZeile(const std::string&) override {}
    uint32_t Millisekunden() override { return 0; }

private:
    TPlattform Vorher;
};

} // namespace tessomir::bench
