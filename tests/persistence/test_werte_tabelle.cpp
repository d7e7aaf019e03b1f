// Die Werte-Tabelle: Zeilen je Eingabewert, beide CSV-Formen hin und zurück
// ohne Änderung, geänderte Werte, jeder Grund des Probelaufs, Zahlen je Form.
#include <gtest/gtest.h>

#include <algorithm>

#include "gemeinsam/TModellBau.h"
#include "model/UZeilen.h"
#include "persistence/UModellDatei.h"
#include "persistence/UWerteTabelle.h"

namespace tessomir {
namespace {

using test::Anteile;
using test::Menge;
using test::TModellBau;

std::string Text(const TModell& m) {
    TZeilenSchreiber aus;
    Schreiben(m, aus);
    return aus.Text();
}

// Der Probelauf über die abgelegte Tabelle und der beim Lesen geben dasselbe.
TWertePruefung Pruefen(const TModell& m, const std::string& csv) {
    const TWertePruefung abgelegt = WertePruefen(m, CsvTabelleLesen(csv));
    const TWertePruefung gelesen = CsvWertePruefen(m, csv);
    EXPECT_EQ(PruefungsZeilen(abgelegt), PruefungsZeilen(gelesen));
    EXPECT_EQ(abgelegt.Aenderungen.size(), gelesen.Aenderungen.size());
    for (size_t i = 0; i < std::min(abgelegt.Aenderungen.size(), gelesen.Aenderungen.size()); ++i) {
        EXPECT_EQ(abgelegt.Aenderungen[i].Ort, gelesen.Aenderungen[i].Ort);
        EXPECT_EQ(abgelegt.Aenderungen[i].Neu, gelesen.Aenderungen[i].Neu);
    }
    return gelesen;
}

// Quelle -> Verzweigung (zwei Ausgänge) -> Wandler -> Senke, und eine zweite Senke.
struct TNetz {
    TModellBau Bau;
    TModellBau::TVerteilung V = Bau.Verteilung("Quelle; \"A\"", "Teiler", "S1", "S2");
    TWandler& W = Bau.Knoten<TWandler>("Presse");
    TSenke& S3 = Bau.Knoten<TSenke>("S3");
    TNetz() {
        Bau.M().ArtikelEinfuegen("Gr\xFCn");
        V.S1.Name = "S1";
        Menge(V.Q, 0, 12.5);
        Menge(V.Q, 1, 0.1);
        Anteile(V.V, 0, 1, {60, 40});
        Anteile(V.V, 1, 1, {100, 0});
        V.Aus1.Name = "Band, oben";
        V.V.Kapazitaet = 80;
        Bau.Weg(V.S2, W); // eine Senke hat keinen Ausgang: der Weg hängt nur am Wandler
        Bau.Weg(W, S3);
        W.Matrix().W(0, 1, 1) = 2.0;
        W.Matrix().W(1, 1, 1) = 0.25;
    }
    // Die Tabelle, geschrieben und wieder gelesen.
    TGeleseneTabelle Tabelle(TTabellenform form) { return CsvTabelleLesen(WerteAlsCsv(Bau.M(), form)); }
};

TEST(WerteTabelle, EineZeileJeWertInListenfolge) {
    TNetz n;
    const std::vector<TWertZeile> z = WerteZeilen(n.Bau.M());
    std::vector<std::string> arten;
    for (const TWertZeile& r : z) arten.push_back(r.Groesse + "|" + r.Artikel + "|" + r.Von + "|" + r.Nach);
    // Wege stehen vorn in der Liste (nur Kapazität), dann die Knoten.
    size_t i = 0;
    while (i < z.size() && z[i].Art == "Weg") EXPECT_EQ(z[i++].Groesse, "Kapazitaet");
    EXPECT_EQ(i, 5U);
    const std::string ein = n.V.Ein.Name + " #" + std::to_string(n.V.Ein.FONr);
    const std::string oben = "Band, oben #" + std::to_string(n.V.Aus1.FONr);
    EXPECT_EQ(std::vector<std::string>(arten.begin() + 5, arten.end()),
              (std::vector<std::string>{"Liefermenge|Artikel1||", "Liefermenge|Gr\xFCn||", "Kapazitaet|||",
                                        "Anteil|Artikel1|" + ein + "|" + oben,
                                        "Anteil|Artikel1|" + ein + "|" + WegBezeichnung(n.V.Aus2),
                                        "Anteil|Gr\xFCn|" + ein + "|" + oben,
                                        "Anteil|Gr\xFCn|" + ein + "|" + WegBezeichnung(n.V.Aus2),
                                        "Faktor|Artikel1|Artikel1|", "Faktor|Artikel1|Gr\xFCn|",
                                        "Faktor|Gr\xFCn|Artikel1|", "Faktor|Gr\xFCn|Gr\xFCn|"}));
    EXPECT_EQ(z[5].Wert, 12.5);
    EXPECT_EQ(z[7].Wert, 80);
    EXPECT_EQ(z[9].Wert, 40);
    EXPECT_EQ(z[12].Wert, 2);
    EXPECT_EQ(z[14].Wert, 0.25); // Grün aus Artikel1
    // Die Kopfzeile und Felder mit Trennern in beiden Formen.
    const std::string standard = WerteAlsCsv(n.Bau.M(), TTabellenform::Standard);
    EXPECT_EQ(standard.substr(0, standard.find('\r')), "FONr,Objekt,Art,Groesse,Artikel,Von,Nach,Wert");
    EXPECT_NE(standard.find(",\"Quelle; \"\"A\"\"\",Quelle,Liefermenge,Artikel1,,,12.5\r\n"), std::string::npos);
    const std::string deutsch = WerteAlsCsv(n.Bau.M(), TTabellenform::Deutsch);
    EXPECT_EQ(deutsch.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(deutsch.find(";\"Quelle; \"\"A\"\"\";Quelle;Liefermenge;Artikel1;;;12,5\r\n"), std::string::npos);
    EXPECT_NE(deutsch.find(";Band, oben #"), std::string::npos);
}

TEST(WerteTabelle, UnveraendertZurueckGelesenAendertNichts) {
    for (const TTabellenform form : {TTabellenform::Standard, TTabellenform::Deutsch}) {
        TNetz n;
        // Werte, die in 15 Stellen geschrieben nicht genau zurückkommen.
        Menge(n.V.Q, 0, 1.0 / 3.0);
        n.V.Ein.Kapazitaet = 2.0 / 3.0;
        // Ein Modell darf Anteile ausserhalb 0..100 und Spalten ohne 100 % halten.
        Anteile(n.V.V, 1, 1, {150, 0});
        const std::string vorher = Text(n.Bau.M());
        EXPECT_EQ(n.Tabelle(form).Form, form);
        const TWertePruefung p = Pruefen(n.Bau.M(), WerteAlsCsv(n.Bau.M(), form));
        EXPECT_TRUE(p.Probleme.empty()) << PruefungsZeilen(p).front();
        EXPECT_TRUE(p.Aenderungen.empty());
        EXPECT_EQ(p.Zeilen, WerteZeilen(n.Bau.M()).size());
        WerteSetzen(n.Bau.M(), p.Aenderungen, true);
        EXPECT_EQ(Text(n.Bau.M()), vorher);
        EXPECT_EQ(PruefungsZeilen(p).back(), std::to_string(p.Zeilen) + " Zeilen gelesen, 0 Werte w\xFCrden sich \xE4ndern.");
    }
}

// Ersetzt den Wert der Zeile, die 'merkmal' enthält (Standardform).
std::string Ersetzt(std::string csv, const std::string& merkmal, const std::string& wert) {
    const size_t a = csv.find(merkmal);
    const size_t komma = csv.rfind(',', csv.find('\r', a));
    const size_t ende = csv.find('\r', a);
    return csv.replace(komma + 1, ende - komma - 1, wert);
}

TEST(WerteTabelle, GeaenderteWerteUndRueckgaengig) {
    TNetz n;
    const std::string vorher = Text(n.Bau.M());
    std::string csv = WerteAlsCsv(n.Bau.M(), TTabellenform::Standard);
    csv = Ersetzt(csv, "Liefermenge,Gr\xC3\xBCn", "7");
    // Eine Kolonne, die wieder 100 % ergibt: beide Anteile geändert.
    csv = Ersetzt(csv, "Artikel1," + WegBezeichnung(n.V.Ein) + ",\"Band, oben #" + std::to_string(n.V.Aus1.FONr), "55");
    csv = Ersetzt(csv, "Artikel1," + WegBezeichnung(n.V.Ein) + "," + WegBezeichnung(n.V.Aus2), "45");
    csv = Ersetzt(csv, "Teiler,Verzweigung,Kapazitaet", "90.5");
    csv = Ersetzt(csv, "Faktor,Artikel1,Artikel1", "3");
    const TWertePruefung p = Pruefen(n.Bau.M(), csv);
    ASSERT_TRUE(p.Probleme.empty()) << PruefungsZeilen(p).front();
    EXPECT_EQ(p.Aenderungen.size(), 5U);
    WerteSetzen(n.Bau.M(), p.Aenderungen, true);
    EXPECT_EQ(n.V.Q.Matrix().W(1, 0, 1), 7);
    EXPECT_EQ(n.V.V.Matrix().W(0, 1, 1), 55);
    EXPECT_EQ(n.V.V.Matrix().W(0, 1, 2), 45);
    EXPECT_EQ(n.V.V.Kapazitaet, 90.5);
    EXPECT_EQ(n.W.Matrix().W(0, 1, 1), 3);
    WerteSetzen(n.Bau.M(), p.Aenderungen, false);
    EXPECT_EQ(Text(n.Bau.M()), vorher);
}

TEST(WerteTabelle, ProbelaufNenntJedenGrund) {
    TNetz n;
    std::string csv = WerteAlsCsv(n.Bau.M(), TTabellenform::Standard);
    const std::string q = std::to_string(n.V.Q.FONr);
    csv += "999,X,Quelle,Liefermenge,Artikel1,,,1\r\n";                        // unbekannt
    csv += q + ",Andere,Quelle,Liefermenge,Artikel1,,,1\r\n";                   // Name falsch
    csv += q + ",\"Quelle; \"\"A\"\"\",Quelle,Liefermenge,Artikel1,,,12.5\r\n"; // doppelt
    csv += q + ",\"Quelle; \"\"A\"\"\",Quelle,Menge,Artikel1,,,1\r\n";          // keine solche Größe
    csv += q + ",\"Quelle; \"\"A\"\"\",Quelle,Liefermenge,Artikel1,,\r\n";      // sieben Spalten
    csv = Ersetzt(csv, "Liefermenge,Gr\xC3\xBCn", "viel");
    csv = Ersetzt(csv, "Artikel1," + WegBezeichnung(n.V.Ein) + "," + WegBezeichnung(n.V.Aus2), "140");
    csv = Ersetzt(csv, "Gr\xC3\xBCn," + WegBezeichnung(n.V.Ein) + "," + WegBezeichnung(n.V.Aus2), "30");
    const TWertePruefung p = Pruefen(n.Bau.M(), csv);
    std::string alle;
    for (const std::string& z : PruefungsZeilen(p)) alle += z + "\n";
    for (const char* grund : {"Spalte Wert: keine Zahl: viel", "Spalte Wert: ein Anteil liegt zwischen 0 und 100, nicht 140",
                              "Spalte FONr: unbekanntes Objekt #999", "Spalte Objekt: der Name passt nicht zur Nummer",
                              "die Zeile steht doppelt (zuerst in Zeile", "Spalte Groesse: kein solcher Wert",
                              "7 statt 8 Spalten", "ergeben 130 statt 100 %"})
        EXPECT_NE(alle.find(grund), std::string::npos) << grund << "\n" << alle;
    EXPECT_EQ(p.Probleme.size(), 8U) << alle;
    // Der geänderte Grün-Anteil zählt als Änderung, die Kolonne scheitert trotzdem,
    // gemeldet an seiner Zeile (nicht an der unveränderten davor).
    EXPECT_NE(alle.find("1 Wert w\xFCrde sich \xE4ndern, 8 Fehler."), std::string::npos) << alle;
    const std::string gruen = "Gr\xC3\xBCn," + WegBezeichnung(n.V.Ein) + "," + WegBezeichnung(n.V.Aus2);
    const size_t zeile = 1 + static_cast<size_t>(std::count(csv.begin(), csv.begin() + csv.find(gruen), '\n'));
    EXPECT_NE(alle.find("Zeile " + std::to_string(zeile) + ", Spalte Wert: die Anteile"), std::string::npos) << alle;
}

TEST(WerteTabelle, WegeNurMitIhrerGenauenBezeichnung) {
    TNetz n;
    const std::string csv = WerteAlsCsv(n.Bau.M(), TTabellenform::Standard);
    const std::string aus2 = WegBezeichnung(n.V.Aus2);
    const std::string nr = std::to_string(n.V.Aus2.FONr);
    // Führende Null, fremde Nummer, fehlendes "#": keine solche Stelle.
    for (const std::string& falsch : {n.V.Aus2.Name + " #0" + nr, n.V.Aus2.Name + " #" + nr + "0", n.V.Aus2.Name + " " + nr}) {
        std::string t = csv;
        for (size_t a = t.find("," + aus2 + ","); a != std::string::npos; a = t.find("," + aus2 + ",", a + 1))
            t.replace(a + 1, aus2.size(), falsch);
        const TWertePruefung p = Pruefen(n.Bau.M(), t);
        ASSERT_EQ(p.Probleme.size(), 2U) << falsch;
        EXPECT_NE(p.Probleme[0].Grund.find("kein solcher Wert"), std::string::npos);
    }
    // Nur CR als Zeilenende, Zeilen in anderer Folge: dieselben Stellen.
    std::string cr = csv;
    cr.erase(std::remove(cr.begin(), cr.end(), '\n'), cr.end());
    std::vector<std::string> zeilen;
    for (size_t a = cr.find('\r') + 1, b; a < cr.size(); a = b + 1) zeilen.push_back(cr.substr(a, (b = cr.find('\r', a)) - a));
    std::reverse(zeilen.begin(), zeilen.end());
    std::string rueckwaerts = cr.substr(0, cr.find('\r') + 1);
    for (const std::string& z : zeilen) rueckwaerts += z + "\r";
    const TWertePruefung p = Pruefen(n.Bau.M(), Ersetzt(rueckwaerts, "Faktor,Artikel1,Artikel1", "4"));
    EXPECT_TRUE(p.Probleme.empty()) << PruefungsZeilen(p).front();
    ASSERT_EQ(p.Aenderungen.size(), 1U);
    EXPECT_EQ(p.Aenderungen[0].Neu, 4);
}

TEST(WerteTabelle, ZahlenJeForm) {
    using F = TTabellenform;
    const auto wert = [](const char* t, F f, bool beide = false) { return TabellenzahlLesen(t, f, beide).Wert; };
    EXPECT_EQ(wert("1.5", F::Standard), 1.5);
    EXPECT_EQ(wert(" -2e3 ", F::Standard), -2000);
    EXPECT_FALSE(wert("1,5", F::Standard));
    EXPECT_FALSE(wert("1 234", F::Standard));
    EXPECT_EQ(wert("1,5", F::Deutsch), 1.5);
    EXPECT_EQ(wert("1 234,5", F::Deutsch), 1234.5);
    EXPECT_EQ(wert("1.234,5", F::Deutsch), 1234.5);
    EXPECT_EQ(wert("-1.234.567,25", F::Deutsch), -1234567.25);
    EXPECT_EQ(wert("1.5", F::Deutsch), 1.5);
    EXPECT_EQ(wert("12", F::Deutsch), 12);
    EXPECT_FALSE(wert("1.234", F::Deutsch));
    EXPECT_EQ(TabellenzahlLesen("1.234", F::Deutsch).Grund, "mehrdeutig: 1.234 (Tausender oder Dezimalpunkt?)");
    EXPECT_FALSE(wert("1.23,5", F::Deutsch));
    EXPECT_FALSE(wert("1,2,3", F::Deutsch));
    EXPECT_FALSE(wert("", F::Deutsch));
    EXPECT_FALSE(wert("nan", F::Standard));
    // Als Text gespeicherte Zahlen einer Tabellenkalkulation: beide Schreibweisen, wo eindeutig.
    EXPECT_EQ(wert("1,5", F::Standard, true), 1.5);
    EXPECT_EQ(wert("1.5", F::Standard, true), 1.5);
    EXPECT_FALSE(wert("1.234", F::Standard, true));
}

TEST(WerteTabelle, KeineWerteTabelle) {
    EXPECT_THROW(CsvTabelleLesen("a,b,c\r\n1,2,3\r\n"), EModellErzeugen);
    EXPECT_THROW(CsvTabelleLesen(""), EModellErzeugen);
    EXPECT_THROW(CsvTabelleLesen("FONr,Objekt,Art,Groesse,Artikel,Von,Nach,Wert\r\n1,\"offen"), EModellErzeugen);
    EXPECT_THROW(CsvWertePruefen(TModell(), "FONr;Objekt\r\n"), EModellErzeugen);
    // Zeilenenden im Feld, LF statt CRLF und eine Leerzeile am Ende.
    const TGeleseneTabelle t =
        CsvTabelleLesen("FONr,Objekt,Art,Groesse,Artikel,Von,Nach,Wert\n1,\"zwei\nZeilen\",Weg,Kapazitaet,,,,5\n\n3,x\n");
    ASSERT_EQ(t.Anzahl(), 2U);
    EXPECT_EQ(t.Feld(0, 1), "zwei\nZeilen");
    EXPECT_EQ(t.Dateizeilen, (std::vector<size_t>{2, 5}));
}

} // namespace
} // namespace tessomir
