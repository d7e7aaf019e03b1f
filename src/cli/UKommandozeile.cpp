#include "cli/UKommandozeile.h"

#include <fstream>
#include <ostream>

#include "analysis/UBerechnung.h"
#include "cli/UKonsolenPlattform.h"
#include "model/UKnoten.h"
#include "model/UPlattform.h"
#include "model/UText.h"
#include "persistence/UModellDatei.h"

#ifdef TESSOMIR_QT
#include "cli/UExport.h"
#endif

namespace tessomir {
namespace {

constexpr const char* Hilfetext =
    "Aufruf:\n"
    "  tessomir-cli pruefen DATEI\n"
    "      Liest das Modell und pr\xC3\xBC" "ft es. Ausgabe: die Protokollzeilen,\n"
    "      bei Erfolg zuletzt \"Daten OK\".\n"
    "  tessomir-cli berechnen DATEI [--summe] [--csv AUSGABE.csv] [-o AUSGABE.TSR]\n"
    "      Pr\xC3\xBC" "ft und berechnet das Modell (wie \"Neuberechnen\"). Ausgabe: die\n"
    "      Protokollzeilen, dann \"Max. Strom berechnet : \" mit dem gr\xC3\xB6\xC3\x9F" "ten Strom.\n"
    "      --summe  Str\xC3\xB6" "me als Summe aller Artikel\n"
    "      --csv    schreibt je Weg eine Zeile mit den Str\xC3\xB6" "men je Artikel\n"
    "      -o       speichert das berechnete Modell\n"
    "  tessomir-cli exportieren DATEI BILD [--berechnen] [--summe] [--artikel N] [--zoom F]\n"
    "      Zeichnet das Diagramm in BILD (.png, .svg oder .pdf).\n"
    "      --berechnen  vorher berechnen (wie \"Neuberechnen\")\n"
    "      --summe      Str\xC3\xB6" "me als Summe aller Artikel\n"
    "      --artikel N  zeigt Artikel N (ab 0)\n"
    "      --zoom F     Massstab (Bildpunkte je Modelleinheit)\n"
    "  tessomir-cli --help\n"
    "\n"
    "Ausgaben sind UTF-8. R\xC3\xBC" "ckgabewert: 0 in Ordnung, 1 Pr\xC3\xBC" "fung oder Berechnung\n"
    "fehlerhaft, 2 Datei kann nicht ge\xC3\xB6" "ffnet oder geschrieben werden, falscher Aufruf.\n";

std::string CsvFeld(const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string s = "\"";
    for (const char c : utf8) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + '"';
}

// Öffnet das Modell oder meldet "Die Datei ... kann nicht geöffnet werden."
std::unique_ptr<TModell> Oeffnen(const std::string& datei, std::ostream& fehler) {
    TOeffnenErgebnis e = ModellOeffnen(datei);
    if (!e.Modell) fehler << Utf8AusAnsi(e.Meldung) << '\n' << Utf8AusAnsi(e.Grund) << '\n';
    return std::move(e.Modell);
}

// Meldet "Die Datei ... kann nicht geschrieben werden." mit dem Grund darunter.
bool Gesichert(const TSpeichernErgebnis& e, std::ostream& fehler) {
    if (!e.Ok) fehler << Utf8AusAnsi(e.Meldung) << '\n' << Utf8AusAnsi(e.Grund) << '\n';
    return e.Ok;
}

int Pruefen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    if (arg.size() != 2) return Aufruffehler("pruefen erwartet genau eine Datei.", fehler);
    TKonsolenPlattform plattform(aus, fehler);
    auto modell = Oeffnen(arg[1], fehler);
    if (!modell) return 2;
    return ModellPruefen(*modell) ? 0 : 1;
}

int Berechnen(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::string datei, csv, ausgabe;
    bool summe = false;
    for (size_t i = 1; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--summe") {
            summe = true;
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
    aus << "Max. Strom berechnet : " << modell->WertText(modell->MaxStromBerechnet) << '\n';
    bool dateienOk = true;
    if (!csv.empty()) dateienOk = Gesichert(DateiSichern(csv, WegeAlsCsv(*modell)), fehler) && dateienOk;
    if (!ausgabe.empty()) dateienOk = Gesichert(ModellSichern(*modell, ausgabe), fehler) && dateienOk;
    if (!dateienOk) return 2;
    return ergebnis == TBerechnungsErgebnis::BerechnungOK ? 0 : 1;
}

} // namespace

std::string WegeAlsCsv(const TModell& modell) {
    std::string csv = "FONr,Name,Start,Ziel";
    for (const auto& artikel : modell.ArtikelListe) {
        csv += ',';
        csv += CsvFeld(Utf8AusAnsi(artikel));
    }
    csv += "\r\n";
    for (const auto& o : modell.FOListe.Alle()) {
        const TWeg* weg = o->AlsWeg();
        if (weg == nullptr) continue;
        csv += std::to_string(weg->FONr) + "," + CsvFeld(Utf8AusAnsi(weg->Name)) + ",";
        if (weg->Start() != nullptr) csv += std::to_string(weg->Start()->FONr);
        csv += ",";
        if (weg->Ziel() != nullptr) csv += std::to_string(weg->Ziel()->FONr);
        const int p = weg->Ziel() != nullptr ? weg->Ziel()->EingangIndex(weg) : -1;
        for (int a = 0; a < modell.AnzahlArtikel(); ++a) {
            csv += ",";
            const double* z = p >= 0 ? weg->Ziel()->Matrix().Zelle(a, p + 1, 0) : nullptr;
            if (z != nullptr) csv += TextAusFloat(*z, '.');
        }
        csv += "\r\n";
    }
    return csv;
}

int KommandozeileAusfuehren(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    if (arg.empty()) return Aufruffehler("kein Befehl angegeben.", fehler);
    const std::string& befehl = arg[0];
    if (befehl == "--help" || befehl == "-h" || befehl == "hilfe") {
        aus << Hilfetext;
        return 0;
    }
    if (befehl == "pruefen") return Pruefen(arg, aus, fehler);
    if (befehl == "berechnen") return Berechnen(arg, aus, fehler);
#ifdef TESSOMIR_QT
    if (befehl == "exportieren") return Exportieren(arg, aus, fehler);
#else
    if (befehl == "exportieren") return Aufruffehler("exportieren ist ohne Qt gebaut nicht verf\xC3\xBC" "gbar.", fehler);
#endif
    return Aufruffehler("unbekannter Befehl " + befehl + ".", fehler);
}

} // namespace tessomir
