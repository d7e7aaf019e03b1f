// Regeln des Artikeldialogs: Namen, Auswahl nach Einfügen und Löschen, Modell.
#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UArtikelBearbeitung.h"

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

TEST(ArtikelAendern, MatrizenFolgenUndAuswahlNachLoeschen) {
    test::TAufzeichnung platt;
    test::TModellBau bau;
    auto d = bau.Durchlauf<TWandler>();
    TModell& m = bau.M();

    EXPECT_EQ(ArtikelHinzufuegen(m, "Glas"), 1);
    EXPECT_TRUE(m.Modifiziert);
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Artikel1", "Glas"}));
    EXPECT_EQ(d.Q.Matrix().Dim1(), 2);
    EXPECT_EQ(d.K.Matrix().Dim1(), 2);
    EXPECT_EQ(d.K.Matrix().Dim2(), 3);
    EXPECT_EQ(ArtikelHinzufuegen(m, "Holz"), 2);
    test::Menge(d.Q, 2, 9);

    m.Modifiziert = false;
    EXPECT_TRUE(ArtikelUmbenennen(m, 1, "Altglas"));
    EXPECT_TRUE(m.Modifiziert);
    EXPECT_FALSE(ArtikelUmbenennen(m, 3, "x"));

    EXPECT_EQ(ArtikelEntfernen(m, 0), 0); // der erste: der neue erste
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Altglas", "Holz"}));
    EXPECT_DOUBLE_EQ(d.Q.Matrix().W(1, 0, 1), 9); // Werte wandern mit ihrem Artikel
    EXPECT_EQ(ArtikelEntfernen(m, 1), 0); // der letzte: sein Vorgänger
    EXPECT_EQ(ArtikelEntfernen(m, 0), -1); // der letzte verbliebene bleibt
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Altglas"}));
    EXPECT_EQ(d.K.Matrix().Dim1(), 1);
    EXPECT_EQ(d.K.Matrix().Dim2(), 2);
    EXPECT_EQ(AuswahlNachLoeschen(3), 2);
}

} // namespace
