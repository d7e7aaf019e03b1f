#pragma once
// Zeilen der Modelldatei: Schlüssel auf 20 Zeichen aufgefüllt, dann der Wert.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessomir {

// Hängt Zeilen "Schlüssel (20 Zeichen) + Wert + CR LF" an einen Puffer.
class TZeilenSchreiber {
public:
    void Zeile(std::string_view schluessel, std::string_view wert);
    // Zeile, deren Wert der Aufrufer danach selbst an Text() anhängt und mit
    // ZeileBeenden() abschließt (spart Zwischenkopien bei Matrixzeilen).
    std::string& ZeileBeginnen(std::string_view schluessel);
    void ZeileBeenden() { Puffer += "\r\n"; }
    const std::string& Text() const { return Puffer; }
    std::string& Text() { return Puffer; }
    // Die Zeilen ohne Zeilenende, für die Beschreibung eines Objekts.
    std::vector<std::string> Zeilen() const;

private:
    std::string Puffer;
};

// Liest Werte Zeile für Zeile aus einem Text; die Schlüssel werden nie angesehen.
class TZeilenLeser {
public:
    // Zerlegt den Text an CR LF, LF oder CR; ein NUL-Byte beendet den Text.
    explicit TZeilenLeser(std::string_view text);
    explicit TZeilenLeser(std::vector<std::string_view> zeilen) : Zeilen(std::move(zeilen)) {}

    // Wert der nächsten Zeile ab dem 21. Zeichen; EListError hinter dem Ende.
    std::string_view WertLesen();
    size_t AnzahlZeilen() const { return Zeilen.size(); }
    // Wert der Zeile i (ab 0), ohne die Leseposition zu ändern; "" hinter dem Ende.
    std::string_view WertVon(size_t i) const;
    size_t LeseZeile = 0;
    int GeleseneVersion = 3;
    // Der Text endete an einem NUL-Byte vor dem Ende der Daten.
    bool NulGefunden = false;
    // Ungelesene Zeilen ab LeseZeile.
    size_t Verbleibend() const { return LeseZeile < Zeilen.size() ? Zeilen.size() - LeseZeile : 0; }
    // Länge des Werts der Zeile LeseZeile, ohne sie zu lesen (0 hinter dem Ende).
    size_t WertLaenge() const;
    // Summe der Wertlängen der nächsten 'anzahl' Zeilen.
    uint64_t WertLaengen(size_t anzahl) const;

private:
    std::vector<std::string_view> Zeilen;
};

} // namespace tessomir
