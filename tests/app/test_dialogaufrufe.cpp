// Artikel..., Einstellungen... und Info im Hauptfenster: die Dialoge werden
// beantwortet, sobald sie modal stehen; danach Modell und Statusleiste.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/FHaupt.h"
#include "dialogs/FAnsicht.h"
#include "dialogs/FArtikel.h"
#include "dialogs/FVersion.h"
#include "gemeinsam/TAufzeichnung.h"
#include "model/UModell.h"

namespace tessomir {
namespace {

template <class D> void Beantworten(std::function<void(D&)> tun) {
    QTimer::singleShot(0, [tun] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        tun(*d);
    });
}

class Dialogaufrufe : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    TFMHaupt F;
    Dialogaufrufe() {
        Plattform().Meldungen = &Platt;
        Ausloesen("ACDateiNeu");
    }
    void Ausloesen(const char* name) {
        F.AktionenAktualisieren();
        QAction* a = F.findChild<QAction*>(name);
        ASSERT_TRUE(a->isEnabled()) << name;
        a->trigger();
    }
    QString Panel(const char* name) { return F.findChild<QLabel*>(name)->text(); }
};

TEST_F(Dialogaufrufe, ArtikelMachtDenAusgewaehltenZumAktuellen) {
    Beantworten<TFMArtikel>([](TFMArtikel& d) {
        d.EDBezeichnung->setText("Glas");
        QTest::mouseClick(d.BTEinfuegen, Qt::LeftButton);
        QTest::mouseClick(d.BTAbbrechen, Qt::LeftButton);
    });
    Ausloesen("ACBearbeitenArtikel");
    EXPECT_EQ(F.Modell()->AktArtikel, 1);
    EXPECT_TRUE(F.Modell()->Modifiziert);
    EXPECT_EQ(Panel("SBHauptArtikel"), "Artikel : Glas");
}

TEST_F(Dialogaufrufe, EinstellungenNurMitOkUndDannModifiziert) {
    Beantworten<TFMAnsicht>([](TFMAnsicht& d) {
        d.RBEingegeben->click();
        d.EDMaxStrom->setText("40");
        QTest::mouseClick(d.BTAbbrechen, Qt::LeftButton);
    });
    Ausloesen("ACAnsichtEinstellungen");
    EXPECT_FALSE(F.Modell()->Modifiziert);
    EXPECT_TRUE(F.Modell()->MaxStromBer);
    Beantworten<TFMAnsicht>([](TFMAnsicht& d) {
        d.RBEingegeben->click();
        d.EDMaxStrom->setText("40");
        QTest::mouseClick(d.BTOK, Qt::LeftButton);
    });
    Ausloesen("ACAnsichtEinstellungen");
    EXPECT_TRUE(F.Modell()->Modifiziert);
    EXPECT_EQ(Panel("SBHauptMaxStrom"), "Max. Strom : 40.00");
}

TEST_F(Dialogaufrufe, InfoAuchOhneModell) {
    Ausloesen("ACDateiSchliessen");
    Beantworten<TFMVersion>([](TFMVersion& d) {
        // Das Testprogramm trägt keine Versionsnotiz.
        EXPECT_EQ(d.LAVersionsAnzeige->text(), "Keine Versionsinformation");
        QTest::mouseClick(d.BTOK, Qt::LeftButton);
    });
    Ausloesen("ACHilfeInfo");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace tessomir
