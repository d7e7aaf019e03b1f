#pragma once
// Die Ansicht: Abbildung zwischen Modell- und Gerätekoordinaten mit Zoom,
// Schriftfaktor für den Druck, Zustand eines Ziehvorgangs und Druckseiten.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "model/UModell.h"
#include "view/UZeichenflaeche.h"

namespace tessomir {

class TKnoten;
class TVergleichsanzeige;

// Die Sankey-Ansicht: jeder Weg ein Band so breit wie sein Strom. Eine
// Einstellung des Benutzers, nicht des Modells.
struct TSankey {
    // Breite des grössten Stroms in Punkten bei Zoom 1.
    double Breite = 40.0;
    // Fester Massstab, 1 Punkt = so viele Mengeneinheiten; 0: aus Breite.
    double MengeJePunkt = 0.0;
    // Der Massstab des letzten Zeichnens (0: kein Strom); Treffer und
    // Legende nehmen ihn, damit sie zum Bild passen.
    mutable double Geltend = 0.0;
    mutable double GroessterStrom = 0.0;
};

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
    // Der Text eines Stroms wie TModell::WertText. Gemerkt je Wert und
    // Schreibweise: dieselben Werte kehren bei jedem Neuzeichnen wieder.
    const std::string& Werttext(const TModell& modell, double wert);
    // Grund hinter Zahlen und Namen: weiß auf Papier, sonst Fensterhintergrund.
    TFarbe Texthintergrund() const;

    // Sichtbarer Bereich in Gerätepunkten: Objekte, deren Zeichnung ganz
    // außerhalb liegt, werden übersprungen. Ohne Bereich (Druck, Export)
    // wird alles gezeichnet. Die Zeilenhöhe der Schrift wird dabei auf der
    // aktuellen Zeichenfläche gemessen; Beschriftungen in anderer Schrift
    // werden nicht vorab verworfen.
    void SichtbereichSetzen(const TRechteck& bereich, const TSchrift& schrift);
    void SichtbereichAufheben() { Sicht.reset(); }
    bool HatSichtbereich() const { return Sicht.has_value(); }
    const TRechteck* Sichtbereich() const { return Sicht ? &Sicht->Bereich : nullptr; }
    // Ob das Rechteck (alle Ränder eingeschlossen) sichtbare Pixel berühren kann.
    bool BereichSichtbar(int64_t links, int64_t oben, int64_t rechts, int64_t unten) const;
    // Ob eine Linie von a nach b sichtbare Pixel berühren kann.
    bool StreckeSichtbar(TBildpunkt a, TBildpunkt b) const;
    // Zeilenhöhe von 'schrift', wenn ein Sichtbereich gilt und sie in dieser
    // Schrift gemessen wurde; sonst keine Vorprüfung der Beschriftungen.
    std::optional<int32_t> Sichtzeilenhoehe(const TSchrift& schrift) const;
    // Ob Textzeilen in 'schrift' mit Oberkanten zwischen 'oben' und 'unten'
    // sichtbar sein können, bevor ihre Breiten bekannt sind.
    bool ZeilenSichtbar(int64_t oben, int64_t unten, const TSchrift& schrift) const;
    // Ob ein gemessener Text mit linker oberer Ecke (x, y) sichtbar sein kann.
    bool TextSichtbar(int64_t x, int64_t y, const TTextgroesse& groesse) const;

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
    // Gesetzt: Wege als Bänder (USankey).
    std::optional<TSankey> Sankey;
    // Gesetzt: statt der Ströme ihre Differenz zu einer Variante (UVergleichsanzeige).
    const TVergleichsanzeige* Vergleich = nullptr;

private:
    struct TSicht {
        TRechteck Bereich;
        TSchrift Schrift;
        int32_t Zeilenhoehe = 0;
    };
    std::optional<TSicht> Sicht;
    std::unordered_map<uint64_t, std::string> Werttexte;
    int WerttextStellen = 0;
    char WerttextTrenner = 0;
};

// Rundet auf die nächste Ganzzahl, Hälften zur geraden; ERangeError außerhalb von 32 Bit.
int32_t Runden(double wert);

// Ob der Name des Knotens im Diagramm steht (je Knotenart eine Einstellung).
bool KnotenBeschriftet(const TKnoten& knoten);

// Zeichnet das Modell in zwei Durchgängen (Symbole, dann Anzeigen).
void ModellZeichnen(const TModell& modell, TAnsicht& ansicht);

// Rechte untere Ecke der Zeichnung in Gerätepunkten, mit Rand für Symbole
// und Beschriftungen; Grundlage für Bildgröße und Rollbereich.
TBildpunkt Zeichnungsgroesse(const TModell& modell, TAnsicht& ansicht);

} // namespace tessomir
