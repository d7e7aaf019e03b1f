// Prüfung: Strukturregeln je Knotenart, Kolonnensummen der Verzweigungen und
// der Befehl "Prüfen" mit Protokoll und Fehlermeldung.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis/UBerechnung.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::Anteile;
using test::TAufzeichnung;
using test::TMeldung;
using test::TModellBau;
using Zeilen = std::vector<std::string>;

const std::string PruefFehler = "Beim Pr\xFC" "fen sind Fehler aufgetreten";

TEST(Meldungen, ZuJedemErgebnisDerTextDesProgramms) {
    EXPECT_EQ(PruefFehlerMeldung, PruefFehler);
    EXPECT_STREQ(ErgebnisMeldung(TBerechnungsErgebnis::PruefungFehlerhaft), PruefFehler.c_str());
    EXPECT_STREQ(ErgebnisMeldung(TBerechnungsErgebnis::BerechnungFehlerhaft), "Beim Berechnen sind Fehler aufgetreten");
    EXPECT_STREQ(ErgebnisMeldung(TBerechnungsErgebnis::BerechnungOK), "");
}

// Quelle -> V1 -> zwei Senken; V1 teilt mit den gegebenen Anteilen.
struct TVerteiler {
    TModellBau Bau;
    TModellBau::TVerteilung Netz = Bau.Verteilung("Q1", "V1", "S1", "S2");
    TQuelle& Q = Netz.Q;
    TVerzweigung& V = Netz.V;
    TSenke& S1 = Netz.S1;
};

TEST(Kolonnensummen, GerundeteDrittelGeltenUngenaueNicht) {
    {
        TAufzeichnung auf;
        TVerteiler m;
        Anteile(m.V, 0, 1, {33.3333, 66.6667});
        EXPECT_TRUE(ModellPruefen(m.Bau.M()));
        EXPECT_EQ(auf.Protokoll, Zeilen{"Daten OK"});
        EXPECT_TRUE(auf.Meldungen.empty());
    }
    {
        TAufzeichnung auf;
        TVerteiler m;
        Anteile(m.V, 0, 1, {33.3, 66.6});
        EXPECT_FALSE(ModellPruefen(m.Bau.M()));
        EXPECT_EQ(auf.Protokoll, Zeilen{"[ V1 ]  |Artikel1|   1. Eingang  : Kolonnensumme ist nicht gleich 100"});
        EXPECT_TRUE(auf.Meldungen.empty()); // die Meldung zeigt der Aufrufer
    }
}

TEST(Kolonnensummen, AbweichungNachObenUndUntenUndNaN) {
    const std::vector<std::pair<std::vector<double>, bool>> faelle = {
        {{50.0, 50.0}, true},
        {{100.0, 0.0}, true},
        {{50.0, 50.0005}, true},
        {{50.0, 49.9995}, true},
        {{50.0, 50.002}, false},
        {{50.0, 49.998}, false},
        {{0.0, 0.0}, false},
        {{150.0, -50.0}, true}, // negative Anteile verbietet die Prüfung nicht
        {{std::nan(""), 100.0}, false},
        {{std::numeric_limits<double>::infinity(), 0.0}, false},
    };
    for (const auto& [anteile, ok] : faelle) {
        TAufzeichnung auf;
        TVerteiler m;
        Anteile(m.V, 0, 1, anteile);
        EXPECT_EQ(KolonnensummenPruefen(m.Bau.M()), ok) << anteile[0] << " + " << anteile[1];
        EXPECT_EQ(auf.Protokoll.size(), ok ? 0U : 1U);
    }
}

TEST(Kolonnensummen, JeArtikelUndEingangEineZeile) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Artikel2");
    auto [q1, q2, v, s1, e1, e2, a1] = bau.Zusammenfluss("Q1", "Q2", "V1", "S1");
    bau.Weg(v, bau.Knoten<TSenke>("S2"));
    for (int a = 0; a < 2; ++a) {
        Anteile(v, a, 1, {40, 60});
        Anteile(v, a, 2, {40, 50}); // zweiter Eingang: 90
    }
    EXPECT_FALSE(ModellPruefen(bau.M()));
    EXPECT_EQ(auf.Protokoll, (Zeilen{
                                 "[ V1 ]  |Artikel1|   2. Eingang  : Kolonnensumme ist nicht gleich 100",
                                 "[ V1 ]  |Artikel2|   2. Eingang  : Kolonnensumme ist nicht gleich 100",
                             }));
    EXPECT_TRUE(auf.Meldungen.empty());
}

TEST(Kolonnensummen, ReihenfolgeArtikelVorEingangUndNachObjektliste) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Glas");
    auto& q1 = bau.Knoten<TQuelle>("Q1");
    auto& q2 = bau.Knoten<TQuelle>("Q2");
    auto& va = bau.Knoten<TVerzweigung>("VA");
    auto& vb = bau.Knoten<TVerzweigung>("VB");
    auto& s = bau.Knoten<TSenke>("S");
    bau.Weg(q1, va);
    bau.Weg(q2, va);
    bau.Weg(va, vb);
    bau.Weg(vb, s);
    // Alle Spalten falsch (neue Anteile sind 0).
    EXPECT_FALSE(KolonnensummenPruefen(bau.M()));
    EXPECT_EQ(auf.Protokoll, (Zeilen{
                                 "[ VA ]  |Artikel1|   1. Eingang  : Kolonnensumme ist nicht gleich 100",
                                 "[ VA ]  |Artikel1|   2. Eingang  : Kolonnensumme ist nicht gleich 100",
                                 "[ VA ]  |Glas|   1. Eingang  : Kolonnensumme ist nicht gleich 100",
                                 "[ VA ]  |Glas|   2. Eingang  : Kolonnensumme ist nicht gleich 100",
                                 "[ VB ]  |Artikel1|   1. Eingang  : Kolonnensumme ist nicht gleich 100",
                                 "[ VB ]  |Glas|   1. Eingang  : Kolonnensumme ist nicht gleich 100",
                             }));
}

TEST(Kolonnensummen, NeuerAusgangBehaeltDieSumme) {
    TAufzeichnung auf;
    TVerteiler m;
    Anteile(m.V, 0, 1, {25, 75});
    auto& s3 = m.Bau.Knoten<TSenke>("S3");
    m.Bau.Weg(m.V, s3);
    ASSERT_EQ(m.V.Matrix().Dim3(), 4);
    EXPECT_EQ(m.V.Matrix().W(0, 1, 3), 0.0);
    EXPECT_TRUE(ModellPruefen(m.Bau.M()));
    EXPECT_EQ(auf.Protokoll, Zeilen{"Daten OK"});
}

TEST(Kolonnensummen, QuellenUndWandlerHabenKeineSpaltenregel) {
    TAufzeichnung auf;
    TModellBau bau;
    auto [q, w, s, ein, aus] = bau.Durchlauf<TWandler>("Q", "W", "S");
    q.Matrix().ZelleSetzen(0, 0, 1, -12.5);
    w.Matrix().ZelleSetzen(0, 1, 1, 3.7);
    EXPECT_TRUE(ModellPruefen(bau.M()));
    EXPECT_EQ(auf.Protokoll, Zeilen{"Daten OK"});
}

TEST(Struktur, JedeRegelMitIhrerZeile) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.Knoten<TQuelle>("Q");
    bau.Knoten<TSenke>("S");
    bau.Knoten<TVerzweigung>("V");
    bau.Knoten<TWandler>("W");
    EXPECT_FALSE(StrukturPruefen(bau.M()));
    EXPECT_EQ(auf.Protokoll, (Zeilen{
                                 "[ Q ] : Quelle ohne Ausgang",
                                 "[ S ] : Senke ohne Eingang",
                                 "[ V ] : Verzweigung ohne Eingang",
                                 "[ V ] : Verzweigung ohne Ausgang",
                                 "[ W ] : Wandler ohne Eingang",
                                 "[ W ] : Wandler ohne Ausgang",
                             }));
    EXPECT_TRUE(auf.Meldungen.empty());
}

TEST(Struktur, EinseitigAngeschlosseneKnoten) {
    TAufzeichnung auf;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& v = bau.Knoten<TVerzweigung>("V");
    auto& w = bau.Knoten<TWandler>("W");
    auto& v2 = bau.Knoten<TVerzweigung>("V2");
    auto& s = bau.Knoten<TSenke>("S");
    bau.Weg(q, v);  // V ohne Ausgang
    bau.Weg(v2, w); // W ohne Ausgang, V2 ohne Eingang
    bau.Weg(v2, s);
    EXPECT_FALSE(StrukturPruefen(bau.M()));
    EXPECT_EQ(auf.Protokoll, (Zeilen{
                                 "[ V ] : Verzweigung ohne Ausgang",
                                 "[ W ] : Wandler ohne Ausgang",
                                 "[ V2 ] : Verzweigung ohne Eingang",
                             }));
}

TEST(Struktur, WegeUndLeereListeSindOhneBefund) {
    {
        TAufzeichnung auf;
        TModellBau bau;
        EXPECT_TRUE(StrukturPruefen(bau.M()));
        EXPECT_TRUE(auf.Protokoll.empty());
    }
    {
        // Ein Weg ohne Knoten wird nicht untersucht.
        TAufzeichnung auf;
        TModellBau bau;
        bau.M().FOListe.Hinzufuegen(std::make_unique<TWeg>(bau.M()), false);
        EXPECT_TRUE(StrukturPruefen(bau.M()));
        EXPECT_TRUE(auf.Protokoll.empty());
    }
}

TEST(Pruefen, StrukturfehlerUnterdrueckenKolonnensummen) {
    TAufzeichnung auf;
    TVerteiler m;
    Anteile(m.V, 0, 1, {10, 10});
    m.Bau.Knoten<TQuelle>("Q2");
    EXPECT_FALSE(ModellPruefen(m.Bau.M()));
    EXPECT_EQ(auf.Protokoll, Zeilen{"[ Q2 ] : Quelle ohne Ausgang"});
    EXPECT_TRUE(auf.Meldungen.empty());
}

TEST(Pruefen, LeertDasProtokollUndAendertNichts) {
    TAufzeichnung auf;
    TVerteiler m;
    Anteile(m.V, 0, 1, {30, 70});
    m.Q.Matrix().ZelleSetzen(0, 0, 1, 10);
    auf.Protokoll = {"alte Zeile"};
    EXPECT_TRUE(ModellPruefen(m.Bau.M()));
    EXPECT_EQ(auf.Geleert, 1);
    EXPECT_EQ(auf.Protokoll, Zeilen{"Daten OK"});
    EXPECT_FALSE(m.Bau.M().Modifiziert);
    // Prüfen berechnet nichts.
    EXPECT_EQ(m.V.Matrix().W(0, 0, 1), 0.0);
    EXPECT_EQ(m.S1.Matrix().W(0, 1, 0), 0.0);
    EXPECT_EQ(auf.Pieptoene, 0);
}

TEST(Texte, ArtikelUndEingang) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Altpapier");
    EXPECT_EQ(bau.M().ArtikelText(1), " |Altpapier| ");
    EXPECT_EQ(TModell::EingangText(0), " Eingang ");
    EXPECT_EQ(TModell::EingangText(-3), " Eingang ");
    EXPECT_EQ(TModell::EingangText(1), " 1. Eingang ");
    EXPECT_EQ(TModell::EingangText(12), " 12. Eingang ");
}

} // namespace
} // namespace tessomir
