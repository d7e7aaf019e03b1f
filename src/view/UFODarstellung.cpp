// Grundzeichnen der Flussobjekte und die Zeichen-, Treffer- und
// Verschiebeoperationen der Objektliste.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>
#include <unordered_set>
#include <vector>

#include "model/UKnoten.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"
#include "view/USankey.h"
#include "view/UVergleichsanzeige.h"

namespace tessomir {
namespace {

TBildpunkt Ziehversatz(const TAnsicht& a) {
    return TBildpunkt{a.Aktpunkt.X - a.Startpunkt.X, a.Aktpunkt.Y - a.Startpunkt.Y};
}

// Vorauswahl im Sichtbereich: Knoten und Wege, deren Bezugspunkte samt
// einem Rand für Symbole, Pfeile, Balken und Beschriftungen ganz über oder
// unter dem Bereich liegen, setzen kein Pixel und werden nicht erst gefragt.
// Waagrecht gibt es keine solche Grenze, Namen sind beliebig breit.
// BM_FensterBalken 3,2 statt 6,5 ms, BM_RollenZahlenUndNamen 8,9 statt
// 9,8–11,9 ms ohne die Vorauswahl (gepaarte Läufe).
class TZeilenauswahl {
public:
    TZeilenauswahl(const TAnsicht& ansicht, const TModell& modell) {
        const TRechteck* bereich = ansicht.Sichtbereich();
        // Nur die Abbildung, die hier nachgerechnet wird, und nur, wenn die
        // Zeilenhöhe der Beschriftungen bekannt ist.
        if (bereich == nullptr || ansicht.DruckModus || typeid(ansicht) != typeid(TAnsicht)) return;
        const std::optional<int32_t> zeile = ansicht.Sichtzeilenhoehe(modell.Schrift);
        if (!zeile) return;
        const double faktor = std::fabs(ansicht.Schriftfaktor());
        Rand = 2 * faktor * (3.0 * std::abs(modell.SymbolGroesse) + std::abs(modell.StromGroesse)) +
               6.0 * std::abs(*zeile) + 16 + SankeyRand(ansicht);
        K = ansicht.Schriftfaktor() * ansicht.Massstab;
        OffsetX = ansicht.OffsetX;
        OffsetY = ansicht.OffsetY;
        Oben = bereich->Oben;
        Unten = bereich->Unten;
        Aktiv = std::isfinite(Rand) && std::isfinite(K);
    }

    bool Ueberspringen(const TFO& o) const {
        if (!Aktiv) return false;
        TPunkt a, b;
        if (const TWeg* w = o.AlsWeg()) {
            if (w->Start() == nullptr || w->Ziel() == nullptr) return false;
            a = w->Start()->Refpunkt;
            b = w->Ziel()->Refpunkt;
        } else if (o.AlsKnoten() != nullptr) {
            a = b = o.Refpunkt;
        } else {
            return false;
        }
        // Gerätepunkte wie beim Transformieren, nur ungerundet. Wo das
        // Transformieren scheitern könnte, zeichnet das Objekt selbst und meldet es.
        const double xa = K * a.X + OffsetX, xb = K * b.X + OffsetX;
        const double ya = OffsetY - K * a.Y, yb = OffsetY - K * b.Y;
        constexpr double Grenze = 2e9;
        if (!(std::fabs(xa) < Grenze && std::fabs(xb) < Grenze && std::fabs(ya) < Grenze && std::fabs(yb) < Grenze)) {
            return false;
        }
        return std::max(ya, yb) + Rand < Oben || std::min(ya, yb) - Rand > Unten;
    }

private:
    bool Aktiv = false;
    double Rand = 0, K = 0, OffsetX = 0, OffsetY = 0, Oben = 0, Unten = 0;
};

// Grundmarke eines Objekts, das weder Knotenart noch Weg ist (auch ein
// blosser Knoten).
void MarkeZeichnen(const TFO& o, TAnsicht& ansicht, int modus) {
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    TBildpunkt p = ansicht.Transformieren(o.Refpunkt);
    if (modus == 2) {
        const TFarbe stift = z.Stiftfarbe();
        const TStiftModus stiftModus = z.Stiftmodus();
        z.StiftfarbeSetzen(Schwarz);
        z.StiftmodusSetzen(TStiftModus::NichtXor);
        const TBildpunkt d = Ziehversatz(ansicht);
        p = TBildpunkt{p.X + d.X, p.Y + d.Y};
        z.Rechteck(TRechteck{p.X - 5, p.Y - 5, p.X + 5, p.Y + 5});
        z.StiftmodusSetzen(stiftModus);
        z.StiftfarbeSetzen(stift);
        return;
    }
    if (!ansicht.BereichSichtbar(static_cast<int64_t>(p.X) - 5, static_cast<int64_t>(p.Y) - 5,
                                 static_cast<int64_t>(p.X) + 5, static_cast<int64_t>(p.Y) + 5)) {
        return;
    }
    const TFarbe pinsel = z.Pinselfarbe();
    z.PinselfarbeSetzen(modus == 1 ? Rot : Schwarz);
    z.RechteckFuellen(TRechteck{p.X - 5, p.Y - 5, p.X + 5, p.Y + 5});
    z.PinselfarbeSetzen(pinsel);
}

} // namespace

void Zeichnen(const TFO& objekt, TAnsicht& ansicht, int modus) {
    if (const TWeg* w = objekt.AlsWeg()) {
        if (ansicht.Sankey) BandZeichnen(*w, ansicht, modus);
        else WegZeichnen(*w, ansicht, modus);
        return;
    }
    const TKnoten* k = objekt.AlsKnoten();
    if (k == nullptr || !KnotenZeichnen(*k, ansicht, modus)) MarkeZeichnen(objekt, ansicht, modus);
}

void AnzeigeZeichnen(const TFO& objekt, TAnsicht& ansicht, int modus) {
    if (modus < 2 && DifferenzZeichnen(objekt, ansicht)) return;
    if (const TWeg* w = objekt.AlsWeg()) {
        WegAnzeigeZeichnen(*w, ansicht, modus);
    } else if (const TKnoten* k = objekt.AlsKnoten(); k != nullptr && k->Art() == TKnotenArt::Verzweigung) {
        VerzweigungAnzeigeZeichnen(static_cast<const TVerzweigung&>(*k), ansicht, modus);
    }
}

bool IstGetroffen(const TFO& objekt, const TAnsicht& ansicht) {
    if (const TWeg* w = objekt.AlsWeg()) return ansicht.Sankey ? BandGetroffen(*w, ansicht) : WegGetroffen(*w, ansicht);
    const int s = objekt.Modell->SymbolGroesse;
    const TBildpunkt p = ansicht.Transformieren(objekt.Refpunkt);
    const TBildpunkt& t = ansicht.Trefferpunkt;
    return static_cast<int64_t>(p.X) - s <= t.X && t.X <= static_cast<int64_t>(p.X) + s &&
           static_cast<int64_t>(p.Y) - s <= t.Y && t.Y <= static_cast<int64_t>(p.Y) + s;
}

TPunkt VerschobenerOrt(const TFO& objekt, const TAnsicht& ansicht) {
    const TBildpunkt p = ansicht.Transformieren(objekt.Refpunkt);
    const TBildpunkt d = Ziehversatz(ansicht);
    return ansicht.Ruecktransformieren(TBildpunkt{p.X + d.X, p.Y + d.Y});
}

void Verschieben(TFO& objekt, const TAnsicht& ansicht) { objekt.Refpunkt = VerschobenerOrt(objekt, ansicht); }

void Auswaehlen(TFOListe& liste, const TAnsicht& ansicht, TFO* objekt) { liste.Auswaehlen(objekt, ansicht.Umschalten); }

void AllesZeichnen(const TFOListe& liste, TAnsicht& ansicht, const TModell& modell) {
    const TFOListe::TObjekte& objekte = liste.Alle();
    // Menge statt linearer Suche: bei "Alles auswählen" wäre das quadratisch.
    std::unordered_set<const TFO*> ausgewaehlt;
    ausgewaehlt.reserve(liste.Auswahl().size());
    for (const auto& e : liste.Auswahl()) ausgewaehlt.insert(e.Objekt);
    SankeyMassstabSetzen(modell, ansicht);
    const TZeilenauswahl auswahl(ansicht, modell);
    // Die Entscheidung je Objekt gilt für beide Runden; die zweite fragt
    // nicht noch einmal nach Objekt und Knoten, die längst aus dem Cache sind.
    std::vector<uint8_t> sichtbar(objekte.size(), 0);
    for (size_t i = 0; i < objekte.size(); ++i) {
        const TFO* o = objekte[i].get();
        if (o == nullptr || auswahl.Ueberspringen(*o)) continue;
        sichtbar[i] = 1;
        // Bänder liegen unter den Knoten: sie zuerst, die Knoten darüber.
        if (ansicht.Sankey && o->AlsWeg() == nullptr) continue;
        Zeichnen(*o, ansicht, ausgewaehlt.count(o) != 0 ? 1 : 0);
    }
    if (ansicht.Sankey) {
        for (size_t i = 0; i < objekte.size(); ++i) {
            const TFO* o = objekte[i].get();
            if (sichtbar[i] != 0 && o->AlsWeg() == nullptr) Zeichnen(*o, ansicht, ausgewaehlt.count(o) != 0 ? 1 : 0);
        }
    }
    for (size_t i = 0; i < objekte.size(); ++i) {
        if (sichtbar[i] != 0) AnzeigeZeichnen(*objekte[i], ansicht, 0);
    }
}

void AuswahlZeichnen(const TFOListe& liste, TAnsicht& ansicht) {
    for (const auto& e : liste.Auswahl()) {
        if (e.Objekt != nullptr && e.Objekt->AlsKnoten() != nullptr) Zeichnen(*e.Objekt, ansicht, 2);
    }
}

TFO* FindeObjekt(const TFOListe& liste, const TAnsicht& ansicht) {
    if (ansicht.Sankey && !liste.Alle().empty()) SankeyMassstabSetzen(*liste.Alle().front()->Modell, ansicht);
    TFO* knoten = nullptr;
    int wege = 0;
    for (const auto& o : liste.Alle()) {
        if (!IstGetroffen(*o, ansicht)) continue;
        if (o->AlsWeg() != nullptr) ++wege;
        else knoten = o.get();
    }
    if (knoten != nullptr) return knoten;
    if (wege == 0) return nullptr;
    int ziel = liste.WegZyklus + 1;
    if (ziel > wege) ziel = 1;
    int zaehler = 0;
    for (const auto& o : liste.Alle()) {
        if (o->AlsWeg() == nullptr || !IstGetroffen(*o, ansicht)) continue;
        if (++zaehler == ziel) {
            liste.WegZyklus = ziel;
            return o.get();
        }
    }
    return nullptr;
}

} // namespace tessomir
