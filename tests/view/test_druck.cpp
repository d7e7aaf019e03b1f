// Druck über ein Seitenraster auf aufzeichnenden Zeichenflächen: Ränder,
// Seitenzahl, Titel, Beschnitt und Seitenlauf eines Auftrags.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/UBerechnung.h"
#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "view/UDruck.h"
#include "view/USankey.h"

namespace tessomir::test {
namespace {

// Ein Drucker mit A4 bei 600 dpi; merkt sich, wo jede Seite beginnt.
class TTestDrucker final : public IDrucker {
public:
    TAufzeichnendeFlaeche Flaeche;
    std::string Titel;
    int Begonnen = 0;
    int Beendet = 0;
    std::vector<size_t> Seitenanfaenge;
    bool FehlerBeiNeuerSeite = false;

    IZeichenflaeche& Zeichenflaeche() override { return Flaeche; }
    int32_t Seitenbreite() const override { return 4960; }
    int32_t Seitenhoehe() const override { return 7016; }
    int32_t PunkteJeZoll() const override { return 600; }
    void AuftragsTitelSetzen(const std::string& t) override { Titel = t; }
    void DokumentBeginnen() override {
        ++Begonnen;
        Seitenanfaenge.push_back(Flaeche.Elemente.size());
    }
    void NeueSeite() override {
        if (FehlerBeiNeuerSeite) throw ERangeError("Drucker antwortet nicht");
        Seitenanfaenge.push_back(Flaeche.Elemente.size());
    }
    void DokumentBeenden() override { ++Beendet; }

    // Die Elemente der Seite i (ab 0).
    std::vector<TPrimitiv> Seite(size_t i) const {
        const size_t ende = i + 1 < Seitenanfaenge.size() ? Seitenanfaenge[i + 1] : Flaeche.Elemente.size();
        return {Flaeche.Elemente.begin() + static_cast<std::ptrdiff_t>(Seitenanfaenge[i]),
                Flaeche.Elemente.begin() + static_cast<std::ptrdiff_t>(ende)};
    }
};

std::vector<std::string> Texte(const std::vector<TPrimitiv>& elemente) {
    std::vector<std::string> t;
    for (const auto& e : elemente) {
        if (e.Art == TPrimitiv::Textausgabe) t.push_back(e.Text);
    }
    return t;
}

// Erstes Element zwischen Beschnitt und Aufheben: das Diagramm der Seite.
const TPrimitiv* ErstesDiagrammelement(const std::vector<TPrimitiv>& elemente) {
    for (size_t i = 0; i + 1 < elemente.size(); ++i) {
        if (elemente[i].Art == TPrimitiv::Clip) {
            return elemente[i + 1].Art == TPrimitiv::ClipAus ? nullptr : &elemente[i + 1];
        }
    }
    return nullptr;
}

int32_t LinkerPunkt(const TPrimitiv& e) {
    if (e.Punkte.empty()) return e.R.Links;
    int32_t x = e.Punkte.front().X;
    for (const auto& p : e.Punkte) x = std::min(x, p.X);
    return x;
}

class Druck : public ::testing::Test {
protected:
    TAufzeichnung Platt;
    TModellBau Bau;
    TAufzeichnendeFlaeche Bildschirm;
    TAnsicht Ansicht{&Bildschirm};
    TTestDrucker Drucker;

    Druck() {
        Bildschirm.Texthoehe = 13;
        Drucker.Flaeche.Texthoehe = 78; // Schriftfaktor 6
    }
    void Drucken(bool alle = true, int von = 1, int bis = 100) {
        ModellDrucken(&Bau.M(), Ansicht, Drucker, alle, von, bis);
    }
};

TEST_F(Druck, RaenderUndSeitenrasterEinerA4Seite) {
    Bau.Knoten<TQuelle>("Q", {1000, -500});
    Drucken();
    EXPECT_EQ(Ansicht.RandLinks, 330);
    EXPECT_EQ(Ansicht.RandOben, 330);
    EXPECT_EQ(Ansicht.RandUnten, 330);
    EXPECT_EQ(Ansicht.SeitenBreite, 4300);
    EXPECT_EQ(Ansicht.SeitenHoehe, 6356);
    EXPECT_EQ(Ansicht.SeitenQuer, 2);
    EXPECT_EQ(Ansicht.SeitenHoch, 1);
    ASSERT_EQ(Drucker.Seitenanfaenge.size(), 2u);
    EXPECT_EQ(Drucker.Begonnen, 1);
    EXPECT_EQ(Drucker.Beendet, 1);
    EXPECT_EQ(Texte(Drucker.Seite(0))[1], "Seite 1/2");
    EXPECT_EQ(Texte(Drucker.Seite(1))[1], "Seite 2/2");
    // Seite 2 zeigt dieselbe Zeichnung um eine Seitenbreite nach links.
    const auto seite1 = Drucker.Seite(0);
    const auto seite2 = Drucker.Seite(1);
    const TPrimitiv* eins = ErstesDiagrammelement(seite1);
    const TPrimitiv* zwei = ErstesDiagrammelement(seite2);
    ASSERT_NE(eins, nullptr);
    ASSERT_NE(zwei, nullptr);
    EXPECT_EQ(LinkerPunkt(*eins) - LinkerPunkt(*zwei), 4300);
    // Auf jedem Weg hinaus wieder der Bildschirm.
    EXPECT_EQ(Ansicht.Zeichenflaeche, &Bildschirm);
    EXPECT_FALSE(Ansicht.DruckModus);
}

TEST_F(Druck, KopfFussUndBeschnittLiegenWoSieHingehoeren) {
    Bau.Knoten<TQuelle>("Q", {100, -100});
    Bau.M().DateiName = "/daten/Anlage.TSR";
    Drucken();
    const auto seite = Drucker.Seite(0);
    EXPECT_EQ(Drucker.Titel, "Tessomir Anlage.TSR");
    EXPECT_EQ(Texte(seite), (std::vector<std::string>{"Tessomir Anlage", "Seite 1/1", FussTextLinks, FussTextRechts}));
    const auto texte = [&] {
        std::vector<TPrimitiv> t;
        for (const auto& e : seite)
            if (e.Art == TPrimitiv::Textausgabe) t.push_back(e);
        return t;
    }();
    // 12 und 8 Punkt bei 600 dpi; Texthöhe der Testfläche 78.
    EXPECT_EQ(texte[0].Schrift.Name, "Arial");
    EXPECT_EQ(texte[0].Schrift.Hoehe, -100);
    EXPECT_EQ(texte[2].Schrift.Hoehe, -67);
    EXPECT_EQ(texte[0].Punkte.front(), (TBildpunkt{330, 330 - 117}));
    EXPECT_EQ(texte[1].Punkte.front().X, 4630 - 9 * 8);
    EXPECT_EQ(texte[2].Punkte.front(), (TBildpunkt{330, 6686 + 39}));
    EXPECT_EQ(texte[3].Punkte.front().X + static_cast<int32_t>(std::string(FussTextRechts).size()) * 8, 4630);
    std::vector<int32_t> linien;
    for (const auto& e : seite) {
        if (e.Art != TPrimitiv::Linie) continue;
        EXPECT_EQ(e.Punkte.front().X, 330);
        EXPECT_EQ(e.Punkte.back().X, 4630);
        linien.push_back(e.Punkte.front().Y);
    }
    EXPECT_EQ(linien, (std::vector<int32_t>{330 - 156, 330, 6686, 6686 + 156}));
    // Das Diagramm liegt zwischen Beschnitt und Aufheben.
    const auto clip = std::find_if(seite.begin(), seite.end(), [](const TPrimitiv& e) { return e.Art == TPrimitiv::Clip; });
    ASSERT_NE(clip, seite.end());
    EXPECT_EQ(clip->R, (TRechteck{330, 330, 4630, 6686}));
    EXPECT_NE(ErstesDiagrammelement(seite), nullptr);
}

TEST_F(Druck, TitelMitUndOhneEndung) {
    TModell& m = Bau.M();
    EXPECT_EQ(KopfTitel(&m), "Tessomir NEU");
    EXPECT_EQ(AuftragsTitel(&m), "Tessomir NEU.TSR");
    m.DateiName = "Anlage";
    EXPECT_EQ(KopfTitel(&m), "Tessomir Anlage");
    EXPECT_EQ(AuftragsTitel(&m), "Tessomir Anlage");
    m.DateiName = "/home/M\xC3\xBCller/M\xC3\xBChle.v2.TSR";
    EXPECT_EQ(KopfTitel(&m), "Tessomir M\xFChle.v2");
    EXPECT_EQ(KopfTitel(nullptr), "Tessomir ");
    EXPECT_EQ(AuftragsTitel(nullptr), "Tessomir");
}

TEST_F(Druck, SeitenbereicheUndRaster) {
    auto& q = Bau.Knoten<TQuelle>("Q", {1400, -100}); // drei Seiten nebeneinander
    Drucken(false, 2, 100);
    ASSERT_EQ(Drucker.Seitenanfaenge.size(), 2u);
    EXPECT_EQ(Texte(Drucker.Seite(0))[1], "Seite 2/3");
    EXPECT_EQ(Texte(Drucker.Seite(1))[1], "Seite 3/3");

    // Ein Bereich hinter der letzten Seite druckt nichts, das Dokument entsteht trotzdem.
    TTestDrucker leer;
    leer.Flaeche.Texthoehe = 78;
    ModellDrucken(&Bau.M(), Ansicht, leer, false, 5, 9);
    EXPECT_EQ(leer.Begonnen, 1);
    EXPECT_EQ(leer.Beendet, 1);
    EXPECT_TRUE(leer.Flaeche.Elemente.empty());

    // 2 x 2: Seite 3 ist die linke Spalte der zweiten Zeile.
    q.Refpunkt = {1000, -1100};
    Ansicht.DruckModus = true;
    EXPECT_EQ(SeitenEinteilen(Ansicht, Bau.M().Ausdehnung(), 4960, 7016), 4);
    SeiteWaehlen(Ansicht, 3);
    EXPECT_EQ(Ansicht.SeiteX, 0);
    EXPECT_EQ(Ansicht.SeiteY, 6356);
}

// Die Zahl einer Verzweigung ist blau; Kopf und Fuß jeder Seite bleiben schwarz,
// auch nach der Zeichnung der vorigen Seite.
TEST_F(Druck, KopfUndFussJederSeiteSchwarz) {
    auto d = Bau.Durchlauf<TVerzweigung>("Q", "V", "S");
    d.K.Refpunkt = {100, -100};
    d.S.Refpunkt = {1400, -100}; // drei Seiten nebeneinander
    Menge(d.Q, 0, 10);
    Anteil(d.K, 0, 1, 1, 100);
    Bau.M().Stromanzeige = 1;
    ASSERT_EQ(ModellNeuberechnen(Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    Drucken();
    ASSERT_EQ(Drucker.Seitenanfaenge.size(), 3u);
    bool bunt = false;
    for (size_t i = 0; i < 3; ++i) {
        std::vector<TPrimitiv> texte;
        for (const auto& e : Drucker.Seite(i))
            if (e.Art == TPrimitiv::Textausgabe) texte.push_back(e);
        ASSERT_GE(texte.size(), 4u);
        for (const size_t rand : {size_t{0}, size_t{1}, texte.size() - 2, texte.size() - 1})
            EXPECT_EQ(texte[rand].Schrift.Farbe, 0) << "Seite " << i + 1 << ": " << texte[rand].Text;
        for (size_t t = 2; t + 2 < texte.size(); ++t) bunt = bunt || texte[t].Schrift.Farbe != 0;
    }
    EXPECT_TRUE(bunt); // sonst prüfte der Test nichts
}

TEST_F(Druck, ModellOhneKnotenGibtEineSeiteMitKopfUndFuss) {
    Drucken();
    ASSERT_EQ(Drucker.Seitenanfaenge.size(), 1u);
    EXPECT_EQ(Texte(Drucker.Seite(0))[1], "Seite 1/1");
    const auto seite = Drucker.Seite(0);
    EXPECT_EQ(ErstesDiagrammelement(seite), nullptr);
}

TEST_F(Druck, FehlerImAuftragStelltDenBildschirmWiederHer) {
    Bau.Knoten<TQuelle>("Q", {1000, -500});
    Drucker.FehlerBeiNeuerSeite = true;
    EXPECT_THROW(Drucken(), ERangeError);
    EXPECT_EQ(Ansicht.Zeichenflaeche, &Bildschirm);
    EXPECT_FALSE(Ansicht.DruckModus);
    // Riesig vergrößert sprengt die Seiteneinteilung den Koordinatenbereich.
    Ansicht.Massstab = 1e12;
    TTestDrucker zweiter;
    zweiter.Flaeche.Texthoehe = 78;
    EXPECT_ANY_THROW(ModellDrucken(&Bau.M(), Ansicht, zweiter, true, 1, 100));
    EXPECT_EQ(zweiter.Begonnen, 0);
    EXPECT_EQ(Ansicht.Zeichenflaeche, &Bildschirm);
    EXPECT_FALSE(Ansicht.DruckModus);
}

// Die Sankey-Ansicht gedruckt: dieselben Bänder wie am Schirm (Breiten im
// Verhältnis der Ströme, in den Artikelfarben), die Legende auf der Seite.
TEST_F(Druck, SankeyBaenderUndLegendeWieAmSchirm) {
    TModellBau::TStrecke a = Bau.Strecke("QA", "SA");
    TModellBau::TStrecke b = Bau.Strecke("QB", "SB");
    a.Q.Refpunkt = {0, -100};
    a.S.Refpunkt = {400, -100};
    b.Q.Refpunkt = {0, -300};
    b.S.Refpunkt = {400, -300};
    Menge(a.Q, 0, 10);
    Menge(b.Q, 0, 5);
    ASSERT_EQ(ModellNeuberechnen(Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    Ansicht.Sankey = TSankey{};
    Drucken();
    std::vector<int> breiten;
    bool legende = false;
    for (const TPrimitiv& e : Drucker.Seite(0)) {
        if (e.Art == TPrimitiv::Polygon && e.Pinsel == ArtikelFarbe(0) && e.Punkte.size() == 4)
            breiten.push_back(std::abs(e.Punkte[0].Y - e.Punkte[3].Y));
        if (e.Art == TPrimitiv::Textausgabe && e.Text.rfind("= ", 0) == 0) legende = true;
    }
    ASSERT_EQ(breiten.size(), 2U);
    std::sort(breiten.begin(), breiten.end());
    // Der grösste Strom 40 Punkte mal Schriftfaktor und Massstab der Seite; der halbe halb so breit.
    EXPECT_NEAR(breiten[1], 2.0 * breiten[0], 1.0);
    EXPECT_GT(breiten[1], 40);
    EXPECT_TRUE(legende);
    // Nach dem Druck gilt die Ansicht des Schirms wieder, mit ihren Bändern.
    EXPECT_FALSE(Ansicht.DruckModus);
    ASSERT_TRUE(Ansicht.Sankey);
    SankeyMassstabSetzen(Bau.M(), Ansicht);
    EXPECT_NEAR(WegBand(a.W, Ansicht)->Breite, 40.0, 0.5);
}

} // namespace
} // namespace tessomir::test
