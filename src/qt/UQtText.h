#pragma once
// Die einzige Stelle, an der Texte zwischen Kern (Windows-1252) und Qt wechseln.
#include <QString>
#include <string>
#include <string_view>

namespace tessomir {

QString QtAusAnsi(std::string_view ansi);
// Zeichen ohne Entsprechung in Windows-1252 werden zu '?'.
std::string AnsiAusQt(const QString& text);
// Ein Dateipfad für den Kern: in der Kodierung des Dateisystems, nicht Windows-1252.
std::string Pfad(const QString& pfad);

} // namespace tessomir
