#pragma once
// Bildexport des Diagramms: dieselbe Zeichnung wie im Fenster, als PNG, SVG
// oder PDF; für den Export des Fensters und tessomir-cli exportieren.
#include <optional>
#include <string>

#include "view/UAnsicht.h"

namespace tessomir {

enum class TBildformat { Png, Svg, Pdf };

// Format nach der Endung des Dateinamens (Groß-/Kleinschreibung egal).
std::optional<TBildformat> BildformatAusName(const std::string& dateiName);

// Das Bild beginnt am Modellursprung: Gerätepunkt (x, y) ist Bildpunkt (x, y).
// Braucht eine laufende QGuiApplication. ERangeError, wenn die Zeichnung beim
// Massstab nicht in 32 Bit passt; EFCreateError, wenn Qt das Bild nicht anlegt.
// Mit 'sankey' als Bänder, die Legende in einem Streifen unter der Zeichnung.
std::string ModellAlsBild(const TModell& modell, double massstab, TBildformat format,
                          const std::optional<TSankey>& sankey = std::nullopt);

} // namespace tessomir
