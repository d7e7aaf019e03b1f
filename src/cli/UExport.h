#pragma once
// tessomir-cli exportieren: der Bildexport der Qt-Schicht auf der Kommandozeile.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/UKommandozeile.h"
#include "qt/UBildExport.h"

namespace tessomir {

class TModell;

// tessomir-cli exportieren DATEI BILD [--berechnen] [--summe] [--artikel N] [--zoom F]
// (arg[0] ist "exportieren"). Rückgabe wie KommandozeileAusfuehren.
int Exportieren(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler);

} // namespace tessomir
