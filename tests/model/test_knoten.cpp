// Knoten und Wege: An- und Abhängen mit passenden Matrixscheiben, die
// Eigenheiten der vier Knotenarten und der angezeigte Strom.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/UBerechnung.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "base/UFehler.h"
#include "model/UKnoten.h"

using namespace tessomir;
using tessomir::test::TAufzeichnung;
using tessomir::test::TMeldung;
using tessomir::test::TModellBau;

namespace {

double Z(const TKnoten& k, int a, int b, int c) {
    const double* z = k.Matrix().Zelle(a, b, c);
    EXPECT_NE(z, nullptr) << k.Name << " (" << a << ", " << b << ", " << c << ")";
    return z != nullptr ? *z : std::nan("");
}

void Setze(TKnoten& k, int a, int b, int c, double wert) {
    ASSERT_NE(k.Matrix().Zelle(a, b, c), nullptr);
    k.Matrix().ZelleSetzen(a, b, c, wert);
}

// Zerstört einen Weg so, wie die Objektliste es tut.
void Zerstoeren(TModellBau& bau, TWeg& weg) { bau.M().FOListe.Entfernen(&weg).reset(); }

// Ein Weg, der nicht in der Liste steht (für Knoten ohne Modellbezug).
std::unique_ptr<TWeg> LoserWeg(TModellBau& bau) { return std::make_unique<TWeg>(bau.M()); }

} // namespace

// ---------------------------------------------------------------- Quelle und Senke

TEST(TQuelle, AusgangHaengtScheibeMitNullenAn) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto& q = bau.Knoten<TQuelle>();
    auto& s = bau.Knoten<TSenke>();
    EXPECT_EQ(q.Matrix().DimText(), "2 / 1 / 1");
    auto& w = bau.Weg(q, s);
    EXPECT_EQ(q.Matrix().DimText(), "2 / 1 / 2");
    EXPECT_EQ(Z(q, 0, 0, 1), 0);
    EXPECT_EQ(Z(q, 1, 0, 1), 0);
    EXPECT_EQ(Z(q, 1, 0, 0), 100); // Anfangswert der Matrix bleibt
    EXPECT_EQ(q.AnzahlAusgaenge(), 1);
    EXPECT_EQ(q.AnzahlEingaenge(), 0);
    EXPECT_EQ(q.GetAusgang(0), &w);
    EXPECT_EQ(q.GetAusgang(1), nullptr);
    EXPECT_EQ(q.GetEingang(0), nullptr);
    EXPECT_EQ(q.AusgangIndex(&w), 0);
    EXPECT_EQ(q.EingangIndex(&w), -1);
    EXPECT_EQ(q.AusgangIndex(nullptr), -1);
    EXPECT_EQ(w.Start(), &q);
    EXPECT_EQ(w.Ziel(), &s);
}

TEST(TQuelle, AbgehaengterAusgangLiefertNachNeuemAnhaengenNull) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, s, w] = bau.Strecke();
    Setze(q, 0, 0, 1, 5);
    w.SetStart(nullptr);
    EXPECT_EQ(q.AnzahlAusgaenge(), 0);
    EXPECT_EQ(w.Start(), nullptr);
    // Scheibe 0 geht, die des Wegs bleibt übrig.
    EXPECT_EQ(q.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(Z(q, 0, 0, 0), 5);
    w.SetStart(&q);
    EXPECT_EQ(q.Matrix().DimText(), "1 / 1 / 2");
    EXPECT_EQ(Z(q, 0, 0, 1), 0);
    EXPECT_EQ(rec.Pieptoene, 0);
    EXPECT_TRUE(rec.Meldungen.empty());
}

TEST(TSenke, EingangHaengtScheibeAnUndAbhaengenEntferntScheibeNull) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto [q, s, w] = bau.Strecke();
    EXPECT_EQ(s.Matrix().DimText(), "2 / 2 / 1");
    EXPECT_EQ(Z(s, 0, 1, 0), 0);
    EXPECT_EQ(Z(s, 1, 1, 0), 0);
    EXPECT_EQ(s.AnzahlEingaenge(), 1);
    EXPECT_EQ(s.AnzahlAusgaenge(), 0);
    EXPECT_EQ(s.GetEingang(0), &w);
    EXPECT_EQ(s.GetEingang(1), nullptr);
    EXPECT_EQ(s.GetAusgang(0), nullptr);
    EXPECT_EQ(s.EingangIndex(&w), 0);
    EXPECT_EQ(s.AusgangIndex(&w), -1);

    Setze(s, 1, 1, 0, 8);
    w.SetZiel(nullptr);
    EXPECT_EQ(s.AnzahlEingaenge(), 0);
    EXPECT_EQ(s.Matrix().DimText(), "2 / 1 / 1");
    EXPECT_EQ(Z(s, 1, 0, 0), 8);
    w.SetZiel(&s);
    EXPECT_EQ(Z(s, 1, 1, 0), 0);
}

TEST(Knoten, NeuerKnotenUndZuruecksetzen) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& v = bau.Knoten<TVerzweigung>();
    EXPECT_EQ(v.LetzteAenderung, 0);
    v.Zuruecksetzen();
    EXPECT_EQ(v.LetzteAenderung, 1e100);
    auto& q = bau.Knoten<TQuelle>();
    q.Zuruecksetzen();
    EXPECT_EQ(q.LetzteAenderung, 1e100);
}

// ---------------------------------------------------------------- Verzweigung

TEST(TVerzweigung, MittlererAusgangNimmtSeineScheibeMit) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, v, s1, s2, e, a1, a2] = bau.Verteilung();
    auto& s3 = bau.Knoten<TSenke>();
    auto& a3 = bau.Weg(v, s3);
    ASSERT_EQ(v.Matrix().DimText(), "1 / 2 / 4");
    for (int k = 1; k <= 3; ++k) {
        Setze(v, 0, 1, k, 10.0 * k);
        Setze(v, 0, 0, k, k + 0.5);
    }
    EXPECT_EQ(v.AusgangIndex(&a3), 2);

    Zerstoeren(bau, a2);
    EXPECT_EQ(v.AnzahlAusgaenge(), 2);
    EXPECT_EQ(v.GetAusgang(0), &a1);
    EXPECT_EQ(v.GetAusgang(1), &a3);
    EXPECT_EQ(v.AusgangIndex(&a3), 1);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 3");
    EXPECT_EQ(Z(v, 0, 1, 1), 10);
    EXPECT_EQ(Z(v, 0, 1, 2), 30);
    EXPECT_EQ(Z(v, 0, 0, 2), 3.5);
    EXPECT_EQ(s2.AnzahlEingaenge(), 0);
}

TEST(TVerzweigung, ZweiterEingangGehtErsterBehaeltSeineAnteile) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q1, q2, v, s, e1, e2, a] = bau.Zusammenfluss();
    ASSERT_EQ(v.Matrix().DimText(), "1 / 3 / 2");
    Setze(v, 0, 1, 1, 100);
    Setze(v, 0, 2, 1, 40);
    Setze(v, 0, 1, 0, 4);
    Setze(v, 0, 2, 0, 6);

    e2.SetZiel(nullptr);
    EXPECT_EQ(v.AnzahlEingaenge(), 1);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 2");
    EXPECT_EQ(Z(v, 0, 1, 1), 100);
    EXPECT_EQ(Z(v, 0, 1, 0), 4);
    EXPECT_EQ(e2.Ziel(), nullptr);
}

TEST(TVerzweigung, ErsterEingangGehtZweiterRuecktMitAnteilenVor) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q1, q2, v, s, e1, e2, a] = bau.Zusammenfluss();
    Setze(v, 0, 1, 1, 100);
    Setze(v, 0, 2, 1, 40);
    Setze(v, 0, 2, 0, 6);

    Zerstoeren(bau, e1);
    EXPECT_EQ(v.AnzahlEingaenge(), 1);
    EXPECT_EQ(v.GetEingang(0), &e2);
    EXPECT_EQ(v.EingangIndex(&e2), 0);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 2");
    EXPECT_EQ(Z(v, 0, 1, 1), 40);
    EXPECT_EQ(Z(v, 0, 1, 0), 6);
    EXPECT_EQ(q1.AnzahlAusgaenge(), 0);
}

TEST(TVerzweigung, NeuerAusgangHatAnteilNullInJederSpalte) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto [q1, q2, v, s1, e1, e2, a1] = bau.Zusammenfluss();
    for (int a = 0; a < 2; ++a)
        for (int j = 1; j <= 2; ++j) Setze(v, a, j, 1, 100);

    bau.Weg(v, bau.Knoten<TSenke>()); // neuer Ausgang zu einer neuen Senke
    ASSERT_EQ(v.Matrix().DimText(), "2 / 3 / 3");
    for (int a = 0; a < 2; ++a) {
        for (int j = 1; j <= 2; ++j) {
            EXPECT_EQ(Z(v, a, j, 2), 0);
            EXPECT_EQ(v.Matrix().Zeilensumme(a, j, v.Matrix().Dim3()), 100);
        }
    }
}

TEST(TVerzweigung, DoppeltesAnhaengenUndFremdesAbhaengenWerdenUebergangen) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, v, s, e, a] = bau.Durchlauf<TVerzweigung>();
    v.AddAusgang(&a);
    v.AddEingang(&e);
    EXPECT_EQ(v.AnzahlAusgaenge(), 1);
    EXPECT_EQ(v.AnzahlEingaenge(), 1);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 2");

    const auto fremd = LoserWeg(bau);
    v.RemoveAusgang(fremd.get());
    v.RemoveEingang(fremd.get());
    v.RemoveAusgang(&e); // e ist ein Eingang, kein Ausgang
    EXPECT_EQ(v.AnzahlAusgaenge(), 1);
    EXPECT_EQ(v.AnzahlEingaenge(), 1);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 2");
    EXPECT_EQ(v.AusgangIndex(fremd.get()), -1);
    EXPECT_EQ(v.GetAusgang(1), nullptr);
    EXPECT_EQ(v.GetEingang(-1), nullptr);
    EXPECT_EQ(rec.Pieptoene, 0);
}

// ---------------------------------------------------------------- Wandler

TEST(TWandler, NeueMatrixIstArtikelMalArtikelPlusEinsMalZweiNullen) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    bau.M().ArtikelEinfuegen("C");
    auto& wa = bau.Knoten<TWandler>();
    ASSERT_EQ(wa.Matrix().DimText(), "3 / 4 / 2");
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 4; ++b)
            for (int c = 0; c < 2; ++c) EXPECT_EQ(Z(wa, a, b, c), 0);
    EXPECT_EQ(wa.AnzahlEingaenge(), 0);
    EXPECT_EQ(wa.AnzahlAusgaenge(), 0);
}

TEST(TWandler, BehaeltFaktorenBeimAbUndAnhaengen) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto [q, wa, s, e, a] = bau.Durchlauf<TWandler>();
    ASSERT_EQ(wa.Matrix().DimText(), "2 / 3 / 2");
    Setze(wa, 1, 1, 1, 2);
    Setze(wa, 0, 2, 1, 0.5);
    EXPECT_EQ(wa.GetEingang(0), &e);
    EXPECT_EQ(wa.GetAusgang(0), &a);
    EXPECT_EQ(wa.GetEingang(1), nullptr);
    EXPECT_EQ(wa.EingangIndex(&e), 0);
    EXPECT_EQ(wa.AusgangIndex(&e), -1);

    e.SetZiel(nullptr);
    a.SetStart(nullptr);
    EXPECT_EQ(wa.AnzahlEingaenge(), 0);
    EXPECT_EQ(wa.AnzahlAusgaenge(), 0);
    e.SetZiel(&wa);
    a.SetStart(&wa);
    Zerstoeren(bau, a);
    EXPECT_EQ(wa.AnzahlAusgaenge(), 0);
    EXPECT_EQ(wa.Matrix().DimText(), "2 / 3 / 2");
    EXPECT_EQ(Z(wa, 1, 1, 1), 2);
    EXPECT_EQ(Z(wa, 0, 2, 1), 0.5);
    EXPECT_EQ(rec.Pieptoene, 0);
}

// ---------------------------------------------------------------- Wege

TEST(TWeg, ZweitesSetStartWirftUndAendertNichts) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& v1 = bau.Knoten<TVerzweigung>();
    auto& v2 = bau.Knoten<TVerzweigung>();
    auto& s = bau.Knoten<TSenke>();
    auto& w = bau.Weg(v1, s);
    const auto wirft = [](const std::function<void()>& tun, const char* text) {
        try {
            tun();
            ADD_FAILURE() << text;
        } catch (const EInvalidOperation& e) {
            EXPECT_STREQ(e.what(), text);
        }
    };
    wirft([&] { w.SetStart(&v1); }, "Error TWeg.SetStart");
    wirft([&] { w.SetStart(&v2); }, "Error TWeg.SetStart");
    EXPECT_TRUE(rec.Meldungen.empty());
    EXPECT_EQ(w.Start(), &v1);
    EXPECT_EQ(v1.AnzahlAusgaenge(), 1);
    EXPECT_EQ(v1.Matrix().DimText(), "1 / 1 / 2");
    EXPECT_EQ(v2.AnzahlAusgaenge(), 0);
    EXPECT_EQ(v2.Matrix().DimText(), "1 / 1 / 1");

    wirft([&] { w.SetZiel(&v2); }, "Error TWeg.SetZiel");
    EXPECT_EQ(w.Ziel(), &s);
    EXPECT_EQ(v2.AnzahlEingaenge(), 0);
    EXPECT_EQ(s.Matrix().DimText(), "1 / 2 / 1");
}

TEST(TWeg, AbhaengenOhneKnotenTutNichts) {
    TAufzeichnung rec;
    TModell m;
    TWeg w(m);
    w.SetStart(nullptr);
    w.SetZiel(nullptr);
    EXPECT_EQ(w.Start(), nullptr);
    EXPECT_EQ(w.Ziel(), nullptr);
    EXPECT_TRUE(rec.Meldungen.empty());
    EXPECT_EQ(rec.Pieptoene, 0);
}

TEST(TWeg, ZerstoerenHaengtAnBeidenEndenAb) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>();
    auto& v = bau.Knoten<TVerzweigung>();
    auto& wa = bau.Knoten<TWandler>();
    auto& s = bau.Knoten<TSenke>();
    auto& w1 = bau.Weg(q, v);
    auto& w2 = bau.Weg(v, wa);
    bau.Weg(wa, s);
    ASSERT_EQ(v.Matrix().DimText(), "1 / 2 / 2");

    Zerstoeren(bau, w2);
    EXPECT_EQ(v.AnzahlAusgaenge(), 0);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 1");
    EXPECT_EQ(wa.AnzahlEingaenge(), 0);
    EXPECT_EQ(wa.Matrix().DimText(), "1 / 2 / 2");

    Zerstoeren(bau, w1);
    EXPECT_EQ(q.AnzahlAusgaenge(), 0);
    EXPECT_EQ(q.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(v.AnzahlEingaenge(), 0);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(bau.M().FOListe.Anzahl(), 5u);
}

TEST(TWeg, BeimLadenKeineNeuenScheiben) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>();
    auto& v = bau.Knoten<TVerzweigung>();
    auto& s = bau.Knoten<TSenke>();
    auto& wa = bau.Knoten<TWandler>();
    bau.M().Laedt = 1;
    bau.Weg(q, v);
    bau.Weg(v, wa);
    bau.Weg(wa, s);
    bau.M().Laedt = 0;
    EXPECT_EQ(q.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(v.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(s.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(wa.Matrix().DimText(), "1 / 2 / 2");
    EXPECT_EQ(v.AnzahlEingaenge(), 1);
    EXPECT_EQ(v.AnzahlAusgaenge(), 1);
    EXPECT_EQ(s.AnzahlEingaenge(), 1);
}

// ---------------------------------------------------------------- Nicht unterstützte Anschlüsse

TEST(Signalton, QuelleOhneEingangSenkeOhneAusgang) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>();
    auto& s = bau.Knoten<TSenke>();
    auto& w = bau.Weg(s, q); // falsch herum
    EXPECT_EQ(rec.Pieptoene, 2);
    // Der Weg behält die Bezüge, die Knoten bleiben unverändert.
    EXPECT_EQ(w.Start(), &s);
    EXPECT_EQ(w.Ziel(), &q);
    EXPECT_EQ(q.AnzahlEingaenge(), 0);
    EXPECT_EQ(s.AnzahlAusgaenge(), 0);
    EXPECT_EQ(q.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(s.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(w.Strom(), 0);

    Zerstoeren(bau, w);
    EXPECT_EQ(rec.Pieptoene, 4);
    EXPECT_TRUE(rec.Meldungen.empty());
}

TEST(Signalton, BlosserKnotenKannNichts) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& k = bau.Knoten<TKnoten>();
    const auto w = LoserWeg(bau);
    k.AddAusgang(w.get());
    k.AddEingang(w.get());
    k.RemoveAusgang(w.get());
    k.RemoveEingang(w.get());
    EXPECT_EQ(rec.Pieptoene, 4);
    EXPECT_EQ(k.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(k.AnzahlEingaenge(), 0);
    EXPECT_EQ(k.AnzahlAusgaenge(), 0);
    EXPECT_EQ(k.GetAusgang(0), nullptr);
    EXPECT_EQ(k.EingangIndex(w.get()), -1);
    AusgaengeBerechnen(k);
    EXPECT_EQ(EingaengeUebernehmen(k), Konvergierend);
    EXPECT_EQ(k.Strom(), 0);
}

// ---------------------------------------------------------------- Strom

TEST(Strom, WegOhneZielIstNull) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, s, w] = bau.Strecke();
    Setze(q, 0, 0, 1, 50);
    Setze(s, 0, 1, 0, 50);
    w.SetZiel(nullptr);
    EXPECT_EQ(w.Strom(), 0);
    bau.M().SummeAllerArtikel = true;
    EXPECT_EQ(w.Strom(), 0);
}

TEST(Strom, WegZeigtDenEingangDesZielknotens) {
    TAufzeichnung rec;
    TModellBau bau;
    TModell& m = bau.M();
    m.ArtikelEinfuegen("B");
    auto [q1, q2, v, s, e1, e2, a] = bau.Zusammenfluss();
    Setze(q2, 0, 0, 1, 99); // was die Quelle liefert, zählt nicht
    Setze(v, 0, 1, 0, 1);
    Setze(v, 1, 1, 0, 2);
    Setze(v, 0, 2, 0, 3);
    Setze(v, 1, 2, 0, 5);
    Setze(v, 0, 0, 1, 70); // Ausgangszelle der Verzweigung
    Setze(s, 0, 1, 0, 4);
    Setze(s, 1, 1, 0, 6);

    EXPECT_EQ(e1.Strom(), 1);
    EXPECT_EQ(e2.Strom(), 3);
    EXPECT_EQ(a.Strom(), 4);
    m.ArtikelSetzen(1);
    EXPECT_EQ(e1.Strom(), 2);
    EXPECT_EQ(e2.Strom(), 5);
    EXPECT_EQ(a.Strom(), 6);
    m.SummeAllerArtikel = true;
    EXPECT_EQ(e1.Strom(), 3);
    EXPECT_EQ(e2.Strom(), 8);
    EXPECT_EQ(a.Strom(), 10);
}

TEST(Strom, VerzweigungSummiertIhreEingaenge) {
    TAufzeichnung rec;
    TModellBau bau;
    TModell& m = bau.M();
    m.ArtikelEinfuegen("B");
    auto [q1, q2, v, s, e1, e2, a] = bau.Zusammenfluss();
    Setze(v, 0, 1, 0, 4);
    Setze(v, 0, 2, 0, 6);
    Setze(v, 1, 1, 0, 0.5);
    Setze(v, 1, 2, 0, 1.5);
    Setze(v, 0, 0, 0, 1000); // Zelle (a, 0, 0) bedeutet nichts
    Setze(v, 0, 1, 1, 100);  // Anteile zählen nicht
    Setze(v, 0, 0, 1, 10);   // Ausgänge zählen nicht

    EXPECT_EQ(v.Strom(), 10);
    m.ArtikelSetzen(1);
    EXPECT_EQ(v.Strom(), 2);
    m.SummeAllerArtikel = true;
    EXPECT_EQ(v.Strom(), 12);
}

TEST(Strom, AndereKnotenZeigenNichts) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, wa, s, e, a] = bau.Durchlauf<TWandler>();
    Setze(q, 0, 0, 1, 5);
    Setze(wa, 0, 1, 0, 5);
    Setze(s, 0, 1, 0, 5);
    EXPECT_EQ(q.Strom(), 0);
    EXPECT_EQ(wa.Strom(), 0);
    EXPECT_EQ(s.Strom(), 0);
}

// ---------------------------------------------------------------- Rechnen der Arten

TEST(Rechnen, SenkeUebernimmtJedenArtikel) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto [q, s, w] = bau.Strecke();
    Setze(q, 0, 0, 1, 3);
    Setze(q, 1, 0, 1, 4);
    EXPECT_EQ(EingaengeUebernehmen(s), Konvergierend);
    EXPECT_EQ(Z(s, 0, 1, 0), 3);
    EXPECT_EQ(Z(s, 1, 1, 0), 4);
}

TEST(Rechnen, VerzweigungTeiltNachAnteilen) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto [q, v, s1, s2, e, a1, a2] = bau.Verteilung();
    Setze(q, 0, 0, 1, 10);
    Setze(q, 1, 0, 1, 20);
    Setze(v, 0, 1, 1, 30);
    Setze(v, 0, 1, 2, 70);
    Setze(v, 1, 1, 1, 50);
    Setze(v, 1, 1, 2, 50);
    v.Zuruecksetzen();
    EingaengeUebernehmen(v);
    AusgaengeBerechnen(v);
    EXPECT_EQ(Z(v, 0, 1, 0), 10);
    EXPECT_EQ(Z(v, 0, 0, 1), 3);
    EXPECT_EQ(Z(v, 0, 0, 2), 7);
    // Artikel mischen sich nicht.
    EXPECT_EQ(Z(v, 1, 0, 1), 10);
    EXPECT_EQ(Z(v, 1, 0, 2), 10);
}

TEST(Rechnen, WandlerMachtAusArtikelNullArtikelEins) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.M().ArtikelEinfuegen("B");
    auto [q, wa, s, e, a] = bau.Durchlauf<TWandler>();
    Setze(q, 0, 0, 1, 5);
    wa.Zuruecksetzen();
    EingaengeUebernehmen(wa);
    AusgaengeBerechnen(wa);
    // Alle Faktoren 0: nichts kommt heraus.
    EXPECT_EQ(Z(wa, 0, 1, 0), 5);
    EXPECT_EQ(Z(wa, 0, 0, 1), 0);
    EXPECT_EQ(Z(wa, 1, 0, 1), 0);

    Setze(wa, 1, 1, 1, 2); // Artikel 1 aus Artikel 0, ohne Teilen durch 100
    AusgaengeBerechnen(wa);
    EXPECT_EQ(Z(wa, 1, 0, 1), 10);
    EXPECT_EQ(Z(wa, 0, 0, 1), 0);
    EingaengeUebernehmen(s);
    EXPECT_EQ(Z(s, 1, 1, 0), 10);
}

// ---------------------------------------------------------------- Startposition der Wege

// Die Berechnung liest die mitgeführte Startposition; sie muss nach jedem
// An- und Abhängen der Stelle unter den Ausgängen entsprechen.
TEST(TWeg, StartPositionFolgtDenAusgaengen) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& v = bau.Knoten<TVerzweigung>();
    auto& s1 = bau.Knoten<TSenke>();
    auto& s2 = bau.Knoten<TSenke>();
    auto& s3 = bau.Knoten<TSenke>();
    TWeg& w1 = bau.Weg(v, s1);
    TWeg& w2 = bau.Weg(v, s2);
    TWeg& w3 = bau.Weg(v, s3);
    EXPECT_EQ(w3.StartPosition(), 2);
    Zerstoeren(bau, w2);
    EXPECT_EQ(w1.StartPosition(), v.AusgangIndex(&w1));
    EXPECT_EQ(w3.StartPosition(), 1);
    EXPECT_EQ(v.AusgangIndex(&w3), 1);
    w3.SetStart(nullptr);
    EXPECT_EQ(w3.StartPosition(), -1);

    // Ein ersetzter Ausgang einer Quelle ist keiner mehr.
    auto& q = bau.Knoten<TQuelle>();
    auto alt = LoserWeg(bau);
    auto neu = LoserWeg(bau);
    alt->SetStart(&q);
    neu->SetStart(&q);
    EXPECT_EQ(alt->StartPosition(), q.AusgangIndex(alt.get()));
    EXPECT_EQ(neu->StartPosition(), 0);
    alt->SetStart(nullptr); // löst den einen Ausgang der Quelle, also den neuen
    EXPECT_EQ(neu->StartPosition(), q.AusgangIndex(neu.get()));
    neu->SetStart(nullptr);
}
