// Der Massstab der Sankey-Ansicht: Breite oder fester Massstab, nur das Feld
// der gewählten Art bearbeitbar, Zahlen ohne angehängte Nullen, mit Tasten.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "dialogs/FSankeyMassstab.h"

namespace tessomir {
namespace {

TEST(SankeyMassstab, BreiteOderFesterMassstab) {
    TFMSankeyMassstab d;
    TSankey s;
    s.Geltend = 0.25; // der gerade geltende Massstab als Vorschlag
    d.Einrichten(s);
    EXPECT_TRUE(d.RBBreite->isChecked());
    EXPECT_TRUE(d.SEBreite->isEnabled());
    EXPECT_FALSE(d.SEMenge->isEnabled());
    EXPECT_EQ(d.SEMenge->value(), 0.25);
    EXPECT_EQ(d.SEMenge->text(), d.locale().toString(0.25) + QStringLiteral(" Mengeneinheiten"));

    // Fester Massstab gewählt und eingetippt.
    d.show();
    QTest::mouseClick(d.RBFest, Qt::LeftButton, {}, QPoint(5, d.RBFest->height() / 2));
    ASSERT_TRUE(d.SEMenge->isEnabled());
    d.SEMenge->selectAll();
    QTest::keyClicks(d.SEMenge, d.locale().toString(2.5));
    QTest::keyClick(d.SEMenge, Qt::Key_Tab);
    TSankey neu;
    d.Uebernehmen(neu);
    EXPECT_EQ(neu.MengeJePunkt, 2.5);
    EXPECT_EQ(neu.Breite, 40.0);

    // Zurück zur Breite: der feste Massstab gilt nicht mehr.
    d.RBBreite->setChecked(true);
    d.SEBreite->setValue(60);
    d.Uebernehmen(neu);
    EXPECT_EQ(neu.MengeJePunkt, 0.0);
    EXPECT_EQ(neu.Breite, 60.0);
    s.MengeJePunkt = 2.5;
    d.Einrichten(s);
    EXPECT_TRUE(d.RBFest->isChecked());
    EXPECT_FALSE(d.SEBreite->isEnabled());
}

} // namespace
} // namespace tessomir
