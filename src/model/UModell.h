#pragma once
// Flussobjekte, Objektliste mit Auswahl, Klassenverzeichnis und das Modell.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/UWerte.h"
#include "base/UText.h"
#include "model/UZeilen.h"

namespace tessomir {

class IProtokoll;
class TFO;
class TKnoten;
class TModell;
class TWeg;

// Nächste Zufallszahl 0 .. bereich-1 (lineare Kongruenz); rückt 'saat' weiter.
int Zufallszahl(uint32_t& saat, int bereich);

class TFO {
public:
    // Jedes Objekt gehört zu genau einem Modell: von ihm hat es Nummer und
    // Bezugspunkt, und dessen Artikel und Einstellungen gelten für es. Die
    // Klasse nennt ihren Namen selbst, weil der Vorgabename ihn braucht.
    explicit TFO(TModell& modell, const char* klasse = "TFO");
    virtual ~TFO() = default;
    TFO(const TFO&) = delete;
    TFO& operator=(const TFO&) = delete;

    virtual const char* Klassenname() const { return "TFO"; }
    virtual double Strom() const { return 0.0; }
    // Schnelle Artprüfung für die Durchgänge der Berechnung.
    virtual TKnoten* AlsKnoten() { return nullptr; }
    virtual const TKnoten* AlsKnoten() const { return nullptr; }
    virtual TWeg* AlsWeg() { return nullptr; }
    virtual const TWeg* AlsWeg() const { return nullptr; }

    // Schlüsselzeilen des Objekts (ohne Zeilenende).
    std::vector<std::string> Beschreibung() const;
    virtual void Schreiben(TZeilenSchreiber& aus) const;
    // Liest die Zeilen nach der Klassenzeile in der Reihenfolge von Schreiben.
    virtual void Lesen(TZeilenLeser& ein);
    // Für Meldungen und Protokoll; ein sehr langer Name erscheint gekürzt.
    std::string Titel() const { return "[ " + Gekuerzt(Name) + " ]"; }

    // Das Modell, zu dem das Objekt gehört; beim Modell selbst es selbst.
    TModell* const Modell;
    TPunkt Refpunkt;
    std::string Name;
    uint32_t FONr = 0;
    double Kapazitaet = 1000000.0;

protected:
    // Nur für das Modell: es nummeriert sich selbst, sobald sein Zähler steht.
    explicit TFO(TModell* selbst) : Modell(selbst) {}
    // Nächste Nummer des Modells, Vorgabename und zufälliger Bezugspunkt.
    void Nummerieren(const char* klasse);
};

using TFOErzeuger = std::unique_ptr<TFO> (*)(TModell&);

struct TFOKlasse {
    const char* Name;
    TFOErzeuger Erzeugen;
};

// Klasse zu einem Namen aus der Datei; nullptr für unbekannte Namen.
const TFOKlasse* TFOKlassenAusName(std::string_view name);

struct TAuswahlEintrag {
    std::string Name;
    TFO* Objekt;
};

class TFOListe {
public:
    using TObjekte = std::deque<std::unique_ptr<TFO>>;

    void Hinzufuegen(std::unique_ptr<TFO> objekt, bool amEnde);
    // An die Stelle 'stelle' der Objektliste (Rückgängig legt Objekte dorthin zurück).
    void Einfuegen(size_t stelle, std::unique_ptr<TFO> objekt);
    // Löst das Objekt aus der Liste (nicht aus der Auswahl) und gibt es zurück.
    std::unique_ptr<TFO> Entfernen(TFO* objekt);
    TFO* NrSuchen(uint32_t nr) const;
    void Auswaehlen(TFO* objekt, bool umschalten);
    void AllesAuswaehlen();
    void AuswahlLeeren() { AuswahlListe.clear(); }
    // Welcher von mehreren übereinanderliegenden Wegen zuletzt getroffen wurde.
    mutable int WegZyklus = 0;
    bool IstAusgewaehlt(const TFO* objekt) const;

    bool IstEinzelneVerzweigung() const;
    bool IstEinzelneQuelle() const;
    bool IstEinzelneSenke() const;
    bool IstEinzelnerWandler() const;
    bool IstEinzelnerWeg() const;
    bool IstEinzelnerKnoten() const;

    size_t Anzahl() const { return Objekte.size(); }
    TFO* Objekt(size_t i) const { return Objekte[i].get(); }
    const TObjekte& Alle() const { return Objekte; }
    // Nur die Knoten, in Listenreihenfolge; die Durchgänge der Berechnung
    // brauchen die Wege nicht anzufassen.
    const std::vector<TKnoten*>& Knoten() const { return KnotenListe; }
    const std::vector<TAuswahlEintrag>& Auswahl() const { return AuswahlListe; }
    void Leeren();
    // Zählt jedes Hinzufügen und Entfernen: wer sich Zeiger auf Objekte merkt
    // (die Übersicht), sieht daran, ob sie noch gelten.
    uint64_t Stand() const { return Aenderungen; }

private:
    template <class T> bool IstEinzelnes() const;

    TObjekte Objekte;
    uint64_t Aenderungen = 0;
    std::vector<TKnoten*> KnotenListe;
    std::vector<TAuswahlEintrag> AuswahlListe;
};

// Schrift der Beschriftungen, wie sie in der Datei steht.
struct TSchrift {
    std::string Name = "Arial";
    int Zeichensatz = 1;          // 0..255
    int32_t Farbe = -2147483640;  // Systemfarbe Fenstertext
    int Hoehe = -13;              // negativ: Zeichenhöhe in Pixeln
    int Teilung = 0;              // 0 Vorgabe, 1 variabel, 2 fest
    int Stil = 0;                 // 1 fett, 2 kursiv, 4 unterstrichen, 8 durchgestrichen
    bool operator==(const TSchrift&) const = default;
};

std::string TextAusSchrift(const TSchrift& schrift);
TSchrift SchriftAusText(std::string_view text);

// Bewertung eines Eingangsdurchgangs; der größere Wert gewinnt.
enum TBerechnungsZustand : int {
    Zeitueberschreitung = -1,
    Konvergierend = 0,
    Stabil = 1,
    Zunehmend = 2,
    Ueberlauf = 3,
};

class TModell : public TFO {
public:
    TModell();
    ~TModell() override;

    const char* Klassenname() const override { return "TModell"; }

    void ArtikelSetzen(int i);
    int AnzahlArtikel() const { return static_cast<int>(ArtikelListe.size()); }
    void ArtikelEinfuegen(const std::string& name);
    void ArtikelLoeschen(int k);
    void ObjekteLoeschen();
    bool IstNeu() const { return DateiName == "NEU.TSR"; }

    void KapazitaetSetzen(double wert);
    // Bezug der Balkenanzeigen: berechneter oder eingegebener Höchststrom.
    double Bezugsmaximum() const { return MaxStromBer ? MaxStromBerechnet : MaxStrom; }
    double Prozentwert(double strom) const;
    TPunkt Ausdehnung() const;
    std::string ProzentText(double wert) const;
    std::string WertText(double wert) const;
    double StromAufloesung() const;
    void LogLeeren() const;
    void LogZeile(const std::string& zeile) const;

    // Für Meldungen: " |Artikelname| " und " 2. Eingang ".
    std::string ArtikelText(int artikel) const;
    static std::string EingangText(int nummer);

    bool Modifiziert = false;
    int AktArtikel = 0;
    int Laedt = 0;
    TFOListe FOListe;
    std::string DateiName = "NEU.TSR";
    std::vector<std::string> ArtikelListe{"Artikel1"};
    double MaxStromBerechnet = -1.0;
    double MaxStrom = -1.0;
    bool MaxStromBer = true;
    bool SummeAllerArtikel = false;
    int DatenformatVer = 3;
    int GeleseneVersion = 3;
    TSchrift Schrift;
    bool QuellenBeschr = false;
    bool SenkenBeschr = false;
    bool VerzweigBeschr = false;
    bool WandlerBeschr = false;
    bool WegeBeschr = false;
    int SymbolGroesse = 4;
    int StromGroesse = 30;
    int ProzStellen = 0;
    int StromStellen = 2;
    int Stromanzeige = 0;
    uint32_t MaxBerDauer = 1000;
    // Nummer, die das nächste neue Objekt erhält.
    uint32_t FONrZaehler = 0;
    // Saat der Bezugspunkte neuer Objekte; jedes Modell beginnt bei 0.
    uint32_t ZufallsSaat = 0;
    // Wohin LogZeile schreibt; nullptr: ins Protokoll der Plattform. Ein
    // Modell, das neben anderen rechnet, braucht ein eigenes.
    IProtokoll* Protokoll = nullptr;
    // Dezimalzeichen der Anzeige (WertText, ProzentText); die Datei nimmt immer '.'.
    char Anzeigetrenner = '.';

private:
    // Das ganze Modell schreibt Schreiben(const TModell&, ...) der Dateischicht;
    // die Zeilen des Modells als blosses Objekt braucht niemand.
    using TFO::Schreiben;
};

// Eigenschaften eines einzelnen Objekts, wie der Eigenschaftendialog sie
// prüft und übernimmt.
// Warum 'name' kein Objektname sein kann, oder "", wenn er es kann. Ein
// Zeilenumbruch im Namen zerbräche die zeilenweise Modelldatei.
std::string NamensFehler(std::string_view name);
// Eine Kapazität haben nur Verzweigungen und Wege.
bool HatKapazitaet(const TFO& objekt);
// Übernimmt den Namen (Groß- und Kleinschreibung zählt) und, wo es sie gibt,
// die Kapazität; Kapazitäten, die sich um höchstens 1e-10 unterscheiden,
// gelten als gleich. true, wenn sich etwas geändert hat.
bool EigenschaftenUebernehmen(TFO& objekt, const std::string& name, double kapazitaet);
struct TEigenschaften {
    std::string Name;
    double Kapazitaet;
};
// Was EigenschaftenUebernehmen dem Objekt gäbe; nichts, wenn es nichts änderte.
std::optional<TEigenschaften> NeueEigenschaften(const TFO& objekt, const std::string& name, double kapazitaet);

} // namespace tessomir
