// Modelldatei: Lesen, Schreiben, Versionen, Zeilenenden und jede Fehlerart.
#include <gtest/gtest.h>

#include <csignal>
#include <locale>
#include <memory>

#include <sys/resource.h>

#include "TDateiHilfe.h"
#include "analysis/UBerechnung.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"

namespace tessomir::test {
namespace {

class ModellDatei : public ::testing::Test {
protected:
    TAufzeichnung Platt;
    TTempOrdner Ordner;
    const std::string Beispiel = DateiLesen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR");
    const std::vector<std::string> BeispielZeilen = ZeilenAus(Beispiel);

    // Schreibt den Text in eine Datei und öffnet sie wie das Programm.
    TOeffnenErgebnis Oeffnen(const std::string& text, const std::string& name = "modell.TSR") {
        const std::string pfad = Ordner.Datei(name);
        DateiSchreiben(pfad, text);
        return ModellOeffnen(pfad);
    }

    std::unique_ptr<TModell> Laden(const std::string& text) {
        TOeffnenErgebnis e = Oeffnen(text);
        EXPECT_NE(e.Modell, nullptr) << e.Grund;
        return std::move(e.Modell);
    }

    std::string Speichern(TModell& m, const std::string& name = "gespeichert.TSR") {
        const std::string pfad = Ordner.Datei(name);
        DateiSpeichern(m, pfad);
        EXPECT_EQ(m.DateiName, pfad);
        return DateiLesen(pfad);
    }

    // Laden und gleich wieder speichern; das geladene Modell ist danach weg.
    std::string LadenUndSpeichern(const std::string& text) {
        auto m = Laden(text);
        if (!m) return {};
        return Speichern(*m);
    }

    // Lädt in ein frisches Modell und liefert die Ausnahme.
    TFehlerBild LadeFehler(const std::string& text) {
        const std::string pfad = Ordner.Datei("fehler.TSR");
        DateiSchreiben(pfad, text);
        auto m = std::make_unique<TModell>();
        const TFehlerBild f = FehlerVon([&] { DateiLaden(*m, pfad); });
        EXPECT_EQ(m->Laedt, 0);
        m.reset();
        return f;
    }
};

// Quelle -> Verzweigung -> (Senke, Wandler -> Senke) mit zwei Artikeln, wie
// der Editor es baut; das Modell ist nach dem Speichern wieder zerstört.
std::string VerzweigungsModell(TTempOrdner& ordner) {
    TModellBau bau;
    TModell& m = bau.M();
    m.ArtikelEinfuegen("Kunststoff");
    m.ArtikelListe[0] = "Papier";
    auto& q = bau.Knoten<TQuelle>("Sammelstelle", {10, -20});
    auto& v = bau.Knoten<TVerzweigung>("Sortierband", {50, -20});
    auto& s1 = bau.Knoten<TSenke>("Papierballen", {90, -10});
    auto& w = bau.Knoten<TWandler>("Schredder", {90, -30});
    auto& s2 = bau.Knoten<TSenke>("Granulat", {130, -30});
    bau.Weg(q, v, "Zulauf");
    bau.Weg(v, s1, "Papierstrang");
    bau.Weg(v, w, "Restestrang");
    bau.Weg(w, s2, "Abwurf");
    q.Matrix().W(0, 0, 1) = 120.5;
    q.Matrix().W(1, 0, 1) = 30;
    v.Matrix().W(0, 1, 1) = 90;
    v.Matrix().W(0, 1, 2) = 10;
    v.Matrix().W(1, 1, 1) = 2.5;
    v.Matrix().W(1, 1, 2) = 97.5;
    w.Matrix().W(0, 1, 1) = 1;
    w.Matrix().W(1, 2, 1) = 0.75;
    v.Kapazitaet = 400;
    const std::string pfad = ordner.Datei("verzweigung.TSR");
    DateiSpeichern(m, pfad);
    return DateiLesen(pfad);
}

// Nummer der Zeile (ab 1), deren Wert 'wert' ist und die nach 'ab' steht.
size_t ZeileMitWert(const std::vector<std::string>& zeilen, const std::string& wert, size_t ab = 0) {
    for (size_t i = ab; i < zeilen.size(); ++i) {
        if (Wert(zeilen, i + 1) == wert) return i + 1;
    }
    ADD_FAILURE() << "kein Wert " << wert;
    return 0;
}

// ---------------------------------------------------------------- Beispiel

TEST_F(ModellDatei, BeispielLaedtMitAllenWerten) {
    auto m = Laden(Beispiel);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GeleseneVersion, 3);
    EXPECT_EQ(m->FONr, 0u);
    EXPECT_EQ(m->Schrift.Name, "Arial");
    EXPECT_EQ(m->Schrift.Zeichensatz, 0);
    EXPECT_EQ(m->Schrift.Hoehe, -13);
    EXPECT_TRUE(m->QuellenBeschr);
    EXPECT_TRUE(m->SenkenBeschr);
    EXPECT_FALSE(m->VerzweigBeschr);
    EXPECT_EQ(m->ArtikelListe, std::vector<std::string>{"Artikel1"});
    EXPECT_EQ(m->MaxBerDauer, 1000u);
    EXPECT_EQ(m->MaxStrom, -1.0);
    ASSERT_EQ(m->FOListe.Anzahl(), 3u);
    auto* weg = dynamic_cast<TWeg*>(m->FOListe.Objekt(0));
    auto* q = dynamic_cast<TQuelle*>(m->FOListe.Objekt(1));
    auto* s = dynamic_cast<TSenke*>(m->FOListe.Objekt(2));
    ASSERT_TRUE(weg && q && s);
    EXPECT_EQ(weg->FONr, 3u);
    EXPECT_EQ(weg->Start(), q);
    EXPECT_EQ(weg->Ziel(), s);
    EXPECT_EQ(q->Ausgang, weg);
    EXPECT_EQ(s->Eingang, weg);
    EXPECT_EQ(q->Refpunkt, Punkt(100, 50));
    EXPECT_EQ(q->Matrix().W(0, 0, 1), 50.0);
    EXPECT_EQ(s->Matrix().W(0, 1, 0), 50.0);
    EXPECT_EQ(weg->Strom(), 50.0);
    EXPECT_EQ(m->DateiName, Ordner.Datei("modell.TSR"));
    EXPECT_EQ(m->Laedt, 0);
    EXPECT_TRUE(Platt.Meldungen.empty());
    EXPECT_EQ(Platt.Pieptoene, 0);
}

TEST_F(ModellDatei, BeispielBerechnetUndGespeichertGibtDieselbenBytes) {
    // Ohne den berechneten Wert der Senke laden: erst die Berechnung setzt ihn.
    auto zeilen = BeispielZeilen;
    WertSetzen(zeilen, 42, "0");
    auto m = Laden(TextAus(zeilen));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(ModellNeuberechnen(*m), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_EQ(Speichern(*m), Beispiel);
}

TEST_F(ModellDatei, MehrereWegeKehrenIhreReihenfolgeJeLadenUm) {
    const std::string erst = VerzweigungsModell(Ordner);
    const std::string zweit = LadenUndSpeichern(erst);
    const std::string dritt = LadenUndSpeichern(zweit);
    // Wege stehen vorn und kommen beim Lesen umgekehrt zurück; die Knoten
    // behalten ihre Reihenfolge. Nach zwei Ladevorgängen ist alles wie vorher.
    EXPECT_NE(zweit, erst);
    EXPECT_EQ(dritt, erst);
    const auto a = ZeilenAus(erst);
    const auto b = ZeilenAus(zweit);
    ASSERT_EQ(a.size(), b.size());
    std::vector<std::string> wegeA;
    std::vector<std::string> wegeB;
    for (size_t i = 1; i <= a.size(); ++i) {
        if (Wert(a, i) == "TWeg") wegeA.push_back(Wert(a, i + 2));
        if (Wert(b, i) == "TWeg") wegeB.push_back(Wert(b, i + 2));
    }
    EXPECT_EQ(wegeA, (std::vector<std::string>{"Abwurf", "Restestrang", "Papierstrang", "Zulauf"}));
    EXPECT_EQ(wegeB, (std::vector<std::string>{"Zulauf", "Papierstrang", "Restestrang", "Abwurf"}));
    // Ab der ersten Knotenzeile sind beide Dateien gleich.
    const size_t knoten = ZeileMitWert(a, "TQuelle") - 1;
    EXPECT_EQ(std::vector<std::string>(a.begin() + static_cast<long>(knoten), a.end()),
              std::vector<std::string>(b.begin() + static_cast<long>(knoten), b.end()));
}

TEST_F(ModellDatei, GeladenesVerzweigungsModellRechnetWieDasGebaute) {
    auto m = Laden(VerzweigungsModell(Ordner));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ArtikelListe, (std::vector<std::string>{"Papier", "Kunststoff"}));
    EXPECT_EQ(ModellNeuberechnen(*m), TBerechnungsErgebnis::BerechnungOK);
    auto* granulat = dynamic_cast<TSenke*>(m->FOListe.NrSuchen(5));
    auto* ballen = dynamic_cast<TSenke*>(m->FOListe.NrSuchen(3));
    auto* band = dynamic_cast<TVerzweigung*>(m->FOListe.NrSuchen(2));
    ASSERT_TRUE(granulat && ballen && band);
    EXPECT_EQ(band->Kapazitaet, 400.0);
    // Papier: 90 % zu den Ballen, 10 % durch den Schredder (Faktor 1);
    // Kunststoff: 97.5 % durch den Schredder (Faktor 0.75).
    EXPECT_DOUBLE_EQ(ballen->Matrix().W(0, 1, 0), 120.5 * 0.9);
    EXPECT_DOUBLE_EQ(ballen->Matrix().W(1, 1, 0), 30 * 0.025);
    EXPECT_DOUBLE_EQ(granulat->Matrix().W(0, 1, 0), 120.5 * 0.1);
    EXPECT_DOUBLE_EQ(granulat->Matrix().W(1, 1, 0), 30 * 0.975 * 0.75);
}

// ---------------------------------------------------------------- Versionen

// Version 1: Name TModell0, ohne "Datenformat Ver", "Wandler Beschr" und "Kapazitaet".
std::vector<std::string> AlsVersion1(std::vector<std::string> z) {
    WertSetzen(z, 3, "TModell0");
    for (size_t nr : {39u, 32u, 25u, 9u, 4u}) z.erase(z.begin() + static_cast<long>(nr - 1));
    return z;
}

std::vector<std::string> AlsVersion2(std::vector<std::string> z) {
    WertSetzen(z, 4, "2");
    for (size_t nr : {39u, 32u, 25u}) z.erase(z.begin() + static_cast<long>(nr - 1));
    return z;
}

TEST_F(ModellDatei, Version1LaedtUndWirdAlsVersion3Gespeichert) {
    auto z = AlsVersion1(BeispielZeilen);
    WertSetzen(z, 8, "WAHR"); // "Wege Beschr" steht in Version 1 an Zeile 8
    auto m = Laden(TextAus(z));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GeleseneVersion, 1);
    EXPECT_FALSE(m->WandlerBeschr);
    EXPECT_TRUE(m->WegeBeschr);
    EXPECT_FALSE(m->VerzweigBeschr);
    for (const auto& o : m->FOListe.Alle()) EXPECT_EQ(o->Kapazitaet, 1000000.0) << o->Name;
    EXPECT_EQ(m->FOListe.NrSuchen(2)->Refpunkt, Punkt(300, 50));
    auto erwartet = BeispielZeilen;
    WertSetzen(erwartet, 10, "WAHR");
    EXPECT_EQ(Speichern(*m), TextAus(erwartet));
}

TEST_F(ModellDatei, Version2LaedtMitVorgabekapazitaetUndWirdAlsVersion3Gespeichert) {
    auto m = Laden(TextAus(AlsVersion2(BeispielZeilen)));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GeleseneVersion, 2);
    for (const auto& o : m->FOListe.Alle()) EXPECT_EQ(o->Kapazitaet, 1000000.0) << o->Name;
    EXPECT_EQ(Speichern(*m), Beispiel);
}

TEST_F(ModellDatei, FremdeVersionsnummernLesenWieVersion1Oder3) {
    // 0 liest wie Version 1, nur mit der Zeile "Datenformat Ver".
    auto z = AlsVersion1(BeispielZeilen);
    WertSetzen(z, 3, "Modell_V_0");
    z.insert(z.begin() + 3, Zeile("Datenformat Ver", "0"));
    auto m = Laden(TextAus(z));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GeleseneVersion, 0);
    EXPECT_EQ(m->FOListe.Anzahl(), 3u);
    m.reset();

    auto v7 = BeispielZeilen;
    WertSetzen(v7, 4, "7");
    m = Laden(TextAus(v7));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GeleseneVersion, 7);
    EXPECT_EQ(Speichern(*m), Beispiel);
}

// ---------------------------------------------------------------- Text

TEST_F(ModellDatei, ZeilenendenLfCrUndGemischtLesenGleich) {
    const std::string lf = TextAus(BeispielZeilen, "\n");
    const std::string cr = TextAus(BeispielZeilen, "\r");
    std::string gemischt;
    for (size_t i = 0; i < BeispielZeilen.size(); ++i) gemischt += BeispielZeilen[i] + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n");
    std::string ohneLetztesEnde = Beispiel.substr(0, Beispiel.size() - 2);
    for (const std::string& text : {lf, cr, gemischt, ohneLetztesEnde}) {
        EXPECT_EQ(LadenUndSpeichern(text), Beispiel);
    }
}

TEST_F(ModellDatei, NulBeendetDenText) {
    // Hinter dem NUL stünde ein unbekannter Abschnitt, der das Lesen abbräche.
    std::string text = Beispiel;
    text += '\0';
    text += Zeile("Klasse ========= ", "TUnbekannt") + "\r\n" + Zeile("FO Nr", "9") + "\r\n";
    EXPECT_EQ(LadenUndSpeichern(text), Beispiel);

    // Ein NUL mitten in einer Matrixzeile schneidet den Rest ab: die Datei ist zu kurz.
    std::string mitten = Beispiel;
    mitten.insert(mitten.find("Artikel1            0 / 50"), 1, '\0');
    EXPECT_EQ(LadeFehler(mitten).Art, "EListError");
}

TEST_F(ModellDatei, SchluesselWerdenNieVerglichen) {
    auto z = BeispielZeilen;
    for (auto& zeile : z) zeile = "#Irgendwas#Anderes#" + zeile.substr(19);
    EXPECT_EQ(LadenUndSpeichern(TextAus(z)), Beispiel);
}

TEST_F(ModellDatei, KurzeZeileHatLeerenWert) {
    // Eine Zeile ohne Wertspalte liefert "", also einen leeren Namen.
    auto z = BeispielZeilen;
    z[29] = "Name";
    auto m = Laden(TextAus(z));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->FOListe.NrSuchen(1)->Name, "");
}

TEST_F(ModellDatei, EineZusaetzlicheZeileAmEndeStoertNicht) {
    EXPECT_EQ(LadenUndSpeichern(Beispiel + "\r\n"), Beispiel);
    EXPECT_EQ(LadenUndSpeichern(Beispiel + Zeile("Klasse ========= ", "TQuelle") + "\r\n"), Beispiel);
}

TEST_F(ModellDatei, ZweiLeereZeilenAmEndeSindEinLeererKlassenname) {
    const TOeffnenErgebnis e = Oeffnen(Beispiel + "\r\n\r\n");
    EXPECT_EQ(e.Modell, nullptr);
    EXPECT_EQ(e.Grund, "Zeile 43: hier sollte ein Objekt beginnen, aber die Objektart fehlt");
    EXPECT_EQ(LadeFehler(Beispiel + "\r\n\r\n").Art, "EModellErzeugen");
}

TEST_F(ModellDatei, PunktAlsDezimalzeichenUnabhaengigVomGebietsschema) {
    // Ein Gebietsschema mit Komma für alle C++-Ströme; die Datei bleibt bei '.'.
    struct TKomma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale vorher = std::locale::global(std::locale(std::locale::classic(), std::make_unique<TKomma>().release()));
    auto z = BeispielZeilen;
    WertSetzen(z, 24, "12.25 / -0.5");
    WertSetzen(z, 25, "2.5");
    WertSetzen(z, 34, "0 / 1234567.125");
    WertSetzen(z, 17, "0.001");
    auto m = Laden(TextAus(z));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->FOListe.NrSuchen(3)->Kapazitaet, 2.5);
    EXPECT_EQ(m->FOListe.NrSuchen(3)->Refpunkt, Punkt(12.25, -0.5));
    EXPECT_EQ(m->MaxStrom, 0.001);
    const std::string gespeichert = Speichern(*m);
    std::locale::global(vorher);
    EXPECT_EQ(gespeichert, TextAus(z));

    // Ein Komma ist in der Datei kein Dezimalzeichen.
    WertSetzen(z, 25, "2,5");
    EXPECT_EQ(LadeFehler(TextAus(z)).Art, "EConvertError");
}

TEST_F(ModellDatei, SchriftFelder) {
    auto z = BeispielZeilen;
    WertSetzen(z, 5, "Courier New / 255 / -2147483640 / 12 / 7 / 21");
    auto m = Laden(TextAus(z));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Schrift.Name, "Courier New");
    EXPECT_EQ(m->Schrift.Zeichensatz, 255);
    EXPECT_EQ(m->Schrift.Farbe, -2147483640);
    EXPECT_EQ(m->Schrift.Hoehe, 12);
    EXPECT_EQ(m->Schrift.Teilung, 0); // unbekannter Code: Vorgabe
    EXPECT_EQ(m->Schrift.Stil, 5);    // 21 modulo 16: fett und unterstrichen
    EXPECT_EQ(Wert(ZeilenAus(Speichern(*m)), 5), "Courier New / 255 / -2147483640 / 12 / 0 / 5");
}

// ---------------------------------------------------------------- Fehlerarten

struct TFehlerFall {
    const char* Bezeichnung;
    std::function<void(std::vector<std::string>&)> Aendern;
    const char* Art;
    std::string Text; // leer: Text wird nicht geprüft
};

std::vector<TFehlerFall> FehlerFaelle() {
    auto setze = [](size_t nr, std::string wert) {
        return [nr, wert](std::vector<std::string>& z) { WertSetzen(z, nr, wert); };
    };
    auto kuerze = [](size_t n) { return [n](std::vector<std::string>& z) { z.resize(n); }; };
    const std::string startFalsch = "<TWeg3> ung\xFC" "ltiger Startknoten";
    const std::string zielFalsch = "<TWeg3> ung\xFC" "ltiger Zielknoten";
    return {
        {"UnbekannteKlasse", setze(28, "TQuellle"), "EModellErzeugen", "<TQuellle> in TFOKlassenAusName nicht gefunden"},
        {"KlasseKleingeschrieben", setze(28, "tquelle"), "EModellErzeugen", "<tquelle> in TFOKlassenAusName nicht gefunden"},
        {"KlasseMitLeerzeichen", setze(28, "TQuelle "), "EModellErzeugen", "<TQuelle > in TFOKlassenAusName nicht gefunden"},
        {"StartOhneKnoten", setze(26, "0 / 7"), "EModellErzeugen", startFalsch},
        {"StartAufWeg", setze(26, "0 / 3"), "EModellErzeugen", startFalsch},
        {"StartAufModell", setze(26, "0 / 0"), "EModellErzeugen", startFalsch},
        {"ZielFehlt", setze(27, "-1 / 0"), "EModellErzeugen", zielFalsch},
        {"ZielOhneKnoten", setze(27, "0 / 99"), "EModellErzeugen", zielFalsch},
        {"VersionKeineZahl", setze(4, "drei"), "EConvertError", ""},
        {"SymbolGroesseKeineZahl", setze(11, "vier"), "EConvertError", ""},
        {"MaxStromMitKomma", setze(17, "1,5"), "EConvertError", ""},
        {"ArtikelanzahlKeineZahl", setze(19, "eins"), "EConvertError", ""},
        {"NummerKeineZahl", setze(29, "1a"), "EConvertError", ""},
        {"RefpunktHalb", setze(31, "100 / "), "EConvertError", ""},
        {"KapazitaetKeineZahl", setze(32, "viel"), "EConvertError", ""},
        {"MatrixgroesseKeineZahl", setze(33, "1 / zwei / 2"), "EConvertError", ""},
        {"ZelleKeineZahl", setze(34, "0 / 5O"), "EConvertError", ""},
        {"ZeileMitZuWenigFeldern", setze(34, "0"), "EConvertError", ""},
        {"StartpositionKeineZahl", setze(26, "a / 1"), "EConvertError", ""},
        {"StartOhneKnotenfeld", setze(26, "0"), "EConvertError", ""},
        {"SchriftZuKurz", setze(5, "Arial / 0"), "EConvertError", ""},
        {"NegativeNummer", setze(29, "-5"), "ERangeError", ""},
        {"NegativeKnotennummer", setze(26, "0 / -1"), "ERangeError", ""},
        {"NegativeMaxBerDauer", setze(18, "-1"), "ERangeError", ""},
        {"Zeichensatz256", setze(5, "Arial / 256 / 0 / -13 / 0 / 0"), "ERangeError", ""},
        {"ZeichensatzNegativ", setze(5, "Arial / -1 / 0 / -13 / 0 / 0"), "ERangeError", ""},
        {"EndeImKopf", kuerze(15), "EListError", ""},
        {"EndeVorDenArtikelnamen", kuerze(19), "EListError", ""},
        {"EndeImAbschnitt", kuerze(30), "EListError", ""},
        {"EndeInDerMatrix", kuerze(41), "EListError", ""},
        {"MatrixgroesseNull", setze(33, "1 / 0 / 2"), "EModellErzeugen", ""},
        {"MatrixgroesseNegativ", setze(40, "-1 / 2 / 1"), "EModellErzeugen", ""},
        {"KeinArtikel", [](std::vector<std::string>& z) {
             WertSetzen(z, 19, "0");
             z.erase(z.begin() + 19);
         }, "EModellErzeugen", ""},
        {"ModellAlsObjekt", setze(28, "TModell"), "EModellErzeugen", ""},
    };
}

TEST_F(ModellDatei, JedeFehlerartBeimLaden) {
    for (const TFehlerFall& fall : FehlerFaelle()) {
        SCOPED_TRACE(fall.Bezeichnung);
        auto z = BeispielZeilen;
        fall.Aendern(z);
        const TFehlerBild f = LadeFehler(TextAus(z));
        EXPECT_EQ(f.Art, fall.Art) << f.Text;
        EXPECT_FALSE(f.Text.empty());
        if (!fall.Text.empty()) {
            EXPECT_EQ(f.Text, fall.Text);
        }
        EXPECT_TRUE(Platt.Meldungen.empty()) << Platt.Meldungen.front().Text;
    }
}

TEST_F(ModellDatei, OeffnenLaesstBeiJedemFehlerKeinModellZurueck) {
    for (const TFehlerFall& fall : FehlerFaelle()) {
        SCOPED_TRACE(fall.Bezeichnung);
        auto z = BeispielZeilen;
        fall.Aendern(z);
        const TOeffnenErgebnis e = Oeffnen(TextAus(z), "Anlage Nord.TSR");
        EXPECT_EQ(e.Modell, nullptr);
        EXPECT_EQ(e.Meldung, "Die Datei Anlage Nord.TSR kann nicht ge\xF6" "ffnet werden.");
        EXPECT_EQ(e.Grund, LadeFehler(TextAus(z)).Grund);
    }
}

TEST_F(ModellDatei, DoppelteVerweiseSindDoppelteListeneintraege) {
    const auto z = ZeilenAus(VerzweigungsModell(Ordner));
    // Die beiden Ausgänge des Sortierbands: gleiche Position macht gleichen Starttext.
    const size_t papier = ZeileMitWert(z, "Papierstrang");
    const size_t reste = ZeileMitWert(z, "Restestrang");
    ASSERT_EQ(Wert(z, papier + 3), "0 / 2");
    ASSERT_EQ(Wert(z, reste + 3), "1 / 2");
    auto doppelStart = z;
    WertSetzen(doppelStart, reste + 3, "0 / 2");
    TFehlerBild f = LadeFehler(TextAus(doppelStart));
    EXPECT_EQ(f.Art, "EStringListError");
    EXPECT_NE(f.Text.find("0 / 2"), std::string::npos) << f.Text;

    // Gleiches Ziel: der Zulauf zeigt auf den Eingang, den das Abwurfband hat.
    const size_t abwurf = ZeileMitWert(z, "Abwurf");
    const size_t zulauf = ZeileMitWert(z, "Zulauf");
    auto doppelZiel = z;
    WertSetzen(doppelZiel, zulauf + 4, Wert(z, abwurf + 4));
    EXPECT_EQ(LadeFehler(TextAus(doppelZiel)).Art, "EStringListError");

    // Ein anders geschriebener Text ist kein Duplikat: beide Wege hängen mit
    // derselben Position am Sortierband, die Datei lädt.
    auto anders = z;
    WertSetzen(anders, reste + 3, "0 /  2");
    f = LadeFehler(TextAus(anders));
    EXPECT_EQ(f.Art, "") << f.Text;

    // Doppelte Texte werden vor unlesbaren gemeldet, auch wenn ein unlesbarer
    // Verweis in einem früheren Weg steht (der erste und der letzte Weg).
    auto beides = doppelStart;
    WertSetzen(beides, zulauf + 3, "x / 2");
    WertSetzen(beides, abwurf + 3, "x / 4");
    f = LadeFehler(TextAus(beides));
    EXPECT_EQ(f.Art, "EStringListError") << f.Text;
}

TEST_F(ModellDatei, NichtVorhandeneDateiUndOrdner) {
    auto m = std::make_unique<TModell>();
    const TFehlerBild f = FehlerVon([&] { DateiLaden(*m, Ordner.Datei("fehlt.TSR")); });
    EXPECT_EQ(f.Art, "EFOpenError");
    EXPECT_EQ(m->Laedt, 0);
    // Ein Ordner lässt sich öffnen, aber nicht als Modell lesen.
    const TFehlerBild o = FehlerVon([&] { DateiLaden(*m, Ordner.Pfad.string()); });
    EXPECT_EQ(o.Art, "EFOpenError") << o.Text;
    m.reset();

    const TOeffnenErgebnis e = ModellOeffnen(Ordner.Datei("fehlt.TSR"));
    EXPECT_EQ(e.Modell, nullptr);
    EXPECT_EQ(e.Meldung, "Die Datei fehlt.TSR kann nicht ge\xF6" "ffnet werden.");
    EXPECT_FALSE(e.Grund.empty());
}

// ---------------------------------------------------------------- Wege und Knotenarten

// Hängt an das Beispiel einen Knoten (Nummer nr) und einen Weg 4 an.
std::string BeispielMit(const std::vector<std::string>& basis, const std::string& weg4Start,
                        const std::string& weg4Ziel, const std::string& knotenKlasse, const std::string& matrix,
                        const std::vector<std::string>& zeilen) {
    std::vector<std::string> z(basis.begin(), basis.begin() + 20);
    for (const auto& l : std::vector<std::string>{
             Zeile("Klasse ========= ", "TWeg"), Zeile("FO Nr", "4"), Zeile("Name", "Nebenweg"),
             Zeile("Refpunkt", "1 / 1"), Zeile("Kapazitaet", "5"), Zeile("Start", weg4Start), Zeile("Ziel", weg4Ziel)}) {
        z.push_back(l);
    }
    z.insert(z.end(), basis.begin() + 20, basis.end());
    for (const auto& l : std::vector<std::string>{Zeile("Klasse ========= ", knotenKlasse), Zeile("FO Nr", "5"),
                                                  Zeile("Name", "Zusatz"), Zeile("Refpunkt", "200 / 0"),
                                                  Zeile("Kapazitaet", "1000000"), Zeile("Matrix", matrix)}) {
        z.push_back(l);
    }
    for (const auto& r : zeilen) z.push_back(Zeile("", r));
    return TextAus(z);
}

TEST_F(ModellDatei, WegeGegenDieKnotenartScheiternMitDemWegnamen) {
    const auto& b = BeispielZeilen;
    struct TFall {
        const char* Bezeichnung;
        std::string Text;
        std::string Teil;
    };
    auto beispielWeg = [&](const std::string& start, const std::string& ziel) {
        auto z = b;
        WertSetzen(z, 26, start);
        WertSetzen(z, 27, ziel);
        return TextAus(z);
    };
    const std::vector<TFall> faelle = {
        {"ZweiterAusgangEinerQuelle", BeispielMit(b, "1 / 1", "0 / 5", "TSenke", "1 / 2 / 1", {"0", "0"}), "<Nebenweg>"},
        {"ZweiterEingangEinerSenke", BeispielMit(b, "0 / 5", "1 / 2", "TQuelle", "1 / 1 / 2", {"0 / 5"}), "<Nebenweg>"},
        {"WegVerlaesstSenke", beispielWeg("0 / 2", "0 / 1"), "<TWeg3>"},
        {"WegErreichtQuelle", beispielWeg("0 / 1", "0 / 1"), "<TWeg3>"},
        {"WegVerlaesstSenkeZuSenke", BeispielMit(b, "0 / 2", "0 / 5", "TSenke", "1 / 2 / 1", {"0", "0"}), "<Nebenweg>"},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.Bezeichnung);
        const TFehlerBild f = LadeFehler(fall.Text);
        EXPECT_EQ(f.Art, "EModellErzeugen");
        EXPECT_NE(f.Text.find(fall.Teil), std::string::npos) << f.Text;
        const TOeffnenErgebnis e = Oeffnen(fall.Text);
        EXPECT_EQ(e.Modell, nullptr);
    }
    // Gegenprobe: derselbe Zusatz richtig verbunden lädt.
    EXPECT_NE(Oeffnen(BeispielMit(b, "0 / 5", "0 / 5", "TVerzweigung", "1 / 2 / 2", {"0 / 0", "0 / 100"})).Modell,
              nullptr);
}

TEST_F(ModellDatei, WandlerMitZweitemEingangOderAusgangScheitert) {
    const auto z = ZeilenAus(VerzweigungsModell(Ordner));
    // Das Papierstrang-Ende auf den Wandler (Nummer 4) lenken: zweiter Eingang.
    const size_t papier = ZeileMitWert(z, "Papierstrang");
    auto zweiterEingang = z;
    WertSetzen(zweiterEingang, papier + 4, "1 / 4");
    TFehlerBild f = LadeFehler(TextAus(zweiterEingang));
    EXPECT_EQ(f.Art, "EModellErzeugen");
    EXPECT_NE(f.Text.find("<Papierstrang>"), std::string::npos) << f.Text;

    // Den Papierstrang am Wandler beginnen lassen: zweiter Ausgang.
    auto zweiterAusgang = z;
    WertSetzen(zweiterAusgang, papier + 3, "1 / 4");
    f = LadeFehler(TextAus(zweiterAusgang));
    EXPECT_EQ(f.Art, "EModellErzeugen");
    EXPECT_NE(f.Text.find("<Papierstrang>"), std::string::npos) << f.Text;
}

TEST_F(ModellDatei, MatrixformMussZuWegenUndArtikelnPassen) {
    struct TFall {
        const char* Bezeichnung;
        std::function<void(std::vector<std::string>&)> Aendern;
        std::string Knoten;
    };
    const std::vector<TFall> faelle = {
        {"QuelleMitZuVielenSpalten", [](auto& z) {
             WertSetzen(z, 33, "1 / 1 / 3");
             WertSetzen(z, 34, "0 / 50 / 7");
         }, "<TQuelle1>"},
        {"SenkeMitZuVielenZeilen", [](auto& z) {
             WertSetzen(z, 40, "1 / 3 / 1");
             z.push_back(Zeile("", "4"));
         }, "<TSenke2>"},
        {"QuelleOhneWegspalte", [](auto& z) {
             WertSetzen(z, 33, "1 / 1 / 1");
             WertSetzen(z, 34, "0");
         }, "<TQuelle1>"},
        {"ZweiArtikelAberMatrixFuerEinen", [](auto& z) {
             WertSetzen(z, 19, "2");
             z.insert(z.begin() + 20, Zeile("", "Artikel2"));
         }, "<TQuelle1>"},
        {"SenkeMitZweiSpalten", [](auto& z) {
             WertSetzen(z, 40, "1 / 2 / 2");
             WertSetzen(z, 41, "0 / 0");
             WertSetzen(z, 42, "50 / 0");
         }, "<TSenke2>"},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.Bezeichnung);
        auto z = BeispielZeilen;
        fall.Aendern(z);
        const TFehlerBild f = LadeFehler(TextAus(z));
        EXPECT_EQ(f.Art, "EModellErzeugen");
        EXPECT_NE(f.Text.find(fall.Knoten), std::string::npos) << f.Text;
    }
    // Wandler: n x (n+1) x 2 bei n = 2 Artikeln.
    const auto v = ZeilenAus(VerzweigungsModell(Ordner));
    const size_t wandler = ZeileMitWert(v, "TWandler");
    ASSERT_EQ(Wert(v, wandler + 5), "2 / 3 / 2");
    auto falsch = v;
    WertSetzen(falsch, wandler + 5, "3 / 2 / 2"); // gleich viele Zeilen und Felder
    const TFehlerBild f = LadeFehler(TextAus(falsch));
    EXPECT_EQ(f.Art, "EModellErzeugen");
    EXPECT_NE(f.Text.find("<Schredder>"), std::string::npos) << f.Text;
}

TEST_F(ModellDatei, UnverbundeneUndSchlichteObjekteLaden) {
    // Eine Quelle ohne Weg hat 1 x 1 x 1; TKnoten und TFO rechnen nicht und
    // werden unverändert wieder geschrieben.
    auto z = BeispielZeilen;
    for (const auto& l : std::vector<std::string>{
             Zeile("Klasse ========= ", "TQuelle"), Zeile("FO Nr", "8"), Zeile("Name", "Reserve"),
             Zeile("Refpunkt", "0 / 0"), Zeile("Kapazitaet", "1000000"), Zeile("Matrix", "1 / 1 / 1"),
             Zeile("Artikel1", "0"), Zeile("Klasse ========= ", "TKnoten"), Zeile("FO Nr", "9"),
             Zeile("Name", "Knoten"), Zeile("Refpunkt", "1 / 2"), Zeile("Kapazitaet", "3"),
             Zeile("Matrix", "2 / 1 / 3"), Zeile("Artikel1", "1 / 2 / 3"), Zeile("", "4 / 5 / 6"),
             Zeile("Klasse ========= ", "TFO"), Zeile("FO Nr", "10"), Zeile("Name", "Marke"),
             Zeile("Refpunkt", "5 / 5"), Zeile("Kapazitaet", "1")}) {
        z.push_back(l);
    }
    const std::string text = TextAus(z);
    auto m = Laden(text);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->FOListe.Anzahl(), 6u);
    // TFO steht wie jedes Nicht-Knoten-Objekt vorn.
    EXPECT_EQ(m->FOListe.Objekt(0)->Name, "Marke");
    EXPECT_EQ(m->FONrZaehler, 11u);
    const auto gespeichert = ZeilenAus(Speichern(*m));
    // Der TFO-Abschnitt wandert vor den Weg; alles andere steht wie gelesen.
    std::vector<std::string> erwartet(z.begin(), z.begin() + 20);
    erwartet.insert(erwartet.end(), z.end() - 5, z.end());
    erwartet.insert(erwartet.end(), z.begin() + 20, z.end() - 5);
    EXPECT_EQ(gespeichert, erwartet);
}

// ---------------------------------------------------------------- Zähler

TEST_F(ModellDatei, ObjektzaehlerEndetUeberAllenGelesenenNummern) {
    auto z = BeispielZeilen;
    WertSetzen(z, 29, "57");
    WertSetzen(z, 26, "0 / 57");
    WertSetzen(z, 36, "12");
    WertSetzen(z, 27, "0 / 12");
    auto m = Laden(TextAus(z));
    ASSERT_NE(m, nullptr);
    // Jedes gelesene Objekt nimmt erst eine frische Nummer, dann die
    // gespeicherte: Weg 1 -> 3, Quelle 4 -> 57, Senke 58 -> 12.
    EXPECT_EQ(m->FONrZaehler, 59u);
    for (const auto& o : m->FOListe.Alle()) EXPECT_GT(m->FONrZaehler, o->FONr);
    EXPECT_EQ(TQuelle(*m).FONr, 59u);
    m.reset();

    // Kleine Nummern: der Zähler steht trotzdem hinter allen angelegten
    // (Weg 1 -> 3, Quelle 4 -> 1, Senke 5 -> 2).
    m = Laden(Beispiel);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->FONrZaehler, 6u);
    m.reset();

    // Weit verstreute Nummern finden ihre Knoten ebenso.
    WertSetzen(z, 29, "2000000000");
    WertSetzen(z, 26, "0 / 2000000000");
    m = Laden(TextAus(z));
    ASSERT_NE(m, nullptr);
    EXPECT_GT(m->FONrZaehler, 2000000000u);
    const TWeg* weg = m->FOListe.Alle().front()->AlsWeg();
    ASSERT_NE(weg, nullptr);
    ASSERT_NE(weg->Start(), nullptr);
    EXPECT_EQ(weg->Start()->FONr, 2000000000u);
}

// ---------------------------------------------------------------- Lange Artikelnamen

TEST_F(ModellDatei, LangeArtikelnamenWerdenImSchluesselGekuerzt) {
    const std::string lang = "Altpapier gemischt aus Haushalten";
    const std::string genau20 = "Kunststoffe sortiert";
    ASSERT_EQ(genau20.size(), 20u);
    std::string text;
    {
        TModellBau bau;
        bau.M().ArtikelListe[0] = lang;
        bau.M().ArtikelEinfuegen(genau20);
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& s = bau.Knoten<TSenke>("S");
        bau.Weg(q, s);
        q.Matrix().AlleSetzen(0);
        q.Matrix().W(0, 0, 1) = 7;
        q.Matrix().W(1, 0, 1) = 8;
        text = Speichern(bau.M(), "lang.TSR");
    }
    const auto z = ZeilenAus(text);
    EXPECT_EQ(Wert(z, 20), lang);
    const size_t matrix = ZeileMitWert(z, "2 / 1 / 2");
    EXPECT_EQ(z[matrix], lang.substr(0, 20) + "0 / 7");
    EXPECT_EQ(z[matrix + 1], genau20 + "0 / 8");
    auto m = Laden(text);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ArtikelListe, (std::vector<std::string>{lang, genau20}));
    auto* q = dynamic_cast<TQuelle*>(m->FOListe.NrSuchen(1));
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->Matrix().W(0, 0, 1), 7.0);
    EXPECT_EQ(q->Matrix().W(1, 0, 1), 8.0);
    EXPECT_EQ(Speichern(*m), text);
}

// ---------------------------------------------------------------- Zwölf Ausgänge

TEST_F(ModellDatei, ZwoelfAusgaengeBehaltenIhreReihenfolge) {
    std::string text;
    {
        TModellBau bau;
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& v = bau.Knoten<TVerzweigung>("Verteiler");
        bau.Weg(q, v, "Zulauf");
        for (int k = 1; k <= 12; ++k) {
            auto& s = bau.Knoten<TSenke>("Senke " + std::to_string(k));
            bau.Weg(v, s, "Ausgang " + std::to_string(k));
        }
        for (int k = 1; k <= 12; ++k) v.Matrix().W(0, 1, k) = k <= 8 ? 10.0 + k : 0.0;
        text = Speichern(bau.M(), "zwoelf.TSR");
    }
    auto pruefen = [](TModell& m) {
        TVerzweigung* v = nullptr;
        for (const auto& o : m.FOListe.Alle()) {
            if (auto* x = dynamic_cast<TVerzweigung*>(o.get())) v = x;
        }
        ASSERT_NE(v, nullptr);
        ASSERT_EQ(v->AnzahlAusgaenge(), 12);
        for (int k = 1; k <= 12; ++k) {
            EXPECT_EQ(v->GetAusgang(k - 1)->Name, "Ausgang " + std::to_string(k));
            EXPECT_EQ(v->GetAusgang(k - 1)->Ziel()->Name, "Senke " + std::to_string(k));
            EXPECT_EQ(v->Matrix().W(0, 1, k), k <= 8 ? 10.0 + k : 0.0);
        }
    };
    auto m = Laden(text);
    ASSERT_NE(m, nullptr);
    pruefen(*m);
    const std::string zweit = Speichern(*m);
    m.reset();
    auto m2 = Laden(zweit);
    ASSERT_NE(m2, nullptr);
    pruefen(*m2);
    EXPECT_EQ(Speichern(*m2), text);
}

// ---------------------------------------------------------------- Speichern

TEST_F(ModellDatei, SpeichernErsetztDieDateiOhneHilfsdateiZuHinterlassen) {
    auto m = Laden(Beispiel);
    ASSERT_NE(m, nullptr);
    const std::string ziel = Ordner.Datei("modell.TSR");
    DateiSchreiben(ziel, "alter Inhalt");
    DateiSpeichern(*m, ziel);
    EXPECT_EQ(DateiLesen(ziel), Beispiel);
    EXPECT_EQ(Ordner.Eintraege(), std::vector<std::string>{"modell.TSR"});
}

TEST_F(ModellDatei, SpeichernInFehlendenOrdnerScheitert) {
    auto m = Laden(Beispiel);
    ASSERT_NE(m, nullptr);
    const std::string vorher = m->DateiName;
    const TFehlerBild f = FehlerVon([&] { DateiSpeichern(*m, Ordner.Datei("gibtsnicht/modell.TSR")); });
    EXPECT_EQ(f.Art, "EFCreateError");
    EXPECT_EQ(m->DateiName, vorher);
    EXPECT_EQ(Ordner.Eintraege(), std::vector<std::string>{"modell.TSR"});
}

TEST_F(ModellDatei, VolleDiskLaesstDieAlteDateiStehen) {
    auto m = Laden(Beispiel);
    ASSERT_NE(m, nullptr);
    const std::string ziel = Ordner.Datei("modell.TSR");
    const std::string alt = "bisheriger Stand, der erhalten bleiben muss";
    DateiSchreiben(ziel, alt);
    // Eine Dateigrößengrenze wirkt auch für root wie eine volle Platte.
    rlimit vorher{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &vorher), 0);
    const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
    rlimit klein = vorher;
    klein.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &klein), 0);
    const TFehlerBild f = FehlerVon([&] { DateiSpeichern(*m, ziel); });
    setrlimit(RLIMIT_FSIZE, &vorher);
    std::signal(SIGXFSZ, signalVorher);
    EXPECT_EQ(f.Art, "EFCreateError");
    EXPECT_EQ(DateiLesen(ziel), alt);
    EXPECT_EQ(Ordner.Eintraege(), std::vector<std::string>{"modell.TSR"});
    EXPECT_EQ(m->DateiName, ziel); // vom Öffnen, nicht vom gescheiterten Speichern
}

TEST_F(ModellDatei, SpeichernAufEinenOrdnerScheitertUndRaeumtAuf) {
    auto m = Laden(Beispiel);
    ASSERT_NE(m, nullptr);
    std::filesystem::create_directory(Ordner.Pfad / "belegt.TSR");
    DateiSchreiben(Ordner.Datei("belegt.TSR/inhalt"), "x");
    const TFehlerBild f = FehlerVon([&] { DateiSpeichern(*m, Ordner.Datei("belegt.TSR")); });
    EXPECT_EQ(f.Art, "EFCreateError");
    EXPECT_EQ(DateiLesen(Ordner.Datei("belegt.TSR/inhalt")), "x");
    EXPECT_EQ(Ordner.Eintraege(), (std::vector<std::string>{"belegt.TSR", "modell.TSR"}));
}

TEST_F(ModellDatei, SchreibgeschuetzterOrdner) {
    if (::geteuid() == 0) GTEST_SKIP() << "root darf in schreibgeschützte Ordner schreiben";
    auto m = Laden(Beispiel);
    ASSERT_NE(m, nullptr);
    const std::string ziel = Ordner.Datei("modell.TSR");
    std::filesystem::permissions(Ordner.Pfad, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const TFehlerBild f = FehlerVon([&] { DateiSpeichern(*m, ziel); });
    std::filesystem::permissions(Ordner.Pfad, std::filesystem::perms::owner_all);
    EXPECT_EQ(f.Art, "EFCreateError");
    EXPECT_EQ(DateiLesen(ziel), Beispiel);
}

} // namespace
} // namespace tessomir::test
