// Vergleich mit einer Variante: gleiche Modelle ohne Differenz, eine
// geänderte Liefermenge mit genauer Differenz, Objekte nur auf einer Seite,
// andere Namen, CSV und die Folge nach Grösse.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "analysis/UVergleich.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::TModellBau;

// Quelle -> Verzweigung (60/40) -> zwei Senken; zwei Artikel.
struct TNetz {
    TModellBau Bau;
    TModellBau::TVerteilung V = Bau.Verteilung("Q", "V", "S1", "S2");
    explicit TNetz(double menge = 10) {
        Bau.M().ArtikelEinfuegen("Glas");
        test::Menge(V.Q, 0, menge);
        test::Menge(V.Q, 1, 4);
        test::Anteile(V.V, 0, 1, {60, 40});
        test::Anteile(V.V, 1, 1, {50, 50});
        EXPECT_EQ(ModellNeuberechnen(Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    }
};

TEST(Vergleich, GleicheModelleUndEineGeaenderteMenge) {
    test::TAufzeichnung platt;
    TNetz a, gleich, b(12);
    const TVergleich nichts = Vergleichen(a.Bau.M(), gleich.Bau.M(), false);
    // Drei Wege und eine Verzweigung, je zwei Artikel; Wege zuerst.
    ASSERT_EQ(nichts.Zeilen.size(), 8U);
    for (const TVergleichsZeile& z : nichts.Zeilen) EXPECT_EQ(z.Differenz(), 0.0) << z.Name;
    EXPECT_TRUE(nichts.NurInA.empty() && nichts.NurInB.empty() && nichts.Abweichungen.empty());
    EXPECT_EQ(nichts.Zeilen.back().FONr, a.V.V.FONr);

    const TVergleich v = Vergleichen(a.Bau.M(), b.Bau.M(), false);
    const auto zeile = [&](const TFO& o, int artikel) {
        for (const TVergleichsZeile& z : v.Zeilen)
            if (z.FONr == o.FONr && z.Artikel == artikel) return z;
        ADD_FAILURE() << o.Name;
        return TVergleichsZeile{};
    };
    EXPECT_DOUBLE_EQ(zeile(a.V.Aus1, 0).Differenz(), 1.2); // 60 % von 2 mehr
    EXPECT_DOUBLE_EQ(*zeile(a.V.Aus1, 0).Prozent(), 20.0);
    EXPECT_DOUBLE_EQ(zeile(a.V.V, 0).Differenz(), 2.0);
    EXPECT_EQ(zeile(a.V.Aus1, 1).Differenz(), 0.0);
    // Die Summe: eine Zeile je Objekt.
    const TVergleich s = Vergleichen(a.Bau.M(), b.Bau.M(), true);
    ASSERT_EQ(s.Zeilen.size(), 4U);
    EXPECT_EQ(s.Zeilen[0].Artikel, SummeArtikel);
    EXPECT_EQ(s.Zeilen[0].ArtikelName, "Summe");
    // Nach Grösse: die Verzweigung (2) und der Eingang (2) vor den Ausgängen.
    const std::vector<const TVergleichsZeile*> g = NachGroesse(s);
    EXPECT_DOUBLE_EQ(std::fabs(g[0]->Differenz()), 2.0);
    EXPECT_DOUBLE_EQ(std::fabs(g[3]->Differenz()), 0.8);
}

TEST(Vergleich, ObjekteNurAufEinerSeiteUndAndereNamen) {
    test::TAufzeichnung platt;
    TNetz a, b;
    auto& extra = b.Bau.Knoten<TSenke>("Neu");
    extra.FONr = 900; // eine Nummer, die A nicht hat
    b.V.S2.Name = "Umbenannt";
    b.Bau.M().ArtikelListe[1] = "Holz";
    TModellBau::TStrecke nurA = a.Bau.Strecke("QA", "SA");
    test::Menge(nurA.Q, 0, 0);
    ModellNeuberechnen(a.Bau.M());
    const TVergleich v = Vergleichen(a.Bau.M(), b.Bau.M(), false);
    ASSERT_EQ(v.NurInA.size(), 3U); // Quelle, Senke und Weg der Strecke
    ASSERT_EQ(v.NurInB.size(), 1U);
    EXPECT_EQ(v.NurInB[0], extra.Titel() + " #" + std::to_string(extra.FONr));
    std::string alle;
    for (const std::string& s : v.Abweichungen) alle += s + "\n";
    EXPECT_NE(alle.find("heisst in A S2, in B Umbenannt"), std::string::npos) << alle;
    EXPECT_NE(alle.find("Artikel 2 heisst in A Glas, in B Holz"), std::string::npos) << alle;
    // Die CSV: Kopf wie vereinbart, Prozent leer, wo A keinen Strom hat.
    const std::string csv = VergleichAlsCsv(v);
    EXPECT_EQ(csv.substr(0, csv.find('\r')), "FONr,Name,Artikel,StromA,StromB,Differenz,Prozent");
    EXPECT_NE(csv.find("\r\n" + std::to_string(a.V.Aus1.FONr) + ","), std::string::npos);
    TNetz leer(0), voll;
    const std::string null = VergleichAlsCsv(Vergleichen(leer.Bau.M(), voll.Bau.M(), false));
    EXPECT_NE(null.find(",0,6,6,\r\n"), std::string::npos) << null;
}

} // namespace
} // namespace tessomir
