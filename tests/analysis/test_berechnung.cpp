// Flussberechnung: Knotenformeln, Abbruchregel der Durchgänge, Zeitgrenze,
// Überlauf und der berechnete Höchststrom.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analysis/UBerechnung.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UZeilen.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

using test::Anteil;
using test::Anteile;
using test::Menge;
using test::TAufzeichnung;
using test::TMeldung;
using test::TModellBau;
using Zeilen = std::vector<std::string>;

const std::string Gestartet = "Daten OK, Berechnung gestartet";
const std::string ZeitZeile1000 = "Max. Berechnungsdauer von : 1000 msec \xFC" "berschritten.";
const std::string UrsacheZeile = "Wahrscheinliche Ursache : Schlaufe mit monoton zunehmendem Strom";
const std::vector<TMeldung> KeineMeldung;

double Empfangen(const TSenke& s, int artikel = 0) { return s.Matrix().W(artikel, 1, 0); }

// Zählt die Durchgänge über die Uhr: einmal beim Start, einmal je Durchgang.
struct TDurchgangsZaehler {
    TAufzeichnung& Auf;
    int Abfragen = 0;
    explicit TDurchgangsZaehler(TAufzeichnung& auf, uint32_t schritt = 0) : Auf(auf) {
        auf.Taktgeber = [this, schritt] { return static_cast<uint32_t>(Abfragen++) * schritt; };
    }
    int Durchgaenge() const { return Abfragen - 1; }
};

// ---------------------------------------------------------------- Knoten

TEST(Knoten, WandlerFaktorenOhneDivision) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Granulat");
    auto [q, w, s, ein, aus] = bau.Durchlauf<TWandler>("Q", "W", "S");
    Menge(q, 0, 5);
    w.Matrix().ZelleSetzen(1, 1, 1, 2); // Granulat je Einheit Artikel1
    EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(w.Matrix().W(0, 1, 0), 5.0);
    EXPECT_EQ(Empfangen(s, 0), 0.0);
    EXPECT_EQ(Empfangen(s, 1), 10.0);
}

TEST(Knoten, WandlerMischtArtikelUndOhneFaktorenNichts) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    bau.M().ArtikelEinfuegen("C");
    auto [q, w, s, ein, aus] = bau.Durchlauf<TWandler>("Q", "W", "S");
    ASSERT_EQ(w.Matrix().DimText(), "3 / 4 / 2");
    Menge(q, 0, 2);
    Menge(q, 1, 3);
    Menge(q, 2, 7);
    // C entsteht aus 0.5 je A und 4 je B; A bleibt zu 10 Prozent; B und C vergehen.
    w.Matrix().ZelleSetzen(2, 1, 1, 0.5);
    w.Matrix().ZelleSetzen(2, 2, 1, 4);
    w.Matrix().ZelleSetzen(0, 1, 1, 0.1);
    AusgaengeBerechnen(w);
    EXPECT_EQ(w.Matrix().W(0, 0, 1), 0.0); // noch nichts angekommen
    EingaengeUebernehmen(w);
    AusgaengeBerechnen(w);
    EXPECT_DOUBLE_EQ(w.Matrix().W(0, 0, 1), 0.2);
    EXPECT_EQ(w.Matrix().W(1, 0, 1), 0.0);
    EXPECT_DOUBLE_EQ(w.Matrix().W(2, 0, 1), 13.0);

    // Alle Faktoren 0: es kommt nichts heraus, was auch immer ankommt.
    for (int i = 0; i < 3; ++i)
        for (int j = 1; j <= 3; ++j) w.Matrix().ZelleSetzen(i, j, 1, 0);
    AusgaengeBerechnen(w);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(w.Matrix().W(i, 0, 1), 0.0);
}

TEST(Knoten, VerzweigungTeiltJeArtikel) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Glas");
    auto [q1, q2, v, s1, e1, e2, a1] = bau.Zusammenfluss("Q1", "Q2", "V", "S1");
    auto& s2 = bau.Knoten<TSenke>("S2");
    bau.Weg(v, s2);
    Menge(q1, 0, 10);
    Menge(q2, 0, 20);
    Menge(q2, 1, 8);
    Anteile(v, 0, 1, {30, 70});
    Anteile(v, 0, 2, {50, 50});
    Anteil(v, 1, 1, 1, 100);
    Anteil(v, 1, 2, 2, 100);
    EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_DOUBLE_EQ(Empfangen(s1, 0), 3 + 10);
    EXPECT_DOUBLE_EQ(Empfangen(s2, 0), 7 + 10);
    EXPECT_EQ(Empfangen(s1, 1), 0.0); // Glas kommt nur über Q2, und das geht ganz an S2
    EXPECT_EQ(Empfangen(s2, 1), 8.0);
    // Durchsatz: Summe der Eingänge, aktueller Artikel oder alle.
    EXPECT_DOUBLE_EQ(v.Strom(), 30.0);
    bau.M().AktArtikel = 1;
    EXPECT_DOUBLE_EQ(v.Strom(), 8.0);
    bau.M().SummeAllerArtikel = true;
    EXPECT_DOUBLE_EQ(v.Strom(), 38.0);
}

TEST(Knoten, SenkeUebernimmtAllesUndBewertetNie) {
    TAufzeichnung auf;
    TModellBau bau;
    auto [q, s, w] = bau.Strecke("Q", "S");
    Menge(q, 0, 5e200); // keine Überlaufprüfung in der Senke
    BerechnungVorbereiten(bau.M());
    EXPECT_EQ(EingaengeUebernehmen(s), Konvergierend);
    EXPECT_EQ(Empfangen(s), 5e200);
    EXPECT_EQ(EingaengeUebernehmen(s), Konvergierend);
    EXPECT_TRUE(auf.Protokoll.empty());
}

TEST(Knoten, BewertungDerEingaenge) {
    TAufzeichnung auf;
    TModellBau bau;
    auto [q, v, s, ein, aus] = bau.Durchlauf<TVerzweigung>("Q", "V", "S");
    Anteil(v, 0, 1, 1, 100);
    Menge(q, 0, 10);
    v.Zuruecksetzen();
    EXPECT_EQ(v.LetzteAenderung, 1e100);
    EXPECT_EQ(EingaengeUebernehmen(v), Konvergierend); // erster Durchgang: 10 < 1e100
    EXPECT_EQ(v.LetzteAenderung, 10.0);
    EXPECT_EQ(EingaengeUebernehmen(v), Konvergierend); // ruhig, aber noch nicht zweimal
    EXPECT_EQ(v.LetzteAenderung, 0.0);
    EXPECT_EQ(EingaengeUebernehmen(v), Stabil);
    Menge(q, 0, 10 + 1e-11); // unter der Ruhegrenze
    EXPECT_EQ(EingaengeUebernehmen(v), Stabil);
    Menge(q, 0, 12);
    EXPECT_EQ(EingaengeUebernehmen(v), Zunehmend); // Änderung nach ruhigem Durchgang
    Menge(q, 0, 13);
    EXPECT_EQ(EingaengeUebernehmen(v), Konvergierend); // 1 < 2
    Menge(q, 0, 11);
    EXPECT_EQ(EingaengeUebernehmen(v), Zunehmend); // Abnahme um 2 > 1 zählt als Änderung
    EXPECT_EQ(v.LetzteAenderung, 2.0);
}

// ---------------------------------------------------------------- Abbruchregel

// Quelle -> V1 -> V2 -> Senke, alle Anteile 100.
struct TKette {
    TModellBau Bau;
    TQuelle& Q = Bau.Knoten<TQuelle>("Q");
    TVerzweigung& V1 = Bau.Knoten<TVerzweigung>("V1");
    TVerzweigung& V2 = Bau.Knoten<TVerzweigung>("V2");
    TSenke& S = Bau.Knoten<TSenke>("S");
    TKette() {
        Bau.Weg(Q, V1);
        Bau.Weg(V1, V2);
        Bau.Weg(V2, S);
        Anteil(V1, 0, 1, 1, 100);
        Anteil(V2, 0, 1, 1, 100);
        Menge(Q, 0, 42);
    }
};

TEST(Abbruch, KetteRuhtErstWennJedeVerzweigungRuht) {
    TAufzeichnung auf;
    TKette k;
    TModell& m = k.Bau.M();
    // Durchgänge einzeln: V2 nimmt im zweiten zu, V1 ruht im dritten, V2 erst im vierten.
    BerechnungVorbereiten(m);
    bool alleStabil = true;
    EXPECT_EQ(EingangsDurchgang(m, &alleStabil), Konvergierend);
    EXPECT_FALSE(alleStabil);
    AusgangsDurchgang(m);
    EXPECT_EQ(EingangsDurchgang(m, &alleStabil), Zunehmend);
    AusgangsDurchgang(m);
    EXPECT_EQ(EingangsDurchgang(m, &alleStabil), Stabil);
    EXPECT_FALSE(alleStabil); // V2 ist noch Konvergierend
    AusgangsDurchgang(m);
    EXPECT_EQ(EingangsDurchgang(m, &alleStabil), Stabil);
    EXPECT_TRUE(alleStabil);
}

TEST(Abbruch, KetteEndetNachVierDurchgaengen) {
    TAufzeichnung auf;
    TKette k;
    TDurchgangsZaehler zaehler(auf);
    EXPECT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(zaehler.Durchgaenge(), 4);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Berechnung OK"}));
    EXPECT_EQ(auf.Meldungen, KeineMeldung);
    EXPECT_EQ(Empfangen(k.S), 42.0);
    EXPECT_EQ(k.Bau.M().MaxStromBerechnet, 42.0);
}

TEST(Abbruch, UnveraendertesModellEndetNachZweiDurchgaengen) {
    TAufzeichnung auf;
    TKette k;
    ASSERT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    TDurchgangsZaehler zaehler(auf);
    EXPECT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(zaehler.Durchgaenge(), 2);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Berechnung OK"}));
    EXPECT_EQ(Empfangen(k.S), 42.0);
}

TEST(Abbruch, QuelleDirektAnSenkeEndetNachEinemDurchgang) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Artikel2");
    auto [q, s, w] = bau.Strecke("Q", "S");
    Menge(q, 0, 50);
    Menge(q, 1, 0.25);
    TDurchgangsZaehler zaehler(auf, 1);
    EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(zaehler.Durchgaenge(), 1);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Berechnung OK"}));
    EXPECT_EQ(auf.Meldungen, KeineMeldung);
    EXPECT_EQ(Empfangen(s, 0), 50.0);
    EXPECT_EQ(Empfangen(s, 1), 0.25);
}

// Ein Netz, in dem eine Verzweigung schon ruht, während weiter oben noch ein
// Strom unterwegs ist, der in jedem Durchgang kleiner wird (nur Konvergierend):
// V3 bündelt 10 direkt, 5 über VA und 2 über VB -> VC; VY leitet den Strom von
// V3 an die Senke S und den von Q4 an die Senke S4. VA und VB ruhen ab dem
// dritten Durchgang, keiner nimmt dort zu. Würde ein einzelner ruhender Knoten
// genügen, hielte S danach 15 statt 17.
struct TSpaeteAenderung {
    TModellBau Bau;
    TQuelle& Q1 = Bau.Knoten<TQuelle>("Q1");
    TQuelle& Q2 = Bau.Knoten<TQuelle>("Q2");
    TQuelle& Q3 = Bau.Knoten<TQuelle>("Q3");
    TQuelle& Q4 = Bau.Knoten<TQuelle>("Q4");
    TVerzweigung& VA = Bau.Knoten<TVerzweigung>("VA");
    TVerzweigung& VB = Bau.Knoten<TVerzweigung>("VB");
    TVerzweigung& VC = Bau.Knoten<TVerzweigung>("VC");
    TVerzweigung& V3 = Bau.Knoten<TVerzweigung>("V3");
    TVerzweigung& VY = Bau.Knoten<TVerzweigung>("VY");
    TSenke& S = Bau.Knoten<TSenke>("S");
    TSenke& S4 = Bau.Knoten<TSenke>("S4");
    TSpaeteAenderung() {
        Bau.Weg(Q2, VA);
        Bau.Weg(Q3, VB);
        Bau.Weg(VB, VC);
        Bau.Weg(Q1, V3);
        Bau.Weg(VA, V3);
        Bau.Weg(VC, V3);
        Bau.Weg(Q4, VY);
        Bau.Weg(V3, VY);
        Bau.Weg(VY, S);
        Bau.Weg(VY, S4);
        Menge(Q1, 0, 10);
        Menge(Q2, 0, 5);
        Menge(Q3, 0, 2);
        Menge(Q4, 0, 20);
        for (TVerzweigung* v : {&VA, &VB, &VC}) Anteil(*v, 0, 1, 1, 100);
        for (int j = 1; j <= 3; ++j) Anteil(V3, 0, j, 1, 100);
        Anteil(VY, 0, 1, 2, 100); // Q4 -> S4
        Anteil(VY, 0, 2, 1, 100); // V3 -> S
    }
};

TEST(Abbruch, EinRuhenderKnotenGenuegtNicht) {
    {
        // Die Durchgänge von Hand, mit der Regel "ein Knoten Stabil, keiner Zunehmend".
        TAufzeichnung auf;
        TSpaeteAenderung n;
        TModell& m = n.Bau.M();
        BerechnungVorbereiten(m);
        TBerechnungsZustand z = Konvergierend;
        int durchgaenge = 0;
        bool alleStabil = false;
        do {
            z = EingangsDurchgang(m, &alleStabil);
            AusgangsDurchgang(m);
            ++durchgaenge;
        } while (z != Stabil && durchgaenge < 100);
        EingangsDurchgang(m);
        EXPECT_EQ(durchgaenge, 3);
        EXPECT_FALSE(alleStabil);
        EXPECT_EQ(Empfangen(n.S), 15.0);
    }
    TAufzeichnung auf;
    TSpaeteAenderung n;
    TDurchgangsZaehler zaehler(auf);
    EXPECT_EQ(ModellNeuberechnen(n.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Berechnung OK"}));
    EXPECT_EQ(zaehler.Durchgaenge(), 6);
    EXPECT_EQ(Empfangen(n.S), 17.0);
    EXPECT_EQ(Empfangen(n.S4), 20.0);
}

TEST(Abbruch, RueckflussKonvergiert) {
    // Q -> V1 -> V2; V2 gibt 80 % an die Senke, 20 % zurück an V1.
    TAufzeichnung auf;
    TModellBau bau;
    const auto [q, v1, v2, s] = bau.Rueckfluss();
    EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Berechnung OK"}));
    EXPECT_NEAR(Empfangen(s), 100.0, 1e-9);
    EXPECT_NEAR(v1.Strom(), 125.0, 1e-9);
}

// ---------------------------------------------------------------- Zeitgrenze

// Q -> B1 -> B2 -> B1: der Strom in der Schlaufe wächst ohne Ende.
struct TSchlaufe {
    TModellBau Bau;
    TQuelle& Q = Bau.Knoten<TQuelle>("Q");
    TVerzweigung& B1 = Bau.Knoten<TVerzweigung>("B1");
    TVerzweigung& B2 = Bau.Knoten<TVerzweigung>("B2");
    TSchlaufe() {
        Bau.Weg(Q, B1);
        Bau.Weg(B1, B2);
        Bau.Weg(B2, B1);
        Anteil(B1, 0, 1, 1, 100);
        Anteil(B1, 0, 2, 1, 100);
        Anteil(B2, 0, 1, 1, 100);
        Menge(Q, 0, 3);
    }
};

TEST(Zeitgrenze, SchlaufeNimmtStaendigZu) {
    TAufzeichnung auf;
    TSchlaufe s;
    // Die Ratings einzeln: ab dem zweiten Durchgang nimmt immer einer zu.
    TModell& m = s.Bau.M();
    BerechnungVorbereiten(m);
    EXPECT_EQ(EingangsDurchgang(m), Konvergierend);
    AusgangsDurchgang(m);
    for (int i = 2; i <= 20; ++i) {
        EXPECT_EQ(EingangsDurchgang(m), Zunehmend) << "Durchgang " << i;
        AusgangsDurchgang(m);
    }
}

TEST(Zeitgrenze, SchlaufeEndetMitZeitzeilen) {
    TAufzeichnung auf;
    TSchlaufe s;
    int ergebnisseGemeldet = 0;
    auf.Schritt = 100; // Start 0, Durchgang n liest n*100
    EXPECT_EQ(ModellNeuberechnen(s.Bau.M(), [&] { ++ergebnisseGemeldet; }),
              TBerechnungsErgebnis::BerechnungFehlerhaft);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, ZeitZeile1000, UrsacheZeile}));
    EXPECT_EQ(auf.Meldungen, KeineMeldung); // die Meldung zeigt der Aufrufer
    EXPECT_EQ(ergebnisseGemeldet, 2);
    // 1000 ms sind noch erlaubt, erst 1100 > 1000: elf Durchgänge.
    EXPECT_EQ(auf.Zeit, 12U * 100U);
    // B1 wächst in jedem zweiten Durchgang um 3: nach elf Durchgängen 18.
    EXPECT_DOUBLE_EQ(s.B1.Strom(), 18.0);
    EXPECT_GT(s.Bau.M().MaxStromBerechnet, 0.0);
}

TEST(Zeitgrenze, GrenzeNullUndEigeneGrenze) {
    {
        // Uhr steht: auch die Grenze 0 wird nie überschritten.
        TAufzeichnung auf;
        TKette k;
        k.Bau.M().MaxBerDauer = 0;
        EXPECT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    }
    {
        // Grenze 0 und ein Durchgang dauert 1 ms: Zeitüberschreitung gewinnt,
        // obwohl das Modell nach dem ersten Durchgang stabil wäre.
        TAufzeichnung auf;
        TModellBau bau;
        auto [q, s, w] = bau.Strecke("Q", "S");
        Menge(q, 0, 7);
        bau.M().MaxBerDauer = 0;
        auf.Schritt = 1;
        EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungFehlerhaft);
        EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Max. Berechnungsdauer von : 0 msec \xFC" "berschritten.",
                                         UrsacheZeile}));
        EXPECT_EQ(auf.Meldungen, KeineMeldung); // die Meldung zeigt der Aufrufer
        EXPECT_EQ(Empfangen(s), 7.0); // die Zellen behalten den letzten Durchgang
    }
    {
        // Die Grenze steht ohne Tausendertrennzeichen in der Zeile.
        TAufzeichnung auf;
        TSchlaufe s;
        s.Bau.M().MaxBerDauer = 1234567;
        auf.Schritt = 1234568;
        EXPECT_EQ(ModellNeuberechnen(s.Bau.M()), TBerechnungsErgebnis::BerechnungFehlerhaft);
        EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Max. Berechnungsdauer von : 1234567 msec \xFC" "berschritten.",
                                         UrsacheZeile}));
    }
}

TEST(Zeitgrenze, UhrUeberlaufZaehltModulo) {
    {
        // Start kurz vor dem Überlauf der 32-Bit-Uhr: die Kette endet normal.
        TAufzeichnung auf;
        TKette k;
        auf.Zeit = 0xFFFFFFFEU;
        auf.Schritt = 1;
        EXPECT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
        EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Berechnung OK"}));
        EXPECT_EQ(auf.Zeit, 3U); // vier Durchgänge über den Überlauf hinweg
    }
    {
        // Die Schlaufe läuft auch über den Überlauf genau bis zur Grenze.
        TAufzeichnung auf;
        TSchlaufe s;
        auf.Zeit = 0xFFFFFF00U;
        auf.Schritt = 100;
        EXPECT_EQ(ModellNeuberechnen(s.Bau.M()), TBerechnungsErgebnis::BerechnungFehlerhaft);
        EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, ZeitZeile1000, UrsacheZeile}));
        EXPECT_EQ(auf.Zeit, 0xFFFFFF00U + 12U * 100U);
    }
}

// ---------------------------------------------------------------- Überlauf

TEST(Ueberlauf, GenauEinsE100WirdAngenommen) {
    TAufzeichnung auf;
    TKette k;
    Menge(k.Q, 0, 1e100);
    EXPECT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "Berechnung OK"}));
    EXPECT_EQ(Empfangen(k.S), 1e100);
    EXPECT_EQ(k.Bau.M().MaxStromBerechnet, 1e100);
}

TEST(Ueberlauf, VerzweigungJeEingangUndArtikel) {
    TAufzeichnung auf;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("Artikel2");
    auto [q1, q2, v, s, e1, e2, a] = bau.Zusammenfluss("Q1", "Q2", "V1", "S");
    for (int a = 0; a < 2; ++a)
        for (int j = 1; j <= 2; ++j) Anteil(v, a, j, 1, 100);
    v.Matrix().ZelleSetzen(0, 2, 0, 4); // alter Wert im Eingang, der stehen bleibt
    Menge(q1, 0, 1);
    Menge(q2, 0, 2e100);
    Menge(q2, 1, -1.5e100); // der Betrag zählt
    TDurchgangsZaehler zaehler(auf);
    EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungFehlerhaft);
    EXPECT_EQ(zaehler.Durchgaenge(), 1);
    EXPECT_EQ(auf.Protokoll, (Zeilen{
                                 Gestartet,
                                 "[ V1 ] |Artikel1|   2. Eingang  : Eingangsstrom wird zu gross",
                                 "[ V1 ] |Artikel2|   2. Eingang  : Eingangsstrom wird zu gross",
                             }));
    EXPECT_EQ(auf.Meldungen, KeineMeldung); // die Meldung zeigt der Aufrufer
    EXPECT_EQ(v.Matrix().W(0, 2, 0), 4.0);
    EXPECT_EQ(v.Matrix().W(1, 2, 0), 0.0);
    EXPECT_EQ(v.Matrix().W(0, 1, 0), 1.0);
}

TEST(Ueberlauf, Wandler) {
    TAufzeichnung auf;
    TModellBau bau;
    auto [q, w, s, ein, aus] = bau.Durchlauf<TWandler>("Q", "W1", "S");
    w.Matrix().ZelleSetzen(0, 1, 1, 1);
    Menge(q, 0, 1.0000001e100);
    EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungFehlerhaft);
    EXPECT_EQ(auf.Protokoll,
              (Zeilen{Gestartet, "[ W1 ]  |Artikel1|   Eingang  : Eingangsstrom wird zu gross"}));
    EXPECT_EQ(auf.Meldungen, KeineMeldung); // die Meldung zeigt der Aufrufer
    EXPECT_EQ(w.Matrix().W(0, 1, 0), 0.0);
}

TEST(Ueberlauf, WandlerVervielfachtUeberDieGrenze) {
    // Der Wandler selbst darf 1e100 annehmen; erst die folgende Verzweigung meldet.
    TAufzeichnung auf;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& w = bau.Knoten<TWandler>("W");
    auto& v = bau.Knoten<TVerzweigung>("V");
    auto& s = bau.Knoten<TSenke>("S");
    bau.Weg(q, w);
    bau.Weg(w, v);
    bau.Weg(v, s);
    Anteil(v, 0, 1, 1, 100);
    w.Matrix().ZelleSetzen(0, 1, 1, 10);
    Menge(q, 0, 1e100);
    TDurchgangsZaehler zaehler(auf);
    EXPECT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungFehlerhaft);
    EXPECT_EQ(zaehler.Durchgaenge(), 2);
    EXPECT_EQ(auf.Protokoll, (Zeilen{Gestartet, "[ V ] |Artikel1|   1. Eingang  : Eingangsstrom wird zu gross"}));
}

// ---------------------------------------------------------------- Höchststrom

// Zwei Quellen in eine Verzweigung, zwei Artikel.
struct TZweiArtikel {
    TModellBau Bau;
    TQuelle& Q1 = Bau.Knoten<TQuelle>("Q1");
    TQuelle& Q2 = Bau.Knoten<TQuelle>("Q2");
    TVerzweigung& V = Bau.Knoten<TVerzweigung>("V");
    TSenke& S = Bau.Knoten<TSenke>("S");
    TZweiArtikel() {
        Bau.M().ArtikelEinfuegen("Artikel2");
        Bau.Weg(Q1, V);
        Bau.Weg(Q2, V);
        Bau.Weg(V, S);
        for (int a = 0; a < 2; ++a)
            for (int j = 1; j <= 2; ++j) Anteil(V, a, j, 1, 100);
    }
};

TEST(MaxStrom, EinzelwerteAllerArtikelUndDurchsatz) {
    {
        // Einzelwerte an V: 4, 1 und 6, 11; die Senke erhält 10 und 12;
        // Durchsatz von V für Artikel1: 10.
        TAufzeichnung auf;
        TZweiArtikel m;
        Menge(m.Q1, 0, 4);
        Menge(m.Q2, 0, 6);
        Menge(m.Q1, 1, 1);
        Menge(m.Q2, 1, 11);
        EXPECT_EQ(m.Bau.M().MaxStromBerechnet, -1.0);
        ASSERT_EQ(ModellNeuberechnen(m.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
        // Auch Artikel2 zählt, obwohl Artikel1 angezeigt wird: die Senke erhält 12.
        EXPECT_EQ(m.Bau.M().MaxStromBerechnet, 12.0);
    }
    {
        // Nur der Durchsatz der Verzweigung (Summe der Eingänge) erreicht 10.
        TAufzeichnung auf;
        TModellBau bau;
        auto [q1, q2, v, s1, e1, e2, a1] = bau.Zusammenfluss("Q1", "Q2", "V", "S1");
        bau.Weg(v, bau.Knoten<TSenke>("S2"));
        Anteile(v, 0, 1, {50, 50});
        Anteile(v, 0, 2, {50, 50});
        Menge(q1, 0, 4);
        Menge(q2, 0, 6);
        ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
        EXPECT_EQ(bau.M().MaxStromBerechnet, 10.0);
    }
}

TEST(MaxStrom, SummeAllerArtikelJeEingang) {
    {
        TAufzeichnung auf;
        TZweiArtikel m;
        m.Bau.M().SummeAllerArtikel = true;
        Menge(m.Q1, 0, 4);
        Menge(m.Q2, 0, 6);
        Menge(m.Q1, 1, 1);
        Menge(m.Q2, 1, 11);
        ASSERT_EQ(ModellNeuberechnen(m.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
        // Weg Q2->V: 17; Senke: 10 + 12 = 22; Durchsatz V über alle Artikel: 22.
        EXPECT_EQ(m.Bau.M().MaxStromBerechnet, 22.0);
    }
    {
        // Die Summe je Weg zählt, nicht der einzelne Wert (ohne Summe wären es 31).
        TAufzeichnung auf;
        TZweiArtikel m;
        m.Bau.M().SummeAllerArtikel = true;
        Menge(m.Q1, 0, 30);
        Menge(m.Q1, 1, -25);
        Menge(m.Q2, 0, 1);
        ASSERT_EQ(ModellNeuberechnen(m.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
        EXPECT_EQ(m.Bau.M().MaxStromBerechnet, 6.0);
    }
}

TEST(MaxStrom, AlteZellenZaehlenImErstenDurchgang) {
    // Ausgangszellen aus einer früheren Berechnung (oder Datei) liest der erste
    // Eingangsdurchgang noch; sie heben den Höchststrom, auch wenn sie später
    // verschwinden. Je Artikel einzeln oder als Summe je Eingangsweg.
    struct TFall {
        bool Summe;
        bool InDerSenke; // alte Werte vor der Senke statt vor V2
        double Erwartet;
    };
    for (const TFall f : {TFall{false, false, 60}, TFall{true, false, 110}, TFall{false, true, 70},
                          TFall{true, true, 115}}) {
        TAufzeichnung auf;
        TModellBau bau;
        bau.M().ArtikelEinfuegen("Artikel2");
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& v1 = bau.Knoten<TVerzweigung>("V1");
        auto& v2 = bau.Knoten<TVerzweigung>("V2");
        auto& s = bau.Knoten<TSenke>("S");
        auto& s2 = bau.Knoten<TSenke>("S2");
        bau.Weg(q, v1);
        bau.Weg(v1, v2);
        bau.Weg(v2, s);
        bau.Weg(v2, s2);
        // V2 halbiert: was V2 sieht, sieht keine Senke ganz.
        for (int a = 0; a < 2; ++a) {
            Anteil(v1, a, 1, 1, 100);
            Anteile(v2, a, 1, {50, 50});
            Menge(q, a, 2);
        }
        TVerzweigung& alt = f.InDerSenke ? v2 : v1;
        alt.Matrix().ZelleSetzen(0, 0, 1, f.InDerSenke ? 70 : 60);
        alt.Matrix().ZelleSetzen(1, 0, 1, f.InDerSenke ? 45 : 50);
        bau.M().SummeAllerArtikel = f.Summe;
        ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
        EXPECT_EQ(bau.M().MaxStromBerechnet, f.Erwartet) << f.Summe << f.InDerSenke;
        EXPECT_EQ(Empfangen(s, 0), 1.0);
        EXPECT_EQ(Empfangen(s2, 1), 1.0);
    }
}

TEST(MaxStrom, OhneFlussNullUndBeiPruefFehlerUnveraendert) {
    {
        TAufzeichnung auf;
        TKette k;
        Menge(k.Q, 0, 0);
        ASSERT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
        EXPECT_EQ(k.Bau.M().MaxStromBerechnet, 0.0);
    }
    {
        TAufzeichnung auf;
        TKette k;
        k.Bau.Knoten<TSenke>("lose");
        int gemeldet = 0;
        TDurchgangsZaehler zaehler(auf);
        EXPECT_EQ(ModellNeuberechnen(k.Bau.M(), [&] { ++gemeldet; }), TBerechnungsErgebnis::PruefungFehlerhaft);
        EXPECT_EQ(auf.Protokoll, Zeilen{"[ lose ] : Senke ohne Eingang"});
        EXPECT_EQ(auf.Meldungen, KeineMeldung);
        EXPECT_EQ(gemeldet, 1);
        EXPECT_EQ(zaehler.Abfragen, 0);
        EXPECT_EQ(k.Bau.M().MaxStromBerechnet, -1.0);
        EXPECT_EQ(Empfangen(k.S), 0.0);
    }
}

TEST(Neuberechnen, LeertProtokollUndSetztNichtModifiziert) {
    TAufzeichnung auf;
    TKette k;
    auf.Protokoll = {"alt"};
    ASSERT_EQ(ModellNeuberechnen(k.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(auf.Geleert, 1);
    EXPECT_EQ(auf.Protokoll.front(), Gestartet);
    EXPECT_FALSE(k.Bau.M().Modifiziert);
}


// ---------------------------------------------------------------- Plan

// Was ein Durchgang hinterlässt, Bit für Bit.
struct TStand {
    std::vector<int> Zustaende;
    std::vector<std::string> Protokoll;
    std::vector<uint64_t> Bits; // Höchststrom, je Knoten Änderung und alle Zellen
    bool operator==(const TStand&) const = default;
};

std::vector<uint64_t> Bits(const TModell& m) {
    std::vector<uint64_t> b{std::bit_cast<uint64_t>(m.MaxStromBerechnet)};
    for (const TKnoten* k : m.FOListe.Knoten()) {
        b.push_back(std::bit_cast<uint64_t>(k->LetzteAenderung));
        const TDyn3DMatrix& z = k->Matrix();
        for (size_t i = 0; i < z.AnzahlZellen(); ++i) b.push_back(std::bit_cast<uint64_t>(z.Daten()[i]));
    }
    return b;
}

// Zwei Artikel, NaN, -0.0 und ein Überlauf; V1 verzweigt auf einen Wandler und eine Senke.
// Mit 'rueckwaerts' speist V2, das nach allen anderen kommt, V1 (ein Weg gegen die Knotenfolge).
TStand Durchgaenge(bool mitPlan, bool summe, bool rueckwaerts) {
    TAufzeichnung auf;
    TModellBau bau;
    TModell& m = bau.M();
    m.ArtikelEinfuegen("Artikel2");
    m.SummeAllerArtikel = summe;
    auto& q1 = bau.Knoten<TQuelle>("Q1");
    auto& q2 = bau.Knoten<TQuelle>("Q2");
    auto& v = bau.Knoten<TVerzweigung>("V1");
    auto& w = bau.Knoten<TWandler>("W1");
    auto& s1 = bau.Knoten<TSenke>("S1");
    auto& s2 = bau.Knoten<TSenke>("S2");
    bau.Weg(q1, v);
    bau.Weg(q2, v);
    bau.Weg(v, w);
    bau.Weg(v, s1);
    bau.Weg(w, s2);
    Menge(q1, 0, 5);
    Menge(q1, 1, std::numeric_limits<double>::quiet_NaN());
    Menge(q2, 0, 2e100);
    Menge(q2, 1, -0.0);
    for (int a = 0; a < 2; ++a) {
        Anteile(v, a, 1, {30, 70});
        Anteile(v, a, 2, {100, 0});
    }
    w.Matrix().ZelleSetzen(1, 1, 1, 0.5);
    w.Matrix().ZelleSetzen(0, 2, 1, -1);
    if (rueckwaerts) {
        auto& q3 = bau.Knoten<TQuelle>("Q3");
        auto& v2 = bau.Knoten<TVerzweigung>("V2");
        bau.Weg(q3, v2);
        bau.Weg(v2, v);
        Menge(q3, 0, 3);
        Menge(q3, 1, 7);
        for (int a = 0; a < 2; ++a) {
            Anteile(v, a, 3, {50, 50});
            Anteile(v2, a, 1, {100});
        }
    }
    BerechnungVorbereiten(m);
    TStand stand;
    // Der Plan lebt wie in einer Berechnung über alle Durchgänge.
    auto plan = mitPlan ? std::make_unique<TBerechnungsPlan>(m) : nullptr;
    for (int i = 0; i < 4; ++i) {
        bool stabil = false;
        if (plan) {
            stand.Zustaende.push_back(plan->Durchgang(&stabil));
        } else {
            stand.Zustaende.push_back(EingangsDurchgang(m, &stabil));
            AusgangsDurchgang(m);
        }
        stand.Zustaende.push_back(stabil);
    }
    // Nach der Ruhe wird nur noch übernommen.
    stand.Zustaende.push_back(plan ? plan->EingangsDurchgang() : EingangsDurchgang(m));
    plan.reset();
    stand.Protokoll = auf.Protokoll;
    stand.Bits = Bits(m);
    return stand;
}

TEST(Plan, RechnetBitgleichWieDieKnoten) {
    for (const bool rueckwaerts : {false, true}) {
        for (const bool summe : {false, true}) {
            const TStand ohne = Durchgaenge(false, summe, rueckwaerts);
            EXPECT_EQ(ohne.Protokoll.size(), 10U) << summe; // je Durchgang NaN und 2e100, zuletzt nur übernehmen
            EXPECT_EQ(Durchgaenge(true, summe, rueckwaerts), ohne) << summe << rueckwaerts;
        }
    }
}

TEST(Plan, NegativeNullErsetztPositiveNull) {
    TAufzeichnung auf;
    TModellBau bau;
    auto [q, s, w] = bau.Strecke("Q", "S");
    Menge(q, 0, -0.0);
    s.Matrix().ZelleSetzen(0, 1, 0, 0.0);
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_TRUE(std::signbit(Empfangen(s)));
    Menge(q, 0, 0.0);
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_FALSE(std::signbit(Empfangen(s)));
}

// Zellen je Knotenname: ein geladenes Modell ordnet seine Objekte anders.
std::map<std::string, std::vector<uint64_t>> ZellenJeKnoten(const TModell& m) {
    std::map<std::string, std::vector<uint64_t>> zellen;
    for (const TKnoten* k : m.FOListe.Knoten()) {
        const TDyn3DMatrix& z = k->Matrix();
        for (size_t i = 0; i < z.AnzahlZellen(); ++i) zellen[k->Name].push_back(std::bit_cast<uint64_t>(z.Daten()[i]));
    }
    return zellen;
}

TEST(Plan, NachUmbauWieFrischGeladen) {
    // Rechnen, dann Wege, Knoten und einen Artikel dazu (alle Matrizen ziehen
    // um) und wieder rechnen: dasselbe wie das umgebaute Modell frisch geladen.
    TAufzeichnung auf;
    TModellBau bau;
    TModell& m = bau.M();
    auto [q, v, s1, s2, ein, aus1, aus2] = bau.Verteilung("Q", "V", "S1", "S2");
    Menge(q, 0, 8);
    Anteile(v, 0, 1, {25, 75});
    ASSERT_EQ(ModellNeuberechnen(m), TBerechnungsErgebnis::BerechnungOK);
    auto& q2 = bau.Knoten<TQuelle>("Q2");
    auto& s3 = bau.Knoten<TSenke>("S3");
    bau.Weg(q2, v);
    bau.Weg(v, s3);
    m.ArtikelEinfuegen("Artikel2");
    Menge(q2, 0, 4);
    Menge(q2, 1, 6);
    Menge(q, 1, 2);
    for (int a = 0; a < 2; ++a) {
        Anteile(v, a, 1, {25, 25, 50});
        Anteile(v, a, 2, {0, 10, 90});
    }
    TZeilenSchreiber umgebaut;
    Schreiben(m, umgebaut);
    ASSERT_EQ(ModellNeuberechnen(m), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(Empfangen(s3, 1), 0.5 * 2 + 0.9 * 6);

    TModell frisch;
    TextLaden(frisch, umgebaut.Text());
    ASSERT_EQ(ModellNeuberechnen(frisch), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(ZellenJeKnoten(frisch), ZellenJeKnoten(m));
    EXPECT_EQ(frisch.MaxStromBerechnet, m.MaxStromBerechnet);
    EXPECT_EQ(frisch.MaxStromBerechnet, 12.0); // V führt 8 + 4
}

} // namespace
} // namespace tessomir
