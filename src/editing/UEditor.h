#pragma once
// Der Editor der Zeichenfläche: was Drücken, Bewegen und Loslassen der Maus
// in jedem Einfügemodus mit Modell, Auswahl und Ansicht tun, dazu die Regeln
// für neue Wege und die Vorgabekapazität. Ohne Oberfläche: was zu zeichnen
// ist, erfährt der Aufrufer über IEditorFlaeche.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "model/UKnoten.h"
#include "editing/USchritte.h"
#include "view/UAnsicht.h"

namespace tessomir {

// Tasten und Knöpfe, die bei einem Mausereignis gehalten werden; Doppelt:
// das Drücken gehört zu einem Doppelklick.
enum class TTaste : uint8_t { Umschalt, Alt, Strg, Links, Rechts, Mitte, Doppelt };

class TUmschaltung {
public:
    constexpr TUmschaltung() = default;
    constexpr TUmschaltung(std::initializer_list<TTaste> tasten) {
        for (const TTaste t : tasten) Bits = static_cast<uint8_t>(Bits | Bit(t));
    }
    constexpr bool Hat(TTaste t) const { return (Bits & Bit(t)) != 0; }
    constexpr TUmschaltung Mit(TTaste t) const {
        TUmschaltung u = *this;
        u.Bits = static_cast<uint8_t>(u.Bits | Bit(t));
        return u;
    }
    constexpr bool operator==(const TUmschaltung&) const = default;

private:
    static constexpr uint8_t Bit(TTaste t) { return static_cast<uint8_t>(1u << static_cast<unsigned>(t)); }
    uint8_t Bits = 0;
};

enum class TMausknopf { Links, Rechts, Mitte };

// Einfügemodus des Hauptfensters.
enum TEinfuegemodus : int { Deaktiviert = 0, Quelle = 1, Senke = 2, Verzweigung = 3, Weg = 4, Wandler = 5 };

// Was der Editor von der Oberfläche verlangt.
class IEditorFlaeche {
public:
    virtual ~IEditorFlaeche() = default;
    // Fläche löschen und das ganze Modell neu zeichnen.
    virtual void Neuzeichnen() = 0;
    // Das Modell ohne Löschen über die Fläche zeichnen (zeigt die Auswahl sofort).
    virtual void ModellUeberzeichnen() = 0;
    // Eine Gummifigur in Nicht-Xor: 'zeichnen' zeichnet über die Ansicht und
    // muss in jedem Fall aufgerufen werden, auch wenn nichts sichtbar wird.
    virtual void Gummi(const std::function<void()>& zeichnen) = 0;
    // Kontextmenü an einem Gerätepunkt der Fläche öffnen.
    virtual void PopupOeffnen(TBildpunkt punkt) = 0;
};

// Reicht alles an eine andere Zeichenfläche weiter und misst dabei den
// berührten Bereich, damit nach einer Gummifigur nur er neu erscheint.
class TMessendeFlaeche final : public IZeichenflaeche {
public:
    explicit TMessendeFlaeche(IZeichenflaeche& ziel) : Ziel(ziel) {}

    // Umschliesst alles Gezeichnete samt rechtem und unterem Randpunkt;
    // leer (Links > Rechts), solange nichts gezeichnet wurde.
    TRechteck Bereich() const;
    bool Beruehrt() const { return Links <= Rechts; }

    void StiftfarbeSetzen(TFarbe f) override { Ziel.StiftfarbeSetzen(f); }
    TFarbe Stiftfarbe() const override { return Ziel.Stiftfarbe(); }
    void StiftmodusSetzen(TStiftModus m) override { Ziel.StiftmodusSetzen(m); }
    TStiftModus Stiftmodus() const override { return Ziel.Stiftmodus(); }
    void PinselfarbeSetzen(TFarbe f) override { Ziel.PinselfarbeSetzen(f); }
    TFarbe Pinselfarbe() const override { return Ziel.Pinselfarbe(); }
    void SchriftSetzen(const TSchrift& s) override { Ziel.SchriftSetzen(s); }
    TSchrift Schrift() const override { return Ziel.Schrift(); }
    TTextgroesse TextAusmass(std::string_view text) override { return Ziel.TextAusmass(text); }
    void TextAusgeben(int32_t x, int32_t y, std::string_view text) override;
    void Polylinie(const std::vector<TBildpunkt>& punkte) override;
    void Polygon(const std::vector<TBildpunkt>& punkte) override;
    void Ellipse(const TRechteck& r) override;
    void Rechteck(const TRechteck& r) override;
    void RechteckFuellen(const TRechteck& r) override;
    void BewegeZu(int32_t x, int32_t y) override;
    void LinieZu(int32_t x, int32_t y) override;
    void ClipSetzen(const TRechteck& r) override { Ziel.ClipSetzen(r); }
    void ClipAufheben() override { Ziel.ClipAufheben(); }
    TFarbe Fensterhintergrund() const override { return Ziel.Fensterhintergrund(); }

private:
    void Dazu(int64_t x, int64_t y);
    void Dazu(const TRechteck& r);

    IZeichenflaeche& Ziel;
    TBildpunkt Stelle;
    int64_t Links = 1, Oben = 1, Rechts = 0, Unten = 0;
};

bool KannWegBeginnen(const TKnoten& knoten);
bool KannWegEnden(const TKnoten& knoten);
// Führt schon ein Ausgang von 'start' zu 'ziel'?
bool WegVorhanden(const TKnoten& start, const TKnoten& ziel);

class TEditor {
public:
    // Ansicht und Fläche müssen den Editor überleben.
    TEditor(TAnsicht& ansicht, IEditorFlaeche& flaeche);
    ~TEditor();
    TEditor(const TEditor&) = delete;
    TEditor& operator=(const TEditor&) = delete;

    void Druecken(int modus, TMausknopf knopf, TUmschaltung umschaltung, TBildpunkt punkt);
    void Bewegen(int modus, TUmschaltung umschaltung, TBildpunkt punkt);
    void Loslassen(int modus, TMausknopf knopf, TUmschaltung umschaltung, TBildpunkt punkt);

    // Steht gerade eine Gummifigur auf der Fläche? Dann zeichnet
    // FigurZeichnen sie (noch einmal: gelöscht) über die Ansicht.
    bool FigurSichtbar() const;
    void FigurZeichnen() const;
    // Verwirft einen angefangenen Weg und ein Ziehen, etwa bevor das Modell
    // oder der Modus wechselt.
    void Abbrechen();

    const TWeg* NeuerWeg() const { return Neu.get(); }
    // Das Modell, das die Maus bearbeitet; ohne Modell tut sie nichts. Bricht
    // vorher ab, was am vorigen angefangen war.
    void ModellSetzen(TModell* modell) {
        Abbrechen();
        Modell = modell;
    }
    // Jede Änderung an Modell wird dort ein Schritt; nullptr: keine Aufnahme.
    void VerlaufSetzen(TVerlauf* verlauf) { Verlauf = verlauf; }

private:
    void AuswahlDruecken(TUmschaltung umschaltung, TBildpunkt punkt);
    void KontextDruecken(TUmschaltung umschaltung, TBildpunkt punkt);
    void KnotenEinfuegen(int modus, TBildpunkt punkt);
    void WegBeginnen(TBildpunkt punkt);
    void FigurNachziehen(TBildpunkt punkt);
    void WegBeenden(TBildpunkt punkt);
    bool KannVerbinden(const TFO* ziel) const;

    TAnsicht& Ansicht;
    IEditorFlaeche& Flaeche;
    TModell* Modell = nullptr;
    // Der Weg, der gerade gezogen wird: am Startknoten, nicht in der Objektliste.
    std::unique_ptr<TWeg> Neu;
    // Was das Anbinden des neuen Wegs am Startknoten änderte.
    TAnbindung NeuStart;
    TVerlauf* Verlauf = nullptr;
};

// Beendet ein Ziehen: löscht den Umriss, setzt Aktpunkt auf den
// Trefferpunkt und nimmt Ziehen zurück; die ausgewählten Knoten gehen um den
// Ziehversatz als ein Schritt "Verschieben", Wege folgen ihnen. Modifiziert,
// sobald etwas ausgewählt ist.
void AuswahlVerschieben(TModell& modell, TAnsicht& ansicht, TVerlauf* verlauf);

// Überschrift und Frage des Eingabedialogs der Vorgabekapazität.
extern const char* const KapazitaetUeberschrift;
extern const char* const KapazitaetFrage;

// Prüft die Eingabe (0 bis 1000000) und gibt sie allen ausgewählten Wegen
// und Verzweigungen als Kapazität; "" dann, sonst der Fehlertext der Eingabe
// (nichts geändert). Modifiziert wird gesetzt, wenn ein Weg oder eine
// Verzweigung ausgewählt ist; dann nimmt 'verlauf' (wenn nicht nullptr) den
// Schritt auf.
std::string VorgabekapazitaetSetzen(TModell& modell, std::string_view eingabe, char trenner,
                                    TVerlauf* verlauf = nullptr);

} // namespace tessomir
