#include "view/UTrefferindex.h"

#include "view/USankey.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/UKnoten.h"
#include "view/UDarstellung.h"

namespace tessomir {

void TTrefferindex::Verwerfen() {
    IstGebaut = false;
    Kaesten.clear();
    Objekte.clear();
}

void TTrefferindex::Aufbauen(const TFOListe& liste) {
    Verwerfen();
    Kaesten.reserve(liste.Anzahl());
    Objekte.reserve(liste.Anzahl());
    for (const auto& o : liste.Alle()) {
        SymbolGroesse = std::abs(o->Modell->SymbolGroesse);
        if (const TWeg* w = o->AlsWeg(); w != nullptr) {
            // Ein Weg ohne beide Knoten wird nie getroffen.
            if (w->Start() == nullptr || w->Ziel() == nullptr) continue;
            const TPunkt& a = w->Start()->Refpunkt;
            const TPunkt& b = w->Ziel()->Refpunkt;
            Kaesten.push_back({std::min(a.X, b.X), std::max(a.X, b.X), std::min(a.Y, b.Y), std::max(a.Y, b.Y)});
        } else if (o->AlsKnoten() != nullptr) {
            Kaesten.push_back({o->Refpunkt.X, o->Refpunkt.X, o->Refpunkt.Y, o->Refpunkt.Y});
        } else {
            continue;
        }
        Objekte.push_back(o.get());
    }
    IstGebaut = true;
}

const TFO* TTrefferindex::ObjektUnter(const TAnsicht& ansicht) const {
    const double k = ansicht.Schriftfaktor() * ansicht.Massstab;
    if (!(k > 1e-12) || !std::isfinite(k)) return nullptr;
    // Trefferweite und ein Pixel Rundung, in Modelleinheiten: was ausserhalb
    // liegt, kann IstGetroffen nicht bestehen.
    const double x = (ansicht.Trefferpunkt.X - ansicht.OffsetX) / k;
    const double y = (ansicht.OffsetY - ansicht.Trefferpunkt.Y) / k;
    const double w = (SymbolGroesse + 1.0 + SankeyRand(ansicht)) / k;
    const TFO* weg = nullptr;
    for (size_t i = 0; i < Kaesten.size(); ++i) {
        const TKasten& r = Kaesten[i];
        if (x < r.MinX - w || x > r.MaxX + w || y < r.MinY - w || y > r.MaxY + w) continue;
        const TFO* o = Objekte[i];
        if (!IstGetroffen(*o, ansicht)) continue;
        if (o->AlsWeg() == nullptr) return o;
        if (weg == nullptr) weg = o;
    }
    return weg;
}

} // namespace tessomir
