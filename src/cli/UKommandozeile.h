#pragma once
// tessomir-cli: Prüfen, Berechnen und Exportieren ohne Fenster.
#include <iosfwd>
#include <string>
#include <vector>

namespace tessomir {

// Rückgabe: 0 in Ordnung, 1 Prüfung oder Berechnung fehlerhaft, 2 Datei- oder Aufruffehler.
int KommandozeileAusfuehren(const std::vector<std::string>& argumente, std::ostream& aus, std::ostream& fehler);

class TModell;
// Standard: "," zwischen Feldern, "." in Zahlen. Deutsch: ";" und ",", mit
// UTF-8-Marke am Anfang, wie eine deutsch eingestellte Tabellenkalkulation sie liest.
enum class TCsvFormat { Standard, Deutsch };
// CSV-Zeilen der Wege (UTF-8, RFC 4180): Nummer, Name, Start- und Zielknoten
// mit Nummer und Name, dann der Strom je Artikel.
std::string WegeAlsCsv(const TModell& modell, TCsvFormat format = TCsvFormat::Standard);

} // namespace tessomir
