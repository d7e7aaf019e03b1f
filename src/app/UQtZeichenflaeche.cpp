#include "app/UQtZeichenflaeche.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <algorithm>

#include "app/UQtSchrift.h"
#include "app/UQtText.h"

namespace tessomir {
namespace {

QPolygon QtPunkte(const std::vector<TBildpunkt>& punkte) {
    QPolygon p(static_cast<int>(punkte.size()));
    for (size_t i = 0; i < punkte.size(); ++i) p.setPoint(static_cast<int>(i), punkte[i].X, punkte[i].Y);
    return p;
}

// Wie GDI: vertauschte Ecken werden geordnet. Breite und Höhe in 64 Bit,
// weil Gerätepunkte den ganzen 32-Bit-Bereich nutzen dürfen.
struct TGeordnet {
    int64_t L, O, B, H;
};

TGeordnet Ordnen(const TRechteck& r) {
    const int64_t l = std::min(r.Links, r.Rechts), rr = std::max(r.Links, r.Rechts);
    const int64_t o = std::min(r.Oben, r.Unten), u = std::max(r.Oben, r.Unten);
    return {l, o, rr - l, u - o};
}

// Qt rechnet mit int; was darüber hinausgeht, liegt ohnehin weit außerhalb jedes Geräts.
constexpr int64_t QtGrenze = 1 << 29;

bool PasstInQt(const TGeordnet& g) {
    return g.L > -QtGrenze && g.O > -QtGrenze && g.L + g.B < QtGrenze && g.O + g.H < QtGrenze;
}

} // namespace

TQtZeichenflaeche::TQtZeichenflaeche(QPainter& maler)
    : Maler(maler),
      RasterOps(maler.paintEngine() != nullptr && maler.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
    MalerGeaendert();
    // Breite 0 ist in Qt der kosmetische Ein-Pixel-Stift; mit flachem Ende
    // bleibt der Endpunkt einer Linie frei wie bei GDI.
    Stift = QPen(StiftQt, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    Stift.setCosmetic(true);
    SchriftSetzen(SchriftWert);
}

void TQtZeichenflaeche::MalerGeaendert() {
    Maler.setRenderHint(QPainter::Antialiasing, false);
    Maler.setBackgroundMode(Qt::TransparentMode);
    MalerStift = TMalerStift::Unbekannt;
    MalerFuellt.reset();
    MalerModus.reset();
    SchriftAmMaler = false;
}

void TQtZeichenflaeche::StiftfarbeSetzen(TFarbe f) {
    if (f == StiftFarbe) return;
    StiftFarbe = f;
    StiftQt = QtFarbe(f);
    Stift.setColor(StiftQt);
    if (MalerStift == TMalerStift::Stift) MalerStift = TMalerStift::Unbekannt;
}

void TQtZeichenflaeche::StiftmodusSetzen(TStiftModus m) { Modus = m; }

void TQtZeichenflaeche::PinselfarbeSetzen(TFarbe f) {
    if (f == PinselFarbe) return;
    PinselFarbe = f;
    PinselQt = QtFarbe(f);
    if (MalerFuellt == true) MalerFuellt.reset();
}

void TQtZeichenflaeche::SchriftSetzen(const TSchrift& s) {
    const bool gleicheForm = Metrik && s.Name == SchriftWert.Name && s.Zeichensatz == SchriftWert.Zeichensatz &&
                             s.Hoehe == SchriftWert.Hoehe && s.Teilung == SchriftWert.Teilung &&
                             s.Stil == SchriftWert.Stil;
    SchriftWert = s;
    TextfarbeQt = QtSchriftfarbe(s);
    if (MalerStift == TMalerStift::Text) MalerStift = TMalerStift::Unbekannt;
    if (gleicheForm) return;
    SchriftQt = QtSchrift(s);
    Metrik.emplace(SchriftQt, Maler.device());
    SchriftAmMaler = false;
}

void TQtZeichenflaeche::StiftAnwenden() {
    if (MalerStift == TMalerStift::Stift) return;
    Maler.setPen(Stift);
    MalerStift = TMalerStift::Stift;
}

void TQtZeichenflaeche::OhneStift() {
    if (MalerStift == TMalerStift::Keiner) return;
    Maler.setPen(Qt::NoPen);
    MalerStift = TMalerStift::Keiner;
}

void TQtZeichenflaeche::PinselAnwenden(bool fuellen) {
    if (MalerFuellt == fuellen) return;
    if (fuellen)
        Maler.setBrush(PinselQt);
    else
        Maler.setBrush(Qt::NoBrush);
    MalerFuellt = fuellen;
}

void TQtZeichenflaeche::ModusAnwenden(TStiftModus m) {
    if (MalerModus == m) return;
    Maler.setCompositionMode(m == TStiftModus::NichtXor && RasterOps ? QPainter::RasterOp_NotSourceXorDestination
                                                                     : QPainter::CompositionMode_SourceOver);
    MalerModus = m;
}

void TQtZeichenflaeche::SchriftAnwenden() {
    if (!SchriftAmMaler) {
        Maler.setFont(SchriftQt);
        SchriftAmMaler = true;
    }
    if (MalerStift != TMalerStift::Text) {
        Maler.setPen(TextfarbeQt);
        MalerStift = TMalerStift::Text;
    }
}

void TQtZeichenflaeche::StreifenFuellen(int x, int y, int w, int h, const QColor& farbe) {
    if (w > 0 && h > 0) Maler.fillRect(x, y, w, h, farbe);
}

TTextgroesse TQtZeichenflaeche::TextAusmass(std::string_view text) {
    return {Metrik->horizontalAdvance(QtAusAnsi(text)), Metrik->height()};
}

void TQtZeichenflaeche::TextAusgeben(int32_t x, int32_t y, std::string_view text) {
    if (text.empty()) return;
    const QString t = QtAusAnsi(text);
    // Text folgt wie bei GDI nicht dem Stiftmodus.
    ModusAnwenden(TStiftModus::Normal);
    const TGeordnet g{x, y, Metrik->horizontalAdvance(t), Metrik->height()};
    if (!PasstInQt(g)) return;
    StreifenFuellen(x, y, static_cast<int>(g.B), static_cast<int>(g.H), PinselQt);
    SchriftAnwenden();
    Maler.drawText(QPoint(x, y + Metrik->ascent()), t);
}

void TQtZeichenflaeche::Polylinie(const std::vector<TBildpunkt>& punkte) {
    if (punkte.size() < 2) return;
    ModusAnwenden(Modus);
    StiftAnwenden();
    PinselAnwenden(false);
    Maler.drawPolyline(QtPunkte(punkte));
}

void TQtZeichenflaeche::Polygon(const std::vector<TBildpunkt>& punkte) {
    if (punkte.size() < 2) return;
    ModusAnwenden(Modus);
    StiftAnwenden();
    PinselAnwenden(true);
    Maler.drawPolygon(QtPunkte(punkte));
}

void TQtZeichenflaeche::Ellipse(const TRechteck& r) {
    const TGeordnet g = Ordnen(r);
    if (g.B <= 0 || g.H <= 0 || !PasstInQt(g)) return;
    ModusAnwenden(Modus);
    StiftAnwenden();
    PinselAnwenden(true);
    // Der Umriss eines Qt-Rechtecks reicht ein Pixel über Breite und Höhe hinaus.
    Maler.drawEllipse(QRect(static_cast<int>(g.L), static_cast<int>(g.O), static_cast<int>(g.B - 1),
                            static_cast<int>(g.H - 1)));
}

void TQtZeichenflaeche::Rechteck(const TRechteck& r) {
    const TGeordnet g = Ordnen(r);
    if (g.B <= 0 || g.H <= 0 || !PasstInQt(g)) return;
    ModusAnwenden(Modus);
    // Rand und Inneres als getrennte Streifen, damit jedes Pixel genau einmal
    // gesetzt wird (sonst hebt sich Nicht-Xor an den Kanten selbst auf).
    const int l = static_cast<int>(g.L), o = static_cast<int>(g.O);
    const int b = static_cast<int>(g.B), h = static_cast<int>(g.H);
    StreifenFuellen(l, o, b, 1, StiftQt);
    if (h >= 2) StreifenFuellen(l, o + h - 1, b, 1, StiftQt);
    StreifenFuellen(l, o + 1, 1, h - 2, StiftQt);
    if (b >= 2) StreifenFuellen(l + b - 1, o + 1, 1, h - 2, StiftQt);
    StreifenFuellen(l + 1, o + 1, b - 2, h - 2, PinselQt);
}

void TQtZeichenflaeche::RechteckFuellen(const TRechteck& r) {
    const TGeordnet g = Ordnen(r);
    if (g.B <= 0 || g.H <= 0 || !PasstInQt(g)) return;
    // Füllen ist eine Pinseloperation ohne Stiftmodus.
    ModusAnwenden(TStiftModus::Normal);
    StreifenFuellen(static_cast<int>(g.L), static_cast<int>(g.O), static_cast<int>(g.B), static_cast<int>(g.H),
                    PinselQt);
}

void TQtZeichenflaeche::BewegeZu(int32_t x, int32_t y) { Position = {x, y}; }

void TQtZeichenflaeche::LinieZu(int32_t x, int32_t y) {
    ModusAnwenden(Modus);
    StiftAnwenden();
    Maler.drawLine(QPoint(Position.X, Position.Y), QPoint(x, y));
    Position = {x, y};
}

void TQtZeichenflaeche::ClipSetzen(const TRechteck& r) {
    const TGeordnet g = Ordnen(r);
    const auto k = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -QtGrenze, QtGrenze)); };
    Maler.setClipRect(QRect(QPoint(k(g.L), k(g.O)), QPoint(k(g.L + g.B) - 1, k(g.O + g.H) - 1)));
}

void TQtZeichenflaeche::ClipAufheben() { Maler.setClipping(false); }

TFarbe TQtZeichenflaeche::Fensterhintergrund() const {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return Weiss;
    return FarbeAusQt(QGuiApplication::palette().color(QPalette::Base));
}

} // namespace tessomir
