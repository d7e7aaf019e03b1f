#pragma once
// Zeichnen, Treffen und Verschieben der Flussobjekte und der Objektliste in
// einer Ansicht. Modus 0 normal, 1 ausgewählt, 2 Gummiumriss am Ziehversatz;
// AnzeigeZeichnen ist der zweite Durchgang (Stromanzeigen und Wegnamen).
#include "model/UKnoten.h"
#include "view/UAnsicht.h"

namespace tessomir {

void Zeichnen(const TFO& objekt, TAnsicht& ansicht, int modus);
void AnzeigeZeichnen(const TFO& objekt, TAnsicht& ansicht, int modus);
bool IstGetroffen(const TFO& objekt, const TAnsicht& ansicht);
// Der Bezugspunkt um den Ziehversatz der Ansicht verschoben; Verschieben setzt ihn.
TPunkt VerschobenerOrt(const TFO& objekt, const TAnsicht& ansicht);
void Verschieben(TFO& objekt, const TAnsicht& ansicht);

// Je Art; Zeichnen wählt unter ihnen. KnotenZeichnen ist false für einen
// blossen Knoten, der nur die Grundmarke hat.
void WegZeichnen(const TWeg& weg, TAnsicht& ansicht, int modus);
void WegAnzeigeZeichnen(const TWeg& weg, TAnsicht& ansicht, int modus);
// Der Name eines Wegs waagrecht mittig über t, seine Unterkante h Punkte darüber.
void WegNameZeichnen(const TWeg& weg, TAnsicht& ansicht, TBildpunkt t, int32_t h);
bool WegGetroffen(const TWeg& weg, const TAnsicht& ansicht);
bool KnotenZeichnen(const TKnoten& knoten, TAnsicht& ansicht, int modus);
void VerzweigungAnzeigeZeichnen(const TVerzweigung& verzweigung, TAnsicht& ansicht, int modus);
// Wo die Stromanzeige steht: beim Weg ein Viertel vom Start (beide Knoten
// nötig), bei der Verzweigung unter ihrem Symbol.
TBildpunkt WegAnzeigepunkt(const TWeg& weg, const TAnsicht& ansicht);
TBildpunkt VerzweigungAnzeigepunkt(const TVerzweigung& verzweigung, const TAnsicht& ansicht);

// Auswählen mit Umschalten aus der Ansicht (Strg beim Klick).
void Auswaehlen(TFOListe& liste, const TAnsicht& ansicht, TFO* objekt);
void AllesZeichnen(const TFOListe& liste, TAnsicht& ansicht, const TModell& modell);
// Die ausgewählten Knoten als Gummiumriss.
void AuswahlZeichnen(const TFOListe& liste, TAnsicht& ansicht);
// Treffer am Trefferpunkt: Knoten vor Wegen, übereinanderliegende Wege reihum.
TFO* FindeObjekt(const TFOListe& liste, const TAnsicht& ansicht);

} // namespace tessomir
