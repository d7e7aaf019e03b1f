// Namensregeln des Artikeldialogs; Einfügen und Löschen prüft der Dialogtest.
#include <gtest/gtest.h>

#include "editing/UArtikelBearbeitung.h"

using namespace tessomir;

namespace {

TEST(ArtikelName, GleichheitOhneGrossKleinAuchBeiUmlautenLeerzeichenZaehlen) {
    const std::vector<std::string> liste{"Papier", "\xD6l", "Stra\xDF" "e"};
    EXPECT_FALSE(ArtikelNameFrei(liste, "PAPIER"));
    EXPECT_FALSE(ArtikelNameFrei(liste, "\xF6L")); // öL gegen Öl
    EXPECT_FALSE(ArtikelNameFrei(liste, ""));
    EXPECT_TRUE(ArtikelNameFrei(liste, "Papier ")); // nichts wird gekürzt
    EXPECT_TRUE(ArtikelNameFrei(liste, "Pappe"));
    EXPECT_TRUE(ArtikelNameFrei(liste, "STRASSE")); // ß ist kein SS
    EXPECT_TRUE(GleichOhneGrossKlein("\x8A" "\x9F", "\x9A" "\xFF")); // Š Ÿ
    EXPECT_FALSE(GleichOhneGrossKlein("\xD7", "\xF7")); // × und ÷ sind keine Buchstaben
}

TEST(ArtikelName, EineZeileAusWindows1252) {
    EXPECT_EQ(ArtikelNamensFehler("Gr\xC3\xBCngut \xE2\x82\xAC"), ""); // Grüngut €
    EXPECT_NE(ArtikelNamensFehler("Reis \xE7\xB1\xB3").find("Windows-1252"), std::string::npos);
    EXPECT_EQ(ArtikelNamensFehler("a\nb"), "Der Name darf keinen Zeilenumbruch enthalten.");
    EXPECT_EQ(ArtikelNamensFehler("a\tb"), "Der Name darf keine Steuerzeichen enthalten.");
    EXPECT_NE(ArtikelNamensFehler("\xFF"), ""); // kein UTF-8
}

} // namespace
