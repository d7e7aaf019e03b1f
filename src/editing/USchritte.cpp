#include "editing/USchritte.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "editing/UArtikelBearbeitung.h"
#include "editing/UMatrixBearbeitung.h"
#include "model/UKnoten.h"

namespace tessomir {
namespace {

size_t ObjektBytes(const TFO& o) {
    size_t n = sizeof(TVerzweigung) + o.Name.capacity();
    if (const TKnoten* k = o.AlsKnoten()) n += k->Matrix().Speicherbedarf();
    return n;
}

void ArtikelBegrenzen(TModell& modell) {
    modell.AktArtikel = std::clamp(modell.AktArtikel, 0, std::max(modell.AnzahlArtikel() - 1, 0));
}

// ---------------------------------------------------------------- Schritte

class TKnotenEinfuegen final : public TSchritt {
public:
    TKnotenEinfuegen(std::unique_ptr<TKnoten> knoten, size_t stelle)
        : Knoten(knoten.get()), Stelle(stelle), Bezeichnung(std::string(ArtText(*knoten)) + " einf\xFCgen"),
          Verwahrt(std::move(knoten)) {}
    std::string Name() const override { return Bezeichnung; }
    void Rueckgaengig(TModell& modell) override { Verwahrt = modell.FOListe.Entfernen(Knoten); }
    void Wiederholen(TModell& modell) override { modell.FOListe.Einfuegen(Stelle, std::move(Verwahrt)); }
    size_t Speicherbedarf() const override {
        return sizeof(*this) + Bezeichnung.capacity() + (Verwahrt ? ObjektBytes(*Verwahrt) : 0);
    }

private:
    TKnoten* Knoten;
    size_t Stelle;
    std::string Bezeichnung;
    std::unique_ptr<TFO> Verwahrt;
};

class TWegZeichnen final : public TSchritt {
public:
    TWegZeichnen(std::unique_ptr<TWeg> weg, size_t stelle, TAnbindung start, TKnoten& ziel)
        : Weg(weg.get()), Stelle(stelle), Start(std::move(start)), ZielKnoten(&ziel), Verwahrt(std::move(weg)) {}
    std::string Name() const override { return "Weg zeichnen"; }
    void Ausfuehren(TModell& modell) override {
        Ziel = AnbindenUndMerken(*Weg, *ZielKnoten, false);
        modell.FOListe.Einfuegen(Stelle, std::move(Verwahrt));
    }
    void Rueckgaengig(TModell& modell) override {
        Ziel.Loesen();
        Start.Loesen();
        Verwahrt = modell.FOListe.Entfernen(Weg);
    }
    void Wiederholen(TModell& modell) override {
        modell.FOListe.Einfuegen(Stelle, std::move(Verwahrt));
        Start.Anbinden();
        Ziel.Anbinden();
    }
    size_t Speicherbedarf() const override {
        return sizeof(*this) + Start.Speicherbedarf() + Ziel.Speicherbedarf() + (Verwahrt ? ObjektBytes(*Verwahrt) : 0);
    }

private:
    TWeg* Weg;
    size_t Stelle;
    TAnbindung Start;
    TKnoten* ZielKnoten;
    TAnbindung Ziel;
    std::unique_ptr<TFO> Verwahrt;
};

class TLoeschen final : public TSchritt {
public:
    TLoeschen(std::vector<TWeg*> wege, std::vector<TKnoten*> knoten) : Wege(std::move(wege)), Knoten(std::move(knoten)) {}
    std::string Name() const override { return "L\xF6schen"; }

    void Ausfuehren(TModell& modell) override {
        Loesungen.clear();
        Verwahrt.clear();
        // Wie der Destruktor eines Wegs: erst der Start, dann das Ziel.
        for (TWeg* w : Wege) {
            if (w->Start() != nullptr) Loesungen.push_back(LoesenUndMerken(*w, true));
            if (w->Ziel() != nullptr) Loesungen.push_back(LoesenUndMerken(*w, false));
        }
        std::unordered_set<const TFO*> raus(Wege.begin(), Wege.end());
        raus.insert(Knoten.begin(), Knoten.end());
        std::vector<std::pair<size_t, TFO*>> stellen;
        const auto& alle = modell.FOListe.Alle();
        for (size_t i = 0; i < alle.size(); ++i)
            if (raus.contains(alle[i].get())) stellen.emplace_back(i, alle[i].get());
        // Von hinten, damit die gemerkten Stellen gelten.
        for (auto it = stellen.rbegin(); it != stellen.rend(); ++it)
            Verwahrt.emplace_back(it->first, modell.FOListe.Entfernen(it->second));
        std::reverse(Verwahrt.begin(), Verwahrt.end());
    }
    void Rueckgaengig(TModell& modell) override {
        for (auto& [stelle, objekt] : Verwahrt) modell.FOListe.Einfuegen(stelle, std::move(objekt));
        Verwahrt.clear();
        for (auto it = Loesungen.rbegin(); it != Loesungen.rend(); ++it) it->Anbinden();
    }
    void Wiederholen(TModell& modell) override { Ausfuehren(modell); }
    size_t Speicherbedarf() const override {
        size_t n = sizeof(*this) + (Wege.capacity() + Knoten.capacity()) * sizeof(void*);
        for (const auto& a : Loesungen) n += a.Speicherbedarf();
        for (const auto& [stelle, o] : Verwahrt) n += sizeof(stelle) + sizeof(o) + (o ? ObjektBytes(*o) : 0);
        return n;
    }

private:
    std::vector<TWeg*> Wege;
    std::vector<TKnoten*> Knoten;
    std::vector<TAnbindung> Loesungen;
    std::vector<std::pair<size_t, std::unique_ptr<TFO>>> Verwahrt; // aufsteigend nach Stelle
};

class TVerschieben final : public TSchritt {
public:
    explicit TVerschieben(std::vector<TVerschiebung> v) : Verschiebungen(std::move(v)) {}
    std::string Name() const override { return "Verschieben"; }
    void Rueckgaengig(TModell&) override {
        for (const auto& v : Verschiebungen) v.Objekt->Refpunkt = v.Alt;
    }
    void Wiederholen(TModell&) override {
        for (const auto& v : Verschiebungen) v.Objekt->Refpunkt = v.Neu;
    }
    size_t Speicherbedarf() const override {
        return sizeof(*this) + Verschiebungen.capacity() * sizeof(TVerschiebung);
    }

private:
    std::vector<TVerschiebung> Verschiebungen;
};

class TObjektWerteAendern final : public TSchritt {
public:
    TObjektWerteAendern(std::string name, std::vector<TObjektWerte> werte)
        : Bezeichnung(std::move(name)), Werte(std::move(werte)) {}
    std::string Name() const override { return Bezeichnung; }
    void Rueckgaengig(TModell&) override {
        for (const auto& w : Werte) {
            w.Objekt->Name = w.AltName;
            w.Objekt->Kapazitaet = w.AltKapazitaet;
        }
    }
    void Wiederholen(TModell&) override {
        for (const auto& w : Werte) {
            w.Objekt->Name = w.NeuName;
            w.Objekt->Kapazitaet = w.NeuKapazitaet;
        }
    }
    size_t Speicherbedarf() const override {
        size_t n = sizeof(*this) + Bezeichnung.capacity() + Werte.capacity() * sizeof(TObjektWerte);
        for (const auto& w : Werte) n += w.AltName.capacity() + w.NeuName.capacity();
        return n;
    }

private:
    std::string Bezeichnung;
    std::vector<TObjektWerte> Werte;
};

class TMatrixAendern final : public TSchritt {
public:
    TMatrixAendern(TKnoten& knoten, TDyn3DMatrix alt, TDyn3DMatrix neu)
        : Knoten(&knoten), Alt(std::move(alt)), Neu(std::move(neu)) {}
    std::string Name() const override { return "Matrix"; }
    void Rueckgaengig(TModell&) override { Knoten->Matrix() = Alt; }
    void Wiederholen(TModell&) override { Knoten->Matrix() = Neu; }
    size_t Speicherbedarf() const override { return sizeof(*this) + Alt.Speicherbedarf() + Neu.Speicherbedarf(); }

private:
    TKnoten* Knoten;
    TDyn3DMatrix Alt;
    TDyn3DMatrix Neu;
};

class TWerteEinlesen final : public TSchritt {
public:
    explicit TWerteEinlesen(std::vector<TWertAenderung> aenderungen) : Aenderungen(std::move(aenderungen)) {}
    std::string Name() const override { return "Werte einlesen"; }
    void Rueckgaengig(TModell& modell) override { WerteSetzen(modell, Aenderungen, false); }
    void Wiederholen(TModell& modell) override { WerteSetzen(modell, Aenderungen, true); }
    size_t Speicherbedarf() const override { return sizeof(*this) + Aenderungen.capacity() * sizeof(TWertAenderung); }

private:
    std::vector<TWertAenderung> Aenderungen;
};

class TEinstellungenAendern final : public TSchritt {
public:
    TEinstellungenAendern(TModellEinstellungen alt, TModellEinstellungen neu) : Alt(std::move(alt)), Neu(std::move(neu)) {}
    std::string Name() const override { return "Einstellungen"; }
    void Rueckgaengig(TModell& modell) override { Alt.In(modell); }
    void Wiederholen(TModell& modell) override { Neu.In(modell); }
    size_t Speicherbedarf() const override {
        return sizeof(*this) + Alt.Schrift.Name.capacity() + Neu.Schrift.Name.capacity();
    }

private:
    TModellEinstellungen Alt;
    TModellEinstellungen Neu;
};

// Einfügen hängt an jede Knotenmatrix einen Artikel an, beim Wandler auch
// eine Eingangsscheibe: zurück nimmt es genau diese letzten Scheiben.
class TArtikelEinfuegen final : public TSchritt {
public:
    explicit TArtikelEinfuegen(std::string name) : Artikel(std::move(name)) {}
    std::string Name() const override { return "Artikel einf\xFCgen"; }
    // Beim ersten Mal mit Sicherung der Matrizen, falls das Erweitern scheitert.
    void Ausfuehren(TModell& modell) override { ArtikelHinzufuegen(modell, Artikel); }
    void Rueckgaengig(TModell& modell) override {
        for (TKnoten* k : modell.FOListe.Knoten()) {
            TDyn3DMatrix& m = k->Matrix();
            if (k->Art() == TKnotenArt::Wandler) m.IndexEntfernen(2, m.Dim2() - 1);
            m.IndexEntfernen(1, m.Dim1() - 1);
        }
        modell.ArtikelListe.pop_back();
        ArtikelBegrenzen(modell);
    }
    void Wiederholen(TModell& modell) override { modell.ArtikelEinfuegen(Artikel); }
    size_t Speicherbedarf() const override { return sizeof(*this) + Artikel.capacity(); }

private:
    std::string Artikel;
};

// Löschen nimmt aus jeder Matrix die Artikelscheibe, beim Wandler danach die
// Eingangsscheibe des Artikels; beide werden vorher gemerkt.
class TArtikelLoeschen final : public TSchritt {
public:
    explicit TArtikelLoeschen(int index) : Index(index) {}
    std::string Name() const override { return "Artikel l\xF6schen"; }
    void Ausfuehren(TModell& modell) override {
        Merken(modell);
        ArtikelEntfernen(modell, Index);
    }

    void Merken(const TModell& modell) {
        Artikel = modell.ArtikelListe[static_cast<size_t>(Index)];
        Zeilen.clear();
        Zeilen.reserve(modell.FOListe.Knoten().size());
        for (TKnoten* k : modell.FOListe.Knoten()) {
            TZeilen z{k, {}, {}};
            const TDyn3DMatrix& m = k->Matrix();
            // Dieselben Bedingungen wie IndexEntfernen: was es nicht nimmt, bleibt leer.
            const bool artikel = m.Dim1() >= 2 && Index < m.Dim1();
            if (artikel) z.Artikel = ScheibeLesen(m, 1, Index);
            if (k->Art() == TKnotenArt::Wandler && m.Dim2() >= 2 && Index + 1 < m.Dim2())
                z.Eingang = ScheibeLesen(artikel ? OhneScheibe(m, 1, Index) : m, 2, Index + 1);
            Zeilen.push_back(std::move(z));
        }
    }
    void Rueckgaengig(TModell& modell) override {
        for (auto it = Zeilen.rbegin(); it != Zeilen.rend(); ++it) {
            TDyn3DMatrix& m = it->Knoten->Matrix();
            if (!it->Eingang.empty()) m = MitScheibe(m, 2, Index + 1, it->Eingang);
            if (!it->Artikel.empty()) m = MitScheibe(m, 1, Index, it->Artikel);
        }
        modell.ArtikelListe.insert(modell.ArtikelListe.begin() + Index, Artikel);
        ArtikelBegrenzen(modell);
    }
    void Wiederholen(TModell& modell) override {
        modell.ArtikelLoeschen(Index);
        ArtikelBegrenzen(modell);
    }
    size_t Speicherbedarf() const override {
        size_t n = sizeof(*this) + Artikel.capacity() + Zeilen.capacity() * sizeof(TZeilen);
        for (const auto& z : Zeilen) n += (z.Artikel.capacity() + z.Eingang.capacity()) * sizeof(double);
        return n;
    }

private:
    struct TZeilen {
        TKnoten* Knoten;
        std::vector<double> Artikel;
        std::vector<double> Eingang;
    };
    int Index;
    std::string Artikel;
    std::vector<TZeilen> Zeilen;
};

class TArtikelUmbenennen final : public TSchritt {
public:
    TArtikelUmbenennen(int index, std::string alt, std::string neu)
        : Index(static_cast<size_t>(index)), Alt(std::move(alt)), Neu(std::move(neu)) {}
    std::string Name() const override { return "Artikel umbenennen"; }
    void Ausfuehren(TModell& modell) override { ArtikelUmbenennen(modell, static_cast<int>(Index), Neu); }
    void Rueckgaengig(TModell& modell) override { modell.ArtikelListe.at(Index) = Alt; }
    void Wiederholen(TModell& modell) override { modell.ArtikelListe.at(Index) = Neu; }
    size_t Speicherbedarf() const override { return sizeof(*this) + Alt.capacity() + Neu.capacity(); }

private:
    size_t Index;
    std::string Alt;
    std::string Neu;
};

} // namespace

// ---------------------------------------------------------------- Erzeugen

std::unique_ptr<TSchritt> KnotenEinfuegenSchritt(std::unique_ptr<TKnoten> knoten, size_t stelle) {
    return std::make_unique<TKnotenEinfuegen>(std::move(knoten), stelle);
}

std::unique_ptr<TSchritt> WegZeichnenSchritt(std::unique_ptr<TWeg> weg, size_t stelle, TAnbindung start,
                                             TKnoten& ziel) {
    return std::make_unique<TWegZeichnen>(std::move(weg), stelle, std::move(start), ziel);
}

std::unique_ptr<TSchritt> VerschiebenSchritt(std::vector<TVerschiebung> verschiebungen) {
    return std::make_unique<TVerschieben>(std::move(verschiebungen));
}

TObjektWerte ObjektWerteVorher(TFO& objekt) {
    return {&objekt, objekt.Name, objekt.Kapazitaet, objekt.Name, objekt.Kapazitaet};
}

std::unique_ptr<TSchritt> ObjektWerteSchritt(std::string name, std::vector<TObjektWerte> werte) {
    return std::make_unique<TObjektWerteAendern>(std::move(name), std::move(werte));
}

bool EigenschaftenAendern(TFO& objekt, const std::string& name, double kapazitaet, TVerlauf* verlauf) {
    const std::optional<TEigenschaften> neu = NeueEigenschaften(objekt, name, kapazitaet);
    if (!neu) return false;
    TObjektWerte w = ObjektWerteVorher(objekt);
    w.NeuName = neu->Name;
    w.NeuKapazitaet = neu->Kapazitaet;
    Ausfuehren(*objekt.Modell, verlauf, ObjektWerteSchritt("Eigenschaften", {std::move(w)}));
    return true;
}

bool MatrixAendern(TKnoten& knoten, const TDyn3DMatrix& neu, TVerlauf* verlauf) {
    if (MatrizenGleich(knoten.Matrix(), neu)) return false;
    Ausfuehren(*knoten.Modell, verlauf, MatrixSchritt(knoten, knoten.Matrix(), neu));
    return true;
}

std::unique_ptr<TSchritt> MatrixSchritt(TKnoten& knoten, TDyn3DMatrix alt, TDyn3DMatrix neu) {
    return std::make_unique<TMatrixAendern>(knoten, std::move(alt), std::move(neu));
}

std::unique_ptr<TSchritt> WerteEinlesenSchritt(std::vector<TWertAenderung> aenderungen) {
    return std::make_unique<TWerteEinlesen>(std::move(aenderungen));
}

TModellEinstellungen TModellEinstellungen::Aus(const TModell& m) {
    return {m.Schrift,       m.QuellenBeschr, m.SenkenBeschr, m.VerzweigBeschr, m.WandlerBeschr,
            m.WegeBeschr,    m.SymbolGroesse, m.StromGroesse, m.ProzStellen,    m.StromStellen,
            m.Stromanzeige,  m.MaxStromBer,   m.MaxStrom,     m.MaxBerDauer};
}

void TModellEinstellungen::In(TModell& m) const {
    m.Schrift = Schrift;
    m.QuellenBeschr = QuellenBeschr;
    m.SenkenBeschr = SenkenBeschr;
    m.VerzweigBeschr = VerzweigBeschr;
    m.WandlerBeschr = WandlerBeschr;
    m.WegeBeschr = WegeBeschr;
    m.SymbolGroesse = SymbolGroesse;
    m.StromGroesse = StromGroesse;
    m.ProzStellen = ProzStellen;
    m.StromStellen = StromStellen;
    m.Stromanzeige = Stromanzeige;
    m.MaxStromBer = MaxStromBer;
    m.MaxStrom = MaxStrom;
    m.MaxBerDauer = MaxBerDauer;
}

std::unique_ptr<TSchritt> EinstellungenSchritt(TModellEinstellungen alt, TModellEinstellungen neu) {
    return std::make_unique<TEinstellungenAendern>(std::move(alt), std::move(neu));
}

// ---------------------------------------------------------------- Ausführen und aufnehmen

void AuswahlLoeschen(TModell& modell, TVerlauf* verlauf) {
    std::vector<TWeg*> wege;
    std::vector<TKnoten*> knoten;
    std::unordered_set<const TFO*> gesehen;
    const auto weg = [&](TWeg* w) {
        if (w != nullptr && gesehen.insert(w).second) wege.push_back(w);
    };
    for (const auto& e : modell.FOListe.Auswahl()) {
        if (e.Objekt == nullptr) continue;
        if (TKnoten* k = e.Objekt->AlsKnoten()) {
            for (int i = k->AnzahlAusgaenge() - 1; i >= 0; --i) weg(k->GetAusgang(i));
            for (int i = k->AnzahlEingaenge() - 1; i >= 0; --i) weg(k->GetEingang(i));
            if (gesehen.insert(k).second) knoten.push_back(k);
        } else {
            weg(e.Objekt->AlsWeg());
        }
    }
    modell.FOListe.AuswahlLeeren();
    if (wege.empty() && knoten.empty()) return;
    Ausfuehren(modell, verlauf, std::make_unique<TLoeschen>(std::move(wege), std::move(knoten)));
}

int ArtikelHinzufuegen(TModell& modell, const std::string& name, TVerlauf* verlauf) {
    Ausfuehren(modell, verlauf, std::make_unique<TArtikelEinfuegen>(name));
    return modell.AnzahlArtikel() - 1;
}

int ArtikelEntfernen(TModell& modell, int i, TVerlauf* verlauf) {
    if (modell.AnzahlArtikel() < 2 || i < 0 || i >= modell.AnzahlArtikel()) return -1;
    Ausfuehren(modell, verlauf, std::make_unique<TArtikelLoeschen>(i));
    return AuswahlNachLoeschen(i);
}

bool ArtikelUmbenennen(TModell& modell, int i, const std::string& name, TVerlauf* verlauf) {
    if (i < 0 || i >= modell.AnzahlArtikel()) return false;
    std::string alt = modell.ArtikelListe[static_cast<size_t>(i)];
    Ausfuehren(modell, verlauf, std::make_unique<TArtikelUmbenennen>(i, std::move(alt), name));
    return true;
}

} // namespace tessomir
