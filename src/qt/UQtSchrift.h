#pragma once
// Die einzige Stelle, an der die Schrift des Modells zur QFont wird.
#include <QColor>
#include <QFont>

#include "model/UModell.h"
#include "view/UZeichenflaeche.h"

namespace tessomir {

QColor QtFarbe(TFarbe f);
TFarbe FarbeAusQt(const QColor& c);

// Gesicht, Größe, Stil und Teilung. Negative Höhe: Zeichenhöhe in Pixeln
// (entspricht der Pixelgröße von Qt); positive Höhe: Zellenhöhe, also mit
// Innenabstand, die Pixelgröße wird daran angepasst.
QFont QtSchrift(const TSchrift& schrift);
// Die Umkehrung nach einer Schriftwahl: Gesicht, Pixelhöhe (negativ), Stil
// und Teilung aus der QFont; Zeichensatz und Farbe wählt sie nicht, die
// bleiben aus 'vorlage'.
TSchrift SchriftAusQt(const QFont& font, const TSchrift& vorlage);
// Textfarbe der Schrift; Systemfarben löst FarbeAusFarbwert auf.
QColor QtSchriftfarbe(const TSchrift& schrift);

} // namespace tessomir
