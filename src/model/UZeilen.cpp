#include "UZeilen.h"

#include <algorithm>

#include "UFehler.h"
#include "UWerte.h"

namespace tessomir {

void TZeilenSchreiber::Zeile(std::string_view schluessel, std::string_view wert) {
    ZeileBeginnen(schluessel);
    Puffer += wert;
    ZeileBeenden();
}

std::string& TZeilenSchreiber::ZeileBeginnen(std::string_view schluessel) {
    Puffer += schluessel;
    if (schluessel.size() < 20) Puffer.append(20 - schluessel.size(), ' ');
    return Puffer;
}

std::vector<std::string> TZeilenSchreiber::Zeilen() const {
    std::vector<std::string> zeilen;
    size_t anfang = 0;
    while (anfang < Puffer.size()) {
        const size_t ende = Puffer.find("\r\n", anfang);
        if (ende == std::string::npos) {
            zeilen.emplace_back(Puffer.substr(anfang));
            break;
        }
        zeilen.emplace_back(Puffer.substr(anfang, ende - anfang));
        anfang = ende + 2;
    }
    return zeilen;
}

TZeilenLeser::TZeilenLeser(std::string_view text) {
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
        NulGefunden = true;
    }
    // Einmal zählen statt beim Wachsen umzukopieren; reine CR-Dateien wachsen.
    Zeilen.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    size_t anfang = 0;
    const size_t n = text.size();
    while (anfang < n) {
        size_t i = anfang;
        while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
        Zeilen.push_back(text.substr(anfang, i - anfang));
        if (i < n) i += (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
        anfang = i;
    }
}

std::string_view TZeilenLeser::WertLesen() {
    if (LeseZeile >= Zeilen.size()) {
        throw EListError("Listenindex \xFC" "berschreitet das Maximum (" + std::to_string(LeseZeile) + ")");
    }
    const std::string_view zeile = Zeilen[LeseZeile++];
    return zeile.size() > 20 ? zeile.substr(20) : std::string_view();
}

std::string_view TZeilenLeser::WertVon(size_t i) const {
    if (i >= Zeilen.size() || Zeilen[i].size() <= 20) return {};
    return Zeilen[i].substr(20);
}

size_t TZeilenLeser::WertLaenge() const {
    if (LeseZeile >= Zeilen.size()) return 0;
    const size_t l = Zeilen[LeseZeile].size();
    return l > 20 ? l - 20 : 0;
}

} // namespace tessomir

namespace tessomir {

uint64_t TZeilenLeser::WertLaengen(size_t anzahl) const {
    uint64_t summe = 0;
    const size_t ende = std::min(Zeilen.size(), LeseZeile + anzahl);
    for (size_t i = LeseZeile; i < ende; ++i) {
        if (Zeilen[i].size() > 20) summe += Zeilen[i].size() - 20;
    }
    return summe;
}

} // namespace tessomir
