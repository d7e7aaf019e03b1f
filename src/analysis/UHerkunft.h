#pragma once
// Herkunft der Ströme: das Netz ist linear, also ist der Strom eines Objekts
// die Summe dessen, was jede Quelle allein beiträgt. Je Quelle eine Rechnung
// mit allen anderen Quellen auf null; ein Wandler trägt die Herkunft seiner
// Artikel in die Artikel, die er erzeugt. Für eine Quelle umgekehrt: wo ihre
// Ströme enden, je Senke.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/UKnoten.h"

namespace tessomir {

struct THerkunftsZeile {
    int Artikel = 0;
    std::string ArtikelName;
    uint32_t FONr = 0; // die Quelle (bei einer Quelle als Ziel: die Senke)
    std::string Name;
    double Anteil = 0.0; // Prozent
    double Strom = 0.0;
};

struct THerkunft {
    uint32_t Objekt = 0;    // wonach gefragt wurde
    bool VonQuelle = false; // das Objekt ist eine Quelle: Zeilen nennen Senken
    bool Ok = true;
    std::string Grund;      // wenn nicht Ok: warum (Windows-1252)
    std::vector<THerkunftsZeile> Zeilen;
    // Je Quelle (Reihenfolge der Quellen) der Strom jedes Wegs in ihrer
    // Rechnung, in der Summe aller Artikel (ein Wandler wechselt den Artikel
    // unterwegs): zum Hervorheben der Wege, die ein Beitrag nimmt.
    std::vector<uint32_t> Quellen;
    std::vector<std::unordered_map<uint32_t, double>> Wegstroeme;
};

// Die Wege, die der Beitrag einer Zeile nimmt: Wege mit Strom aus ihrer
// Quelle, von denen aus das Ziel (das Objekt, bei einer Quelle die Senke der
// Zeile) zu erreichen ist.
std::vector<uint32_t> WegeDesBeitrags(const TModell& modell, const THerkunft& h, size_t zeile);

// Wirft EModellErzeugen, wenn das Objekt weder Quelle, Senke, Verzweigung noch Weg ist.
THerkunft HerkunftBerechnen(const TModell& modell, uint32_t objektNr);

// CSV (RFC 4180, UTF-8, "."): Artikel,QuelleFONr,Quelle,Anteil,Strom oder,
// für eine Quelle, Artikel,SenkeFONr,Senke,Anteil,Strom.
std::string HerkunftAlsCsv(const THerkunft& h);

} // namespace tessomir
