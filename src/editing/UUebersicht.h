#pragma once
// Die Übersicht: eine Zeile je Knoten und Weg mit Nummer, Art, Name,
// Kapazität und nach einer Berechnung Strom, Auslastung und Bilanz, dem
// Artikel der Anzeige folgend. Hier stehen die Regeln ohne Qt: was eine Zelle
// zeigt, wie gefiltert und sortiert wird, die CSV und der Hinweis am Zeiger.
#include <optional>
#include <string>
#include <vector>

#include "editing/USuche.h"
#include "model/UModell.h"

namespace tessomir {

enum class TSpalte : int { Nr, Art, Name, Kapazitaet, Strom, Auslastung, Zulauf, Ablauf, Differenz };
constexpr int SpaltenAnzahl = 9;

// Spaltenkopf (Windows-1252), etwa "Kapazit\xE4t".
const char* SpaltenTitel(TSpalte spalte);
bool IstZahlenspalte(TSpalte spalte);

// Was die Übersicht misst: der Artikel der Anzeige (oder SummeArtikel) und
// ob das Modell berechnet ist (sonst bleiben Strom, Auslastung und Bilanz leer).
struct TUebersichtSicht {
    int Artikel = 0;
    bool Berechnet = false;
};

// Zahl einer Zelle; leer, wo das Objekt in dieser Spalte nichts hat.
// Nr gibt die Objektnummer; Art und Name haben keine Zahl.
std::optional<double> Zellwert(const TFO& objekt, TSpalte spalte, const TUebersichtSicht& sicht);
// Text einer Zelle (Windows-1252), Zahlen wie die Anzeige des Modells.
std::string Zelltext(const TFO& objekt, TSpalte spalte, const TUebersichtSicht& sicht);

// Knoten und Wege, die 'suche' trifft (eine leere Suche alle), in Listenfolge.
std::vector<TFO*> UebersichtFiltern(const TModell& modell, const TSuche& suche);
// Sortiert stabil nach einer Spalte; Zeilen ohne Wert stehen in beiden
// Richtungen am Ende, Namen vergleichen wie die Suche.
void UebersichtSortieren(std::vector<TFO*>& zeilen, TSpalte spalte, bool absteigend, const TUebersichtSicht& sicht);

// Was die Übersicht zeigt, als CSV (RFC 4180, UTF-8, "." in Zahlen).
std::string UebersichtAlsCsv(const std::vector<TFO*>& zeilen, const TUebersichtSicht& sicht);

// Hinweis am Zeiger (Windows-1252, Zeilen mit '\n'): Name, Art und Nummer,
// Kapazität, Strom oder Bilanz je Artikel und die Auslastung.
std::string ObjektHinweis(const TFO& objekt, bool berechnet);

} // namespace tessomir
