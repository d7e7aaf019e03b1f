#pragma once
// Empfindlichkeit: jeder Eingabewert (Liefermenge, Anteil, Faktor) einzeln um
// einige Prozent gesenkt und gehoben, das Modell je neu berechnet, und was
// ein Ziel (Weg, Verzweigung oder Senke) dabei tut. Ein geänderter Anteil
// wird von den anderen Anteilen desselben Eingangs im Verhältnis
// ausgeglichen, so dass jede Kolonne bei 100 % bleibt. Jede Rechnung läuft
// auf einer eigenen Kopie des Modells; mehrere Fäden teilen sich die Werte.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/UKnoten.h"
#include "persistence/UWerteTabelle.h"

namespace tessomir {

// Der Wert eines Ziels: Strom eines Wegs, Durchsatz einer Verzweigung, Zulauf
// einer Senke; 'artikel' darf SummeArtikel sein. Leer für andere Objekte.
std::optional<double> ZielWert(const TFO& ziel, int artikel);

struct TEmpfindlichkeitsZeile {
    TWertZeile Eingabe;
    // Der Zielwert bei gesenktem und gehobenem Wert; leer, wo die Rechnung scheitert.
    std::optional<double> ZielMinus, ZielPlus;
    std::string Grund; // warum eine Rechnung scheiterte (Windows-1252)
    bool Gescheitert() const { return !ZielMinus || !ZielPlus; }
    double Wirkung() const { return Gescheitert() ? 0.0 : std::abs(*ZielPlus - *ZielMinus); }
};

struct TEmpfindlichkeit {
    double ZielBasis = 0.0;
    // Nach Wirkung, grösste zuerst; gescheiterte am Ende.
    std::vector<TEmpfindlichkeitsZeile> Zeilen;
    bool Abgebrochen = false;
};

struct TEmpfindlichkeitsAuftrag {
    uint32_t ZielFONr = 0;
    int Artikel = 0; // oder SummeArtikel
    double Prozent = 10.0;
    unsigned Faeden = 2;
    // Nach jeder fertigen Eingabe aus einem der Fäden; 'Abbrechen' auf true hält alle an.
    std::function<void(size_t fertig, size_t gesamt)> Fortschritt;
    std::atomic<bool>* Abbrechen = nullptr;
};

// Wirft EModellErzeugen, wenn das Ziel fehlt oder keinen Wert hat, oder wenn
// das Modell selbst sich nicht berechnen lässt.
TEmpfindlichkeit EmpfindlichkeitBerechnen(const TModell& modell, const TEmpfindlichkeitsAuftrag& auftrag);

// Setzt einen Eingabewert auf 'neu'; ein Anteil gleicht die übrigen Anteile
// seines Eingangs aus. Gibt die Werte zurück, die vorher galten (zum Zurücksetzen).
std::vector<TWertAenderung> EingabeAendern(TModell& modell, const TWertOrt& ort, double neu);

// CSV (RFC 4180, UTF-8, "."): FONr,Objekt,Groesse,Artikel,Von,Nach,Wert,ZielMinus,ZielPlus,Wirkung.
std::string EmpfindlichkeitAlsCsv(const TEmpfindlichkeit& e);

} // namespace tessomir
