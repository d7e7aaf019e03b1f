#pragma once
// Druck über ein Raster von Seiten: Seiteneinteilung, Kopf, Fuß, Beschnitt
// und der Seitenlauf eines Auftrags, alles über die Zeichenfläche der Ansicht.
#include <cstdint>
#include <string>

#include "view/UAnsicht.h"

namespace tessomir {

// Was ein Auftrag vom Drucker braucht. Längen in Druckerpunkten.
class IDrucker {
public:
    virtual ~IDrucker() = default;
    virtual IZeichenflaeche& Zeichenflaeche() = 0;
    // Bedruckbare Breite und Höhe einer Seite.
    virtual int32_t Seitenbreite() const = 0;
    virtual int32_t Seitenhoehe() const = 0;
    // Punkte je Zoll, in denen die Zeichenfläche Schrifthöhen nimmt; damit
    // werden die Punktgrößen von Kopf und Fuß zu Schrifthöhen.
    virtual int32_t PunkteJeZoll() const = 0;
    virtual void AuftragsTitelSetzen(const std::string& titel) = 0;
    virtual void DokumentBeginnen() = 0;
    virtual void NeueSeite() = 0;
    virtual void DokumentBeenden() = 0;
};

// Die beiden festen Texte des Seitenfußes.
extern const char* const FussTextLinks;
extern const char* const FussTextRechts;

// Teilt die um 2 % vergrößerte Ausdehnung auf Seiten auf; gibt die Seitenzahl.
int32_t SeitenEinteilen(TAnsicht& ansicht, const TPunkt& ausdehnung, int32_t breite, int32_t hoehe);
// Verschiebt die Ansicht auf Seite n (ab 1, zeilenweise).
void SeiteWaehlen(TAnsicht& ansicht, int32_t n);
// Titel und "Seite n/m" über zwei Linien im oberen Rand.
void KopfZeichnen(TAnsicht& ansicht, const TModell* modell, int32_t punkteJeZoll);
// Die zwei festen Texte zwischen zwei Linien im unteren Rand.
void FussZeichnen(TAnsicht& ansicht, int32_t punkteJeZoll);
// Beschnitt auf den bedruckbaren Bereich der Seite; nur im Druckmodus.
void DruckClipSetzen(TAnsicht& ansicht);
void DruckClipAufheben(TAnsicht& ansicht);

// "Tessomir " und der Dateiname ohne Ordner und Endung.
std::string KopfTitel(const TModell* modell);
// "Tessomir " und der Dateiname ohne Ordner; "Tessomir" ohne Modell.
std::string AuftragsTitel(const TModell* modell);

// Druckt die Seiten von..bis (alle: 1 bis Seitenzahl) des Modells. Die
// Zeichenfläche der Ansicht ist dabei die des Bildschirms; auf jedem Weg
// hinaus ist sie es wieder und der Druckmodus aus. Ein Modell ohne Knoten
// gibt eine Seite mit Kopf und Fuß.
void ModellDrucken(const TModell* modell, TAnsicht& ansicht, IDrucker& drucker, bool alle, int32_t von, int32_t bis);

} // namespace tessomir
