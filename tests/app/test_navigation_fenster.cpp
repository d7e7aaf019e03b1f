// Finden und Lesen im echten Fenster: Suchen mit Umbruch, Zoom um den Zeiger
// und die Mitte, Ganzes Modell, die Übersicht über Änderungen, Rückgängig und
// Berechnung, Klick ins Protokoll, Artikelliste und Beenden.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>

#include "app/FHaupt.h"
#include "app/UUebersicht.h"
#include "app/UZeichenfeld.h"
#include "gemeinsam/TAufzeichnung.h"
#include "model/UKnoten.h"
#include "qt/UUebersichtModell.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

class TCsvWahl final : public IDateiwahl {
public:
    std::optional<QString> Oeffnen(QWidget*) override { return std::nullopt; }
    std::optional<QString> SpeichernUnter(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> CsvSpeichern(QWidget*, const QString& vorgabe) override {
        Vorgabe = vorgabe;
        return Ziel;
    }
    QString Ziel;
    QString Vorgabe;
};

class Navigation : public ::testing::Test {
protected:
    Navigation() {
        QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear();
        auto wahl = std::make_unique<TCsvWahl>();
        Wahl = wahl.get();
        F = std::make_unique<TFMHaupt>(QString(), std::move(wahl));
        Plattform().Meldungen = &Platt;
        Plattform().Signalton = &Platt;
        F->ModellLaden(QStringLiteral(TESSOMIR_BEISPIELE "/Recyclinganlage.TSR"));
        F->resize(700, 500);
        F->show();
        F->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(F.get()));
    }
    ~Navigation() override { QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear(); }
    QAction* A(const char* name) {
        F->AktionenAktualisieren();
        return F->findChild<QAction*>(name);
    }
    template <class T = QWidget> T* W(const char* name) { return F->findChild<T*>(name); }
    QScrollArea* Box() { return W<QScrollArea>("SBoxHaupt"); }
    QPoint Rollen() { return {Box()->horizontalScrollBar()->value(), Box()->verticalScrollBar()->value()}; }
    const TFO* Gewaehlt() {
        const auto& a = F->Modell()->FOListe.Auswahl();
        return a.size() == 1 ? a.front().Objekt : nullptr;
    }
    // Ob die Mitte eines Objekts im mittleren Drittel des Ausschnitts liegt.
    bool InDerMitte(const TFO* o) {
        TPunkt ort = o->Refpunkt;
        if (const TWeg* w = o->AlsWeg(); w != nullptr)
            ort = {(w->Start()->Refpunkt.X + w->Ziel()->Refpunkt.X) / 2, (w->Start()->Refpunkt.Y + w->Ziel()->Refpunkt.Y) / 2};
        const TBildpunkt p = F->Ansicht().Transformieren(ort);
        const QSize s = Box()->viewport()->size();
        const QPoint imFenster = QPoint(p.X, p.Y) - Rollen();
        return std::abs(imFenster.x() - s.width() / 2) <= s.width() / 6 &&
               std::abs(imFenster.y() - s.height() / 2) <= s.height() / 6;
    }
    void Suchen(const QString& text) {
        QLineEdit* ed = W<QLineEdit>("EDSuchen");
        QTest::keyClick(F.get(), Qt::Key_F, Qt::ControlModifier);
        EXPECT_TRUE(ed->hasFocus());
        QTest::keyClicks(ed, text);
        QTest::keyClick(ed, Qt::Key_Return);
    }
    QString Meldung() { return W<QLabel>("SBHauptMeldung")->text(); }

    test::TAufzeichnung Platt;
    TCsvWahl* Wahl = nullptr;
    std::unique_ptr<TFMHaupt> F;
};

TEST_F(Navigation, SuchenWaehltAusRolltInDieMitteUndBrichtUm) {
    for (int i = 0; i < 6; ++i) A("ACAnsichtGroesser")->trigger();
    // "SCHREDDER" trifft den Wandler und seinen Austrag, in Listenfolge (Wege zuerst).
    Suchen(QStringLiteral("SCHREDDER"));
    const TFO* erster = Gewaehlt();
    ASSERT_NE(erster, nullptr);
    EXPECT_EQ(erster->Name, "Schredderaustrag");
    EXPECT_TRUE(InDerMitte(erster));
    EXPECT_FALSE(F->Modell()->Modifiziert);
    EXPECT_FALSE(W<TZeichenfeld>("PBHaupt")->Hervorhebung().isNull());
    EXPECT_EQ(Meldung(), QStringLiteral("Gefunden: [ Schredderaustrag ]"));

    QTest::keyClick(F.get(), Qt::Key_G, Qt::ControlModifier);
    ASSERT_NE(Gewaehlt(), nullptr);
    EXPECT_EQ(Gewaehlt()->Name, "Schredder");
    EXPECT_TRUE(InDerMitte(Gewaehlt()));
    EXPECT_EQ(Platt.Pieptoene, 0);
    // Am Ende wieder von vorn, mit Piepton.
    QTest::keyClick(F.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Gewaehlt(), erster);
    EXPECT_EQ(Platt.Pieptoene, 1);
    EXPECT_TRUE(Meldung().startsWith(QStringLiteral("Suche wieder am Anfang")));

    // Kein Treffer: Meldung in der Statusleiste, kein Fenster, Auswahl bleibt.
    W<QLineEdit>("EDSuchen")->clear();
    Suchen(QStringLiteral("Gibtesnicht"));
    EXPECT_EQ(Meldung(), QStringLiteral("Nicht gefunden: Gibtesnicht"));
    EXPECT_TRUE(Platt.Meldungen.empty());
    EXPECT_EQ(Gewaehlt(), erster);

    // Die Nummer mit Raute; Umlaute als ae.
    W<QLineEdit>("EDSuchen")->clear();
    Suchen(QStringLiteral("#") + QString::number(erster->FONr));
    EXPECT_EQ(Gewaehlt(), erster);
    W<QLineEdit>("EDSuchen")->clear();
    Suchen(QStringLiteral("sperrmuell"));
    ASSERT_NE(Gewaehlt(), nullptr);
    EXPECT_EQ(Gewaehlt()->Name, "Sperrm\xFCll");
    EXPECT_FALSE(F->Modell()->Modifiziert);

    // Esc verbirgt die Suchleiste; Strg+G sucht auch ohne sie weiter.
    QTest::keyClick(W<QLineEdit>("EDSuchen"), Qt::Key_Escape);
    EXPECT_FALSE(W("TBSuchen")->isVisible());
    QTest::keyClick(F.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Gewaehlt()->Name, "Sperrm\xFCll");
    EXPECT_TRUE(Meldung().startsWith(QStringLiteral("Suche wieder am Anfang")));
}

TEST_F(Navigation, StrgRadZoomtUmDenZeigerUndF3UmDieMitte) {
    for (int i = 0; i < 4; ++i) A("ACAnsichtGroesser")->trigger();
    Box()->horizontalScrollBar()->setValue(150);
    Box()->verticalScrollBar()->setValue(100);
    const QPoint zeiger(230, 170);
    const auto modellpunkt = [&](QPoint imFenster) {
        const QPoint p = imFenster + Rollen();
        return F->Ansicht().Ruecktransformieren(TBildpunkt{p.x(), p.y()});
    };
    const auto ortImFenster = [&](TPunkt m) {
        const TBildpunkt p = F->Ansicht().Transformieren(m);
        return QPoint(p.X, p.Y) - Rollen();
    };
    const TPunkt vorher = modellpunkt(zeiger);
    const double massstab = F->Ansicht().Massstab;
    for (const int drehung : {120, 120, -120, 240, -360, -120}) {
        const QPoint aufFlaeche = W("PBHaupt")->mapFrom(Box()->viewport(), zeiger);
        QWheelEvent rad(aufFlaeche, Box()->viewport()->mapToGlobal(zeiger), QPoint(), QPoint(0, drehung), Qt::NoButton,
                        Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(W("PBHaupt"), &rad);
        const QPoint jetzt = ortImFenster(vorher);
        EXPECT_LE(std::abs(jetzt.x() - zeiger.x()), 1) << drehung;
        EXPECT_LE(std::abs(jetzt.y() - zeiger.y()), 1) << drehung;
    }
    EXPECT_NEAR(F->Ansicht().Massstab, massstab / 1.2, 1e-12);

    // F3 und F2 halten die Mitte des Ausschnitts.
    const QPoint mitte = Box()->viewport()->rect().center();
    const TPunkt inDerMitte = modellpunkt(mitte);
    QTest::keyClick(F.get(), Qt::Key_F3);
    EXPECT_LE((ortImFenster(inDerMitte) - mitte).manhattanLength(), 2);
    QTest::keyClick(F.get(), Qt::Key_F2);
    QTest::keyClick(F.get(), Qt::Key_F2);
    EXPECT_LE((ortImFenster(inDerMitte) - mitte).manhattanLength(), 2);
    // Ohne Strg rollt das Rad nur.
    QWheelEvent rollen(zeiger, Box()->viewport()->mapToGlobal(zeiger), QPoint(), QPoint(0, -120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
    const double ohne = F->Ansicht().Massstab;
    QApplication::sendEvent(W("PBHaupt"), &rollen);
    EXPECT_EQ(F->Ansicht().Massstab, ohne);
}

TEST_F(Navigation, GanzesModellZeigtAlleKnoten) {
    for (int i = 0; i < 8; ++i) A("ACAnsichtGroesser")->trigger();
    QTest::keyClick(F.get(), Qt::Key_0, Qt::ControlModifier);
    const QSize s = Box()->viewport()->size();
    for (const TKnoten* k : F->Modell()->FOListe.Knoten()) {
        const TBildpunkt p = F->Ansicht().Transformieren(k->Refpunkt);
        const QPoint imFenster = QPoint(p.X, p.Y) - Rollen();
        EXPECT_TRUE(QRect(QPoint(0, 0), s).contains(imFenster)) << k->Name;
    }
    EXPECT_LT(F->Ansicht().Massstab, 1.0);
}

TEST_F(Navigation, UebersichtFolgtAenderungenRueckgaengigUndBerechnung) {
    A("ACAnsichtUebersicht")->trigger();
    TUebersicht& u = F->Uebersicht();
    ASSERT_TRUE(u.isVisible());
    EXPECT_TRUE(QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).value("Ansicht/Uebersicht").toBool());
    TUebersichtModell& t = u.Tabelle();
    const size_t anzahl = F->Modell()->FOListe.Anzahl();
    ASSERT_EQ(static_cast<size_t>(t.rowCount()), anzahl);
    for (int i = 0; i < t.rowCount(); ++i) EXPECT_EQ(t.Objekt(i), F->Modell()->FOListe.Objekt(static_cast<size_t>(i)));
    const int strom = static_cast<int>(TSpalte::Strom);
    EXPECT_EQ(t.index(0, strom).data().toString(), QString());

    // Berechnen füllt Strom und Bilanz; nach Strom sortiert steht der größte oben.
    A("ACBearbeitenNeuberechnen")->trigger();
    EXPECT_FALSE(t.index(0, strom).data().toString().isEmpty());
    u.Ansicht().sortByColumn(strom, Qt::DescendingOrder);
    const double oben = t.Objekt(0)->Strom();
    for (int i = 1; i < t.rowCount() && t.Objekt(i)->AlsWeg() != nullptr; ++i) EXPECT_LE(t.Objekt(i)->Strom(), oben);

    // Löschen und Rückgängig: die Zeilen folgen der Objektliste.
    const TFO* weg = t.Objekt(0);
    F->ObjektZeigen(weg);
    QApplication::processEvents();
    EXPECT_EQ(u.Ansicht().selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(u.Ansicht().selectionModel()->selectedRows().front().row(), 0);
    A("ACBearbeitenLoeschen")->trigger();
    EXPECT_EQ(static_cast<size_t>(t.rowCount()), anzahl - 1);
    EXPECT_EQ(t.Zeile(weg), -1);
    A("ACBearbeitenRueckgaengig")->trigger();
    EXPECT_EQ(static_cast<size_t>(t.rowCount()), anzahl);
    EXPECT_NE(t.Zeile(F->Modell()->FOListe.Objekt(0)), -1);

    // Filter wie die Suche; Doppelklick wählt aus und rollt hin.
    QTest::keyClicks(u.findChild<QLineEdit*>("EDUebersichtFilter"), QStringLiteral("muell"));
    ASSERT_EQ(t.rowCount(), 2);
    for (int i = 0; i < 8; ++i) A("ACAnsichtGroesser")->trigger();
    const TFO* ziel = t.Objekt(1);
    QTableView& tabelle = u.Ansicht();
    const QRect zelle = tabelle.visualRect(t.index(1, 2));
    QTest::mouseClick(tabelle.viewport(), Qt::LeftButton, {}, zelle.center());
    QTest::mouseDClick(tabelle.viewport(), Qt::LeftButton, {}, zelle.center());
    EXPECT_EQ(Gewaehlt(), ziel);
    EXPECT_TRUE(InDerMitte(ziel));

    // Klicks ins Diagramm: ins Leere hebt die Markierung auf, auf den Knoten setzt sie.
    auto* pb = W<TZeichenfeld>("PBHaupt");
    const TBildpunkt ort = F->Ansicht().Transformieren(ziel->Refpunkt);
    QTest::mouseClick(pb, Qt::LeftButton, {}, QPoint(ort.X + 120, ort.Y + 90));
    EXPECT_EQ(Gewaehlt(), nullptr);
    EXPECT_TRUE(tabelle.selectionModel()->selectedRows().isEmpty());
    QTest::mouseClick(pb, Qt::LeftButton, {}, QPoint(ort.X, ort.Y));
    EXPECT_EQ(Gewaehlt(), ziel);
    ASSERT_EQ(tabelle.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(tabelle.selectionModel()->selectedRows().front().row(), 1);

    // CSV: was die Tabelle zeigt.
    QTemporaryDir ordner;
    Wahl->Ziel = ordner.filePath(QStringLiteral("u.csv"));
    QTest::mouseClick(u.findChild<QWidget*>("BTUebersichtCsv"), Qt::LeftButton);
    EXPECT_EQ(Wahl->Vorgabe, QStringLiteral("Recyclinganlage_uebersicht.csv"));
    QFile datei(Wahl->Ziel);
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
    const QList<QByteArray> zeilen = datei.readAll().split('\n');
    ASSERT_EQ(zeilen.size(), 4); // Kopf, zwei Zeilen, leerer Rest
    EXPECT_TRUE(zeilen[1].contains("ll")) << zeilen[1].toStdString();
    EXPECT_FALSE(F->Modell()->Modifiziert);
}

TEST_F(Navigation, ProtokollKlickArtikellisteUndBeenden) {
    // Eine Prüfung, die ein Objekt nennt: eine Quelle ohne Ausgang.
    auto quelle = std::make_unique<TQuelle>(*F->Modell());
    quelle->Name = "Einsam";
    quelle->Refpunkt = {40, -40};
    F->Modell()->FOListe.Hinzufuegen(std::move(quelle), true);
    A("ACBearbeitenPruefen")->trigger();
    auto* log = W<QPlainTextEdit>("MELog");
    int zeile = -1;
    for (int i = 0; i < log->blockCount(); ++i)
        if (log->document()->findBlockByNumber(i).text().contains(QStringLiteral("[ Einsam ]"))) zeile = i;
    ASSERT_GE(zeile, 0) << log->toPlainText().toStdString();
    F->Modell()->FOListe.AuswahlLeeren();
    QTextCursor c(log->document()->findBlockByNumber(zeile));
    const QPoint punkt = log->cursorRect(c).center() + QPoint(4, 0);
    QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, punkt);
    ASSERT_NE(Gewaehlt(), nullptr);
    EXPECT_EQ(Gewaehlt()->Name, "Einsam");

    // Die Artikelliste in der Werkzeugleiste.
    auto* cb = W<QComboBox>("CBArtikel");
    ASSERT_EQ(cb->count(), F->Modell()->AnzahlArtikel());
    EXPECT_EQ(cb->currentIndex(), F->Modell()->AktArtikel);
    cb->setFocus();
    QTest::keyClick(cb, Qt::Key_Down);
    EXPECT_EQ(F->Modell()->AktArtikel, 1);
    EXPECT_TRUE(W<QLabel>("LAAktArtikel")->text().contains(cb->itemText(1)));
    A("ACAnsichtSumme")->trigger();
    F->AktionenAktualisieren();
    EXPECT_FALSE(cb->isEnabled());
    A("ACAnsichtSumme")->trigger();

    // Beenden schliesst wie das Schliessfeld, mit der Speicherfrage; eine
    // offene Übersicht bleibt für den nächsten Start gemerkt.
    A("ACAnsichtUebersicht")->trigger();
    F->Modell()->Modifiziert = true;
    Platt.Antworten = {TAntwort::Nein};
    QTest::keyClick(F.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(F->isVisible());
    EXPECT_TRUE(QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).value("Ansicht/Uebersicht").toBool());
    F.reset();
    TFMHaupt neu;
    neu.show();
    EXPECT_TRUE(neu.Uebersicht().isVisible());
}

} // namespace
} // namespace tessomir
