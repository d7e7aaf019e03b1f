// Der Editor ohne Oberfläche: Maus in den Einfügemodi, Wegregeln, Auswahl,
// Ziehen und Vorgabekapazität.
#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "editing/UEditor.h"

namespace tessomir {
namespace {

using test::TPrimitiv;
using K = TMausknopf;
using T = TTaste;

// Merkt sich, was der Editor von der Oberfläche verlangt.
class TOberflaeche final : public IEditorFlaeche {
public:
    void Neuzeichnen() override { ++Neu; }
    void ModellUeberzeichnen() override { ++Ueber; }
    void Gummi(const std::function<void()>& zeichnen) override {
        ++Gummis;
        zeichnen();
    }
    void PopupOeffnen(TBildpunkt p) override { Popups.push_back(p); }
    int Neu = 0, Ueber = 0, Gummis = 0;
    std::vector<TBildpunkt> Popups;
};

// Gerätepunkt (x, y) beim Massstab 1 als Modellpunkt.
TPunkt Ort(int x, int y) { return TPunkt{static_cast<double>(x), static_cast<double>(-y)}; }

struct EditorTest : ::testing::Test {
    test::TAufzeichnung plattform;
    test::TModellBau bau;
    test::TAufzeichnendeFlaeche flaeche;
    TAnsicht ansicht{&flaeche};
    TOberflaeche ober;
    TEditor editor{ansicht, ober};
    TFOListe& liste = bau.M().FOListe;

    EditorTest() { editor.ModellSetzen(&bau.M()); }

    void Klick(TUmschaltung u, TBildpunkt p, int modus = Deaktiviert, K knopf = K::Links) {
        editor.Druecken(modus, knopf, u, p);
        editor.Loslassen(modus, knopf, {}, p);
    }
    void Ziehen(int modus, TBildpunkt von, TBildpunkt nach) {
        editor.Druecken(modus, K::Links, {T::Links}, von);
        editor.Bewegen(modus, {T::Links}, von);
        editor.Bewegen(modus, {T::Links}, nach);
        editor.Loslassen(modus, K::Links, {}, nach);
    }
    std::vector<const TFO*> Auswahl() const {
        std::vector<const TFO*> a;
        for (const auto& e : liste.Auswahl()) a.push_back(e.Objekt);
        return a;
    }
    size_t Wege() const { return liste.Anzahl() - liste.Knoten().size(); }
};

TEST(Wegregeln, WerBeginntUndWerEndet) {
    test::TAufzeichnung plattform;
    test::TModellBau bau;
    auto& q = bau.Knoten<TQuelle>();
    auto& s = bau.Knoten<TSenke>();
    auto& v = bau.Knoten<TVerzweigung>();
    auto& w = bau.Knoten<TWandler>();
    EXPECT_TRUE(KannWegBeginnen(q));
    EXPECT_FALSE(KannWegEnden(q));
    EXPECT_FALSE(KannWegBeginnen(s));
    EXPECT_TRUE(KannWegEnden(s));
    EXPECT_TRUE(KannWegBeginnen(w));
    EXPECT_TRUE(KannWegEnden(w));
    bau.Weg(q, v);
    bau.Weg(v, s);
    bau.Weg(w, v);
    bau.Weg(v, w);
    // Belegt: Quelle und Wandler haben einen Ausgang, Senke und Wandler einen Eingang.
    EXPECT_FALSE(KannWegBeginnen(q));
    EXPECT_FALSE(KannWegEnden(s));
    EXPECT_FALSE(KannWegBeginnen(w));
    EXPECT_FALSE(KannWegEnden(w));
    EXPECT_TRUE(KannWegBeginnen(v));
    EXPECT_TRUE(KannWegEnden(v));
    EXPECT_TRUE(WegVorhanden(q, v));
    EXPECT_FALSE(WegVorhanden(v, q));
    EXPECT_TRUE(WegVorhanden(v, w));
    EXPECT_FALSE(WegVorhanden(s, v));
}

TEST_F(EditorTest, KnotenAmEndeAmGedruecktenPunkt) {
    auto& alt = bau.Knoten<TSenke>("alt", Ort(10, 10));
    liste.Auswaehlen(&alt, false);
    ansicht.Massstab = 2.0;
    const std::pair<int, const char*> arten[] = {
        {Quelle, "TQuelle"}, {Senke, "TSenke"}, {Verzweigung, "TVerzweigung"}, {Wandler, "TWandler"}};
    for (const auto& [modus, klasse] : arten) {
        Klick({T::Links}, {40, 60}, modus);
        const TFO* neu = liste.Objekt(liste.Anzahl() - 1);
        EXPECT_STREQ(neu->Klassenname(), klasse);
        EXPECT_EQ(ansicht.Transformieren(neu->Refpunkt), (TBildpunkt{40, 60}));
    }
    EXPECT_TRUE(bau.M().Modifiziert);
    EXPECT_EQ(ober.Neu, 4);
    EXPECT_EQ(Auswahl(), std::vector<const TFO*>{&alt}); // neue Knoten bleiben unausgewählt
    Klick({T::Rechts}, {5, 5}, Quelle, K::Rechts);
    EXPECT_EQ(liste.Anzahl(), 5u);
}

TEST_F(EditorTest, WegVonQuelleZuSenkeVornInDerListe) {
    auto& q = bau.Knoten<TQuelle>("Q", Ort(20, 20));
    auto& s = bau.Knoten<TSenke>("S", Ort(120, 20));
    editor.Druecken(Weg, K::Links, {T::Links}, {21, 19});
    ASSERT_NE(editor.NeuerWeg(), nullptr);
    EXPECT_EQ(Wege(), 0u); // noch nicht im Modell, aber am Startknoten
    EXPECT_EQ(q.AnzahlAusgaenge(), 1);
    editor.Bewegen(Weg, {T::Links}, {50, 40});
    editor.Bewegen(Weg, {T::Links}, {90, 30});
    // Erst Versatz null, dann je Bewegung löschen und neu: immer vom Startknoten aus.
    const auto linien = flaeche.Alle(TPrimitiv::Polylinie);
    ASSERT_EQ(linien.size(), 3u);
    EXPECT_EQ(linien[0].Punkte, (std::vector<TBildpunkt>{{20, 20}, {20, 20}}));
    EXPECT_EQ(linien[1].Punkte, linien[0].Punkte);
    EXPECT_EQ(linien[2].Punkte, (std::vector<TBildpunkt>{{20, 20}, {89, 31}}));
    for (const auto& l : linien) EXPECT_EQ(l.Modus, TStiftModus::NichtXor);
    EXPECT_TRUE(editor.FigurSichtbar());

    editor.Loslassen(Weg, K::Links, {}, {119, 21});
    EXPECT_EQ(editor.NeuerWeg(), nullptr);
    ASSERT_EQ(Wege(), 1u);
    const TWeg* w = liste.Objekt(0)->AlsWeg();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Start(), &q);
    EXPECT_EQ(w->Ziel(), &s);
    EXPECT_FALSE(ansicht.Ziehen);
    EXPECT_EQ(plattform.Pieptoene, 0);
    EXPECT_GE(ober.Neu, 1);
}

TEST_F(EditorTest, AbgewieseneWegePiepenOhneSpur) {
    auto& q = bau.Knoten<TQuelle>("Q", Ort(20, 20));
    auto& a = bau.Knoten<TVerzweigung>("A", Ort(100, 20));
    auto& b = bau.Knoten<TVerzweigung>("B", Ort(200, 20));
    auto& s = bau.Knoten<TSenke>("S", Ort(300, 20));
    auto& q2 = bau.Knoten<TQuelle>("Q2", Ort(20, 100));
    bau.Weg(q2, s);
    const auto abgewiesen = [&](TBildpunkt von, TBildpunkt nach, bool ziehen = true) {
        const int vorher = plattform.Pieptoene;
        const size_t wege = Wege();
        bau.M().Modifiziert = false;
        if (ziehen) Ziehen(Weg, von, nach);
        else Klick({T::Links}, von, Weg);
        EXPECT_EQ(plattform.Pieptoene, vorher + 1);
        EXPECT_EQ(Wege(), wege);
        EXPECT_EQ(editor.NeuerWeg(), nullptr);
        EXPECT_TRUE(bau.M().Modifiziert); // schon beim Drücken gesetzt
    };
    abgewiesen({20, 20}, {20, 20}, false); // ohne Bewegung
    abgewiesen({20, 20}, {60, 60});        // ins Leere
    abgewiesen({100, 20}, {100, 20});      // auf den eigenen Start
    abgewiesen({100, 20}, {20, 100});      // Quelle endet keinen Weg
    abgewiesen({100, 20}, {300, 20});      // Senke hat schon einen Eingang
    EXPECT_EQ(q.AnzahlAusgaenge(), 0);     // die Quelle ist wieder frei

    // Zwischen zwei Verzweigungen je Richtung ein Weg, kein zweiter gleicher.
    Ziehen(Weg, {100, 20}, {200, 20});
    Ziehen(Weg, {200, 20}, {100, 20});
    EXPECT_EQ(Wege(), 3u);
    abgewiesen({100, 20}, {200, 20});
    EXPECT_EQ(a.AnzahlAusgaenge(), 1);
    EXPECT_EQ(b.AnzahlEingaenge(), 1);

    // Eine Quelle mit Ausgang beginnt nichts: kein Gummiband, kein Piep.
    flaeche.Elemente.clear();
    const int piep = plattform.Pieptoene;
    Ziehen(Weg, {20, 100}, {100, 20});
    EXPECT_TRUE(flaeche.Elemente.empty());
    EXPECT_EQ(plattform.Pieptoene, piep);
}

TEST_F(EditorTest, AuswahlNachUmschaltzustand) {
    auto& a = bau.Knoten<TVerzweigung>("A", Ort(20, 20));
    auto& b = bau.Knoten<TVerzweigung>("B", Ort(100, 20));
    auto& c = bau.Knoten<TVerzweigung>("C", Ort(200, 20));
    auto& d = bau.Knoten<TVerzweigung>("D", Ort(300, 20));
    const TBildpunkt leer{50, 200};
    using V = std::vector<const TFO*>;

    Klick({T::Links}, {20, 20});
    EXPECT_EQ(Auswahl(), V{&a});
    Klick({T::Links}, {100, 20}); // einer ausgewählt: der neue ersetzt ihn
    EXPECT_EQ(Auswahl(), V{&b});
    Klick({T::Umschalt, T::Links}, leer);
    EXPECT_EQ(Auswahl(), V{&b});
    Klick({T::Umschalt, T::Links}, {20, 20});
    Klick({T::Strg, T::Links}, {200, 20});
    EXPECT_EQ(Auswahl(), (V{&b, &a, &c}));
    Klick({T::Links}, {20, 20}); // Glied einer Gruppe: die Gruppe bleibt
    EXPECT_EQ(Auswahl().size(), 3u);
    Klick({T::Links}, {300, 20}); // plain auf einen vierten: er kommt dazu
    EXPECT_EQ(Auswahl(), (V{&b, &a, &c, &d}));
    Klick({T::Strg, T::Links}, {20, 20});
    EXPECT_EQ(Auswahl(), (V{&b, &c, &d}));
    for (const TUmschaltung u : {TUmschaltung{T::Alt, T::Links}, TUmschaltung{T::Strg, T::Umschalt, T::Links},
                                 TUmschaltung{T::Links, T::Doppelt}}) {
        Klick(u, {20, 20});
        Klick(u, leer);
    }
    EXPECT_EQ(Auswahl(), (V{&b, &c, &d}));
    EXPECT_EQ(ansicht.Startpunkt, leer);
    Klick({T::Mitte}, leer, Deaktiviert, K::Mitte);
    Klick({T::Links}, leer);
    EXPECT_TRUE(Auswahl().empty());
    EXPECT_EQ(ober.Ueber, 15); // jedes Drücken links zeigt die Auswahl sofort
    EXPECT_TRUE(ober.Popups.empty());
}

TEST_F(EditorTest, UebereinanderliegendeWegeReihum) {
    auto& a = bau.Knoten<TVerzweigung>("A", Ort(0, 20));
    auto& b = bau.Knoten<TVerzweigung>("B", Ort(200, 20));
    TWeg& hin = bau.Weg(a, b);
    TWeg& her = bau.Weg(b, a);
    std::vector<const TFO*> reihe;
    for (int i = 0; i < 3; ++i) {
        Klick({T::Links}, {100, 20});
        reihe.push_back(Auswahl().at(0));
    }
    EXPECT_EQ(reihe, (std::vector<const TFO*>{&her, &hin, &her}));
}

TEST_F(EditorTest, RechtsklickWaehltUndOeffnetKontextmenue) {
    auto& a = bau.Knoten<TVerzweigung>("A", Ort(20, 20));
    auto& b = bau.Knoten<TVerzweigung>("B", Ort(100, 20));
    liste.Auswaehlen(&a, false);
    Klick({T::Rechts}, {100, 20}, Deaktiviert, K::Rechts);
    EXPECT_EQ(Auswahl(), (std::vector<const TFO*>{&a, &b}));
    Klick({T::Strg, T::Rechts}, {300, 300}, Deaktiviert, K::Rechts);
    EXPECT_EQ(Auswahl().size(), 2u);
    Klick({T::Rechts}, {300, 300}, Deaktiviert, K::Rechts);
    EXPECT_TRUE(Auswahl().empty());
    EXPECT_EQ(ober.Popups, (std::vector<TBildpunkt>{{100, 20}, {300, 300}, {300, 300}}));

    // Umschalten bleibt vom letzten Linksklick: nach Strg+Klick schaltet rechts ab.
    Klick({T::Strg, T::Links}, {20, 20});
    Klick({T::Rechts}, {20, 20}, Deaktiviert, K::Rechts);
    EXPECT_TRUE(Auswahl().empty());
    // Umschalten nur bei genau Strg+Links, nicht bei Strg+Umschalt+Links.
    liste.Auswaehlen(&a, false);
    Klick({T::Strg, T::Umschalt, T::Links}, {20, 20});
    Klick({T::Rechts}, {20, 20}, Deaktiviert, K::Rechts);
    EXPECT_EQ(Auswahl(), std::vector<const TFO*>{&a});
}

// Wie ein Ziehen endet, ohne Maus: die Knoten der Auswahl gehen als ein
// Schritt, ein ausgewählter Weg bleibt, und Rückgängig holt sie zurück.
TEST_F(EditorTest, AuswahlVerschiebenBewegtNurKnotenAlsEinenSchritt) {
    TQuelle& q = bau.Knoten<TQuelle>("Q", {10, -10});
    TSenke& s = bau.Knoten<TSenke>("S", {100, -10});
    TWeg& w = bau.Weg(q, s);
    const TPunkt wegpunkt = w.Refpunkt;
    liste.Auswaehlen(&q, false);
    liste.Auswaehlen(&w, false);
    ansicht.Massstab = 2;
    ansicht.Startpunkt = {20, 20};
    ansicht.Aktpunkt = {25, 25};
    ansicht.Trefferpunkt = {30, 40};
    ansicht.Ziehen = true;
    TVerlauf verlauf;
    AuswahlVerschieben(bau.M(), ansicht, &verlauf);
    // Versatz (10, 20) Gerätepunkte = (5, -10) Modelleinheiten bei Massstab 2.
    EXPECT_EQ(q.Refpunkt, (TPunkt{15, -20}));
    EXPECT_EQ(s.Refpunkt, (TPunkt{100, -10}));
    EXPECT_EQ(w.Refpunkt, wegpunkt);
    EXPECT_EQ(ansicht.Aktpunkt, (TBildpunkt{30, 40}));
    EXPECT_FALSE(ansicht.Ziehen);
    EXPECT_TRUE(bau.M().Modifiziert);
    // Erst wurden die alten Umrisse gelöscht (Umriss am alten Versatz).
    ASSERT_EQ(flaeche.Elemente.size(), 1u);
    EXPECT_EQ(flaeche.Elemente[0].Punkte[0], (TBildpunkt{25, 25 - 6}));
    EXPECT_EQ(verlauf.RueckgaengigName(), "Verschieben");
    verlauf.Rueckgaengig(bau.M());
    EXPECT_EQ(q.Refpunkt, (TPunkt{10, -10}));

    // Nur ein Weg ausgewählt: nichts bewegt sich, kein Schritt, doch Modifiziert.
    bau.M().Modifiziert = false;
    liste.Auswaehlen(&w, false);
    ansicht.Ziehen = true;
    AuswahlVerschieben(bau.M(), ansicht, &verlauf);
    EXPECT_TRUE(bau.M().Modifiziert);
    EXPECT_FALSE(verlauf.KannRueckgaengig());
}

TEST_F(EditorTest, ZiehenVerschiebtDieAuswahlBeimLoslassen) {
    auto& q = bau.Knoten<TQuelle>("Q", Ort(20, 20));
    auto& v = bau.Knoten<TVerzweigung>("V", Ort(100, 20));
    auto& s = bau.Knoten<TSenke>("S", Ort(200, 20));
    TWeg& w = bau.Weg(q, v);
    Klick({T::Links}, {100, 20});
    Klick({T::Umschalt, T::Links}, {200, 20});
    bau.M().Modifiziert = false;
    flaeche.Elemente.clear();

    editor.Druecken(Deaktiviert, K::Links, {T::Links}, {100, 20});
    editor.Bewegen(Deaktiviert, {}, {150, 20}); // ohne Knopf kein Ziehen
    EXPECT_FALSE(ansicht.Ziehen);
    editor.Bewegen(Deaktiviert, {T::Links}, {110, 25});
    editor.Bewegen(Deaktiviert, {T::Links}, {130, 50});
    // Zwei Umrisse beim Start, je Bewegung vier (zwei löschen, zwei neu).
    EXPECT_EQ(flaeche.Elemente.size(), 6u);
    for (const auto& e : flaeche.Elemente) EXPECT_EQ(e.Modus, TStiftModus::NichtXor);
    EXPECT_EQ(v.Refpunkt.X, 100.0); // bis zum Loslassen bewegt sich nichts
    editor.Loslassen(Deaktiviert, K::Links, {}, {140, 60});
    EXPECT_EQ(ansicht.Transformieren(v.Refpunkt), (TBildpunkt{140, 60}));
    EXPECT_EQ(ansicht.Transformieren(s.Refpunkt), (TBildpunkt{240, 60}));
    EXPECT_EQ(ansicht.Transformieren(q.Refpunkt), (TBildpunkt{20, 20}));
    EXPECT_EQ(w.Ziel(), &v);
    EXPECT_TRUE(bau.M().Modifiziert);
    EXPECT_FALSE(ansicht.Ziehen);
    // Das letzte Löschen: jeder Umriss steht gerade so oft, dass er weg ist.
    EXPECT_EQ(flaeche.Elemente.size(), 8u);
}

TEST_F(EditorTest, NurWegeAusgewaehltZiehtNichtsAberModifiziert) {
    auto& a = bau.Knoten<TVerzweigung>("A", Ort(0, 20));
    auto& b = bau.Knoten<TVerzweigung>("B", Ort(200, 20));
    bau.Weg(a, b);
    Klick({T::Links}, {100, 20});
    bau.M().Modifiziert = false;
    flaeche.Elemente.clear();
    Ziehen(Deaktiviert, {100, 20}, {150, 80});
    EXPECT_TRUE(flaeche.Elemente.empty());
    EXPECT_EQ(a.Refpunkt.X, 0.0);
    EXPECT_TRUE(bau.M().Modifiziert);
}

TEST_F(EditorTest, VorgabekapazitaetNurFuerWegeUndVerzweigungen) {
    auto d = bau.Verteilung();
    EXPECT_STREQ(KapazitaetFrage, "\xDC" "berschreibt die Kapazit\xE4ten der\r\nausgew\xE4hlten Wege und Verzweigungen"
                                  "\r\n\r\nNeue Kapazit\xE4t :");
    liste.Auswaehlen(&d.Q, false);
    liste.Auswaehlen(&d.S1, false);
    EXPECT_EQ(VorgabekapazitaetSetzen(bau.M(), "5", ','), "");
    EXPECT_FALSE(bau.M().Modifiziert);
    EXPECT_EQ(d.Q.Kapazitaet, 1000000.0);

    liste.AllesAuswaehlen();
    std::vector<std::string> fehler;
    for (const char* falsch : {"abc", "-1", "1000000,5", "2.5"}) fehler.push_back(VorgabekapazitaetSetzen(bau.M(), falsch, ','));
    ASSERT_EQ(fehler.size(), 4u);
    EXPECT_EQ(fehler[0], "Ung\xFCltige Eingabe: Kapazit\xE4t");
    EXPECT_EQ(fehler[1], "Eingabe: Kapazit\xE4t\r\nmuss gr\xF6sser als 0 und kleiner als 1000000,00 sein");
    EXPECT_EQ(fehler[3], "Ung\xFCltige Eingabe: Kapazit\xE4t");
    EXPECT_TRUE(plattform.Meldungen.empty());
    EXPECT_EQ(d.V.Kapazitaet, 1000000.0);
    EXPECT_FALSE(bau.M().Modifiziert);

    EXPECT_EQ(VorgabekapazitaetSetzen(bau.M(), "12,5", ','), "");
    EXPECT_EQ(d.V.Kapazitaet, 12.5);
    EXPECT_EQ(d.Aus1.Kapazitaet, 12.5);
    EXPECT_EQ(d.S2.Kapazitaet, 1000000.0);
    EXPECT_TRUE(bau.M().Modifiziert);
    EXPECT_EQ(VorgabekapazitaetSetzen(bau.M(), "0", ','), "");
    EXPECT_EQ(VorgabekapazitaetSetzen(bau.M(), "1000000", ','), "");
}

TEST(MessendeFlaeche, UmschliesstAllesGezeichnete) {
    test::TAufzeichnendeFlaeche ziel;
    TMessendeFlaeche m(ziel);
    EXPECT_FALSE(m.Beruehrt());
    m.Polylinie({{10, 20}, {30, 5}});
    m.Ellipse({-4, 8, 2, 9});
    m.BewegeZu(100, 100);
    m.LinieZu(90, 110);
    m.TextAusgeben(0, 200, "abc"); // 3 Zeichen zu 8, Höhe 13
    EXPECT_TRUE(m.Beruehrt());
    EXPECT_EQ(m.Bereich(), (TRechteck{-4, 5, 100, 213}));
    EXPECT_EQ(ziel.Elemente.size(), 4u); // alles weitergereicht
}

} // namespace
} // namespace tessomir
