#include "TAufzeichnung.h"

namespace tessomir::test {

TAufzeichnung::TAufzeichnung() {
    Vorher = Plattform();
    Plattform() = TPlattform{this, this, this, this};
}

TAufzeichnung::~TAufzeichnung() { Plattform() = Vorher; }

TAntwort TAufzeichnung::Frage(const std::string& text) {
    Meldungen.push_back({TMeldung::Frage, text});
    if (Antworten.empty()) return TAntwort::Abbrechen;
    const TAntwort a = Antworten.front();
    Antworten.pop_front();
    return a;
}

uint32_t TAufzeichnung::Millisekunden() {
    if (Taktgeber) return Taktgeber();
    const uint32_t jetzt = Zeit;
    Zeit += Schritt;
    return jetzt;
}

} // namespace tessomir::test
