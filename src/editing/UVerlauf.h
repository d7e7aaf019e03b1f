#pragma once
// Rückgängig und Wiederholen: je Änderung am Modell ein Schritt, der nur hält,
// was sich geändert hat (Stellen, Scheiben, alte und neue Werte), damit das
// Zurücknehmen die Modelldatei Byte für Byte wiederherstellt und der
// Speicher mit der Änderung wächst, nicht mit dem Modell. Die Auswahl gehört
// zu keinem Schritt. Jede Änderung mit Rückgängig geht durch Ausfuehren:
// ein Schritt wird erst gebaut, dann ausgeführt und aufgenommen.
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/UDyn3DMatrix.h"
#include "model/UModell.h"

namespace tessomir {

class TKnoten;
class TWeg;

class TSchritt {
public:
    virtual ~TSchritt() = default;
    // Name für "Rückgängig: ..." (Windows-1252).
    virtual std::string Name() const = 0;
    virtual void Rueckgaengig(TModell& modell) = 0;
    virtual void Wiederholen(TModell& modell) = 0;
    // Das erste Ausführen; meist dasselbe wie Wiederholen.
    virtual void Ausfuehren(TModell& modell) { Wiederholen(modell); }
    // Bytes, die der Schritt hält, samt verwahrter Objekte.
    virtual size_t Speicherbedarf() const = 0;
};

class TVerlauf;

// Die eine Art, das Modell mit Rückgängig zu ändern: führt den Schritt aus,
// setzt Modifiziert und nimmt ihn in den Verlauf auf (ohne Verlauf: nur
// ausführen). Wirft das Ausführen, wird nichts aufgenommen.
void Ausfuehren(TModell& modell, TVerlauf* verlauf, std::unique_ptr<TSchritt> schritt);

class TVerlauf {
public:
    // So viele Schritte bleiben; der älteste fällt zuerst heraus.
    static constexpr size_t Hoechstzahl = 200;

    bool KannRueckgaengig() const { return Stand > 0; }
    bool KannWiederholen() const { return Stand < Schritte.size(); }
    std::string RueckgaengigName() const;
    std::string WiederholenName() const;
    // Leeren die Auswahl und setzen Modifiziert nach der Sicherungsmarke.
    void Rueckgaengig(TModell& modell);
    void Wiederholen(TModell& modell);
    // Nach Neu, Öffnen und Schliessen: keine Schritte, der Stand gilt als gesichert.
    void Leeren();
    // Nach dem Speichern.
    void GesichertMarkieren() { Gesichert = Stand; }
    bool AmGesichertenStand() const { return Gesichert && *Gesichert == Stand; }
    size_t Anzahl() const { return Schritte.size(); }
    size_t Speicherbedarf() const;

private:
    friend void Ausfuehren(TModell& modell, TVerlauf* verlauf, std::unique_ptr<TSchritt> schritt);
    // Nimmt einen eben ausgeführten Schritt auf; verwirft, was wiederholbar war.
    void Aufnehmen(std::unique_ptr<TSchritt> schritt);

    std::deque<std::unique_ptr<TSchritt>> Schritte;
    size_t Stand = 0; // Schritte[0, Stand) sind ausgeführt
    std::optional<size_t> Gesichert = 0;
};

// Unterschied zweier Matrizen: gleich, eine Scheibe mehr oder weniger in einer
// Dimension (nur die Scheibe wird gehalten) oder, wenn nichts davon passt, beide ganz.
class TMatrixDifferenz {
public:
    static TMatrixDifferenz Zwischen(const TDyn3DMatrix& vorher, const TDyn3DMatrix& nachher);
    bool Gleich() const { return Art == TArt::Gleich; }
    TDyn3DMatrix Nachher(const TDyn3DMatrix& vorher) const;
    TDyn3DMatrix Vorher(const TDyn3DMatrix& nachher) const;
    size_t Speicherbedarf() const;

private:
    enum class TArt { Gleich, Hinzu, Weg, Ganz };
    TArt Art = TArt::Gleich;
    int Dim = 0;
    int Index = 0;
    std::vector<double> Werte;
    std::optional<TDyn3DMatrix> Alt;
    std::optional<TDyn3DMatrix> Neu;
};

// Die Scheibe 'index' der Dimension 'dim' (1..3) in Zeilenfolge der beiden anderen.
std::vector<double> ScheibeLesen(const TDyn3DMatrix& m, int dim, int index);
// Kopie mit der Scheibe an 'index'; ERangeError, wenn Stelle oder Größe nicht passen.
TDyn3DMatrix MitScheibe(const TDyn3DMatrix& m, int dim, int index, const std::vector<double>& werte);

// Ein Wegende an einem Knoten: die Stelle unter dessen Aus- oder Eingängen
// und was das Anbinden an seiner Matrix ändert.
struct TAnbindung {
    TWeg* Weg = nullptr;
    TKnoten* Knoten = nullptr; // nullptr: das Ende hing an keinem Knoten
    bool Ausgang = true;
    int Stelle = -1;
    TMatrixDifferenz Matrix; // vom gelösten zum angebundenen Stand

    // Bindet an der alten Stelle an; die Matrix wird genau die angebundene.
    void Anbinden() const;
    void Loesen() const;
    size_t Speicherbedarf() const;
};

// Bindet das Ende an und merkt sich, was dabei geschah.
TAnbindung AnbindenUndMerken(TWeg& weg, TKnoten& knoten, bool ausgang);
// Löst das Ende vom Start- (ausgang) oder Zielknoten und merkt es sich.
TAnbindung LoesenUndMerken(TWeg& weg, bool ausgang);

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
// Wie die gleichnamigen Regeln des Artikeldialogs.
int ArtikelHinzufuegen(TModell& modell, const std::string& name, TVerlauf* verlauf);
int ArtikelEntfernen(TModell& modell, int i, TVerlauf* verlauf);
bool ArtikelUmbenennen(TModell& modell, int i, const std::string& name, TVerlauf* verlauf);

} // namespace tessomir
