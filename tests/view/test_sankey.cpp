// Die Sankey-Ansicht: Bänder so breit wie ihr Strom, Artikel nebeneinander,
// Mindestbreite, Kapazitätsumriss, rot an der Kapazität, Zoom und fester
// Massstab, eine Schleife einmal gezeichnet, Treffer auf dem Band, Legende.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/UBerechnung.h"
#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TModellBau.h"
#include "view/UDarstellung.h"
#include "view/USankey.h"

namespace tessomir {
namespace {

using test::TAufzeichnendeFlaeche;
using test::TModellBau;
using test::TPrimitiv;

// Zwei waagrechte Strecken übereinander (100 Punkte lang), Liefermengen 10 und 5.
struct TZweiStrecken {
    TModellBau Bau;
    TModellBau::TStrecke A = Bau.Strecke("QA", "SA");
    TModellBau::TStrecke B = Bau.Strecke("QB", "SB");
    TZweiStrecken() {
        A.Q.Refpunkt = {0, -100};
        A.S.Refpunkt = {100, -100};
        B.Q.Refpunkt = {0, -200};
        B.S.Refpunkt = {100, -200};
        test::Menge(A.Q, 0, 10);
        test::Menge(B.Q, 0, 5);
        EXPECT_EQ(ModellNeuberechnen(Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    }
};

TAnsicht SankeyAnsicht(IZeichenflaeche& f, double massstab = 1.0) {
    TAnsicht a(&f);
    a.Massstab = massstab;
    a.Sankey = TSankey{};
    return a;
}

// Die Polygone in einer Farbe.
std::vector<TPrimitiv> Flaechen(const TAufzeichnendeFlaeche& f, TFarbe farbe) {
    std::vector<TPrimitiv> p;
    for (const TPrimitiv& e : f.Alle(TPrimitiv::Polygon))
        if (e.Pinsel == farbe) p.push_back(e);
    return p;
}

TEST(Sankey, BreiteFolgtDemStromBeiJedemZoomUndFestemMassstab) {
    TZweiStrecken n;
    TAufzeichnendeFlaeche f;
    for (const double zoom : {1.0, 1.2 * 1.2, 1 / 1.2}) {
        TAnsicht a = SankeyAnsicht(f, zoom);
        SankeyMassstabSetzen(n.Bau.M(), a);
        // Der grösste Strom bekommt die eingestellte Breite, der halbe die Hälfte.
        EXPECT_NEAR(WegBand(n.A.W, a)->Breite, 40 * zoom, 0.5);
        EXPECT_NEAR(WegBand(n.B.W, a)->Breite, 20 * zoom, 0.5);
    }
    TAnsicht a = SankeyAnsicht(f);
    a.Sankey->MengeJePunkt = 0.5; // 1 Punkt = 0,5 Mengeneinheiten
    SankeyMassstabSetzen(n.Bau.M(), a);
    EXPECT_NEAR(WegBand(n.A.W, a)->Breite, 20, 0.5);
    EXPECT_NEAR(WegBand(n.B.W, a)->Breite, 10, 0.5);
    a.Sankey->MengeJePunkt = 0;
    a.Sankey->Breite = 60;
    SankeyMassstabSetzen(n.Bau.M(), a);
    EXPECT_NEAR(WegBand(n.B.W, a)->Breite, 30, 0.5);

    // Gezeichnet: ein Viereck je Band, seine Ecken quer zur Linie um die Breite auseinander.
    f.Elemente.clear();
    a.Sankey->Breite = 40;
    ModellZeichnen(n.Bau.M(), a);
    const std::vector<TPrimitiv> baender = Flaechen(f, ArtikelFarbe(0));
    ASSERT_EQ(baender.size(), 2U);
    for (const TPrimitiv& b : baender) {
        ASSERT_EQ(b.Punkte.size(), 4U);
        const int breite = std::abs(b.Punkte[0].Y - b.Punkte[3].Y);
        EXPECT_TRUE(breite == 40 || breite == 20) << breite;
        EXPECT_EQ(b.Punkte[0].X, 0);
        EXPECT_EQ(b.Punkte[1].X, 100);
    }
}

TEST(Sankey, MindestbreiteUndDuenneLinieOhneStrom) {
    TZweiStrecken n;
    test::Menge(n.B.Q, 0, 0.001);
    ModellNeuberechnen(n.Bau.M());
    TAufzeichnendeFlaeche f;
    TAnsicht a = SankeyAnsicht(f);
    SankeyMassstabSetzen(n.Bau.M(), a);
    EXPECT_EQ(WegBand(n.B.W, a)->Breite, 1.0);
    // Vor der ersten Berechnung (Ströme nur aus der Datei) keine Bänder.
    n.Bau.M().MaxStromBerechnet = -1.0;
    SankeyMassstabSetzen(n.Bau.M(), a);
    EXPECT_FALSE(WegBand(n.A.W, a));
    n.Bau.M().MaxStromBerechnet = 10.0;
    // Ohne Strom bleibt die Linie von heute.
    test::Menge(n.B.Q, 0, 0);
    ModellNeuberechnen(n.Bau.M());
    SankeyMassstabSetzen(n.Bau.M(), a);
    EXPECT_FALSE(WegBand(n.B.W, a));
    TModellBau leer;
    auto s = leer.Strecke();
    s.S.Refpunkt = {100, 0};
    TAnsicht b = SankeyAnsicht(f);
    f.Elemente.clear();
    ModellZeichnen(leer.M(), b);
    EXPECT_EQ(b.Sankey->Geltend, 0.0);
    const std::vector<TPrimitiv> linien = f.Alle(TPrimitiv::Polylinie);
    ASSERT_FALSE(linien.empty());
    EXPECT_EQ(linien[0].Stift, Grau);
}

TEST(Sankey, ArtikelNebeneinanderInFestenFarben) {
    TZweiStrecken n;
    TModell& m = n.Bau.M();
    m.ArtikelEinfuegen("Glas");
    m.ArtikelEinfuegen("Holz");
    test::Menge(n.A.Q, 0, 6);
    test::Menge(n.A.Q, 1, 0);
    test::Menge(n.A.Q, 2, 4);
    m.SummeAllerArtikel = true;
    ModellNeuberechnen(m);
    TAufzeichnendeFlaeche f;
    TAnsicht a = SankeyAnsicht(f);
    SankeyMassstabSetzen(m, a);
    const std::optional<TBand> b = WegBand(n.A.W, a);
    ASSERT_TRUE(b);
    // Artikel 1 ohne Strom fehlt; die Summe (10) ist der grösste Strom.
    ASSERT_EQ(b->Streifen.size(), 2U);
    EXPECT_EQ(b->Streifen[0].Artikel, 0);
    EXPECT_EQ(b->Streifen[1].Artikel, 2);
    EXPECT_NEAR(b->Streifen[0].Breite, 24, 0.5);
    EXPECT_NEAR(b->Streifen[1].Breite, 16, 0.5);
    // Links der Laufrichtung (von links nach rechts: oben) der erste Artikel.
    ModellZeichnen(m, a);
    const std::vector<TPrimitiv> erster = Flaechen(f, ArtikelFarbe(0));
    const std::vector<TPrimitiv> dritter = Flaechen(f, ArtikelFarbe(2));
    ASSERT_EQ(dritter.size(), 1U);
    const auto oben = [](const TPrimitiv& p) { return std::min(p.Punkte[0].Y, p.Punkte[3].Y); };
    const TBildpunkt q = a.Transformieren(n.A.Q.Refpunkt);
    bool gefunden = false;
    for (const TPrimitiv& p : erster)
        if (p.Punkte[0].X == q.X && std::abs(oben(p) - (q.Y - 20)) <= 1) gefunden = true;
    EXPECT_TRUE(gefunden);
    EXPECT_NEAR(oben(dritter[0]), q.Y + 4, 1);
    // Die Farben sind verschieden und wiederholen sich erst nach der Reihe.
    for (int i = 0; i < ArtikelFarbenAnzahl; ++i)
        for (int j = i + 1; j < ArtikelFarbenAnzahl; ++j) EXPECT_NE(ArtikelFarbe(i), ArtikelFarbe(j));
    EXPECT_EQ(ArtikelFarbe(ArtikelFarbenAnzahl), ArtikelFarbe(0));
    for (int i = 0; i < ArtikelFarbenAnzahl; ++i) EXPECT_NE(ArtikelFarbe(i), Rot);
}

TEST(Sankey, KapazitaetAlsUmrissUndRotAnDerGrenze) {
    TZweiStrecken n;
    n.A.W.Kapazitaet = 20;  // doppelt so breit wie der Strom
    n.B.W.Kapazitaet = 5;   // erreicht
    TAufzeichnendeFlaeche f;
    TAnsicht a = SankeyAnsicht(f);
    SankeyMassstabSetzen(n.Bau.M(), a);
    EXPECT_NEAR(WegBand(n.A.W, a)->Kapazitaet, 80, 0.5);
    EXPECT_FALSE(WegBand(n.A.W, a)->Voll);
    EXPECT_TRUE(WegBand(n.B.W, a)->Voll);
    ModellZeichnen(n.Bau.M(), a);
    // Das volle Band ist rot gefüllt und rot umrandet, der Umriss des anderen grau.
    EXPECT_EQ(Flaechen(f, Rot).size(), 1U);
    int graueUmrisse = 0, roteUmrisse = 0;
    for (const TPrimitiv& p : f.Alle(TPrimitiv::Polylinie)) {
        if (p.Punkte.size() != 6) continue;
        const int quer = std::abs(p.Punkte[0].Y - p.Punkte[2].Y);
        if (p.Stift == Grau && quer == 80) ++graueUmrisse;
        if (p.Stift == Rot) ++roteUmrisse;
    }
    EXPECT_EQ(graueUmrisse, 1);
    EXPECT_EQ(roteUmrisse, 3); // Kapazität und zwei Punkte Rand des vollen Wegs
    // Ausgewählt: ein Rahmen aussen um das Band (halbe Breite 10 + 2 und + 3),
    // sichtbar auch um ein rot gefülltes.
    f.Elemente.clear();
    n.Bau.M().FOListe.Auswaehlen(&n.B.W, false);
    ModellZeichnen(n.Bau.M(), a);
    std::vector<int> rahmen;
    for (const TPrimitiv& p : f.Alle(TPrimitiv::Polylinie))
        if (p.Stift == Rot && p.Punkte.size() == 6) rahmen.push_back(std::abs(p.Punkte[0].Y - p.Punkte[2].Y));
    EXPECT_NE(std::find(rahmen.begin(), rahmen.end(), 24), rahmen.end());
    EXPECT_NE(std::find(rahmen.begin(), rahmen.end(), 26), rahmen.end());
    // Die voreingestellte Kapazität liegt weit über allem: kein Umriss.
    n.A.W.Kapazitaet = 1000000;
    EXPECT_EQ(WegBand(n.A.W, a)->Kapazitaet, 0.0);
}

TEST(Sankey, SchleifeEinmalMitRichtigenBreiten) {
    TModellBau bau;
    const TModellBau::TRueckfluss r = bau.Rueckfluss();
    r.Q.Refpunkt = {0, -100};
    r.V1.Refpunkt = {100, -100};
    r.V2.Refpunkt = {200, -100};
    r.S.Refpunkt = {300, -100};
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    TAufzeichnendeFlaeche f;
    TAnsicht a = SankeyAnsicht(f);
    ModellZeichnen(bau.M(), a);
    // Jeder Weg ein Band, keiner doppelt; 125 durch die Schleife sind die vollen 40 Punkte.
    size_t wege = 0;
    for (const auto& o : bau.M().FOListe.Alle())
        if (const TWeg* w = o->AlsWeg()) {
            ++wege;
            const std::optional<TBand> b = WegBand(*w, a);
            ASSERT_TRUE(b);
            EXPECT_NEAR(b->Breite, 40 * w->Strom() / 125.0, 0.5);
        }
    EXPECT_EQ(Flaechen(f, ArtikelFarbe(0)).size(), wege);
}

TEST(Sankey, KlickAufDasBandWaehltDenWeg) {
    TZweiStrecken n;
    TAufzeichnendeFlaeche f;
    TAnsicht a = SankeyAnsicht(f);
    const TBildpunkt p = a.Transformieren(n.A.Q.Refpunkt);
    // 15 Punkte neben der Linie: im Band (halbe Breite 20), für die Linie zu weit.
    a.Trefferpunkt = TBildpunkt{p.X + 50, p.Y + 15};
    EXPECT_EQ(FindeObjekt(n.Bau.M().FOListe, a), &n.A.W);
    a.Sankey.reset();
    EXPECT_EQ(FindeObjekt(n.Bau.M().FOListe, a), nullptr);
    a.Sankey = TSankey{};
    a.Trefferpunkt = TBildpunkt{p.X + 50, p.Y + 25};
    EXPECT_EQ(FindeObjekt(n.Bau.M().FOListe, a), nullptr);
    // Knoten gehen vor.
    a.Trefferpunkt = p;
    EXPECT_EQ(FindeObjekt(n.Bau.M().FOListe, a), &n.A.Q);
}

TEST(Sankey, LegendeMitArtikelnUndMassstab) {
    TZweiStrecken n;
    n.Bau.M().ArtikelEinfuegen("Glas");
    n.Bau.M().SummeAllerArtikel = true;
    TAufzeichnendeFlaeche f;
    TAnsicht a = SankeyAnsicht(f);
    SankeyMassstabSetzen(n.Bau.M(), a);
    const TTextgroesse g = SankeyLegende(n.Bau.M(), a, {10, 300});
    EXPECT_EQ(SankeyLegende(n.Bau.M(), a, {10, 300}, false), g);
    std::vector<std::string> texte;
    for (const TPrimitiv& t : f.Alle(TPrimitiv::Textausgabe)) texte.push_back(t.Text);
    ASSERT_EQ(texte.size(), 3U);
    EXPECT_EQ(texte[1], "Glas");
    // 40 Punkte für 10: eine runde Menge von etwa 20 Punkten ist 5.
    EXPECT_EQ(texte[2], "= 5 (1 Punkt = 0.25)");
    std::vector<TFarbe> felder;
    for (const TPrimitiv& r : f.Alle(TPrimitiv::Rechteck)) felder.push_back(r.Pinsel);
    EXPECT_EQ(felder, (std::vector<TFarbe>{Weiss, ArtikelFarbe(0), ArtikelFarbe(1)}));
    const std::vector<TPrimitiv> balken = f.Alle(TPrimitiv::RechteckFuellen);
    ASSERT_EQ(balken.size(), 1U);
    EXPECT_EQ(balken[0].R.Unten - balken[0].R.Oben, 20);
    // Die Legende liegt über der Ecke.
    EXPECT_EQ(f.Alle(TPrimitiv::Rechteck)[0].R, (TRechteck{10, 300 - g.Hoehe, 10 + g.Breite, 300}));
}

} // namespace
} // namespace tessomir
