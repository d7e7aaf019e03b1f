// Umwandlung Windows-1252 <-> UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "base/UText.h"

using namespace tessomir;

TEST(Utf8AusAnsi, AsciiUnveraendert) {
    EXPECT_EQ(Utf8AusAnsi("Quelle 1 / 2"), "Quelle 1 / 2");
    EXPECT_EQ(Utf8AusAnsi(""), "");
    EXPECT_EQ(Utf8AusAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Utf8AusAnsi, UmlauteUndEuro) {
    EXPECT_EQ(Utf8AusAnsi("\xE4\xF6\xFC\xC4\xD6\xDC\xDF"), "\u00E4\u00F6\u00FC\u00C4\u00D6\u00DC\u00DF");
    EXPECT_EQ(Utf8AusAnsi("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(Utf8AusAnsi("Kapazit\xE4" "t"), "Kapazit\xC3\xA4t");
    EXPECT_EQ(Utf8AusAnsi("gr\xF6" "sser"), "gr\xC3\xB6sser");
}

TEST(Utf8AusAnsi, BereichAchtzigBisNeunundneunzig) {
    // Belegte Bytes werden zu ihren Zeichen, nicht zu Steuerzeichen.
    EXPECT_EQ(Utf8AusAnsi("\x84"), "\u201E");
    EXPECT_EQ(Utf8AusAnsi("\x8C"), "\u0152");
    EXPECT_EQ(Utf8AusAnsi("\x96"), "\u2013");
    EXPECT_EQ(Utf8AusAnsi("\x99"), "\u2122");
    EXPECT_EQ(Utf8AusAnsi("\x9F"), "\u0178");
    // Unbelegte Bytes gehen wie Latin-1 durch.
    EXPECT_EQ(Utf8AusAnsi("\x81"), "\xC2\x81");
    EXPECT_EQ(Utf8AusAnsi("\x9D"), "\xC2\x9D");
    EXPECT_EQ(Utf8AusAnsi("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
}

TEST(AnsiAusUtf8, UmlauteUndEuro) {
    EXPECT_EQ(AnsiAusUtf8("\u00E4\u00F6\u00FC\u00C4\u00D6\u00DC\u00DF"), "\xE4\xF6\xFC\xC4\xD6\xDC\xDF");
    EXPECT_EQ(AnsiAusUtf8("\u20AC 5"), "\x80 5");
    EXPECT_EQ(AnsiAusUtf8("\u0152\u2122\u0178"), "\x8C\x99\x9F");
}

TEST(AnsiAusUtf8, OhneEntsprechungFragezeichen) {
    EXPECT_EQ(AnsiAusUtf8("\u6F22"), "?");
    EXPECT_EQ(AnsiAusUtf8("a\U0001F600b"), "a?b");
    EXPECT_EQ(AnsiAusUtf8("\u0100"), "?");
    // U+0080 und U+0099 sind Steuerzeichen; ihre Bytes bedeuten in
    // Windows-1252 das Euro- und das Markenzeichen.
    EXPECT_EQ(AnsiAusUtf8("\xC2\x80"), "?");
    EXPECT_EQ(AnsiAusUtf8("\xC2\x99"), "?");
}

TEST(AnsiAusUtf8, KaputteFolgenWerdenZuFragezeichen) {
    EXPECT_EQ(AnsiAusUtf8("a\xFF" "b"), "a?b");
    EXPECT_EQ(AnsiAusUtf8("\x80x"), "?x");
    // Abgebrochene Folge am Ende: kein Lesen über das Ende hinaus.
    const std::string kaputt = AnsiAusUtf8("x\xE2\x82");
    ASSERT_FALSE(kaputt.empty());
    EXPECT_EQ(kaputt[0], 'x');
    EXPECT_EQ(kaputt.find_first_not_of('?', 1), std::string::npos);
    // Folgebyte fehlt mitten im Text: das ASCII-Zeichen bleibt erhalten.
    EXPECT_EQ(AnsiAusUtf8("\xC3" "a").back(), 'a');
}

// Ein Grund auf eigener Zeile beginnt groß; was nicht klein beginnt, bleibt.
TEST(Satzanfang, KleinerAnfangWirdGross) {
    EXPECT_EQ(Satzanfang("die Datei ist leer"), "Die Datei ist leer");
    EXPECT_EQ(Satzanfang("\xFC" "ber 100"), "\xDC" "ber 100"); // ü -> Ü
    EXPECT_EQ(Satzanfang("\xDF"), "\xDF");                   // ß hat keinen großen
    EXPECT_EQ(Satzanfang("\xF7 2"), "\xF7 2");               // ÷ ist kein Buchstabe
    EXPECT_EQ(Satzanfang("'abc' ist keine Zahl"), "'abc' ist keine Zahl");
    EXPECT_EQ(Satzanfang(""), "");
    EXPECT_EQ(MeldungMitGrund("Die Datei a.TSR kann nicht ge\xF6" "ffnet werden.", "der Pfad ist ein Ordner"),
              "Die Datei a.TSR kann nicht ge\xF6" "ffnet werden.\nDer Pfad ist ein Ordner");
}

TEST(AnsiUtf8, JedesByteUeberlebtDenRueckweg) {
    std::string alle;
    for (int b = 0; b < 256; ++b) alle += static_cast<char>(b);
    EXPECT_EQ(AnsiAusUtf8(Utf8AusAnsi(alle)), alle);
}
