#include "TAufzeichnendeFlaeche.h"

namespace tessomir::test {

void TAufzeichnendeFlaeche::Merken(TPrimitiv::TArt art, const std::vector<TBildpunkt>& p, const TRechteck& r) {
    Elemente.push_back(TPrimitiv{art, p, r, {}, StiftF, PinselF, ModusF, SchriftF});
}

void TAufzeichnendeFlaeche::TextAusgeben(int32_t x, int32_t y, std::string_view text) {
    Merken(TPrimitiv::Textausgabe, {{x, y}}, {});
    Elemente.back().Text = std::string(text);
}

void TAufzeichnendeFlaeche::LinieZu(int32_t x, int32_t y) {
    Merken(TPrimitiv::Linie, {Stelle, {x, y}}, {});
    Stelle = {x, y};
}

std::vector<TPrimitiv> TAufzeichnendeFlaeche::Alle(TPrimitiv::TArt art) const {
    std::vector<TPrimitiv> auswahl;
    for (const auto& e : Elemente) {
        if (e.Art == art) auswahl.push_back(e);
    }
    return auswahl;
}

} // namespace tessomir::test
