#pragma once
// Die Eingabewerte eines Modells als Tabelle ("Werte"), eine Zeile je Wert:
// jede Liefermenge, jeder Anteil, jeder Faktor, jede Kapazität, in der
// Reihenfolge der Objektliste. Geschrieben als CSV in zwei Formen; gelesen,
// geprüft (Probelauf) und übernommen, ohne etwas zu ändern, was die Tabelle
// nicht ändert.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/UKnoten.h"

namespace tessomir {

// Standard: "," und "." (RFC 4180). Deutsch: ";" und ",", mit UTF-8-Marke.
enum class TTabellenform { Standard, Deutsch };

// Wo ein Wert im Modell steht: eine Zelle der Knotenmatrix oder die Kapazität.
struct TWertOrt {
    uint32_t FONr = 0;
    bool Kapazitaet = false;
    int A = 0, B = 0, C = 0;
    bool operator==(const TWertOrt&) const = default;
};

// Eine Zeile der Tabelle (Texte in Windows-1252).
struct TWertZeile {
    uint32_t FONr = 0;
    std::string Objekt, Art, Groesse, Artikel, Von, Nach;
    double Wert = 0.0;
    TWertOrt Ort;
};

// Die Spalten in ihrer Reihenfolge.
extern const char* const WerteSpalten[8];

// Alle Eingabewerte des Modells in Listenfolge.
std::vector<TWertZeile> WerteZeilen(const TModell& modell);
// "Name #Nr" eines Wegs, wie Von und Nach ihn nennen.
std::string WegBezeichnung(const TWeg& weg);

// Die Tabelle als CSV (UTF-8).
std::string WerteAlsCsv(const TModell& modell, TTabellenform form);

// Eine gelesene Tabelle: Kopf und Zeilen als Texte (Windows-1252), dazu die
// Form, nach der Zahlen gelesen werden.
struct TGeleseneTabelle {
    TTabellenform Form = TTabellenform::Standard;
    // XLSX: Zahlenzellen sind Zahlen; als Text gespeicherte Zahlen gelten in
    // beiden Schreibweisen, wo sie eindeutig sind.
    bool Tabellenkalkulation = false;
    std::vector<std::string> Kopf;
    std::vector<std::vector<std::string>> Zeilen;
    // Zeilennummer in der Datei je Zeile (1 = Kopf).
    std::vector<size_t> Dateizeilen;
    // XLSX: je Zeile, ob der Wert eine Zahlenzelle ist (dann gilt nur ".").
    std::vector<bool> WertIstZahl;
};
// Liest CSV (UTF-8, auch mit Marke); die Form erkennt es am Trenner der
// Kopfzeile. Wirft EModellErzeugen, wenn es keine Werte-Tabelle ist.
TGeleseneTabelle CsvTabelleLesen(const std::string& text);

// Eine Zahl in der Schreibweise der Form; leer mit dem Grund, wenn nicht.
struct TZahlLesen {
    std::optional<double> Wert;
    std::string Grund;
};
TZahlLesen TabellenzahlLesen(std::string_view text, TTabellenform form, bool beideFormen = false);

struct TWertProblem {
    size_t Zeile = 0;  // in der Datei
    std::string Spalte;
    std::string Grund; // Windows-1252
};
struct TWertAenderung {
    TWertOrt Ort;
    double Alt = 0.0;
    double Neu = 0.0;
};
struct TWertePruefung {
    std::vector<TWertProblem> Probleme;
    std::vector<TWertAenderung> Aenderungen;
    size_t Zeilen = 0;
};
// Der Probelauf: jede Zeile gegen das Modell, nur was die Tabelle ändert,
// wird beurteilt. Nichts am Modell ändert sich.
TWertePruefung WertePruefen(const TModell& modell, const TGeleseneTabelle& tabelle);
// Setzt die Werte der Änderungen ('neu') oder ihre alten Werte zurück.
void WerteSetzen(TModell& modell, const std::vector<TWertAenderung>& aenderungen, bool neu);
// Zeilen des Probelaufs für Menschen: je Problem "Zeile N, Spalte S: Grund",
// dann die Zahl der Werte, die sich ändern würden.
std::vector<std::string> PruefungsZeilen(const TWertePruefung& pruefung);

} // namespace tessomir
