// tessomir-cli: Ausgaben, Rückgabewerte, CSV, Speichern und die Beispielmodelle.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "analysis/UBerechnung.h"
#include "cli/UKommandozeile.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UZeilen.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

namespace fs = std::filesystem;
using test::TAufzeichnung;
using test::TModellBau;

struct TErgebnis {
    int Rc;
    std::string Aus;
    std::string Fehler;
};

TErgebnis Aufruf(const std::vector<std::string>& argumente) {
    std::ostringstream aus, fehler;
    const int rc = KommandozeileAusfuehren(argumente, aus, fehler);
    return {rc, aus.str(), fehler.str()};
}

std::string Lesen(const fs::path& datei) {
    std::ifstream ein(datei, std::ios::binary);
    return {std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>()};
}

// Eigener Ordner je Test, am Ende gelöscht.
class Kommandozeile : public ::testing::Test {
protected:
    Kommandozeile() {
        std::random_device zufall;
        Ordner = fs::temp_directory_path() /
                 ("tessomir_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "_" + std::to_string(zufall()));
        fs::create_directories(Ordner);
    }
    ~Kommandozeile() override {
        std::error_code egal;
        fs::remove_all(Ordner, egal);
    }

    std::string Pfad(const std::string& name) const { return (Ordner / name).string(); }

    // Speichert das gebaute Modell; danach ist kein Modell mehr aktuell.
    std::string Speichern(TModellBau& bau, const std::string& name) const {
        const std::string datei = Pfad(name);
        DateiSpeichern(bau.M(), datei);
        return datei;
    }

    TAufzeichnung Auf;
    fs::path Ordner;
};

void Menge(TQuelle& q, int artikel, double menge) { q.Matrix().ZelleSetzen(artikel, 0, 1, menge); }

// Quelle -> V1 -> V2 -> Senke, Anteile 100.
class KetteBau {
public:
    TModellBau Bau;
    TQuelle& Q = Bau.Knoten<TQuelle>("Q");
    TVerzweigung& V1 = Bau.Knoten<TVerzweigung>("V1");
    TVerzweigung& V2 = Bau.Knoten<TVerzweigung>("V2");
    TSenke& S = Bau.Knoten<TSenke>("S");
    explicit KetteBau(double menge) {
        Bau.Weg(Q, V1);
        Bau.Weg(V1, V2);
        Bau.Weg(V2, S);
        V1.Matrix().ZelleSetzen(0, 1, 1, 100);
        V2.Matrix().ZelleSetzen(0, 1, 1, 100);
        Menge(Q, 0, menge);
    }
};

TEST_F(Kommandozeile, PruefenGibtProtokollUndRueckgabewert) {
    std::string gut, schlecht;
    {
        KetteBau k(42);
        gut = Speichern(k.Bau, "gut.TSR");
    }
    {
        KetteBau k(42);
        k.V2.Name = "M\xFC" "hle";
        k.V2.Matrix().ZelleSetzen(0, 1, 1, 99);
        schlecht = Speichern(k.Bau, "schlecht.TSR");
    }
    const TErgebnis ok = Aufruf({"pruefen", gut});
    EXPECT_EQ(ok.Rc, 0);
    EXPECT_EQ(ok.Aus, "Daten OK\n");
    EXPECT_EQ(ok.Fehler, "");

    const TErgebnis f = Aufruf({"pruefen", schlecht});
    EXPECT_EQ(f.Rc, 1);
    EXPECT_EQ(f.Aus, "[ M\xC3\xBC" "hle ]  |Artikel1|   1. Eingang  : Kolonnensumme ist nicht gleich 100\n");
    EXPECT_EQ(f.Fehler, "Beim Pr\xC3\xBC" "fen sind Fehler aufgetreten\n");
}

TEST_F(Kommandozeile, BerechnenGibtProtokollUndHoechststrom) {
    std::string datei;
    {
        KetteBau k(42.125);
        datei = Speichern(k.Bau, "kette.TSR");
    }
    const TErgebnis e = Aufruf({"berechnen", datei});
    EXPECT_EQ(e.Rc, 0);
    EXPECT_EQ(e.Aus, "Daten OK, Berechnung gestartet\nBerechnung OK\nMax. Strom berechnet : 42.13\n");
    EXPECT_EQ(e.Fehler, "");
}

TEST_F(Kommandozeile, BerechnenMitPruefFehler) {
    std::string datei;
    {
        KetteBau k(42);
        k.Bau.Knoten<TWandler>("Zerkleinerer");
        datei = Speichern(k.Bau, "fehler.TSR");
    }
    const TErgebnis e = Aufruf({"berechnen", datei});
    EXPECT_EQ(e.Rc, 1);
    EXPECT_EQ(e.Aus, "[ Zerkleinerer ] : Wandler ohne Eingang\n"
                     "[ Zerkleinerer ] : Wandler ohne Ausgang\n"
                     "Max. Strom berechnet : -1.00\n");
    EXPECT_EQ(e.Fehler, "Beim Pr\xC3\xBC" "fen sind Fehler aufgetreten\n");
}

TEST_F(Kommandozeile, BerechnenMitZeitueberschreitungUndUeberlauf) {
    std::string schlaufe, ueberlauf;
    {
        TModellBau bau;
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& b1 = bau.Knoten<TVerzweigung>("B1");
        auto& b2 = bau.Knoten<TVerzweigung>("B2");
        bau.Weg(q, b1);
        bau.Weg(b1, b2);
        bau.Weg(b2, b1);
        b1.Matrix().ZelleSetzen(0, 1, 1, 100);
        b1.Matrix().ZelleSetzen(0, 2, 1, 100);
        b2.Matrix().ZelleSetzen(0, 1, 1, 100);
        Menge(q, 0, 3);
        bau.M().MaxBerDauer = 500;
        schlaufe = Speichern(bau, "schlaufe.TSR");
    }
    {
        KetteBau k(2e100);
        ueberlauf = Speichern(k.Bau, "ueberlauf.TSR");
    }
    Auf.Schritt = 100; // sechs Durchgänge bis 600 > 500
    const TErgebnis s = Aufruf({"berechnen", schlaufe});
    EXPECT_EQ(s.Rc, 1);
    EXPECT_EQ(s.Aus, "Daten OK, Berechnung gestartet\n"
                     "Max. Berechnungsdauer von : 500 msec \xC3\xBC" "berschritten.\n"
                     "Wahrscheinliche Ursache : Schlaufe mit monoton zunehmendem Strom\n"
                     "Max. Strom berechnet : 9.00\n");
    EXPECT_EQ(s.Fehler, "Beim Berechnen sind Fehler aufgetreten\n");

    const TErgebnis u = Aufruf({"berechnen", ueberlauf});
    EXPECT_EQ(u.Rc, 1);
    EXPECT_EQ(u.Aus, "Daten OK, Berechnung gestartet\n"
                     "[ V1 ] |Artikel1|   1. Eingang  : Eingangsstrom wird zu gross\n"
                     "Max. Strom berechnet : 2E100\n");
    EXPECT_EQ(u.Fehler, "Beim Berechnen sind Fehler aufgetreten\n");
}

TEST_F(Kommandozeile, DateiNichtZuOeffnen) {
    const std::string fehlt = Pfad("fehlt.TSR");
    const std::string kaputt = Pfad("kaputt.TSR");
    {
        std::ofstream aus(kaputt, std::ios::binary);
        aus << "Klasse =========    TModell\r\nFO Nr               0\r\n";
    }
    const std::string csv = Pfad("nie.csv");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"pruefen", fehlt}, {"berechnen", fehlt}, {"pruefen", kaputt}, {"berechnen", kaputt, "--csv", csv}}) {
        const TErgebnis e = Aufruf(args);
        const std::string name = fs::path(args[1]).filename().string();
        EXPECT_EQ(e.Rc, 2) << args[0] << " " << name;
        EXPECT_EQ(e.Aus, "");
        const std::string kopf = "Die Datei " + name + " kann nicht ge\xC3\xB6" "ffnet werden.\n";
        ASSERT_EQ(e.Fehler.substr(0, kopf.size()), kopf);
        const std::string grund = e.Fehler.substr(kopf.size());
        EXPECT_GT(grund.size(), 1U) << "Grund fehlt";
        EXPECT_EQ(std::count(grund.begin(), grund.end(), '\n'), 1) << grund;
        EXPECT_EQ(grund.back(), '\n');
    }
    EXPECT_FALSE(fs::exists(csv));
}

TEST_F(Kommandozeile, GrundMitUmlautInUtf8) {
    std::string datei;
    {
        TModellBau bau;
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& s = bau.Knoten<TSenke>("S");
        bau.Weg(q, s, "Zulauf");
        datei = Speichern(bau, "verweis.TSR");
    }
    std::string inhalt = Lesen(datei);
    const std::string start = "Start               0 / 1\r\n";
    const auto pos = inhalt.find(start);
    ASSERT_NE(pos, std::string::npos);
    inhalt.replace(pos, start.size(), "Start               0 / 99\r\n");
    {
        std::ofstream aus(datei, std::ios::binary | std::ios::trunc);
        aus << inhalt;
    }
    const TErgebnis e = Aufruf({"pruefen", datei});
    EXPECT_EQ(e.Rc, 2);
    EXPECT_EQ(e.Aus, "");
    EXPECT_EQ(e.Fehler, "Die Datei verweis.TSR kann nicht ge\xC3\xB6" "ffnet werden.\n"
                        "Weg [ Zulauf ]: der Startknoten mit der Nummer 99 fehlt oder ist kein Knoten\n");
}

TEST_F(Kommandozeile, SummeAllerArtikel) {
    std::string datei;
    {
        TModellBau bau;
        bau.M().ArtikelEinfuegen("Glas");
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& s = bau.Knoten<TSenke>("S");
        bau.Weg(q, s);
        Menge(q, 0, 1.5);
        Menge(q, 1, 2.25);
        datei = Speichern(bau, "zwei.TSR");
    }
    EXPECT_EQ(Aufruf({"berechnen", datei}).Aus,
              "Daten OK, Berechnung gestartet\nBerechnung OK\nMax. Strom berechnet : 2.25\n");
    EXPECT_EQ(Aufruf({"berechnen", "--summe", datei}).Aus,
              "Daten OK, Berechnung gestartet\nBerechnung OK\nMax. Strom berechnet : 3.75\n");
}

// Q -> V -> S1, S2 mit zwei Artikeln, Namen mit Komma, Anführungszeichen und Umlaut.
std::string CsvModellSpeichern(const std::string& datei, bool anteileKorrekt) {
    TModellBau bau;
    bau.M().ArtikelListe[0] = "Papier, Pappe";
    bau.M().ArtikelEinfuegen("Eisen \"Fe\" und \xC4" "hnliches");
    auto& q = bau.Knoten<TQuelle>("Anlieferung");
    auto& v = bau.Knoten<TVerzweigung>("Sortierung");
    auto& s1 = bau.Knoten<TSenke>("Ballen");
    auto& s2 = bau.Knoten<TSenke>("Schrott");
    bau.Weg(q, v, "Zufuhr");
    bau.Weg(v, s1, "Band \"A\", links");
    bau.Weg(v, s2, "Gro\xDF" "e Rutsche");
    Menge(q, 0, 12.5);
    Menge(q, 1, 0.75);
    v.Matrix().ZelleSetzen(0, 1, 1, 80);
    v.Matrix().ZelleSetzen(0, 1, 2, 20);
    v.Matrix().ZelleSetzen(1, 1, 2, anteileKorrekt ? 100 : 50);
    DateiSpeichern(bau.M(), datei);
    return datei;
}

TEST_F(Kommandozeile, CsvJeWegMitRfc4180UndUtf8) {
    const std::string datei = CsvModellSpeichern(Pfad("sortierung.TSR"), true);
    const std::string csv = Pfad("stroeme.csv");
    const TErgebnis e = Aufruf({"berechnen", datei, "--csv", csv});
    EXPECT_EQ(e.Rc, 0);
    EXPECT_EQ(e.Fehler, "");
    // Nummern: Modell 0, Knoten 1..4, Wege 5..7; nach dem Laden stehen die Wege
    // wieder in der Reihenfolge, in der sie gezogen wurden.
    EXPECT_EQ(Lesen(csv), "FONr,Name,Start,Startname,Ziel,Zielname,\"Papier, Pappe\",\"Eisen \"\"Fe\"\" und \xC3\x84"
                          "hnliches\"\r\n"
                          "5,Zufuhr,1,Anlieferung,2,Sortierung,12.5,0.75\r\n"
                          "6,\"Band \"\"A\"\", links\",2,Sortierung,3,Ballen,10,0\r\n"
                          "7,Gro\xC3\x9F" "e Rutsche,2,Sortierung,4,Schrott,2.5,0.75\r\n");

    // Deutsch: UTF-8-Marke, ";" zwischen Feldern, "," in Zahlen; gequotet wird, was ";" oder '"' enthält.
    EXPECT_EQ(Aufruf({"berechnen", datei, "--csv", csv, "--csv-format", "deutsch"}).Rc, 0);
    EXPECT_EQ(Lesen(csv), "\xEF\xBB\xBF" "FONr;Name;Start;Startname;Ziel;Zielname;Papier, Pappe;\"Eisen \"\"Fe\"\" und \xC3\x84"
                          "hnliches\"\r\n"
                          "5;Zufuhr;1;Anlieferung;2;Sortierung;12,5;0,75\r\n"
                          "6;\"Band \"\"A\"\", links\";2;Sortierung;3;Ballen;10;0\r\n"
                          "7;Gro\xC3\x9F" "e Rutsche;2;Sortierung;4;Schrott;2,5;0,75\r\n");
    EXPECT_EQ(Aufruf({"berechnen", datei, "--csv", csv, "--csv-format", "standard"}).Rc, 0);
    EXPECT_EQ(Lesen(csv).substr(0, 5), "FONr,");
    const TErgebnis falsch = Aufruf({"berechnen", datei, "--csv", csv, "--csv-format", "excel"});
    EXPECT_EQ(falsch.Rc, 2);
    EXPECT_NE(falsch.Fehler.find("--csv-format"), std::string::npos);
}

TEST_F(Kommandozeile, CsvAuchWennPruefungFehlschlaegt) {
    const std::string datei = CsvModellSpeichern(Pfad("sortierung.TSR"), false);
    const std::string csv = Pfad("stroeme.csv");
    const TErgebnis e = Aufruf({"berechnen", datei, "--csv", csv});
    EXPECT_EQ(e.Rc, 1);
    EXPECT_EQ(e.Aus, "[ Sortierung ]  |Eisen \"Fe\" und \xC3\x84" "hnliches|   1. Eingang  : "
                     "Kolonnensumme ist nicht gleich 100\nMax. Strom berechnet : -1.00\n");
    // Die Zellen, wie sie in der Datei standen: nie berechnet, also 0.
    EXPECT_EQ(Lesen(csv), "FONr,Name,Start,Startname,Ziel,Zielname,\"Papier, Pappe\",\"Eisen \"\"Fe\"\" und \xC3\x84"
                          "hnliches\"\r\n"
                          "5,Zufuhr,1,Anlieferung,2,Sortierung,0,0\r\n"
                          "6,\"Band \"\"A\"\", links\",2,Sortierung,3,Ballen,0,0\r\n"
                          "7,Gro\xC3\x9F" "e Rutsche,2,Sortierung,4,Schrott,0,0\r\n");
}

// -o ersetzt keine schreibgeschützte Datei; ein riesiger Name kommt gekürzt auf stderr.
TEST_F(Kommandozeile, SchreibschutzUndRiesigerName) {
    const std::string datei = CsvModellSpeichern(Pfad("sortierung.TSR"), true);
    const std::string fest = Pfad("fest.TSR");
    {
        std::ofstream(fest) << "alt";
    }
    ASSERT_EQ(::chmod(fest.c_str(), 0444), 0);
    const TErgebnis e = Aufruf({"berechnen", datei, "-o", fest});
    EXPECT_EQ(e.Rc, 2);
    EXPECT_NE(e.Fehler.find("Die Datei fest.TSR ist schreibgesch\xC3\xBCtzt."), std::string::npos) << e.Fehler;
    EXPECT_EQ(Lesen(fest), "alt");

    std::string text = Lesen(datei);
    const size_t name = text.find("Anlieferung");
    ASSERT_NE(name, std::string::npos);
    text.replace(name, 11, std::string(20 << 20, 'N'));
    const size_t ref = text.find("Refpunkt", name);
    text.replace(text.find_first_of("0123456789-", ref), 1, "x");
    const std::string riesig = Pfad("riesig.TSR");
    std::ofstream(riesig, std::ios::binary) << text;
    const TErgebnis r = Aufruf({"pruefen", riesig});
    EXPECT_EQ(r.Rc, 2);
    EXPECT_LT(r.Fehler.size(), 400u) << r.Fehler.substr(0, 400);
    EXPECT_NE(r.Fehler.find(std::string(59, 'N') + "\xE2\x80\xA6 ]"), std::string::npos) << r.Fehler.substr(0, 400);
}

TEST_F(Kommandozeile, CsvNichtSchreibbarGibtZwei) {
    const std::string datei = CsvModellSpeichern(Pfad("sortierung.TSR"), true);
    const TErgebnis e = Aufruf({"berechnen", datei, "--csv", Pfad("gibtsnicht/stroeme.csv")});
    EXPECT_EQ(e.Rc, 2);
    EXPECT_NE(e.Aus.find("Berechnung OK\n"), std::string::npos);
    EXPECT_NE(e.Fehler.find("stroeme.csv"), std::string::npos);
}

TEST_F(Kommandozeile, AusgabeModellLaesstSichWiederLaden) {
    const std::string datei = CsvModellSpeichern(Pfad("sortierung.TSR"), true);
    const std::string ausgabe = Pfad("berechnet.TSR");
    const std::string vorher = Lesen(datei);
    ASSERT_EQ(Aufruf({"berechnen", datei, "-o", ausgabe, "--summe"}).Rc, 0);
    EXPECT_EQ(Lesen(datei), vorher); // die Eingabe bleibt unberührt

    TOeffnenErgebnis o = ModellOeffnen(ausgabe);
    ASSERT_TRUE(o.Modell) << o.Meldung << " " << o.Grund;
    TModell& m = *o.Modell;
    EXPECT_EQ(m.ArtikelListe, (std::vector<std::string>{"Papier, Pappe", "Eisen \"Fe\" und \xC4" "hnliches"}));
    auto* s2 = dynamic_cast<TSenke*>(m.FOListe.Objekt(m.FOListe.Anzahl() - 1));
    ASSERT_NE(s2, nullptr);
    EXPECT_EQ(s2->Name, "Schrott");
    EXPECT_EQ(s2->Matrix().W(0, 1, 0), 2.5);
    EXPECT_EQ(s2->Matrix().W(1, 1, 0), 0.75);
    EXPECT_FALSE(m.SummeAllerArtikel); // nicht gespeichert
    o.Modell.reset();

    // Die berechnete Datei rechnet wieder zum selben Ergebnis.
    const TErgebnis wieder = Aufruf({"berechnen", ausgabe});
    EXPECT_EQ(wieder.Rc, 0);
    EXPECT_EQ(wieder.Aus, "Daten OK, Berechnung gestartet\nBerechnung OK\nMax. Strom berechnet : 12.50\n");
}

TEST_F(Kommandozeile, Hilfe) {
    for (const std::string schalter : {"--help", "-h"}) {
        const TErgebnis e = Aufruf({schalter});
        EXPECT_EQ(e.Rc, 0);
        EXPECT_EQ(e.Fehler, "");
        EXPECT_EQ(e.Aus.rfind("Aufruf:\n", 0), 0U);
        EXPECT_NE(e.Aus.find("tessomir-cli pruefen DATEI"), std::string::npos);
        EXPECT_NE(e.Aus.find("tessomir-cli berechnen DATEI [--summe] [--csv AUSGABE.csv [--csv-format deutsch]]"),
                  std::string::npos);
        EXPECT_NE(e.Aus.find("pr\xC3\xBC" "ft"), std::string::npos); // UTF-8
    }
}

TEST_F(Kommandozeile, FalscheAufrufeGebenZwei) {
    const std::string datei = CsvModellSpeichern(Pfad("m.TSR"), true);
    const std::vector<std::pair<std::vector<std::string>, std::string>> faelle = {
        {{}, "kein Befehl angegeben."},
        {{"rechnen", datei}, "unbekannter Befehl rechnen."},
        {{"pruefen"}, "pruefen erwartet genau eine Datei."},
        {{"pruefen", datei, datei}, "pruefen erwartet genau eine Datei."},
        {{"berechnen"}, "berechnen erwartet eine Datei."},
        {{"berechnen", datei, datei}, "berechnen erwartet genau eine Datei."},
        {{"berechnen", datei, "--csv"}, "--csv erwartet einen Dateinamen."},
        {{"berechnen", datei, "-o"}, "-o erwartet einen Dateinamen."},
        {{"berechnen", datei, "--bunt"}, "unbekannte Option --bunt."},
    };
    for (const auto& [args, text] : faelle) {
        const TErgebnis e = Aufruf(args);
        EXPECT_EQ(e.Rc, 2) << text;
        EXPECT_EQ(e.Aus, "") << text;
        EXPECT_EQ(e.Fehler, "tessomir-cli: " + text + "\nHilfe: tessomir-cli --help\n");
    }
}

// ---------------------------------------------------------------- Beispiele

std::vector<fs::path> Beispiele() {
    std::vector<fs::path> dateien;
    for (const auto& e : fs::directory_iterator(TESSOMIR_BEISPIELE)) {
        std::string endung = e.path().extension().string();
        std::transform(endung.begin(), endung.end(), endung.begin(), [](unsigned char c) { return std::toupper(c); });
        if (e.is_regular_file() && endung == ".TSR") dateien.push_back(e.path());
    }
    std::sort(dateien.begin(), dateien.end());
    return dateien;
}

TEST_F(Kommandozeile, BeispieleRechnenOhneFehler) {
    const auto dateien = Beispiele();
    ASSERT_GE(dateien.size(), 3U);
    EXPECT_NE(std::find(dateien.begin(), dateien.end(), fs::path(TESSOMIR_BEISPIELE) / "Recyclinganlage.TSR"),
              dateien.end());
    for (const auto& datei : dateien) {
        SCOPED_TRACE(datei.filename().string());
        const TErgebnis p = Aufruf({"pruefen", datei.string()});
        EXPECT_EQ(p.Rc, 0);
        EXPECT_EQ(p.Aus, "Daten OK\n");
        for (const bool summe : {false, true}) {
            std::vector<std::string> args{"berechnen", datei.string()};
            if (summe) args.push_back("--summe");
            const TErgebnis e = Aufruf(args);
            EXPECT_EQ(e.Rc, 0);
            EXPECT_EQ(e.Fehler, "");
            EXPECT_EQ(e.Aus.rfind("Daten OK, Berechnung gestartet\nBerechnung OK\nMax. Strom berechnet : ", 0), 0U)
                << e.Aus;
        }
    }
}

TEST_F(Kommandozeile, BeispieleSindSichtbarUndImDateiformat) {
    for (const auto& datei : Beispiele()) {
        SCOPED_TRACE(datei.filename().string());
        const std::string inhalt = Lesen(datei);
        // Jede Zeile endet mit CR LF, es gibt kein UTF-8.
        ASSERT_GE(inhalt.size(), 2U);
        EXPECT_EQ(inhalt.substr(inhalt.size() - 2), "\r\n");
        for (size_t i = 0; i < inhalt.size(); ++i) {
            if (inhalt[i] == '\n') {
                EXPECT_TRUE(i > 0 && inhalt[i - 1] == '\r') << "Zeilenende bei " << i;
            }
            if (inhalt[i] == '\r') {
                EXPECT_TRUE(i + 1 < inhalt.size() && inhalt[i + 1] == '\n') << "Zeilenende bei " << i;
            }
            EXPECT_NE(static_cast<unsigned char>(inhalt[i]), 0xC3U) << "UTF-8 bei " << i;
        }
        TOeffnenErgebnis o = ModellOeffnen(datei.string());
        ASSERT_TRUE(o.Modell) << o.Grund;
        const TModell& m = *o.Modell;
        EXPECT_EQ(m.GeleseneVersion, 3);
        EXPECT_TRUE(m.QuellenBeschr && m.SenkenBeschr && m.VerzweigBeschr && m.WandlerBeschr);
        EXPECT_GE(m.AnzahlArtikel(), 1);
        int knoten = 0;
        for (const auto& obj : m.FOListe.Alle()) {
            if (obj->AlsKnoten() == nullptr) continue;
            ++knoten;
            EXPECT_GE(obj->Refpunkt.X, 0.0) << obj->Name;
            EXPECT_LE(obj->Refpunkt.Y, 0.0) << obj->Name;
        }
        EXPECT_GE(knoten, 4);
        // Zweimal geladen und gespeichert ergibt wieder dieselbe Datei (jedes
        // Laden kehrt die Reihenfolge der Wege um).
        const std::string eins = Pfad("eins.TSR");
        const std::string zwei = Pfad("zwei.TSR");
        DateiSpeichern(*o.Modell, eins);
        o.Modell.reset();
        TOeffnenErgebnis o2 = ModellOeffnen(eins);
        ASSERT_TRUE(o2.Modell) << o2.Grund;
        DateiSpeichern(*o2.Modell, zwei);
        o2.Modell.reset();
        EXPECT_EQ(Lesen(zwei), inhalt);
    }
}

TEST_F(Kommandozeile, DateinamenMitUmlautenErscheinenEinmalUmgewandelt) {
    const TErgebnis e = Aufruf({"pruefen", Pfad("Nicht da \xC3\x84 \xC3\xB6.TSR")});
    EXPECT_EQ(e.Rc, 2);
    EXPECT_EQ(e.Fehler, "Die Datei Nicht da \xC3\x84 \xC3\xB6.TSR kann nicht ge\xC3\xB6" "ffnet werden.\n"
                        "die Datei oder ein Ordner ihres Pfads existiert nicht\n");
}

// ---------------------------------------------------------------- Engpässe und Schlaufen

TEST_F(Kommandozeile, EngpaesseAmBeispielAlsTabelleUndCsv) {
    const std::string anlage = (fs::path(TESSOMIR_BEISPIELE) / "Recyclinganlage.TSR").string();
    const TErgebnis leer = Aufruf({"engpaesse", anlage});
    EXPECT_EQ(leer.Rc, 0);
    EXPECT_EQ(leer.Aus, "Keine Engp\xC3\xA4sse ab 90 % der Kapazit\xC3\xA4t.\n");
    EXPECT_EQ(leer.Fehler, "");

    const TErgebnis e = Aufruf({"engpaesse", anlage, "--schwelle", "57,5"});
    EXPECT_EQ(e.Rc, 0);
    EXPECT_EQ(e.Aus, "Engp\xC3\xA4sse ab 57.5 % der Kapazit\xC3\xA4t: 2\n"
                     "Objekt                Art  Artikel              Strom  Kapazit\xC3\xA4t  Auslastung\n"
                     "[ Schredderaustrag ]  Weg  Summe aller Artikel   39.6       60.0      66.0 %\n"
                     "[ Aufgabeband ]       Weg  Summe aller Artikel   39.6       60.0      66.0 %\n");

    const std::string csv = Pfad("engpaesse.csv");
    const TErgebnis c = Aufruf({"engpaesse", anlage, "--schwelle", "57", "--csv", csv});
    EXPECT_EQ(c.Rc, 0);
    EXPECT_EQ(c.Aus, "");
    EXPECT_EQ(Lesen(csv), "FONr,Objekt,Art,Artikel,Strom,Kapazit\xC3\xA4t,Auslastung\r\n"
                          "17,Schredderaustrag,Weg,Summe aller Artikel,39.6,60,66\r\n"
                          "15,Aufgabeband,Weg,Summe aller Artikel,39.6,60,66\r\n");
}

TEST_F(Kommandozeile, EngpaesseRueckgabewerte) {
    std::string schlecht;
    {
        KetteBau k(42);
        k.V2.Matrix().ZelleSetzen(0, 1, 1, 99);
        schlecht = Speichern(k.Bau, "schlecht.TSR");
    }
    const TErgebnis f = Aufruf({"engpaesse", schlecht});
    EXPECT_EQ(f.Rc, 1);
    EXPECT_EQ(f.Aus, "");
    // Warum die Berechnung scheiterte, steht im Fehlerstrom.
    EXPECT_NE(f.Fehler.find("Kolonnensumme ist nicht gleich 100"), std::string::npos) << f.Fehler;
    EXPECT_EQ(Aufruf({"engpaesse", Pfad("fehlt.TSR")}).Rc, 2);
    EXPECT_EQ(Aufruf({"engpaesse", schlecht, "--schwelle", "-1"}).Rc, 2);
    EXPECT_EQ(Aufruf({"engpaesse", schlecht, "--schwelle"}).Rc, 2);
}

TEST_F(Kommandozeile, BilanzAmBeispielAlsTabelleUndCsvUndRueckgabewerte) {
    const std::string anlage = (fs::path(TESSOMIR_BEISPIELE) / "Recyclinganlage.TSR").string();
    const TErgebnis t = Aufruf({"bilanz", anlage});
    EXPECT_EQ(t.Rc, 0);
    EXPECT_EQ(t.Fehler, "");
    EXPECT_EQ(t.Aus.substr(0, t.Aus.find('\n')), "Objekt                  Art          Artikel        Zulauf  Ablauf  Differenz");
    // Der Wandler schafft Kunststoff aus Verbundstoffen; das Modell zeigt es ebenso.
    EXPECT_NE(t.Aus.find("[ Schredder ]           Wandler      Kunststoff       10.5    12.7        2.2  Umwandlung\n"),
              std::string::npos) << t.Aus;
    EXPECT_NE(t.Aus.find("\nModell                               Verbundstoffe     4.0     0.0       -4.0\n"),
              std::string::npos) << t.Aus;

    const std::string csv = Pfad("bilanz.csv");
    const TErgebnis c = Aufruf({"bilanz", anlage, "--csv", csv});
    EXPECT_EQ(c.Rc, 0);
    EXPECT_EQ(c.Aus, "");
    const std::string text = Lesen(csv);
    EXPECT_EQ(text.substr(0, 88), "FONr,Name,Art,Artikel,Zulauf,Ablauf,Differenz\r\n"
                                  "1,Sammelfahrzeuge,Quelle,Papier,12,12,0\r\n");
    EXPECT_NE(text.find("\r\n,Modell,,Reststoffe,6.5,7.1,0.6\r\n"), std::string::npos) << text;

    std::string schlecht;
    {
        KetteBau k(42);
        k.V2.Matrix().ZelleSetzen(0, 1, 1, 99);
        schlecht = Speichern(k.Bau, "schlecht.TSR");
    }
    const TErgebnis f = Aufruf({"bilanz", schlecht, "--csv", Pfad("nie.csv")});
    EXPECT_EQ(f.Rc, 1);
    EXPECT_EQ(f.Aus, "");
    EXPECT_NE(f.Fehler.find("Kolonnensumme ist nicht gleich 100"), std::string::npos) << f.Fehler;
    EXPECT_FALSE(fs::exists(Pfad("nie.csv")));
    EXPECT_EQ(Aufruf({"bilanz", Pfad("fehlt.TSR")}).Rc, 2);
    EXPECT_EQ(Aufruf({"bilanz", anlage, "--csv"}).Rc, 2);
    EXPECT_EQ(Aufruf({"bilanz", anlage, anlage}).Rc, 2);
}

TEST_F(Kommandozeile, WerteSchreibenEinlesenProbeUndFehler) {
    const std::string anlage = (fs::path(TESSOMIR_BEISPIELE) / "Recyclinganlage.TSR").string();
    const std::string csv = Pfad("werte.csv");
    const std::string deutsch = Pfad("werte_de.csv");
    ASSERT_EQ(Aufruf({"werte", "schreiben", anlage, csv}).Rc, 0);
    ASSERT_EQ(Aufruf({"werte", "schreiben", anlage, deutsch, "--format", "deutsch"}).Rc, 0);
    EXPECT_EQ(Lesen(csv).substr(0, 47), "FONr,Objekt,Art,Groesse,Artikel,Von,Nach,Wert\r\n");
    EXPECT_EQ(Lesen(deutsch).substr(0, 3), "\xEF\xBB\xBF");

    // Unverändert zurück: das gespeicherte Modell gleicht Byte für Byte dem
    // geladenen und ohne Tabelle geschriebenen.
    std::string ohne;
    {
        TAufzeichnung auf;
        TModell m;
        ASSERT_TRUE(DateiLaden(m, anlage));
        TZeilenSchreiber s;
        Schreiben(m, s);
        ohne = s.Text();
    }
    const std::string neu = Pfad("neu.TSR");
    for (const std::string& tabelle : {csv, deutsch}) {
        const TErgebnis e = Aufruf({"werte", "einlesen", anlage, tabelle, "-o", neu});
        EXPECT_EQ(e.Rc, 0) << e.Aus << e.Fehler;
        EXPECT_NE(e.Aus.find(" 0 Werte w\xC3\xBCrden sich \xC3\xA4ndern."), std::string::npos) << e.Aus;
        EXPECT_EQ(Lesen(neu), ohne);
    }

    // Ein geänderter Wert: --probe zählt ihn und schreibt nichts; ohne --probe wird er übernommen.
    std::string text = Lesen(csv);
    const size_t zeile = text.find(",Liefermenge,Papier,,,");
    ASSERT_NE(zeile, std::string::npos);
    text.replace(zeile + 22, text.find('\r', zeile) - zeile - 22, "99.5");
    {
        std::ofstream(Pfad("geaendert.csv"), std::ios::binary) << text;
    }
    const TErgebnis probe = Aufruf({"werte", "einlesen", anlage, Pfad("geaendert.csv"), "--probe"});
    EXPECT_EQ(probe.Rc, 0);
    EXPECT_NE(probe.Aus.find("1 Wert w\xC3\xBCrde sich \xC3\xA4ndern."), std::string::npos) << probe.Aus;
    EXPECT_FALSE(fs::exists(Pfad("probe.TSR")));
    const TErgebnis uebernommen = Aufruf({"werte", "einlesen", anlage, Pfad("geaendert.csv"), "-o", Pfad("geaendert.TSR")});
    ASSERT_EQ(uebernommen.Rc, 0);
    EXPECT_NE(uebernommen.Aus.find("1 Wert \xC3\xBC" "bernommen, gespeichert als geaendert.TSR."), std::string::npos)
        << uebernommen.Aus;
    EXPECT_NE(Lesen(Pfad("geaendert.TSR")).find("99.5"), std::string::npos);

    // Fehler in der Tabelle: Rückgabewert 1, nichts gespeichert.
    {
        std::ofstream(Pfad("falsch.csv"), std::ios::binary) << text << "12345,X,Weg,Kapazitaet,,,,1\r\n";
    }
    const TErgebnis f = Aufruf({"werte", "einlesen", anlage, Pfad("falsch.csv"), "-o", Pfad("nie.TSR")});
    EXPECT_EQ(f.Rc, 1);
    EXPECT_NE(f.Aus.find("Spalte FONr: unbekanntes Objekt #12345"), std::string::npos) << f.Aus;
    EXPECT_FALSE(fs::exists(Pfad("nie.TSR")));
    const TErgebnis kopf = Aufruf({"werte", "einlesen", anlage, anlage + ".csv", "--probe"});
    EXPECT_EQ(kopf.Rc, 2);
    {
        std::ofstream(Pfad("kein.csv"), std::ios::binary) << "a,b\r\n";
    }
    const TErgebnis keine = Aufruf({"werte", "einlesen", anlage, Pfad("kein.csv"), "--probe"});
    EXPECT_EQ(keine.Rc, 2);
    EXPECT_NE(keine.Fehler.find("kann nicht gelesen werden"), std::string::npos) << keine.Fehler;
    EXPECT_EQ(Aufruf({"werte", "einlesen", anlage, csv}).Rc, 2);                  // weder -o noch --probe
    EXPECT_EQ(Aufruf({"werte", "schreiben", anlage, Pfad("w.txt")}).Rc, 2);      // Endung
    EXPECT_EQ(Aufruf({"werte", "schreiben", anlage, csv, "--format", "x"}).Rc, 2);
    EXPECT_EQ(Aufruf({"werte"}).Rc, 2);
}

TEST_F(Kommandozeile, SchlaufenAnBeispielenUndRueckgabewerte) {
    const TErgebnis w = Aufruf({"schlaufen", (fs::path(TESSOMIR_BEISPIELE) / "Wassernetz.TSR").string()});
    EXPECT_EQ(w.Rc, 0);
    EXPECT_EQ(w.Aus, "1 Schlaufe gefunden\n"
                     "Schlaufe 1 (4 Knoten): [ Zulauf Wasserwerk ] -> [ Aufbereitung ] -> [ Filterstufe ] -> "
                     "[ Sp\xC3\xBClwasserbecken ] -> [ Zulauf Wasserwerk ]\n"
                     "  Alle Artikel (ein Wandler mischt sie): Verst\xC3\xA4rkung 0.2 je Umlauf (4 Wege), 0.66874 je "
                     "Durchgang, klingt ab "
                     "(etwa 72 Durchg\xC3\xA4nge, bis sich die Str\xC3\xB6me um weniger als 1e-10 \xC3\xA4ndern)\n");
    const TErgebnis r = Aufruf({"schlaufen", (fs::path(TESSOMIR_BEISPIELE) / "Recyclinganlage.TSR").string()});
    EXPECT_EQ(r.Rc, 0);
    EXPECT_EQ(r.Aus, "Keine Schlaufen: das Netz ist kreisfrei.\n");

    std::string kreis;
    {
        KetteBau k(42);
        k.Bau.Weg(k.V2, k.V1); // V2 gibt alles zurück: Verstärkung 1
        k.V1.Matrix().ZelleSetzen(0, 2, 1, 100);
        k.V2.Matrix().ZelleSetzen(0, 1, 1, 0);
        k.V2.Matrix().ZelleSetzen(0, 1, 2, 100);
        kreis = Speichern(k.Bau, "kreis.TSR");
    }
    const TErgebnis k = Aufruf({"schlaufen", kreis});
    EXPECT_EQ(k.Rc, 1);
    EXPECT_NE(k.Aus.find("Verst\xC3\xA4rkung 1 je Umlauf (2 Wege), 1 je Durchgang, klingt nie ab"), std::string::npos)
        << k.Aus;
    EXPECT_EQ(Aufruf({"schlaufen", Pfad("fehlt.TSR")}).Rc, 2);
    EXPECT_EQ(Aufruf({"schlaufen"}).Rc, 2);
}

} // namespace
} // namespace tessomir

namespace tessomir {
namespace {

TEST_F(Kommandozeile, VergleichenEmpfindlichkeitUndHerkunft) {
    const std::string anlage = (fs::path(TESSOMIR_BEISPIELE) / "Recyclinganlage.TSR").string();
    // Die Variante: 15 statt 12 Papier von den Sammelfahrzeugen, über die Werte-Tabelle.
    const std::string tabelle = Pfad("werte.csv");
    ASSERT_EQ(Aufruf({"werte", "schreiben", anlage, tabelle}).Rc, 0);
    std::string text = Lesen(tabelle);
    const std::string zeile = "1,Sammelfahrzeuge,Quelle,Liefermenge,Papier,,,12\r\n";
    ASSERT_NE(text.find(zeile), std::string::npos);
    text.replace(text.find(zeile), zeile.size(), "1,Sammelfahrzeuge,Quelle,Liefermenge,Papier,,,15\r\n");
    {
        std::ofstream(tabelle, std::ios::binary) << text;
    }
    const std::string variante = Pfad("variante.TSR");
    ASSERT_EQ(Aufruf({"werte", "einlesen", anlage, tabelle, "-o", variante}).Rc, 0);

    const TErgebnis v = Aufruf({"vergleichen", anlage, variante, "--csv", Pfad("v.csv")});
    EXPECT_EQ(v.Rc, 0) << v.Fehler;
    const std::string csv = Lesen(Pfad("v.csv"));
    EXPECT_EQ(csv.substr(0, csv.find('\r')), "FONr,Name,Artikel,StromA,StromB,Differenz,Prozent");
    // Der Weg "Kommunal" trägt die 3 mehr ganz, 25 % seines Papiers.
    EXPECT_NE(csv.find("\r\n13,Kommunal,Papier,12,15,3,25\r\n"), std::string::npos) << csv;
    const TErgebnis t = Aufruf({"vergleichen", anlage, variante, "--summe"});
    EXPECT_EQ(t.Rc, 0);
    const size_t kommunal = t.Aus.find(" Kommunal ");
    ASSERT_NE(kommunal, std::string::npos) << t.Aus;
    const std::string ihre = t.Aus.substr(kommunal, t.Aus.find('\n', kommunal) - kommunal);
    EXPECT_NE(ihre.find(" Summe "), std::string::npos) << ihre;
    EXPECT_EQ(Aufruf({"vergleichen", anlage}).Rc, 2);

    // Empfindlichkeit der Papierballen: die Liefermenge der Sammelfahrzeuge
    // (alles Papier dort kommt aus ihr und der Gewerbeanlieferung) wirkt linear.
    const TErgebnis e = Aufruf({"empfindlichkeit", anlage, "--ziel", "Papierballen", "--artikel", "0", "--csv",
                                Pfad("e.csv")});
    EXPECT_EQ(e.Rc, 0) << e.Fehler;
    const std::string ecsv = Lesen(Pfad("e.csv"));
    EXPECT_EQ(ecsv.substr(0, ecsv.find('\r')), "FONr,Objekt,Groesse,Artikel,Von,Nach,Wert,ZielMinus,ZielPlus,Wirkung");
    EXPECT_EQ(Aufruf({"empfindlichkeit", anlage, "--ziel", "Gibtsnicht"}).Rc, 2);
    EXPECT_EQ(Aufruf({"empfindlichkeit", anlage, "--ziel", "Sammelfahrzeuge"}).Rc, 2); // eine Quelle ist kein Ziel
    EXPECT_EQ(Aufruf({"empfindlichkeit", anlage, "--ziel", "Papierballen", "--prozent", "0"}).Rc, 2);
    const TErgebnis et = Aufruf({"empfindlichkeit", anlage, "--ziel", "Papierballen"});
    EXPECT_EQ(et.Rc, 0);
    EXPECT_EQ(et.Aus.substr(0, et.Aus.find(':')), "Ziel [ Papierballen ], Papier");

    // Herkunft der Papierballen: Anteile der beiden Quellen ergeben 100 %.
    const TErgebnis h = Aufruf({"herkunft", anlage, "--objekt", "Papierballen", "--csv", Pfad("h.csv")});
    EXPECT_EQ(h.Rc, 0) << h.Fehler;
    const std::string hcsv = Lesen(Pfad("h.csv"));
    EXPECT_EQ(hcsv.substr(0, hcsv.find('\r')), "Artikel,QuelleFONr,Quelle,Anteil,Strom");
    EXPECT_NE(hcsv.find("Papier,1,Sammelfahrzeuge,"), std::string::npos) << hcsv;
    const TErgebnis q = Aufruf({"herkunft", anlage, "--objekt", "Sammelfahrzeuge"});
    EXPECT_EQ(q.Rc, 0);
    EXPECT_NE(q.Aus.find("Senke"), std::string::npos) << q.Aus;
    EXPECT_EQ(Aufruf({"herkunft", anlage, "--objekt", "Schredder"}).Rc, 2); // ein Wandler
    EXPECT_EQ(Aufruf({"herkunft", anlage}).Rc, 2);
}

} // namespace
} // namespace tessomir
