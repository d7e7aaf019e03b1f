#pragma once
// Die Einstellungen des Ansichtsdialogs als Werte seiner Felder: Laden aus dem
// Modell (auf die Bereiche der Felder begrenzt), Prüfen des eingegebenen
// Höchststroms und Übernehmen ins Modell. Ohne Qt.
#include <optional>
#include <string>
#include <string_view>

#include "model/UModell.h"

namespace tessomir {

class TVerlauf;

struct TBereich {
    int Min;
    int Max;
    int Schritt;
    int Begrenzt(long long wert) const;
};

inline constexpr TBereich SymbolGroesseBereich{2, 10, 1};
inline constexpr TBereich ProzStellenBereich{0, 5, 1};
inline constexpr TBereich StromGroesseBereich{20, 100, 5};
inline constexpr TBereich StromStellenBereich{0, 5, 1};
inline constexpr TBereich MaxDauerBereich{1, 600, 1}; // Sekunden
inline constexpr TBereich StromanzeigeBereich{0, 1, 1}; // 0 Analog, 1 Digital

// Index der Gruppe "Max. Strom".
inline constexpr int MaxStromBerechnetIndex = 0;
inline constexpr int MaxStromEingegebenIndex = 1;

inline constexpr const char* MaxStromUngueltig = "Max. Strom : Ung\xFCltige Eingabe";

struct TAnsichtWerte {
    bool QuellenBeschr = false;
    bool SenkenBeschr = false;
    bool VerzweigBeschr = false;
    bool WandlerBeschr = false;
    bool WegeBeschr = false;
    TSchrift Schrift;
    int SymbolGroesse = 4;
    int ProzStellen = 0;
    int StromGroesse = 30;
    int StromStellen = 2;
    int MaxStromIndex = MaxStromBerechnetIndex;
    std::string MaxStromText; // Windows-1252, wie eingegeben
    int Stromanzeige = 0;
    int MaxDauerSekunden = 1;
    bool operator==(const TAnsichtWerte&) const = default;
};

// Die Felder, wie sie das Modell zeigt; was außerhalb eines Feldbereichs
// liegt (eine Datei darf jede Ganzzahl enthalten), steht begrenzt da. Der
// Höchststrom erscheint nur, wenn er größer als 0 ist, mit WertText.
TAnsichtWerte EinstellungenLaden(const TModell& modell);

// "" wenn "Berechnet" gewählt ist oder der eingegebene Höchststrom eine
// endliche Zahl größer als 0 ist; sonst MaxStromUngueltig.
std::string EinstellungenFehler(const TAnsichtWerte& werte, char trenner);

// Schreibt alle Felder ins Modell, die Zahlen nochmals begrenzt; den
// Höchststrom nur bei "Eingegebener Wert". Vorher EinstellungenFehler.
// Als ein Schritt "Einstellungen" (ohne Verlauf: nur ausgeführt).
void EinstellungenUebernehmen(TModell& modell, const TAnsichtWerte& werte, char trenner, TVerlauf* verlauf = nullptr);

} // namespace tessomir
