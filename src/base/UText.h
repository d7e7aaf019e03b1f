#pragma once
// Umwandlung zwischen Windows-1252 (Kern, Datei) und UTF-8 (Ausgabe, Qt).
#include <cstddef>
#include <string>
#include <string_view>

namespace tessomir {

std::string Utf8AusAnsi(std::string_view ansi);
// Zeichen ohne Entsprechung in Windows-1252 werden zu '?'.
std::string AnsiAusUtf8(std::string_view utf8);

// Der Text mit großem Anfangsbuchstaben (Windows-1252): ein Grund, der in der
// Kommandozeile nach "...: " klein weitergeht, steht im Meldungsfenster als
// eigener Satz auf seiner Zeile.
std::string Satzanfang(std::string_view text);
// Namen, Werte und Dateinamen in Meldungen, Protokollzeilen und Titeln: höchstens
// so viele Zeichen, der Rest wird zu "…" (eine fremde Datei kann einen Namen von
// einem Gigabyte tragen).
inline constexpr size_t MeldungsnameHoechstens = 60;
std::string Gekuerzt(std::string_view text, size_t hoechstens = MeldungsnameHoechstens);
// Beschriftungen im Diagramm: höchstens eine Bildschirmbreite. Kurze Namen kommen
// ohne Kopie zurück, lange gekürzt in 'puffer'.
inline constexpr size_t BeschriftungHoechstens = 300;
std::string_view Beschriftung(const std::string& name, std::string& puffer);
// Meldung und Grund als zwei Zeilen, der Grund als eigener Satz.
std::string MeldungMitGrund(std::string_view meldung, std::string_view grund);

} // namespace tessomir
