#pragma once
// Zoom, der seinen Ort behält: um den Punkt unter dem Zeiger, um die Mitte
// des sichtbaren Ausschnitts, und der Schritt, der das ganze Modell zeigt.
// Der Massstab ändert sich nur in den Schritten von Vergroessern und
// Verkleinern; hier wird nur gewählt, wie viele, und wohin gerollt wird.
#include "view/UAnsicht.h"

namespace tessomir {

// Rollstellung (linke obere Ecke des Ausschnitts in Zeichnungspunkten) nach
// einem Wechsel des Massstabs, so dass unter 'zeiger' (Punkt im Ausschnitt)
// derselbe Modellpunkt liegt, auf einen Pixel genau.
TBildpunkt RollenUmPunkt(TBildpunkt rollen, TBildpunkt zeiger, double alterMassstab, double neuerMassstab);

// Rollstellung, die den Zeichnungspunkt 'mitte' in die Mitte eines
// Ausschnitts der Größe 'fenster' bringt; nie links oder über dem Ursprung.
TBildpunkt RollenZurMitte(TBildpunkt mitte, TBildpunkt fenster);

// Wählt vom jetzigen Massstab aus den größten Schritt, bei dem alle Knoten mit
// Symbol, Anzeige und Beschriftung in 'fenster' passen (passt nichts, den
// kleinsten, den 300 Schritte erreichen; hinein höchstens bis Massstab 8); gibt die Rollstellung, die die
// Zeichnung oben links zeigt. Ohne Knoten bleibt der Massstab.
TBildpunkt GanzesModellZeigen(const TModell& modell, TAnsicht& ansicht, TBildpunkt fenster);

} // namespace tessomir
