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

namespace tessomir {
namespace {

TBildpunkt Ziehversatz(const TAnsicht& a) {
    return TBildpunkt{a.Aktpunkt.X - a.Startpunkt.X, a.Aktpunkt.Y - a.Startpunkt.Y};
}

// Vorauswahl im Sichtbereich: Knoten und Wege, deren Bezugspunkte samt
// einem Rand für Symbole, Pfeile, Balken und Beschriftungen ganz über oder
// unter dem Bereich liegen, setzen kein Pixel und werden nicht erst gefragt.
// Waagrecht gibt es keine solche Grenze, Namen sind beliebig breit.
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
               6.0 * std::abs(*zeile) + 16;
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

} // namespace

void TFO::AnzeigeZeichnen(TAnsicht&, int) const {}

void TFO::Zeichnen(TAnsicht& ansicht, int modus) const {
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    TBildpunkt p = ansicht.Transformieren(Refpunkt);
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

bool TFO::IstGetroffen(const TAnsicht& ansicht) const {
    const int s = Modell->SymbolGroesse;
    const TBildpunkt p = ansicht.Transformieren(Refpunkt);
    const TBildpunkt& t = ansicht.Trefferpunkt;
    return static_cast<int64_t>(p.X) - s <= t.X && t.X <= static_cast<int64_t>(p.X) + s &&
           static_cast<int64_t>(p.Y) - s <= t.Y && t.Y <= static_cast<int64_t>(p.Y) + s;
}

void TFO::Verschieben(const TAnsicht& ansicht) {
    const TBildpunkt p = ansicht.Transformieren(Refpunkt);
    const TBildpunkt d = Ziehversatz(ansicht);
    Refpunkt = ansicht.Ruecktransformieren(TBildpunkt{p.X + d.X, p.Y + d.Y});
}

void TFOListe::Auswaehlen(const TAnsicht& ansicht, TFO* objekt) { Auswaehlen(objekt, ansicht.Umschalten); }

void TFOListe::AllesZeichnen(TAnsicht& ansicht, const TModell& modell) const {
    // Menge statt linearer Suche: bei "Alles auswählen" wäre das quadratisch.
    std::unordered_set<const TFO*> ausgewaehlt;
    ausgewaehlt.reserve(AuswahlListe.size());
    for (const auto& e : AuswahlListe) ausgewaehlt.insert(e.Objekt);
    const TZeilenauswahl auswahl(ansicht, modell);
    // Die Entscheidung je Objekt gilt für beide Runden; die zweite fragt
    // nicht noch einmal nach Objekt und Knoten, die längst aus dem Cache sind.
    std::vector<uint8_t> sichtbar(Objekte.size(), 0);
    for (size_t i = 0; i < Objekte.size(); ++i) {
        const TFO* o = Objekte[i].get();
        if (o == nullptr || auswahl.Ueberspringen(*o)) continue;
        sichtbar[i] = 1;
        o->Zeichnen(ansicht, ausgewaehlt.count(o) != 0 ? 1 : 0);
    }
    for (size_t i = 0; i < Objekte.size(); ++i) {
        if (sichtbar[i] != 0) Objekte[i]->AnzeigeZeichnen(ansicht, 0);
    }
}

void TFOListe::AuswahlZeichnen(TAnsicht& ansicht) const {
    for (const auto& e : AuswahlListe) {
        if (e.Objekt != nullptr && e.Objekt->AlsKnoten() != nullptr) e.Objekt->Zeichnen(ansicht, 2);
    }
}

TFO* TFOListe::FindeObjekt(const TAnsicht& ansicht) const {
    TFO* knoten = nullptr;
    int wege = 0;
    for (const auto& o : Objekte) {
        if (!o->IstGetroffen(ansicht)) continue;
        if (o->AlsWeg() != nullptr) ++wege;
        else knoten = o.get();
    }
    if (knoten != nullptr) return knoten;
    if (wege == 0) return nullptr;
    int ziel = WegZyklus + 1;
    if (ziel > wege) ziel = 1;
    int zaehler = 0;
    for (const auto& o : Objekte) {
        if (o->AlsWeg() == nullptr || !o->IstGetroffen(ansicht)) continue;
        if (++zaehler == ziel) {
            WegZyklus = ziel;
            return o.get();
        }
    }
    return nullptr;
}

void TFOListe::AuswahlVerschieben(TAnsicht& ansicht) {
    AuswahlZeichnen(ansicht);
    ansicht.Aktpunkt = ansicht.Trefferpunkt;
    ansicht.Ziehen = false;
    for (const auto& e : AuswahlListe) {
        if (e.Objekt == nullptr) continue;
        e.Objekt->Modell->Modifiziert = true;
        if (e.Objekt->AlsKnoten() != nullptr) e.Objekt->Verschieben(ansicht);
    }
}

} // namespace tessomir
