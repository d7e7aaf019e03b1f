// Was das Öffnen und Speichern einem Anwender als Grund sagt, und dass
// fremde Dateien jeder Größe sofort und ohne viel Speicher abgewiesen sind.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "TDateiHilfe.h"
#include "gemeinsam/TAufzeichnung.h"
#include "persistence/UModellDatei.h"

namespace tessomir::test {
namespace {

class DateiGruende : public ::testing::Test {
protected:
    TAufzeichnung Platt;
    TTempOrdner Ordner;
    const std::string Beispiel = DateiLesen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR");
    const std::vector<std::string> BeispielZeilen = ZeilenAus(Beispiel);

    std::string MitWert(size_t zeile, const std::string& wert) const {
        auto z = BeispielZeilen;
        WertSetzen(z, zeile, wert);
        return TextAus(z);
    }
};

std::string ZufallsBytes(size_t n) {
    std::mt19937 zufall(7);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(zufall() & 0xFF);
    return s;
}

long HoechsterSpeicherKB() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

TEST_F(DateiGruende, JederGrundSagtWasUndWo) {
    struct TFall {
        const char* Bezeichnung;
        std::function<void(const std::string&)> Anlegen;
        std::string Grund; // genau, oder Anfang mit '*' am Ende
    };
    const auto text = [](std::string inhalt) {
        return [inhalt](const std::string& pfad) { DateiSchreiben(pfad, inhalt); };
    };
    auto geschnitten = BeispielZeilen;
    geschnitten.resize(30);
    const std::vector<TFall> faelle = {
        {"leer", text(""), "die Datei ist leer"},
        {"Nullen", text(std::string(10000, '\0')), "die Datei enth\xE4" "lt keinen Text, sie beginnt mit einem Nullbyte"},
        {"Zufall", text(ZufallsBytes(3 << 20)), "die Datei ist keine Modelldatei (*"},
        {"Textdatei", text("Einkaufsliste\nBrot\nMilch\n"), "die Datei ist keine Modelldatei (*"},
        {"Zahl im Objekt", text(MitWert(31, "abc / 50")), "Zeile 31, Objekt [ TQuelle1 ]: 'abc' ist keine g\xFC" "ltige Zahl"},
        {"Zahl im Kopf", text(MitWert(11, "vier")), "Zeile 11, Kopf des Modells: 'vier' ist keine g\xFC" "ltige ganze Zahl"},
        {"leerer Wert", text(MitWert(32, "")), "Zeile 32, Objekt [ TQuelle1 ]: der Wert fehlt, erwartet ist eine Zahl"},
        {"abgeschnitten", text(TextAus(geschnitten)), "die Datei endet in Zeile 30 mitten im Objekt [ TQuelle1 ]"},
        {"Nullbyte im Kopf", text(Beispiel.substr(0, 200) + std::string(1, '\0') + Beispiel.substr(200)),
         "der Text der Datei endet in Zeile 7 an einem Nullbyte mitten im Kopf des Modells"},
        {"Riesenzeile", text(std::string(3 << 20, 'A')), "Zeile 1 ist l\xE4" "nger als 512 KB; die Datei ist keine Modelldatei"},
        {"Ordner", [](const std::string& p) { std::filesystem::create_directory(p); },
         "der Pfad ist ein Ordner, keine Datei"},
        {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "der Pfad ist eine benannte Pipe (FIFO), keine Datei"},
        {"fehlt", [](const std::string&) {}, "die Datei oder ein Ordner ihres Pfads existiert nicht"},
    };
    int nr = 0;
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.Bezeichnung);
        const std::string pfad = Ordner.Datei("fall" + std::to_string(nr++) + ".TSR");
        fall.Anlegen(pfad);
        const TOeffnenErgebnis e = ModellOeffnen(pfad);
        EXPECT_EQ(e.Modell, nullptr);
        EXPECT_EQ(e.Meldung, "Die Datei " + DateinameOhneOrdner(pfad) + " kann nicht ge\xF6" "ffnet werden.");
        if (fall.Grund.back() == '*') {
            EXPECT_EQ(e.Grund.substr(0, fall.Grund.size() - 1), fall.Grund.substr(0, fall.Grund.size() - 1)) << e.Grund;
        } else {
            EXPECT_EQ(e.Grund, fall.Grund);
        }
    }
    EXPECT_TRUE(Platt.Meldungen.empty());
}

TEST_F(DateiGruende, OhneLeserechtGibtEsEinenDeutschenGrund) {
    if (::geteuid() == 0) GTEST_SKIP() << "root darf jede Datei lesen";
    const std::string pfad = Ordner.Datei("geheim.TSR");
    DateiSchreiben(pfad, Beispiel);
    std::filesystem::permissions(pfad, std::filesystem::perms::none);
    EXPECT_EQ(ModellOeffnen(pfad).Grund, "keine Berechtigung f\xFC" "r die Datei oder ihren Ordner");
}

TEST_F(DateiGruende, GrosseFremdeDateienWerdenNieGanzGelesen) {
    // 1 GB ohne belegte Blöcke: ganz gelesen kostete es 1 GB Speicher.
    struct TFall {
        const char* Bezeichnung;
        std::string Anfang;
    };
    for (const TFall& fall : {TFall{"Nullen", ""}, TFall{"Kopf, dann Nullen", Beispiel.substr(0, 300)},
                              TFall{"Zufall, dann Nullen", ZufallsBytes(1 << 16)}}) {
        SCOPED_TRACE(fall.Bezeichnung);
        const std::string pfad = Ordner.Datei("riesig.TSR");
        DateiSchreiben(pfad, fall.Anfang);
        std::filesystem::resize_file(pfad, uintmax_t{1} << 30);
        const long vorher = HoechsterSpeicherKB();
        const TOeffnenErgebnis e = ModellOeffnen(pfad);
        EXPECT_EQ(e.Modell, nullptr);
        EXPECT_FALSE(e.Grund.empty());
        EXPECT_LT(HoechsterSpeicherKB() - vorher, 50 * 1024);
    }
}

TEST_F(DateiGruende, NamenMitUmlautenUndFremdenZeichen) {
    // Der Pfad bleibt Bytes des Dateisystems; gezeigt wird er in Windows-1252.
    const std::string umlaut = Ordner.Datei("M\xC3\xBCll \xC3\x84.TSR");
    DateiSchreiben(umlaut, Beispiel);
    auto geladen = ModellOeffnen(umlaut);
    ASSERT_NE(geladen.Modell, nullptr) << geladen.Grund;
    EXPECT_EQ(DateinameFuerAnzeige(geladen.Modell->DateiName), "M\xFCll \xC4.TSR");
    const std::string fremd = Ordner.Datei("Pr\xC3\xBC" "fung \xE5\x90\x8D.TSR");
    EXPECT_TRUE(ModellSichern(*geladen.Modell, fremd).Ok);
    EXPECT_EQ(DateiLesen(fremd), Beispiel);
    geladen.Modell.reset();
    EXPECT_EQ(ModellOeffnen(Ordner.Datei("Nicht da \xC3\x84.TSR")).Meldung,
              "Die Datei Nicht da \xC4.TSR kann nicht ge\xF6" "ffnet werden.");
    EXPECT_EQ(ModellOeffnen(Ordner.Datei("\xE5\x90\x8D.TSR")).Meldung, "Die Datei ?.TSR kann nicht ge\xF6" "ffnet werden.");
}

TEST_F(DateiGruende, SpeichernSagtWarumUndLaesstDieAlteDateiStehen) {
    auto geladen = ModellOeffnen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR");
    ASSERT_NE(geladen.Modell, nullptr);
    TModell& m = *geladen.Modell;

    std::filesystem::create_directory(Ordner.Pfad / "Ordner.TSR");
    TSpeichernErgebnis e = ModellSichern(m, Ordner.Datei("Ordner.TSR"));
    EXPECT_FALSE(e.Ok);
    EXPECT_EQ(e.Meldung, "Die Datei Ordner.TSR kann nicht geschrieben werden.");
    EXPECT_EQ(e.Grund, "der Pfad ist ein Ordner, keine Datei");

    const std::string fifo = Ordner.Datei("fifo.TSR");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ModellSichern(m, fifo).Grund, "der Pfad ist eine benannte Pipe (FIFO), keine Datei");
    EXPECT_EQ(ModellSichern(m, Ordner.Datei("fehlt/x.TSR")).Grund,
              "die Datei oder ein Ordner ihres Pfads existiert nicht");

    // Eine Verknüpfung bleibt eine Verknüpfung; ersetzt wird ihr Ziel.
    const std::string echt = Ordner.Datei("echt.TSR");
    DateiSchreiben(echt, "alt");
    std::filesystem::create_symlink(echt, Ordner.Pfad / "verweis.TSR");
    EXPECT_TRUE(ModellSichern(m, Ordner.Datei("verweis.TSR")).Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(Ordner.Pfad / "verweis.TSR"));
    EXPECT_EQ(DateiLesen(echt), Beispiel);
}

// Ein Name von zehn Megabyte erscheint im Grund gekürzt, nicht ganz.
TEST_F(DateiGruende, RiesigerNameErscheintGekuerzt) {
    auto z = BeispielZeilen;
    WertSetzen(z, 30, std::string(10 << 20, 'A'));
    WertSetzen(z, 31, "abc / 50");
    const std::string datei = Ordner.Datei("riesig.TSR");
    DateiSchreiben(datei, TextAus(z));
    const TOeffnenErgebnis e = ModellOeffnen(datei);
    ASSERT_EQ(e.Modell, nullptr);
    EXPECT_EQ(e.Grund, "Zeile 31, Objekt [ " + std::string(59, 'A') + "\x85 ]: 'abc' ist keine g\xFCltige Zahl");
    // Auch ein langer Dateiname bleibt lesbar.
    EXPECT_EQ(DateinameFuerAnzeige("/x/" + std::string(200, 'b') + ".TSR"), std::string(59, 'b') + "\x85");
}

// Schreibschutz gilt auch dort, wo der Ordner das Ersetzen erlaubte, und auch für root.
TEST_F(DateiGruende, SchreibgeschuetzteDateiBleibtUnveraendert) {
    auto geladen = ModellOeffnen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR");
    ASSERT_NE(geladen.Modell, nullptr);
    const std::string ziel = Ordner.Datei("fest.TSR");
    DateiSchreiben(ziel, "alt");
    ASSERT_EQ(::chmod(ziel.c_str(), 0444), 0);
    const TSpeichernErgebnis e = ModellSichern(*geladen.Modell, ziel);
    EXPECT_FALSE(e.Ok);
    EXPECT_EQ(e.Meldung, "Die Datei fest.TSR ist schreibgesch\xFCtzt.");
    EXPECT_EQ(DateiLesen(ziel), "alt");
    EXPECT_EQ(Ordner.Eintraege(), std::vector<std::string>{"fest.TSR"});
}

// Mehrere Namen derselben Datei zeigen nach dem Speichern alle das neue Modell;
// vorher angelegte Hilfsdateien und Verknüpfungen anderer bleiben unberührt.
TEST_F(DateiGruende, HarteVerknuepfungenUndFremdeHilfsdateien) {
    auto geladen = ModellOeffnen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR");
    ASSERT_NE(geladen.Modell, nullptr);
    TModell& m = *geladen.Modell;
    const std::string a = Ordner.Datei("a.TSR"), b = Ordner.Datei("b.TSR");
    DateiSchreiben(a, "alt");
    ASSERT_EQ(::chmod(a.c_str(), 0640), 0);
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    struct stat vorher {};
    ASSERT_EQ(::stat(a.c_str(), &vorher), 0);
    ASSERT_TRUE(ModellSichern(m, a).Ok);
    struct stat nachher {};
    ASSERT_EQ(::stat(b.c_str(), &nachher), 0);
    EXPECT_EQ(nachher.st_ino, vorher.st_ino);
    EXPECT_EQ(nachher.st_nlink, 2u);
    EXPECT_EQ(nachher.st_mode & 07777, 0640u);
    EXPECT_EQ(DateiLesen(b), Beispiel);
    EXPECT_EQ(Ordner.Eintraege(), (std::vector<std::string>{"a.TSR", "b.TSR"})); // keine Sicherung übrig

    // Wer den alten Namen der Hilfsdatei vorher anlegt oder als Verknüpfung auf
    // eine fremde Datei setzt, bekommt nichts ab und hält nichts auf.
    const std::string c = Ordner.Datei("c.TSR"), fremd = Ordner.Datei("fremd");
    DateiSchreiben(Ordner.Datei("c.TSR.~tsr"), "belegt");
    DateiSchreiben(fremd, "fremd");
    std::filesystem::create_symlink(fremd, Ordner.Pfad / "c.TSR.~tsrXXXXXX");
    ASSERT_TRUE(ModellSichern(m, c).Ok);
    EXPECT_EQ(DateiLesen(c), Beispiel);
    EXPECT_EQ(DateiLesen(Ordner.Datei("c.TSR.~tsr")), "belegt");
    EXPECT_EQ(DateiLesen(fremd), "fremd");
    EXPECT_EQ(Ordner.Eintraege().size(), 6u); // a, b, c, c.~tsr, c.~tsrXXXXXX, fremd

    // Eine neue Datei bekommt die Rechte, die open(2) unter der umask gäbe.
    const mode_t maske = ::umask(027);
    ASSERT_TRUE(ModellSichern(m, Ordner.Datei("neu.TSR")).Ok);
    ::umask(maske);
    struct stat neu {};
    ASSERT_EQ(::stat(Ordner.Datei("neu.TSR").c_str(), &neu), 0);
    EXPECT_EQ(neu.st_mode & 07777, 0640u);
}

TEST_F(DateiGruende, VollerDatentraeger) {
    // Ein kleines tmpfs geht nur als root und wo das Einhängen erlaubt ist.
    const std::filesystem::path klein = Ordner.Pfad / "klein";
    std::filesystem::create_directory(klein);
    if (::geteuid() != 0 || ::mount("tmpfs", klein.c_str(), "tmpfs", 0, "size=8k") != 0) {
        GTEST_SKIP() << "kein kleines Dateisystem einh\xC3\xA4ngbar";
    }
    auto geladen = ModellOeffnen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR");
    ASSERT_NE(geladen.Modell, nullptr);
    const std::string ziel = (klein / "modell.TSR").string();
    DateiSchreiben(ziel, "alt");
    std::string gross(64 * 1024, 'x');
    const TSpeichernErgebnis e = DateiSichern(ziel, gross);
    const std::string danach = DateiLesen(ziel);
    const size_t eintraege = static_cast<size_t>(std::distance(std::filesystem::directory_iterator(klein), {}));
    ::umount(klein.c_str());
    EXPECT_FALSE(e.Ok);
    EXPECT_EQ(e.Grund, "der Datentr\xE4" "ger ist voll");
    EXPECT_EQ(danach, "alt");
    EXPECT_EQ(eintraege, 1u);
}

} // namespace
} // namespace tessomir::test
