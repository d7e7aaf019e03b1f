#include "view/UZeichenflaeche.h"

namespace tessomir {
namespace {

// Systemfarben nach Index (0x80000000 + Index), in üblicher heller Darstellung.
constexpr TFarbe Systemfarben[] = {
    {200, 200, 200}, // 0 Rollbalken
    {0, 128, 128},   // 1 Hintergrund
    {0, 84, 227},    // 2 aktive Titelleiste
    {122, 150, 223}, // 3 inaktive Titelleiste
    {240, 240, 240}, // 4 Menü
    {255, 255, 255}, // 5 Fenster
    {100, 100, 100}, // 6 Fensterrahmen
    {0, 0, 0},       // 7 Menütext
    {0, 0, 0},       // 8 Fenstertext
    {255, 255, 255}, // 9 Titeltext
    {180, 180, 180}, // 10 aktiver Rand
    {244, 247, 252}, // 11 inaktiver Rand
    {171, 171, 171}, // 12 Arbeitsbereich
    {51, 153, 255},  // 13 Markierung
    {255, 255, 255}, // 14 markierter Text
    {240, 240, 240}, // 15 Schaltfläche
    {160, 160, 160}, // 16 Schaltflächenschatten
    {109, 109, 109}, // 17 grauer Text
    {0, 0, 0},       // 18 Schaltflächentext
};

} // namespace

int32_t FarbwertAusFarbe(TFarbe f) {
    return static_cast<int32_t>(f.R) | (static_cast<int32_t>(f.G) << 8) | (static_cast<int32_t>(f.B) << 16);
}

TFarbe FarbeAusFarbwert(int32_t wert) {
    if (wert < 0) {
        const uint32_t index = static_cast<uint32_t>(wert) & 0xFFu;
        if (index < sizeof Systemfarben / sizeof Systemfarben[0]) return Systemfarben[index];
        return Schwarz;
    }
    return TFarbe{static_cast<uint8_t>(wert & 0xFF), static_cast<uint8_t>((wert >> 8) & 0xFF),
                  static_cast<uint8_t>((wert >> 16) & 0xFF)};
}

} // namespace tessomir
