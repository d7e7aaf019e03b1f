#include "persistence/UStromCsv.h"

#include "model/UKnoten.h"
#include "base/UText.h"
#include "base/UWerte.h"

namespace tessomir {

std::string CsvFeld(const std::string& utf8, char trenner) {
    const char sonder[] = {trenner, '"', '\r', '\n', '\0'};
    if (utf8.find_first_of(sonder) == std::string::npos) return utf8;
    std::string s = "\"";
    for (const char c : utf8) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + '"';
}

std::string WegeAlsCsv(const TModell& modell, TCsvFormat format) {
    const bool deutsch = format == TCsvFormat::Deutsch;
    const char trenner = deutsch ? ';' : ',';
    const char dezimal = deutsch ? ',' : '.';
    const auto feld = [trenner](const std::string& ansi) { return CsvFeld(Utf8AusAnsi(ansi), trenner); };
    const auto knoten = [&](const TKnoten* k) {
        return k == nullptr ? std::string(1, trenner) : std::to_string(k->FONr) + trenner + feld(k->Name);
    };
    // Ohne Byte-Reihenfolge-Marke liest Excel UTF-8 als Windows-1252 (Umlaute).
    std::string csv = deutsch ? "\xEF\xBB\xBF" "FONr" : "FONr";
    for (const char* kopf : {"Name", "Start", "Startname", "Ziel", "Zielname"}) {
        csv += trenner;
        csv += kopf;
    }
    for (const auto& artikel : modell.ArtikelListe) {
        csv += trenner;
        csv += feld(artikel);
    }
    csv += "\r\n";
    for (const auto& o : modell.FOListe.Alle()) {
        const TWeg* weg = o->AlsWeg();
        if (weg == nullptr) continue;
        csv += std::to_string(weg->FONr) + trenner + feld(weg->Name) + trenner + knoten(weg->Start()) + trenner +
               knoten(weg->Ziel());
        const int p = weg->Ziel() != nullptr ? weg->Ziel()->EingangIndex(weg) : -1;
        for (int a = 0; a < modell.AnzahlArtikel(); ++a) {
            csv += trenner;
            const double* z = p >= 0 ? weg->Ziel()->Matrix().Zelle(a, p + 1, 0) : nullptr;
            if (z != nullptr) csv += TextAusFloat(*z, dezimal);
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace tessomir
