// Herkunft: zwei Quellen in eine Senke über eine Schlaufe und einen Wandler,
// Anteile von Hand nachgerechnet, Beiträge, die sich zum Strom addieren; wo
// die Ströme einer Quelle enden; eine Schlaufe, die nicht zur Ruhe kommt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "analysis/UHerkunft.h"
#include "base/UFehler.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::TModellBau;

// Q1 (10 Erz) und Q2 (5 Erz) -> V1 -> W (Erz wird zu 0,5 Metall) -> V2 ->
// 80 % an S, 20 % zurück an V1; dazu Q2 mit 3 Metall direkt in S1.
struct TNetz {
    TModellBau Bau;
    TQuelle& Q1 = Bau.Knoten<TQuelle>("Q1");
    TQuelle& Q2 = Bau.Knoten<TQuelle>("Q2");
    TVerzweigung& V1 = Bau.Knoten<TVerzweigung>("V1");
    TWandler& W = Bau.Knoten<TWandler>("W");
    TVerzweigung& V2 = Bau.Knoten<TVerzweigung>("V2");
    TSenke& S = Bau.Knoten<TSenke>("S");
    TWeg* Zurueck = nullptr;
    TWeg* VonQ1 = nullptr;
    TWeg* VonQ2 = nullptr;
    TNetz() {
        Bau.M().ArtikelListe[0] = "Erz";
        Bau.M().ArtikelEinfuegen("Metall");
        VonQ1 = &Bau.Weg(Q1, V1);
        VonQ2 = &Bau.Weg(Q2, V1);
        Bau.Weg(V1, W);
        Bau.Weg(W, V2);
        Bau.Weg(V2, S);
        Zurueck = &Bau.Weg(V2, V1, "Rueck");
        test::Menge(Q1, 0, 10);
        test::Menge(Q2, 0, 5);
        test::Menge(Q2, 1, 3);
        for (int a = 0; a < 2; ++a)
            for (int e = 1; e <= 3; ++e) test::Anteile(V1, a, e, {100});
        test::Anteile(V2, 0, 1, {80, 20});
        test::Anteile(V2, 1, 1, {80, 20});
        W.Matrix().W(0, 1, 1) = 0.0; // kein Erz bleibt Erz
        W.Matrix().W(0, 2, 1) = 0.0;
        W.Matrix().W(1, 1, 1) = 0.5; // Metall aus Erz
        W.Matrix().W(1, 2, 1) = 1.0; // Metall bleibt Metall
    }
};

TEST(Herkunft, ZweiQuellenUeberSchlaufeUndWandler) {
    test::TAufzeichnung platt;
    TNetz n;
    const THerkunft h = HerkunftBerechnen(n.Bau.M(), n.S.FONr);
    ASSERT_TRUE(h.Ok) << h.Grund;
    EXPECT_FALSE(h.VonQuelle);
    // Metall in S: Q1 gibt 5 aus 10 Erz, Q2 2,5 aus 5 Erz und 3 Metall; die
    // Schlaufe ändert nichts am Verhältnis (alles kommt an): 5 / 10,5 und 5,5 / 10,5.
    ASSERT_EQ(ModellNeuberechnen(n.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    const double metall = KnotenBilanz(n.S, 1).Zulauf;
    EXPECT_NEAR(metall, 10.5, 1e-9);
    double summe = 0.0;
    int zeilen = 0;
    for (const THerkunftsZeile& z : h.Zeilen) {
        EXPECT_EQ(z.Artikel, 1) << "Erz kommt nie in S an";
        ++zeilen;
        summe += z.Strom;
        if (z.FONr == n.Q1.FONr) {
            EXPECT_NEAR(z.Anteil, 100.0 * 5 / 10.5, 1e-9);
        } else if (z.FONr == n.Q2.FONr) {
            EXPECT_NEAR(z.Anteil, 100.0 * 5.5 / 10.5, 1e-9);
        }
    }
    EXPECT_EQ(zeilen, 2);
    EXPECT_NEAR(summe, metall, 1e-9 * metall);
    // Auf dem Rückweg: Erz von beiden Quellen im Verhältnis 2 : 1.
    const THerkunft r = HerkunftBerechnen(n.Bau.M(), n.Zurueck->FONr);
    ASSERT_TRUE(r.Ok);
    for (const THerkunftsZeile& z : r.Zeilen)
        if (z.Artikel == 1 && z.FONr == n.Q1.FONr) {
            EXPECT_NEAR(z.Anteil, 100.0 * 5 / 10.5, 1e-9);
        }
    // Je Quelle die Wege ihrer Rechnung.
    ASSERT_EQ(h.Quellen.size(), 2U);
    EXPECT_EQ(h.Wegstroeme.size(), 2U);
    const std::string csv = HerkunftAlsCsv(h);
    EXPECT_EQ(csv.substr(0, csv.find('\r')), "Artikel,QuelleFONr,Quelle,Anteil,Strom");
    // Die Wege eines Beitrags: die der Quelle Q1 bis S, ohne den Zulauf von Q2.
    for (size_t i = 0; i < h.Zeilen.size(); ++i) {
        const std::vector<uint32_t> wege = WegeDesBeitrags(n.Bau.M(), h, i);
        const bool vonQ1 = h.Zeilen[i].FONr == n.Q1.FONr;
        EXPECT_EQ(std::count(wege.begin(), wege.end(), n.VonQ1->FONr), vonQ1 ? 1 : 0);
        EXPECT_EQ(std::count(wege.begin(), wege.end(), n.VonQ2->FONr), vonQ1 ? 0 : 1);
        EXPECT_EQ(std::count(wege.begin(), wege.end(), n.Zurueck->FONr), 1); // die Schlaufe gehört dazu
        EXPECT_EQ(wege.size(), 5U);
    }
    EXPECT_TRUE(WegeDesBeitrags(n.Bau.M(), h, h.Zeilen.size()).empty());
    // Das Original bleibt, wie es war.
    EXPECT_EQ(n.Q1.Matrix().W(0, 0, 1), 10);
}

TEST(Herkunft, WoDieStroemeEinerQuelleEndenUndOhneRuhe) {
    test::TAufzeichnung platt;
    TNetz n;
    const THerkunft h = HerkunftBerechnen(n.Bau.M(), n.Q1.FONr);
    ASSERT_TRUE(h.Ok);
    EXPECT_TRUE(h.VonQuelle);
    ASSERT_EQ(h.Zeilen.size(), 1U);
    EXPECT_EQ(h.Zeilen[0].FONr, n.S.FONr);
    EXPECT_NEAR(h.Zeilen[0].Strom, 5.0, 1e-9);
    EXPECT_NEAR(h.Zeilen[0].Anteil, 100.0, 1e-12);
    EXPECT_EQ(WegeDesBeitrags(n.Bau.M(), h, 0).size(), 5U); // von Q1 bis S, mit der Schlaufe
    const std::string csv = HerkunftAlsCsv(h);
    EXPECT_EQ(csv.substr(0, csv.find('\r')), "Artikel,SenkeFONr,Senke,Anteil,Strom");
    // Ein Wandler ist kein Ziel; eine Schlaufe mit Verstärkung über 1 kommt nicht zur Ruhe.
    EXPECT_THROW(HerkunftBerechnen(n.Bau.M(), n.W.FONr), EModellErzeugen);
    n.W.Matrix().W(1, 2, 1) = 6.0;
    n.Bau.M().MaxBerDauer = 2000;
    const THerkunft nie = HerkunftBerechnen(n.Bau.M(), n.S.FONr);
    EXPECT_FALSE(nie.Ok);
    EXPECT_NE(nie.Grund.find("nicht zur Ruhe"), std::string::npos);
}

} // namespace
} // namespace tessomir
