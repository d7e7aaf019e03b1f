// Schlaufenanalyse: Verstärkungen, die sich von Hand ergeben, Umlauf, Urteil,
// Schätzung der Durchgänge gegen die wirkliche Berechnung.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/UBerechnung.h"
#include "analysis/USchlaufen.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::Anteil;
using test::Menge;
using test::TAufzeichnung;
using test::TModellBau;

// Q -> V1 <-> V2, beide geben die Hälfte weiter und die Hälfte an eine Senke:
// je Durchgang halbiert sich, was umläuft.
struct THalbeSchlaufe {
    TModellBau Bau;
    TQuelle& Q = Bau.Knoten<TQuelle>("Q");
    TVerzweigung& V1 = Bau.Knoten<TVerzweigung>("V1");
    TVerzweigung& V2 = Bau.Knoten<TVerzweigung>("V2");
    TSenke& S1 = Bau.Knoten<TSenke>("S1");
    TSenke& S2 = Bau.Knoten<TSenke>("S2");
    THalbeSchlaufe(double anteil1, double anteil2) {
        Bau.Weg(Q, V1);
        Bau.Weg(V1, V2);
        Bau.Weg(V2, V1);
        Bau.Weg(V1, S1);
        Bau.Weg(V2, S2);
        Menge(Q, 0, 100);
        for (int eingang : {1, 2}) {
            Anteil(V1, 0, eingang, 1, anteil1);
            Anteil(V1, 0, eingang, 2, 100 - anteil1);
        }
        Anteil(V2, 0, 1, 1, anteil2);
        Anteil(V2, 0, 1, 2, 100 - anteil2);
    }
};

TEST(Schlaufen, ZweiVerzweigungenMitHalberVerstaerkungUndEchteDurchgaenge) {
    TAufzeichnung auf;
    THalbeSchlaufe s(50, 50);
    const std::vector<TSchlaufe> liste = SchlaufenErmitteln(s.Bau.M());
    ASSERT_EQ(liste.size(), 1U);
    ASSERT_EQ(liste[0].Gewinne.size(), 1U);
    const TSchlaufenGewinn& g = liste[0].Gewinne[0];
    EXPECT_NEAR(g.Verstaerkung, 0.5, 5e-7);
    EXPECT_NEAR(g.VerstaerkungJeUmlauf, 0.25, 5e-7); // was nach einer Runde zurückkommt
    EXPECT_EQ(g.Schritte, 2U);
    EXPECT_EQ(g.Urteil, TSchlaufenUrteil::KlingtAb);
    EXPECT_TRUE(AlleSchlaufenKlingenAb(liste));
    EXPECT_EQ(SchlaufenZeilen(s.Bau.M(), liste),
              (std::vector<std::string>{
                  "1 Schlaufe gefunden", "Schlaufe 1 (2 Knoten): [ V1 ] -> [ V2 ] -> [ V1 ]",
                  "  Artikel Artikel1: Verst\xE4rkung 0.25 je Umlauf (2 Wege), 0.5 je Durchgang, klingt ab (etwa " + std::to_string(g.Durchgaenge) +
                      " Durchg\xE4nge, bis sich die Str\xF6me um weniger als 1e-10 \xE4ndern)"}));

    // Die Uhr zählt die Durchgänge der wirklichen Berechnung.
    int abfragen = 0;
    auf.Taktgeber = [&abfragen] {
        ++abfragen;
        return 0U;
    };
    ASSERT_EQ(ModellNeuberechnen(s.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    const int durchgaenge = abfragen - 1;
    EXPECT_NEAR(static_cast<double>(g.Durchgaenge), durchgaenge, 0.1 * durchgaenge) << "wirklich " << durchgaenge;
}

TEST(Schlaufen, VerstaerkungEinsUndWandlerUeberEins) {
    TAufzeichnung auf;
    {
        THalbeSchlaufe s(100, 100); // nichts verlässt den Kreis
        const auto liste = SchlaufenErmitteln(s.Bau.M());
        ASSERT_EQ(liste.size(), 1U);
        EXPECT_EQ(liste[0].Gewinne[0].Verstaerkung, 1.0);
        EXPECT_EQ(liste[0].Gewinne[0].Urteil, TSchlaufenUrteil::KlingtNieAb);
        EXPECT_FALSE(AlleSchlaufenKlingenAb(liste));
    }
    {
        // Q -> V -> W -> V: V gibt alles an W, W macht aus 1 Einheit 1.44.
        TModellBau bau;
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& v = bau.Knoten<TVerzweigung>("V");
        auto& w = bau.Knoten<TWandler>("W");
        bau.Weg(q, v);
        bau.Weg(v, w);
        bau.Weg(w, v);
        Anteil(v, 0, 1, 1, 100);
        Anteil(v, 0, 2, 1, 100);
        w.Matrix().ZelleSetzen(0, 1, 1, 1.44);
        auto liste = SchlaufenErmitteln(bau.M());
        ASSERT_EQ(liste.size(), 1U);
        EXPECT_NEAR(liste[0].Gewinne[0].Verstaerkung, 1.2, 1e-6); // zwei Wege je Umlauf
        EXPECT_NEAR(liste[0].Gewinne[0].VerstaerkungJeUmlauf, 1.44, 1e-6);
        EXPECT_EQ(liste[0].Gewinne[0].Urteil, TSchlaufenUrteil::Waechst);

        // Ein Wandler, der jeden Artikel nur in sich selbst umsetzt, mischt nicht:
        // je Artikel eine eigene Verstärkung aus seinem Faktor.
        bau.M().ArtikelEinfuegen("B");
        for (int a : {0, 1}) {
            Anteil(v, a, 1, 1, 100);
            Anteil(v, a, 2, 1, 100);
        }
        w.Matrix().ZelleSetzen(1, 2, 1, 0.5);
        liste = SchlaufenErmitteln(bau.M());
        ASSERT_EQ(liste[0].Gewinne.size(), 2U);
        EXPECT_NEAR(liste[0].Gewinne[0].VerstaerkungJeUmlauf, 1.44, 1e-6);
        EXPECT_EQ(liste[0].Gewinne[0].Urteil, TSchlaufenUrteil::Waechst);
        EXPECT_EQ(liste[0].Gewinne[1].Artikel, 1);
        EXPECT_NEAR(liste[0].Gewinne[1].VerstaerkungJeUmlauf, 0.5, 1e-6);
        EXPECT_NEAR(liste[0].Gewinne[1].Verstaerkung, std::sqrt(0.5), 1e-6);
        EXPECT_EQ(liste[0].Gewinne[1].Urteil, TSchlaufenUrteil::KlingtAb);

        // Zwei Artikel, die der Wandler tauscht: eine Verstärkung für alle.
        w.Matrix().ZelleSetzen(1, 2, 1, 0);
        w.Matrix().ZelleSetzen(0, 1, 1, 0);
        w.Matrix().ZelleSetzen(1, 1, 1, 2.0);  // B aus Artikel1
        w.Matrix().ZelleSetzen(0, 2, 1, 0.72); // Artikel1 aus B
        liste = SchlaufenErmitteln(bau.M());
        ASSERT_EQ(liste[0].Gewinne.size(), 1U);
        EXPECT_EQ(liste[0].Gewinne[0].Artikel, SchlaufenAlleArtikel);
        EXPECT_NEAR(liste[0].Gewinne[0].Verstaerkung, std::pow(1.44, 0.25), 1e-6); // vier Schritte je Umlauf
        EXPECT_TRUE(HatSchlaufe(bau.M()));
    }
}

TEST(Schlaufen, ZweiGetrennteSchlaufenSelbstschlaufeUndKreisfrei) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& a1 = bau.Knoten<TVerzweigung>("A1");
    auto& a2 = bau.Knoten<TVerzweigung>("A2");
    auto& b1 = bau.Knoten<TVerzweigung>("B1");
    auto& b2 = bau.Knoten<TVerzweigung>("B2");
    auto& b3 = bau.Knoten<TVerzweigung>("B3");
    auto& s = bau.Knoten<TSenke>("S");
    bau.Weg(q, a1);
    bau.Weg(a1, a2);
    bau.Weg(a2, a1);
    bau.Weg(a2, b1);
    bau.Weg(b1, b2);
    bau.Weg(b2, b3);
    bau.Weg(b3, b1);
    bau.Weg(b3, s);
    Anteil(a1, 0, 2, 1, 80); // Artikel1: 0.8 je Umlauf über zwei Wege
    Anteil(a2, 0, 1, 1, 100);
    Anteil(b1, 1, 2, 1, 100); // B: 0.3 * 0.9 je Umlauf über drei Wege
    Anteil(b2, 1, 1, 1, 30);
    Anteil(b3, 1, 1, 1, 90);
    const auto liste = SchlaufenErmitteln(bau.M());
    ASSERT_EQ(liste.size(), 2U);
    EXPECT_EQ(liste[0].Umlauf, (std::vector<const TKnoten*>{&a1, &a2, &a1}));
    EXPECT_EQ(liste[1].Umlauf, (std::vector<const TKnoten*>{&b1, &b2, &b3, &b1}));
    EXPECT_NEAR(liste[0].Gewinne[0].Verstaerkung, std::sqrt(0.8), 1e-7);
    EXPECT_EQ(liste[0].Gewinne[1].Verstaerkung, 0.0);
    EXPECT_EQ(liste[1].Gewinne[0].Verstaerkung, 0.0);
    EXPECT_NEAR(liste[1].Gewinne[1].Verstaerkung, std::cbrt(0.27), 1e-7);

    // Ein Weg von B2 zu sich selbst ist eine eigene Schlaufe.
    auto& selbst = bau.Weg(b2, b2);
    EXPECT_EQ(selbst.Start(), selbst.Ziel());
    const auto mitSelbst = SchlaufenErmitteln(bau.M());
    ASSERT_EQ(mitSelbst.size(), 2U); // B2 gehört schon zum Kreis B1-B2-B3
    EXPECT_EQ(mitSelbst[1].AnzahlKnoten, 3U);

    TModellBau kreisfrei;
    auto d = kreisfrei.Durchlauf<TVerzweigung>("Q", "V", "S");
    Anteil(d.K, 0, 1, 1, 100);
    EXPECT_TRUE(SchlaufenErmitteln(kreisfrei.M()).empty());
    EXPECT_FALSE(HatSchlaufe(kreisfrei.M()));
    EXPECT_TRUE(HatSchlaufe(bau.M()));
    EXPECT_EQ(SchlaufenZeilen(kreisfrei.M(), {}), std::vector<std::string>{"Keine Schlaufen: das Netz ist kreisfrei."});
}

TEST(Schlaufen, EinzelneSelbstschlaufe) {
    TAufzeichnung auf;
    TModellBau bau;
    auto d = bau.Durchlauf<TVerzweigung>("Q", "V", "S");
    bau.Weg(d.K, d.K);
    Anteil(d.K, 0, 2, 2, 25);
    const auto liste = SchlaufenErmitteln(bau.M());
    ASSERT_EQ(liste.size(), 1U);
    EXPECT_EQ(liste[0].Umlauf, (std::vector<const TKnoten*>{&d.K, &d.K}));
    EXPECT_NEAR(liste[0].Gewinne[0].Verstaerkung, 0.25, 1e-9);
    EXPECT_EQ(liste[0].Gewinne[0].Schritte, 1U);
    EXPECT_TRUE(HatSchlaufe(bau.M())); // ein Weg zu sich selbst
}

TEST(Spektralradius, VerschraenkteKreiseUndLangerRing) {
    // Zwei Kreise der Länge 2 durch Zustand 0: x^2 = 2.
    EXPECT_NEAR(Spektralradius(3, {{0, 1, 1}, {1, 0, 1}, {0, 2, 1}, {2, 0, 1}}), std::sqrt(2.0), 1e-9);
    // Ring aus 1000 Zuständen, abwechselnd 4 und 0.25: das geometrische Mittel 1.
    std::vector<TUebergang> ring;
    for (size_t i = 0; i < 1000; ++i) ring.push_back({i, (i + 1) % 1000, i % 2 == 0 ? 4.0 : 0.25});
    EXPECT_NEAR(Spektralradius(1000, ring), 1.0, 1e-9);
    EXPECT_EQ(Spektralradius(2, {{0, 1, 5}}), 0.0); // kreisfrei
}

} // namespace
} // namespace tessomir
