// Suchen: Teile von Namen, Groß/klein, Umlaute und ß, "#Nr", Weitersuchen mit
// Umbruch; das Objekt einer Protokollzeile.
#include <gtest/gtest.h>

#include "editing/USuche.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::TModellBau;

// "#" und die Nummer (angehängt statt "#" + ...: GCC 12 warnt dort grundlos).
std::string Raute(uint32_t nr) {
    std::string s = "#";
    s += std::to_string(nr);
    return s;
}

TEST(Suche, FaltetGrossKleinUmlauteUndEszett) {
    EXPECT_EQ(Suchform("M\xDC" "HLE Stra\xDF" "e \xC4\xD6\xE9"), "muehle strasse aeoe\xE9");
    EXPECT_EQ(Suchform("\xC9t\xE9 \xD7 \xDE"), "\xE9t\xE9 \xD7 \xFE");

    TModellBau bau;
    auto& m = bau.Knoten<TVerzweigung>("Getreidem\xFChle");
    auto& s = bau.Knoten<TSenke>("Stra\xDF" "enablauf");
    for (const char* passt : {"m\xFChle", "MUEHLE", "M\xDCHLE", "muehle", "  reidem  "})
        EXPECT_TRUE(TSuche(passt).Passt(m)) << passt;
    for (const char* passt : {"strasse", "STRASSE", "stra\xDF", "Stra\xDF" "e"}) EXPECT_TRUE(TSuche(passt).Passt(s)) << passt;
    EXPECT_FALSE(TSuche("muhle").Passt(m));
    EXPECT_FALSE(TSuche("").Passt(m));
    EXPECT_FALSE(TSuche("   ").Passt(m));
    EXPECT_TRUE(TSuche("   ").Leer());
    // Das Modell selbst ist kein Treffer, auch nicht über seinen Namen oder seine Nummer.
    EXPECT_FALSE(TSuche(Raute(bau.M().FONr)).Passt(bau.M()));
}

TEST(Suche, NummerMitRaute) {
    TModellBau bau;
    auto st = bau.Strecke("Q12", "S", "W");
    const std::string nr = Raute(st.W.FONr);
    EXPECT_TRUE(TSuche(nr).Passt(st.W));
    EXPECT_TRUE(TSuche(" " + nr + " ").Passt(st.W));
    EXPECT_FALSE(TSuche(nr).Passt(st.Q));
    // Keine reine Nummer: dann ist es ein Namensteil.
    EXPECT_FALSE(TSuche(nr + "x").Passt(st.W));
    EXPECT_FALSE(TSuche("#").Passt(st.W));
    EXPECT_FALSE(TSuche("#99999999999").Passt(st.W));
    st.Q.Name = "Lager #7";
    EXPECT_TRUE(TSuche("r #7").Passt(st.Q));
}

TEST(Suche, WeitersuchenInListenfolgeMitUmbruch) {
    TModellBau bau;
    // Wege stehen vorn in der Liste, Knoten hinten.
    auto& a = bau.Knoten<TQuelle>("Kies A");
    auto& b = bau.Knoten<TVerzweigung>("Sand");
    auto& c = bau.Knoten<TSenke>("Kies C");
    TWeg& w = bau.Weg(a, b, "Kiesband");
    bau.Weg(b, c, "Band");
    const TSuche kies("kies");
    TSuchtreffer t = NaechsterTreffer(bau.M(), kies, nullptr);
    EXPECT_EQ(t.Objekt, &w);
    EXPECT_FALSE(t.Umgebrochen);
    t = NaechsterTreffer(bau.M(), kies, t.Objekt);
    EXPECT_EQ(t.Objekt, &a);
    t = NaechsterTreffer(bau.M(), kies, t.Objekt);
    EXPECT_EQ(t.Objekt, &c);
    EXPECT_FALSE(t.Umgebrochen);
    t = NaechsterTreffer(bau.M(), kies, t.Objekt);
    EXPECT_EQ(t.Objekt, &w);
    EXPECT_TRUE(t.Umgebrochen);

    // Ein einziger Treffer findet sich selbst wieder, mit Umbruch.
    t = NaechsterTreffer(bau.M(), TSuche("sand"), &b);
    EXPECT_EQ(t.Objekt, &b);
    EXPECT_TRUE(t.Umgebrochen);
    EXPECT_EQ(NaechsterTreffer(bau.M(), TSuche("lehm"), &b).Objekt, nullptr);
    EXPECT_EQ(NaechsterTreffer(bau.M(), TSuche(""), nullptr).Objekt, nullptr);
}

TEST(Suche, IndexFindetDasselbeWieDieObjekte) {
    TModellBau bau;
    auto& a = bau.Knoten<TQuelle>("Kies A");
    auto& b = bau.Knoten<TVerzweigung>("Stra\xDF" "e");
    auto& c = bau.Knoten<TSenke>("KIES c");
    bau.Weg(a, b, "Kiesband");
    bau.Weg(b, c, "Band");
    bau.Knoten<TWandler>("");
    TSuchindex index;
    EXPECT_FALSE(index.Gebaut());
    index.Aufbauen(bau.M());
    ASSERT_TRUE(index.Gebaut());
    std::vector<const TFO*> nachListe{nullptr};
    for (const auto& o : bau.M().FOListe.Alle()) nachListe.push_back(o.get());
    for (const char* text : {"kies", "band", "strasse", "e", "ies c", "a\nk", "fehlt", "", "#3", "#999"}) {
        const TSuche suche(text);
        for (const TFO* nach : nachListe) {
            const TSuchtreffer erwartet = NaechsterTreffer(bau.M(), suche, nach);
            const TSuchtreffer t = index.Naechster(suche, nach);
            EXPECT_EQ(t.Objekt, erwartet.Objekt) << text;
            EXPECT_EQ(t.Umgebrochen, erwartet.Umgebrochen) << text;
        }
    }
    index.Verwerfen();
    EXPECT_FALSE(index.Gebaut());
    EXPECT_EQ(index.Naechster(TSuche("kies"), nullptr).Objekt, nullptr);
}

TEST(Suche, ObjektEinerProtokollzeile) {
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& v = bau.Knoten<TVerzweigung>("V ] 2");
    auto& s = bau.Knoten<TSenke>(std::string(100, 'x'));
    EXPECT_EQ(ObjektAusZeile(bau.M(), "[ Q ] : Quelle hat keinen Ausgang"), &q);
    // Ein Name mit " ]" darin und eine Klammer ohne Objekt davor.
    EXPECT_EQ(ObjektAusZeile(bau.M(), "[ Artikel ] fehlt in [ V ] 2 ] 2. Eingang "), &v);
    // Lange Namen stehen gekürzt in der Zeile, wie Titel sie schreibt.
    EXPECT_EQ(ObjektAusZeile(bau.M(), s.Titel() + " : Senke hat keinen Eingang"), &s);
    EXPECT_EQ(ObjektAusZeile(bau.M(), "Berechnung OK"), nullptr);
    EXPECT_EQ(ObjektAusZeile(bau.M(), "[ R ]"), nullptr);
    EXPECT_EQ(ObjektAusZeile(bau.M(), "[ Q"), nullptr);
}

} // namespace
} // namespace tessomir
