// Adressen der Hilfethemen und der Warnton, ohne Fenster.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gemeinsam/TAufzeichnung.h"
#include "help/UHilfe.h"

namespace tessomir {
namespace {

class TMerkenderBetrachter final : public IHilfeBetrachter {
public:
    bool AdresseZeigen(const std::string& adresse) override {
        Adressen.push_back(adresse);
        return Antwort;
    }
    std::vector<std::string> Adressen;
    bool Antwort = true;
};

class THilfe : public ::testing::Test {
protected:
    void SetUp() override { HilfeBetrachterSetzen(&Betrachter); }
    void TearDown() override { HilfeBetrachterSetzen(nullptr); }
    test::TAufzeichnung Plattform;
    TMerkenderBetrachter Betrachter;
};

TEST_F(THilfe, LeeresThemaOeffnetDieStartseiteMitSchraegstrichen) {
    HilfeZeigen("");
    ASSERT_EQ(Betrachter.Adressen.size(), 1u);
    EXPECT_EQ(Betrachter.Adressen[0], ProgrammVerzeichnis() + "Tessomir.chm::/Allgemeines/Anfang.htm");
    EXPECT_EQ(Plattform.Pieptoene, 0);
}

TEST_F(THilfe, ThemaDesHauptfensters) {
    HilfeZeigen("uebersicht.htm");
    ASSERT_EQ(Betrachter.Adressen.size(), 1u);
    EXPECT_EQ(Betrachter.Adressen[0], ProgrammVerzeichnis() + "Tessomir.chm::/uebersicht.htm");
}

TEST_F(THilfe, BetrachterOhneErfolgGibtDenWarnton) {
    Betrachter.Antwort = false;
    HilfeZeigen("gibtesnicht.htm");
    EXPECT_EQ(Plattform.Pieptoene, 1);
    EXPECT_TRUE(Plattform.Meldungen.empty());
}

TEST_F(THilfe, OhneBetrachterWarnton) {
    HilfeBetrachterSetzen(nullptr);
    HilfeZeigen("uebersicht.htm");
    EXPECT_EQ(Plattform.Pieptoene, 1);
}

TEST(HilfeAdresse, SchraegstrichVornNurEinmal) {
    EXPECT_EQ(HilfeAdresse("/p/Tessomir.chm", "/uebersicht.htm"), "/p/Tessomir.chm::/uebersicht.htm");
    EXPECT_EQ(HilfeAdresse("/p/Tessomir.chm", "uebersicht.htm"), "/p/Tessomir.chm::/uebersicht.htm");
}

TEST(HilfeAdresse, Prozent20UndLeerzeichenAmRand) {
    EXPECT_EQ(HilfeAdresse("  /opt/Mein%20Programm/Tessomir.chm ", " Allgemeines\\Anfang.htm%20"),
              "/opt/Mein Programm/Tessomir.chm::/Allgemeines/Anfang.htm");
    // Ein Leerzeichen in der Mitte bleibt.
    EXPECT_EQ(HilfeAdresse("a b.chm", "x%20y.htm"), "a b.chm::/x y.htm");
}

TEST(HilfeAdresse, OhneThemaNurDieDateiMitFensterHinten) {
    EXPECT_EQ(HilfeAdresse("/p/Tessomir.chm", "  "), "/p/Tessomir.chm");
    EXPECT_EQ(HilfeAdresse("/p/Tessomir.chm", "%20"), "/p/Tessomir.chm");
    EXPECT_EQ(HilfeAdresse("/p/T.chm", "a\\b.htm", " Haupt "), "/p/T.chm::/a/b.htm>Haupt");
    EXPECT_EQ(HilfeAdresse("/p/T.chm", "", "Haupt"), "/p/T.chm>Haupt");
}

TEST(HilfeAdresse, ZerlegenKehrtDasBildenUm) {
    const THilfeZiel ziel = HilfeAdresseZerlegen(HilfeAdresse("/a::b/T.chm", "x/y.htm", "F"));
    EXPECT_EQ(ziel.Datei, "/a::b/T.chm");
    EXPECT_EQ(ziel.Thema, "/x/y.htm");
    EXPECT_EQ(ziel.Fenster, "F");
    const THilfeZiel nurDatei = HilfeAdresseZerlegen("/p/T.chm");
    EXPECT_EQ(nurDatei.Datei, "/p/T.chm");
    EXPECT_EQ(nurDatei.Thema, "");
}

TEST(HilfeAdresse, ProgrammVerzeichnisEndetMitSchraegstrich) {
    const std::string ordner = ProgrammVerzeichnis();
    ASSERT_FALSE(ordner.empty());
    EXPECT_EQ(ordner.front(), '/');
    EXPECT_EQ(ordner.back(), '/');
    EXPECT_NE(ordner.find("tests/help"), std::string::npos);
}

TEST(HilfeAdresse, DebugSchalterIstKeineModelldatei) {
    for (const char* p : {"/debug", "-debug", "/DEBUG", "-Debug"}) EXPECT_TRUE(IstHilfeSchalter(p)) << p;
    for (const char* p : {"debug", "/debugx", "Anlage.TSR", "", "--debug"}) EXPECT_FALSE(IstHilfeSchalter(p)) << p;
}

} // namespace
} // namespace tessomir
