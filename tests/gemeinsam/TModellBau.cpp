#include "TModellBau.h"

namespace tessomir::test {

TModellBau::TModellBau() : Modell_(std::make_unique<TModell>()) {}

TModellBau::~TModellBau() = default;

TWeg& TModellBau::Weg(TKnoten& von, TKnoten& nach, const std::string& name) {
    auto w = std::make_unique<TWeg>(*Modell_);
    if (!name.empty()) w->Name = name;
    TWeg& ref = *w;
    Modell_->FOListe.Hinzufuegen(std::move(w), false);
    ref.SetStart(&von);
    ref.SetZiel(&nach);
    return ref;
}

TModellBau::TStrecke TModellBau::Strecke(const std::string& q, const std::string& s, const std::string& w) {
    auto& quelle = Knoten<TQuelle>(q);
    auto& senke = Knoten<TSenke>(s);
    return {quelle, senke, Weg(quelle, senke, w)};
}

TModellBau::TZusammenfluss TModellBau::Zusammenfluss(const std::string& q1, const std::string& q2,
                                                     const std::string& v, const std::string& s) {
    auto& quelle1 = Knoten<TQuelle>(q1);
    auto& quelle2 = Knoten<TQuelle>(q2);
    auto& verzweigung = Knoten<TVerzweigung>(v);
    auto& senke = Knoten<TSenke>(s);
    TWeg& ein1 = Weg(quelle1, verzweigung);
    TWeg& ein2 = Weg(quelle2, verzweigung);
    TWeg& aus = Weg(verzweigung, senke);
    return {quelle1, quelle2, verzweigung, senke, ein1, ein2, aus};
}

TModellBau::TVerteilung TModellBau::Verteilung(const std::string& q, const std::string& v, const std::string& s1,
                                               const std::string& s2) {
    auto& quelle = Knoten<TQuelle>(q);
    auto& verzweigung = Knoten<TVerzweigung>(v);
    auto& senke1 = Knoten<TSenke>(s1);
    auto& senke2 = Knoten<TSenke>(s2);
    TWeg& ein = Weg(quelle, verzweigung);
    TWeg& aus1 = Weg(verzweigung, senke1);
    TWeg& aus2 = Weg(verzweigung, senke2);
    return {quelle, verzweigung, senke1, senke2, ein, aus1, aus2};
}

TModellBau::TRueckfluss TModellBau::Rueckfluss() {
    auto& q = Knoten<TQuelle>("Q");
    auto& v1 = Knoten<TVerzweigung>("V1");
    auto& v2 = Knoten<TVerzweigung>("V2");
    auto& s = Knoten<TSenke>("S");
    Weg(q, v1);
    Weg(v1, v2);
    Weg(v2, s);
    Weg(v2, v1);
    Menge(q, 0, 100);
    Anteil(v1, 0, 1, 1, 100);
    Anteil(v1, 0, 2, 1, 100);
    Anteile(v2, 0, 1, {80, 20});
    return {q, v1, v2, s};
}

std::unique_ptr<TModell> TModellBau::Abgeben() { return std::move(Modell_); }

void Menge(TQuelle& q, int artikel, double menge) { q.Matrix().ZelleSetzen(artikel, 0, 1, menge); }

void Anteil(TVerzweigung& v, int artikel, int eingang, int ausgang, double prozent) {
    v.Matrix().ZelleSetzen(artikel, eingang, ausgang, prozent);
}

void Anteile(TVerzweigung& v, int artikel, int eingang, const std::vector<double>& anteile) {
    for (size_t k = 0; k < anteile.size(); ++k) Anteil(v, artikel, eingang, static_cast<int>(k) + 1, anteile[k]);
}

} // namespace tessomir::test
