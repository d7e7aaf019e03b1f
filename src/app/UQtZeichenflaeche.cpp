#include "app/UQtZeichenflaeche.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <algorithm>
#include <cmath>

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

// Rechtecke werden auf den Qt-Bereich gekürzt; die Ränder liegen dann
// außerhalb jedes Geräts, der sichtbare Teil bleibt gleich.
TGeordnet Gekuerzt(const TGeordnet& g) {
    const auto k = [](int64_t v) { return std::clamp<int64_t>(v, -QtGrenze, QtGrenze); };
    const int64_t l = k(g.L), o = k(g.O);
    return {l, o, k(g.L + g.B) - l, k(g.O + g.H) - o};
}

} // namespace

TQtTextSpeicher::TTexte& TQtTextSpeicher::Texte(const QFont& schrift, const QFontMetrics& metrik) {
    // Gleiche Schrift auf einem Gerät anderer Auflösung hat andere Breiten.
    const std::string schluessel =
        schrift.key().toStdString() + '@' + std::to_string(metrik.fontDpi());
    return Schriften[schluessel];
}

const TQtTextSpeicher::TText& TQtTextSpeicher::Text(TTexte& texte, std::string_view ansi, const QFont& schrift,
                                                   const QFontMetrics& metrik) {
    if (const auto it = texte.find(ansi); it != texte.end()) return it->second;
    if (Gesamt >= Groesste) {
        // Nur die Inhalte leeren: die Texte je Schrift bleiben als Objekte gültig.
        for (auto& [name, t] : Schriften) t.clear();
        Gesamt = 0;
        ++Runden;
    }
    TText t;
    const QString q = QtAusAnsi(ansi);
    t.Text.setText(q);
    t.Text.setTextFormat(Qt::PlainText); // Namen wie "<b>" sind Text, kein HTML
    t.Text.prepare(QTransform(), schrift);
    t.Breite = metrik.horizontalAdvance(q);
    ++Gesamt;
    return texte.emplace(std::string(ansi), std::move(t)).first->second;
}

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
    MalerStift = Unbekannt;
    MalerPinsel = Unbekannt;
    MalerModus.reset();
    SchriftAmMaler = false;
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
    QPen stift(c, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
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
    // Die Textfarbe kommt wie jede Farbe über FarbeAusFarbwert (QtSchriftfarbe).
    TextIndex = FarbIndex(FarbeAusQt(QtSchriftfarbe(s)));
    if (gleicheForm) return;
    SchriftQt = QtSchrift(s);
    if (Schriftskala != 1.0) {
        SchriftQt.setPixelSize(std::max(1, static_cast<int>(std::lround(SchriftQt.pixelSize() * Schriftskala))));
    }
    Metrik.emplace(SchriftQt, Maler.device());
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

void TQtZeichenflaeche::StreifenFuellen(int x, int y, int w, int h, int farbe) {
    if (w > 0 && h > 0) Maler.fillRect(QRect(x, y, w, h), Farben[static_cast<size_t>(farbe)].Pinsel);
}

const TQtTextSpeicher::TText& TQtZeichenflaeche::TextHolen(std::string_view text) {
    if (LetzterText != nullptr && LetzteTexte == Texte && LetzteRunde == Speicher->Runde() &&
        text == LetzterSchluessel) {
        return *LetzterText;
    }
    const TQtTextSpeicher::TText& t = Speicher->Text(*Texte, text, SchriftQt, *Metrik);
    LetzterText = &t;
    LetzteTexte = Texte;
    LetzteRunde = Speicher->Runde();
    LetzterSchluessel.assign(text);
    return t;
}

TTextgroesse TQtZeichenflaeche::TextAusmass(std::string_view text) {
    return {TextHolen(text).Breite, Metrik->height()};
}

void TQtZeichenflaeche::TextAusgeben(int32_t x, int32_t y, std::string_view text) {
    if (text.empty()) return;
    const TQtTextSpeicher::TText& t = TextHolen(text);
    // Text folgt wie bei GDI nicht dem Stiftmodus.
    ModusAnwenden(TStiftModus::Normal);
    const TGeordnet g{x, y, t.Breite, Metrik->height()};
    if (!PasstInQt(g)) return;
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
    Maler.drawPolygon(QtPunkte(punkte));
}

void TQtZeichenflaeche::Ellipse(const TRechteck& r) {
    const TGeordnet g = Ordnen(r);
    if (g.B <= 0 || g.H <= 0 || !PasstInQt(g)) return;
    ModusAnwenden(Modus);
    StiftAnwenden(StiftIndex);
    PinselAnwenden(true);
    // Der Umriss eines Qt-Rechtecks reicht ein Pixel über Breite und Höhe hinaus.
    Maler.drawEllipse(QRect(static_cast<int>(g.L), static_cast<int>(g.O), static_cast<int>(g.B - 1),
                            static_cast<int>(g.H - 1)));
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
}

void TQtZeichenflaeche::ClipAufheben() { Maler.setClipping(false); }

TFarbe TQtZeichenflaeche::Fensterhintergrund() const {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return Weiss;
    return FarbeAusQt(QGuiApplication::palette().color(QPalette::Base));
}

} // namespace tessomir
