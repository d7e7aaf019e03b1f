#pragma once
// Knoten, Wege und die vier Knotenarten.
#include <memory>
#include <vector>

#include "model/UDyn3DMatrix.h"
#include "model/UModell.h"

namespace tessomir {

class TKnoten;

enum class TKnotenArt { Knoten, Quelle, Senke, Verzweigung, Wandler };

class TWeg : public TFO {
public:
    explicit TWeg(TModell& modell) : TFO(modell, "TWeg") {}
    ~TWeg() override;

    const char* Klassenname() const override { return "TWeg"; }
    TWeg* AlsWeg() override { return this; }
    const TWeg* AlsWeg() const override { return this; }
    double Strom() const override;
    void Schreiben(TZeilenSchreiber& aus) const override;
    // Liest Grundzeilen; "Start" und "Ziel" gehen an den Lesenden, der die
    // Wege nach dem Lesen aller Objekte verbindet.
    void Lesen(TZeilenLeser& ein) override;

    // Hängt an oder (nullptr) ab; wirft EInvalidOperation, wenn schon ein
    // anderer Knoten an diesem Ende hängt, und ändert dann nichts.
    virtual void SetStart(TKnoten* knoten);
    virtual void SetZiel(TKnoten* knoten);

    TKnoten* Start() const { return StartKnoten; }
    TKnoten* Ziel() const { return ZielKnoten; }
    // Vergisst einen Knoten, ohne ihn zu benachrichtigen (Knoten wird zerstört).
    void KnotenVergessen(const TKnoten* knoten);
    // Stelle unter den Ausgängen des Startknotens (wie dessen AusgangIndex),
    // mitgeführt, damit die Berechnung sie nicht bei jedem Durchgang sucht.
    int StartPosition() const { return StartKnoten != nullptr ? StartStelle : -1; }

    // Beim Lesen: die Verweistexte der Datei.
    std::string StartVerweis;
    std::string ZielVerweis;

private:
    friend class TKnoten;
    friend class TQuelle;
    friend class TVerzweigung;
    friend class TWandler;
    TKnoten* StartKnoten = nullptr;
    int StartStelle = -1;
    TKnoten* ZielKnoten = nullptr;
};

class TKnoten : public TFO {
public:
    explicit TKnoten(TModell& modell, const char* klasse = "TKnoten");
    ~TKnoten() override;

    const char* Klassenname() const override { return "TKnoten"; }
    TKnoten* AlsKnoten() override { return this; }
    const TKnoten* AlsKnoten() const override { return this; }
    // Art ohne dynamic_cast: Prüfung und Berechnung fragen sie für jeden Knoten.
    virtual TKnotenArt Art() const { return TKnotenArt::Knoten; }
    // Verzweigungen und Wandler: nur ihre Bewertung entscheidet über Stabil.
    bool BewertetStabilitaet() const { return Art() == TKnotenArt::Verzweigung || Art() == TKnotenArt::Wandler; }
    void Schreiben(TZeilenSchreiber& aus) const override;
    void Lesen(TZeilenLeser& ein) override;

    virtual int AnzahlEingaenge() const { return 0; }
    virtual int AnzahlAusgaenge() const { return 0; }
    virtual TWeg* GetAusgang(int) const { return nullptr; }
    virtual TWeg* GetEingang(int) const { return nullptr; }
    virtual int AusgangIndex(const TWeg*) const { return -1; }
    virtual int EingangIndex(const TWeg*) const { return -1; }
    virtual void AddAusgang(TWeg* weg);
    virtual void AddEingang(TWeg* weg);
    virtual void RemoveAusgang(TWeg* weg);
    virtual void RemoveEingang(TWeg* weg);
    void Zuruecksetzen() { LetzteAenderung = 1e100; }

    TDyn3DMatrix& Matrix() { return Verteilung; }
    const TDyn3DMatrix& Matrix() const { return Verteilung; }
    void MatrixSetzen(std::unique_ptr<TDyn3DMatrix> matrix) {
        if (matrix) Verteilung = std::move(*matrix);
    }

    double LetzteAenderung = 0.0;
    // Der Knoten wird gleich mit dem ganzen Modell zerstört: Wege, die sich
    // jetzt noch abhängen, formen seine Matrix nicht mehr um.
    void AbbauBeginnen() { ImAbbau = true; }

protected:
    // Wert, der auf einem Eingangsweg für einen Artikel ankommt.
    static double Zulauf(const TWeg* weg, int artikel);
    static int ZulaufPosition(const TWeg* weg);
    bool ModellLaedt() const;
    // Löst alle Wege von diesem Knoten; aus den Destruktoren der Arten.
    void WegeVergessen();

    // Im Knoten selbst, nicht über einen Zeiger: ein Sprung weniger je Knoten
    // in jedem Durchgang über die Knoten (BM_DurchgangOhnePlan/Knoten:100000/
    // geladen:1 13,0 statt 18,0 ms hinter einem Zeiger, Mediane aus vier
    // gepaarten Läufen; der Plan des Programms liest die Zellen direkt).
    TDyn3DMatrix Verteilung;
    bool ImAbbau = false;

private:
    // Wege, die auf diesen Knoten zeigen, obwohl er sie abgewiesen hat (etwa
    // ein Eingang einer Quelle); sie dürfen ihn nach seinem Ende nicht mehr rufen.
    std::vector<TWeg*> Abgewiesene;
};

class TQuelle : public TKnoten {
public:
    explicit TQuelle(TModell& modell) : TKnoten(modell, "TQuelle") {}
    ~TQuelle() override { WegeVergessen(); }
    const char* Klassenname() const override { return "TQuelle"; }
    TKnotenArt Art() const override { return TKnotenArt::Quelle; }
    int AnzahlAusgaenge() const override { return Ausgang ? 1 : 0; }
    TWeg* GetAusgang(int i) const override { return i == 0 ? Ausgang : nullptr; }
    int AusgangIndex(const TWeg* w) const override { return w != nullptr && w == Ausgang ? 0 : -1; }
    void AddAusgang(TWeg* weg) override;
    void RemoveAusgang(TWeg* weg) override;

    TWeg* Ausgang = nullptr;
};

class TSenke : public TKnoten {
public:
    explicit TSenke(TModell& modell) : TKnoten(modell, "TSenke") {}
    ~TSenke() override { WegeVergessen(); }
    const char* Klassenname() const override { return "TSenke"; }
    TKnotenArt Art() const override { return TKnotenArt::Senke; }
    int AnzahlEingaenge() const override { return Eingang ? 1 : 0; }
    TWeg* GetEingang(int i) const override { return i == 0 ? Eingang : nullptr; }
    int EingangIndex(const TWeg* w) const override { return w != nullptr && w == Eingang ? 0 : -1; }
    void AddEingang(TWeg* weg) override;
    void RemoveEingang(TWeg* weg) override;

    TWeg* Eingang = nullptr;
};

class TVerzweigung : public TKnoten {
public:
    explicit TVerzweigung(TModell& modell) : TKnoten(modell, "TVerzweigung") {}
    ~TVerzweigung() override { WegeVergessen(); }
    const char* Klassenname() const override { return "TVerzweigung"; }
    TKnotenArt Art() const override { return TKnotenArt::Verzweigung; }
    double Strom() const override;
    int AnzahlEingaenge() const override { return static_cast<int>(Eingaenge.size()); }
    int AnzahlAusgaenge() const override { return static_cast<int>(Ausgaenge.size()); }
    TWeg* GetAusgang(int i) const override;
    TWeg* GetEingang(int i) const override;
    int AusgangIndex(const TWeg* w) const override;
    int EingangIndex(const TWeg* w) const override;
    void AddAusgang(TWeg* weg) override;
    void AddEingang(TWeg* weg) override;
    void RemoveAusgang(TWeg* weg) override;
    void RemoveEingang(TWeg* weg) override;

    std::vector<TWeg*> Eingaenge;
    std::vector<TWeg*> Ausgaenge;
};

class TWandler : public TKnoten {
public:
    explicit TWandler(TModell& modell);
    ~TWandler() override { WegeVergessen(); }
    const char* Klassenname() const override { return "TWandler"; }
    TKnotenArt Art() const override { return TKnotenArt::Wandler; }
    int AnzahlEingaenge() const override { return Eingang ? 1 : 0; }
    int AnzahlAusgaenge() const override { return Ausgang ? 1 : 0; }
    TWeg* GetAusgang(int i) const override { return i == 0 ? Ausgang : nullptr; }
    TWeg* GetEingang(int i) const override { return i == 0 ? Eingang : nullptr; }
    int AusgangIndex(const TWeg* w) const override { return w != nullptr && w == Ausgang ? 0 : -1; }
    int EingangIndex(const TWeg* w) const override { return w != nullptr && w == Eingang ? 0 : -1; }
    void AddAusgang(TWeg* weg) override;
    void AddEingang(TWeg* weg) override { Eingang = weg; }
    void RemoveAusgang(TWeg*) override {
        if (Ausgang != nullptr) Ausgang->StartStelle = -1;
        Ausgang = nullptr;
    }
    void RemoveEingang(TWeg*) override { Eingang = nullptr; }

    TWeg* Eingang = nullptr;
    TWeg* Ausgang = nullptr;
};

// Art eines Objekts für Menschen: "Quelle", "Senke", "Verzweigung", "Wandler",
// "Weg", sonst "Knoten" oder "Objekt".
const char* ArtText(const TFO& objekt);

} // namespace tessomir
