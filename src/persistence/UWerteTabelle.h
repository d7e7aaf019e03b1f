#pragma once
// Die Eingabewerte eines Modells als Tabelle ("Werte"), eine Zeile je Wert:
// jede Liefermenge, jeder Anteil, jeder Faktor, jede Kapazität, in der
// Reihenfolge der Objektliste. Geschrieben als CSV in zwei Formen; gelesen,
// geprüft (Probelauf) und übernommen, ohne etwas zu ändern, was die Tabelle
// nicht ändert.
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
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

// Eine gelesene Tabelle: Kopf und Felder als Texte (Windows-1252), dazu die
// Form, nach der Zahlen gelesen werden. Die Felder sind Ausschnitte des
// Dateitexts oder eigener Texte (wo Anführungszeichen oder Umlaute sie
// verändern): zwei Millionen Zeilen ohne einen Text je Feld (bench_werte).
class TGeleseneTabelle {
public:
    TTabellenform Form = TTabellenform::Standard;
    // XLSX: Zahlenzellen sind Zahlen; als Text gespeicherte Zahlen gelten in
    // beiden Schreibweisen, wo sie eindeutig sind.
    bool Tabellenkalkulation = false;
    std::vector<std::string> Kopf;
    // Zeilennummer in der Datei je Zeile (1 = Kopf).
    std::vector<size_t> Dateizeilen;
    // XLSX: je Zeile, ob der Wert eine Zahlenzelle ist (dann gilt nur ".").
    std::vector<bool> WertIstZahl;

    size_t Anzahl() const { return Anfang.size(); }
    size_t Spalten(size_t zeile) const {
        return (zeile + 1 < Anfang.size() ? Anfang[zeile + 1] : Felder.size()) - Anfang[zeile];
    }
    std::string_view Feld(size_t zeile, size_t spalte) const { return Felder[Anfang[zeile] + spalte]; }

    // Beim Lesen: der Text, auf den Ausschnitte zeigen dürfen, bleibt hier.
    const std::string& QuelleSetzen(std::string text) { return *Quelle = std::move(text); }
    void ZeileBeginnen(size_t dateizeile) {
        Anfang.push_back(Felder.size());
        Dateizeilen.push_back(dateizeile);
    }
    // 'text' zeigt in die Quelle oder auf einen Text aus Eigen.
    void FeldAnhaengen(std::string_view text) { Felder.push_back(text); }
    std::string_view Eigen(std::string text) { return Eigene.emplace_back(std::move(text)); }

private:
    // Auf dem Heap: Ausschnitte bleiben gültig, wenn die Tabelle verschoben wird.
    std::unique_ptr<std::string> Quelle = std::make_unique<std::string>();
    std::deque<std::string> Eigene;
    std::vector<std::string_view> Felder;
    std::vector<size_t> Anfang;
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
// Derselbe Probelauf über CSV, Zeile für Zeile beim Lesen, ohne die Tabelle
// abzulegen; wirft EModellErzeugen wie CsvTabelleLesen.
TWertePruefung CsvWertePruefen(const TModell& modell, std::string_view text);
// Setzt die Werte der Änderungen ('neu') oder ihre alten Werte zurück.
void WerteSetzen(TModell& modell, const std::vector<TWertAenderung>& aenderungen, bool neu);
// Zeilen des Probelaufs für Menschen: je Problem "Zeile N, Spalte S: Grund",
// dann die Zahl der Werte, die sich ändern würden.
std::vector<std::string> PruefungsZeilen(const TWertePruefung& pruefung);

} // namespace tessomir
