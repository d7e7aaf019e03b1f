// Grundzeichnen der Flussobjekte und die Zeichen-, Treffer- und
// Verschiebeoperationen der Objektliste.
#include <unordered_set>

#include "model/UKnoten.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

int SymbolGroesse() { return Modell != nullptr ? Modell->SymbolGroesse : 4; }

TBildpunkt Ziehversatz(const TAnsicht& a) {
    return TBildpunkt{a.Aktpunkt.X - a.Startpunkt.X, a.Aktpunkt.Y - a.Startpunkt.Y};
}

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
    const int s = SymbolGroesse();
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

void TFOListe::AllesZeichnen(TAnsicht& ansicht) const {
    // Menge statt linearer Suche: bei "Alles auswählen" wäre das quadratisch.
    std::unordered_set<const TFO*> ausgewaehlt;
    ausgewaehlt.reserve(AuswahlListe.size());
    for (const auto& e : AuswahlListe) ausgewaehlt.insert(e.Objekt);
    for (const auto& o : Objekte) {
        if (o) o->Zeichnen(ansicht, ausgewaehlt.count(o.get()) != 0 ? 1 : 0);
    }
    for (const auto& o : Objekte) {
        if (o) o->AnzeigeZeichnen(ansicht, 0);
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
        if (Modell != nullptr) Modell->Modifiziert = true;
        if (e.Objekt->AlsKnoten() != nullptr) e.Objekt->Verschieben(ansicht);
    }
}

} // namespace tessomir
