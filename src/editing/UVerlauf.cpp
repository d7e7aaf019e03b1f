#include "editing/UVerlauf.h"

namespace tessomir {

void Ausfuehren(TModell& modell, TVerlauf* verlauf, std::unique_ptr<TSchritt> schritt) {
    if (!schritt) return;
    schritt->Ausfuehren(modell);
    modell.Modifiziert = true;
    if (verlauf != nullptr) verlauf->Aufnehmen(std::move(schritt));
}

void TVerlauf::Aufnehmen(std::unique_ptr<TSchritt> schritt) {
    if (!schritt) return;
    // Neuestes zuerst: Verwahrte Objekte späterer Schritte gehen vor früheren.
    while (Schritte.size() > Stand) Schritte.pop_back();
    if (Gesichert && *Gesichert > Stand) Gesichert.reset();
    Schritte.push_back(std::move(schritt));
    ++Stand;
    ++Zaehler;
    if (Schritte.size() > Hoechstzahl) {
        Schritte.pop_front();
        --Stand;
        if (Gesichert && *Gesichert == 0) Gesichert.reset();
        else if (Gesichert) --*Gesichert;
    }
}

std::string TVerlauf::RueckgaengigName() const { return KannRueckgaengig() ? Schritte[Stand - 1]->Name() : std::string(); }

std::string TVerlauf::WiederholenName() const { return KannWiederholen() ? Schritte[Stand]->Name() : std::string(); }

void TVerlauf::Rueckgaengig(TModell& modell) {
    if (!KannRueckgaengig()) return;
    modell.FOListe.AuswahlLeeren();
    Schritte[Stand - 1]->Rueckgaengig(modell);
    --Stand;
    ++Zaehler;
    modell.Modifiziert = !AmGesichertenStand();
}

void TVerlauf::Wiederholen(TModell& modell) {
    if (!KannWiederholen()) return;
    modell.FOListe.AuswahlLeeren();
    Schritte[Stand]->Wiederholen(modell);
    ++Stand;
    ++Zaehler;
    modell.Modifiziert = !AmGesichertenStand();
}

void TVerlauf::Leeren() {
    while (!Schritte.empty()) Schritte.pop_back();
    Stand = 0;
    Gesichert = 0;
    ++Zaehler;
}

size_t TVerlauf::Speicherbedarf() const {
    size_t n = sizeof(*this);
    for (const auto& s : Schritte) n += s->Speicherbedarf();
    return n;
}

} // namespace tessomir
