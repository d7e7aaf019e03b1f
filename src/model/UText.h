#pragma once
// Umwandlung zwischen Windows-1252 (Kern, Datei) und UTF-8 (Ausgabe, Qt).
#include <string>
#include <string_view>

namespace tessomir {

std::string Utf8AusAnsi(std::string_view ansi);
// Zeichen ohne Entsprechung in Windows-1252 werden zu '?'.
std::string AnsiAusUtf8(std::string_view utf8);

} // namespace tessomir
