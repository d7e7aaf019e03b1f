#pragma once
// tessomir-cli: Prüfen, Berechnen und Exportieren ohne Fenster.
#include <iosfwd>
#include <string>
#include <vector>

namespace tessomir {

// Rückgabe: 0 in Ordnung, 1 Prüfung oder Berechnung fehlerhaft, 2 Datei- oder Aufruffehler.
int KommandozeileAusfuehren(const std::vector<std::string>& argumente, std::ostream& aus, std::ostream& fehler);

} // namespace tessomir
