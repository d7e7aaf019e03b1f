// Einstellungen des Ansichtsdialogs: Laden, Begrenzen, Prüfen, Übernehmen.
#include <gtest/gtest.h>

#include <limits>

#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "view/UAnsichtEinstellungen.h"

using namespace tessomir;

namespace {

class AnsichtEinstellungen : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    TModell& M = Bau.M();
};

TEST_F(AnsichtEinstellungen, NeuesModellUndHinUndZurueck) {
    const TAnsichtWerte w = EinstellungenLaden(M);
    EXPECT_EQ(w, TAnsichtWerte{}); // die Vorgaben des Modells sind die der Felder
    EXPECT_EQ(w.MaxStromText, "");
    M.QuellenBeschr = M.WegeBeschr = true;
    M.Schrift.Name = "Courier New";
    M.Stromanzeige = 1;
    M.MaxBerDauer = 1500; // ganze Sekunden: 1500 ms werden 1 s
    TAnsichtWerte geladen = EinstellungenLaden(M);
    EXPECT_EQ(geladen.MaxDauerSekunden, 1);
    EinstellungenUebernehmen(M, geladen, ',');
    EXPECT_EQ(M.MaxBerDauer, 1000u);
    EXPECT_EQ(EinstellungenLaden(M), geladen);
    EXPECT_TRUE(M.MaxStromBer);
    EXPECT_EQ(M.MaxStrom, -1); // "Berechnet" lässt den eingegebenen Wert stehen
}

TEST_F(AnsichtEinstellungen, WerteAusserhalbDerFelderErscheinenBegrenztUndWerdenSoGespeichert) {
    M.SymbolGroesse = 70000; // passt in kein 16-Bit-Feld
    M.ProzStellen = -3;
    M.StromGroesse = 7;
    M.StromStellen = std::numeric_limits<int>::max();
    M.Stromanzeige = 9;
    M.MaxBerDauer = std::numeric_limits<uint32_t>::max();
    const TAnsichtWerte w = EinstellungenLaden(M);
    EXPECT_EQ(w.SymbolGroesse, 10);
    EXPECT_EQ(w.ProzStellen, 0);
    EXPECT_EQ(w.StromGroesse, 20);
    EXPECT_EQ(w.StromStellen, 5);
    EXPECT_EQ(w.Stromanzeige, 1);
    EXPECT_EQ(w.MaxDauerSekunden, 600);
    EXPECT_EQ(M.SymbolGroesse, 70000); // das Laden allein ändert nichts
    EinstellungenUebernehmen(M, w, '.');
    EXPECT_EQ(M.SymbolGroesse, 10);
    EXPECT_EQ(M.MaxBerDauer, 600000u);
}

TEST_F(AnsichtEinstellungen, EingegebenerHoechststrom) {
    M.Anzeigetrenner = ',';
    M.MaxStrom = 0.004; // mit 2 Stellen gezeigt als 0,00
    M.MaxStromBer = false;
    TAnsichtWerte w = EinstellungenLaden(M);
    EXPECT_EQ(w.MaxStromIndex, MaxStromEingegebenIndex);
    EXPECT_EQ(w.MaxStromText, "0,00");
    for (const char* falsch : {"0,00", "", "abc", "-5", "INF", "NAN", "1,5.0"}) {
        w.MaxStromText = falsch;
        Platt.Meldungen.clear();
        EXPECT_FALSE(EinstellungenPruefen(w, ',')) << falsch;
        EXPECT_EQ(Platt.Meldungen, (std::vector<test::TMeldung>{{test::TMeldung::Fehler, "Max. Strom : Ung\xFCltige Eingabe"}}));
    }
    for (const char* text : {"12,5", "12.5", " 12,5 "}) {
        w.MaxStromText = text;
        ASSERT_TRUE(EinstellungenPruefen(w, ',')) << text;
        EinstellungenUebernehmen(M, w, ',');
        EXPECT_DOUBLE_EQ(M.MaxStrom, 12.5);
    }
    EXPECT_FALSE(M.MaxStromBer);
    w.MaxStromIndex = MaxStromBerechnetIndex;
    w.MaxStromText = "Unsinn"; // mit "Berechnet" weder geprüft noch gespeichert
    EXPECT_TRUE(EinstellungenPruefen(w, ','));
    EinstellungenUebernehmen(M, w, ',');
    EXPECT_TRUE(M.MaxStromBer);
    EXPECT_DOUBLE_EQ(M.MaxStrom, 12.5);
}

} // namespace
