#pragma once
// Hilfebetrachter für Tests: merkt sich jede gezeigte Adresse.
#include <string>
#include <vector>

#include "help/UHilfe.h"

namespace tessomir::test {

class TMerkendeHilfe final : public IHilfeBetrachter {
public:
    bool AdresseZeigen(const std::string& adresse) override {
        Adressen.push_back(adresse);
        return true;
    }
    std::vector<std::string> Adressen;
};

} // namespace tessomir::test
