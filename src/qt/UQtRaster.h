#pragma once
// Was die Qt-Zeichenfläche und ihr Rasterteil (UQtRaster.cpp) teilen.
#include <cstdint>

#include "view/UZeichenflaeche.h"

namespace tessomir {

// Nur kleine Figuren werden gerastert gemerkt.
inline constexpr int GroessteFigur = 256;

// Deckendes ARGB einer Farbe, wie es im Rasterbild steht.
inline uint32_t Farbwert(TFarbe f) { return 0xFF000000u | (uint32_t{f.R} << 16) | (uint32_t{f.G} << 8) | f.B; }

} // namespace tessomir
