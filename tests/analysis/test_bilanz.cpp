// Bilanzen: Verzweigung, Wandler, Schlaufe, Summen und das Modell; die CSV-Zeilen.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::Anteil;
using test::Anteile;
using test::Menge;
using test::TAufzeichnung;
using test::TModellBau;

void ErwarteBilanz(const TKnoten& k, int artikel, double zulauf, double ablauf) {
    const TBilanz b = KnotenBilanz(k, artikel);
    EXPECT_DOUBLE_EQ(b.Zulauf, zulauf) << k.Name << " Artikel " << artikel;
    EXPECT_DOUBLE_EQ(b.Ablauf, ablauf) << k.Name << " Artikel " << artikel;
}

TEST(Bilanz, VerzweigungJeArtikelUndSummeDasModellGehtAuf) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto v = bau.Verteilung("Q", "V", "S1", "S2");
    Menge(v.Q, 0, 100);
    Menge(v.Q, 1, 40);
    Anteile(v.V, 0, 1, {60, 40});
    Anteile(v.V, 1, 1, {25, 75});
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);

    // Die Quelle: Zulauf ist ihre Lieferung; die Senke: Ablauf ist, was sie aufnimmt.
    ErwarteBilanz(v.Q, 0, 100, 100);
    ErwarteBilanz(v.V, 0, 100, 100);
    ErwarteBilanz(v.V, 1, 40, 40);
    ErwarteBilanz(v.S1, 0, 60, 60);
    ErwarteBilanz(v.S2, 1, 30, 30);
    ErwarteBilanz(v.V, SummeArtikel, 140, 140);
    ErwarteBilanz(v.S1, SummeArtikel, 70, 70);
    EXPECT_EQ(KnotenBilanz(v.V, 0).Differenz(), 0.0);
    EXPECT_STREQ(DifferenzText(v.V), "Differenz");

    const std::vector<TBilanz> m = ModellBilanz(bau.M());
    ASSERT_EQ(m.size(), 2U);
    EXPECT_DOUBLE_EQ(m[0].Zulauf, 100);
    EXPECT_DOUBLE_EQ(m[0].Ablauf, 100);
    EXPECT_DOUBLE_EQ(m[1].Zulauf, 40);
    EXPECT_DOUBLE_EQ(m[1].Ablauf, 40);

    // Alle Knoten in einem Gang: dieselben Zahlen, je Knoten die Artikel hintereinander.
    std::vector<TBilanz> alle;
    AlleKnotenBilanzen(bau.M(), alle);
    const auto& knoten = bau.M().FOListe.Knoten();
    ASSERT_EQ(alle.size(), knoten.size() * 2);
    for (size_t i = 0; i < knoten.size(); ++i)
        for (int a = 0; a < 2; ++a) {
            EXPECT_EQ(alle[i * 2 + static_cast<size_t>(a)].Zulauf, KnotenBilanz(*knoten[i], a).Zulauf);
            EXPECT_EQ(alle[i * 2 + static_cast<size_t>(a)].Ablauf, KnotenBilanz(*knoten[i], a).Ablauf);
        }

    // Der angezeigte Strom folgt Artikel oder Summe wie im Diagramm.
    EXPECT_DOUBLE_EQ(AngezeigterStrom(v.Aus1, 1), 10);
    EXPECT_DOUBLE_EQ(AngezeigterStrom(v.V, SummeArtikel), 140);
    EXPECT_EQ(AngezeigterStrom(v.Q, 0), 0.0);
    bau.M().SummeAllerArtikel = true;
    EXPECT_EQ(AnzeigeArtikel(bau.M()), SummeArtikel);
    EXPECT_DOUBLE_EQ(AngezeigterStrom(v.Aus1, AnzeigeArtikel(bau.M())), v.Aus1.Strom());
}

TEST(Bilanz, WandlerZeigtWasSeineFaktorenSchaffen) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Granulat");
    auto d = bau.Durchlauf<TWandler>("Q", "W", "S");
    Menge(d.Q, 0, 10);
    // Je Einheit Artikel1: 2 Einheiten Artikel1 und 0,5 Granulat.
    d.K.Matrix().W(0, 1, 1) = 2.0;
    d.K.Matrix().W(1, 1, 1) = 0.5;
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    ErwarteBilanz(d.K, 0, 10, 20);
    ErwarteBilanz(d.K, 1, 0, 5);
    EXPECT_DOUBLE_EQ(KnotenBilanz(d.K, 0).Differenz(), 10);
    EXPECT_STREQ(DifferenzText(d.K), "Umwandlung");
    const std::vector<TBilanz> m = ModellBilanz(bau.M());
    EXPECT_DOUBLE_EQ(m[0].Differenz(), 10);
    EXPECT_DOUBLE_EQ(m[1].Zulauf, 0);
    EXPECT_DOUBLE_EQ(m[1].Ablauf, 5);
}

TEST(Bilanz, SchlaufeGehtNachBerechnungOkAufEinMilliardstelAuf) {
    TAufzeichnung auf;
    TModellBau bau;
    const auto [q, v1, v2, s] = bau.Rueckfluss();
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    const TBilanz m = ModellBilanz(bau.M())[0];
    EXPECT_LE(std::abs(m.Differenz()), 1e-9 * m.Zulauf);
    for (const TKnoten* k : {static_cast<const TKnoten*>(&v1), static_cast<const TKnoten*>(&v2)}) {
        const TBilanz b = KnotenBilanz(*k, 0);
        EXPECT_NEAR(b.Zulauf, 125.0, 1e-9) << k->Name;
        EXPECT_LE(std::abs(b.Differenz()), 1e-9 * b.Zulauf) << k->Name;
    }
}

TEST(Bilanz, CsvJeKnotenUndArtikelDannDasModell) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Gr\xFCn, \"fein\"");
    auto d = bau.Durchlauf<TVerzweigung>("Quelle", "M\xFChle", "S");
    Menge(d.Q, 0, 1.5);
    Anteil(d.K, 0, 1, 1, 100);
    Anteil(d.K, 1, 1, 1, 100);
    Menge(d.Q, 1, 4);
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    const std::string q = std::to_string(d.Q.FONr) + ",Quelle,Quelle,";
    const std::string k = std::to_string(d.K.FONr) + ",M\xC3\xBChle,Verzweigung,";
    const std::string s = std::to_string(d.S.FONr) + ",S,Senke,";
    const std::string b = "\"Gr\xC3\xBCn, \"\"fein\"\"\"";
    EXPECT_EQ(BilanzAlsCsv(bau.M()), "FONr,Name,Art,Artikel,Zulauf,Ablauf,Differenz\r\n" +
                                         q + "Artikel1,1.5,1.5,0\r\n" + q + b + ",4,4,0\r\n" +
                                         k + "Artikel1,1.5,1.5,0\r\n" + k + b + ",4,4,0\r\n" +
                                         s + "Artikel1,1.5,1.5,0\r\n" + s + b + ",4,4,0\r\n"
                                         ",Modell,,Artikel1,1.5,1.5,0\r\n"
                                         ",Modell,," + b + ",4,4,0\r\n");
}

} // namespace
} // namespace tessomir
