// Empfindlichkeit: eine Kette, deren Ziel linear mit der Quelle geht (genau
// ±10 %), Anteile, die ihre Kolonne bei 100 % halten, eine Eingabe, an der
// die Rechnung scheitert, und dasselbe Ergebnis mit einem und zwei Fäden.
#include <gtest/gtest.h>

#include <atomic>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "analysis/UEmpfindlichkeit.h"
#include "base/UFehler.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::TModellBau;

TEST(Empfindlichkeit, KetteLinearUndAnteileBleibenBeiHundert) {
    test::TAufzeichnung platt;
    TModellBau bau;
    TModellBau::TVerteilung v = bau.Verteilung("Q", "V", "S1", "S2");
    test::Menge(v.Q, 0, 10);
    test::Anteile(v.V, 0, 1, {60, 40});
    TEmpfindlichkeitsAuftrag auftrag;
    auftrag.ZielFONr = v.S1.FONr;
    for (const unsigned faeden : {1U, 2U}) {
        auftrag.Faeden = faeden;
        const TEmpfindlichkeit e = EmpfindlichkeitBerechnen(bau.M(), auftrag);
        EXPECT_DOUBLE_EQ(e.ZielBasis, 6.0);
        EXPECT_FALSE(e.Abgebrochen);
        // Eine Liefermenge und zwei Anteile: die Liefermenge und der Anteil an
        // S1 wirken gleich (je ±0,6); der Anteil an S2 (40 ± 4) über den
        // Ausgleich mit ∓0,4 an S1. Grösste Wirkung zuerst.
        ASSERT_EQ(e.Zeilen.size(), 3U);
        for (const TEmpfindlichkeitsZeile& z : e.Zeilen) ASSERT_FALSE(z.Gescheitert()) << z.Grund;
        EXPECT_NEAR(e.Zeilen[0].Wirkung(), 1.2, 1e-9);
        EXPECT_NEAR(e.Zeilen[1].Wirkung(), 1.2, 1e-9);
        EXPECT_NEAR(e.Zeilen[2].Wirkung(), 0.8, 1e-9);
        EXPECT_EQ(e.Zeilen[2].Eingabe.Nach, WegBezeichnung(v.Aus2));
        EXPECT_NEAR(*e.Zeilen[2].ZielPlus, 5.6, 1e-12); // S2 bekommt mehr, S1 weniger
        for (const TEmpfindlichkeitsZeile& z : e.Zeilen)
            if (z.Eingabe.Groesse == "Liefermenge") {
                EXPECT_NEAR(*z.ZielMinus, 5.4, 1e-12);
                EXPECT_NEAR(*z.ZielPlus, 6.6, 1e-12);
            }
    }
    // Ein Anteil von 60 auf 66: der andere Ausgang trägt den Rest, 34; zurück genau wie vorher.
    const std::vector<TWertAenderung> alt = EingabeAendern(bau.M(), TWertOrt{v.V.FONr, false, 0, 1, 1}, 66);
    EXPECT_DOUBLE_EQ(v.V.Matrix().W(0, 1, 1), 66);
    EXPECT_DOUBLE_EQ(v.V.Matrix().W(0, 1, 2), 34);
    WerteSetzen(bau.M(), alt, false);
    EXPECT_EQ(v.V.Matrix().W(0, 1, 1), 60);
    EXPECT_EQ(v.V.Matrix().W(0, 1, 2), 40);
    // Über 100 wird gekappt; ohne Anteile der anderen teilen sie den Rest gleich.
    test::Anteile(v.V, 0, 1, {100, 0});
    EingabeAendern(bau.M(), TWertOrt{v.V.FONr, false, 0, 1, 1}, 90);
    EXPECT_DOUBLE_EQ(v.V.Matrix().W(0, 1, 2), 10);
    EingabeAendern(bau.M(), TWertOrt{v.V.FONr, false, 0, 1, 1}, 110);
    EXPECT_DOUBLE_EQ(v.V.Matrix().W(0, 1, 1), 100);
    EXPECT_DOUBLE_EQ(v.V.Matrix().W(0, 1, 2), 0);
    // Das Ziel muss einen Wert haben.
    auftrag.ZielFONr = v.Q.FONr;
    EXPECT_THROW(EmpfindlichkeitBerechnen(bau.M(), auftrag), EModellErzeugen);
}

TEST(Empfindlichkeit, EingabeAnDerDieRechnungScheitertUndCsv) {
    test::TAufzeichnung platt;
    // Q -> V1 -> W (Faktor 1,95) -> V2 -> S, V2 gibt die Hälfte zurück an V1:
    // Verstärkung je Umlauf 0,975; um 10 % gehoben über 1, die Rechnung scheitert.
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& v1 = bau.Knoten<TVerzweigung>("V1");
    auto& w = bau.Knoten<TWandler>("W");
    auto& v2 = bau.Knoten<TVerzweigung>("V2");
    auto& s = bau.Knoten<TSenke>("S");
    bau.Weg(q, v1);
    bau.Weg(v1, w);
    bau.Weg(w, v2);
    bau.Weg(v2, s);
    bau.Weg(v2, v1);
    test::Menge(q, 0, 1);
    test::Anteile(v1, 0, 1, {100});
    test::Anteile(v1, 0, 2, {100});
    test::Anteile(v2, 0, 1, {50, 50});
    w.Matrix().W(0, 1, 1) = 1.95;
    bau.M().MaxBerDauer = 2000;
    TEmpfindlichkeitsAuftrag auftrag;
    auftrag.ZielFONr = s.FONr;
    const TEmpfindlichkeit e = EmpfindlichkeitBerechnen(bau.M(), auftrag);
    // Gescheitert: der gehobene Faktor und jede Verschiebung der Anteile von V2
    // zur Rückführung; sie stehen am Ende, die anderen nach Wirkung davor.
    ASSERT_EQ(e.Zeilen.size(), 6U);
    size_t gescheitert = 0;
    for (size_t i = 0; i < e.Zeilen.size(); ++i) {
        const TEmpfindlichkeitsZeile& z = e.Zeilen[i];
        if (z.Gescheitert()) ++gescheitert;
        else EXPECT_EQ(gescheitert, 0U) << "gescheiterte stehen am Ende";
        if (z.Eingabe.Groesse != "Faktor") continue;
        EXPECT_FALSE(z.ZielPlus);
        ASSERT_TRUE(z.ZielMinus);
        EXPECT_EQ(z.Grund, "die Rechnung scheitert bei +10 %");
    }
    EXPECT_EQ(gescheitert, 3U);
    const std::string csv = EmpfindlichkeitAlsCsv(e);
    EXPECT_EQ(csv.substr(0, csv.find('\r')), "FONr,Objekt,Groesse,Artikel,Von,Nach,Wert,ZielMinus,ZielPlus,Wirkung");
    EXPECT_NE(csv.find(",Faktor,Artikel1,Artikel1,,1.95,"), std::string::npos) << csv;
    // Abbrechen hält alle Fäden an.
    std::atomic<bool> abbrechen{true};
    auftrag.Abbrechen = &abbrechen;
    EXPECT_TRUE(EmpfindlichkeitBerechnen(bau.M(), auftrag).Abgebrochen);
}

} // namespace
} // namespace tessomir
