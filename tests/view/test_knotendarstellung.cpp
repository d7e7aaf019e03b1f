#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

using test::TPrimitiv;
using Punkte = std::vector<TBildpunkt>;

// Knoten am Gerätepunkt (100, 100).
struct KnotenTest : ::testing::Test {
    test::TAufzeichnung plattform;
    test::TModellBau bau;
    test::TAufzeichnendeFlaeche flaeche;
    TAnsicht ansicht{&flaeche};
    const TPunkt ort{100, -100};

    const TPrimitiv& Einziges() {
        EXPECT_EQ(flaeche.Elemente.size(), 1u);
        return flaeche.Elemente.at(0);
    }
};

TEST_F(KnotenTest, SymboleDerVierArten) {
    Zeichnen(bau.Knoten<TQuelle>("Q", ort), ansicht, 0);
    EXPECT_EQ(Einziges().Punkte, (Punkte{{100, 94}, {106, 100}, {100, 106}, {94, 100}, {100, 94}}));
    EXPECT_EQ(Einziges().Pinsel, (TFarbe{23, 219, 38}));
    EXPECT_EQ(Einziges().Stift, Schwarz);
    flaeche.Elemente.clear();
    Zeichnen(bau.Knoten<TSenke>("S", ort), ansicht, 0);
    EXPECT_EQ(Einziges().Punkte, (Punkte{{100, 94}, {106, 103}, {94, 103}, {100, 94}}));
    EXPECT_EQ(Einziges().Pinsel, (TFarbe{255, 86, 86}));
    flaeche.Elemente.clear();
    Zeichnen(bau.Knoten<TVerzweigung>("V", ort), ansicht, 0);
    EXPECT_EQ(Einziges().Punkte, (Punkte{{96, 96}, {104, 96}, {104, 104}, {96, 104}, {96, 96}}));
    EXPECT_EQ(Einziges().Pinsel, (TFarbe{0, 128, 255}));
    flaeche.Elemente.clear();
    Zeichnen(bau.Knoten<TWandler>("W", ort), ansicht, 0);
    EXPECT_EQ(Einziges().Art, TPrimitiv::Ellipse);
    EXPECT_EQ(Einziges().R, (TRechteck{94, 94, 106, 106}));
    EXPECT_EQ(Einziges().Pinsel, (TFarbe{255, 189, 51}));
    EXPECT_EQ(flaeche.Pinselfarbe(), Weiss);
}

TEST_F(KnotenTest, AusgewaehltGelbMitRotemUmriss) {
    Zeichnen(bau.Knoten<TWandler>("W", ort), ansicht, 1);
    EXPECT_EQ(Einziges().Pinsel, Gelb);
    EXPECT_EQ(Einziges().Stift, Rot);
}

TEST_F(KnotenTest, SymbolradiusRundetZurGeraden) {
    TQuelle& q = bau.Knoten<TQuelle>("Q", ort);
    bau.M().SymbolGroesse = 3;
    Zeichnen(q, ansicht, 0);
    EXPECT_EQ(Einziges().Punkte[0], (TBildpunkt{100, 96})); // R = 4
    flaeche.Elemente.clear();
    bau.M().SymbolGroesse = 5;
    Zeichnen(q, ansicht, 0);
    EXPECT_EQ(Einziges().Punkte[0], (TBildpunkt{100, 92})); // R = 8
}

TEST_F(KnotenTest, AufPapierMitSchriftfaktor) {
    ansicht.DruckModus = true;
    ansicht.Bildschirmhoehe = 16;
    ansicht.Druckerhoehe = 100; // Faktor 6,25
    Zeichnen(bau.Knoten<TQuelle>("Q", {0, 0}), ansicht, 0);
    EXPECT_EQ(Einziges().Punkte[1], (TBildpunkt{38, 0}));
    flaeche.Elemente.clear();
    Zeichnen(bau.Knoten<TVerzweigung>("V", {0, 0}), ansicht, 0);
    EXPECT_EQ(Einziges().Punkte[0], (TBildpunkt{-25, -25}));
}

TEST_F(KnotenTest, NameEinViertelLinksUndUeberDemSymbol) {
    bau.M().QuellenBeschr = true;
    flaeche.Zeichenbreite = 8; // "Quelle" ist 48 breit, 13 hoch
    TQuelle& q = bau.Knoten<TQuelle>("Quelle", ort);
    Zeichnen(q, ansicht, 0);
    ASSERT_EQ(flaeche.Elemente.size(), 2u);
    EXPECT_EQ(flaeche.Elemente[1].Text, "Quelle");
    // 100 - (48 + 1) div 4 = 88; 100 - 6 - 52 div 3 = 77
    EXPECT_EQ(flaeche.Elemente[1].Punkte[0], (TBildpunkt{88, 77}));
    EXPECT_EQ(flaeche.Elemente[1].Pinsel, flaeche.Hintergrund);
    // Eine Senke ohne ihren Schalter bleibt unbeschriftet.
    flaeche.Elemente.clear();
    Zeichnen(bau.Knoten<TSenke>("Senke", ort), ansicht, 0);
    EXPECT_EQ(flaeche.Elemente.size(), 1u);
}

TEST_F(KnotenTest, GummiumrissOhneFuellungOhneNamen) {
    bau.M().QuellenBeschr = true;
    bau.M().WandlerBeschr = true;
    ansicht.Startpunkt = {0, 0};
    ansicht.Aktpunkt = {10, -5};
    Zeichnen(bau.Knoten<TQuelle>("Q", ort), ansicht, 2);
    EXPECT_EQ(Einziges().Art, TPrimitiv::Polylinie);
    EXPECT_EQ(Einziges().Punkte[0], (TBildpunkt{110, 89}));
    EXPECT_EQ(Einziges().Modus, TStiftModus::NichtXor);
    flaeche.Elemente.clear();
    Zeichnen(bau.Knoten<TWandler>("W", ort), ansicht, 2);
    EXPECT_EQ(Einziges().Art, TPrimitiv::Ellipse);
    EXPECT_EQ(Einziges().R, (TRechteck{104, 89, 116, 101}));
    EXPECT_EQ(flaeche.Stiftmodus(), TStiftModus::Normal);
}

TEST_F(KnotenTest, TrefferQuadratKleinerAlsSymbol) {
    TQuelle& q = bau.Knoten<TQuelle>("Q", ort);
    ansicht.Trefferpunkt = {104, 104};
    EXPECT_TRUE(IstGetroffen(q, ansicht));
    ansicht.Trefferpunkt = {105, 100};
    EXPECT_FALSE(IstGetroffen(q, ansicht));
    ansicht.Massstab = 3; // Toleranz wächst nicht mit dem Zoom
    ansicht.Trefferpunkt = {305, 300};
    EXPECT_FALSE(IstGetroffen(q, ansicht));
}

TEST_F(KnotenTest, DurchsatzDerVerzweigungUnterDemQuadrat) {
    TModell& m = bau.M();
    m.Stromanzeige = 1;
    TQuelle& q = bau.Knoten<TQuelle>("Q", {0, 0});
    TVerzweigung& v = bau.Knoten<TVerzweigung>("V", ort);
    bau.Weg(q, v);
    v.Matrix().ZelleSetzen(0, 1, 0, 12.5);
    AnzeigeZeichnen(v, ansicht, 0);
    EXPECT_EQ(Einziges().Text, "12.50");
    EXPECT_EQ(Einziges().Punkte[0], (TBildpunkt{100 - 20, 109}));
    EXPECT_EQ(FarbeAusFarbwert(Einziges().Schrift.Farbe), (TFarbe{0, 132, 255}));
    flaeche.Elemente.clear();
    v.Kapazitaet = 12.5;
    AnzeigeZeichnen(v, ansicht, 0);
    EXPECT_EQ(FarbeAusFarbwert(Einziges().Schrift.Farbe), Rot);
    flaeche.Elemente.clear();
    m.Stromanzeige = 0;
    m.MaxStromBerechnet = 25;
    AnzeigeZeichnen(v, ansicht, 0);
    ASSERT_EQ(flaeche.Elemente.size(), 2u);
    EXPECT_EQ(flaeche.Elemente[0].R, (TRechteck{85, 106, 115, 112}));
    EXPECT_EQ(flaeche.Elemente[1].Pinsel, Rot);
    flaeche.Elemente.clear();
    AnzeigeZeichnen(v, ansicht, 2);
    EXPECT_TRUE(flaeche.Elemente.empty());
}

TEST_F(KnotenTest, GrundmarkeEinesSchlichtenObjekts) {
    TFO fo(bau.M());
    fo.Refpunkt = ort;
    Zeichnen(fo, ansicht, 1);
    EXPECT_EQ(Einziges().Art, TPrimitiv::RechteckFuellen);
    EXPECT_EQ(Einziges().R, (TRechteck{95, 95, 105, 105}));
    EXPECT_EQ(Einziges().Pinsel, Rot);
    flaeche.Elemente.clear();
    Zeichnen(fo, ansicht, 0);
    EXPECT_EQ(Einziges().Pinsel, Schwarz);
    flaeche.Elemente.clear();
    ansicht.Aktpunkt = {3, 4};
    Zeichnen(fo, ansicht, 2);
    EXPECT_EQ(Einziges().Art, TPrimitiv::Rechteck);
    EXPECT_EQ(Einziges().R, (TRechteck{98, 99, 108, 109}));
    EXPECT_EQ(Einziges().Modus, TStiftModus::NichtXor);
}

} // namespace
} // namespace tessomir
