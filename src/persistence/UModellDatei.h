#pragma once
// Öffnen und Speichern von Modelldateien für Programm und Kommandozeile.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "model/UFehler.h"
#include "model/UModell.h"
#include "persistence/UDatei.h"

namespace tessomir {

struct TOeffnenErgebnis {
    std::unique_ptr<TModell> Modell; // nullptr, wenn die Datei nicht gelesen werden konnte
    std::string Meldung;             // "Die Datei ... kann nicht geöffnet werden."
    std::string Grund;               // Text der Ausnahme
};

// Legt ein frisches Modell an, macht es zum aktuellen und liest die Datei.
// Jeder Fehler hinterlässt kein halb gelesenes Modell; 'Modell' ist dann nullptr.
TOeffnenErgebnis ModellOeffnen(const std::string& dateiName);

struct TSpeichernErgebnis {
    bool Ok = false;
    std::string Meldung; // "Die Datei ... kann nicht geschrieben werden."
    std::string Grund;   // deutscher Grund, z. B. "der Datenträger ist voll"
};

// Speichert das Modell; bei einem Fehler bleibt die alte Datei unverändert,
// DateiName und Modifiziert ebenso.
TSpeichernErgebnis ModellSichern(TModell& modell, const std::string& dateiName);

// Wie ModellSichern, für einen fertigen Text.
TSpeichernErgebnis DateiSichern(const std::string& dateiName, const std::string& inhalt);

} // namespace tessomir
