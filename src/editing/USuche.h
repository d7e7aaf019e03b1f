#pragma once
// Suchen nach Knoten und Wegen: ein Teil des Namens, ohne Rücksicht auf
// Groß- und Kleinschreibung, "ä" gleich "ae" und "ß" gleich "ss"; "#123"
// sucht die Objektnummer. Dieselbe Regel gilt für den Filter der Übersicht.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/UModell.h"

namespace tessomir {

// Der Text, wie die Suche ihn vergleicht (Windows-1252): klein, Umlaute als
// zwei Buchstaben, "ß" als "ss".
std::string Suchform(std::string_view ansi);

class TSuche {
public:
    // 'text' in Windows-1252; Leerzeichen am Rand zählen nicht.
    explicit TSuche(std::string_view text);
    bool Leer() const { return Muster.empty() && !Nummer; }
    // Ob ein Knoten oder Weg passt; das Modell selbst und leere Suchen nie.
    bool Passt(const TFO& objekt) const;
    // Für viele Vergleiche mit schon gefalteten Namen (Filter der Übersicht).
    bool PasstGefaltet(uint32_t fonr, std::string_view suchform) const;

private:
    std::string Muster;
    std::optional<uint32_t> Nummer;
};

struct TSuchtreffer {
    TFO* Objekt = nullptr;
    // Die Suche ging über das Listenende und fing vorn wieder an.
    bool Umgebrochen = false;
};

// Der nächste passende Knoten oder Weg in Listenfolge hinter 'nach' (nullptr:
// von vorn), am Ende wieder von vorn bis 'nach' selbst; kein Objekt: keiner.
TSuchtreffer NaechsterTreffer(const TModell& modell, const TSuche& suche, const TFO* nach);

// Das Objekt, das eine Protokollzeile in "[ Name ]" nennt: das erste in der
// Liste, dessen Titel genau dort steht (bei mehreren Klammern die erste, die
// ein Objekt trifft); sonst nullptr.
TFO* ObjektAusZeile(const TModell& modell, std::string_view zeile);

} // namespace tessomir
