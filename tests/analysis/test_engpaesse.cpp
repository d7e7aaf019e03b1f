// Engpassliste: Schwelle genau, je Artikel und als Summe, Wege und Verzweigungen,
// Reihenfolge nach Auslastung.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/UBerechnung.h"
#include "analysis/UEngpaesse.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::Anteil;
using test::Menge;
using test::TAufzeichnung;
using test::TModellBau;

struct TZeile {
    const TFO* Objekt;
    int Artikel;
    double Auslastung;
    bool operator==(const TZeile&) const = default;
};

std::vector<TZeile> Zeilen(const std::vector<TEngpass>& liste) {
    std::vector<TZeile> z;
    for (const TEngpass& e : liste) z.push_back({e.Objekt, e.Artikel, e.Auslastung});
    return z;
}

TEST(Engpaesse, SchwelleJeArtikelUndSummeFuerWegeUndVerzweigungen) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    // Strecke 1: 90 von Artikel1 und 10 von B auf Kapazität 100 (Weg und Verzweigung).
    auto d = bau.Durchlauf<TVerzweigung>("Q", "V", "S");
    Menge(d.Q, 0, 90);
    Menge(d.Q, 1, 10);
    Anteil(d.K, 0, 1, 1, 100);
    Anteil(d.K, 1, 1, 1, 100);
    d.Ein.Kapazitaet = 100;
    d.K.Kapazitaet = 100;
    d.Aus.Kapazitaet = 200;
    // Strecke 2: 89.9 auf Kapazität 100.
    auto e = bau.Durchlauf<TVerzweigung>("Q2", "V2", "S2");
    Menge(e.Q, 0, 89.9);
    Anteil(e.K, 0, 1, 1, 100);
    Anteil(e.K, 1, 1, 1, 100);
    e.Ein.Kapazitaet = 100;
    e.K.Kapazitaet = 1000;
    e.Aus.Kapazitaet = 0; // ohne Kapazität: jeder Strom ist am Anschlag
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);

    const double inf = HUGE_VAL;
    const std::vector<TZeile> ab90 = Zeilen(EngpaesseErmitteln(bau.M()));
    EXPECT_EQ(ab90, (std::vector<TZeile>{{&e.Aus, 0, inf},
                                         {&e.Aus, SummeArtikel, inf},
                                         {&d.Ein, SummeArtikel, 100},
                                         {&d.K, SummeArtikel, 100},
                                         {&d.Ein, 0, 90},
                                         {&d.K, 0, 90}}));
    EXPECT_EQ(Zeilen(EngpaesseErmitteln(bau.M(), 100)).size(), 4U);
    const std::vector<TEngpass> ab899 = EngpaesseErmitteln(bau.M(), 89.9);
    ASSERT_EQ(ab899.size(), 8U);
    EXPECT_EQ(ab899[6].Objekt, &e.Ein);
    EXPECT_EQ(ab899[6].Strom, 89.9);
    EXPECT_EQ(ab899[6].Kapazitaet, 100);
    EXPECT_EQ(ab899[6].Art, TEngpassArt::Weg);
    EXPECT_EQ(ab899[3].Art, TEngpassArt::Verzweigung);
    EXPECT_EQ(AuslastungText(bau.M(), ab899[6].Auslastung), "89.9");
    EXPECT_EQ(AuslastungText(bau.M(), inf), "unendlich");
    EXPECT_EQ(EngpassArtikelText(bau.M(), SummeArtikel), "Summe aller Artikel");

    // Mit einem Artikel gliche die Summe ihm und entfällt.
    bau.M().ArtikelLoeschen(1);
    EXPECT_EQ(Zeilen(EngpaesseErmitteln(bau.M())).size(), 3U);
}

} // namespace
} // namespace tessomir
