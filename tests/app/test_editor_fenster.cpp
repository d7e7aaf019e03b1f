// Das Bearbeiten im Hauptfenster mit echten Mausereignissen (Knöpfe und
// Umschalttasten ausdrücklich) auf der Plattform "offscreen"; Dialoge werden
// bedient, sobald sie modal stehen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

#include "app/FHaupt.h"
#include "app/UZeichenfeld.h"
#include "dialogs/FEigenschaften.h"
#include "dialogs/FEingabe.h"
#include "dialogs/FMatrix.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TFensterBedienung.h"
#include "gemeinsam/TModellBau.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

using test::Bedienen;

class TZielDateiwahl final : public IDateiwahl {
public:
    std::optional<QString> Oeffnen(QWidget*) override { return std::nullopt; }
    std::optional<QString> SpeichernUnter(QWidget*, const QString&) override { return Ziel; }
    QString Ziel;
};

void Benennen(const char* name) {
    Bedienen<TFMEigenschaften>([name](TFMEigenschaften& d) {
        d.EDFOName->setText(QString::fromLatin1(name));
        d.BTOK->click();
    });
}

class EditorFenster : public ::testing::Test, protected test::TFensterBedienung {
protected:
    // Das Fenster vor Skript und Ordner abbauen; die Basis stürbe sonst zuletzt.
    void TearDown() override { F.reset(); }
    void SetUp() override {
        QSettings("Belcorra", "TessomirV20").clear();
        auto wahl = std::make_unique<TZielDateiwahl>();
        Wahl = wahl.get();
        F = std::make_unique<TFMHaupt>(QString(), std::move(wahl));
        Plattform().Meldungen = &Skript;
        Plattform().Signalton = &Skript;
        PB = F->findChild<TZeichenfeld*>("PBHaupt");
        Ausloesen("ACDateiNeu");
    }
    // Einmal gemalt, damit das Bild der Fläche gültig ist.
    void Zeigen() {
        F->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(F.get()));
        PB->repaint();
    }
    TFOListe& Liste() { return Modell()->FOListe; }

    test::TAufzeichnung Skript;
    TZielDateiwahl* Wahl = nullptr;
};

TEST_F(EditorFenster, NetzNurMitDerMausBauenBerechnenUndSpeichern) {
    const QPoint q(40, 100), w(140, 100), v(240, 100), s1(340, 50), s2(340, 150);
    const std::pair<const char*, QPoint> knoten[] = {{"ACEinfuegenQuelle", q}, {"ACEinfuegenWandler", w},
                                                     {"ACEinfuegenVerzweigung", v}, {"ACEinfuegenSenke", s1},
                                                     {"ACEinfuegenSenke", s2}};
    const char* namen[] = {"Rohstoff", "Presse", "Weiche", "Lager A", "Lager B"};
    for (size_t i = 0; i < 5; ++i) {
        Einfuegen(knoten[i].first, knoten[i].second);
        // Ohne Wege ist keine Matrix zu bearbeiten: der Doppelklick öffnet die Eigenschaften.
        Benennen(namen[i]);
        Doppelklick(knoten[i].second);
    }
    Ausloesen("ACEinfuegenWeg");
    Ziehen(q, w);
    Ziehen(w, v);
    Ziehen(v, s1);
    Ziehen(v, s2);
    Ausloesen("ACEinfuegenDeaktiviert");
    Benennen("Zulauf");
    Doppelklick((q + w) / 2);
    ASSERT_EQ(Liste().Anzahl(), 9u);
    EXPECT_EQ(Skript.Pieptoene, 0);

    // Menge, Faktor und Anteile über den Matrixeditor, geöffnet mit dem Doppelklick.
    struct TZelle {
        int Spalte, Zeile;
        const char* Text;
    };
    const auto matrix = [this](QPoint ort, std::vector<TZelle> zellen) {
        Bedienen<TFMMatrix>([zellen](TFMMatrix& d) {
            for (const TZelle& z : zellen) d.SGMatrix->model()->setData(d.SGMatrix->model()->index(z.Zeile, z.Spalte), z.Text);
            d.BTOK->click();
        });
        Doppelklick(ort);
    };
    Modell()->Modifiziert = false;
    matrix(q, {{1, 2, "100"}});
    matrix(w, {{1, 1, "0.5"}});
    matrix(v, {{2, 2, "30"}, {2, 3, "70"}});
    EXPECT_TRUE(Modell()->Modifiziert);
    Ausloesen("ACBearbeitenNeuberechnen");
    ASSERT_TRUE(F->findChild<QPlainTextEdit*>("MELog")->toPlainText().endsWith("Berechnung OK"));

    QTemporaryDir ordner;
    Wahl->Ziel = ordner.filePath("netz.TSR");
    Ausloesen("ACDateiSpeichern");
    TModell* fenster = Modell();
    TOeffnenErgebnis gelesen = ModellOeffnen(QFile::encodeName(Wahl->Ziel).toStdString());
    ASSERT_NE(gelesen.Modell, nullptr) << gelesen.Grund;
    // Je Objekt (nach Name): Klasse, Wegenden und Strom wie im Fenster.
    const auto beschreiben = [](TModell& m) {
        std::map<std::string, std::string> objekte;
        for (const auto& o : m.FOListe.Alle()) {
            std::string text = std::string(o->Klassenname()) + " " + std::to_string(o->Strom());
            if (const TWeg* w = o->AlsWeg()) text += " " + w->Start()->Name + " -> " + w->Ziel()->Name;
            objekte[o->Name] = text;
        }
        return objekte;
    };
    const auto imFenster = beschreiben(*fenster);
    EXPECT_EQ(beschreiben(*gelesen.Modell), imFenster);
    EXPECT_EQ(imFenster.at("Zulauf"), "TWeg 100.000000 Rohstoff -> Presse");
    EXPECT_EQ(imFenster.at("Weiche"), "TVerzweigung 50.000000");
    EXPECT_EQ(Liste().Knoten()[3]->Name, "Lager A");
    const std::string lagerB = imFenster.at(Liste().Objekt(0)->Name); // der zuletzt gezogene Weg liegt vorn
    EXPECT_EQ(lagerB, "TWeg 35.000000 Weiche -> Lager B");
}

TEST_F(EditorFenster, AuswahlKontextmenueLoeschenUndAllesAuswaehlen) {
    Einfuegen("ACEinfuegenVerzweigung", {40, 40});
    Einfuegen("ACEinfuegenVerzweigung", {200, 40});
    Einfuegen("ACEinfuegenSenke", {200, 200});
    Ausloesen("ACEinfuegenWeg");
    Ziehen({40, 40}, {200, 40});
    Ausloesen("ACEinfuegenDeaktiviert");
    Klick({40, 40});
    Klick({200, 200}, Qt::ShiftModifier);
    Klick({200, 200}, Qt::ControlModifier);
    ASSERT_EQ(Liste().Auswahl().size(), 1u);
    Klick({200, 40}, {}, Qt::RightButton);
    EXPECT_EQ(Liste().Auswahl().size(), 2u);
    auto* pu = F->findChild<QMenu*>("PU");
    EXPECT_TRUE(pu->isVisible());
    EXPECT_LE((pu->pos() - PB->mapToGlobal(QPoint(200, 40))).manhattanLength(), 2);
    pu->hide();

    Modell()->Modifiziert = false;
    Ausloesen("ACBearbeitenLoeschen"); // beide Verzweigungen samt ihrem Weg
    EXPECT_EQ(Liste().Anzahl(), 1u);
    EXPECT_TRUE(Modell()->Modifiziert);
    Ausloesen("ACBearbeitenAllesAuswaehlen");
    EXPECT_EQ(Liste().Auswahl().size(), 1u);
}

TEST_F(EditorFenster, DoppelklickMatrixVorEigenschaftenNurImModusNull) {
    Einfuegen("ACEinfuegenQuelle", {40, 40});
    Einfuegen("ACEinfuegenSenke", {200, 40});
    Ausloesen("ACEinfuegenWeg");
    Klick({40, 40}); // ohne Bewegung: abgewiesen mit Signalton
    Ziehen({40, 40}, {200, 40});
    QSignalSpy matrix(A("ACBearbeitenMatrix"), &QAction::triggered);
    QSignalSpy eigenschaften(A("ACBearbeitenEigenschaften"), &QAction::triggered);
    Doppelklick({40, 40}); // im Wegmodus öffnet nichts
    Ausloesen("ACEinfuegenDeaktiviert");
    Bedienen<TFMMatrix>([](TFMMatrix& d) { d.BTAbbrechen->click(); });
    Doppelklick({40, 40});
    EXPECT_EQ(matrix.count(), 1);
    EXPECT_EQ(eigenschaften.count(), 0);
    Bedienen<TFMEigenschaften>([](TFMEigenschaften& d) { d.BTAbbrechen->click(); });
    Doppelklick({120, 40});
    EXPECT_EQ(eigenschaften.count(), 1);
    EXPECT_EQ(Skript.Pieptoene, 1); // danach beginnt die Quelle mit Ausgang keinen Weg mehr

    Ausloesen("ACEinfuegenQuelle");
    Doppelklick({300, 300});
    EXPECT_EQ(Liste().Knoten().size(), 4u);
}

TEST_F(EditorFenster, VorgabekapazitaetUeberDenEingabedialog) {
    Einfuegen("ACEinfuegenVerzweigung", {40, 40});
    Einfuegen("ACEinfuegenQuelle", {200, 40});
    Ausloesen("ACBearbeitenAllesAuswaehlen");
    Modell()->Modifiziert = false;
    Bedienen<TFMEingabe>([](TFMEingabe& d) {
        EXPECT_EQ(d.windowTitle(), "Vorgabekapazität");
        EXPECT_TRUE(d.LA->text().endsWith("Neue Kapazität :"));
        d.ED->setText("abc");
        d.BTOK->click();
    });
    Ausloesen("ACBearbeitenKapazitaet");
    ASSERT_EQ(Skript.Meldungen.size(), 1u);
    EXPECT_FALSE(Modell()->Modifiziert);
    Bedienen<TFMEingabe>([](TFMEingabe& d) {
        d.ED->setText("250");
        d.BTOK->click();
    });
    Ausloesen("ACBearbeitenKapazitaet");
    EXPECT_EQ(Liste().Knoten()[0]->Kapazitaet, 250.0);
    EXPECT_EQ(Liste().Knoten()[1]->Kapazitaet, 1000000.0);
    EXPECT_TRUE(Modell()->Modifiziert);
    EXPECT_EQ(F->findChild<QLabel*>("SBHauptModifiziert")->text(), "Modifiziert");
}

TEST_F(EditorFenster, ZiehenZeigtUmrisseNurImGeaendertenBereich) {
    Einfuegen("ACEinfuegenVerzweigung", {100, 100});
    Zeigen();
    Klick({100, 100});
    QApplication::processEvents();
    const QImage vorher = PB->Bild();
    QRegion gemalt;
    struct TMalfilter final : QObject {
        QRegion* Ziel;
        explicit TMalfilter(QRegion* z) : Ziel(z) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) *Ziel += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } filter(&gemalt);
    Maus(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    QApplication::processEvents();
    PB->installEventFilter(&filter);
    Maus(QEvent::MouseMove, {101, 101}, Qt::NoButton, Qt::LeftButton);
    Maus(QEvent::MouseMove, {160, 130}, Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
    const QRect bei160(145, 115, 31, 31);
    EXPECT_NE(PB->Bild().copy(bei160), vorher.copy(bei160));
    EXPECT_LT(gemalt.boundingRect().width(), 120); // nur die Umrisse, nicht die ganze Fläche
    EXPECT_TRUE(gemalt.boundingRect().contains(QPoint(160, 130)));
    // Zurück: der Umriss bei (160, 130) ist durch zweimaliges Zeichnen wieder weg.
    Maus(QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(PB->Bild().copy(bei160), vorher.copy(bei160));
    EXPECT_NE(PB->Bild(), vorher);
    Maus(QEvent::MouseButtonRelease, {160, 130}, Qt::LeftButton, Qt::NoButton);
    PB->removeEventFilter(&filter);
    PB->repaint();
    EXPECT_EQ(F->Ansicht().Transformieren(Liste().Knoten()[0]->Refpunkt), (TBildpunkt{160, 130}));
}

// Der Zeiger steht still, während die Fläche unter ihm rollt: der Umriss folgt
// dem Punkt unter dem Zeiger, und dort landet der Knoten beim Loslassen.
TEST_F(EditorFenster, ZiehenUeberDenRandRolltDieFlaecheUndLegtAbWoDerUmrissSteht) {
    Einfuegen("ACEinfuegenSenke", {100, 100});
    Zeigen();
    auto* box = F->findChild<QScrollArea*>("SBoxHaupt");
    const QPoint draussen(box->viewport()->width() + 40, box->viewport()->height() + 40);
    Klick({100, 100});
    Maus(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    Maus(QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    const QPoint vorher = PB->pos();
    Maus(QEvent::MouseMove, draussen, Qt::NoButton, Qt::LeftButton);
    EXPECT_GT(box->verticalScrollBar()->value(), 0);
    EXPECT_GT(box->horizontalScrollBar()->value(), 0);
    // Wo der stillstehende Zeiger jetzt auf der Fläche steht.
    const QPoint zeiger = draussen - (PB->pos() - vorher);
    EXPECT_EQ(F->Ansicht().Aktpunkt, (TBildpunkt{zeiger.x(), zeiger.y()}));
    Maus(QEvent::MouseButtonRelease, zeiger, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(F->Ansicht().Transformieren(Liste().Knoten()[0]->Refpunkt), (TBildpunkt{zeiger.x(), zeiger.y()}));

    // Über den Rand und wieder zurück: abgelegt, wo der Umriss zuletzt stand.
    PB->repaint();
    const TBildpunkt start = F->Ansicht().Transformieren(Liste().Knoten()[0]->Refpunkt);
    const QPoint knoten(start.X, start.Y);
    Klick(knoten);
    Maus(QEvent::MouseButtonPress, knoten, Qt::LeftButton, Qt::LeftButton);
    Maus(QEvent::MouseMove, knoten, Qt::NoButton, Qt::LeftButton);
    const QPoint oben = PB->pos();
    const QPoint weiter = knoten + QPoint(0, box->viewport()->height());
    Maus(QEvent::MouseMove, weiter, Qt::NoButton, Qt::LeftButton);
    ASSERT_NE(PB->pos(), oben);
    const QPoint zurueck = PB->Sichtbar().center();
    Maus(QEvent::MouseMove, zurueck, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(F->Ansicht().Aktpunkt, (TBildpunkt{zurueck.x(), zurueck.y()}));
    Maus(QEvent::MouseButtonRelease, zurueck, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(F->Ansicht().Transformieren(Liste().Knoten()[0]->Refpunkt), (TBildpunkt{zurueck.x(), zurueck.y()}));
}

} // namespace
} // namespace tessomir
