#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "base/UFehler.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

using test::TAufzeichnendeFlaeche;
using test::TPrimitiv;

struct AnsichtTest : ::testing::Test {
    test::TAufzeichnung plattform;
    TAufzeichnendeFlaeche flaeche;
    TAnsicht ansicht{&flaeche};
};

TEST_F(AnsichtTest, NeueAnsichtBildetUrsprungUndYNachUntenAb) {
    EXPECT_EQ(ansicht.Transformieren({0, 0}), (TBildpunkt{0, 0}));
    EXPECT_EQ(ansicht.Transformieren({10, -5}), (TBildpunkt{10, 5}));
}

TEST_F(AnsichtTest, GemerkteWerttexteFolgenStellenUndTrenner) {
    TModell m;
    for (const double w : {12.345, -0.0, 0.0, 1e300, 12.345}) EXPECT_EQ(ansicht.Werttext(m, w), m.WertText(w)) << w;
    m.StromStellen = 1;
    EXPECT_EQ(ansicht.Werttext(m, 12.345), m.WertText(12.345));
    m.Anzeigetrenner = ',';
    EXPECT_EQ(ansicht.Werttext(m, 12.345), m.WertText(12.345));
    EXPECT_NE(ansicht.Werttext(m, 12.345).find(','), std::string::npos);
}

TEST_F(AnsichtTest, ZoomUndRueckweg) {
    ansicht.Vergroessern();
    EXPECT_EQ(ansicht.Transformieren({10, -5}), (TBildpunkt{12, 6}));
    const TPunkt p = ansicht.Ruecktransformieren({12, 6});
    EXPECT_NEAR(p.X, 10, 1e-12);
    EXPECT_NEAR(p.Y, -5, 1e-12);
    ansicht.Verkleinern();
    EXPECT_EQ(ansicht.Transformieren({10, -5}), (TBildpunkt{10, 5}));
}

TEST_F(AnsichtTest, HaelftenGehenZurGeradenNachbarzahl) {
    ansicht.Massstab = 0.5;
    EXPECT_EQ(ansicht.Transformieren({5, 0}).X, 2);
    EXPECT_EQ(ansicht.Transformieren({7, 0}).X, 4);
    EXPECT_EQ(ansicht.Transformieren({-5, 0}).X, -2);
}

TEST_F(AnsichtTest, DruckmodusSkaliertUndVersetzt) {
    ansicht.DruckModus = true;
    ansicht.Bildschirmhoehe = 16;
    ansicht.Druckerhoehe = 80;
    ansicht.SeiteX = 30;
    ansicht.SeiteY = 7;
    ansicht.RandLinks = 3;
    ansicht.RandOben = 4;
    EXPECT_DOUBLE_EQ(ansicht.Schriftfaktor(), 5.0);
    EXPECT_EQ(ansicht.Transformieren({10, -5}), (TBildpunkt{50 - 30 + 3, 25 - 7 + 4}));
    // Der Rückweg dient nur dem Bildschirm: ohne Faktor und Seitenversatz.
    EXPECT_EQ(ansicht.Ruecktransformieren({50, 25}), (TPunkt{50, -25}));
    ansicht.Bildschirmhoehe = 0;
    EXPECT_DOUBLE_EQ(ansicht.Schriftfaktor(), 1.0);
    ansicht.DruckModus = false;
    ansicht.Bildschirmhoehe = 16;
    EXPECT_DOUBLE_EQ(ansicht.Schriftfaktor(), 1.0);
}

TEST_F(AnsichtTest, KoordinatenJenseits32BitSindBereichsfehler) {
    EXPECT_EQ(ansicht.Transformieren({2147483647, 0}).X, 2147483647);
    EXPECT_THROW(ansicht.Transformieren({2147483648.0, 0}), ERangeError);
    EXPECT_THROW(ansicht.Transformieren({0, 3e9}), ERangeError);
    ansicht.DruckModus = true;
    ansicht.Bildschirmhoehe = 1;
    ansicht.Druckerhoehe = 1;
    ansicht.RandLinks = 10;
    EXPECT_THROW(ansicht.Transformieren({2147483640, 0}), EIntOverflow);
}

TEST_F(AnsichtTest, WinzigerMassstabTeiltNicht) {
    ansicht.Massstab = 1e-21;
    EXPECT_EQ(ansicht.Ruecktransformieren({5, 5}), (TPunkt{1e20, 1e20}));
}

TEST_F(AnsichtTest, SchriftMessenMerktHoeheJeZeichenflaeche) {
    flaeche.Texthoehe = 21;
    ansicht.SchriftMessen(TSchrift{}, true);
    EXPECT_EQ(ansicht.Bildschirmhoehe, 21);
    EXPECT_EQ(ansicht.Druckerhoehe, 80);
    flaeche.Texthoehe = 105;
    ansicht.SchriftMessen(TSchrift{}, false);
    EXPECT_EQ(ansicht.Druckerhoehe, 105);
}

TEST_F(AnsichtTest, BalkenBei50_100_150Prozent) {
    const TRechteck r{85, -3, 115, 3};
    struct Fall {
        double Prozent;
        int32_t Rechts;
    };
    for (const Fall f : {Fall{50, 100}, Fall{100, 114}, Fall{150, 130}}) {
        flaeche.Elemente.clear();
        ansicht.BalkenZeichnen(r, Grau, true, f.Prozent);
        ASSERT_EQ(flaeche.Elemente.size(), 2u) << f.Prozent;
        EXPECT_EQ(flaeche.Elemente[0].Art, TPrimitiv::Rechteck);
        EXPECT_EQ(flaeche.Elemente[0].R, r);
        EXPECT_EQ(flaeche.Elemente[0].Pinsel, Weiss);
        EXPECT_EQ(flaeche.Elemente[0].Stift, Grau);
        EXPECT_EQ(flaeche.Elemente[1].R, (TRechteck{86, -2, f.Rechts, 2})) << f.Prozent;
        EXPECT_EQ(flaeche.Elemente[1].Pinsel, Grau);
    }
    // Farben der Fläche sind danach wieder wie vorher.
    EXPECT_EQ(flaeche.Pinselfarbe(), Weiss);
    EXPECT_EQ(flaeche.Stiftfarbe(), Schwarz);
}

TEST_F(AnsichtTest, BalkenAusserhalbDesBereichsRotOhneFuellungBeiNull) {
    ansicht.BalkenZeichnen({0, 0, 30, 6}, Grau, false, 0.5);
    ASSERT_EQ(flaeche.Elemente.size(), 1u); // n = 0: nur der Rahmen
    EXPECT_EQ(flaeche.Elemente[0].Stift, Rot);
    flaeche.Elemente.clear();
    ansicht.BalkenZeichnen({0, 0, 30, 6}, Grau, false, 60);
    EXPECT_EQ(flaeche.Elemente[1].Pinsel, Rot);
}

TEST_F(AnsichtTest, RiesigerProzentwertSprengtDenBereichNicht) {
    EXPECT_NO_THROW(ansicht.BalkenZeichnen({0, 0, 30, 6}, Grau, true, 1e300));
    EXPECT_GT(flaeche.Elemente.back().R.Rechts, 1000000);
}

TEST_F(AnsichtTest, ZahlMittigMitSenkrechterLage) {
    TSchrift s;
    s.Name = "Courier";
    struct Fall {
        int Lage;
        int32_t Y;
    };
    for (const Fall f : {Fall{0, 100}, Fall{1, 93}, Fall{2, 113}}) {
        flaeche.Elemente.clear();
        const TTextgroesse g = ansicht.ZahlZeichnen({50, 100}, "12.50", true, Grau, f.Lage, s);
        EXPECT_EQ(g, (TTextgroesse{40, 13}));
        ASSERT_EQ(flaeche.Elemente.size(), 1u);
        EXPECT_EQ(flaeche.Elemente[0].Punkte[0], (TBildpunkt{50 - 20, f.Y})) << f.Lage;
        EXPECT_EQ(flaeche.Elemente[0].Schrift.Name, "Courier");
        EXPECT_EQ(FarbeAusFarbwert(flaeche.Elemente[0].Schrift.Farbe), Grau);
        EXPECT_EQ(flaeche.Elemente[0].Pinsel, flaeche.Hintergrund);
    }
    // Leerer Text: gemessen wird "HgH", geschrieben nichts.
    flaeche.Elemente.clear();
    EXPECT_EQ(ansicht.ZahlZeichnen({0, 0}, "", false, Grau, 0, s).Breite, 24);
    EXPECT_TRUE(flaeche.Elemente.empty());
    // Rot ausserhalb des Bereichs; die Schriftfarbe bleibt stehen.
    ansicht.ZahlZeichnen({0, 0}, "1", false, Grau, 0, s);
    EXPECT_EQ(FarbeAusFarbwert(flaeche.Schrift().Farbe), Rot);
    ansicht.DruckModus = true;
    ansicht.ZahlZeichnen({0, 0}, "1", true, Grau, 0, s);
    EXPECT_EQ(flaeche.Elemente.back().Pinsel, Weiss);
}

TEST(Farbwert, PositivIstBgrNegativIstSystemfarbe) {
    EXPECT_EQ(FarbwertAusFarbe(TFarbe{1, 2, 3}), 0x030201);
    EXPECT_EQ(FarbeAusFarbwert(0x030201), (TFarbe{1, 2, 3}));
    EXPECT_EQ(FarbeAusFarbwert(-2147483640), Schwarz); // Fenstertext
    EXPECT_EQ(FarbeAusFarbwert(-2147483643), Weiss);   // Fenster
}

} // namespace
} // namespace tessomir
