#pragma once
// Die Sankey-Ansicht: jeder Weg als Band entlang seiner Linie, so breit wie
// sein Strom, in der Summe aller Artikel die Artikel nebeneinander in festen
// Farben; die Kapazität als dünner Umriss; ein Massstab für das ganze Bild.
// Schleifen sind nur Wege: jeder wird einmal gezeichnet, wo er liegt.
#include <optional>
#include <vector>

#include "model/UKnoten.h"
#include "view/UAnsicht.h"

namespace tessomir {

// Artikelfarben aus einer festen Reihe, die auch bei Farbfehlsichtigkeit
// unterscheidbar bleibt (Okabe und Ito, ohne das Zinnoberrot, das mit dem
// Rot der vollen Wege verwechselt würde); ab dem achten Artikel von vorn.
TFarbe ArtikelFarbe(int artikel);
constexpr int ArtikelFarbenAnzahl = 7;

// Der grösste Strom eines Wegs im aktuellen Artikel oder in der Summe.
double GroessterWegStrom(const TModell& modell);
// Setzt den geltenden Massstab (Mengeneinheiten je Punkt bei Zoom 1) und
// merkt den grössten Strom; vor jedem Zeichnen und Suchen.
void SankeyMassstabSetzen(const TModell& modell, const TAnsicht& ansicht);

struct TBandStreifen {
    int Artikel = 0;
    double Breite = 0.0; // Gerätepunkte
};
// Ein Band in Gerätepunkten: von P nach Q, die Streifen von links (in
// Laufrichtung) nach rechts, die Kapazität als Breite (0: kein Umriss).
struct TBand {
    TBildpunkt P, Q;
    std::vector<TBandStreifen> Streifen;
    double Breite = 0.0;
    double Kapazitaet = 0.0;
    bool Voll = false; // Strom erreicht die Kapazität
};
// Das Band eines Wegs; leer, wo der Weg als dünne Linie bleibt (ohne Knoten,
// ohne positiven Strom, ohne Massstab).
std::optional<TBand> WegBand(const TWeg& weg, const TAnsicht& ansicht);
// Die Breite des Bands des grössten Stroms in Gerätepunkten (0 ohne Massstab).
double GroessteBandbreite(const TAnsicht& ansicht);
// Die Hälfte des breitesten möglichen Bands samt Umriss in Gerätepunkten:
// so weit reicht ein Weg über seine Linie hinaus.
double SankeyRand(const TAnsicht& ansicht);

void BandZeichnen(const TWeg& weg, TAnsicht& ansicht, int modus);
bool BandGetroffen(const TWeg& weg, const TAnsicht& ansicht);

// Die Legende (Artikelfarben und ein Massstabsbalken) mit der linken unteren
// Ecke an 'ecke'; gibt ihre Grösse. Mit 'zeichnen' falsch nur gemessen.
TTextgroesse SankeyLegende(const TModell& modell, TAnsicht& ansicht, TBildpunkt ecke, bool zeichnen = true);

} // namespace tessomir
