// Übersicht ohne Qt: Zellen vor und nach der Berechnung, Filter, Sortierung mit
// leeren Zellen am Ende, CSV und der Hinweis am Zeiger.
#include <gtest/gtest.h>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "editing/UUebersicht.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::Anteile;
using test::Menge;
using test::TAufzeichnung;
using test::TModellBau;

struct TNetz {
    TAufzeichnung Auf;
    TModellBau Bau;
    TModellBau::TVerteilung V = Bau.Verteilung("Quelle", "M\xFChle", "Senke a", "senke B");
    TNetz() {
        Bau.M().ArtikelEinfuegen("Sand");
        Menge(V.Q, 0, 100);
        Menge(V.Q, 1, 20);
        Anteile(V.V, 0, 1, {70, 30});
        Anteile(V.V, 1, 1, {50, 50});
        V.V.Kapazitaet = 240;
        V.Aus1.Kapazitaet = 0;
        V.Aus1.Name = "Band";
    }
    std::vector<std::string> Namen(const std::vector<TFO*>& zeilen) {
        std::vector<std::string> n;
        for (const TFO* o : zeilen) n.push_back(o->Name);
        return n;
    }
};

TEST(Uebersicht, ZellenVorUndNachDerBerechnung) {
    TNetz n;
    TUebersichtSicht sicht{0, false};
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Nr, sicht), std::to_string(n.V.V.FONr));
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Art, sicht), "Verzweigung");
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Name, sicht), "M\xFChle");
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Kapazitaet, sicht), "240.00");
    EXPECT_EQ(Zelltext(n.V.Q, TSpalte::Kapazitaet, sicht), "");
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Strom, sicht), "");
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Zulauf, sicht), "");

    ASSERT_EQ(ModellNeuberechnen(n.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    sicht.Berechnet = true;
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Strom, sicht), "100.00");
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Auslastung, sicht), "41.7");
    EXPECT_EQ(Zelltext(n.V.Aus1, TSpalte::Auslastung, sicht), "unendlich");
    EXPECT_EQ(Zelltext(n.V.Aus1, TSpalte::Zulauf, sicht), "");
    EXPECT_EQ(Zelltext(n.V.S1, TSpalte::Ablauf, sicht), "70.00");
    EXPECT_EQ(Zelltext(n.V.S1, TSpalte::Strom, sicht), "");
    sicht.Artikel = SummeArtikel;
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Strom, sicht), "120.00");
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Auslastung, sicht), "50.0");
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Differenz, sicht), "0.00");
    EXPECT_EQ(Zelltext(n.V.S2, TSpalte::Zulauf, sicht), "40.00");
    n.Bau.M().Anzeigetrenner = ',';
    EXPECT_EQ(Zelltext(n.V.V, TSpalte::Auslastung, sicht), "50,0");
}

TEST(Uebersicht, FilterUndSortierungMitLeerenZellenAmEnde) {
    TNetz n;
    ASSERT_EQ(ModellNeuberechnen(n.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    const TUebersichtSicht sicht{0, true};
    std::vector<TFO*> alle = UebersichtFiltern(n.Bau.M(), TSuche(""));
    ASSERT_EQ(alle.size(), n.Bau.M().FOListe.Anzahl());
    EXPECT_EQ(alle.front(), n.Bau.M().FOListe.Objekt(0));

    std::vector<TFO*> senken = UebersichtFiltern(n.Bau.M(), TSuche("SENKE"));
    EXPECT_EQ(n.Namen(senken), (std::vector<std::string>{"Senke a", "senke B"}));
    UebersichtSortieren(senken, TSpalte::Name, true, sicht);
    EXPECT_EQ(n.Namen(senken), (std::vector<std::string>{"senke B", "Senke a"}));
    EXPECT_EQ(n.Namen(UebersichtFiltern(n.Bau.M(), TSuche("muehle"))), (std::vector<std::string>{"M\xFChle"}));

    // Nach Strom: Wege und Verzweigung vorn, bei gleichem Strom in Listenfolge
    // (Wege vor Knoten), die übrigen ohne Strom dahinter.
    std::vector<TFO*> z = alle;
    UebersichtSortieren(z, TSpalte::Strom, true, sicht);
    EXPECT_EQ(z[0], &n.V.Ein);
    EXPECT_EQ(z[1], &n.V.V);
    EXPECT_EQ(z[2], &n.V.Aus1);
    EXPECT_EQ(z[3], &n.V.Aus2);
    EXPECT_EQ(z[4], &n.V.Q);
    UebersichtSortieren(z, TSpalte::Strom, false, sicht);
    EXPECT_EQ(z[0], &n.V.Aus2);
    EXPECT_EQ(z[4], &n.V.Q);
    UebersichtSortieren(z, TSpalte::Auslastung, true, sicht);
    EXPECT_EQ(z[0], &n.V.Aus1);
    UebersichtSortieren(z, TSpalte::Nr, false, sicht);
    for (size_t i = 1; i < z.size(); ++i) EXPECT_LT(z[i - 1]->FONr, z[i]->FONr);
}

TEST(Uebersicht, CsvWieGezeigt) {
    TNetz n;
    ASSERT_EQ(ModellNeuberechnen(n.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    const std::string nr = std::to_string(n.V.V.FONr);
    EXPECT_EQ(UebersichtAlsCsv({&n.V.V, &n.V.Aus1}, {0, true}),
              "Nr.,Art,Name,Kapazit\xC3\xA4t,Strom,Auslastung %,Zulauf,Ablauf,Differenz\r\n" + nr +
                  ",Verzweigung,M\xC3\xBChle,240,100,41.6666666666667,100,100,0\r\n" +
                  std::to_string(n.V.Aus1.FONr) + ",Weg,Band,0,70,unendlich,,,\r\n");
    EXPECT_EQ(UebersichtAlsCsv({&n.V.Q}, {0, false}),
              "Nr.,Art,Name,Kapazit\xC3\xA4t,Strom,Auslastung %,Zulauf,Ablauf,Differenz\r\n" +
                  std::to_string(n.V.Q.FONr) + ",Quelle,Quelle,,,,,,\r\n");
}

TEST(Uebersicht, HinweisAmZeiger) {
    TNetz n;
    const std::string nr = std::to_string(n.V.Aus2.FONr);
    n.V.Aus2.Name = "Rutsche";
    EXPECT_EQ(ObjektHinweis(n.V.Aus2, false), "Rutsche (Weg #" + nr + ")\nKapazit\xE4t: 1000000.00\nNicht berechnet");
    ASSERT_EQ(ModellNeuberechnen(n.Bau.M()), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(ObjektHinweis(n.V.Aus2, true), "Rutsche (Weg #" + nr +
                                                 ")\nKapazit\xE4t: 1000000.00\nArtikel1: 30.00\nSand: 10.00\n"
                                                 "Summe: 40.00\nAuslastung (Artikel1): 0.0 %");
    n.Bau.M().SummeAllerArtikel = true;
    EXPECT_EQ(ObjektHinweis(n.V.S2, true), "senke B (Senke #" + std::to_string(n.V.S2.FONr) +
                                               ")\nArtikel1: Zulauf 30.00, Ablauf 30.00, Differenz 0.00"
                                               "\nSand: Zulauf 10.00, Ablauf 10.00, Differenz 0.00"
                                               "\nSumme: Zulauf 40.00, Ablauf 40.00, Differenz 0.00");
    // Viele Artikel: die ersten zwölf, dann wie viele noch, dann die Summe.
    for (int i = 0; i < 20; ++i) n.Bau.M().ArtikelEinfuegen(std::to_string(i).insert(0, 1, 'A'));
    const std::string lang = ObjektHinweis(n.V.Ein, true);
    EXPECT_NE(lang.find("\n\x85 10 weitere Artikel\nSumme: "), std::string::npos) << lang;
}

} // namespace
} // namespace tessomir
