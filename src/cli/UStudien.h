#pragma once
// Befehle für Studien nach der ersten Berechnung: mit einer Variante
// vergleichen, die Empfindlichkeit eines Ziels, die Herkunft eines Stroms.
#include <iosfwd>
#include <string>
#include <vector>

namespace tessomir {

int Vergleichen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler);
int Empfindlichkeit(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler);
int Herkunft(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler);

} // namespace tessomir
