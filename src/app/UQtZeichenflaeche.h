#pragma once
// Zeichenfläche auf einem QPainter: Bild, Fenster, Drucker, SVG oder PDF.
// Raster wie GDI: Rechtecke und Ellipsen ohne rechten und unteren Rand,
// Linien ohne ihren Endpunkt, Stift immer ein Gerätepixel breit, keine
// Kantenglättung der Figuren. Nicht-Xor braucht ein Gerät mit Rasteroperationen
// (QImage); auf den anderen wird dann normal gezeichnet.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <optional>

#include "view/UZeichenflaeche.h"

class QPainter;

namespace tessomir {

class TQtZeichenflaeche final : public IZeichenflaeche {
public:
    // Der Maler muss aktiv sein und die Zeichenfläche überleben.
    explicit TQtZeichenflaeche(QPainter& maler);
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

    // Ob Nicht-Xor auf diesem Gerät wirklich umkehrt.
    bool KannNichtXor() const { return RasterOps; }

private:
    // Was der Maler gerade eingestellt hat; nur Änderungen gehen an Qt.
    enum class TMalerStift { Unbekannt, Stift, Keiner, Text };
    void StiftAnwenden();
    void OhneStift();
    void PinselAnwenden(bool fuellen);
    void ModusAnwenden(TStiftModus m);
    void SchriftAnwenden();
    void StreifenFuellen(int x, int y, int w, int h, const QColor& farbe);

    QPainter& Maler;
    bool RasterOps;

    TFarbe StiftFarbe = Schwarz;
    TStiftModus Modus = TStiftModus::Normal;
    TFarbe PinselFarbe = Weiss;
    TSchrift SchriftWert;
    TBildpunkt Position;

    QPen Stift;
    QColor StiftQt{0, 0, 0};
    QColor PinselQt{255, 255, 255};
    TMalerStift MalerStift = TMalerStift::Unbekannt;
    std::optional<bool> MalerFuellt;
    std::optional<TStiftModus> MalerModus;

    // Schrift und Maße werden nur bei einem Wechsel der Schrift neu gebildet.
    QFont SchriftQt;
    QColor TextfarbeQt;
    std::optional<QFontMetrics> Metrik;
    bool SchriftAmMaler = false;
};

} // namespace tessomir
