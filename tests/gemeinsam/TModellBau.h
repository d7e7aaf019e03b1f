#pragma once
// Baut Testmodelle wie der Editor: Knoten ans Ende, Wege an den Anfang der
// Objektliste, Wege mit SetStart/SetZiel verbunden.
#include <memory>
#include <string>

#include "model/UKnoten.h"

namespace tessomir::test {

class TModellBau {
public:
    // Legt ein neues Modell an und macht es zum aktuellen.
    TModellBau();
    ~TModellBau();
    TModellBau(const TModellBau&) = delete;
    TModellBau& operator=(const TModellBau&) = delete;

    TModell& M() { return *Modell_; }

    template <class T> T& Knoten(const std::string& name = {}, TPunkt ort = {0, 0}) {
        auto k = std::make_unique<T>();
        if (!name.empty()) k->Name = name;
        k->Refpunkt = ort;
        T& ref = *k;
        Modell_->FOListe.Hinzufuegen(std::move(k), true);
        return ref;
    }
    TWeg& Weg(TKnoten& von, TKnoten& nach, const std::string& name = {});

    // Übergibt das Modell (z. B. an einen Test, der es zerstören will).
    std::unique_ptr<TModell> Abgeben();

private:
    std::unique_ptr<TModell> Modell_;
};

} // namespace tessomir::test
