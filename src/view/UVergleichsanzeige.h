#pragma once
// Das Diagramm im Vergleich mit einer Variante: an der Stelle der
// Stromanzeige jedes Wegs und jeder Verzweigung die Differenz B − A als
// Balken, der von der Mitte nach rechts (mehr, blau) oder links (weniger,
// orange) wächst, dazu die Zahl und ihr Prozent vom Strom in A.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "analysis/UVergleich.h"
#include "view/UAnsicht.h"

namespace tessomir {

constexpr TFarbe Mehrfarbe{0, 114, 178};
constexpr TFarbe Wenigerfarbe{230, 159, 0};

class TVergleichsanzeige {
public:
    // Aus zwei Vergleichen derselben Modelle: je Artikel und in der Summe.
    TVergleichsanzeige(const TVergleich& jeArtikel, const TVergleich& summe);
    // Strom in A und B eines Objekts; 'artikel' darf SummeArtikel sein. Leer,
    // wo das Objekt nicht verglichen wurde.
    const TVergleichsZeile* Zeile(uint32_t fonr, int artikel) const;
    // Der grösste Betrag einer Differenz im Artikel: er füllt den halben Balken.
    double GroessteDifferenz(int artikel) const;

private:
    std::unordered_map<uint64_t, TVergleichsZeile> Zeilen;
    std::unordered_map<int, double> Groesste;
};

// Zeichnet die Differenz eines Wegs oder einer Verzweigung, wenn die Ansicht
// einen Vergleich hat; true, wenn sie das tat (dann keine Stromanzeige).
bool DifferenzZeichnen(const TFO& objekt, TAnsicht& ansicht);

} // namespace tessomir
