#pragma once
// Öffnen und Speichern von Modelldateien für Programm und Kommandozeile.
#include <memory>
#include <string>

#include "model/UModell.h"

namespace tessomir {

struct TOeffnenErgebnis {
    std::unique_ptr<TModell> Modell; // nullptr, wenn die Datei nicht gelesen werden konnte
    std::string Meldung;             // "Die Datei ... kann nicht geöffnet werden."
    std::string Grund;               // Text der Ausnahme
};

// Legt ein frisches Modell an, macht es zum aktuellen und liest die Datei.
// Jeder Fehler hinterlässt kein halb gelesenes Modell; 'Modell' ist dann nullptr.
TOeffnenErgebnis ModellOeffnen(const std::string& dateiName);

// Dateiname ohne Ordner, für Meldungen.
std::string DateinameOhneOrdner(const std::string& pfad);

// Liest eine Datei ganz; EFOpenError, wenn das nicht geht.
std::string DateiInhalt(const std::string& dateiName);
// Schreibt über eine Hilfsdatei im selben Ordner, die erst am Ende die alte
// Datei ersetzt; EFCreateError, wenn das nicht geht (die alte Datei bleibt).
void DateiErsetzen(const std::string& dateiName, const std::string& inhalt);

} // namespace tessomir
