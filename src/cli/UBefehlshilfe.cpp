#include "cli/UBefehlshilfe.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <sstream>

#include "base/UPlattform.h"
#include "base/UText.h"
#include "cli/UKonsolenPlattform.h"
#include "persistence/UModellDatei.h"

namespace tessomir {

std::optional<int> GanzzahlAusText(const std::string& s) {
    int wert = 0;
    const auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), wert);
    if (fehler != std::errc() || ende != s.data() + s.size()) return std::nullopt;
    return wert;
}

std::optional<double> ZahlAusText(const std::string& s) {
    double wert = 0;
    const auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), wert);
    if (fehler != std::errc() || ende != s.data() + s.size()) return std::nullopt;
    return wert;
}

std::unique_ptr<TModell> Oeffnen(const std::string& datei, std::ostream& fehler) {
    TOeffnenErgebnis e = ModellOeffnen(datei);
    if (!e.Modell) fehler << Utf8AusAnsi(e.Meldung) << '\n' << Utf8AusAnsi(e.Grund) << '\n';
    return std::move(e.Modell);
}

void MeldungZeigen(TBerechnungsErgebnis ergebnis) {
    if (const char* meldung = ErgebnisMeldung(ergebnis); *meldung != '\0') Plattform().Meldungen->Fehler(meldung);
}

bool Gesichert(const TSpeichernErgebnis& e, std::ostream& fehler) {
    if (!e.Ok) fehler << Utf8AusAnsi(e.Meldung) << '\n' << Utf8AusAnsi(e.Grund) << '\n';
    return e.Ok;
}

std::vector<std::string> Tabelle(const std::vector<std::vector<std::string>>& zeilen, const std::vector<bool>& rechts) {
    std::vector<size_t> breite(rechts.size(), 0);
    for (const auto& z : zeilen)
        for (size_t i = 0; i < z.size(); ++i) breite[i] = std::max(breite[i], z[i].size());
    std::vector<std::string> ergebnis;
    for (const auto& z : zeilen) {
        std::string text;
        for (size_t i = 0; i < z.size(); ++i) {
            const std::string fuellung(breite[i] - z[i].size(), ' ');
            if (i > 0) text += "  ";
            text += rechts[i] ? fuellung + z[i] : (i + 1 < z.size() ? z[i] + fuellung : z[i]);
        }
        // Eine leere letzte Spalte hinterliesse Leerzeichen am Zeilenende.
        text.erase(text.find_last_not_of(' ') + 1);
        ergebnis.push_back(text);
    }
    return ergebnis;
}

int OeffnenUndBerechnen(const std::string& datei, std::ostream& fehler, std::unique_ptr<TModell>& modell) {
    std::ostringstream protokoll;
    TKonsolenPlattform plattform(protokoll, fehler);
    modell = Oeffnen(datei, fehler);
    if (!modell) return 2;
    const TBerechnungsErgebnis ergebnis = ModellNeuberechnen(*modell);
    if (ergebnis == TBerechnungsErgebnis::BerechnungOK) return 0;
    MeldungZeigen(ergebnis);
    fehler << protokoll.str();
    return 1;
}

} // namespace tessomir
