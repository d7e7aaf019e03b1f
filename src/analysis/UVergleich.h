#pragma once
// Vergleich mit einer Variante: zwei berechnete Modelle desselben Netzes,
// Objekte nach Nummer einander zugeordnet; je Weg und Verzweigung und je
// Artikel (oder in der Summe) beide Ströme und ihre Differenz B − A.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/UKnoten.h"

namespace tessomir {

struct TVergleichsZeile {
    uint32_t FONr = 0;
    const TFO* ObjektA = nullptr; // im Modell A (dem aktuellen)
    std::string Name;             // wie in A, Windows-1252
    int Artikel = 0;              // SummeArtikel für die Summe
    std::string ArtikelName;      // "Summe" für die Summe
    double StromA = 0.0, StromB = 0.0;
    double Differenz() const { return StromB - StromA; }
    // Prozent von StromA; leer, wo StromA 0 ist.
    std::optional<double> Prozent() const;
};

struct TVergleich {
    // Erst die Wege, dann die Verzweigungen (mit ihrem Durchsatz), je in
    // Listenfolge von A und Artikelfolge.
    std::vector<TVergleichsZeile> Zeilen;
    // Objekte (Knoten und Wege), die es nur in einem der beiden gibt: "Titel #Nr".
    std::vector<std::string> NurInA, NurInB;
    // Gleiche Nummer, anderer Name oder andere Art: je ein Satz.
    std::vector<std::string> Abweichungen;
};

// Vergleicht die Ströme, wie sie in den Modellen stehen (beide berechnet).
// 'summe': eine Zeile je Objekt mit der Summe aller Artikel, sonst eine je Artikel.
TVergleich Vergleichen(const TModell& a, const TModell& b, bool summe);
// CSV (RFC 4180, UTF-8, "."): FONr,Name,Artikel,StromA,StromB,Differenz,Prozent.
std::string VergleichAlsCsv(const TVergleich& v);
// Die Zeilen nach dem Betrag der Differenz, grösste zuerst (bei Gleichstand
// in ihrer Folge).
std::vector<const TVergleichsZeile*> NachGroesse(const TVergleich& v);

} // namespace tessomir
