// Löschen der Auswahl samt den Wegen ihrer Knoten: jedes Objekt genau einmal
// zerstört, die übrigen Knoten ohne die Wege und deren Scheiben. Ohne Verlauf
// gehen die gelöschten Objekte gleich mit dem Schritt.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "editing/USchritte.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "gemeinsam/TZaehlObjekte.h"
#include "model/UKnoten.h"

using namespace tessomir;
using namespace tessomir::test::zaehlend;
using tessomir::test::TAufzeichnung;
using tessomir::test::TModellBau;

namespace {

TEST(AuswahlLoeschen, KnotenMitSeinemWegInBeidenReihenfolgen) {
    for (const bool wegZuerst : {false, true}) {
        TAufzeichnung rec;
        TKette k;
        TFOListe& l = k.Bau.M().FOListe;
        if (wegZuerst) l.Auswaehlen(&k.W1, false);
        l.Auswaehlen(&k.V, false);
        if (!wegZuerst) l.Auswaehlen(&k.W1, false);
        AuswahlLoeschen(k.Bau.M(), nullptr);

        EXPECT_EQ(Zerstoert, (std::map<std::string, int>{{"V", 1}, {"W1", 1}, {"W2", 1}, {"W3", 1}}))
            << "Weg zuerst: " << wegZuerst;
        EXPECT_EQ(Namen(l), (std::vector<std::string>{"Q", "S", "S2"}));
        EXPECT_TRUE(l.Auswahl().empty());
        EXPECT_TRUE(k.Bau.M().Modifiziert);
        // Die übrigen Knoten haben die Wege und ihre Scheiben verloren.
        EXPECT_EQ(k.Q.AnzahlAusgaenge(), 0);
        EXPECT_EQ(k.Q.Matrix().Dim3(), 1);
        EXPECT_EQ(k.S.AnzahlEingaenge(), 0);
        EXPECT_EQ(k.S.Matrix().Dim2(), 1);
        EXPECT_EQ(k.S2.AnzahlEingaenge(), 0);
        EXPECT_TRUE(rec.Meldungen.empty());
        EXPECT_EQ(rec.Pieptoene, 0);
    }
}

TEST(AuswahlLoeschen, AllesInJederReihenfolgeJeEinmal) {
    for (const bool umgekehrt : {false, true}) {
        TAufzeichnung rec;
        TKette k;
        TFOListe& l = k.Bau.M().FOListe;
        std::vector<TFO*> alle;
        for (const auto& o : l.Alle()) alle.push_back(o.get());
        if (umgekehrt) std::reverse(alle.begin(), alle.end());
        for (TFO* o : alle) l.Auswaehlen(o, false);
        AuswahlLoeschen(k.Bau.M(), nullptr);
        EXPECT_EQ(Zerstoert, (std::map<std::string, int>{
                                 {"Q", 1}, {"V", 1}, {"S", 1}, {"S2", 1}, {"W1", 1}, {"W2", 1}, {"W3", 1}}));
        EXPECT_EQ(l.Anzahl(), 0u);
        EXPECT_TRUE(l.Auswahl().empty());
    }
}

TEST(AuswahlLoeschen, NurEinWeg) {
    TAufzeichnung rec;
    TKette k;
    TFOListe& l = k.Bau.M().FOListe;
    l.Auswaehlen(&k.W2, false);
    AuswahlLoeschen(k.Bau.M(), nullptr);
    EXPECT_EQ(Zerstoert, (std::map<std::string, int>{{"W2", 1}}));
    EXPECT_EQ(k.V.AnzahlAusgaenge(), 1);
    EXPECT_EQ(k.V.GetAusgang(0), &k.W3);
    EXPECT_EQ(k.V.Matrix().Dim3(), 2);
    EXPECT_EQ(k.S.AnzahlEingaenge(), 0);
    EXPECT_TRUE(k.Bau.M().Modifiziert);
}

TEST(AuswahlLoeschen, WegAnNichtUnterstuetztemAnschlussBleibtOhneKnoten) {
    // Eine Datei kann einen Weg in eine Quelle führen: die Quelle kennt ihn
    // nicht, der Weg aber sie. Nach dem Löschen der Quelle darf er nicht
    // mehr auf sie zeigen.
    TAufzeichnung rec;
    TModellBau bau;
    auto& s = bau.Knoten<TSenke>("S");
    auto& q = bau.Knoten<TZaehlQuelle>("Q");
    auto& v = bau.Knoten<TVerzweigung>("V");
    TWeg& w = ZaehlWeg(bau, v, q, "W");
    TWeg& x = ZaehlWeg(bau, s, v, "X");
    Zerstoert.clear();
    ASSERT_EQ(w.Ziel(), &q);
    ASSERT_EQ(x.Start(), &s);
    TFOListe& l = bau.M().FOListe;
    l.Auswaehlen(&q, false);
    l.Auswaehlen(&s, false);
    AuswahlLoeschen(bau.M(), nullptr);
    EXPECT_EQ(Zerstoert, (std::map<std::string, int>{{"Q", 1}}));
    EXPECT_EQ(Namen(l), (std::vector<std::string>{"X", "W", "V"}));
    EXPECT_EQ(w.Ziel(), nullptr);
    EXPECT_EQ(w.Start(), &v);
    EXPECT_EQ(x.Start(), nullptr);
    EXPECT_EQ(x.Ziel(), &v);
    const int piep = rec.Pieptoene;
    // Das Zerstören der Wege mit dem Modell berührt die gelöschten Knoten nicht.
    bau.Abgeben().reset();
    EXPECT_EQ(rec.Pieptoene, piep);
    EXPECT_EQ(Zerstoert["W"], 1);
    EXPECT_EQ(Zerstoert["X"], 1);
}

TEST(AuswahlLoeschen, LeereAuswahlAendertNichts) {
    TAufzeichnung rec;
    TKette k;
    AuswahlLoeschen(k.Bau.M(), nullptr);
    EXPECT_TRUE(Zerstoert.empty());
    EXPECT_EQ(k.Bau.M().FOListe.Anzahl(), 7u);
    EXPECT_FALSE(k.Bau.M().Modifiziert);
}

} // namespace
