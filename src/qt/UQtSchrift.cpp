#include "qt/UQtSchrift.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "qt/UQtText.h"

namespace tessomir {
namespace {

// Höhe 0 heißt "Vorgabegröße"; so groß wie die Vorgabeschrift eines neuen Modells.
constexpr int VorgabePixel = 13;
// Unsinnige Höhen aus der Datei sollen Qt nicht mit Riesenschriften beschäftigen.
constexpr int64_t GroesstePixel = 4096;

int Begrenzt(int64_t pixel) { return static_cast<int>(std::clamp<int64_t>(pixel, 1, GroesstePixel)); }

} // namespace

QColor QtFarbe(TFarbe f) { return QColor(f.R, f.G, f.B); }

TFarbe FarbeAusQt(const QColor& c) {
    return TFarbe{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue())};
}

QFont QtSchrift(const TSchrift& schrift) {
    QFont f(QtAusAnsi(schrift.Name));
    if (schrift.Teilung == 2) {
        f.setStyleHint(QFont::Monospace);
        f.setFixedPitch(true);
    }
    f.setBold((schrift.Stil & 1) != 0);
    f.setItalic((schrift.Stil & 2) != 0);
    f.setUnderline((schrift.Stil & 4) != 0);
    f.setStrikeOut((schrift.Stil & 8) != 0);
    if (schrift.Hoehe < 0) {
        f.setPixelSize(Begrenzt(-static_cast<int64_t>(schrift.Hoehe)));
    } else if (schrift.Hoehe == 0) {
        f.setPixelSize(VorgabePixel);
    } else {
        // Zellenhöhe: erst mit der Höhe als Pixelgröße messen, dann so
        // verkleinern, dass Ober- plus Unterlänge die Zellenhöhe ergeben.
        const int hoehe = Begrenzt(schrift.Hoehe);
        f.setPixelSize(hoehe);
        const int zelle = QFontMetrics(f).height();
        if (zelle > 0) f.setPixelSize(Begrenzt(std::llround(static_cast<double>(hoehe) * hoehe / zelle)));
    }
    return f;
}

TSchrift SchriftAusQt(const QFont& font, const TSchrift& vorlage) {
    TSchrift s = vorlage;
    s.Name = AnsiAusQt(font.family());
    // Punktgrössen (die Schriftwahl liefert sie) rechnet QFontInfo in Pixel um.
    const int pixel = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    s.Hoehe = -Begrenzt(pixel);
    s.Stil = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0);
    // Die gewählte Schrift selbst, nicht der Wunsch: eine Festbreitenschrift gilt als fest.
    if (QFontInfo(font).fixedPitch()) {
        s.Teilung = 2;
    } else if (s.Teilung == 2) {
        s.Teilung = 0;
    }
    return s;
}

QColor QtSchriftfarbe(const TSchrift& schrift) { return QtFarbe(FarbeAusFarbwert(schrift.Farbe)); }

} // namespace tessomir
