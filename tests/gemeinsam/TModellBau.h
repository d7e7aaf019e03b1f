#pragma once
// Baut Testmodelle wie der Editor: Knoten ans Ende, Wege an den Anfang der
// Objektliste, Wege mit SetStart/SetZiel verbunden.
#include <memory>
#include <string>
#include <vector>

#include "model/UKnoten.h"

namespace tessomir::test {

class TModellBau {
public:
    // Legt ein neues Modell an.
    TModellBau();
    ~TModellBau();
    TModellBau(const TModellBau&) = delete;
    TModellBau& operator=(const TModellBau&) = delete;

    TModell& M() { return *Modell_; }

    template <class T> T& Knoten(const std::string& name = {}, TPunkt ort = {0, 0}) {
        auto k = std::make_unique<T>(*Modell_);
        if (!name.empty()) k->Name = name;
        k->Refpunkt = ort;
        T& ref = *k;
        Modell_->FOListe.Hinzufuegen(std::move(k), true);
        return ref;
    }
    TWeg& Weg(TKnoten& von, TKnoten& nach, const std::string& name = {});

    // Kleine Netze, die viele Tests brauchen: erst die Knoten in der Reihenfolge
    // der Namen, dann die Wege von links nach rechts. Leere Namen lassen die
    // Vorgabenamen stehen.

    // Quelle -> Senke.
    struct TStrecke {
        TQuelle& Q;
        TSenke& S;
        TWeg& W;
    };
    TStrecke Strecke(const std::string& q = {}, const std::string& s = {}, const std::string& w = {});

    // Quelle -> K -> Senke; K ist eine Verzweigung oder ein Wandler.
    template <class T> struct TDurchlauf {
        TQuelle& Q;
        T& K;
        TSenke& S;
        TWeg& Ein;
        TWeg& Aus;
    };
    template <class T>
    TDurchlauf<T> Durchlauf(const std::string& q = {}, const std::string& k = {}, const std::string& s = {}) {
        auto& quelle = Knoten<TQuelle>(q);
        auto& mitte = Knoten<T>(k);
        auto& senke = Knoten<TSenke>(s);
        TWeg& ein = Weg(quelle, mitte);
        TWeg& aus = Weg(mitte, senke);
        return {quelle, mitte, senke, ein, aus};
    }

    // Zwei Quellen -> Verzweigung -> Senke.
    struct TZusammenfluss {
        TQuelle& Q1;
        TQuelle& Q2;
        TVerzweigung& V;
        TSenke& S;
        TWeg& Ein1;
        TWeg& Ein2;
        TWeg& Aus;
    };
    TZusammenfluss Zusammenfluss(const std::string& q1 = {}, const std::string& q2 = {},
                                 const std::string& v = {}, const std::string& s = {});

    // Quelle -> Verzweigung -> zwei Senken.
    struct TVerteilung {
        TQuelle& Q;
        TVerzweigung& V;
        TSenke& S1;
        TSenke& S2;
        TWeg& Ein;
        TWeg& Aus1;
        TWeg& Aus2;
    };
    TVerteilung Verteilung(const std::string& q = {}, const std::string& v = {}, const std::string& s1 = {},
                           const std::string& s2 = {});

    // Q -> V1 -> V2 -> S, V2 gibt 80 % an die Senke und 20 % zurück an V1;
    // die Quelle liefert 100 von Artikel 0 (im Gleichgewicht 125 durch V1 und V2).
    struct TRueckfluss {
        TQuelle& Q;
        TVerzweigung& V1;
        TVerzweigung& V2;
        TSenke& S;
    };
    TRueckfluss Rueckfluss();

    // Übergibt das Modell (z. B. an einen Test, der es zerstören will).
    std::unique_ptr<TModell> Abgeben();

private:
    std::unique_ptr<TModell> Modell_;
};

// Liefermenge einer Quelle je Artikel (Ausgangszelle des einzigen Ausgangs).
void Menge(TQuelle& q, int artikel, double menge);
// Anteil in Prozent, den eine Verzweigung von einem Eingang an einen Ausgang gibt.
void Anteil(TVerzweigung& v, int artikel, int eingang, int ausgang, double prozent);
// Anteile einer Eingangsspalte (ein Artikel, ein Eingang) auf die Ausgänge 1, 2, ...
void Anteile(TVerzweigung& v, int artikel, int eingang, const std::vector<double>& anteile);

} // namespace tessomir::test
