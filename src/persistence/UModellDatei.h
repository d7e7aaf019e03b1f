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

struct TSpeichernErgebnis {
    bool Ok = false;
    std::string Meldung; // "Die Datei ... kann nicht geschrieben werden."
    std::string Grund;   // deutscher Grund, z. B. "der Datenträger ist voll"
};

// Speichert das Modell; bei einem Fehler bleibt die alte Datei unverändert,
// DateiName und Modifiziert ebenso.
TSpeichernErgebnis ModellSichern(TModell& modell, const std::string& dateiName);

// Dateiname ohne Ordner, wie das Dateisystem ihn hat (Bytes, meist UTF-8).
std::string DateinameOhneOrdner(const std::string& pfad);
// Dateiname ohne Ordner als Windows-1252-Text für Meldungen, Titel und
// Druckkopf; Zeichen, die Windows-1252 nicht kennt, werden zu '?'.
std::string DateinameFuerAnzeige(const std::string& pfad);

// Liest eine Datei ganz; EFOpenError, wenn das nicht geht.
std::string DateiInhalt(const std::string& dateiName);
// Schreibt über eine Hilfsdatei im selben Ordner, die erst am Ende die alte
// Datei ersetzt; EFCreateError, wenn das nicht geht (die alte Datei bleibt).
void DateiErsetzen(const std::string& dateiName, const std::string& inhalt);

} // namespace tessomir
