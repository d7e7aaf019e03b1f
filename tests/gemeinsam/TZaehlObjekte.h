#pragma once
// Objekte, die ihr Zerstören zählen, und ein kleines Netz aus ihnen: für
// Tests, die doppeltes oder fehlendes Zerstören erkennen wollen.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"

namespace tessomir::test::zaehlend {

// Zählt Zerstörungen je Name, um doppeltes Zerstören zu erkennen.
inline std::map<std::string, int> Zerstoert;

template <class T> class TZaehlend : public T {
public:
    using T::T;
    ~TZaehlend() override { ++Zerstoert[this->Name]; }
};
using TZaehlWeg = TZaehlend<TWeg>;
using TZaehlQuelle = TZaehlend<TQuelle>;
using TZaehlSenke = TZaehlend<TSenke>;
using TZaehlVerzweigung = TZaehlend<TVerzweigung>;

inline TWeg& ZaehlWeg(TModellBau& bau, TKnoten& von, TKnoten& nach, const std::string& name) {
    auto w = std::make_unique<TZaehlWeg>(bau.M());
    w->Name = name;
    TWeg& ref = *w;
    bau.M().FOListe.Hinzufuegen(std::move(w), false);
    ref.SetStart(&von);
    ref.SetZiel(&nach);
    return ref;
}

// Q -> V -> S, V -> S2, mit zählenden Objekten.
struct TKette {
    TModellBau Bau;
    TKnoten& Q = Bau.Knoten<TZaehlQuelle>("Q");
    TKnoten& V = Bau.Knoten<TZaehlVerzweigung>("V");
    TKnoten& S = Bau.Knoten<TZaehlSenke>("S");
    TKnoten& S2 = Bau.Knoten<TZaehlSenke>("S2");
    TWeg& W1 = ZaehlWeg(Bau, Q, V, "W1");
    TWeg& W2 = ZaehlWeg(Bau, V, S, "W2");
    TWeg& W3 = ZaehlWeg(Bau, V, S2, "W3");
    TKette() { Zerstoert.clear(); }
};

inline std::vector<std::string> Namen(const TFOListe& liste) {
    std::vector<std::string> n;
    for (const auto& o : liste.Alle()) n.push_back(o->Name);
    return n;
}

} // namespace tessomir::test::zaehlend
