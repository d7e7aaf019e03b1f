#pragma once
// Zeichenfläche auf einem QPainter: Bild, Fenster, Drucker, SVG oder PDF.
// Raster wie GDI: Rechtecke und Ellipsen ohne rechten und unteren Rand,
// Linien ohne ihren Endpunkt, Stift ein Gerätepixel breit (bei Pixelverhältnis
// 2 zwei), keine Kantenglättung der Figuren. Nicht-Xor braucht ein Gerät mit Rasteroperationen
// (QImage); auf den anderen wird dann normal gezeichnet.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <functional>
#include <string>
#include <string_view>
#include <optional>
#include <vector>

#include "qt/UQtTextSpeicher.h"
#include "view/UZeichenflaeche.h"

namespace tessomir {

class TQtZeichenflaeche final : public IZeichenflaeche {
public:
    // Der Maler muss aktiv sein und die Zeichenfläche überleben. Ohne
    // eigenen Textspeicher hält die Zeichenfläche einen für ihre Lebenszeit.
    explicit TQtZeichenflaeche(QPainter& maler, TQtTextSpeicher* speicher = nullptr);
    TQtZeichenflaeche(const TQtZeichenflaeche&) = delete;
    TQtZeichenflaeche& operator=(const TQtZeichenflaeche&) = delete;

    void StiftfarbeSetzen(TFarbe f) override;
    TFarbe Stiftfarbe() const override { return StiftFarbe; }
    void StiftmodusSetzen(TStiftModus m) override;
    TStiftModus Stiftmodus() const override { return Modus; }
    void PinselfarbeSetzen(TFarbe f) override;
    TFarbe Pinselfarbe() const override { return PinselFarbe; }
    void SchriftSetzen(const TSchrift& s) override;
    TSchrift Schrift() const override { return SchriftWert; }

    TTextgroesse TextAusmass(std::string_view text) override;
    void TextAusgeben(int32_t x, int32_t y, std::string_view text) override;
    void Polylinie(const std::vector<TBildpunkt>& punkte) override;
    void Polygon(const std::vector<TBildpunkt>& punkte) override;
    void Ellipse(const TRechteck& r) override;
    void Rechteck(const TRechteck& r) override;
    void RechteckFuellen(const TRechteck& r) override;
    void BewegeZu(int32_t x, int32_t y) override;
    void LinieZu(int32_t x, int32_t y) override;
    void ClipSetzen(const TRechteck& r) override;
    void ClipAufheben() override;
    TFarbe Fensterhintergrund() const override;

    // Stift, Pinsel, Schrift und Modus werden nur bei Änderungen an den Maler
    // gegeben. Wer den Maler selbst umstellt oder neu beginnt, ruft danach dies.
    void MalerGeaendert();

    // Schrifthöhen gelten in Bildschirmpunkten; auf einem Drucker werden sie
    // mit Druckerauflösung / Bildschirmauflösung vergrößert, damit Texte auf
    // Papier so groß wie auf dem Schirm werden.
    void SchriftskalaSetzen(double skala);

    // Ob Nicht-Xor auf diesem Gerät wirklich umkehrt.
    bool KannNichtXor() const { return RasterOps; }

    // Auf einem Rasterbild ohne Drehung und Streckung werden Texte samt Grund
    // einmal gemalt und danach als Bild kopiert (gleiche Pixel, viel schneller).
    // Aus: jeder Text wird jedes Mal gemalt.
    void TextbilderSetzen(bool an) { TextbilderErlaubt = an; }
    // Auf einem solchen Bild werden Flächen, Textbilder und kleine Figuren
    // unmittelbar in die Pixel geschrieben, mit denselben Werten wie Qt.
    // Aus: alles geht über den Maler.
    void UnmittelbarSetzen(bool an) {
        UnmittelbarErlaubt = an;
        ZielGeprueft = false;
    }

private:
    // Jede benutzte Farbe bekommt einmal ihren Stift und Pinsel; das Sichern
    // und Zurücksetzen der Farben bei jeder Figur legt so keine Qt-Objekte an.
    struct TQtFarbe {
        TFarbe Farbe;
        QPen Stift;
        QBrush Pinsel;
    };
    int FarbIndex(TFarbe f);
    // Was der Maler gerade eingestellt hat: Index in Farben, Keiner oder Unbekannt.
    static constexpr int Keiner = -1;
    static constexpr int Unbekannt = -2;
    void StiftAnwenden(int index);
    void PinselAnwenden(bool fuellen);
    void ModusAnwenden(TStiftModus m);
    void SchriftAnwenden();
    void StreifenFuellen(int x, int y, int w, int h, int farbe);
    // Die Pixel des Rasterbilds, in die ohne den Maler geschrieben werden darf:
    // ganze Verschiebung, Beschnitt ein Rechteck, Bild mit niemandem geteilt.
    struct TPixelziel {
        uchar* Bits = nullptr;
        qsizetype Zeilenbytes = 0;
        int Dx = 0, Dy = 0;
        QRect Beschnitt; // in Gerätepunkten, innerhalb des Bildes
    };
    const TPixelziel* Pixelziel();
    bool DeckendOhneMaler();
    void PixelFuellen(const TPixelziel& ziel, const QRect& geraet, uint32_t farbe);
    // Vieleck und Ellipse aus gemerkten Spannen; 'malen' zeichnet die Figur mit
    // Qt um den Bezugspunkt (0, 0) und wird nur zum Rastern gerufen.
    bool FigurAusSpannen(TBildpunkt bezug, int links, int oben, int rechts, int unten,
                         const std::function<void(QPainter&)>& malen);
    bool KleinesVieleckAusSpannen(const std::vector<TBildpunkt>& punkte);
    void FigurRastern(TQtTextSpeicher::TFigurbild& figur, int links, int oben, int rechts, int unten,
                      const std::function<void(QPainter&)>& malen);
    void SchluesselBeginnen(char art);
    void SchluesselAnhaengen(int32_t wert);
    TQtTextSpeicher::TText& TextHolen(std::string_view text);
    bool TextAlsBild(int x, int y, TQtTextSpeicher::TText& t);
    const TQtTextSpeicher::TTextbild* TextbildHolen(TQtTextSpeicher::TText& t);
    void TextbildAnlegen(TQtTextSpeicher::TText& t, TQtTextSpeicher::TTextbild& neu);
    void TextbildKopieren(const TPixelziel& ziel, int x, int y, const TQtTextSpeicher::TTextbild& bild);

    QPainter& Maler;
    bool RasterOps;
    // Das Ziel ist ein QImage, auf das Textbilder kopiert werden dürfen (ohne Blick auf die Abbildung).
    const QImage* Rasterbild = nullptr;
    bool TextbilderErlaubt = true;
    bool UnmittelbarErlaubt = true;
    bool ZielGeprueft = false;
    std::optional<TPixelziel> Ziel;
    std::string Schluessel;
    std::vector<QPoint> Relativ;
    // Was außer den Farben ein Textbild bestimmt; gilt bis MalerGeaendert().
    int BildFormat = 0, BildHinweise = 0, BildPunkteX = 0, BildPunkteY = 0;
    mutable std::optional<TFarbe> Hintergrund;

    TFarbe StiftFarbe = Schwarz;
    TStiftModus Modus = TStiftModus::Normal;
    TFarbe PinselFarbe = Weiss;
    TSchrift SchriftWert;
    double Schriftskala = 1.0;
    TBildpunkt Position;

    std::vector<TQtFarbe> Farben;
    // Breite jedes Stifts in Gerätepixeln: 0 (ein Pixel) bei Pixelverhältnis 1,
    // sonst das gerundete Verhältnis, damit Linien so kräftig wirken wie bei 1.
    int Strichbreite = 0;
    int StiftIndex = 0;
    int PinselIndex = 0;
    int TextIndex = 0;
    int MalerStift = Unbekannt;
    int MalerPinsel = Unbekannt;
    std::optional<TStiftModus> MalerModus;

    // Schrift und Maße werden nur bei einem Wechsel der Schrift neu gebildet.
    QFont SchriftQt;
    std::optional<QFontMetrics> Metrik;
    int Zeilenhoehe = 0;
    int Probenrand = 8;
    // Hier entstehen neue Textbilder; der Maler bleibt für alle offen.
    QImage Probe;
    std::unique_ptr<QPainter> ProbeMaler;
    bool SchriftAmMaler = false;
    std::unique_ptr<TQtTextSpeicher> EigenerSpeicher;
    TQtTextSpeicher* Speicher;
    TQtTextSpeicher::TTexte* Texte = nullptr;
    // Der zuletzt geholte Text: Messen und Ausgeben folgen meist aufeinander.
    TQtTextSpeicher::TText* LetzterText = nullptr;
    const TQtTextSpeicher::TTexte* LetzteTexte = nullptr;
    size_t LetzteRunde = 0;
    std::string LetzterSchluessel;
};

} // namespace tessomir
