#pragma once
// Schlaufen: die Kreise des Netzes als stark zusammenhängende Komponenten,
// je Schlaufe ihre Verstärkung je Umlauf und je Durchgang und was die
// Berechnung mit ihr tut.
#include <string>
#include <vector>

#include "model/UModell.h"

namespace tessomir {

enum class TSchlaufenUrteil { KlingtAb, KlingtNieAb, Waechst };

struct TSchlaufenGewinn {
    // Artikel der Verstärkung; SchlaufenAlleArtikel, wenn ein Wandler der Schlaufe
    // einen Artikel in einen anderen umsetzt.
    int Artikel = 0;
    // Spektralradius der Übertragung eines Durchgangs (Anteile / 100, Wandlerfaktoren).
    double Verstaerkung = 0.0;
    // Was von einer Einheit nach einem Umlauf zurückkommt: Verstaerkung hoch Schritte,
    // beim einfachen Kreis das Produkt seiner Anteile und Faktoren.
    double VerstaerkungJeUmlauf = 0.0;
    // Wege des gezeigten Umlaufs.
    size_t Schritte = 0;
    TSchlaufenUrteil Urteil = TSchlaufenUrteil::KlingtAb;
    // Nur bei KlingtAb: etwa so viele Durchgänge, bis die Änderung unter 1e-10 liegt.
    long long Durchgaenge = 0;
};

constexpr int SchlaufenAlleArtikel = -1;

struct TSchlaufe {
    // Ein Umlauf durch alle Knoten der Komponente, der Anfang am Ende wiederholt;
    // bei verschränkten Kreisen kommen Knoten mehrfach vor.
    std::vector<const TKnoten*> Umlauf;
    size_t AnzahlKnoten = 0;
    std::vector<TSchlaufenGewinn> Gewinne;
};

// Schlaufen in der Reihenfolge ihres ersten Knotens in der Objektliste. Der
// Umfang der Änderung, der abklingen muss, ist die Summe aller Liefermengen.
std::vector<TSchlaufe> SchlaufenErmitteln(const TModell& modell);

// Zeilen für Protokoll und Kommandozeile (Windows-1252).
std::vector<std::string> SchlaufenZeilen(const TModell& modell, const std::vector<TSchlaufe>& schlaufen);

// Erste Zeile im Protokoll vor den Zeilen der Analyse.
extern const char* const SchlaufenAnfangZeile;
// Letzte Zeile nach einer Berechnung, die an der Zeitgrenze oder im Überlauf endete.
extern const char* const SchlaufenHinweisZeile;

// Hat das Netz einen Kreis? Ohne Verstärkungen, daher auch für große Netze schnell.
bool HatSchlaufe(const TModell& modell);

bool AlleSchlaufenKlingenAb(const std::vector<TSchlaufe>& schlaufen);

// Spektralradius einer nichtnegativen Matrix aus Einträgen (von, nach, Gewicht)
// über 'anzahl' Zustände; negative Gewichte zählen mit ihrem Betrag (obere Schranke).
struct TUebergang {
    size_t Von;
    size_t Nach;
    double Gewicht;
};
double Spektralradius(size_t anzahl, const std::vector<TUebergang>& uebergaenge);

} // namespace tessomir
