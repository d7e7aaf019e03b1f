// Matrixeditor über Raster, Tasten, Maus und Knöpfe: Eingaben, Artikel
// blättern, Anteilshilfen, Kontextmenü, OK und Abbrechen, Senke und Wandler.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "dialogs/FEigenschaften.h"
#include "dialogs/FMatrix.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "gemeinsam/TMerkendeHilfe.h"
#include "help/UHilfe.h"
#include "editing/UMatrixBearbeitung.h"

namespace tessomir {
namespace {

using test::TMeldung;
using test::TMerkendeHilfe;

const TMeldung Ungueltig{TMeldung::Fehler, "Ung\xFC" "ltige Eingabe"};

class Matrixeditor : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    std::unique_ptr<TFMMatrix> D;

    void Oeffnen(TKnoten& k, int artikel = 0) {
        D = std::make_unique<TFMMatrix>();
        D->KnotenSetzen(&k);
        D->ArtikelListeSetzen(Bau.M().ArtikelListe, artikel);
        D->open();
        D->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(D.get()));
    }
    QPoint Mitte(int spalte, int zeile) const {
        return D->SGMatrix->visualRect(D->SGMatrix->model()->index(zeile, spalte)).center();
    }
    void Klicken(int spalte, int zeile, Qt::MouseButton taste = Qt::LeftButton) {
        QTest::mouseClick(D->SGMatrix->viewport(), taste, {}, Mitte(spalte, zeile));
    }
    QString Text(int spalte, int zeile) const {
        return D->SGMatrix->model()->index(zeile, spalte).data().toString();
    }
    // Der offene Zelleneditor; geschlossene warten womöglich noch aufs Löschen.
    QLineEdit* Editor() const {
        for (QLineEdit* e : D->findChildren<QLineEdit*>("EDZelle"))
            if (e->isVisible()) return e;
        return nullptr;
    }
    // Tippt in eine Zelle wie ein Anwender: die erste Taste öffnet den Editor.
    void Tippen(int spalte, int zeile, const QString& text) {
        Klicken(spalte, zeile);
        QTest::keyClick(D->SGMatrix, text.at(0).toLatin1());
        QLineEdit* editor = Editor();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // die Ansicht übernimmt den Text nachgereicht
    }
    void Taste(int taste, Qt::KeyboardModifiers mod = {}) { QTest::keyClick(D->SGMatrix, Qt::Key(taste), mod); }
};

TEST_F(Matrixeditor, VerzweigungUeberDasRasterMitOkUndAbbrechen) {
    auto v = Bau.Verteilung("Q", "V", "Links", "Rechts");
    Oeffnen(v.V);
    EXPECT_EQ(D->windowTitle(), "Matrix [V]");
    EXPECT_EQ(D->size(), QSize(550, 200));
    EXPECT_EQ(Text(0, 3), "Rechts");
    EXPECT_EQ(D->SGMatrix->currentIndex(), D->SGMatrix->model()->index(2, 2));
    EXPECT_FALSE(D->Geaendert());

    Tippen(2, 2, "30");
    EXPECT_TRUE(D->isVisible()); // die Eingabetaste schliesst nur den Editor
    EXPECT_EQ(Text(2, 2), "30");
    EXPECT_TRUE(D->Geaendert());
    Klicken(2, 3);
    Taste(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(Text(2, 3), "70");
    EXPECT_EQ(*v.V.Matrix().Zelle(0, 1, 1), 0); // erst OK gibt die Kopie ab
    QTest::mouseClick(D->BTOK, Qt::LeftButton);
    ASSERT_FALSE(D->isVisible());
    EXPECT_EQ(D->result(), QDialog::Accepted);
    EXPECT_TRUE(D->MatrixUebernehmen());
    EXPECT_EQ(*v.V.Matrix().Zelle(0, 1, 1), 30);
    EXPECT_EQ(*v.V.Matrix().Zelle(0, 1, 2), 70);

    // Abbrechen (auch mit Escape) verwirft alles.
    Oeffnen(v.V);
    Tippen(2, 2, "5");
    Taste(Qt::Key_Escape);
    ASSERT_FALSE(D->isVisible());
    EXPECT_EQ(D->result(), QDialog::Rejected);
    EXPECT_EQ(*v.V.Matrix().Zelle(0, 1, 1), 30);

    // OK ohne Änderung lässt die Matrix, wie sie war.
    Oeffnen(v.V);
    Taste(Qt::Key_Return);
    ASSERT_FALSE(D->isVisible());
    EXPECT_FALSE(D->MatrixUebernehmen());
}

TEST_F(Matrixeditor, StrgVFuegtEinenBlockAusDerTabellenkalkulationEin) {
    auto v = Bau.Verteilung("Q", "V", "Links", "Rechts");
    Oeffnen(v.V);
    QGuiApplication::clipboard()->setText(QStringLiteral("25,5\r\n74.5\r\n"));
    Klicken(2, 2);
    Taste(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(2, 2), "25.5");
    EXPECT_EQ(Text(2, 3), "74.5");
    // Im offenen Zelleneditor fügt Strg+V nur dort Text ein.
    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    QTest::keyClick(D->SGMatrix, '1');
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Editor()->text(), "19");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(Text(2, 2), "25.5");
    QTest::mouseClick(D->BTOK, Qt::LeftButton);
    ASSERT_FALSE(D->isVisible());
    EXPECT_TRUE(D->MatrixUebernehmen());
    EXPECT_EQ(*v.V.Matrix().Zelle(0, 1, 1), 25.5);
    EXPECT_EQ(*v.V.Matrix().Zelle(0, 1, 2), 74.5);
    // Ohne Text in der Zwischenablage piept es nur.
    Oeffnen(v.V);
    QGuiApplication::clipboard()->clear();
    const int piep = Platt.Pieptoene;
    Taste(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Platt.Pieptoene, piep + 1);
}

TEST_F(Matrixeditor, QuelleBlaettertDurchArtikelUndPrueftBeimVerlassen) {
    Bau.M().Anzeigetrenner = ',';
    Bau.M().ArtikelEinfuegen("Glas");
    auto s = Bau.Strecke("Q", "S");
    test::Menge(s.Q, 1, 2.5);
    Oeffnen(s.Q);
    EXPECT_EQ(D->LAArtikelAnzeige->text(), " Artikel1");
    EXPECT_FALSE(D->ACVorhArtikel->isEnabled());
    Tippen(1, 2, "1x");
    Taste(Qt::Key_F6);
    EXPECT_EQ(Platt.Meldungen, std::vector<TMeldung>{Ungueltig});
    EXPECT_EQ(D->AnzeigeArtikel(), 0);
    EXPECT_EQ(Text(1, 2), "1x");
    QTest::mouseClick(D->BTOK, Qt::LeftButton);
    EXPECT_TRUE(D->isVisible());
    EXPECT_EQ(Platt.Meldungen.size(), 2u);

    // F6 bei offenem Editor nimmt dessen Text mit; Punkt und Komma gelten beide.
    Klicken(1, 2);
    QTest::keyClick(D->SGMatrix, '1');
    QTest::keyClicks(Editor(), "2.5");
    Taste(Qt::Key_F6);
    EXPECT_EQ(D->LAArtikelAnzeige->text(), " Glas");
    EXPECT_EQ(Text(1, 2), "2,50");
    EXPECT_FALSE(D->ACNaeArtikel->isEnabled());
    Taste(Qt::Key_F6); // am letzten Artikel ohne Wirkung
    EXPECT_EQ(D->AnzeigeArtikel(), 1);
    Taste(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(Text(1, 2), "12,50");
    Taste(Qt::Key_O, Qt::ControlModifier);
    ASSERT_FALSE(D->isVisible());
    EXPECT_TRUE(D->MatrixUebernehmen());
    EXPECT_EQ(*s.Q.Matrix().Zelle(0, 0, 1), 12.5);
    EXPECT_EQ(*s.Q.Matrix().Zelle(1, 0, 1), 2.5);
}

TEST_F(Matrixeditor, AnteilshilfenUeberTastenUndKontextmenue) {
    auto& v = Bau.Knoten<TVerzweigung>("V");
    for (const char* e : {"E1", "E2"}) Bau.Weg(Bau.Knoten<TQuelle>(e), v);
    for (const char* a : {"A1", "A2", "A3"}) Bau.Weg(v, Bau.Knoten<TSenke>(a));
    Oeffnen(v);
    EXPECT_EQ(D->PU->actions().size(), 5);
    EXPECT_EQ(D->PU->actions().at(4)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    // Rechts auf eine feste Zelle: nichts; auf eine Anteilszelle: wählen und Menü.
    Klicken(1, 3, Qt::RightButton);
    EXPECT_FALSE(D->PU->isVisible());
    Klicken(3, 4, Qt::RightButton);
    EXPECT_TRUE(D->PU->isVisible());
    EXPECT_EQ(D->SGMatrix->currentIndex().row(), 4);
    D->ACAlleZumAusgang->trigger(); // wie ein Klick auf den Menüeintrag
    D->PU->hide();
    D->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(D.get()));
    for (int c = 2; c <= 3; ++c)
        for (int r = 2; r <= 4; ++r) EXPECT_EQ(Text(c, r), r == 4 ? "100" : "0");

    Klicken(3, 2);
    Taste(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(Text(3, 2), "100");
    EXPECT_EQ(Text(3, 4), "0");
    EXPECT_EQ(Text(2, 4), "100");

    // Im offenen Editor gilt Strg+A des Dialogs, nicht das des Textfelds.
    Klicken(2, 3);
    QTest::keyClick(D->SGMatrix, '8');
    QTest::keyClick(Editor(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Text(2, 3), "100");
    EXPECT_EQ(Text(2, 2), "0");
}

TEST_F(Matrixeditor, SenkeNurZumLesenUndWandlerMitFaktorpruefungHilfeUndEigenschaften) {
    auto s = Bau.Strecke("Q", "Lager");
    s.S.Matrix().ZelleSetzen(0, 1, 0, 7);
    Oeffnen(s.S);
    EXPECT_EQ(Text(2, 1), "7.00");
    Klicken(2, 1);
    QTest::keyClick(D->SGMatrix, '1');
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_FALSE(D->ACErgaenzenAuf100->isEnabled());
    Taste(Qt::Key_Return);
    ASSERT_FALSE(D->isVisible());
    EXPECT_FALSE(D->MatrixUebernehmen());
    EXPECT_EQ(*s.S.Matrix().Zelle(0, 1, 0), 7);

    Bau.M().ArtikelEinfuegen("Glas");
    auto d = Bau.Durchlauf<TWandler>("Q", "Ofen", "S");
    TMerkendeHilfe hilfe;
    HilfeBetrachterSetzen(&hilfe);
    Oeffnen(d.K, 1);
    EXPECT_EQ(D->KnotenArt(), 3);
    EXPECT_EQ(Text(0, 2), "Glas");
    Tippen(1, 1, "zwei");
    Taste(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(D->isVisible());
    EXPECT_EQ(Platt.Meldungen, std::vector<TMeldung>{Ungueltig});
    Taste(Qt::Key_F1);
    HilfeBetrachterSetzen(nullptr);
    ASSERT_EQ(hilfe.Adressen.size(), 1u);
    EXPECT_NE(hilfe.Adressen[0].find("::/wandlermatrix.htm"), std::string::npos) << hilfe.Adressen[0];

    // Eigenschaften: der neue Name steht danach im Titel.
    QTimer::singleShot(0, [] {
        auto* e = qobject_cast<TFMEigenschaften*>(QApplication::activeModalWidget());
        ASSERT_NE(e, nullptr);
        e->EDFOName->setText("Brenner");
        QTest::mouseClick(e->BTOK, Qt::LeftButton);
    });
    QTest::mouseClick(D->BTEigenschaften, Qt::LeftButton);
    EXPECT_EQ(d.K.Name, "Brenner");
    EXPECT_EQ(D->windowTitle(), "Matrix [Brenner]");
    EXPECT_TRUE(Bau.M().Modifiziert);
}

TEST_F(Matrixeditor, ZellenfarbenUndSpaltenbreite) {
    auto v = Bau.Verteilung();
    Oeffnen(v.V);
    Klicken(0, 0); // feste Zelle: der Fokus bleibt auf der ersten Eingabezelle
    const QImage bild = D->SGMatrix->viewport()->grab().toImage();
    const auto farbe = [&](int spalte, int zeile) {
        const QRect r = D->SGMatrix->visualRect(D->SGMatrix->model()->index(zeile, spalte));
        return QColor(bild.pixel(r.left() + 3, r.top() + 3));
    };
    EXPECT_EQ(farbe(2, 3), QColor(213, 255, 255));
    EXPECT_EQ(farbe(0, 2), QColor(255, 168, 168));
    EXPECT_EQ(farbe(2, 0), QColor(159, 244, 166));
    EXPECT_EQ(farbe(1, 2), QColor(Qt::white));
    EXPECT_EQ(D->SGMatrix->currentIndex(), D->SGMatrix->model()->index(2, 2));

    // Spaltenbreiten zieht man an der Grenze in einer festen Zeile.
    QWidget* flaeche = D->SGMatrix->viewport();
    QTest::mousePress(flaeche, Qt::LeftButton, {}, QPoint(100, 5));
    QTest::mouseMove(flaeche, QPoint(140, 5));
    QTest::mouseRelease(flaeche, Qt::LeftButton, {}, QPoint(140, 5));
    EXPECT_EQ(D->SGMatrix->columnWidth(0), 140);
}

// Punkte des gepunkteten Rechtecks auf der oberen Innenkante einer Zelle.
int Rahmenpunkte(const QTableView& raster, int spalte, int zeile) {
    const QImage bild = raster.viewport()->grab().toImage();
    const QRect r = raster.visualRect(raster.model()->index(zeile, spalte));
    int schwarz = 0;
    for (int x = r.left() + 1; x < r.right() - 1; ++x) schwarz += QColor(bild.pixel(x, r.top() + 1)) == Qt::black;
    return schwarz;
}

TEST_F(Matrixeditor, AktuelleZelleTraegtDasFokusrechteckInJederArt) {
    auto v = Bau.Verteilung();
    auto d = Bau.Durchlauf<TWandler>();
    const std::pair<TKnoten*, QPoint> arten[] = {
        {&v.Q, {1, 2}}, {&v.V, {2, 2}}, {&v.S1, {2, 1}}, {&d.K, {1, 1}}};
    for (const auto& [knoten, erste] : arten) {
        SCOPED_TRACE(knoten->Name);
        Oeffnen(*knoten);
        ASSERT_EQ(D->SGMatrix->currentIndex(), D->SGMatrix->model()->index(erste.y(), erste.x()));
        // Punktiert: etwa jedes zweite Pixel der Kante, nichts in den anderen Zellen.
        EXPECT_GT(Rahmenpunkte(*D->SGMatrix, erste.x(), erste.y()), MatrixSpaltenbreite / 3);
        EXPECT_EQ(Rahmenpunkte(*D->SGMatrix, 0, erste.y()), 0);
    }
    // Pfeiltasten und Tab nehmen das Rechteck mit.
    Oeffnen(v.V);
    Taste(Qt::Key_Down);
    EXPECT_GT(Rahmenpunkte(*D->SGMatrix, 2, 3), MatrixSpaltenbreite / 3);
    EXPECT_EQ(Rahmenpunkte(*D->SGMatrix, 2, 2), 0);
    Taste(Qt::Key_Up);
    EXPECT_GT(Rahmenpunkte(*D->SGMatrix, 2, 2), MatrixSpaltenbreite / 3);
    EXPECT_EQ(Rahmenpunkte(*D->SGMatrix, 2, 3), 0);
}

} // namespace
} // namespace tessomir
