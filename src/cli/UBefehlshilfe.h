#pragma once
// Was mehrere Befehle der Kommandozeile teilen: Öffnen, Berechnen, Meldungen
// und bündige Tabellen.
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/UBerechnung.h"
#include "persistence/UDatei.h"
#include "persistence/UModellDatei.h"

namespace tessomir {

// Eine ganze Zahl oder eine Zahl mit "." aus einem Aufruf; leer, wenn es keine ist.
std::optional<int> GanzzahlAusText(const std::string& s);
std::optional<double> ZahlAusText(const std::string& s);
// Öffnet das Modell oder meldet "Die Datei ... kann nicht geöffnet werden."
std::unique_ptr<TModell> Oeffnen(const std::string& datei, std::ostream& fehler);
// Die Meldung zu einer gescheiterten Rechnung, wie das Programm sie zeigt.
void MeldungZeigen(TBerechnungsErgebnis ergebnis);
// Meldet "Die Datei ... kann nicht geschrieben werden." mit dem Grund darunter.
bool Gesichert(const TSpeichernErgebnis& e, std::ostream& fehler);
// Spalten bündig: Texte links, Zahlen rechts (Windows-1252: ein Byte je Zeichen).
std::vector<std::string> Tabelle(const std::vector<std::vector<std::string>>& zeilen, const std::vector<bool>& rechts);
// Öffnet und berechnet; die Protokollzeilen der Berechnung zeigen sich nur,
// wenn sie scheitert (dann auf 'fehler'). 0, 1 bei gescheiterter Berechnung,
// 2 wenn die Datei nicht zu öffnen ist.
int OeffnenUndBerechnen(const std::string& datei, std::ostream& fehler, std::unique_ptr<TModell>& modell);

} // namespace tessomir
