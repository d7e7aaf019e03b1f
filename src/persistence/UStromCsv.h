#pragma once
// Die Ströme je Weg und Artikel als CSV (RFC 4180, UTF-8) für Tabellenkalkulationen,
// im Export des Fensters und in tessomir-cli berechnen --csv.
#include <string>

namespace tessomir {

class TModell;
// Standard: "," zwischen Feldern, "." in Zahlen. Deutsch: ";" und ",", mit
// UTF-8-Marke am Anfang, wie eine deutsch eingestellte Tabellenkalkulation sie liest.
enum class TCsvFormat { Standard, Deutsch };
// CSV-Zeilen der Wege (UTF-8, RFC 4180): Nummer, Name, Start- und Zielknoten
// mit Nummer und Name, dann der Strom je Artikel.
std::string WegeAlsCsv(const TModell& modell, TCsvFormat format = TCsvFormat::Standard);
// Ein Feld, in Anführungszeichen, wenn es 'trenner', '"' oder ein Zeilenende enthält.
std::string CsvFeld(const std::string& utf8, char trenner = ',');

} // namespace tessomir
