#pragma once
// Zeichenfläche, die jedes Grundelement mit seinen ganzzahligen Koordinaten
// und den Farben zum Zeitpunkt des Zeichnens festhält.
#include <string>
#include <vector>

#include "view/UZeichenflaeche.h"

namespace tessomir::test {

struct TPrimitiv {
    enum TArt { Polylinie, Polygon, Ellipse, Rechteck, RechteckFuellen, Textausgabe, Linie, Clip, ClipAus } Art;
    std::vector<TBildpunkt> Punkte;
    TRechteck R;
    std::string Text;
    TFarbe Stift;
    TFarbe Pinsel;
    TStiftModus Modus;
    TSchrift Schrift;
};

class TAufzeichnendeFlaeche final : public IZeichenflaeche {
public:
    void StiftfarbeSetzen(TFarbe f) override { StiftF = f; }
    TFarbe Stiftfarbe() const override { return StiftF; }
    void StiftmodusSetzen(TStiftModus m) override { ModusF = m; }
    TStiftModus Stiftmodus() const override { return ModusF; }
    void PinselfarbeSetzen(TFarbe f) override { PinselF = f; }
    TFarbe Pinselfarbe() const override { return PinselF; }
    void SchriftSetzen(const TSchrift& s) override { SchriftF = s; }
    TSchrift Schrift() const override { return SchriftF; }
    // Feste Maße: Zeichenbreite je Zeichen, eine Texthöhe.
    TTextgroesse TextAusmass(std::string_view text) override {
        return {static_cast<int32_t>(text.size()) * Zeichenbreite, Texthoehe};
    }
    void TextAusgeben(int32_t x, int32_t y, std::string_view text) override;
    void Polylinie(const std::vector<TBildpunkt>& p) override { Merken(TPrimitiv::Polylinie, p, {}); }
    void Polygon(const std::vector<TBildpunkt>& p) override { Merken(TPrimitiv::Polygon, p, {}); }
    void Ellipse(const TRechteck& r) override { Merken(TPrimitiv::Ellipse, {}, r); }
    void Rechteck(const TRechteck& r) override { Merken(TPrimitiv::Rechteck, {}, r); }
    void RechteckFuellen(const TRechteck& r) override { Merken(TPrimitiv::RechteckFuellen, {}, r); }
    void BewegeZu(int32_t x, int32_t y) override { Stelle = {x, y}; }
    void LinieZu(int32_t x, int32_t y) override;
    void ClipSetzen(const TRechteck& r) override { Merken(TPrimitiv::Clip, {}, r); }
    void ClipAufheben() override { Merken(TPrimitiv::ClipAus, {}, {}); }
    TFarbe Fensterhintergrund() const override { return Hintergrund; }

    // Alle Elemente einer Art, in Zeichenreihenfolge.
    std::vector<TPrimitiv> Alle(TPrimitiv::TArt art) const;

    std::vector<TPrimitiv> Elemente;
    int32_t Zeichenbreite = 8;
    int32_t Texthoehe = 13;
    TFarbe Hintergrund{236, 233, 216};

private:
    void Merken(TPrimitiv::TArt art, const std::vector<TBildpunkt>& p, const TRechteck& r);

    TFarbe StiftF = Schwarz;
    TFarbe PinselF = Weiss;
    TStiftModus ModusF = TStiftModus::Normal;
    TSchrift SchriftF;
    TBildpunkt Stelle;
};

} // namespace tessomir::test
