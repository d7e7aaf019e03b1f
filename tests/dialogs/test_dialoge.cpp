// Eigenschaften- und Eingabedialog, über ihre Felder und Knöpfe getrieben.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialogs/FEigenschaften.h"
#include "dialogs/FEingabe.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"

namespace tessomir {
namespace {

using test::TMeldung;

class Eigenschaften : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    TFMEigenschaften Dialog;

    // Öffnet den Dialog für 'o', trägt ein und drückt OK; true, wenn er schloss.
    bool MitOK(TFO& o, const QString& name, const QString& kapazitaet = {}) {
        Dialog.ObjektSetzen(&o);
        Dialog.open();
        Dialog.EDFOName->setText(name);
        if (!kapazitaet.isNull()) Dialog.EDKapazitaet->setText(kapazitaet);
        QTest::mouseClick(Dialog.BTOK, Qt::LeftButton);
        return !Dialog.isVisible();
    }
};

TEST_F(Eigenschaften, QuelleZeigtNurDenNamenUndUebernimmtIhn) {
    auto& q = Bau.Knoten<TQuelle>("Zulauf");
    Dialog.ObjektSetzen(&q);
    EXPECT_EQ(Dialog.EDFOName->text(), "Zulauf");
    EXPECT_TRUE(Dialog.EDKapazitaet->isHidden());
    EXPECT_TRUE(Dialog.LAKapazitaet->isHidden());
    ASSERT_TRUE(MitOK(q, "zulauf"));
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
    EXPECT_EQ(q.Name, "zulauf"); // Groß- und Kleinschreibung zählt
    EXPECT_TRUE(Dialog.Geaendert());
}

TEST_F(Eigenschaften, GleicheKapazitaetIstKeineAenderung) {
    auto strecke = Bau.Strecke();
    strecke.W.Kapazitaet = 5;
    Bau.M().Anzeigetrenner = ',';
    Dialog.ObjektSetzen(&strecke.W);
    EXPECT_FALSE(Dialog.EDKapazitaet->isHidden());
    EXPECT_EQ(Dialog.EDKapazitaet->text(), "5,00");
    ASSERT_TRUE(MitOK(strecke.W, QString::fromStdString(strecke.W.Name), "5,00"));
    EXPECT_FALSE(Dialog.Geaendert());
    ASSERT_TRUE(MitOK(strecke.W, QString::fromStdString(strecke.W.Name), "7,5"));
    EXPECT_TRUE(Dialog.Geaendert());
    EXPECT_DOUBLE_EQ(strecke.W.Kapazitaet, 7.5);
}

TEST_F(Eigenschaften, UngueltigeEingabenLassenDenDialogOffenUndAbbrechenAendertNichts) {
    auto& v = Bau.Knoten<TVerzweigung>("Weiche");
    v.Kapazitaet = 100;
    struct TFall {
        QString Name, Kapazitaet;
        std::string Meldung;
    };
    for (const TFall& fall : {
             TFall{"", "100.00", "Name darf nicht leer sein"},
             TFall{"Weiche", "viel", "Ung\xFC" "ltige Eingabe: Kapazit\xE4t"},
             TFall{"Weiche", "1000001", "Eingabe: Kapazit\xE4t\r\nmuss gr\xF6sser als 0 und kleiner als 1000000.00 sein"},
             TFall{QString::fromUtf8("Weiche \xE5\x90\x8D"), "100.00",
                   "Der Name enth\xE4lt Zeichen, die eine Modelldatei nicht speichern kann.\r\n"
                   "M\xF6glich sind Buchstaben, Ziffern und Zeichen aus Windows-1252."},
         }) {
        Platt.Meldungen.clear();
        EXPECT_FALSE(MitOK(v, fall.Name, fall.Kapazitaet)) << fall.Meldung;
        ASSERT_EQ(Platt.Meldungen.size(), 1u);
        EXPECT_EQ(Platt.Meldungen[0].Text, fall.Meldung);
        QTest::mouseClick(Dialog.BTAbbrechen, Qt::LeftButton);
        EXPECT_FALSE(Dialog.isVisible());
        EXPECT_EQ(Dialog.result(), QDialog::Rejected);
        EXPECT_EQ(v.Name, "Weiche");
        EXPECT_EQ(v.Kapazitaet, 100);
    }
    // Ohne Hilfebetrachter gibt die Hilfe den Warnton statt einer Meldung.
    QTest::mouseClick(Dialog.BTHilfe, Qt::LeftButton);
    EXPECT_EQ(Platt.Pieptoene, 1);
    // Ein Name aus Leerzeichen ist nicht leer.
    EXPECT_TRUE(MitOK(v, "  ", "100"));
    EXPECT_EQ(v.Name, "  ");
}

TEST(Namensregel, ZeilenumbruchUndSteuerzeichenZerbraechenDieDatei) {
    EXPECT_EQ(NamensFehler(""), "Name darf nicht leer sein");
    EXPECT_EQ(NamensFehler("a\r\nb"), "Der Name darf keinen Zeilenumbruch enthalten.");
    EXPECT_EQ(NamensFehler("a\tb"), "Der Name darf keine Steuerzeichen enthalten.");
    EXPECT_EQ(NamensFehler("M\xFChle / 2"), "");
}

// Beantwortet den nächsten modalen Eingabedialog, sobald er steht.
void Beantworten(std::function<void(TFMEingabe&)> tun) {
    QTimer::singleShot(0, [tun] {
        auto* d = qobject_cast<TFMEingabe*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        tun(*d);
    });
}

TEST(Eingabe, MarkierungEinfuegemarkeUndErgebnis) {
    test::TAufzeichnung platt;
    TEingabeInfo info{"Vorgabekapazit\xE4t", "Neue Kapazit\xE4t :", false, 0, 300, "1234"};
    Beantworten([](TFMEingabe& d) {
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Vorgabekapazit\xC3\xA4t"));
        EXPECT_FALSE(d.ED->hasSelectedText());
        EXPECT_EQ(d.ED->cursorPosition(), 4);
        QTest::keyClicks(d.ED, "5");
        QTest::keyClick(d.ED, Qt::Key_Return);
    });
    EXPECT_TRUE(EingabeAusfuehren(info, nullptr));
    EXPECT_EQ(info.Eingabe, "12345");

    info.AllesMarkieren = true;
    Beantworten([](TFMEingabe& d) {
        EXPECT_EQ(d.ED->selectedText(), "12345");
        QTest::keyClicks(d.ED, "9");
        QTest::keyClick(d.ED, Qt::Key_Escape);
    });
    EXPECT_FALSE(EingabeAusfuehren(info, nullptr));
    EXPECT_EQ(info.Eingabe, "12345");
}

TEST(Eingabe, HoeheFolgtDerUmgebrochenenFrage) {
    TFMEingabe d;
    TEingabeInfo info;
    info.Frage = "\xDC" "berschreibt die Kapazit\xE4ten der\r\nausgew\xE4hlten Wege und Verzweigungen\r\n\r\nNeue Kapazit\xE4t :";
    info.Breite = 400;
    d.Einrichten(info);
    const int zeile = d.LA->fontMetrics().lineSpacing();
    EXPECT_GE(d.LA->height(), 4 * zeile - 4);
    EXPECT_LE(d.LA->height(), 4 * zeile + 4);
    EXPECT_EQ(d.height(), d.LA->y() + d.LA->height() + 2 * 21);
    EXPECT_GE(d.ED->y(), d.LA->y() + d.LA->height());
    // Schmaler umbrochen wird die Frage höher, das Fenster mit ihr.
    const int breit = d.height();
    info.Breite = 160;
    d.Einrichten(info);
    EXPECT_GT(d.height(), breit);
}

} // namespace
} // namespace tessomir
