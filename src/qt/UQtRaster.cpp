// Der Rasterteil der Qt-Zeichenfläche: unmittelbarer Zugriff auf die Pixel
// eines Rasterbilds, deckendes Füllen und kleine Figuren, die einmal gemalt
// und danach als gerasterte Spannen kopiert werden.
#include "qt/UQtRaster.h"

#include <algorithm>
#include <cstring>

#include "qt/UQtZeichenflaeche.h"

namespace tessomir {
namespace {

// So weit muss eine Figur vom Beschnitt entfernt bleiben: Qt kürzt Linien
// knapp außerhalb des Beschnitts, das darf keine von ihr berühren.
constexpr int FigurAbstand = 2;

} // namespace

const TQtZeichenflaeche::TPixelziel* TQtZeichenflaeche::Pixelziel() {
    if (ZielGeprueft) return Ziel ? &*Ziel : nullptr;
    ZielGeprueft = true;
    Ziel.reset();
    if (!UnmittelbarErlaubt || Rasterbild == nullptr) return nullptr;
    // Rasterbild ist das Gerät des Malers; es darf nur nicht geteilt sein,
    // sonst schriebe bits() in eine Kopie, an der der Maler nicht malt.
    QImage* bild = static_cast<QImage*>(Maler.device());
    const QTransform m = Maler.deviceTransform();
    constexpr double Nah = 1 << 28;
    if (!bild->isDetached() || m.type() > QTransform::TxTranslate || m.dx() != std::trunc(m.dx()) ||
        m.dy() != std::trunc(m.dy()) || std::abs(m.dx()) > Nah || std::abs(m.dy()) > Nah) {
        return nullptr;
    }
    const int dx = static_cast<int>(m.dx()), dy = static_cast<int>(m.dy());
    QRect beschnitt = bild->rect();
    if (Maler.hasClipping()) {
        const QRegion bereich = Maler.clipRegion();
        if (bereich.rectCount() != 1) return nullptr;
        beschnitt &= bereich.boundingRect().translated(dx, dy);
    }
    Ziel = TPixelziel{bild->bits(), bild->bytesPerLine(), dx, dy, beschnitt};
    return &*Ziel;
}

bool TQtZeichenflaeche::DeckendOhneMaler() {
    // Deckende Farben über SourceOver setzen genau ihren Wert, alles andere mischt Qt.
    return Maler.compositionMode() == QPainter::CompositionMode_SourceOver && Pixelziel() != nullptr;
}

void TQtZeichenflaeche::PixelFuellen(const TPixelziel& ziel, const QRect& geraet, uint32_t farbe) {
    const QRect r = geraet & ziel.Beschnitt;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        uint32_t* zeile = reinterpret_cast<uint32_t*>(ziel.Bits + y * ziel.Zeilenbytes);
        std::fill(zeile + r.left(), zeile + r.left() + r.width(), farbe);
    }
}

void TQtZeichenflaeche::SchluesselBeginnen(char art) {
    Schluessel.clear();
    Schluessel.push_back(art);
    SchluesselAnhaengen(static_cast<int32_t>(Rasterbild->format()));
    SchluesselAnhaengen(Maler.renderHints().toInt());
    // Stift und Pinsel sind hier schon am Maler: immer Farben aus der Tafel.
    SchluesselAnhaengen(static_cast<int32_t>(Farbwert(Farben[static_cast<size_t>(MalerStift)].Farbe)));
    SchluesselAnhaengen(MalerPinsel == Keiner ? 0
                                              : static_cast<int32_t>(Farbwert(Farben[static_cast<size_t>(MalerPinsel)].Farbe)));
}

void TQtZeichenflaeche::SchluesselAnhaengen(int32_t wert) {
    char bytes[sizeof wert];
    std::memcpy(bytes, &wert, sizeof wert);
    Schluessel.append(bytes, sizeof wert);
}

// Gerastert gemerkte Figuren: BM_NeuzeichnenBalken 17,0 statt 30,2 ms, wenn
// Qt jede Figur malt (Median aus drei gepaarten Läufen).
bool TQtZeichenflaeche::FigurAusSpannen(TBildpunkt bezug, int links, int oben, int rechts, int unten,
                                         const std::function<void(QPainter&)>& malen) {
    TQtTextSpeicher::TFigurbild& figur = Speicher->Figur(Schluessel);
    if (!figur.Gerastert) {
        // Beim ersten Mal malt Qt; erst eine wiederkehrende Figur lohnt das Rastern.
        if (!figur.Gesehen) {
            figur.Gesehen = true;
            return false;
        }
        FigurRastern(figur, links, oben, rechts, unten, malen);
        Speicher->FigurGerastert(figur.Spannen.size());
    }
    if (!figur.Brauchbar) return false;
    const TPixelziel& ziel = *Pixelziel();
    const int64_t gx = int64_t{bezug.X} + ziel.Dx, gy = int64_t{bezug.Y} + ziel.Dy;
    const QRect& b = ziel.Beschnitt;
    if (gx + figur.Links - FigurAbstand < b.left() || gx + figur.Rechts + FigurAbstand > int64_t{b.right()} + 1 ||
        gy + figur.Oben - FigurAbstand < b.top() || gy + figur.Unten + FigurAbstand > int64_t{b.bottom()} + 1) {
        return false;
    }
    for (const TQtTextSpeicher::TSpanne& s : figur.Spannen) {
        uint32_t* zeile = reinterpret_cast<uint32_t*>(ziel.Bits + (gy + s.Dy) * ziel.Zeilenbytes) + gx + s.Dx;
        std::fill(zeile, zeile + s.Laenge, s.Farbe);
    }
    return true;
}

void TQtZeichenflaeche::FigurRastern(TQtTextSpeicher::TFigurbild& figur, int links, int oben, int rechts, int unten,
                                     const std::function<void(QPainter&)>& malen) {
    figur.Gerastert = true;
    // Zweimal gemalt, auf Schwarz und auf Weiß: gleich in beiden heißt von der
    // Figur gesetzt, der jeweilige Grund heißt unberührt, alles andere gemischt.
    constexpr int Rand = 3;
    const int w = rechts - links + 1 + 2 * Rand, h = unten - oben + 1 + 2 * Rand;
    const QImage::Format format = Rasterbild->format();
    const QRgb gruende[2] = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    QImage proben[2];
    for (int i = 0; i < 2; ++i) {
        proben[i] = QImage(w, h, format);
        proben[i].fill(gruende[i]);
        QPainter p(&proben[i]);
        p.setRenderHints(Maler.renderHints());
        p.setBackgroundMode(Qt::TransparentMode);
        p.setPen(Maler.pen());
        p.setBrush(Maler.brush());
        p.translate(Rand - links, Rand - oben);
        malen(p);
    }
    std::vector<TQtTextSpeicher::TSpanne> spannen;
    int l = std::numeric_limits<int>::max(), o = l, r = std::numeric_limits<int>::min(), u = r;
    for (int y = 0; y < h; ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(proben[0].constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(proben[1].constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (a[x] == gruende[0] && b[x] == gruende[1]) continue;
            if (a[x] != b[x] || qAlpha(a[x]) != 255 || x == 0 || y == 0 || x == w - 1 || y == h - 1) return;
            const int dx = x - (Rand - links), dy = y - (Rand - oben);
            if (!spannen.empty() && spannen.back().Dy == dy && spannen.back().Dx + spannen.back().Laenge == dx &&
                spannen.back().Farbe == a[x]) {
                ++spannen.back().Laenge;
            } else {
                spannen.push_back({static_cast<int16_t>(dy), static_cast<int16_t>(dx), 1, a[x]});
            }
            l = std::min(l, dx);
            o = std::min(o, dy);
            r = std::max(r, dx + 1);
            u = std::max(u, dy + 1);
        }
    }
    if (spannen.empty()) return;
    figur.Links = l;
    figur.Oben = o;
    figur.Rechts = r;
    figur.Unten = u;
    figur.Spannen = std::move(spannen);
    figur.Brauchbar = true;
}

bool TQtZeichenflaeche::KleinesVieleckAusSpannen(const std::vector<TBildpunkt>& punkte) {
    if (punkte.size() > 16 || !DeckendOhneMaler()) return false;
    // Ganze Verschiebungen ändern nicht, welche Pixel Qt setzt: die Figur
    // gilt relativ zu ihrem ersten Punkt.
    const TBildpunkt bezug = punkte.front();
    SchluesselBeginnen('V');
    Relativ.clear();
    int64_t links = 0, oben = 0, rechts = 0, unten = 0;
    for (const TBildpunkt& p : punkte) {
        const int64_t dx = int64_t{p.X} - bezug.X, dy = int64_t{p.Y} - bezug.Y;
        links = std::min(links, dx);
        oben = std::min(oben, dy);
        rechts = std::max(rechts, dx);
        unten = std::max(unten, dy);
        if (rechts - links >= GroessteFigur || unten - oben >= GroessteFigur) return false;
        Relativ.emplace_back(static_cast<int>(dx), static_cast<int>(dy));
        SchluesselAnhaengen(static_cast<int32_t>(dx));
        SchluesselAnhaengen(static_cast<int32_t>(dy));
    }
    return FigurAusSpannen(bezug, static_cast<int>(links), static_cast<int>(oben), static_cast<int>(rechts),
                           static_cast<int>(unten), [this](QPainter& p) {
                               p.drawPolygon(Relativ.data(), static_cast<int>(Relativ.size()));
                           });
}

} // namespace tessomir
