#pragma once
// Abstrakte Zeichenfläche: alles, was Ansicht, Wege und Knoten zum Zeichnen
// brauchen. Koordinaten sind ganzzahlige Gerätepunkte (x nach rechts, y nach
// unten). Rechtecke und Ellipsen folgen der üblichen Rasterregel: rechter und
// unterer Rand gehören nicht mehr dazu.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/UModell.h"

namespace tessomir {

struct TFarbe {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    bool operator==(const TFarbe&) const = default;
};

constexpr TFarbe Schwarz{0, 0, 0};
constexpr TFarbe Weiss{255, 255, 255};
constexpr TFarbe Rot{255, 0, 0};
constexpr TFarbe Grau{128, 128, 128};
constexpr TFarbe Gelb{255, 255, 0};

// Farbwert, wie er in der Schrift der Datei steht: positiv 0x00BBGGRR,
// negativ eine Systemfarbe (0x80000000 + Index).
int32_t FarbwertAusFarbe(TFarbe f);
TFarbe FarbeAusFarbwert(int32_t wert);

struct TBildpunkt {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TBildpunkt&) const = default;
};

struct TRechteck {
    int32_t Links = 0;
    int32_t Oben = 0;
    int32_t Rechts = 0;
    int32_t Unten = 0;
    bool operator==(const TRechteck&) const = default;
};

struct TTextgroesse {
    int32_t Breite = 0;
    int32_t Hoehe = 0;
    bool operator==(const TTextgroesse&) const = default;
};

enum class TStiftModus { Normal, NichtXor };

class IZeichenflaeche {
public:
    virtual ~IZeichenflaeche() = default;

    virtual void StiftfarbeSetzen(TFarbe f) = 0;
    virtual TFarbe Stiftfarbe() const = 0;
    virtual void StiftmodusSetzen(TStiftModus m) = 0;
    virtual TStiftModus Stiftmodus() const = 0;
    virtual void PinselfarbeSetzen(TFarbe f) = 0;
    virtual TFarbe Pinselfarbe() const = 0;
    // Schrift mit Name, Zeichensatz, Farbe, Höhe, Teilung und Stil.
    virtual void SchriftSetzen(const TSchrift& s) = 0;
    virtual TSchrift Schrift() const = 0;

    virtual TTextgroesse TextAusmass(std::string_view text) = 0;
    // Text mit linker oberer Ecke (x, y) auf deckendem Grund in Pinselfarbe.
    virtual void TextAusgeben(int32_t x, int32_t y, std::string_view text) = 0;
    // Linienzug im Stift; der letzte Punkt wird nicht mehr gesetzt.
    virtual void Polylinie(const std::vector<TBildpunkt>& punkte) = 0;
    // Geschlossene Fläche: Umriss im Stift, Inneres im Pinsel.
    virtual void Polygon(const std::vector<TBildpunkt>& punkte) = 0;
    virtual void Ellipse(const TRechteck& r) = 0;
    // Umriss im Stift, Inneres im Pinsel.
    virtual void Rechteck(const TRechteck& r) = 0;
    // Nur Pinsel, ohne Umriss.
    virtual void RechteckFuellen(const TRechteck& r) = 0;
    virtual void BewegeZu(int32_t x, int32_t y) = 0;
    virtual void LinieZu(int32_t x, int32_t y) = 0;
    virtual void ClipSetzen(const TRechteck& r) = 0;
    virtual void ClipAufheben() = 0;
    // Hintergrundfarbe von Fenstern (Grund der Zeichenfläche und der Beschriftungen).
    virtual TFarbe Fensterhintergrund() const = 0;
};

} // namespace tessomir
