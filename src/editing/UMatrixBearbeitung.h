#pragma once
// Regeln des Matrixeditors ohne Oberfläche: Aufbau des Rasters je Knotenart
// mit seinen festen Texten und Farben, die Zahlentexte eines Artikels, ihre
// Prüfung, die Anteilshilfen und der Vergleich der Arbeitskopie mit der Matrix
// des Knotens. Der Editor arbeitet nur auf der Kopie; die Matrix des Knotens
// ändert erst MatrixUebernehmen.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/UDyn3DMatrix.h"

namespace tessomir {

class TKnoten;
class TModell;

// Die Zahlen entsprechen KnotenArt des Editors.
enum class TMatrixArt : int { Keine = -1, Quelle = 0, Verzweigung = 1, Senke = 2, Wandler = 3 };

TMatrixArt MatrixArtVon(const TKnoten& knoten);
// Hilfethema des Editors je Art ("" für Keine).
const char* MatrixHilfethema(TMatrixArt art);
// "Matrix [" + Name + "]"; ohne Knoten "Matrix".
std::string MatrixTitel(const TKnoten* knoten);

// Hintergrund einer Rasterzelle; die Oberfläche setzt die Farben ein.
enum class TZellfarbe { Eingabe, Ecke, Kopfspalte, Kopfzeile, Weiss };
struct TRgb {
    int R, G, B;
    bool operator==(const TRgb&) const = default;
};
inline constexpr TRgb EingabeRgb{213, 255, 255};
inline constexpr TRgb KopfspalteRgb{255, 168, 168};
inline constexpr TRgb KopfzeileRgb{159, 244, 166};
inline constexpr TRgb ArtikelanzeigeRgb{255, 255, 168};

// Was der Dialog zeigt, wenn eine Zelle keine Zahl enthält.
inline constexpr const char* UngueltigeEingabe = "Ung\xFC" "ltige Eingabe";

inline constexpr int MatrixSpaltenbreite = 100;
inline constexpr int MatrixZeilenhoehe = 20;

// Innenmaß des Fensters für ein Raster: Spalten auf 5 .. 15, Zeilen auf
// 5 .. 40 begrenzt.
struct TMass {
    int Breite, Hoehe;
    bool operator==(const TMass&) const = default;
};
TMass MatrixFenstermass(int spalten, int zeilen);

// Eine eingetippte Zahl einer Eingabezelle: mit dem Dezimalzeichen der
// Anzeige oder mit "."; unendlich und NAN gelten nicht, mit ihnen rechnet
// kein Netz. Leer, wenn der Text keine solche Zahl ist.
std::optional<double> MatrixZahl(std::string_view text, char trenner);

struct TZellort {
    int Spalte, Zeile;
    bool operator==(const TZellort&) const = default;
};

// Raster und Arbeitskopie eines Knotens, Zellen als (Spalte, Zeile).
class TMatrixBearbeitung {
public:
    // Die Zahlentexte folgen dem Modell (Stellen, Dezimalzeichen).
    explicit TMatrixBearbeitung(const TModell& modell);

    // Kopiert die Matrix und baut das Raster mit den Namen dieses Augenblicks.
    void KnotenSetzen(const TKnoten& knoten);
    // Beim Wandler die Artikelnamen in Spalte 0; zeigt 'anzeige' (außerhalb: 0).
    void ArtikelListeSetzen(const std::vector<std::string>& artikel, int anzeige);

    TMatrixArt Art() const { return ArtDesKnotens; }
    int Spalten() const { return SpaltenZahl; }
    int Zeilen() const { return ZeilenZahl; }
    int FesteSpalten() const { return FesteSpaltenZahl; }
    int FesteZeilen() const { return FesteZeilenZahl; }
    // Das Raster nimmt Eingaben an (nicht bei der Senke).
    bool Editierbar() const { return RasterEditierbar; }
    bool IstFest(int spalte, int zeile) const { return spalte < FesteSpaltenZahl || zeile < FesteZeilenZahl; }
    bool IstEditierbar(int spalte, int zeile) const;
    TZellfarbe Farbe(int spalte, int zeile) const;
    // Erste Zelle, die der Anwender wählen kann.
    TZellort ErsteZelle() const { return {FesteSpaltenZahl, FesteZeilenZahl}; }

    const std::string& Text(int spalte, int zeile) const;
    void TextSetzen(int spalte, int zeile, std::string text);

    int AnzeigeArtikel() const { return Angezeigt; }
    int AnzahlArtikel() const { return static_cast<int>(Artikel.size()); }
    // " " + Name des gezeigten Artikels.
    std::string ArtikelAnzeige() const;

    void ArtikelLaden(int a);
    // Liest die Texte in die Arbeitskopie; ein Text, der keine Zahl ist,
    // wirft EConvertError, bevor eine Zelle geändert ist.
    void ArtikelSpeichern(int a);
    // Erste Eingabezelle (Spalte für Spalte), deren Text keine Zahl ist.
    std::optional<TZellort> UngueltigeZelle() const;
    // Keine solche Zelle? Sonst zeigt der Dialog UngueltigeEingabe.
    bool EingabePruefen() const { return !UngueltigeZelle(); }

    bool KannVor() const { return Angezeigt < AnzahlArtikel() - 1; }
    bool KannZurueck() const { return Angezeigt > 0; }
    // Prüft, speichert den gezeigten Artikel und zeigt 'a'; false ohne Wechsel
    // (auch bei einer ungültigen Zelle).
    bool ArtikelWechseln(int a);
    // OK: prüft und speichert den gezeigten Artikel.
    bool Abschliessen();

    // Anteilshilfen: nur bei der Verzweigung und ab Zeile 2.
    bool AnteilshilfeMoeglich(int zeile) const;
    // Zeile 'zeile' je Spalte 100, alle anderen Anteile 0.
    void AlleZumAusgang(int zeile);
    // Die Zelle ergänzt ihre Spalte auf 100; ist ein anderer Anteil der
    // Spalte keine Zahl, piept es und nichts ändert sich.
    bool ErgaenzenAuf100(int spalte, int zeile);
    // In der Spalte die Zelle 100, die übrigen Anteile 0.
    void HundertProzent(int spalte, int zeile);

    // Ein Block aus einer Tabellenkalkulation (Zeilen, Zellen durch Tabulatoren
    // getrennt, "," oder "." als Dezimalzeichen) ab (spalte, zeile): eine Zahl
    // wird zum Text der Zelle, anderes steht als Text da und fällt bei der
    // üblichen Prüfung auf. Zellen ausserhalb des Rasters und feste bleiben
    // unberührt. Gibt die Zahl der gesetzten Zellen.
    int BlockEinfuegen(int spalte, int zeile, std::string_view block);

    const TDyn3DMatrix& Arbeitsmatrix() const { return *Arbeit; }

private:
    size_t Stelle(int spalte, int zeile) const;
    std::string Zahlentext(double wert, bool prozent) const;
    // Zelle der Arbeitskopie hinter einer Rasterzelle des Artikels a.
    struct TZuordnung {
        TZellort Ort;
        int B, C;
        enum { Wert, Prozent, Faktor } Format;
        bool Speichern; // wird zurückgelesen
    };
    std::vector<TZuordnung> Zuordnungen(int a) const;
    std::vector<TZellort> PruefZellen() const;

    const TModell& Modell_;
    std::unique_ptr<TDyn3DMatrix> Arbeit;
    TMatrixArt ArtDesKnotens = TMatrixArt::Keine;
    int SpaltenZahl = 0;
    int ZeilenZahl = 0;
    int FesteSpaltenZahl = 0;
    int FesteZeilenZahl = 0;
    bool RasterEditierbar = true;
    std::vector<std::string> Texte;
    std::vector<std::string> Artikel;
    int Angezeigt = 0;
};

// Zellen gleich, NAN gleich NAN.
bool MatrizenGleich(const TDyn3DMatrix& a, const TDyn3DMatrix& b);

} // namespace tessomir
