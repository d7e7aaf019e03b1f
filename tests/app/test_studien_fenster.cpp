// Vergleich, Empfindlichkeit und Herkunft im echten Fenster: Differenzen im
// Diagramm und als Liste (Doppelklick zeigt das Objekt), Vergleich beenden;
// die Empfindlichkeit einer Senke mit Tornado-Bild; die Herkunft, deren
// Zeile die Wege ihres Beitrags wählt.
#include <gtest/gtest.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QLabel>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/FHaupt.h"
#include "app/UErgebnisDock.h"
#include "app/UZeichenfeld.h"
#include "gemeinsam/TAufzeichnung.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"
#include "view/UVergleichsanzeige.h"

namespace tessomir {
namespace {

class TVariantenWahl final : public IDateiwahl {
public:
    std::optional<QString> Oeffnen(QWidget*) override { return Pfad; }
    std::optional<QString> SpeichernUnter(QWidget*, const QString&) override { return std::nullopt; }
    QString Pfad;
};

class StudienFenster : public ::testing::Test {
protected:
    StudienFenster() {
        QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear();
        auto wahl = std::make_unique<TVariantenWahl>();
        Wahl = wahl.get();
        F = std::make_unique<TFMHaupt>(QString(), std::move(wahl));
        Plattform().Meldungen = &Platt;
        Plattform().Signalton = &Platt;
        F->ModellLaden(QStringLiteral(TESSOMIR_BEISPIELE "/Recyclinganlage.TSR"));
        F->resize(1100, 800);
        F->show();
        F->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(F.get()));
    }
    ~StudienFenster() override { QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear(); }
    QAction* A(const char* name) {
        F->AktionenAktualisieren();
        return F->findChild<QAction*>(name);
    }
    TFO* Objekt(const std::string& name) {
        for (const auto& o : F->Modell()->FOListe.Alle())
            if (o->Name == name) return o.get();
        return nullptr;
    }
    void Waehlen(const std::string& name) {
        F->Modell()->FOListe.AuswahlLeeren();
        F->Modell()->FOListe.Auswaehlen(Objekt(name), false);
    }
    test::TAufzeichnung Platt;
    TVariantenWahl* Wahl = nullptr;
    std::unique_ptr<TFMHaupt> F;
    QTemporaryDir Ordner;
};

TEST_F(StudienFenster, VergleichMitVarianteUndBeenden) {
    // Die Variante: 15 statt 12 Papier von den Sammelfahrzeugen.
    std::unique_ptr<TModell> variante = ModellKopie(*F->Modell());
    for (TKnoten* k : variante->FOListe.Knoten())
        if (k->Name == "Sammelfahrzeuge") k->Matrix().ZelleSetzen(0, 0, 1, 15);
    Wahl->Pfad = Ordner.filePath(QStringLiteral("variante.TSR"));
    ASSERT_TRUE(ModellSichern(*variante, Wahl->Pfad.toStdString()).Ok);
    EXPECT_FALSE(A("ACDateiVergleichBeenden")->isEnabled());
    A("ACDateiVergleichen")->trigger();
    ASSERT_NE(F->Ansicht().Vergleich, nullptr);
    auto* dock = F->findChild<TErgebnisDock*>(QStringLiteral("DKVergleich"));
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->isVisible());
    // Papier: die grösste Differenz zuerst, 3 auf dem Weg der Sammelfahrzeuge und dahinter.
    QTableWidget& t = dock->Tabelle();
    ASSERT_GT(t.rowCount(), 3);
    EXPECT_EQ(t.item(0, 5)->text(), QStringLiteral("3.0"));
    EXPECT_EQ(t.item(0, 2)->text(), QStringLiteral("Papier"));
    // Das Diagramm zeigt blaue Balken (mehr in B).
    QTest::qWait(30);
    const QImage bild = F->findChild<TZeichenfeld*>(QStringLiteral("PBHaupt"))->grab().toImage();
    bool blau = false;
    for (int y = 0; y < bild.height() && !blau; ++y)
        for (int x = 0; x < bild.width() && !blau; ++x)
            blau = bild.pixelColor(x, y) == QColor(Mehrfarbe.R, Mehrfarbe.G, Mehrfarbe.B);
    EXPECT_TRUE(blau);
    // Doppelklick auf die erste Zeile wählt ihr Objekt.
    const QRect zelle = t.visualItemRect(t.item(0, 1));
    ASSERT_TRUE(t.viewport()->rect().contains(zelle.center())) << zelle.y() << " " << t.viewport()->height();
    // Wie eine Hand: erst ein Klick, dann der zweite als Doppelklick.
    QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, zelle.center());
    QTest::mouseDClick(t.viewport(), Qt::LeftButton, {}, zelle.center());
    ASSERT_EQ(F->Modell()->FOListe.Auswahl().size(), 1U);
    EXPECT_EQ(QString::number(F->Modell()->FOListe.Auswahl().front().Objekt->FONr), t.item(0, 0)->text());
    // Die Herkunft legt ihre Liste als Reiter darüber; der Vergleich bleibt.
    Waehlen("Papierballen");
    A("ACAnsichtHerkunft")->trigger();
    EXPECT_TRUE(F->findChild<TErgebnisDock*>(QStringLiteral("DKHerkunft"))->isVisible());
    EXPECT_NE(F->Ansicht().Vergleich, nullptr);
    dock->raise();
    // Die Summe: die Liste folgt.
    A("ACAnsichtSumme")->trigger();
    EXPECT_EQ(t.item(0, 2)->text(), QStringLiteral("Summe"));
    A("ACDateiVergleichBeenden")->trigger();
    EXPECT_EQ(F->Ansicht().Vergleich, nullptr);
    EXPECT_FALSE(dock->isVisible());
    EXPECT_FALSE(A("ACDateiVergleichBeenden")->isEnabled());
    // Die Liste schliessen beendet den Vergleich ebenso.
    A("ACDateiVergleichen")->trigger();
    ASSERT_NE(F->Ansicht().Vergleich, nullptr);
    dock->close();
    EXPECT_EQ(F->Ansicht().Vergleich, nullptr);
}

TEST_F(StudienFenster, EmpfindlichkeitUndHerkunftEinerSenke) {
    Waehlen("Papierballen");
    EXPECT_FALSE(A("ACAnsichtEmpfindlichkeit")->isEnabled()); // erst nach einer Berechnung
    A("ACBearbeitenNeuberechnen")->trigger();
    Waehlen("Papierballen");
    ASSERT_TRUE(A("ACAnsichtEmpfindlichkeit")->isEnabled());
    // Die Frage nach den Prozent: 20 eingetippt und Return.
    QTimer::singleShot(0, [] {
        auto* frage = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(frage, nullptr);
        auto* feld = frage->findChild<QDoubleSpinBox*>();
        ASSERT_NE(feld, nullptr);
        feld->selectAll();
        QTest::keyClicks(feld, QStringLiteral("20"));
        QTest::keyClick(feld, Qt::Key_Return);
    });
    A("ACAnsichtEmpfindlichkeit")->trigger();
    auto* e = F->findChild<TErgebnisDock*>(QStringLiteral("DKEmpfindlichkeit"));
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->isVisible());
    EXPECT_TRUE(e->Kopf().text().contains(QStringLiteral("um 20 %"))) << e->Kopf().text().toStdString();
    EXPECT_GT(e->Tabelle().rowCount(), 20);
    EXPECT_NE(e->findChild<QWidget*>(QStringLiteral("PATornado")), nullptr);

    Waehlen("Papierballen");
    A("ACAnsichtHerkunft")->trigger();
    auto* h = F->findChild<TErgebnisDock*>(QStringLiteral("DKHerkunft"));
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(h->isVisible());
    ASSERT_GE(h->Tabelle().rowCount(), 1);
    // Die erste Zeile wählt die Wege ihres Beitrags: nur Wege, mindestens einer.
    h->Tabelle().setCurrentCell(0, 0);
    const auto& auswahl = F->Modell()->FOListe.Auswahl();
    ASSERT_FALSE(auswahl.empty());
    for (const auto& a : auswahl) EXPECT_NE(a.Objekt->AlsWeg(), nullptr);
    // Ein Wandler hat keine Herkunft: die Aktion ist aus.
    Waehlen("Schredder");
    EXPECT_FALSE(A("ACAnsichtHerkunft")->isEnabled());
}

} // namespace
} // namespace tessomir
