// Ansichtsdialog über seine Felder: Laden, Begrenzen, Höchststrom, Schrift.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <limits>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "dialogs/FAnsicht.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"

namespace tessomir {
namespace {

using test::TMeldung;

class Ansicht : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    TModell& M = Bau.M();
    TFMAnsicht Dialog;

    void Oeffnen() {
        Dialog.EinstellungenLaden(M);
        Dialog.open();
    }
    // Der Text, den das Zahlenfeld eines Auf-und-Ab zeigt.
    QString Anzeige(const char* name) const { return Dialog.findChild<QLineEdit*>(name)->text(); }
    bool OK() {
        QTest::mouseClick(Dialog.BTOK, Qt::LeftButton);
        return !Dialog.isVisible();
    }
};

TEST_F(Ansicht, NeuesModellZeigtDieVorgaben) {
    Oeffnen();
    EXPECT_EQ(Dialog.PCAnsicht->currentWidget(), Dialog.TSSymbole);
    for (auto* cb : {Dialog.CBQuellenBeschriften, Dialog.CBSenkenBeschriften, Dialog.CBVerzweigungenBeschriften,
                     Dialog.CBWandlerBeschriften, Dialog.CBWegeBeschriften})
        EXPECT_FALSE(cb->isChecked());
    EXPECT_EQ(Anzeige("STSymbolgroesse"), "4");
    EXPECT_EQ(Anzeige("STProzente"), "0");
    EXPECT_EQ(Anzeige("STStromgroessen"), "30");
    EXPECT_EQ(Anzeige("STStroeme"), "2");
    EXPECT_EQ(Anzeige("STMaxDauer"), "1");
    EXPECT_TRUE(Dialog.RBAnalog->isChecked());
    EXPECT_TRUE(Dialog.RBBerechnet->isChecked());
    EXPECT_TRUE(Dialog.EDMaxStrom->isHidden());
    EXPECT_EQ(Dialog.EDMaxStrom->text(), "");
    EXPECT_EQ(Dialog.UDStromGroesse->singleStep(), 5);
    EXPECT_FALSE(Dialog.Geaendert());
    ASSERT_TRUE(OK()); // auch ein OK ohne Änderung gilt als Änderung
    EXPECT_TRUE(Dialog.Geaendert());
}

TEST_F(Ansicht, WerteAusserhalbDerFelderOeffnenBegrenztAbbrechenLaesstSieStehen) {
    M.SymbolGroesse = 40000; // passt in kein 16-Bit-Feld
    M.StromStellen = std::numeric_limits<int>::max();
    M.StromGroesse = -7;
    M.MaxBerDauer = 1500;
    Oeffnen();
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_EQ(Dialog.UDSymbolGroesse->value(), 10);
    EXPECT_EQ(Dialog.UDStromGroesse->value(), 20);
    EXPECT_EQ(Dialog.UDStromStellen->value(), 5);
    EXPECT_EQ(Dialog.UDMaxDauer->value(), 1);
    QTest::mouseClick(Dialog.BTAbbrechen, Qt::LeftButton);
    EXPECT_EQ(M.SymbolGroesse, 40000);
    Oeffnen();
    Dialog.CBWegeBeschriften->setChecked(true);
    Dialog.RBDigital->setChecked(true);
    ASSERT_TRUE(OK());
    EXPECT_EQ(M.SymbolGroesse, 10);
    EXPECT_EQ(M.StromGroesse, 20);
    EXPECT_EQ(M.MaxBerDauer, 1000u);
    EXPECT_TRUE(M.WegeBeschr);
    EXPECT_EQ(M.Stromanzeige, 1);
}

TEST_F(Ansicht, EingegebenerWertWirdGeprueftUndMitKommaOderPunktGenommen) {
    M.Anzeigetrenner = ',';
    M.MaxStrom = 0.004;
    Oeffnen();
    Dialog.PCAnsicht->setCurrentWidget(Dialog.TSStroeme);
    QTest::mouseClick(Dialog.RBEingegeben, Qt::LeftButton);
    EXPECT_TRUE(Dialog.EDMaxStrom->isVisible());
    EXPECT_EQ(Dialog.EDMaxStrom->text(), "0,00");
    EXPECT_FALSE(OK());
    Dialog.EDMaxStrom->setText("");
    EXPECT_FALSE(OK());
    EXPECT_EQ(Platt.Meldungen, (std::vector<TMeldung>(2, {TMeldung::Fehler, "Max. Strom : Ung\xFCltige Eingabe"})));
    EXPECT_TRUE(M.MaxStromBer); // nichts geschrieben
    Dialog.EDMaxStrom->clear();
    QTest::keyClicks(Dialog.EDMaxStrom, "250.5");
    QTest::keyClick(Dialog.EDMaxStrom, Qt::Key_Return);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_FALSE(M.MaxStromBer);
    EXPECT_DOUBLE_EQ(M.MaxStrom, 250.5);
    Oeffnen();
    EXPECT_EQ(Dialog.EDMaxStrom->text(), "250,50"); // angezeigt mit dem Komma
    Dialog.PCAnsicht->setCurrentWidget(Dialog.TSStroeme);
    QTest::mouseClick(Dialog.RBBerechnet, Qt::LeftButton);
    EXPECT_TRUE(Dialog.EDMaxStrom->isHidden());
    Dialog.EDMaxStrom->setText("Unsinn");
    ASSERT_TRUE(OK());
    EXPECT_TRUE(M.MaxStromBer);
    EXPECT_DOUBLE_EQ(M.MaxStrom, 250.5);
}

// Beantwortet die nächste Schriftwahl mit 'schrift' oder bricht sie ab.
void SchriftWaehlen(const QFont* schrift) {
    QTimer::singleShot(0, [schrift] {
        auto* d = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->objectName(), "FDBeschriftung");
        if (schrift == nullptr) return d->reject();
        d->setCurrentFont(*schrift);
        d->accept();
    });
}

TEST_F(Ansicht, SchriftwahlAufDerArbeitskopie) {
    Oeffnen();
    // Eine Familie mit fettem Schnitt, die es hier gibt, damit die Wahl sie nicht ersetzt.
    const QStringList familien = QFontDatabase::families();
    const auto familie = std::find_if(familien.begin(), familien.end(),
                                      [](const QString& f) { return QFontDatabase::styles(f).contains("Bold"); });
    ASSERT_NE(familie, familien.end());
    QFont fett(*familie);
    fett.setPixelSize(20);
    fett.setBold(true);
    SchriftWaehlen(nullptr);
    QTest::mouseClick(Dialog.BTSchrift, Qt::LeftButton);
    EXPECT_FALSE(Dialog.Geaendert());
    SchriftWaehlen(&fett);
    QTest::mouseClick(Dialog.BTSchrift, Qt::LeftButton);
    EXPECT_TRUE(Dialog.Geaendert());
    EXPECT_EQ(Dialog.Arbeitsschrift().Stil & 1, 1);
    EXPECT_EQ(M.Schrift, TSchrift{}); // erst OK schreibt
    QTest::mouseClick(Dialog.BTAbbrechen, Qt::LeftButton);
    EXPECT_EQ(M.Schrift, TSchrift{});

    Oeffnen();
    SchriftWaehlen(&fett);
    QTest::mouseClick(Dialog.BTSchrift, Qt::LeftButton);
    ASSERT_TRUE(OK());
    EXPECT_EQ(M.Schrift.Stil, 1);
    EXPECT_LT(M.Schrift.Hoehe, 0);
    EXPECT_EQ(M.Schrift.Farbe, TSchrift{}.Farbe); // die Farbe wählt die Schriftwahl nicht
}

} // namespace
} // namespace tessomir
