#pragma once
// Suchen nach Knoten und Wegen: ein Teil des Namens, ohne Rücksicht auf
// Groß- und Kleinschreibung, "ä" gleich "ae" und "ß" gleich "ss"; "#123"
// sucht die Objektnummer. Dieselbe Regel gilt für den Filter der Übersicht.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/UModell.h"

namespace tessomir {

// Der Text, wie die Suche ihn vergleicht (Windows-1252): klein, Umlaute als
// zwei Buchstaben, "ß" als "ss".
std::string Suchform(std::string_view ansi);
// Dasselbe in einen vorhandenen Puffer (ohne neuen Speicher je Name).
void SuchformIn(std::string_view ansi, std::string& ziel);

class TSuche {
public:
    // 'text' in Windows-1252; Leerzeichen am Rand zählen nicht.
    explicit TSuche(std::string_view text);
    bool Leer() const { return Muster.empty() && !Nummer; }
    // Ob ein Knoten oder Weg passt; das Modell selbst und leere Suchen nie.
    bool Passt(const TFO& objekt) const;
    // Für viele Vergleiche mit schon gefalteten Namen (Filter der Übersicht).
    bool PasstGefaltet(uint32_t fonr, std::string_view suchform) const;
    const std::string& Gefaltet() const { return Muster; }
    std::optional<uint32_t> Nr() const { return Nummer; }

private:
    std::string Muster;
    std::optional<uint32_t> Nummer;
    // Gefalteter Name des zuletzt geprüften Objekts; ein Puffer für alle,
    // statt einen String je Name anzulegen.
    mutable std::string Puffer;
};

struct TSuchtreffer {
    TFO* Objekt = nullptr;
    // Die Suche ging über das Listenende und fing vorn wieder an.
    bool Umgebrochen = false;
};

// Der nächste passende Knoten oder Weg in Listenfolge hinter 'nach' (nullptr:
// von vorn), am Ende wieder von vorn bis 'nach' selbst; kein Objekt: keiner.
TSuchtreffer NaechsterTreffer(const TModell& modell, const TSuche& suche, const TFO* nach);

// Die gefalteten Namen aller Knoten und Wege hintereinander in einem Text:
// eine Suche ist dann ein Durchlauf über zusammenhängenden Speicher statt ein
// Sprung zu jedem Objekt und seinem Namen (bench_uebersicht, 100 000 Knoten:
// BM_SucheOhneIndex 31,7 ms, BM_SucheAlleNamen 0,8 ms, Aufbau 34 ms; Mediane
// aus drei Läufen). Gilt, bis sich Objekte oder Namen ändern; wer ihn hält,
// baut ihn dann neu.
class TSuchindex {
public:
    void Aufbauen(const TModell& modell);
    void Verwerfen();
    bool Gebaut() const { return IstGebaut; }
    // Wie NaechsterTreffer, über den Index.
    TSuchtreffer Naechster(const TSuche& suche, const TFO* nach) const;

private:
    bool IstGebaut = false;
    // Namen, jeder mit '\n' abgeschlossen (ein Name enthält nie einen Zeilenumbruch).
    std::string Text;
    std::vector<size_t> Anfang;
    std::vector<TFO*> Objekte;
};

// Das Objekt, das eine Protokollzeile in "[ Name ]" nennt: das erste in der
// Liste, dessen Titel genau dort steht (bei mehreren Klammern die erste, die
// ein Objekt trifft); sonst nullptr.
TFO* ObjektAusZeile(const TModell& modell, std::string_view zeile);

} // namespace tessomir
