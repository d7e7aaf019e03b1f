// Der eingegebene Höchststrom: Anzeige, Prüfung und Übernahme. Laden und
// Begrenzen der übrigen Felder prüft der Dialogtest.
#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "editing/UAnsichtEinstellungen.h"

using namespace tessomir;

namespace {

class AnsichtEinstellungen : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    TModell& M = Bau.M();
};

TEST_F(AnsichtEinstellungen, EingegebenerHoechststrom) {
    M.Anzeigetrenner = ',';
    M.MaxStrom = 0.004; // mit 2 Stellen gezeigt als 0,00
    M.MaxStromBer = false;
    TAnsichtWerte w = EinstellungenLaden(M);
    EXPECT_EQ(w.MaxStromIndex, MaxStromEingegebenIndex);
    EXPECT_EQ(w.MaxStromText, "0,00");
    for (const char* falsch : {"0,00", "", "abc", "-5", "INF", "NAN", "1,5.0"}) {
        w.MaxStromText = falsch;
        EXPECT_EQ(EinstellungenFehler(w, ','), "Max. Strom : Ung\xFCltige Eingabe") << falsch;
    }
    for (const char* text : {"12,5", "12.5", " 12,5 "}) {
        w.MaxStromText = text;
        ASSERT_EQ(EinstellungenFehler(w, ','), "") << text;
        EinstellungenUebernehmen(M, w, ',');
        EXPECT_DOUBLE_EQ(M.MaxStrom, 12.5);
    }
    EXPECT_FALSE(M.MaxStromBer);
    w.MaxStromIndex = MaxStromBerechnetIndex;
    w.MaxStromText = "Unsinn"; // mit "Berechnet" weder geprüft noch gespeichert
    EXPECT_EQ(EinstellungenFehler(w, ','), "");
    EinstellungenUebernehmen(M, w, ',');
    EXPECT_TRUE(M.MaxStromBer);
    EXPECT_DOUBLE_EQ(M.MaxStrom, 12.5);
}

} // namespace
