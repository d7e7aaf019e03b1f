#pragma once
// Die Ansicht: Abbildung zwischen Modell- und Gerätekoordinaten mit Zoom,
// Schriftfaktor für den Druck, Zustand eines Ziehvorgangs und Druckseiten.
#include <cstdint>
#include <string>

#include "model/UModell.h"
#include "view/UZeichenflaeche.h"

namespace tessomir {

class TAnsicht {
public:
    explicit TAnsicht(IZeichenflaeche* zeichenflaeche) : Zeichenflaeche(zeichenflaeche) {}
    virtual ~TAnsicht() = default;

    // Modellpunkt -> Gerätepunkt; ERangeError/EIntOverflow außerhalb von 32 Bit.
    virtual TBildpunkt Transformieren(const TPunkt& p) const;
    virtual TPunkt Ruecktransformieren(const TBildpunkt& p) const;
    virtual void Vergroessern() { Massstab = Massstab * 1.2; }
    virtual void Verkleinern() { Massstab = Massstab / 1.2; }

    // Höhe von "H" in der Schrift auf der aktuellen Zeichenfläche merken.
    void SchriftMessen(const TSchrift& schrift, bool bildschirm);
    double Schriftfaktor() const;

    // Balkenanzeige im Rechteck r; 'imBereich' falsch zeichnet rot.
    void BalkenZeichnen(const TRechteck& r, TFarbe farbe, bool imBereich, double prozent);
    // Zahl waagrecht mittig an p; gibt das Textmaß zurück. 'vertikal':
    // 0 Oberkante an p, 1 mittig, 2 eine Texthöhe unter p.
    TTextgroesse ZahlZeichnen(TBildpunkt p, const std::string& text, bool imBereich, TFarbe farbe, int vertikal,
                              const TSchrift& schrift);
    // Grund hinter Zahlen und Namen: weiß auf Papier, sonst Fensterhintergrund.
    TFarbe Texthintergrund() const;

    int32_t Bildschirmhoehe = 16;
    int32_t Druckerhoehe = 80;
    int32_t SeitenQuer = 0;
    int32_t SeitenHoch = 0;
    int32_t SeitenBreite = 0;
    int32_t SeitenHoehe = 0;
    int32_t RandOben = 0;
    int32_t RandLinks = 0;
    int32_t RandUnten = 0;
    int32_t SeiteX = 0;
    int32_t SeiteY = 0;
    IZeichenflaeche* Zeichenflaeche;
    double OffsetX = 0.0;
    double OffsetY = 0.0;
    double Massstab = 1.0;
    bool Ziehen = false;
    TBildpunkt Startpunkt;
    TBildpunkt Aktpunkt;
    TBildpunkt Trefferpunkt;
    bool Umschalten = false;
    bool DruckModus = false;
    int32_t Seite = 0;
};

// Rundet auf die nächste Ganzzahl, Hälften zur geraden; ERangeError außerhalb von 32 Bit.
int32_t Runden(double wert);

// Zeichnet das Modell in zwei Durchgängen (Symbole, dann Anzeigen).
void ModellZeichnen(const TModell& modell, TAnsicht& ansicht);

// Rechte untere Ecke der Zeichnung in Gerätepunkten, mit Rand für Symbole
// und Beschriftungen; Grundlage für Bildgröße und Rollbereich.
TBildpunkt Zeichnungsgroesse(const TModell& modell, TAnsicht& ansicht);

} // namespace tessomir
