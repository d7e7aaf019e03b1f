#include "cli/UKommandozeile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <ostream>
#include <sstream>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "analysis/UEngpaesse.h"
#include "analysis/USchlaufen.h"
#include "cli/UBefehlshilfe.h"
#include "cli/UKonsolenPlattform.h"
#include "cli/UStudien.h"
#include "model/UKnoten.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "persistence/UModellDatei.h"
#include "persistence/UDatei.h"
#include "persistence/UStromCsv.h"
#include "persistence/UWerteTabelle.h"
#include "persistence/UWerteXlsx.h"

namespace tessomir {
namespace {

constexpr const char* Hilfetext =
    "Aufruf:\n"
    "  tessomir-cli pruefen DATEI\n"
    "      Liest das Modell und pr\xC3\xBC" "ft es. Ausgabe: die Protokollzeilen,\n"
    "      bei Erfolg zuletzt \"Daten OK\".\n"
    "  tessomir-cli berechnen DATEI [--summe] [--csv AUSGABE.csv [--csv-format deutsch]]\n"
    "                       [-o AUSGABE.TSR]\n"
    "      Pr\xC3\xBC" "ft und berechnet das Modell (wie \"Neuberechnen\"). Ausgabe: die\n"
    "      Protokollzeilen, dann \"Max. Strom berechnet : \" mit dem gr\xC3\xB6\xC3\x9F" "ten Strom.\n"
    "      --summe  Str\xC3\xB6" "me als Summe aller Artikel\n"
    "      --csv    schreibt je Weg eine Zeile mit Start- und Zielknoten (Nummer und\n"
    "               Name) und den Str\xC3\xB6" "men je Artikel\n"
    "      --csv-format deutsch  \";\" zwischen Feldern und \",\" in Zahlen, wie eine\n"
    "               deutsche Tabellenkalkulation sie liest (Vorgabe: standard, \",\" und \".\")\n"
    "      -o       speichert das berechnete Modell\n"
    "  tessomir-cli exportieren DATEI BILD [--berechnen] [--summe] [--artikel N] [--zoom F]\n"
    "                            [--sankey [--breite PUNKTE] [--massstab MENGE_JE_PUNKT]]\n"
    "      Zeichnet das Diagramm in BILD (.png, .svg oder .pdf).\n"
    "      --berechnen  vorher berechnen (wie \"Neuberechnen\")\n"
    "      --summe      Str\xC3\xB6" "me als Summe aller Artikel\n"
    "      --artikel N  zeigt Artikel N (ab 0)\n"
    "      --zoom F     Massstab (Bildpunkte je Modelleinheit)\n"
    "      --sankey     jeder Weg als Band so breit wie sein Strom, mit Legende\n"
    "      --breite     Breite des gr\xC3\xB6ssten Stroms in Bildpunkten (Vorgabe 40)\n"
    "      --massstab   fester Massstab: 1 Bildpunkt = so viele Mengeneinheiten\n"
    "  tessomir-cli engpaesse DATEI [--schwelle PROZENT] [--csv AUSGABE.csv]\n"
    "      Berechnet das Modell und listet jeden Weg und jede Verzweigung, deren Strom\n"
    "      mindestens PROZENT (Vorgabe 90) ihrer Kapazit\xC3\xA4t erreicht, je Artikel und\n"
    "      als Summe, h\xC3\xB6" "chste Auslastung zuerst. Leere Liste: R\xC3\xBC" "ckgabewert 0.\n"
    "      --csv    schreibt die Liste als CSV statt sie auszugeben\n"
    "  tessomir-cli bilanz DATEI [--csv AUSGABE.csv]\n"
    "      Berechnet das Modell und zeigt je Knoten und Artikel Zulauf, Ablauf und\n"
    "      Differenz (beim Wandler die Umwandlung), dann je Artikel, was alle Quellen\n"
    "      liefern und alle Senken aufnehmen. R\xC3\xBC" "ckgabewert 1, wenn die Berechnung\n"
    "      scheitert.\n"
    "      --csv    schreibt die Bilanz als CSV statt sie auszugeben\n"
    "  tessomir-cli werte schreiben MODELL TABELLE.(csv|xlsx) [--format deutsch] [--berechnen]\n"
    "      Schreibt jeden Eingabewert (Liefermengen, Anteile, Faktoren, Kapazit\xC3\xA4ten)\n"
    "      als eine Zeile: FONr,Objekt,Art,Groesse,Artikel,Von,Nach,Wert.\n"
    "      --format deutsch  CSV mit \";\" zwischen Feldern und \",\" in Zahlen\n"
    "      --berechnen       XLSX: berechnet vorher und schreibt das Blatt \"Stroeme\"\n"
    "  tessomir-cli werte einlesen MODELL TABELLE.(csv|xlsx) -o NEU.TSR [--probe]\n"
    "      Pr\xC3\xBC" "ft jede Zeile gegen das Modell und nennt jedes Problem mit Zeile,\n"
    "      Spalte und Grund, dazu wie viele Werte sich \xC3\xA4ndern w\xC3\xBCrden. Ohne Fehler\n"
    "      und ohne --probe werden die Werte \xC3\xBC" "bernommen und in NEU.TSR gespeichert.\n"
    "      R\xC3\xBC" "ckgabewert 1 bei Fehlern in der Tabelle (dann wird nichts gespeichert).\n"
    "  tessomir-cli vergleichen A.TSR B.TSR [--csv AUSGABE.csv] [--summe]\n"
    "      Berechnet beide Modelle und zeigt je Weg und Verzweigung und je Artikel\n"
    "      (--summe: in der Summe) beide Str\xC3\xB6me und die Differenz B - A, dazu\n"
    "      Objekte, die es nur in einem gibt. R\xC3\xBC" "ckgabewert 1, wenn eine Berechnung\n"
    "      scheitert.\n"
    "  tessomir-cli empfindlichkeit DATEI --ziel NAME [--prozent 10] [--artikel N | --summe]\n"
    "                            [--csv AUSGABE.csv]\n"
    "      Senkt und hebt jede Liefermenge, jeden Anteil und jeden Faktor einzeln um\n"
    "      PROZENT und zeigt, was das Ziel (Weg, Verzweigung oder Senke, auch #Nr)\n"
    "      dabei tut, gr\xC3\xB6sste Wirkung zuerst.\n"
    "  tessomir-cli herkunft DATEI --objekt NAME [--csv AUSGABE.csv]\n"
    "      Je Artikel, welcher Anteil des Stroms von welcher Quelle kommt; f\xC3\xBCr eine\n"
    "      Quelle, wo ihre Str\xC3\xB6me enden. R\xC3\xBC" "ckgabewert 1, wenn die Berechnung\n"
    "      nicht zur Ruhe kommt.\n"
    "  tessomir-cli schlaufen DATEI\n"
    "      Zeigt die Schlaufen des Netzes mit ihrer Verst\xC3\xA4rkung je Umlauf und je\n"
    "      Durchgang und ob sie abklingen. R\xC3\xBC" "ckgabewert 1, wenn eine Schlaufe\n"
    "      nicht abklingt.\n"
    "  tessomir-cli --help\n"
    "\n"
    "Ausgaben sind UTF-8. R\xC3\xBC" "ckgabewert: 0 in Ordnung, 1 Pr\xC3\xBC" "fung oder Berechnung\n"
    "fehlerhaft, 2 Datei kann nicht ge\xC3\xB6" "ffnet oder geschrieben werden, falscher Aufruf.\n";

int Pruefen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    if (arg.size() != 2) return Aufruffehler("pruefen erwartet genau eine Datei.", fehler);
    TKonsolenPlattform plattform(aus, fehler);
    auto modell = Oeffnen(arg[1], fehler);
    if (!modell) return 2;
    if (ModellPruefen(*modell)) return 0;
    Plattform().Meldungen->Fehler(PruefFehlerMeldung);
    return 1;
}

int Berechnen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::string datei, csv, ausgabe;
    bool summe = false;
    TCsvFormat format = TCsvFormat::Standard;
    for (size_t i = 1; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--summe") {
            summe = true;
        } else if (a == "--csv-format") {
            const std::string wert = i + 1 < arg.size() ? arg[++i] : std::string();
            if (wert == "deutsch") format = TCsvFormat::Deutsch;
            else if (wert == "standard") format = TCsvFormat::Standard;
            else return Aufruffehler("--csv-format erwartet deutsch oder standard.", fehler);
        } else if (a == "--csv" || a == "-o") {
            if (i + 1 >= arg.size()) return Aufruffehler(a + " erwartet einen Dateinamen.", fehler);
            (a == "--csv" ? csv : ausgabe) = arg[++i];
        } else if (!a.empty() && a[0] == '-') {
            return Aufruffehler("unbekannte Option " + a + ".", fehler);
        } else if (datei.empty()) {
            datei = a;
        } else {
            return Aufruffehler("berechnen erwartet genau eine Datei.", fehler);
        }
    }
    if (datei.empty()) return Aufruffehler("berechnen erwartet eine Datei.", fehler);

    TKonsolenPlattform plattform(aus, fehler);
    auto modell = Oeffnen(datei, fehler);
    if (!modell) return 2;
    modell->SummeAllerArtikel = summe;
    const TBerechnungsErgebnis ergebnis = ModellNeuberechnen(*modell);
    MeldungZeigen(ergebnis);
    aus << "Max. Strom berechnet : " << modell->WertText(modell->MaxStromBerechnet) << '\n';
    bool dateienOk = true;
    if (!csv.empty()) dateienOk = Gesichert(DateiSichern(csv, WegeAlsCsv(*modell, format)), fehler) && dateienOk;
    if (!ausgabe.empty()) dateienOk = Gesichert(ModellSichern(*modell, ausgabe), fehler) && dateienOk;
    if (!dateienOk) return 2;
    return ergebnis == TBerechnungsErgebnis::BerechnungOK ? 0 : 1;
}

std::string SchwelleText(double schwelle) { return TextAusFloat(schwelle, '.'); }

int Engpaesse(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::string datei, csv;
    double schwelle = EngpassVorgabeSchwelle;
    for (size_t i = 1; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--schwelle" || a == "--csv") {
            if (i + 1 >= arg.size()) return Aufruffehler(a + " erwartet einen Wert.", fehler);
            const std::string& w = arg[++i];
            if (a == "--csv") {
                csv = w;
                continue;
            }
            std::string zahl = w;
            std::replace(zahl.begin(), zahl.end(), ',', '.');
            double wert = 0.0;
            const auto [ende, f] = std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert);
            if (f != std::errc() || ende != zahl.data() + zahl.size() || !std::isfinite(wert) || wert < 0.0)
                return Aufruffehler("--schwelle erwartet eine Zahl ab 0, nicht " + w + ".", fehler);
            schwelle = wert;
        } else if (!a.empty() && a[0] == '-') {
            return Aufruffehler("unbekannte Option " + a + ".", fehler);
        } else if (datei.empty()) {
            datei = a;
        } else {
            return Aufruffehler("engpaesse erwartet genau eine Datei.", fehler);
        }
    }
    if (datei.empty()) return Aufruffehler("engpaesse erwartet eine Datei.", fehler);

    std::unique_ptr<TModell> modell;
    if (const int rc = OeffnenUndBerechnen(datei, fehler, modell); rc != 0) return rc;
    const std::vector<TEngpass> liste = EngpaesseErmitteln(*modell, schwelle);
    if (!csv.empty()) {
        std::string text = "FONr,Objekt,Art,Artikel,Strom,Kapazit\xC3\xA4t,Auslastung\r\n";
        for (const TEngpass& e : liste) {
            text += std::to_string(e.Objekt->FONr) + "," + CsvFeld(Utf8AusAnsi(e.Objekt->Name)) + "," +
                    EngpassArtText(e.Art) + "," + CsvFeld(Utf8AusAnsi(EngpassArtikelText(*modell, e.Artikel))) + "," +
                    TextAusFloat(e.Strom, '.') + "," + TextAusFloat(e.Kapazitaet, '.') + "," +
                    (std::isinf(e.Auslastung) ? std::string("unendlich") : TextAusFloat(e.Auslastung, '.')) + "\r\n";
        }
        return Gesichert(DateiSichern(csv, text), fehler) ? 0 : 2;
    }
    const std::string ab = " ab " + SchwelleText(schwelle) + " % der Kapazit\xE4t";
    if (liste.empty()) {
        aus << Utf8AusAnsi("Keine Engp\xE4sse" + ab + ".") << '\n';
        return 0;
    }
    aus << Utf8AusAnsi("Engp\xE4sse" + ab + ": " + std::to_string(liste.size())) << '\n';
    std::vector<std::vector<std::string>> zeilen{
        {"Objekt", "Art", "Artikel", "Strom", "Kapazit\xE4t", "Auslastung"}};
    for (const TEngpass& e : liste) {
        zeilen.push_back({e.Objekt->Titel(), EngpassArtText(e.Art), EngpassArtikelText(*modell, e.Artikel),
                          modell->WertText(e.Strom), modell->WertText(e.Kapazitaet),
                          AuslastungText(*modell, e.Auslastung) + " %"});
    }
    for (const std::string& z : Tabelle(zeilen, {false, false, false, true, true, true})) aus << Utf8AusAnsi(z) << '\n';
    return 0;
}

int Bilanz(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::string datei, csv;
    for (size_t i = 1; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--csv") {
            if (i + 1 >= arg.size()) return Aufruffehler(a + " erwartet einen Dateinamen.", fehler);
            csv = arg[++i];
        } else if (!a.empty() && a[0] == '-') {
            return Aufruffehler("unbekannte Option " + a + ".", fehler);
        } else if (datei.empty()) {
            datei = a;
        } else {
            return Aufruffehler("bilanz erwartet genau eine Datei.", fehler);
        }
    }
    if (datei.empty()) return Aufruffehler("bilanz erwartet eine Datei.", fehler);

    std::unique_ptr<TModell> modell;
    if (const int rc = OeffnenUndBerechnen(datei, fehler, modell); rc != 0) return rc;
    if (!csv.empty()) return Gesichert(DateiSichern(csv, BilanzAlsCsv(*modell)), fehler) ? 0 : 2;
    std::vector<std::vector<std::string>> zeilen{{"Objekt", "Art", "Artikel", "Zulauf", "Ablauf", "Differenz", ""}};
    const auto zahlen = [&](std::vector<std::string> z, const TBilanz& b, const char* bemerkung) {
        z.insert(z.end(), {modell->WertText(b.Zulauf), modell->WertText(b.Ablauf), modell->WertText(b.Differenz()),
                           bemerkung});
        zeilen.push_back(std::move(z));
    };
    for (const TKnoten* k : modell->FOListe.Knoten()) {
        const char* bemerkung = k->Art() == TKnotenArt::Wandler ? DifferenzText(*k) : "";
        for (int a = 0; a < modell->AnzahlArtikel(); ++a)
            zahlen({k->Titel(), ArtText(*k), modell->ArtikelListe[static_cast<size_t>(a)]}, KnotenBilanz(*k, a),
                   bemerkung);
    }
    const std::vector<TBilanz> gesamt = ModellBilanz(*modell);
    for (int a = 0; a < modell->AnzahlArtikel(); ++a)
        zahlen({"Modell", "", modell->ArtikelListe[static_cast<size_t>(a)]}, gesamt[static_cast<size_t>(a)],
               "");
    for (const std::string& z : Tabelle(zeilen, {false, false, false, true, true, true, false}))
        aus << Utf8AusAnsi(z) << '\n';
    return 0;
}

bool IstCsv(const std::string& pfad) {
    if (pfad.size() < 4) return false;
    std::string endung = pfad.substr(pfad.size() - 4);
    std::transform(endung.begin(), endung.end(), endung.begin(), [](unsigned char c) { return std::tolower(c); });
    return endung == ".csv";
}

int WerteSchreiben(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::vector<std::string> dateien;
    TTabellenform form = TTabellenform::Standard;
    bool berechnen = false;
    for (size_t i = 2; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--berechnen") {
            berechnen = true;
        } else if (a == "--format") {
            const std::string wert = i + 1 < arg.size() ? arg[++i] : std::string();
            if (wert == "deutsch") form = TTabellenform::Deutsch;
            else if (wert == "standard") form = TTabellenform::Standard;
            else return Aufruffehler("--format erwartet deutsch oder standard.", fehler);
        } else if (!a.empty() && a[0] == '-') {
            return Aufruffehler("unbekannte Option " + a + ".", fehler);
        } else {
            dateien.push_back(a);
        }
    }
    if (dateien.size() != 2) return Aufruffehler("werte schreiben erwartet ein Modell und eine Tabelle.", fehler);
    if (!IstCsv(dateien[1]) && !IstXlsx(dateien[1]))
        return Aufruffehler("die Tabelle braucht die Endung .csv oder .xlsx.", fehler);
    std::unique_ptr<TModell> modell;
    if (berechnen) {
        if (const int rc = OeffnenUndBerechnen(dateien[0], fehler, modell); rc != 0) return rc;
    } else {
        TKonsolenPlattform plattform(aus, fehler);
        modell = Oeffnen(dateien[0], fehler);
        if (!modell) return 2;
    }
    TKonsolenPlattform plattform(aus, fehler);
    std::string inhalt;
    try {
        inhalt = IstXlsx(dateien[1]) ? WerteAlsXlsx(*modell, berechnen) : WerteAlsCsv(*modell, form);
    } catch (const EFehler& e) {
        fehler << Utf8AusAnsi(e.what()) << '\n';
        return 2;
    }
    return Gesichert(DateiSichern(dateien[1], inhalt), fehler) ? 0 : 2;
}

int WerteEinlesen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::vector<std::string> dateien;
    std::string ausgabe;
    bool probe = false;
    for (size_t i = 2; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--probe") {
            probe = true;
        } else if (a == "-o") {
            if (i + 1 >= arg.size()) return Aufruffehler("-o erwartet einen Dateinamen.", fehler);
            ausgabe = arg[++i];
        } else if (!a.empty() && a[0] == '-') {
            return Aufruffehler("unbekannte Option " + a + ".", fehler);
        } else {
            dateien.push_back(a);
        }
    }
    if (dateien.size() != 2) return Aufruffehler("werte einlesen erwartet ein Modell und eine Tabelle.", fehler);
    if (!probe && ausgabe.empty()) return Aufruffehler("werte einlesen erwartet -o NEU.TSR oder --probe.", fehler);
    if (!IstCsv(dateien[1]) && !IstXlsx(dateien[1]))
        return Aufruffehler("die Tabelle braucht die Endung .csv oder .xlsx.", fehler);
    TKonsolenPlattform plattform(aus, fehler);
    auto modell = Oeffnen(dateien[0], fehler);
    if (!modell) return 2;
    TWertePruefung pruefung;
    try {
        pruefung = WerteDateiPruefen(*modell, dateien[1]);
    } catch (const EFehler& e) {
        fehler << Utf8AusAnsi(MeldungMitGrund("Die Tabelle " + DateinameFuerAnzeige(dateien[1]) +
                                                  " kann nicht gelesen werden.",
                                              e.what()))
               << '\n';
        return 2;
    }
    for (const std::string& z : PruefungsZeilen(pruefung)) aus << Utf8AusAnsi(z) << '\n';
    if (!pruefung.Probleme.empty()) return 1;
    if (probe) return 0;
    WerteSetzen(*modell, pruefung.Aenderungen, true);
    if (!Gesichert(ModellSichern(*modell, ausgabe), fehler)) return 2;
    const size_t n = pruefung.Aenderungen.size();
    aus << Utf8AusAnsi(std::to_string(n) + (n == 1 ? " Wert" : " Werte") + " \xFC" "bernommen, gespeichert als " +
                       DateinameFuerAnzeige(ausgabe) + ".")
        << '\n';
    return 0;
}

int Werte(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    if (arg.size() >= 2 && arg[1] == "schreiben") return WerteSchreiben(arg, aus, fehler);
    if (arg.size() >= 2 && arg[1] == "einlesen") return WerteEinlesen(arg, aus, fehler);
    return Aufruffehler("werte erwartet schreiben oder einlesen.", fehler);
}

int Schlaufen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    if (arg.size() != 2) return Aufruffehler("schlaufen erwartet genau eine Datei.", fehler);
    TKonsolenPlattform plattform(aus, fehler);
    auto modell = Oeffnen(arg[1], fehler);
    if (!modell) return 2;
    const std::vector<TSchlaufe> schlaufen = SchlaufenErmitteln(*modell);
    for (const std::string& z : SchlaufenZeilen(*modell, schlaufen)) aus << Utf8AusAnsi(z) << '\n';
    return AlleSchlaufenKlingenAb(schlaufen) ? 0 : 1;
}

} // namespace

int KommandozeileAusfuehren(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler,
                            const std::vector<TZusatzbefehl>& zusatz) {
    if (arg.empty()) return Aufruffehler("kein Befehl angegeben.", fehler);
    const std::string& befehl = arg[0];
    if (befehl == "--help" || befehl == "-h" || befehl == "hilfe") {
        aus << Hilfetext;
        return 0;
    }
    if (befehl == "pruefen") return Pruefen(arg, aus, fehler);
    if (befehl == "berechnen") return Berechnen(arg, aus, fehler);
    if (befehl == "engpaesse") return Engpaesse(arg, aus, fehler);
    if (befehl == "bilanz") return Bilanz(arg, aus, fehler);
    if (befehl == "werte") return Werte(arg, aus, fehler);
    if (befehl == "schlaufen") return Schlaufen(arg, aus, fehler);
    if (befehl == "vergleichen") return Vergleichen(arg, aus, fehler);
    if (befehl == "empfindlichkeit") return Empfindlichkeit(arg, aus, fehler);
    if (befehl == "herkunft") return Herkunft(arg, aus, fehler);
    for (const TZusatzbefehl& z : zusatz) {
        if (befehl == z.Name) return z.Ausfuehren(arg, aus, fehler);
    }
    if (befehl == "exportieren") return Aufruffehler("exportieren ist ohne Qt gebaut nicht verf\xC3\xBC" "gbar.", fehler);
    return Aufruffehler("unbekannter Befehl " + befehl + ".", fehler);
}

} // namespace tessomir
