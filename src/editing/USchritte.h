#pragma once
// Die Schritte des Verlaufs und die Befehle, die sie bauen und mit
// Ausfuehren ausführen: Knoten einfügen, Weg zeichnen, Verschieben, Werte,
// Matrix, Einstellungen, Artikel, Löschen.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editing/UMatrixDifferenz.h"
#include "editing/UVerlauf.h"
#include "persistence/UWerteTabelle.h"
#include "model/UModell.h"

namespace tessomir {

// Schritte, gebaut vor dem Ausführen. Einfügen an 'stelle' der Objektliste.
std::unique_ptr<TSchritt> KnotenEinfuegenSchritt(std::unique_ptr<TKnoten> knoten, size_t stelle);
// Ein Weg, dessen Start schon angebunden ist ('start'); das Ausführen bindet
// das Ziel an und legt ihn an 'stelle' in die Liste.
std::unique_ptr<TSchritt> WegZeichnenSchritt(std::unique_ptr<TWeg> weg, size_t stelle, TAnbindung start,
                                             TKnoten& ziel);

struct TVerschiebung {
    TFO* Objekt;
    TPunkt Alt;
    TPunkt Neu;
};
std::unique_ptr<TSchritt> VerschiebenSchritt(std::vector<TVerschiebung> verschiebungen);

// Name und Kapazität eines Objekts vor und nach einer Änderung.
struct TObjektWerte {
    TFO* Objekt;
    std::string AltName;
    double AltKapazitaet;
    std::string NeuName;
    double NeuKapazitaet;
};
// Die jetzigen Werte als alte und neue; der Aufrufer trägt die neuen ein.
TObjektWerte ObjektWerteVorher(TFO& objekt);
std::unique_ptr<TSchritt> ObjektWerteSchritt(std::string name, std::vector<TObjektWerte> werte);
// Name und Kapazität wie EigenschaftenUebernehmen, als Schritt
// "Eigenschaften"; false (und kein Schritt), wenn sich nichts ändert.
bool EigenschaftenAendern(TFO& objekt, const std::string& name, double kapazitaet, TVerlauf* verlauf);

std::unique_ptr<TSchritt> MatrixSchritt(TKnoten& knoten, TDyn3DMatrix alt, TDyn3DMatrix neu);
// Gibt dem Knoten die Matrix als Schritt "Matrix"; false (und kein Schritt),
// wenn sie der seinen gleicht.
bool MatrixAendern(TKnoten& knoten, const TDyn3DMatrix& neu, TVerlauf* verlauf);

// Was der Einstellungsdialog am Modell ändert.
struct TModellEinstellungen {
    TSchrift Schrift;
    bool QuellenBeschr = false;
    bool SenkenBeschr = false;
    bool VerzweigBeschr = false;
    bool WandlerBeschr = false;
    bool WegeBeschr = false;
    int SymbolGroesse = 0;
    int StromGroesse = 0;
    int ProzStellen = 0;
    int StromStellen = 0;
    int Stromanzeige = 0;
    bool MaxStromBer = true;
    double MaxStrom = 0.0;
    uint32_t MaxBerDauer = 0;

    static TModellEinstellungen Aus(const TModell& modell);
    void In(TModell& modell) const;
    bool operator==(const TModellEinstellungen&) const = default;
};
std::unique_ptr<TSchritt> EinstellungenSchritt(TModellEinstellungen alt, TModellEinstellungen neu);

// Befehle, die ihren Schritt selbst bauen; ohne Verlauf (nullptr) nur ausführen.
// Löscht die Auswahl samt den Wegen ihrer Knoten; Modifiziert, wenn etwas
// ausgewählt war.
void AuswahlLoeschen(TModell& modell, TVerlauf* verlauf);
// Die Werte einer eingelesenen Tabelle als ein Schritt "Werte einlesen".
std::unique_ptr<TSchritt> WerteEinlesenSchritt(std::vector<TWertAenderung> aenderungen);
// Wie die gleichnamigen Regeln des Artikeldialogs.
int ArtikelHinzufuegen(TModell& modell, const std::string& name, TVerlauf* verlauf);
int ArtikelEntfernen(TModell& modell, int i, TVerlauf* verlauf);
bool ArtikelUmbenennen(TModell& modell, int i, const std::string& name, TVerlauf* verlauf);

} // namespace tessomir
