// Engpassdialog: Tabelle aus der Berechnung, Schwelle, Sortierung nach Zahlen
// und der Doppelklick, der das Objekt der Zeile meldet.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "analysis/UBerechnung.h"
#include "dialogs/FEngpaesse.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::Anteil;
using test::Menge;

TEST(Engpaesse, TabelleSchwelleSortierungUndDoppelklick) {
    test::TAufzeichnung auf;
    test::TModellBau bau;
    // Q -> V -> zwei Senken: Ein 95 von 100, Aus1 9.5 von 10, Aus2 85.5 von 1000.
    auto& q = bau.Knoten<TQuelle>("Q");
    auto& v = bau.Knoten<TVerzweigung>("V");
    auto& s1 = bau.Knoten<TSenke>("S1");
    auto& s2 = bau.Knoten<TSenke>("S2");
    TWeg& ein = bau.Weg(q, v, "Ein");
    TWeg& aus1 = bau.Weg(v, s1, "Aus1");
    bau.Weg(v, s2, "Aus2").Kapazitaet = 1000;
    Menge(q, 0, 95);
    Anteil(v, 0, 1, 1, 10);
    Anteil(v, 0, 1, 2, 90);
    ein.Kapazitaet = 100;
    aus1.Kapazitaet = 9.5;
    v.Kapazitaet = 1000;
    ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);

    TFMEngpaesse d(bau.M());
    EXPECT_EQ(d.UDSchwelle->value(), 90.0);
    ASSERT_EQ(d.SGEngpaesse->rowCount(), 2);
    EXPECT_EQ(d.SGEngpaesse->horizontalHeaderItem(5)->text(), "Auslastung in %");
    EXPECT_EQ(d.SGEngpaesse->item(0, 0)->text(), "[ Aus1 ]");
    EXPECT_EQ(d.SGEngpaesse->item(0, 5)->text(), "100.0");
    EXPECT_EQ(d.SGEngpaesse->item(1, 0)->text(), "[ Ein ]");
    EXPECT_EQ(d.SGEngpaesse->item(1, 3)->text(), "95.00");
    EXPECT_EQ(d.LAAnzahl->text(), QString::fromUtf8("2 Engp\u00e4sse"));

    // Nach dem Strom aufsteigend: 9.50 vor 95.00 (als Text stünde 95.00 zuerst).
    d.SGEngpaesse->sortItems(3, Qt::AscendingOrder);
    EXPECT_EQ(d.EintragInZeile(0)->Objekt, &aus1);
    const TFO* gezeigt = nullptr;
    d.ObjektZeigen = [&gezeigt](const TFO* o) { gezeigt = o; };
    emit d.SGEngpaesse->cellDoubleClicked(1, 2);
    EXPECT_EQ(gezeigt, &ein);

    d.UDSchwelle->setValue(99);
    EXPECT_EQ(d.SGEngpaesse->rowCount(), 1);
    d.UDSchwelle->setValue(101);
    EXPECT_EQ(d.SGEngpaesse->rowCount(), 0);
    EXPECT_EQ(d.LAAnzahl->text(), QString::fromUtf8("Keine Engp\u00e4sse"));
    EXPECT_EQ(d.EintragInZeile(0), nullptr);
}

} // namespace
} // namespace tessomir
