#include <gtest/gtest.h>

#include <sstream>

#include "cli/UKommandozeile.h"
#include "gemeinsam/TAufzeichnung.h"

namespace tessomir {
namespace {

TEST(Kommandozeile, BerechnetBeispiel) {
    test::GlobaleZuruecksetzen();
    std::ostringstream aus, fehler;
    const int rc = KommandozeileAusfuehren({"berechnen", std::string(TESSOMIR_TESTDATEN) + "/beispiel_v3.TSR"}, aus, fehler);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(aus.str(), "Daten OK, Berechnung gestartet\nBerechnung OK\nMax. Strom berechnet : 50.00\n");
    EXPECT_EQ(fehler.str(), "");
}

} // namespace
} // namespace tessomir
