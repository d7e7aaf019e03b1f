#include "TModellBau.h"

namespace tessomir::test {

TModellBau::TModellBau() : Modell_(std::make_unique<TModell>()) { Modell = Modell_.get(); }

TModellBau::~TModellBau() {
    Modell_.reset();
    Modell = nullptr;
}

TWeg& TModellBau::Weg(TKnoten& von, TKnoten& nach, const std::string& name) {
    auto w = std::make_unique<TWeg>();
    if (!name.empty()) w->Name = name;
    TWeg& ref = *w;
    Modell_->FOListe.Hinzufuegen(std::move(w), false);
    ref.SetStart(&von);
    ref.SetZiel(&nach);
    return ref;
}

std::unique_ptr<TModell> TModellBau::Abgeben() { return std::move(Modell_); }

} // namespace tessomir::test
