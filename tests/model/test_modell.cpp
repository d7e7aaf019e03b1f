// Flussobjekte, Objektliste mit Auswahl, Klassenverzeichnis und Modell.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "gemeinsam/TZaehlObjekte.h"
#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "model/UModell.h"

using namespace tessomir;
using tessomir::test::TAufzeichnung;
using tessomir::test::TModellBau;
using namespace tessomir::test::zaehlend;

namespace {

std::vector<std::string> AuswahlNamen(const TFOListe& liste) {
    std::vector<std::string> n;
    for (const auto& e : liste.Auswahl()) n.push_back(e.Name);
    return n;
}

// Zeilen wie in der Datei: Schlüssel auf 20 Zeichen, dann der Wert.
struct TLeseZeilen {
    std::vector<std::string> Text;
    std::vector<std::string_view> Sichten() const { return {Text.begin(), Text.end()}; }
};

TLeseZeilen GrundZeilen(const std::string& nr, const std::string& name, const std::string& punkt,
                        const std::string& kapazitaet) {
    return {{Schluessel("FO Nr") + nr, Schluessel("Name") + name, Schluessel("Refpunkt") + punkt,
             Schluessel("Kapazitaet") + kapazitaet}};
}

// Liest die Grundzeilen in ein Objekt.
void GrundLesen(TFO& o, const std::string& nr, const std::string& name, const std::string& punkt,
                const std::string& kapazitaet) {
    const TLeseZeilen z = GrundZeilen(nr, name, punkt, kapazitaet);
    TZeilenLeser l(z.Sichten());
    o.Lesen(l);
}

} // namespace

// ---------------------------------------------------------------- Zeilenleser

// Der Leser sucht Zeilen erst beim Lesen; Springen, Zurücksetzen und Zählen
// müssen dieselben Zeilen ergeben wie ein Zerlegen vorab.
TEST(TZeilenLeser, ZeilenendenSpruengeUndZaehlen) {
    const std::string leer(20, ' ');
    const std::string text = leer + "a\r\n" + leer + "b\n" + leer + "c\r" + "kurz\r\n\r\n" + leer +
                             "ein langer Wert ohne Ende";
    TZeilenLeser l(text);
    EXPECT_TRUE(l.HatNoch(6));
    EXPECT_FALSE(l.HatNoch(7));
    EXPECT_EQ(l.WertLesen(), "a");
    EXPECT_EQ(l.WertLaenge(), 1u);
    EXPECT_EQ(l.WertLaengen(10), 1u + 1u + 0u + 0u + 25u);
    l.LeseZeile = 5;
    EXPECT_EQ(l.WertLesen(), "ein langer Wert ohne Ende");
    l.LeseZeile = 1; // zurück
    EXPECT_EQ(l.WertLesen(), "b");
    EXPECT_EQ(l.WertLesen(), "c");
    EXPECT_EQ(l.WertLesen(), ""); // kürzer als 20 Zeichen
    EXPECT_EQ(l.AnzahlZeilen(), 6u);
    EXPECT_EQ(l.Verbleibend(), 2u);
    EXPECT_EQ(l.WertVon(2), "c");
    EXPECT_EQ(l.WertVon(6), "");
    EXPECT_EQ(l.RestBytes(), 2u + leer.size() + 25u);
    EXPECT_EQ(l.WertLesen(), "");
    EXPECT_EQ(l.WertLesen(), "ein langer Wert ohne Ende");
    EXPECT_EQ(l.RestBytes(), 0u);
    EXPECT_THROW(l.WertLesen(), EListError);
    EXPECT_EQ(l.LeseZeile, 6u);
}

TEST(TZeilenLeser, NullbyteBeendetDenText) {
    const std::string text = std::string(20, ' ') + "x\r\n" + std::string(1, '\0') + "danach\r\n";
    TZeilenLeser l(text);
    EXPECT_TRUE(l.NulGefunden);
    EXPECT_EQ(l.AnzahlZeilen(), 1u);
    EXPECT_EQ(l.WertLesen(), "x");
    EXPECT_FALSE(l.HatNoch(1));
    TZeilenLeser leer{std::string_view()};
    EXPECT_EQ(leer.AnzahlZeilen(), 0u);
    EXPECT_FALSE(leer.NulGefunden);
}

// ---------------------------------------------------------------- Nummern und Bezugspunkte

TEST(TFO, NummernNamenUndBezugspunkteEinesFrischenLaufs) {
    TAufzeichnung rec;
    TModellBau bau;
    EXPECT_EQ(bau.M().FONr, 0u);
    auto [q, s, w] = bau.Strecke();
    EXPECT_EQ(q.FONr, 1u);
    EXPECT_EQ(q.Name, "TQuelle1");
    EXPECT_EQ(s.Name, "TSenke2");
    EXPECT_EQ(w.FONr, 3u);
    EXPECT_EQ(w.Name, "TWeg3");
    EXPECT_EQ(bau.M().FONrZaehler, 4u);
    EXPECT_EQ(q.Kapazitaet, 1000000.0);
    EXPECT_EQ(w.Kapazitaet, 1000000.0);
    TModell& m = bau.M();
    EXPECT_EQ(TVerzweigung(m).Name, "TVerzweigung4");
    EXPECT_EQ(TWandler(m).Name, "TWandler5");
    EXPECT_EQ(TKnoten(m).Name, "TKnoten6");
    EXPECT_EQ(TFO(m).Name, "TFO7");
    // Jedes Modell zählt für sich.
    TModell zweites;
    EXPECT_EQ(TQuelle(zweites).Name, "TQuelle1");
    EXPECT_EQ(TFO(m).Name, "TFO8");
}

TEST(TFO, BezugspunkteFolgenDemFestenZufallsstart) {
    TAufzeichnung rec;
    // Zwei Ziehungen je Objekt aus der immer gleichen Folge 0, 3, 86, 20, 27,
    // 67, ...; die ersten nimmt das Modell, jedes Modell beginnt von vorn.
    TModell m;
    const TFO a(m);
    const TFO b(m);
    TModell n;
    const TFO c(n);
    EXPECT_EQ(m.Refpunkt, (TPunkt{0, 3}));
    EXPECT_EQ(a.Refpunkt, (TPunkt{86, 20}));
    EXPECT_EQ(b.Refpunkt, (TPunkt{27, 67}));
    EXPECT_EQ(c.Refpunkt, a.Refpunkt);
    for (int i = 0; i < 200; ++i) {
        const TFO o(m);
        EXPECT_GE(o.Refpunkt.X, 0);
        EXPECT_LE(o.Refpunkt.X, 99);
        EXPECT_GE(o.Refpunkt.Y, 0);
        EXPECT_LE(o.Refpunkt.Y, 99);
        EXPECT_EQ(o.Refpunkt.X, static_cast<int>(o.Refpunkt.X));
    }
}

TEST(TFO, ZaehlerLaeuftNichtUeber) {
    TAufzeichnung rec;
    TModell m;
    m.FONrZaehler = 4294967294u;
    const TFO letzter(m);
    EXPECT_EQ(letzter.FONr, 4294967294u);
    EXPECT_EQ(letzter.Name, "TFO4294967294");
    EXPECT_EQ(m.FONrZaehler, 4294967295u);
    EXPECT_THROW({ TQuelle q(m); }, EIntOverflow);
    EXPECT_EQ(m.FONrZaehler, 4294967295u);
}

TEST(TFO, TitelUndBeschreibung) {
    TAufzeichnung rec;
    TModell m;
    TFO o(m);
    o.FONr = 0;
    o.Name = "Band 3";
    EXPECT_EQ(o.Titel(), "[ Band 3 ]");
    o.Refpunkt = Punkt(12.5, 40);
    o.Kapazitaet = 250;
    const std::vector<std::string> zeilen = o.Beschreibung();
    EXPECT_EQ(zeilen, (std::vector<std::string>{
                          Schluessel("Klasse ========= ") + "TFO",
                          Schluessel("FO Nr") + "0",
                          Schluessel("Name") + "Band 3",
                          Schluessel("Refpunkt") + "12.5 / 40",
                          Schluessel("Kapazitaet") + "250",
                      }));
}

TEST(TFO, LesenHebtDenZaehlerUeberDieGeleseneNummer) {
    TAufzeichnung rec;
    TModell m;
    TFO a(m);
    TFO b(m);
    m.FONrZaehler = 12;
    GrundLesen(a, "57", "Band 3", "12.5 / -3", "250");
    EXPECT_EQ(a.FONr, 57u);
    EXPECT_EQ(a.Name, "Band 3");
    EXPECT_EQ(a.Refpunkt, (TPunkt{12.5, -3}));
    EXPECT_EQ(a.Kapazitaet, 250.0);
    EXPECT_EQ(m.FONrZaehler, 58u);

    GrundLesen(b, "3", "x", "0 / 0", "1");
    EXPECT_EQ(b.FONr, 3u);
    EXPECT_EQ(m.FONrZaehler, 58u);

    // Die Nummer genau am Zähler hebt ihn auch, nur in seinem Modell.
    TFO c(m);
    GrundLesen(c, "59", "y", "0 / 0", "1");
    EXPECT_EQ(m.FONrZaehler, 60u);
    TModell anderes;
    TFO d(anderes);
    GrundLesen(d, "80", "z", "0 / 0", "1");
    EXPECT_EQ(anderes.FONrZaehler, 81u);
    EXPECT_EQ(m.FONrZaehler, 60u);
}

TEST(TFO, LesenVorVersionDreiOhneKapazitaet) {
    TAufzeichnung rec;
    TModell m;
    TFO o(m);
    TLeseZeilen z = GrundZeilen("4", "alt", "1 / 2", "");
    z.Text.pop_back();
    TZeilenLeser l(z.Sichten());
    l.GeleseneVersion = 2;
    o.Lesen(l);
    EXPECT_EQ(o.Kapazitaet, 1000000.0);
    EXPECT_EQ(l.LeseZeile, 3u);
}

TEST(TFO, LesenWirftBeiFehlerhaftenWerten) {
    TAufzeichnung rec;
    // Jedes Mal ein frisches Objekt.
    TModell m;
    const auto lesen = [&m](const std::string& nr, const std::string& punkt) {
        TFO o(m);
        GrundLesen(o, nr, "n", punkt, "1");
    };
    EXPECT_THROW(lesen("-1", "0 / 0"), ERangeError);
    EXPECT_THROW(lesen("x", "0 / 0"), EConvertError);
    EXPECT_THROW(lesen("1", "7"), EConvertError);
}

// ---------------------------------------------------------------- Klassenverzeichnis

TEST(Klassenverzeichnis, KenntGenauDieAchtNamen) {
    TAufzeichnung rec;
    for (const char* name : {"TFO", "TWeg", "TKnoten", "TQuelle", "TSenke", "TVerzweigung", "TWandler", "TModell"}) {
        const TFOKlasse* k = TFOKlassenAusName(name);
        ASSERT_NE(k, nullptr) << name;
        EXPECT_STREQ(k->Name, name);
    }
    for (const char* name : {"tquelle", "TQuelle ", " TQuelle", "TQUELLE", "", "TZelle", "TFOListe", "Quelle"}) {
        EXPECT_EQ(TFOKlassenAusName(name), nullptr) << '"' << name << '"';
    }
}

TEST(Klassenverzeichnis, ErzeugtObjekteDerGenanntenKlasse) {
    TAufzeichnung rec;
    TModell m;
    for (const char* name : {"TFO", "TWeg", "TKnoten", "TQuelle", "TSenke", "TVerzweigung", "TWandler"}) {
        const uint32_t nr = m.FONrZaehler;
        const std::unique_ptr<TFO> o = TFOKlassenAusName(name)->Erzeugen(m);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_STREQ(o->Klassenname(), name);
        EXPECT_EQ(o->FONr, nr);
        EXPECT_EQ(o->Name, std::string(name) + std::to_string(nr));
        EXPECT_EQ(o->Modell, &m);
    }
}

// ---------------------------------------------------------------- Objektliste

TEST(TFOListe, HinzufuegenVorneOderHinten) {
    TAufzeichnung rec;
    TModellBau bau;
    bau.Strecke("Q", "S", "W");
    TFOListe& l = bau.M().FOListe;
    l.Hinzufuegen(std::make_unique<TFO>(bau.M()), true);
    l.Hinzufuegen(nullptr, true);
    EXPECT_EQ(Namen(l), (std::vector<std::string>{"W", "Q", "S", "TFO4"}));
}

TEST(TFOListe, EntfernenLoestNurAusDerListe) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& s = bau.Knoten<TSenke>("S");
    TFOListe& l = bau.M().FOListe;
    l.Auswaehlen(&q, false);
    std::unique_ptr<TFO> raus = l.Entfernen(&q);
    EXPECT_EQ(raus.get(), &q);
    EXPECT_EQ(Namen(l), (std::vector<std::string>{"S"}));
    ASSERT_EQ(l.Auswahl().size(), 1u);
    EXPECT_EQ(l.Auswahl()[0].Objekt, &q);
    EXPECT_EQ(l.Entfernen(&q), nullptr);
    l.Auswaehlen(&q, true); // Auswahl leeren, bevor q zerstört wird
    EXPECT_TRUE(l.Auswahl().empty());
    EXPECT_EQ(Namen(l), (std::vector<std::string>{"S"}));
    (void)s;
}

TEST(TFOListe, NrSuchen) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, s, w] = bau.Strecke();
    const TFOListe& l = bau.M().FOListe;
    EXPECT_EQ(l.NrSuchen(1), &q);
    EXPECT_EQ(l.NrSuchen(3), &w);
    EXPECT_EQ(l.NrSuchen(4), nullptr);
    // Die 0 gehört dem Modell, das nicht in seiner eigenen Liste steht.
    EXPECT_EQ(l.NrSuchen(0), nullptr);
    // Bei doppelter Nummer gewinnt das erste Objekt der Liste.
    s.FONr = 3;
    EXPECT_EQ(l.NrSuchen(3), &w);
}

TEST(TFOListe, AuswaehlenUndUmschalten) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& s = bau.Knoten<TSenke>("S");
    TFOListe& l = bau.M().FOListe;
    l.Auswaehlen(nullptr, true);
    EXPECT_TRUE(l.Auswahl().empty());
    l.Auswaehlen(&s, false);
    l.Auswaehlen(&q, true);
    EXPECT_EQ(AuswahlNamen(l), (std::vector<std::string>{"S", "Q"}));
    // Der Eintrag behält den Namen vom Zeitpunkt der Auswahl.
    s.Name = "umbenannt";
    EXPECT_EQ(l.Auswahl()[0].Name, "S");
    l.Auswaehlen(&s, false);
    EXPECT_EQ(l.Auswahl().size(), 2u);
    l.Auswaehlen(&s, true);
    EXPECT_EQ(AuswahlNamen(l), (std::vector<std::string>{"Q"}));
    EXPECT_TRUE(l.IstAusgewaehlt(&q));
    EXPECT_FALSE(l.IstAusgewaehlt(&s));
}

TEST(TFOListe, AllesAuswaehlenInListenfolge) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, s, w] = bau.Strecke("Q", "S", "W");
    TFOListe& l = bau.M().FOListe;
    l.Auswaehlen(&s, false);
    l.AllesAuswaehlen();
    EXPECT_EQ(AuswahlNamen(l), (std::vector<std::string>{"W", "Q", "S"}));
}

TEST(TFOListe, EinzelneAuswahlNachArt) {
    TAufzeichnung rec;
    TModellBau bau;
    auto [q, s, w] = bau.Strecke();
    auto& v = bau.Knoten<TVerzweigung>();
    auto& wa = bau.Knoten<TWandler>();
    TFOListe& l = bau.M().FOListe;

    struct TFall {
        TFO* Objekt;
        bool Verzweigung, Quelle, Senke, Wandler, Weg, Knoten;
    };
    for (const TFall& f : {TFall{&q, false, true, false, false, false, true},
                           TFall{&s, false, false, true, false, false, true},
                           TFall{&v, true, false, false, false, false, true},
                           TFall{&wa, false, false, false, true, false, true},
                           TFall{&w, false, false, false, false, true, false}}) {
        l.AllesAuswaehlen();
        for (const auto& o : l.Alle()) l.Auswaehlen(o.get(), true);
        ASSERT_TRUE(l.Auswahl().empty());
        l.Auswaehlen(f.Objekt, false);
        EXPECT_EQ(l.IstEinzelneVerzweigung(), f.Verzweigung) << f.Objekt->Name;
        EXPECT_EQ(l.IstEinzelneQuelle(), f.Quelle) << f.Objekt->Name;
        EXPECT_EQ(l.IstEinzelneSenke(), f.Senke) << f.Objekt->Name;
        EXPECT_EQ(l.IstEinzelnerWandler(), f.Wandler) << f.Objekt->Name;
        EXPECT_EQ(l.IstEinzelnerWeg(), f.Weg) << f.Objekt->Name;
        EXPECT_EQ(l.IstEinzelnerKnoten(), f.Knoten) << f.Objekt->Name;
    }
    // Quelle und Weg zusammen: keine einzelne Auswahl.
    l.Auswaehlen(&q, false);
    EXPECT_FALSE(l.IstEinzelneQuelle());
    EXPECT_FALSE(l.IstEinzelnerKnoten());
    EXPECT_FALSE(l.IstEinzelnerWeg());
    l.AllesAuswaehlen();
    for (const auto& o : l.Alle()) l.Auswaehlen(o.get(), true);
    EXPECT_FALSE(l.IstEinzelnerKnoten());
}

// ---------------------------------------------------------------- Modell

TEST(TModell, NeuesModellHatDieVorgaben) {
    TAufzeichnung rec;
    TModell m;
    EXPECT_EQ(m.FONr, 0u);
    EXPECT_EQ(m.FONrZaehler, 1u);
    EXPECT_EQ(m.Modell, &m);
    EXPECT_EQ(m.Name, "Modell_V_3");
    EXPECT_STREQ(m.Klassenname(), "TModell");
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Artikel1"}));
    EXPECT_EQ(m.AnzahlArtikel(), 1);
    EXPECT_EQ(m.AktArtikel, 0);
    EXPECT_EQ(m.DateiName, "NEU.TSR");
    EXPECT_TRUE(m.IstNeu());
    EXPECT_FALSE(m.Modifiziert);
    EXPECT_EQ(m.Laedt, 0);
    EXPECT_EQ(m.FOListe.Anzahl(), 0u);
    EXPECT_TRUE(m.FOListe.Auswahl().empty());
    EXPECT_EQ(m.MaxStromBerechnet, -1.0);
    EXPECT_EQ(m.MaxStrom, -1.0);
    EXPECT_TRUE(m.MaxStromBer);
    EXPECT_FALSE(m.SummeAllerArtikel);
    EXPECT_EQ(m.DatenformatVer, 3);
    EXPECT_EQ(m.GeleseneVersion, 3);
    EXPECT_FALSE(m.QuellenBeschr);
    EXPECT_FALSE(m.SenkenBeschr);
    EXPECT_FALSE(m.VerzweigBeschr);
    EXPECT_FALSE(m.WandlerBeschr);
    EXPECT_FALSE(m.WegeBeschr);
    EXPECT_EQ(m.SymbolGroesse, 4);
    EXPECT_EQ(m.StromGroesse, 30);
    EXPECT_EQ(m.ProzStellen, 0);
    EXPECT_EQ(m.StromStellen, 2);
    EXPECT_EQ(m.Stromanzeige, 0);
    EXPECT_EQ(m.MaxBerDauer, 1000u);
}

TEST(TModell, IstNeuNurBeiGenauNEU) {
    TAufzeichnung rec;
    TModell m;
    m.DateiName = "neu.tsr";
    EXPECT_FALSE(m.IstNeu());
    m.DateiName = "C:\\Daten\\NEU.TSR";
    EXPECT_FALSE(m.IstNeu());
    m.DateiName = "NEU.TSR";
    EXPECT_TRUE(m.IstNeu());
}

TEST(TModell, JedesModellBeginntBeiNummerNull) {
    TAufzeichnung rec;
    TModellBau erstes;
    erstes.Knoten<TQuelle>();
    erstes.Knoten<TSenke>();
    EXPECT_EQ(erstes.M().FONrZaehler, 3u);
    TModellBau zweites;
    EXPECT_EQ(zweites.M().FONr, 0u);
    EXPECT_EQ(zweites.Knoten<TVerzweigung>().FONr, 1u);
    EXPECT_EQ(erstes.Knoten<TWandler>().FONr, 3u);
}

TEST(TModell, ObjekteLoeschenSetztZaehlerAufEins) {
    TAufzeichnung rec;
    TKette k;
    TModell& m = k.Bau.M();
    m.FOListe.Auswaehlen(&k.V, false);
    m.ObjekteLoeschen();
    EXPECT_EQ(m.FOListe.Anzahl(), 0u);
    EXPECT_TRUE(m.FOListe.Auswahl().empty());
    EXPECT_EQ(m.FONrZaehler, 1u);
    EXPECT_EQ(Zerstoert.size(), 7u);
    for (const auto& [name, anzahl] : Zerstoert) EXPECT_EQ(anzahl, 1) << name;
    EXPECT_EQ(TQuelle(m).FONr, 1u);
}

// Beim Leeren formen sich die Matrizen nicht mehr um; ein danach neu
// gebautes Netz im selben Modell wächst und schrumpft wieder wie im Editor.
TEST(TModell, GeleertesModellBautNeueMatrizenNormal) {
    TAufzeichnung rec;
    TKette k;
    TModell& m = k.Bau.M();
    m.ObjekteLoeschen();
    auto& q = k.Bau.Knoten<TQuelle>("Q2");
    auto& v = k.Bau.Knoten<TVerzweigung>("V2");
    auto& s1 = k.Bau.Knoten<TSenke>("S3");
    auto& s2 = k.Bau.Knoten<TSenke>("S4");
    k.Bau.Weg(q, v);
    k.Bau.Weg(v, s1);
    TWeg& w3 = k.Bau.Weg(v, s2);
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 3");
    EXPECT_EQ(q.Matrix().DimText(), "1 / 1 / 2");
    m.FOListe.Entfernen(&w3).reset(); // der Weg hängt sich dabei ab
    EXPECT_EQ(v.Matrix().DimText(), "1 / 2 / 2");
    EXPECT_EQ(s2.Matrix().DimText(), "1 / 1 / 1");
    ASSERT_EQ(m.FOListe.Knoten().size(), 4u);
}

TEST(TModell, ArtikelSetzenBegrenztNurNachOben) {
    TAufzeichnung rec;
    TModell m;
    m.ArtikelEinfuegen("B");
    m.ArtikelEinfuegen("C");
    m.ArtikelSetzen(5);
    EXPECT_EQ(m.AktArtikel, 2);
    m.ArtikelSetzen(2);
    EXPECT_EQ(m.AktArtikel, 2);
    m.ArtikelSetzen(1);
    EXPECT_EQ(m.AktArtikel, 1);
    m.ArtikelSetzen(0);
    EXPECT_EQ(m.AktArtikel, 0);
    m.ArtikelSetzen(3);
    EXPECT_EQ(m.AktArtikel, 2);
    EXPECT_FALSE(m.Modifiziert);
}

TEST(TModell, ArtikelEinfuegenVergroessertJedeKnotenmatrix) {
    TAufzeichnung rec;
    TModellBau bau;
    TModell& m = bau.M();
    auto [q, s, w] = bau.Strecke();
    auto& wa = bau.Knoten<TWandler>();
    q.Matrix().ZelleSetzen(0, 0, 1, 7);
    wa.Matrix().ZelleSetzen(0, 1, 1, 2);
    wa.Matrix().ZelleSetzen(0, 0, 1, 3);
    m.ArtikelSetzen(0);

    m.ArtikelEinfuegen("Schrott");
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Artikel1", "Schrott"}));
    EXPECT_EQ(m.AktArtikel, 0);
    EXPECT_FALSE(m.Modifiziert);
    // Quelle und Senke wachsen nur in Dimension 1.
    EXPECT_EQ(q.Matrix().DimText(), "2 / 1 / 2");
    EXPECT_EQ(q.Matrix().ZeilenText(0, 0), "0 / 7");
    EXPECT_EQ(q.Matrix().ZeilenText(1, 0), "0 / 0");
    EXPECT_EQ(s.Matrix().DimText(), "2 / 2 / 1");
    // Der Wandler wächst in Dimension 1 und 2.
    EXPECT_EQ(wa.Matrix().DimText(), "2 / 3 / 2");
    EXPECT_EQ(wa.Matrix().ZeilenText(0, 0), "0 / 3");
    EXPECT_EQ(wa.Matrix().ZeilenText(0, 1), "0 / 2");
    for (int b = 0; b < 3; ++b) EXPECT_EQ(wa.Matrix().ZeilenText(1, b), "0 / 0");
    EXPECT_EQ(wa.Matrix().ZeilenText(0, 2), "0 / 0");
}

TEST(TModell, ArtikelLoeschenBehaeltDieWerteDerUebrigen) {
    TAufzeichnung rec;
    TModellBau bau;
    TModell& m = bau.M();
    m.ArtikelEinfuegen("Zwei");
    auto [q, s, w] = bau.Strecke();
    auto& v = bau.Knoten<TVerzweigung>();
    auto& wa = bau.Knoten<TWandler>();
    q.Matrix().ZelleSetzen(0, 0, 1, 5);
    q.Matrix().ZelleSetzen(1, 0, 1, 9);
    // Wandler 2 x 3 x 2: Zelle (a, b, c) = a*100 + b*10 + c + 1.
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 3; ++b)
            for (int c = 0; c < 2; ++c) wa.Matrix().ZelleSetzen(a, b, c, a * 100 + b * 10 + c + 1);
    m.AktArtikel = 1;

    m.ArtikelLoeschen(0);
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Zwei"}));
    EXPECT_EQ(m.AktArtikel, 1); // der Aufrufer passt ihn an
    EXPECT_FALSE(m.Modifiziert);
    EXPECT_EQ(q.Matrix().DimText(), "1 / 1 / 2");
    EXPECT_EQ(q.Matrix().ZeilenText(0, 0), "100 / 9");
    EXPECT_EQ(s.Matrix().DimText(), "1 / 2 / 1");
    EXPECT_EQ(v.Matrix().DimText(), "1 / 1 / 1");
    EXPECT_EQ(v.Matrix().ZeilenText(0, 0), "100");
    // Wandler: Index 0 in Dimension 1 und Index 1 in Dimension 2 fallen weg.
    EXPECT_EQ(wa.Matrix().DimText(), "1 / 2 / 2");
    EXPECT_EQ(wa.Matrix().ZeilenText(0, 0), "101 / 102");
    EXPECT_EQ(wa.Matrix().ZeilenText(0, 1), "121 / 122");
}

TEST(TModell, ArtikelLoeschenInDerMitte) {
    TAufzeichnung rec;
    TModellBau bau;
    TModell& m = bau.M();
    m.ArtikelEinfuegen("B");
    m.ArtikelEinfuegen("C");
    auto& wa = bau.Knoten<TWandler>();
    // Faktor (Artikel a aus Artikel j) = 10*a + j + 1.
    for (int a = 0; a < 3; ++a)
        for (int j = 0; j < 3; ++j) wa.Matrix().ZelleSetzen(a, j + 1, 1, 10 * a + j + 1);
    m.ArtikelLoeschen(1);
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Artikel1", "C"}));
    ASSERT_EQ(wa.Matrix().DimText(), "2 / 3 / 2");
    EXPECT_EQ(*wa.Matrix().Zelle(0, 1, 1), 1);  // A aus A
    EXPECT_EQ(*wa.Matrix().Zelle(0, 2, 1), 3);  // A aus C
    EXPECT_EQ(*wa.Matrix().Zelle(1, 1, 1), 21); // C aus A
    EXPECT_EQ(*wa.Matrix().Zelle(1, 2, 1), 23); // C aus C
}

TEST(TModell, Ausdehnung) {
    TAufzeichnung rec;
    TModellBau bau;
    EXPECT_EQ(bau.M().Ausdehnung(), (TPunkt{-2147483547.0, 2147483647.0}));
    auto& a = bau.Knoten<TQuelle>("", Punkt(10, 50));
    auto& b = bau.Knoten<TSenke>("", Punkt(30, 20));
    auto& w = bau.Weg(a, b);
    w.Refpunkt = Punkt(5000, -5000); // Wege zählen nicht
    EXPECT_EQ(bau.M().Ausdehnung(), (TPunkt{30, 20}));
    bau.Knoten<TVerzweigung>("", Punkt(-7, -3));
    EXPECT_EQ(bau.M().Ausdehnung(), (TPunkt{30, -3}));
}

TEST(TModell, StromAufloesung) {
    TAufzeichnung rec;
    TModell m;
    EXPECT_EQ(m.StromAufloesung(), 0.01);
    m.StromStellen = 0;
    EXPECT_EQ(m.StromAufloesung(), 1.0);
    m.StromStellen = 1;
    EXPECT_EQ(m.StromAufloesung(), 0.1);
    m.StromStellen = 7;
    EXPECT_EQ(m.StromAufloesung(), 0.0000001);
    m.StromStellen = 12;
    EXPECT_EQ(m.StromAufloesung(), 0.0000001);
}

TEST(TModell, KapazitaetSetzenNurFuerWegeUndVerzweigungen) {
    TAufzeichnung rec;
    TModellBau bau;
    auto& q = bau.Knoten<TQuelle>();
    auto& v = bau.Knoten<TVerzweigung>();
    auto& v2 = bau.Knoten<TVerzweigung>();
    auto& wa = bau.Knoten<TWandler>();
    auto& w = bau.Weg(q, v);
    auto& w2 = bau.Weg(v, v2);
    TFOListe& l = bau.M().FOListe;
    for (TFO* o : std::initializer_list<TFO*>{&q, &v, &w, &wa}) l.Auswaehlen(o, false);
    bau.M().KapazitaetSetzen(42.5);
    EXPECT_EQ(v.Kapazitaet, 42.5);
    EXPECT_EQ(w.Kapazitaet, 42.5);
    EXPECT_EQ(q.Kapazitaet, 1000000.0);
    EXPECT_EQ(wa.Kapazitaet, 1000000.0);
    EXPECT_EQ(v2.Kapazitaet, 1000000.0);
    EXPECT_EQ(w2.Kapazitaet, 1000000.0);
    EXPECT_FALSE(bau.M().Modifiziert);
}

TEST(TModell, WertTextUndProzentText) {
    TAufzeichnung rec;
    TModell m;
    EXPECT_EQ(m.WertText(1234.5), "1234.50");
    EXPECT_EQ(m.WertText(0.125), "0.13");
    EXPECT_EQ(m.WertText(-0.001), "0.00");
    EXPECT_EQ(m.WertText(98765432109.87), "9.876543211E10");
    EXPECT_EQ(m.ProzentText(33.333), "33");
    EXPECT_EQ(m.ProzentText(2.5), "3");
    m.ProzStellen = 1;
    m.StromStellen = 0;
    m.Anzeigetrenner = ',';
    EXPECT_EQ(m.ProzentText(33.333), "33,3");
    EXPECT_EQ(m.WertText(1234.5), "1235");
    m.StromStellen = 3;
    EXPECT_EQ(m.WertText(7), "7,000");
}

TEST(TModell, ProtokollGehtAnDiePlattform) {
    TAufzeichnung rec;
    TModell m;
    m.LogZeile("[ Q ] Zeile");
    EXPECT_EQ(rec.Protokoll, (std::vector<std::string>{"[ Q ] Zeile"}));
    m.LogLeeren();
    EXPECT_TRUE(rec.Protokoll.empty());
    EXPECT_EQ(rec.Geleert, 1);
}
