// Werthelfer: Zahlen, Punkte, Wahrheitswerte, Schlüssel, Felder und die
// Prüfung eingegebener Zahlen.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "gemeinsam/TAufzeichnung.h"
#include "base/UFehler.h"
#include "base/UWerte.h"

using namespace tessomir;
using tessomir::test::TAufzeichnung;
using tessomir::test::TMeldung;

namespace {

const std::string Kapazitaet = "Kapazit\xE4" "t";

} // namespace

// ---------------------------------------------------------------- Zahl -> Text

TEST(TextAusFloat, GanzeZahlenUndBrueche) {
    EXPECT_EQ(TextAusFloat(1000000), "1000000");
    EXPECT_EQ(TextAusFloat(0.5), "0.5");
    EXPECT_EQ(TextAusFloat(-1), "-1");
    EXPECT_EQ(TextAusFloat(12.5), "12.5");
    EXPECT_EQ(TextAusFloat(-0.25), "-0.25");
    EXPECT_EQ(TextAusFloat(100), "100");
}

TEST(TextAusFloat, NullOhneVorzeichen) {
    EXPECT_EQ(TextAusFloat(0.0), "0");
    EXPECT_EQ(TextAusFloat(-0.0), "0");
}

TEST(TextAusFloat, HoechstensFuenfzehnStellen) {
    EXPECT_EQ(TextAusFloat(0.1 + 0.2), "0.3");
    EXPECT_EQ(TextAusFloat(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(TextAusFloat(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(TextAusFloat(999999999999999.0), "999999999999999");
    EXPECT_EQ(TextAusFloat(123456.789012345678), "123456.789012346");
}

TEST(TextAusFloat, ExponentNurAusserhalbDesFestbereichs) {
    // 0.00001 ist die kleinste Zahl ohne Exponent.
    EXPECT_EQ(TextAusFloat(0.00001), "0.00001");
    EXPECT_EQ(TextAusFloat(0.000012), "0.000012");
    EXPECT_EQ(TextAusFloat(0.000001), "1E-6");
    EXPECT_EQ(TextAusFloat(0.00000015), "1.5E-7");
    EXPECT_EQ(TextAusFloat(-0.000001), "-1E-6");
    // 15 Vorkommastellen noch fest, 16 mit Exponent.
    EXPECT_EQ(TextAusFloat(1e15), "1E15");
    EXPECT_EQ(TextAusFloat(123456789012345678.0), "1.23456789012346E17");
    EXPECT_EQ(TextAusFloat(7.8125e118), "7.8125E118");
    EXPECT_EQ(TextAusFloat(1e-300), "1E-300");
    EXPECT_EQ(TextAusFloat(std::numeric_limits<double>::max()), "1.79769313486232E308");
}

TEST(TextAusFloat, SubnormaleWerteAufFuenfzehnStellenGerundet) {
    // Die kürzeste Rückumwandlung "5E-324" wäre zu grob: gerundet wird der
    // exakte Binärwert.
    EXPECT_EQ(TextAusFloat(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
}

TEST(TextAusFloat, Sonderwerte) {
    EXPECT_EQ(TextAusFloat(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(TextAusFloat(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(TextAusFloat(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(TextAusFloat, DezimalzeichenWirdUebergeben) {
    EXPECT_EQ(TextAusFloat(0.5, ','), "0,5");
    EXPECT_EQ(TextAusFloat(1.5e-7, ','), "1,5E-7");
    EXPECT_EQ(TextAusFloat(1000000, ','), "1000000");
}

// ---------------------------------------------------------------- Festformat

TEST(TextAusFloatFest, RundetHaelftenVomNullWegAmExaktenBinaerwert) {
    EXPECT_EQ(TextAusFloatFest(0.125, 2, '.'), "0.13");
    EXPECT_EQ(TextAusFloatFest(-0.125, 2, '.'), "-0.13");
    EXPECT_EQ(TextAusFloatFest(2.5, 0, '.'), "3");
    EXPECT_EQ(TextAusFloatFest(-2.5, 0, '.'), "-3");
    EXPECT_EQ(TextAusFloatFest(0.5, 0, '.'), "1");
    EXPECT_EQ(TextAusFloatFest(1.5, 0, '.'), "2");
    // Binär knapp unter der Hälfte: abrunden.
    EXPECT_EQ(TextAusFloatFest(2.675, 2, '.'), "2.67");
    EXPECT_EQ(TextAusFloatFest(1.005, 2, '.'), "1.00");
    // Binär knapp darüber: aufrunden.
    EXPECT_EQ(TextAusFloatFest(0.005, 2, '.'), "0.01");
}

TEST(TextAusFloatFest, FuelltMitNullenAuf) {
    EXPECT_EQ(TextAusFloatFest(1234.5, 2, '.'), "1234.50");
    EXPECT_EQ(TextAusFloatFest(7, 3, '.'), "7.000");
    EXPECT_EQ(TextAusFloatFest(0, 2, '.'), "0.00");
    EXPECT_EQ(TextAusFloatFest(0, 0, '.'), "0");
    EXPECT_EQ(TextAusFloatFest(33.333, 0, '.'), "33");
    EXPECT_EQ(TextAusFloatFest(0.4, 0, '.'), "0");
}

TEST(TextAusFloatFest, UebertragInDieNaechsteStelle) {
    EXPECT_EQ(TextAusFloatFest(9.999, 2, '.'), "10.00");
    EXPECT_EQ(TextAusFloatFest(0.96, 0, '.'), "1");
    EXPECT_EQ(TextAusFloatFest(-99.996, 2, '.'), "-100.00");
}

TEST(TextAusFloatFest, GerundeteNullOhneVorzeichen) {
    EXPECT_EQ(TextAusFloatFest(-0.001, 2, '.'), "0.00");
    EXPECT_EQ(TextAusFloatFest(-0.0, 2, '.'), "0.00");
    EXPECT_EQ(TextAusFloatFest(-0.4, 0, '.'), "0");
    EXPECT_EQ(TextAusFloatFest(1e-20, 3, '.'), "0.000");
}

TEST(TextAusFloatFest, ZehnSignifikanteStellenSchneidenFrueher) {
    // Bei 9 Vorkommastellen bleibt nur eine Nachkommastelle übrig.
    EXPECT_EQ(TextAusFloatFest(123456789.456, 2, '.'), "123456789.50");
    EXPECT_EQ(TextAusFloatFest(1234567.891, 2, '.'), "1234567.89");
    EXPECT_EQ(TextAusFloatFest(0.123456789012, 12, '.'), "0.123456789000");
}

TEST(TextAusFloatFest, MehrAlsZehnVorkommastellenMitExponent) {
    EXPECT_EQ(TextAusFloatFest(98765432109.87, 2, '.'), "9.876543211E10");
    EXPECT_EQ(TextAusFloatFest(-98765432109.87, 2, '.'), "-9.876543211E10");
    EXPECT_EQ(TextAusFloatFest(1e10, 2, '.'), "1E10");
    EXPECT_EQ(TextAusFloatFest(9999999999.0, 2, '.'), "9999999999.00");
    // Rundung auf zehn Stellen ergibt elf Vorkommastellen.
    EXPECT_EQ(TextAusFloatFest(9999999999.5, 2, '.'), "1E10");
}

TEST(TextAusFloatFest, DezimalzeichenUndSonderwerte) {
    EXPECT_EQ(TextAusFloatFest(1234.5, 2, ','), "1234,50");
    EXPECT_EQ(TextAusFloatFest(98765432109.87, 2, ','), "9,876543211E10");
    EXPECT_EQ(TextAusFloatFest(std::numeric_limits<double>::infinity(), 2, '.'), "INF");
    EXPECT_EQ(TextAusFloatFest(-std::numeric_limits<double>::infinity(), 2, '.'), "-INF");
    EXPECT_EQ(TextAusFloatFest(std::numeric_limits<double>::quiet_NaN(), 2, '.'), "NAN");
}

// ---------------------------------------------------------------- Text -> Zahl

TEST(FloatAusText, GueltigeFormen) {
    EXPECT_EQ(FloatAusText("12.5"), 12.5);
    EXPECT_EQ(FloatAusText("-3"), -3.0);
    EXPECT_EQ(FloatAusText(".5"), 0.5);
    EXPECT_EQ(FloatAusText("1."), 1.0);
    EXPECT_EQ(FloatAusText("4E1"), 40.0);
    EXPECT_EQ(FloatAusText("1.5E-7"), 1.5e-7);
    EXPECT_EQ(FloatAusText("2e3"), 2000.0);
    EXPECT_EQ(FloatAusText("  7.25  "), 7.25);
    EXPECT_EQ(FloatAusText("1,5", ','), 1.5);
}

TEST(FloatAusText, Sonderwerte) {
    EXPECT_EQ(FloatAusText("INF"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(FloatAusText("-INF"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(FloatAusText("NAN")));
}

TEST(FloatAusText, UngueltigeTexteWerfen) {
    for (const char* text : {"", "   ", "abc", "1,5", "1.5.2", "1E", "E5", ".", "-", "1 2", "12a", "0x10"}) {
        EXPECT_THROW(FloatAusText(text), EConvertError) << '"' << text << '"';
    }
    // Mit ',' als Dezimalzeichen ist der Punkt ein Fremdzeichen.
    EXPECT_THROW(FloatAusText("1.5", ','), EConvertError);
}

TEST(FloatAusText, JenseitsDesDoubleBereichsWirft) {
    EXPECT_THROW(FloatAusText("1E999"), EConvertError);
    EXPECT_THROW(FloatAusText("-1E999"), EConvertError);
    EXPECT_THROW(FloatAusText("1E99999999999"), EConvertError);
    EXPECT_THROW(FloatAusText("1.8E308"), EConvertError);
}

TEST(FloatAusText, GroessterWertBleibtNachDemSpeichernLesbar) {
    // Mit 15 Stellen gerundet liegt er knapp über dem Bereich.
    const double groesster = std::numeric_limits<double>::max();
    EXPECT_EQ(TextAusFloat(groesster), "1.79769313486232E308");
    EXPECT_EQ(FloatAusText(TextAusFloat(groesster)), groesster);
    EXPECT_EQ(FloatAusText(TextAusFloat(-groesster)), -groesster);
}

TEST(FloatAusText, TextAusFloatUeberlebtDenRueckweg) {
    for (const double w : {0.1, 12.5, -3.75, 1e-6, 1.5e-7, 1e15, 123456789012345.0, 7.8125e118,
                           0.000123456789012345, 98765.4321, 1e-310,
                           std::numeric_limits<double>::denorm_min()}) {
        EXPECT_EQ(FloatAusText(TextAusFloat(w)), w) << TextAusFloat(w);
        EXPECT_EQ(FloatAusText(TextAusFloat(w, ','), ','), w) << TextAusFloat(w, ',');
    }
}

// Schlichte Zahlen nehmen einen eigenen kurzen Weg; er muss bitgenau wie
// from_chars runden, auch an der Grenze von 15 zu 16 Ziffern.
TEST(FloatAusText, SchlichteZahlenBitgenauWieFromChars) {
    auto bits = [](double w) {
        uint64_t b;
        std::memcpy(&b, &w, sizeof b);
        return b;
    };
    auto referenz = [](const std::string& t) {
        double w = 0.0;
        std::from_chars(t.data(), t.data() + t.size(), w);
        return w;
    };
    uint64_t z = 12345;
    for (int i = 0; i < 20000; ++i) {
        z = z * 6364136223846793005ull + 1442695040888963407ull;
        const int ziffern = 1 + static_cast<int>((z >> 33) % 17); // bis 17: auch der allgemeine Weg
        std::string t = std::to_string(z >> 1).substr(0, static_cast<size_t>(ziffern));
        const size_t punkt = (z >> 20) % (t.size() + 1);
        if (punkt > 0 && punkt < t.size()) t = t.substr(0, punkt) + "." + t.substr(punkt);
        if ((z >> 40) & 1) t = "-" + t;
        EXPECT_EQ(bits(FloatAusText(t)), bits(referenz(t))) << t;
    }
    EXPECT_TRUE(std::signbit(FloatAusText("-0")));
    EXPECT_TRUE(std::signbit(FloatAusText("-0.000")));
    EXPECT_EQ(FloatAusText("999999999999999"), 999999999999999.0);
    EXPECT_EQ(FloatAusText("9007199254740993"), 9007199254740992.0); // 16 Ziffern, gerundet
    EXPECT_EQ(FloatAusText("0.000000000000001"), 1e-15);
    EXPECT_EQ(FloatAusText("000000000000000000007"), 7.0);
}

// Der schnelle Weg des Speicherns schreibt jeden Wert wie TextAusFloat:
// Zufallswerte jeder Größenordnung, dazu die Grenzen des Festbereichs.
TEST(FloatSchreiben, GleichWieTextAusFloat) {
    auto text = [](double w, char trenner) {
        char puffer[FloatTextLaenge];
        return std::string(puffer, FloatSchreiben(puffer, w, trenner));
    };
    std::vector<double> werte = {0.0, -0.0, 1.0, -1.0, 0.5, 1e-5, 0.99999e-5, 1.5e-5, 1e15, 999999999999999.0,
                                 999999999999999.5, 1e15 - 0.125, 123456789012345.6, 0.1 + 0.2, 1.0 / 3.0,
                                 2.5e-4, 4.94065645841247e-324, 1.7976931348623157e308, 250.0 - 1.3e-11};
    uint64_t z = 987654321;
    for (int i = 0; i < 20000; ++i) {
        z = z * 6364136223846793005ull + 1442695040888963407ull;
        const double mantisse = static_cast<double>(z >> 11) / static_cast<double>(uint64_t{1} << 53);
        const int exponent = static_cast<int>((z >> 3) % 44) - 22;
        double w = mantisse * std::pow(10.0, exponent);
        if ((z >> 1) & 1) w = std::round(w * 1000.0) / 1000.0; // wenige Nachkommastellen, wie in Dateien
        werte.push_back((z & 1) ? -w : w);
    }
    for (const double w : werte) {
        EXPECT_EQ(text(w, '.'), TextAusFloat(w, '.')) << w;
        EXPECT_EQ(text(w, ','), TextAusFloat(w, ',')) << w;
    }
    EXPECT_EQ(text(std::numeric_limits<double>::quiet_NaN(), '.'), "NAN");
    EXPECT_EQ(text(-std::numeric_limits<double>::infinity(), '.'), "-INF");
}

// ---------------------------------------------------------------- Ganzzahlen

TEST(IntAusText, DezimalUndHex) {
    EXPECT_EQ(IntAusText("42"), 42);
    EXPECT_EQ(IntAusText("  42"), 42);
    EXPECT_EQ(IntAusText("+7"), 7);
    EXPECT_EQ(IntAusText("-15"), -15);
    EXPECT_EQ(IntAusText("$ff"), 255);
    EXPECT_EQ(IntAusText("$FF"), 255);
    EXPECT_EQ(IntAusText("0x1A"), 26);
    EXPECT_EQ(IntAusText("0X1a"), 26);
    EXPECT_EQ(IntAusText("-$10"), -16);
}

TEST(IntAusText, Zweiunddreissigbitgrenzen) {
    EXPECT_EQ(IntAusText("2147483647"), 2147483647);
    EXPECT_EQ(IntAusText("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IntAusText("$7FFFFFFF"), 2147483647);
    EXPECT_THROW(IntAusText("2147483648"), EConvertError);
    EXPECT_THROW(IntAusText("-2147483649"), EConvertError);
    EXPECT_THROW(IntAusText("$80000000"), EConvertError);
    EXPECT_THROW(IntAusText("4294967296"), EConvertError);
    EXPECT_THROW(IntAusText("99999999999999999999999"), EConvertError);
}

TEST(IntAusText, UngueltigeTexteWerfen) {
    for (const char* text : {"", " ", "42 ", "1.5", "abc", "$", "0x", "0x1G", "+", "-", "1e3", "4 2"}) {
        EXPECT_THROW(IntAusText(text), EConvertError) << '"' << text << '"';
    }
}

TEST(TextAusInt, Dezimal) {
    EXPECT_EQ(TextAusInt(0), "0");
    EXPECT_EQ(TextAusInt(-17), "-17");
    EXPECT_EQ(TextAusInt(4294967295LL), "4294967295");
}

// ---------------------------------------------------------------- Punkte

TEST(Punkt, AlsText) {
    EXPECT_EQ(Punkt(3, -4), (TPunkt{3, -4}));
    EXPECT_EQ(TextAusPunkt(Punkt(12.5, 40)), "12.5 / 40");
    EXPECT_EQ(TextAusPunkt(Punkt(-0.5, 1e-6), ','), "-0,5 / 1E-6");
}

TEST(Punkt, AusText) {
    EXPECT_EQ(PunktAusText("12.5 / -3"), (TPunkt{12.5, -3}));
    EXPECT_EQ(PunktAusText("1,5 / 2", ','), (TPunkt{1.5, 2}));
    // Ein drittes Feld wird übergangen.
    EXPECT_EQ(PunktAusText("1 / 2 / 3"), (TPunkt{1, 2}));
    EXPECT_THROW(PunktAusText("7"), EConvertError);
    EXPECT_THROW(PunktAusText("1/2"), EConvertError);
    EXPECT_THROW(PunktAusText("a / 2"), EConvertError);
}

TEST(Punkt, UeberlebtDenRueckwegMitGleichemTrenner) {
    for (const TPunkt p : {TPunkt{12.5, 40}, TPunkt{-1234.56789, 0.000123}, TPunkt{123456789012345, -1e-9}}) {
        EXPECT_EQ(PunktAusText(TextAusPunkt(p)), p);
        EXPECT_EQ(PunktAusText(TextAusPunkt(p, ','), ','), p);
    }
}

// ---------------------------------------------------------------- Wahrheitswerte

TEST(Bool, WahrUndFalsch) {
    EXPECT_EQ(TextAusBool(true), "WAHR");
    EXPECT_EQ(TextAusBool(false), "FALSCH");
    EXPECT_TRUE(BoolAusText("WAHR"));
    EXPECT_FALSE(BoolAusText("FALSCH"));
    EXPECT_FALSE(BoolAusText("wahr"));
    EXPECT_FALSE(BoolAusText(" WAHR"));
    EXPECT_FALSE(BoolAusText("WAHR "));
    EXPECT_FALSE(BoolAusText(""));
    EXPECT_FALSE(BoolAusText("1"));
}

// ---------------------------------------------------------------- Schlüssel und Felder

TEST(Schluessel, AufZwanzigZeichenAufgefuellt) {
    EXPECT_EQ(Schluessel("FO Nr"), "FO Nr" + std::string(15, ' '));
    EXPECT_EQ(Schluessel("Klasse ========= "), "Klasse ========= " + std::string(3, ' '));
    EXPECT_EQ(Schluessel(""), std::string(20, ' '));
    EXPECT_EQ(Schluessel("12345678901234567890"), "12345678901234567890");
    const std::string lang = "ein Schluessel mit 25 Zch";
    ASSERT_EQ(lang.size(), 25u);
    EXPECT_EQ(Schluessel(lang), lang);
}

TEST(NaechstesFeld, TrenntAmErstenTrenner) {
    std::string_view text = "1 / 2 / 3";
    EXPECT_EQ(NaechstesFeld(text), "1");
    EXPECT_EQ(text, "2 / 3");
    EXPECT_EQ(NaechstesFeld(text), "2");
    EXPECT_EQ(NaechstesFeld(text), "3");
    EXPECT_EQ(text, "");
    EXPECT_EQ(NaechstesFeld(text), "");
    EXPECT_EQ(text, "");
}

TEST(NaechstesFeld, OhneTrennerGanzerText) {
    std::string_view text = "5";
    EXPECT_EQ(NaechstesFeld(text), "5");
    EXPECT_EQ(text, "");
    text = "1/2";
    EXPECT_EQ(NaechstesFeld(text), "1/2");
    EXPECT_EQ(text, "");
}

TEST(NaechstesFeld, FeldWirdGetrimmtRestNicht) {
    std::string_view text = " / 9";
    EXPECT_EQ(NaechstesFeld(text), "");
    EXPECT_EQ(text, "9");
    text = "  4  / 9";
    EXPECT_EQ(NaechstesFeld(text), "4");
    EXPECT_EQ(text, "9");
    // Tabulatoren und andere Steuerzeichen zählen zum Trimmen, der Rest bleibt roh.
    text = "\t7\x01 /  8 ";
    EXPECT_EQ(NaechstesFeld(text), "7");
    EXPECT_EQ(text, " 8 ");
    // Umlaute (Bytes über 127) bleiben stehen.
    text = "\xE4 / x";
    EXPECT_EQ(NaechstesFeld(text), "\xE4");
}

// ---------------------------------------------------------------- EingabeFehler

TEST(EingabeFehler, GrenzenGehoerenDazu) {
    for (const char* text : {"0", "1000000", " 12.5 "}) EXPECT_EQ(EingabeFehler(text, Kapazitaet, 0, 1000000, '.'), "");
    EXPECT_EQ(EingabeFehler("5", "X", 5, 10, '.'), "");
    EXPECT_EQ(EingabeFehler("10", "X", 5, 10, '.'), "");
}

TEST(EingabeFehler, UngueltigeZahl) {
    const std::string erwartet = "Ung\xFC" "ltige Eingabe: " + Kapazitaet;
    EXPECT_EQ(EingabeFehler("abc", Kapazitaet, 0, 1000000, '.'), erwartet);
    EXPECT_EQ(EingabeFehler("", Kapazitaet, 0, 1000000, '.'), erwartet);
    EXPECT_EQ(EingabeFehler("1.5", Kapazitaet, 0, 1000000, ','), erwartet);
}

TEST(EingabeFehler, UnterhalbVonNullKommaNullEinsGroesserAlsNull) {
    EXPECT_EQ(EingabeFehler("-0.5", Kapazitaet, 0, 1000000, '.'),
              "Eingabe: " + Kapazitaet + "\r\nmuss gr\xF6" "sser als 0 und kleiner als 1000000.00 sein");
    EXPECT_EQ(EingabeFehler("1000000,5", Kapazitaet, 0, 1000000, ','),
              "Eingabe: " + Kapazitaet + "\r\nmuss gr\xF6" "sser als 0 und kleiner als 1000000,00 sein");
    // Min 0.01 gehört noch zur ersten Form.
    EXPECT_EQ(EingabeFehler("0", "Y", 0.01, 2, '.'), "Eingabe: Y\r\nmuss gr\xF6" "sser als 0 und kleiner als 2.00 sein");
}

TEST(EingabeFehler, SonstZwischenMinUndMax) {
    EXPECT_EQ(EingabeFehler("11", "Anzahl", 5, 10, '.'), "Eingabe: Anzahl\r\nmuss zwischen 5.00 und 10.00 sein");
    EXPECT_EQ(EingabeFehler("4,99", "Anzahl", 5, 10, ','), "Eingabe: Anzahl\r\nmuss zwischen 5,00 und 10,00 sein");
    EXPECT_EQ(EingabeFehler("0", "Z", 0.02, 1.5, '.'), "Eingabe: Z\r\nmuss zwischen 0.02 und 1.50 sein");
}
