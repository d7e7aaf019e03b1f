#pragma once
// Engpässe: Wege und Verzweigungen, deren Strom einen Anteil ihrer Kapazität
// erreicht, je Artikel und für die Summe aller Artikel.
#include <string>
#include <vector>

#include "analysis/UBilanz.h"

namespace tessomir {

constexpr double EngpassVorgabeSchwelle = 90.0;

enum class TEngpassArt { Weg, Verzweigung };

struct TEngpass {
    const TFO* Objekt = nullptr; // gehört der Objektliste
    TEngpassArt Art = TEngpassArt::Weg;
    int Artikel = SummeArtikel;
    double Strom = 0.0;
    double Kapazitaet = 0.0;
    // Strom in Prozent der Kapazität; unendlich bei Kapazität 0 und Strom > 0.
    double Auslastung = 0.0;
};

// Der Strom, den das Diagramm zeigt: beim Weg der ankommende, bei der
// Verzweigung der Durchsatz. Eingetragen wird, wer 'schwelleProzent' seiner
// Kapazität erreicht; sortiert nach Auslastung, höchste zuerst, sonst in
// Listen- und Artikelreihenfolge. Die Summe entfällt bei nur einem Artikel
// (sie gliche ihm).
std::vector<TEngpass> EngpaesseErmitteln(const TModell& modell, double schwelleProzent = EngpassVorgabeSchwelle);

// Texte für Tabelle, Kommandozeile und CSV (Windows-1252).
std::string EngpassArtText(TEngpassArt art);
std::string EngpassArtikelText(const TModell& modell, int artikel);
// Eine Nachkommastelle und Punkt oder Komma der Anzeige; "unendlich" bei Kapazität 0.
std::string AuslastungText(const TModell& modell, double auslastung);

} // namespace tessomir
