// Matrixeditor ohne Oberfläche: Raster je Art, Zahlentexte, Prüfung,
// Anteilshilfen und Übernahme der Arbeitskopie.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "base/UFehler.h"
#include "editing/UMatrixBearbeitung.h"
#include "editing/USchritte.h"

using namespace tessomir;
using tessomir::test::TMeldung;

namespace {

class MatrixBearbeitung : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    TMatrixBearbeitung B{Bau.M()};

    void Nehmen(const TKnoten& k, int artikel = 0) {
        B.KnotenSetzen(k);
        B.ArtikelListeSetzen(Bau.M().ArtikelListe, artikel);
    }
    // Verzweigung "V" mit den Eingängen von E1, E2 und den Ausgängen nach A1..A3.
    TVerzweigung& ZweiZuDrei() {
        auto& v = Bau.Knoten<TVerzweigung>("V");
        for (const char* e : {"E1", "E2"}) Bau.Weg(Bau.Knoten<TQuelle>(e), v);
        for (const char* a : {"A1", "A2", "A3"}) Bau.Weg(v, Bau.Knoten<TSenke>(a));
        return v;
    }
};

TEST_F(MatrixBearbeitung, RasterTexteFarbenUndMassJeArt) {
    TVerzweigung& v = ZweiZuDrei();
    v.Matrix().ZelleSetzen(0, 1, 0, 12.5);
    Nehmen(v);
    EXPECT_EQ(B.Art(), TMatrixArt::Verzweigung);
    EXPECT_EQ(B.Spalten(), 4);
    EXPECT_EQ(B.Zeilen(), 5);
    EXPECT_EQ(MatrixFenstermass(B.Spalten(), B.Zeilen()), (TMass{550, 200}));
    EXPECT_EQ(B.Text(1, 0), "  Eingang von");
    EXPECT_EQ(B.Text(0, 1), "Ausgang nach");
    EXPECT_EQ(B.Text(1, 1), "Artikelstrom");
    EXPECT_EQ(B.Text(3, 0), "E2");
    EXPECT_EQ(B.Text(0, 4), "A3");
    EXPECT_EQ(B.Text(2, 1), "12.50"); // ankommender Strom, WertText
    EXPECT_EQ(B.Text(2, 2), "0");     // Anteil, ProzentText mit 0 Stellen
    EXPECT_EQ(B.ErsteZelle(), (TZellort{2, 2}));
    EXPECT_EQ(B.Farbe(2, 2), TZellfarbe::Eingabe);
    EXPECT_EQ(B.Farbe(0, 0), TZellfarbe::Ecke);
    EXPECT_EQ(B.Farbe(0, 3), TZellfarbe::Kopfspalte);
    EXPECT_EQ(B.Farbe(3, 0), TZellfarbe::Kopfzeile);
    EXPECT_EQ(B.Farbe(2, 1), TZellfarbe::Weiss);
    EXPECT_EQ(B.Farbe(1, 1), TZellfarbe::Weiss);
    EXPECT_EQ(MatrixHilfethema(B.Art()), std::string("verzweigungsmatrix.htm"));

    auto strecke = Bau.Strecke("Q", "S");
    Nehmen(strecke.Q);
    EXPECT_EQ(B.Spalten() * 10 + B.Zeilen(), 23);
    EXPECT_EQ(B.Text(0, 2), "S");
    EXPECT_TRUE(B.IstEditierbar(1, 2));
    Nehmen(strecke.S);
    EXPECT_EQ(B.Spalten() * 10 + B.Zeilen(), 32);
    EXPECT_EQ(B.Text(2, 0), "Q");
    EXPECT_FALSE(B.IstEditierbar(2, 1));
    EXPECT_EQ(B.Farbe(2, 1), TZellfarbe::Weiss);
    EXPECT_TRUE(B.Abschliessen()); // die Senke besteht jede Prüfung

    for (int i = 2; i <= 50; ++i) Bau.M().ArtikelEinfuegen(std::string("A").append(std::to_string(i)));
    auto& w = Bau.Knoten<TWandler>("W");
    w.Matrix().ZelleSetzen(1, 50, 1, 0.125);
    Nehmen(w, 1);
    EXPECT_EQ(B.Zeilen(), 51);
    EXPECT_EQ(MatrixFenstermass(B.Spalten(), B.Zeilen()).Hoehe, 900);
    EXPECT_EQ(B.Text(0, 0), "Artikel");
    EXPECT_EQ(B.Text(1, 0), "Faktor");
    EXPECT_EQ(B.Text(0, 50), "A50");
    EXPECT_EQ(B.Text(1, 50), "0.125");
    EXPECT_EQ(B.ArtikelAnzeige(), " A2");
    Nehmen(w, 77); // ausserhalb: der erste Artikel
    EXPECT_EQ(B.AnzeigeArtikel(), 0);
}

TEST_F(MatrixBearbeitung, ZahlenMitDemDezimalzeichenDerAnzeigeOderPunkt) {
    Bau.M().Anzeigetrenner = ',';
    EXPECT_EQ(MatrixZahl("2,5", ','), 2.5);
    EXPECT_EQ(MatrixZahl(" 2.5 ", ','), 2.5);
    EXPECT_FALSE(MatrixZahl("2,5", '.'));
    for (const char* keine : {"", "abc", "1,2.3", "INF", "NAN"}) EXPECT_FALSE(MatrixZahl(keine, ',')) << keine;

    auto d = Bau.Durchlauf<TVerzweigung>();
    d.K.Matrix().ZelleSetzen(0, 1, 1, 33.3333);
    d.K.Matrix().ZelleSetzen(0, 1, 0, 1.0 / 3.0);
    Nehmen(d.K);
    EXPECT_EQ(B.Text(2, 2), "33");
    EXPECT_EQ(B.Text(2, 1), "0,33");
    ASSERT_TRUE(B.Abschliessen());
    // Gespeichert wird, was zu sehen war, auch der gerundete Zulauf.
    EXPECT_EQ(*B.Arbeitsmatrix().Zelle(0, 1, 1), 33);
    EXPECT_EQ(*B.Arbeitsmatrix().Zelle(0, 1, 0), 0.33);
    EXPECT_EQ(*d.K.Matrix().Zelle(0, 1, 1), 33.3333);

    auto& w = Bau.Knoten<TWandler>();
    Nehmen(w);
    B.TextSetzen(1, 1, "1.5");
    ASSERT_TRUE(B.Abschliessen());
    EXPECT_EQ(*B.Arbeitsmatrix().Zelle(0, 1, 1), 1.5);
    B.ArtikelLaden(0);
    EXPECT_EQ(B.Text(1, 1), "1,5");
}

TEST_F(MatrixBearbeitung, PruefungAuchDerFaktorenUndAnteileSpalteFuerSpalte) {
    Bau.M().ArtikelEinfuegen("Glas");
    auto& w = Bau.Knoten<TWandler>();
    Nehmen(w);
    B.TextSetzen(1, 2, "x");
    EXPECT_EQ(B.UngueltigeZelle(), (TZellort{1, 2}));
    EXPECT_FALSE(B.ArtikelWechseln(1));
    EXPECT_TRUE(Platt.Meldungen.empty()); // UngueltigeEingabe zeigt der Dialog
    EXPECT_EQ(B.AnzeigeArtikel(), 0);
    EXPECT_THROW(B.ArtikelSpeichern(0), EConvertError);
    EXPECT_EQ(*B.Arbeitsmatrix().Zelle(0, 2, 1), 0); // nichts halb gespeichert

    TVerzweigung& v = ZweiZuDrei();
    Nehmen(v);
    B.TextSetzen(3, 2, "?");
    B.TextSetzen(2, 4, "?");
    EXPECT_EQ(B.UngueltigeZelle(), (TZellort{2, 4}));
    EXPECT_FALSE(B.AnteilshilfeMoeglich(1));
    // Ergänzen: ein anderer Anteil der Spalte ist keine Zahl, also Piep.
    B.TextSetzen(2, 2, "20");
    B.TextSetzen(2, 3, "30");
    EXPECT_FALSE(B.ErgaenzenAuf100(2, 2));
    EXPECT_EQ(Platt.Pieptoene, 1);
    EXPECT_EQ(B.Text(2, 2), "20");
    B.TextSetzen(2, 4, "");
    EXPECT_TRUE(B.ErgaenzenAuf100(2, 4));
    EXPECT_EQ(B.Text(2, 4), "50");
}

TEST_F(MatrixBearbeitung, UebernahmeNurBeiAbweichung) {
    auto strecke = Bau.Strecke();
    test::Menge(strecke.Q, 0, 4);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    strecke.Q.Matrix().ZelleSetzen(0, 0, 0, nan);
    Nehmen(strecke.Q);
    ASSERT_TRUE(B.Abschliessen());
    TVerlauf verlauf;
    EXPECT_FALSE(MatrixAendern(strecke.Q, B.Arbeitsmatrix(), &verlauf));
    EXPECT_FALSE(verlauf.KannRueckgaengig());
    EXPECT_FALSE(Bau.M().Modifiziert);
    B.TextSetzen(1, 2, "4.5");
    ASSERT_TRUE(B.Abschliessen());
    EXPECT_TRUE(MatrixAendern(strecke.Q, B.Arbeitsmatrix(), &verlauf));
    EXPECT_EQ(*strecke.Q.Matrix().Zelle(0, 0, 1), 4.5);
    EXPECT_TRUE(std::isnan(*strecke.Q.Matrix().Zelle(0, 0, 0)));
    EXPECT_TRUE(Bau.M().Modifiziert);
    verlauf.Rueckgaengig(Bau.M());
    EXPECT_EQ(*strecke.Q.Matrix().Zelle(0, 0, 1), 4.0);
    EXPECT_FALSE(MatrizenGleich(TDyn3DMatrix(1, 1, 2), TDyn3DMatrix(1, 2, 1)));
}

} // namespace

namespace {

TEST_F(MatrixBearbeitung, BlockAusTabellenkalkulationEinfuegen) {
    TVerzweigung& v = ZweiZuDrei();
    Nehmen(v);
    // Zeilen mit Tabulatoren, Dezimalkomma und -punkt, letztes Zeilenende wie aus Excel.
    EXPECT_EQ(B.BlockEinfuegen(2, 2, "60\t40,5\r\n30\t59.5\r\n10\t0\r\n"), 6);
    EXPECT_EQ(B.Text(3, 2), "40.5");
    EXPECT_EQ(B.Text(2, 4), "10");
    ASSERT_TRUE(B.Abschliessen());
    EXPECT_EQ(B.Arbeitsmatrix().W(0, 1, 1), 60);
    EXPECT_EQ(B.Arbeitsmatrix().W(0, 2, 1), 40.5);
    EXPECT_EQ(B.Arbeitsmatrix().W(0, 2, 2), 59.5);
    EXPECT_EQ(B.Arbeitsmatrix().W(0, 1, 3), 10);

    // Was über das Raster hinausgeht, fällt weg; feste Zellen bleiben.
    EXPECT_EQ(B.BlockEinfuegen(3, 3, "1\t2\t3\n4\t5\n6\n7"), 2);
    EXPECT_EQ(B.Text(3, 3), "1");
    EXPECT_EQ(B.Text(3, 4), "4");
    EXPECT_EQ(B.BlockEinfuegen(1, 1, "5\t6"), 0);
    EXPECT_EQ(B.Text(2, 1), "0.00");
    EXPECT_EQ(B.BlockEinfuegen(2, 2, ""), 0);
    EXPECT_EQ(B.BlockEinfuegen(2, 2, "\r\n"), 0);

    // Kein Zahl: steht als Text da, die übliche Prüfung findet sie.
    EXPECT_EQ(B.BlockEinfuegen(2, 3, "viel"), 1);
    EXPECT_EQ(B.Text(2, 3), "viel");
    EXPECT_EQ(B.UngueltigeZelle(), (TZellort{2, 3}));
}

TEST_F(MatrixBearbeitung, BlockNurWoEingegebenWerdenKann) {
    auto st = Bau.Strecke("Q", "S");
    Nehmen(st.S);
    EXPECT_FALSE(B.Editierbar());
    EXPECT_EQ(B.BlockEinfuegen(1, 1, "1"), 0);
    Bau.M().Anzeigetrenner = ',';
    TMatrixBearbeitung q{Bau.M()};
    q.KnotenSetzen(st.Q);
    q.ArtikelListeSetzen(Bau.M().ArtikelListe, 0);
    const TZellort erste = q.ErsteZelle();
    EXPECT_EQ(q.BlockEinfuegen(erste.Spalte, erste.Zeile, "1.5"), 1);
    // Der Text folgt dem Dezimalzeichen der Anzeige.
    EXPECT_EQ(q.Text(erste.Spalte, erste.Zeile), "1,5");
}

} // namespace
