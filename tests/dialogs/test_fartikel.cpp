// Artikeldialog über Feld, Liste und Knöpfe: Namensregel, Einfügen,
// Umbenennen, Löschen mit Frage, Auswahl danach und die Matrizen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "dialogs/FArtikel.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "gemeinsam/TMerkendeHilfe.h"
#include "help/UHilfe.h"

namespace tessomir {
namespace {

using test::TMeldung;
using test::TMerkendeHilfe;

class Artikel : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    test::TModellBau::TDurchlauf<TWandler> Netz = Bau.Durchlauf<TWandler>();
    TFMArtikel Dialog;

    void Oeffnen() {
        Dialog.Fuellen(Bau.M());
        Dialog.show();
    }
    QStringList Liste() const {
        QStringList l;
        for (int i = 0; i < Dialog.LBVorhandene->count(); ++i) l << Dialog.LBVorhandene->item(i)->text();
        return l;
    }
    void Eintippen(const QString& text) {
        Dialog.EDBezeichnung->clear();
        QTest::keyClicks(Dialog.EDBezeichnung, text);
    }
};

TEST_F(Artikel, NamensregelGibtEinfuegenUndAendernFrei) {
    Oeffnen();
    EXPECT_EQ(Liste(), QStringList{"Artikel1"});
    EXPECT_EQ(Dialog.EDBezeichnung->text(), "Artikel1");
    EXPECT_FALSE(Dialog.BTLoeschen->isEnabled()); // der einzige Artikel bleibt
    EXPECT_EQ(Dialog.BTLoeschen->text(), QString::fromUtf8("L\u00f6schen..."));
    for (const char* gesperrt : {"ARTIKEL1", "artikel1", ""}) {
        Eintippen(gesperrt);
        EXPECT_FALSE(Dialog.BTEinfuegen->isEnabled()) << gesperrt;
        EXPECT_FALSE(Dialog.BTAendern->isEnabled()) << gesperrt;
    }
    Eintippen("Artikel1 ");
    EXPECT_TRUE(Dialog.BTEinfuegen->isEnabled());
    EXPECT_TRUE(Dialog.BTAendern->isEnabled());
}

TEST_F(Artikel, EinfuegenMitEnterWaehltDenNeuenUndMatrizenWachsen) {
    Oeffnen();
    Eintippen("Glas");
    QTest::keyClick(Dialog.EDBezeichnung, Qt::Key_Return); // Einfügen ist der Vorgabeknopf
    EXPECT_EQ(Liste(), (QStringList{"Artikel1", "Glas"}));
    EXPECT_EQ(Dialog.AuswahlIndex(), 1);
    EXPECT_EQ(Dialog.EDBezeichnung->text(), "Glas");
    EXPECT_TRUE(Bau.M().Modifiziert);
    EXPECT_EQ(Bau.M().ArtikelListe.back(), "Glas");
    EXPECT_EQ(Netz.Q.Matrix().Dim1(), 2);
    EXPECT_EQ(Netz.K.Matrix().Dim2(), 3);
    EXPECT_TRUE(Dialog.BTLoeschen->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // Sanduhr wieder weg
}

TEST_F(Artikel, UmbenennenAendertNurDenNamen) {
    Bau.M().ArtikelEinfuegen("Glas");
    test::Menge(Netz.Q, 1, 4);
    Oeffnen();
    Dialog.LBVorhandene->setCurrentRow(1);
    Dialog.EDBezeichnung->setText(QString::fromUtf8("Altglas \u20ac"));
    QTest::mouseClick(Dialog.BTAendern, Qt::LeftButton);
    EXPECT_EQ(Liste(), (QStringList{"Artikel1", QString::fromUtf8("Altglas \u20ac")}));
    EXPECT_EQ(Bau.M().ArtikelListe[1], "Altglas \x80");
    EXPECT_DOUBLE_EQ(Netz.Q.Matrix().W(1, 0, 1), 4);
    EXPECT_TRUE(Bau.M().Modifiziert);
}

TEST_F(Artikel, NamenOhneWindows1252WerdenAbgewiesen) {
    Oeffnen();
    Dialog.EDBezeichnung->setText(QString::fromUtf8("Reis \u7c73"));
    QTest::mouseClick(Dialog.BTEinfuegen, Qt::LeftButton);
    Dialog.EDBezeichnung->setText("Zwei\nZeilen");
    QTest::mouseClick(Dialog.BTEinfuegen, Qt::LeftButton);
    ASSERT_EQ(Platt.Meldungen.size(), 2u);
    EXPECT_EQ(Platt.Meldungen[0].Art, TMeldung::Fehler);
    EXPECT_NE(Platt.Meldungen[0].Text.find("Windows-1252"), std::string::npos);
    EXPECT_EQ(Platt.Meldungen[1].Text, "Der Name darf keinen Zeilenumbruch enthalten.");
    EXPECT_EQ(Bau.M().ArtikelListe, std::vector<std::string>{"Artikel1"});
    EXPECT_FALSE(Bau.M().Modifiziert);
}

TEST_F(Artikel, LoeschenFragtUndWaehltDenNachbarn) {
    for (const char* n : {"B", "C", "D"}) Bau.M().ArtikelEinfuegen(n);
    test::Menge(Netz.Q, 2, 7);
    Bau.M().AktArtikel = 0;
    Oeffnen();
    const std::string frage = "Mit dem Artikel werden alle\n\rEintr\xE4ge in den Matrizen gel\xF6scht\n\rWeiterfahren ? ";
    Platt.Antworten = {TAntwort::Nein};
    QTest::mouseClick(Dialog.BTLoeschen, Qt::LeftButton);
    EXPECT_EQ(Platt.Meldungen, (std::vector<TMeldung>{{TMeldung::Frage, frage}}));
    EXPECT_EQ(Liste().size(), 4);
    EXPECT_FALSE(Bau.M().Modifiziert);

    Platt.Antworten = {TAntwort::Ja, TAntwort::Ja};
    QTest::mouseClick(Dialog.BTLoeschen, Qt::LeftButton); // der erste: der neue erste
    EXPECT_EQ(Liste(), (QStringList{"B", "C", "D"}));
    EXPECT_EQ(Dialog.AuswahlIndex(), 0);
    EXPECT_EQ(Dialog.EDBezeichnung->text(), "B");
    Dialog.LBVorhandene->setCurrentRow(2);
    QTest::mouseClick(Dialog.BTLoeschen, Qt::LeftButton); // der letzte: sein Vorgänger
    EXPECT_EQ(Liste(), (QStringList{"B", "C"}));
    EXPECT_EQ(Dialog.AuswahlIndex(), 1);
    EXPECT_EQ(Dialog.EDBezeichnung->text(), "C");
    EXPECT_EQ(Bau.M().ArtikelListe, (std::vector<std::string>{"B", "C"}));
    EXPECT_DOUBLE_EQ(Netz.Q.Matrix().W(1, 0, 1), 7); // C behielt seine Menge
    EXPECT_EQ(Netz.K.Matrix().Dim1(), 2);
    EXPECT_TRUE(Bau.M().Modifiziert);
}

TEST_F(Artikel, EscSchliesstMitOkUndF1ZeigtDasThema) {
    TMerkendeHilfe hilfe;
    HilfeBetrachterSetzen(&hilfe);
    Oeffnen();
    Dialog.activateWindow(); // Tastenkürzel gelten im aktiven Fenster
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog));
    QTest::keyClick(Dialog.EDBezeichnung, Qt::Key_F1);
    QTest::mouseClick(Dialog.BTHilfe, Qt::LeftButton);
    HilfeBetrachterSetzen(nullptr);
    ASSERT_EQ(hilfe.Adressen.size(), 2u);
    EXPECT_NE(hilfe.Adressen[0].find("::/artikelbearbeiten.htm"), std::string::npos) << hilfe.Adressen[0];
    QTest::keyClick(Dialog.EDBezeichnung, Qt::Key_Escape);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace tessomir
