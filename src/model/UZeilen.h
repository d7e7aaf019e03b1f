#pragma once
// Zeilen der Modelldatei: Schlüssel auf 20 Zeichen aufgefüllt, dann der Wert.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessomir {

class TZellvorrat;

// Hängt Zeilen "Schlüssel (20 Zeichen) + Wert + CR LF" an einen Puffer.
class TZeilenSchreiber {
public:
    TZeilenSchreiber() = default;
    // Gibt den Text in Stücken ab etwa 'stueck' Bytes, an Zeilenenden, an
    // 'abfluss' ab, statt ihn ganz zu sammeln: der Puffer bleibt klein und im
    // Cache. Abschliessen() gibt den Rest ab; Text() hält nur, was noch nicht
    // abgegeben ist.
    TZeilenSchreiber(std::function<void(std::string_view)> abfluss, size_t stueck);

    void Zeile(std::string_view schluessel, std::string_view wert);
    // Zeile, deren Wert der Aufrufer danach selbst an Text() anhängt und mit
    // ZeileBeenden() abschließt (spart Zwischenkopien bei Matrixzeilen).
    std::string& ZeileBeginnen(std::string_view schluessel);
    void ZeileBeenden() {
        Puffer += "\r\n";
        if (Puffer.size() >= Stueck) Abgeben();
    }
    // Platz für so viele weitere Bytes; beim Abgeben in Stücken nur für ein Stück.
    void Reservieren(size_t bytes);
    void Abschliessen();
    const std::string& Text() const { return Puffer; }
    std::string& Text() { return Puffer; }
    // Die Zeilen ohne Zeilenende, für die Beschreibung eines Objekts.
    std::vector<std::string> Zeilen() const;

private:
    void Abgeben();

    std::string Puffer;
    std::function<void(std::string_view)> Abfluss;
    size_t Stueck = SIZE_MAX;
};

// Liest Werte Zeile für Zeile aus einem Text; die Schlüssel werden nie angesehen.
// Die Zeilen werden erst beim Lesen gesucht, nicht vorab in einer Liste
// gesammelt: eine große Datei hat Millionen davon.
class TZeilenLeser {
public:
    // Zerlegt den Text an CR LF, LF oder CR; ein NUL-Byte beendet den Text.
    // 'ohneNul': der Aufrufer weiß schon, dass kein NUL-Byte darin ist (die
    // Datei wurde beim Lesen darauf durchsucht); der Text wird nicht noch einmal
    // durchsucht.
    explicit TZeilenLeser(std::string_view text, bool ohneNul = false);
    explicit TZeilenLeser(std::vector<std::string_view> zeilen) : Zeilen(std::move(zeilen)), AusListe(true) {}

    // Wert der nächsten Zeile ab dem 21. Zeichen; EListError hinter dem Ende.
    std::string_view WertLesen();
    // Zählt beim ersten Aufruf alle Zeilen (nur für Meldungen gedacht).
    size_t AnzahlZeilen() const;
    // Wert der Zeile i (ab 0), ohne die Leseposition zu ändern; "" hinter dem Ende.
    std::string_view WertVon(size_t i) const;
    size_t LeseZeile = 0;
    int GeleseneVersion = 3;
    // Der Text endete an einem NUL-Byte vor dem Ende der Daten.
    bool NulGefunden = false;
    // Woher gelesene Matrizen ihre Zellen nehmen; nullptr: jede vom Heap.
    TZellvorrat* Zellvorrat = nullptr;
    // Ungelesene Zeilen ab LeseZeile.
    size_t Verbleibend() const { return LeseZeile < AnzahlZeilen() ? AnzahlZeilen() - LeseZeile : 0; }
    // Ob ab LeseZeile noch mindestens 'anzahl' Zeilen kommen; sieht nur so weit voraus.
    bool HatNoch(size_t anzahl) const;
    // Bytes ab dem Anfang der Zeile LeseZeile bis zum Textende: Obergrenze
    // für Zeilenzahl und Wertlängen, ohne zu zählen.
    uint64_t RestBytes() const;
    // Länge des Werts der Zeile LeseZeile, ohne sie zu lesen (0 hinter dem Ende).
    size_t WertLaenge() const;
    // Summe der Wertlängen der nächsten 'anzahl' Zeilen.
    uint64_t WertLaengen(size_t anzahl) const;

private:
    // Zeile ab Byte 'pos' und Anfang der nächsten; false am Textende.
    bool ZeileAb(size_t& pos, std::string_view& zeile) const;
    // Setzt den Zeiger auf den Anfang der Zeile 'zeile'; false, wenn es sie nicht gibt.
    bool Positionieren(size_t zeile) const;

    std::vector<std::string_view> Zeilen;
    bool AusListe = false;
    std::string_view Text;
    // Zuletzt erreichte Zeile und ihr erstes Byte: Lesen geht fast nur vorwärts.
    mutable size_t ZeigerZeile = 0;
    mutable size_t ZeigerPos = 0;
    mutable size_t Gesamt = SIZE_MAX;
};

} // namespace tessomir
