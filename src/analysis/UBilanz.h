#pragma once
// Bilanzen nach einer Berechnung: was an einem Knoten ankommt und was ihn
// verlässt, je Artikel, und für das ganze Modell, was die Quellen liefern und
// die Senken aufnehmen. Dazu die Ströme, die das Diagramm zeigt.
#include <string>
#include <vector>

#include "model/UKnoten.h"

namespace tessomir {

// Artikelnummer für die Summe aller Artikel.
constexpr int SummeArtikel = -1;

// Ankommender Strom eines Wegs (die Zelle seines Zielknotens), wie TWeg::Strom.
double WegStrom(const TWeg& weg, int artikel);
// Durchsatz einer Verzweigung: die Summe ihrer Eingänge, wie TVerzweigung::Strom.
double VerzweigungsStrom(const TVerzweigung& v, int artikel);
// Was das Diagramm für ein Objekt zeigt: Weg oder Verzweigung, sonst 0;
// 'artikel' darf SummeArtikel sein.
double AngezeigterStrom(const TFO& objekt, int artikel);
// Der Artikel, dem die Anzeige gerade folgt: der aktuelle oder SummeArtikel.
int AnzeigeArtikel(const TModell& modell);

struct TBilanz {
    double Zulauf = 0.0;
    double Ablauf = 0.0;
    // Was der Knoten schafft (> 0) oder verliert (< 0); beim Wandler, was
    // seine Faktoren erzeugen oder entfernen.
    double Differenz() const { return Ablauf - Zulauf; }
};

// Zulauf: Summe der Eingänge, bei der Quelle ihre Liefermenge. Ablauf: Summe
// der Ausgänge, bei der Senke was sie aufnimmt. 'artikel' darf SummeArtikel sein.
TBilanz KnotenBilanz(const TKnoten& knoten, int artikel);
// Alle Artikel eines Knotens in einem Gang; 'jeArtikel' bekommt AnzahlArtikel Einträge.
void KnotenBilanzen(const TKnoten& knoten, std::vector<TBilanz>& jeArtikel);
// Alle Knoten in Listenfolge, je Knoten AnzahlArtikel Einträge hintereinander.
void AlleKnotenBilanzen(const TModell& modell, std::vector<TBilanz>& alle);

// Je Artikel: Zulauf = geliefert von allen Quellen, Ablauf = aufgenommen von allen Senken.
std::vector<TBilanz> ModellBilanz(const TModell& modell);

// "Differenz", beim Wandler "Umwandlung": seine Differenz ist kein Verlust.
const char* DifferenzText(const TKnoten& knoten);

// CSV (RFC 4180, UTF-8, "."): FONr,Name,Art,Artikel,Zulauf,Ablauf,Differenz;
// je Knoten und Artikel in Listen- und Artikelfolge, dann je Artikel "Modell".
std::string BilanzAlsCsv(const TModell& modell);

} // namespace tessomir
