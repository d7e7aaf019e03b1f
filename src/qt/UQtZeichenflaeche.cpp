#include "qt/UQtZeichenflaeche.h"

#include <QColorSpace>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <QRegion>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "qt/UQtRaster.h"
#include "qt/UQtSchrift.h"
#include "qt/UQtText.h"

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

// Rechtecke werden auf den Qt-Bereich gekürzt; die Ränder liegen dann
// außerhalb jedes Geräts, der sichtbare Teil bleibt gleich.
TGeordnet Gekuerzt(const TGeordnet& g) {
    const auto k = [](int64_t v) { return std::clamp<int64_t>(v, -QtGrenze, QtGrenze); };
    const int64_t l = k(g.L), o = k(g.O);
    return {l, o, k(g.L + g.B) - l, k(g.O + g.H) - o};
}

// Je Kanal weit weg von der Schriftfarbe: jede noch so schwache Deckung einer
// Glyphe verändert so den Grund, ob Qt linear oder gammakorrigiert mischt.
QRgb Gegenfarbe(QRgb c) {
    const auto k = [](int v) { return v < 128 ? 255 : 0; };
    return qRgb(k(qRed(c)), k(qGreen(c)), k(qBlue(c)));
}

// Größere Texte lohnen kein Bild und kosten zu viel Speicher.
constexpr int GroessteBildbreite = 2048;
constexpr int GroessteBildhoehe = 256;
// Verwaltung eines Textbilds zusätzlich zu seinen Pixeln, grob.
constexpr size_t BildVerwaltung = 256;
// Wer mit sehr vielen Farben denselben Text malt, beginnt dessen Bilder neu.
constexpr size_t GroessteBilderJeText = 8;

} // namespace

TQtZeichenflaeche::TQtZeichenflaeche(QPainter& maler, TQtTextSpeicher* speicher)
    : Maler(maler),
      RasterOps(maler.paintEngine() != nullptr && maler.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)),
      EigenerSpeicher(speicher == nullptr ? std::make_unique<TQtTextSpeicher>() : nullptr),
      Speicher(speicher == nullptr ? EigenerSpeicher.get() : speicher) {
    MalerGeaendert();
    StiftIndex = FarbIndex(StiftFarbe);
    PinselIndex = FarbIndex(PinselFarbe);
    SchriftSetzen(SchriftWert);
}

void TQtZeichenflaeche::MalerGeaendert() {
    Maler.setRenderHint(QPainter::Antialiasing, false);
    Maler.setBackgroundMode(Qt::TransparentMode);
    // Textbilder nur auf Bildern, deren Pixel Qt selbst mischt, ohne
    // Farbraum, Deckkraft und Pixelverhältnis, die das Kopieren verändern könnten.
    Rasterbild = nullptr;
    const QPaintDevice* geraet = Maler.device();
    const long verhaeltnis = geraet != nullptr ? std::lround(geraet->devicePixelRatio()) : 1;
    const int breite = verhaeltnis > 1 ? static_cast<int>(verhaeltnis) : 0;
    if (breite != Strichbreite) {
        Strichbreite = breite;
        for (TQtFarbe& f : Farben) f.Stift.setWidth(breite);
    }
    if (geraet != nullptr && geraet->devType() == QInternal::Image && Maler.paintEngine() != nullptr &&
        Maler.paintEngine()->type() == QPaintEngine::Raster && Maler.opacity() == 1.0) {
        const QImage* bild = static_cast<const QImage*>(geraet);
        const QImage::Format f = bild->format();
        if ((f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied) &&
            bild->devicePixelRatio() == 1.0 && !bild->colorSpace().isValid()) {
            Rasterbild = bild;
            BildFormat = static_cast<int>(f);
            BildHinweise = Maler.renderHints().toInt();
            BildPunkteX = bild->dotsPerMeterX();
            BildPunkteY = bild->dotsPerMeterY();
        }
    }
    MalerStift = Unbekannt;
    MalerPinsel = Unbekannt;
    MalerModus.reset();
    SchriftAmMaler = false;
    ZielGeprueft = false;
}

int TQtZeichenflaeche::FarbIndex(TFarbe f) {
    for (size_t i = 0; i < Farben.size(); ++i)
        if (Farben[i].Farbe == f) return static_cast<int>(i);
    // Die Zeichnung kennt nur eine Handvoll Farben; wer sehr viele setzt,
    // beginnt die Tafel mit den gerade gültigen neu.
    constexpr size_t Groesste = 64;
    if (Farben.size() >= Groesste) {
        const TFarbe behalten[] = {StiftFarbe, PinselFarbe, FarbeAusFarbwert(SchriftWert.Farbe)};
        Farben.clear();
        for (const TFarbe b : behalten) (void)FarbIndex(b);
        StiftIndex = FarbIndex(StiftFarbe);
        PinselIndex = FarbIndex(PinselFarbe);
        TextIndex = FarbIndex(behalten[2]);
        MalerStift = Unbekannt;
        MalerPinsel = Unbekannt;
        return FarbIndex(f);
    }
    const QColor c = QtFarbe(f);
    // Breite 0 ist in Qt der kosmetische Ein-Pixel-Stift; mit flachem Ende
    // bleibt der Endpunkt einer Linie frei wie bei GDI.
    QPen stift(c, Strichbreite, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    stift.setCosmetic(true);
    Farben.push_back({f, stift, QBrush(c)});
    return static_cast<int>(Farben.size() - 1);
}

void TQtZeichenflaeche::StiftfarbeSetzen(TFarbe f) {
    if (f == StiftFarbe) return;
    StiftFarbe = f;
    StiftIndex = FarbIndex(f);
}

void TQtZeichenflaeche::StiftmodusSetzen(TStiftModus m) { Modus = m; }

void TQtZeichenflaeche::PinselfarbeSetzen(TFarbe f) {
    if (f == PinselFarbe) return;
    PinselFarbe = f;
    PinselIndex = FarbIndex(f);
}

void TQtZeichenflaeche::SchriftSetzen(const TSchrift& s) {
    const bool gleicheForm = Metrik && s.Name == SchriftWert.Name && s.Zeichensatz == SchriftWert.Zeichensatz &&
                             s.Hoehe == SchriftWert.Hoehe && s.Teilung == SchriftWert.Teilung &&
                             s.Stil == SchriftWert.Stil;
    SchriftWert = s;
    // Die Textfarbe wie in QtSchriftfarbe, ohne den Umweg über QColor.
    TextIndex = FarbIndex(FarbeAusFarbwert(s.Farbe));
    if (gleicheForm) return;
    SchriftQt = QtSchrift(s);
    if (Schriftskala != 1.0) {
        SchriftQt.setPixelSize(std::max(1, static_cast<int>(std::lround(SchriftQt.pixelSize() * Schriftskala))));
    }
    Metrik.emplace(SchriftQt, Maler.device());
    Zeilenhoehe = Metrik->height();
    // Rand der Probe: eine Zeile, und mehr, wo Glyphen weiter über ihre Breite hinausragen.
    Probenrand = std::max({Zeilenhoehe, 8, -Metrik->minLeftBearing(), -Metrik->minRightBearing()});
    SchriftAmMaler = false;
    Texte = &Speicher->Texte(SchriftQt, *Metrik);
}

void TQtZeichenflaeche::SchriftskalaSetzen(double skala) {
    Schriftskala = skala;
    Metrik.reset(); // die nächste Schrift wird neu gemessen
    SchriftSetzen(SchriftWert);
}

void TQtZeichenflaeche::StiftAnwenden(int index) {
    if (MalerStift == index) return;
    Maler.setPen(Farben[static_cast<size_t>(index)].Stift);
    MalerStift = index;
}

void TQtZeichenflaeche::PinselAnwenden(bool fuellen) {
    const int index = fuellen ? PinselIndex : Keiner;
    if (MalerPinsel == index) return;
    if (fuellen)
        Maler.setBrush(Farben[static_cast<size_t>(index)].Pinsel);
    else
        Maler.setBrush(Qt::NoBrush);
    MalerPinsel = index;
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
    StiftAnwenden(TextIndex);
}

// Deckende Flächen schreibt die Fläche selbst in die Pixel statt über den
// Maler: BM_NeuzeichnenBalken 17,9 statt 21,2 ms (Median aus sechs gepaarten Läufen).
void TQtZeichenflaeche::StreifenFuellen(int x, int y, int w, int h, int farbe) {
    if (w <= 0 || h <= 0) return;
    const QBrush& pinsel = Farben[static_cast<size_t>(farbe)].Pinsel;
    if (DeckendOhneMaler()) {
        const TPixelziel& ziel = *Ziel;
        // Weit außerhalb wird vor dem Verschieben gekürzt, damit nichts überläuft.
        const QRect r = QRect(x, y, w, h) & ziel.Beschnitt.translated(-ziel.Dx, -ziel.Dy);
        if (!r.isEmpty()) PixelFuellen(ziel, r.translated(ziel.Dx, ziel.Dy), qPremultiply(pinsel.color().rgba()));
        return;
    }
    Maler.fillRect(QRect(x, y, w, h), pinsel);
}

TQtTextSpeicher::TText& TQtZeichenflaeche::TextHolen(std::string_view text) {
    if (LetzterText != nullptr && LetzteTexte == Texte && LetzteRunde == Speicher->Runde() &&
        text == LetzterSchluessel) {
        return *LetzterText;
    }
    TQtTextSpeicher::TText& t = Speicher->Text(*Texte, text, SchriftQt, *Metrik);
    LetzterText = &t;
    LetzteTexte = Texte;
    LetzteRunde = Speicher->Runde();
    LetzterSchluessel.assign(text);
    return t;
}

TTextgroesse TQtZeichenflaeche::TextAusmass(std::string_view text) { return {TextHolen(text).Breite, Zeilenhoehe}; }

const TQtTextSpeicher::TTextbild* TQtZeichenflaeche::TextbildHolen(TQtTextSpeicher::TText& t) {
    const uint32_t schrift = Farbwert(Farben[static_cast<size_t>(TextIndex)].Farbe);
    const uint32_t grund = Farbwert(Farben[static_cast<size_t>(PinselIndex)].Farbe);
    for (const TQtTextSpeicher::TTextbild& b : t.Bilder) {
        if (b.Schriftfarbe == schrift && b.Grundfarbe == grund && b.Format == BildFormat &&
            b.Hinweise == BildHinweise && b.PunkteX == BildPunkteX && b.PunkteY == BildPunkteY) {
            return b.Brauchbar ? &b : nullptr;
        }
    }
    if (t.Bilder.size() >= GroessteBilderJeText) {
        for (const TQtTextSpeicher::TTextbild& b : t.Bilder) Speicher->BildAbmelden(b.Bytes() + BildVerwaltung);
        t.Bilder.clear();
    }
    TQtTextSpeicher::TTextbild neu;
    neu.Schriftfarbe = schrift;
    neu.Grundfarbe = grund;
    neu.Format = BildFormat;
    neu.Hinweise = BildHinweise;
    neu.PunkteX = BildPunkteX;
    neu.PunkteY = BildPunkteY;
    TextbildAnlegen(t, neu);
    Speicher->BildAnmelden(neu.Bytes() + BildVerwaltung);
    t.Bilder.push_back(std::move(neu));
    return t.Bilder.back().Brauchbar ? &t.Bilder.back() : nullptr;
}

void TQtZeichenflaeche::TextbildAnlegen(TQtTextSpeicher::TText& t, TQtTextSpeicher::TTextbild& neu) {
    const int w = t.Breite, h = Zeilenhoehe;
    // Der Text wird auf einem Rand um seinen Kasten gemalt, genau wie auf dem
    // Ziel: Grund gefüllt, dann die Glyphen. Bleibt der Rand unberührt, hängt
    // jedes Pixel des Kastens nur von Text, Schrift und Farben ab, nicht vom
    // Ziel; sonst (Überhänge, Unterlängen) wird der Text jedes Mal gemalt.
    const int rand = Probenrand;
    if (w <= 0 || h <= 0 || w > GroessteBildbreite || h > GroessteBildhoehe) return;
    const int pw = w + 2 * rand, ph = h + 2 * rand;
    if (Probe.isNull() || Probe.width() < pw || Probe.height() < ph || Probe.format() != Rasterbild->format() ||
        Probe.dotsPerMeterX() != BildPunkteX || Probe.dotsPerMeterY() != BildPunkteY) {
        ProbeMaler.reset();
        Probe = QImage(std::max(pw, Probe.isNull() ? 0 : Probe.width()) + 64,
                       std::max(ph, Probe.isNull() ? 0 : Probe.height()) + 16, Rasterbild->format());
        Probe.setDotsPerMeterX(BildPunkteX);
        Probe.setDotsPerMeterY(BildPunkteY);
        ProbeMaler = std::make_unique<QPainter>(&Probe);
        ProbeMaler->setBackgroundMode(Qt::TransparentMode);
    }
    QPainter& p = *ProbeMaler;
    p.setRenderHints(p.renderHints(), false);
    p.setRenderHints(Maler.renderHints(), true);
    const QRgb gegen = Gegenfarbe(neu.Schriftfarbe);
    p.fillRect(QRect(0, 0, pw, ph), QColor::fromRgb(gegen));
    p.fillRect(QRect(rand, rand, w, h), Farben[static_cast<size_t>(PinselIndex)].Pinsel);
    p.setFont(SchriftQt);
    p.setPen(Farben[static_cast<size_t>(TextIndex)].Stift);
    p.drawStaticText(QPoint(rand, rand), t.Text);
    for (int y = 0; y < ph; ++y) {
        const QRgb* z = reinterpret_cast<const QRgb*>(Probe.constScanLine(y));
        const bool imKasten = y >= rand && y < rand + h;
        for (int x = 0; x < pw; ++x) {
            if (imKasten && x == rand) x += w;
            if (z[x] != gegen) return;
        }
    }
    neu.Pixel.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const QRgb* z = reinterpret_cast<const QRgb*>(Probe.constScanLine(rand + y)) + rand;
        std::copy(z, z + w, neu.Pixel.data() + static_cast<size_t>(y) * static_cast<size_t>(w));
    }
    neu.Breite = w;
    neu.Hoehe = h;
    neu.Brauchbar = true;
}

void TQtZeichenflaeche::TextbildKopieren(const TPixelziel& ziel, int x, int y, const TQtTextSpeicher::TTextbild& bild) {
    const QRect geraet(x + ziel.Dx, y + ziel.Dy, bild.Breite, bild.Hoehe);
    const QRect r = geraet & ziel.Beschnitt;
    const int n = r.width();
    for (int zy = r.top(); zy <= r.bottom(); ++zy) {
        const uint32_t* von = bild.Pixel.data() + static_cast<size_t>(zy - geraet.top()) * bild.Breite +
                              (r.left() - geraet.left());
        uint32_t* nach = reinterpret_cast<uint32_t*>(ziel.Bits + zy * ziel.Zeilenbytes) + r.left();
        // Zeilen sind kurz: eine schlichte Schleife schlägt hier den Aufruf von memcpy.
        for (int i = 0; i < n; ++i) nach[i] = von[i];
    }
}

// Texte als fertige Bilder kopiert statt gemalt: BM_NeuzeichnenZahlenUndNamen
// 31,6 statt 68,6 ms, BM_FensterZahlenUndNamen 5,8–6,0 statt 12,6–15,7 ms
// (gepaarte Läufe).
bool TQtZeichenflaeche::TextAlsBild(int x, int y, TQtTextSpeicher::TText& t) {
    // Unter- und Durchstreichen setzt Qt je nach Verschiebung des Malers
    // anders; solche Texte werden immer gemalt.
    if (!TextbilderErlaubt || Rasterbild == nullptr || SchriftQt.underline() || SchriftQt.strikeOut()) return false;
    // Kopiert wird nur mit unmittelbarem Zugriff auf die Pixel; der gilt nur
    // bei ganzer Verschiebung, dann liegen die Glyphen auf dem Ziel wie auf dem Bild.
    if (!DeckendOhneMaler()) return false;
    // Fern vom Gerät rechnet Qt die Glyphenorte in Festkomma mit Überlauf; dort bleibt es beim Malen.
    constexpr int64_t Nah = 1 << 20;
    if (std::abs(int64_t{x} + Ziel->Dx) > Nah || std::abs(int64_t{y} + Ziel->Dy) > Nah) return false;
    const TQtTextSpeicher::TTextbild* bild = TextbildHolen(t);
    if (bild == nullptr) return false;
    TextbildKopieren(*Ziel, x, y, *bild);
    return true;
}

void TQtZeichenflaeche::TextAusgeben(int32_t x, int32_t y, std::string_view text) {
    if (text.empty()) return;
    TQtTextSpeicher::TText& t = TextHolen(text);
    // Text folgt wie bei GDI nicht dem Stiftmodus.
    ModusAnwenden(TStiftModus::Normal);
    const TGeordnet g{x, y, t.Breite, Zeilenhoehe};
    if (!PasstInQt(g)) return;
    if (TextAlsBild(x, y, t)) return;
    StreifenFuellen(x, y, static_cast<int>(g.B), static_cast<int>(g.H), PinselIndex);
    SchriftAnwenden();
    Maler.drawStaticText(QPoint(x, y), t.Text);
}

void TQtZeichenflaeche::Polylinie(const std::vector<TBildpunkt>& punkte) {
    if (punkte.size() < 2) return;
    ModusAnwenden(Modus);
    StiftAnwenden(StiftIndex);
    PinselAnwenden(false);
    Maler.drawPolyline(QtPunkte(punkte));
}

void TQtZeichenflaeche::Polygon(const std::vector<TBildpunkt>& punkte) {
    if (punkte.size() < 2) return;
    ModusAnwenden(Modus);
    StiftAnwenden(StiftIndex);
    PinselAnwenden(true);
    if (KleinesVieleckAusSpannen(punkte)) return;
    Maler.drawPolygon(QtPunkte(punkte));
}

void TQtZeichenflaeche::Ellipse(const TRechteck& r) {
    const TGeordnet g = Ordnen(r);
    if (g.B <= 0 || g.H <= 0 || !PasstInQt(g)) return;
    ModusAnwenden(Modus);
    StiftAnwenden(StiftIndex);
    PinselAnwenden(true);
    // Der Umriss eines Qt-Rechtecks reicht ein Pixel über Breite und Höhe hinaus.
    const int b = static_cast<int>(g.B - 1), h = static_cast<int>(g.H - 1);
    if (b < GroessteFigur && h < GroessteFigur && DeckendOhneMaler()) {
        SchluesselBeginnen('E');
        SchluesselAnhaengen(b);
        SchluesselAnhaengen(h);
        const TBildpunkt bezug{static_cast<int32_t>(g.L), static_cast<int32_t>(g.O)};
        if (FigurAusSpannen(bezug, 0, 0, b, h, [b, h](QPainter& p) { p.drawEllipse(QRect(0, 0, b, h)); })) return;
    }
    Maler.drawEllipse(QRect(static_cast<int>(g.L), static_cast<int>(g.O), b, h));
}

void TQtZeichenflaeche::Rechteck(const TRechteck& r) {
    const TGeordnet g = Gekuerzt(Ordnen(r));
    if (g.B <= 0 || g.H <= 0) return;
    ModusAnwenden(Modus);
    // Rand und Inneres als getrennte Streifen, damit jedes Pixel genau einmal
    // gesetzt wird (sonst hebt sich Nicht-Xor an den Kanten selbst auf).
    const int l = static_cast<int>(g.L), o = static_cast<int>(g.O);
    const int b = static_cast<int>(g.B), h = static_cast<int>(g.H);
    StreifenFuellen(l, o, b, 1, StiftIndex);
    if (h >= 2) StreifenFuellen(l, o + h - 1, b, 1, StiftIndex);
    StreifenFuellen(l, o + 1, 1, h - 2, StiftIndex);
    if (b >= 2) StreifenFuellen(l + b - 1, o + 1, 1, h - 2, StiftIndex);
    StreifenFuellen(l + 1, o + 1, b - 2, h - 2, PinselIndex);
}

void TQtZeichenflaeche::RechteckFuellen(const TRechteck& r) {
    const TGeordnet g = Gekuerzt(Ordnen(r));
    if (g.B <= 0 || g.H <= 0) return;
    // Füllen ist eine Pinseloperation ohne Stiftmodus.
    ModusAnwenden(TStiftModus::Normal);
    StreifenFuellen(static_cast<int>(g.L), static_cast<int>(g.O), static_cast<int>(g.B), static_cast<int>(g.H),
                    PinselIndex);
}

void TQtZeichenflaeche::BewegeZu(int32_t x, int32_t y) { Position = {x, y}; }

void TQtZeichenflaeche::LinieZu(int32_t x, int32_t y) {
    ModusAnwenden(Modus);
    StiftAnwenden(StiftIndex);
    Maler.drawLine(QPoint(Position.X, Position.Y), QPoint(x, y));
    Position = {x, y};
}

void TQtZeichenflaeche::ClipSetzen(const TRechteck& r) {
    const TGeordnet g = Gekuerzt(Ordnen(r));
    Maler.setClipRect(QRect(static_cast<int>(g.L), static_cast<int>(g.O), static_cast<int>(g.B),
                            static_cast<int>(g.H)));
    ZielGeprueft = false;
}

void TQtZeichenflaeche::ClipAufheben() {
    Maler.setClipping(false);
    ZielGeprueft = false;
}

TFarbe TQtZeichenflaeche::Fensterhintergrund() const {
    // Einmal je Zeichenfläche: hinter jeder Zahl und jedem Namen gefragt, und die
    // Palette zu holen kostet mehr als das Kopieren eines Textes.
    if (!Hintergrund) {
        Hintergrund = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr
                          ? Weiss
                          : FarbeAusQt(QGuiApplication::palette().color(QPalette::Base));
    }
    return *Hintergrund;
}

} // namespace tessomir
