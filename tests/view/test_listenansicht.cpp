#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

using test::TPrimitiv;

struct ListenTest : ::testing::Test {
    test::TAufzeichnung plattform;
    test::TModellBau bau;
    test::TAufzeichnendeFlaeche flaeche;
    TAnsicht ansicht{&flaeche};
    TFOListe& liste = bau.M().FOListe;
};

TEST_F(ListenTest, ZweiDurchgaengeSymboleZuerstAnzeigenDanach) {
    TModell& m = bau.M();
    m.Stromanzeige = 1;
    m.VerzweigBeschr = true;
    TQuelle& q = bau.Knoten<TQuelle>("Q", {0, 0});
    TVerzweigung& v = bau.Knoten<TVerzweigung>("V", {100, 0});
    TWeg& w = bau.Weg(q, v, "W");
    v.Matrix().ZelleSetzen(0, 1, 0, 7);
    liste.Auswaehlen(&q, false);
    ModellZeichnen(m, ansicht);
    std::vector<TPrimitiv::TArt> arten;
    for (const auto& e : flaeche.Elemente) arten.push_back(e.Art);
    // Weg (Linie, Pfeil), Quelle, Verzweigung mit Name; dann Wegzahl, Durchsatz.
    EXPECT_EQ(arten, (std::vector<TPrimitiv::TArt>{TPrimitiv::Polylinie, TPrimitiv::Polygon, TPrimitiv::Polygon,
                                                  TPrimitiv::Polygon, TPrimitiv::Textausgabe, TPrimitiv::Textausgabe,
                                                  TPrimitiv::Textausgabe}));
    EXPECT_EQ(flaeche.Elemente[2].Pinsel, Gelb); // die ausgewählte Quelle
    EXPECT_EQ(flaeche.Elemente[3].Pinsel, (TFarbe{0, 128, 255}));
    EXPECT_EQ(flaeche.Elemente[4].Text, "V");
    EXPECT_EQ(flaeche.Elemente[5].Text, "7.00");
    EXPECT_EQ(flaeche.Elemente[6].Text, "7.00");
    (void)w;
}

TEST_F(ListenTest, AuswahlZeichnenNurKnotenAlsUmriss) {
    TQuelle& q = bau.Knoten<TQuelle>("Q", {0, 0});
    TSenke& s = bau.Knoten<TSenke>("S", {100, 0});
    TWeg& w = bau.Weg(q, s);
    liste.Auswaehlen(&w, false);
    liste.Auswaehlen(&s, false);
    AuswahlZeichnen(liste, ansicht);
    ASSERT_EQ(flaeche.Elemente.size(), 1u);
    EXPECT_EQ(flaeche.Elemente[0].Modus, TStiftModus::NichtXor);
}

TEST_F(ListenTest, KnotenVorWegUeberlagerndeWegeReihum) {
    TVerzweigung& a = bau.Knoten<TVerzweigung>("A", {0, 0});
    TVerzweigung& b = bau.Knoten<TVerzweigung>("B", {100, 0});
    TWeg& w1 = bau.Weg(a, b);
    TWeg& w2 = bau.Weg(a, b);
    TWeg& w3 = bau.Weg(b, a);
    ansicht.Trefferpunkt = {2, 1};
    EXPECT_EQ(FindeObjekt(liste, ansicht), &a);
    ansicht.Trefferpunkt = {50, 1};
    // Wege stehen vorne in umgekehrter Einfügereihenfolge: w3, w2, w1.
    EXPECT_EQ(FindeObjekt(liste, ansicht), &w3);
    EXPECT_EQ(FindeObjekt(liste, ansicht), &w2);
    EXPECT_EQ(FindeObjekt(liste, ansicht), &w1);
    EXPECT_EQ(FindeObjekt(liste, ansicht), &w3);
    ansicht.Trefferpunkt = {50, 40};
    EXPECT_EQ(FindeObjekt(liste, ansicht), nullptr);
}

TEST_F(ListenTest, AuswaehlenMitUmschaltenAusDerAnsicht) {
    TQuelle& q = bau.Knoten<TQuelle>("Q");
    Auswaehlen(liste, ansicht, &q);
    Auswaehlen(liste, ansicht, &q);
    EXPECT_EQ(liste.Auswahl().size(), 1u);
    ansicht.Umschalten = true;
    Auswaehlen(liste, ansicht, &q);
    EXPECT_TRUE(liste.Auswahl().empty());
}

TEST_F(ListenTest, ZeichnungsgroesseUmfasstKnotenMitRand) {
    TModell& m = bau.M();
    bau.Knoten<TQuelle>("Q", {300, -200});
    bau.Knoten<TSenke>("S", {50, -20});
    const TBildpunkt g = Zeichnungsgroesse(m, ansicht);
    EXPECT_GT(g.X, 306);
    EXPECT_GT(g.Y, 206);
    EXPECT_LT(g.X, 400);
    EXPECT_LT(g.Y, 300);
    ansicht.Massstab = 2;
    EXPECT_GT(Zeichnungsgroesse(m, ansicht).X, 606);
}

} // namespace
} // namespace tessomir
