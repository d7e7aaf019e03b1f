#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

using test::TPrimitiv;

// Quelle bei Gerätepunkt (0, 0), Senke bei (100, 0), ein Weg dazwischen.
struct WegTest : ::testing::Test {
    test::TAufzeichnung plattform;
    test::TModellBau bau;
    test::TAufzeichnendeFlaeche flaeche;
    TAnsicht ansicht{&flaeche};
    TQuelle& quelle = bau.Knoten<TQuelle>("Q", {0, 0});
    TSenke& senke = bau.Knoten<TSenke>("S", {100, 0});
    TWeg& weg = bau.Weg(quelle, senke, "Band");

    void StromSetzen(double f) { senke.Matrix().ZelleSetzen(0, 1, 0, f); }
    void Anzeige() {
        flaeche.Elemente.clear();
        AnzeigeZeichnen(weg, ansicht, 0);
    }
};

TEST_F(WegTest, LinieUndPfeilspitzeMitWiderhaken) {
    Zeichnen(weg, ansicht, 0);
    ASSERT_EQ(flaeche.Elemente.size(), 2u);
    EXPECT_EQ(flaeche.Elemente[0].Art, TPrimitiv::Polylinie);
    EXPECT_EQ(flaeche.Elemente[0].Punkte, (std::vector<TBildpunkt>{{0, 0}, {100, 0}}));
    EXPECT_EQ(flaeche.Elemente[0].Stift, Grau);
    EXPECT_EQ(flaeche.Elemente[1].Art, TPrimitiv::Polygon);
    EXPECT_EQ(flaeche.Elemente[1].Punkte, (std::vector<TBildpunkt>{{50, 0}, {43, -4}, {43, 4}, {50, 0}}));
    EXPECT_EQ(flaeche.Elemente[1].Pinsel, Grau);
    EXPECT_EQ(flaeche.Stiftfarbe(), Schwarz);
    EXPECT_EQ(flaeche.Pinselfarbe(), Weiss);
}

TEST_F(WegTest, AusgewaehltRotAufPapierSchwarz) {
    Zeichnen(weg, ansicht, 1);
    EXPECT_EQ(flaeche.Elemente[0].Stift, Rot);
    EXPECT_EQ(flaeche.Elemente[1].Pinsel, Rot);
    flaeche.Elemente.clear();
    ansicht.DruckModus = true;
    Zeichnen(weg, ansicht, 0);
    EXPECT_EQ(flaeche.Elemente[0].Stift, Schwarz);
}

TEST_F(WegTest, KnotenAufDemselbenPunktGebenPunktfoermigenPfeil) {
    senke.Refpunkt = {0, 0};
    Zeichnen(weg, ansicht, 0);
    EXPECT_EQ(flaeche.Elemente[1].Punkte, (std::vector<TBildpunkt>(4, TBildpunkt{0, 0})));
}

TEST_F(WegTest, GummilinieNurLinieImNichtXorVomStartAmVersatz) {
    ansicht.Startpunkt = {10, 10};
    ansicht.Aktpunkt = {40, 30};
    Zeichnen(weg, ansicht, 2);
    ASSERT_EQ(flaeche.Elemente.size(), 1u);
    EXPECT_EQ(flaeche.Elemente[0].Punkte, (std::vector<TBildpunkt>{{0, 0}, {30, 20}}));
    EXPECT_EQ(flaeche.Elemente[0].Modus, TStiftModus::NichtXor);
    EXPECT_EQ(flaeche.Stiftmodus(), TStiftModus::Normal);
}

TEST_F(WegTest, OffenerWegEndetAmTrefferpunkt) {
    auto offen = std::make_unique<TWeg>(bau.M());
    offen->SetStart(&bau.Knoten<TVerzweigung>("V", {20, -20}));
    ansicht.Trefferpunkt = {70, 80};
    Zeichnen(*offen, ansicht, 0);
    EXPECT_EQ(flaeche.Elemente[0].Punkte, (std::vector<TBildpunkt>{{20, 20}, {70, 80}}));
    flaeche.Elemente.clear();
    AnzeigeZeichnen(*offen, ansicht, 0);
    EXPECT_TRUE(flaeche.Elemente.empty());
}

TEST_F(WegTest, BalkenEinViertelEntlangDesWeges) {
    bau.M().MaxStromBerechnet = 100;
    StromSetzen(50);
    Anzeige();
    ASSERT_EQ(flaeche.Elemente.size(), 2u);
    EXPECT_EQ(flaeche.Elemente[0].R, (TRechteck{10, -3, 40, 3}));
    EXPECT_EQ(flaeche.Elemente[1].R, (TRechteck{11, -2, 25, 2}));
}

TEST_F(WegTest, HalbeBalkenmasseRundenZurGeraden) {
    bau.M().MaxStromBerechnet = 100;
    bau.M().StromGroesse = 25;
    StromSetzen(100);
    Anzeige();
    EXPECT_EQ(flaeche.Elemente[0].R, (TRechteck{25 - 12, -2, 25 + 12, 2}));
}

TEST_F(WegTest, SchwelleDerAnzeige) {
    TModell& m = bau.M();
    m.Stromanzeige = 1;
    StromSetzen(0.01);
    Anzeige();
    EXPECT_TRUE(flaeche.Elemente.empty());
    StromSetzen(0.011);
    Anzeige();
    ASSERT_EQ(flaeche.Elemente.size(), 1u);
    EXPECT_EQ(flaeche.Elemente[0].Text, "0.01");
    // Balken: verglichen wird der Prozentwert, nicht der Strom.
    m.Stromanzeige = 0;
    m.MaxStromBerechnet = 1000;
    StromSetzen(0.05); // 0,005 %
    Anzeige();
    EXPECT_TRUE(flaeche.Elemente.empty());
}

TEST_F(WegTest, OhneBerechnungKeinBalkenBeiMaximumNullProzentGleichStrom) {
    TModell& m = bau.M();
    StromSetzen(5);
    Anzeige(); // berechnetes Maximum -1: negativer Prozentwert
    EXPECT_TRUE(flaeche.Elemente.empty());
    m.MaxStromBerechnet = 0;
    EXPECT_DOUBLE_EQ(m.Prozentwert(5), 5);
    m.MaxStromBer = false;
    m.MaxStrom = 10;
    EXPECT_DOUBLE_EQ(m.Prozentwert(5), 50);
}

TEST_F(WegTest, AnKapazitaetRotDarunterGrau) {
    bau.M().Stromanzeige = 1;
    weg.Kapazitaet = 20;
    StromSetzen(20);
    Anzeige();
    EXPECT_EQ(FarbeAusFarbwert(flaeche.Elemente[0].Schrift.Farbe), Rot);
    StromSetzen(19.99);
    Anzeige();
    EXPECT_EQ(FarbeAusFarbwert(flaeche.Elemente[0].Schrift.Farbe), Grau);
}

TEST_F(WegTest, NameUeberDerAnzeige) {
    TModell& m = bau.M();
    m.WegeBeschr = true;
    m.Stromanzeige = 1;
    StromSetzen(3);
    Anzeige();
    ASSERT_EQ(flaeche.Elemente.size(), 2u);
    // Zahl 13 hoch: der Name endet 7 Punkte über T = (25, 0).
    EXPECT_EQ(flaeche.Elemente[1].Text, "Band");
    EXPECT_EQ(flaeche.Elemente[1].Punkte[0], (TBildpunkt{25 - 16, -7 - 13}));
    m.Stromanzeige = 2;
    Anzeige();
    ASSERT_EQ(flaeche.Elemente.size(), 1u);
    EXPECT_EQ(flaeche.Elemente[0].Punkte[0], (TBildpunkt{25 - 16, -13}));
}

TEST_F(WegTest, TrefferWaagrecht) {
    for (const TBildpunkt p : {TBildpunkt{-4, 0}, TBildpunkt{50, 3}}) {
        ansicht.Trefferpunkt = p;
        EXPECT_TRUE(IstGetroffen(weg, ansicht)) << p.X << "," << p.Y;
    }
    for (const TBildpunkt p : {TBildpunkt{104, 0}, TBildpunkt{50, 4}, TBildpunkt{50, -4}}) {
        ansicht.Trefferpunkt = p;
        EXPECT_FALSE(IstGetroffen(weg, ansicht)) << p.X << "," << p.Y;
    }
}

TEST_F(WegTest, TrefferSchraegUndKurz) {
    senke.Refpunkt = {100, -100};
    ansicht.Trefferpunkt = {50, 53};
    EXPECT_TRUE(IstGetroffen(weg, ansicht));
    ansicht.Trefferpunkt = {50, 56};
    EXPECT_FALSE(IstGetroffen(weg, ansicht));
    // Kürzer als die Toleranz: überall im Kasten getroffen.
    senke.Refpunkt = {2, -1};
    ansicht.Trefferpunkt = {-3, 4};
    EXPECT_TRUE(IstGetroffen(weg, ansicht));
}

} // namespace
} // namespace tessomir
