// Engpässe... und Schlaufen analysieren im Hauptfenster: Freigabe erst nach
// einer Berechnung, Auswahl und Rollen beim Doppelklick, Zeilen im Protokoll.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "analysis/USchlaufen.h"
#include "app/FHaupt.h"
#include "app/UZeichenfeld.h"
#include "dialogs/FEngpaesse.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

class AnalyseFenster : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    QTemporaryDir Ordner;
    TFMHaupt F;
    AnalyseFenster() { Plattform().Meldungen = &Platt; }
    QAction* A(const char* name) {
        F.AktionenAktualisieren();
        return F.findChild<QAction*>(name);
    }
    QStringList Log() { return F.findChild<QPlainTextEdit*>("MELog")->toPlainText().split('\n'); }
};

TEST_F(AnalyseFenster, EngpaesseNachBerechnungWaehlenAusUndRollen) {
    F.ModellLaden(QStringLiteral(TESSOMIR_BEISPIELE "/Recyclinganlage.TSR"));
    F.resize(400, 300);
    F.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&F));
    for (int i = 0; i < 5; ++i) A("ACAnsichtGroesser")->trigger();
    EXPECT_FALSE(A("ACAnsichtEngpaesse")->isEnabled());
    A("ACBearbeitenNeuberechnen")->trigger();
    ASSERT_TRUE(A("ACAnsichtEngpaesse")->isEnabled());

    // Mitte des Wegs zwischen seinen Knoten, dort rollt der Doppelklick hin.
    const auto mitte = [this](const TFO* o) {
        const TWeg* weg = o->AlsWeg();
        const TBildpunkt a = F.Ansicht().Transformieren(weg->Start()->Refpunkt);
        const TBildpunkt b = F.Ansicht().Transformieren(weg->Ziel()->Refpunkt);
        return QPoint(a.X + (b.X - a.X) / 2, a.Y + (b.Y - a.Y) / 2);
    };
    const auto sichtbar = [this](QPoint p) { return F.findChild<TZeichenfeld*>("PBHaupt")->Sichtbar().contains(p); };
    const TFO* gezeigt = nullptr;
    bool vorherSichtbar = true;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<TFMEngpaesse*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->UDSchwelle->setValue(50);
        ASSERT_GT(d->SGEngpaesse->rowCount(), 0);
        const int letzte = d->SGEngpaesse->rowCount() - 1;
        gezeigt = d->EintragInZeile(letzte)->Objekt;
        ASSERT_NE(gezeigt->AlsWeg(), nullptr);
        vorherSichtbar = sichtbar(mitte(gezeigt));
        emit d->SGEngpaesse->cellDoubleClicked(letzte, 0);
        d->accept();
    });
    A("ACAnsichtEngpaesse")->trigger();
    ASSERT_NE(gezeigt, nullptr);
    ASSERT_EQ(F.Modell()->FOListe.Auswahl().size(), 1U);
    EXPECT_EQ(F.Modell()->FOListe.Auswahl().front().Objekt, gezeigt);
    EXPECT_FALSE(vorherSichtbar);
    EXPECT_TRUE(sichtbar(mitte(gezeigt)));

    // Ein anderes Modell ist noch nicht berechnet.
    A("ACDateiNeu")->trigger();
    EXPECT_FALSE(A("ACAnsichtEngpaesse")->isEnabled());
}

TEST_F(AnalyseFenster, SchlaufenImProtokollUndHinweisNachZeitgrenze) {
    const QString datei = Ordner.filePath("kreis.TSR");
    {
        // Q -> V1 <-> V2, alles bleibt im Kreis: die Berechnung endet an der Zeitgrenze.
        test::TModellBau bau;
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& v1 = bau.Knoten<TVerzweigung>("V1");
        auto& v2 = bau.Knoten<TVerzweigung>("V2");
        bau.Weg(q, v1);
        bau.Weg(v1, v2);
        bau.Weg(v2, v1);
        test::Menge(q, 0, 1);
        test::Anteil(v1, 0, 1, 1, 100);
        test::Anteil(v1, 0, 2, 1, 100);
        test::Anteil(v2, 0, 1, 1, 100);
        bau.M().MaxBerDauer = 0;
        DateiSpeichern(bau.M(), datei.toStdString());
    }
    F.ModellLaden(datei);
    Platt.Schritt = 1; // die Uhr der Aufzeichnung läuft je Abfrage eine Millisekunde
    A("ACBearbeitenNeuberechnen")->trigger();
    EXPECT_EQ(Log().last(), QString::fromLatin1(SchlaufenHinweisZeile));

    A("ACBearbeitenSchlaufen")->trigger();
    const QStringList log = Log();
    const qsizetype anfang = log.indexOf(QString::fromLatin1(SchlaufenAnfangZeile));
    ASSERT_GE(anfang, 0);
    EXPECT_EQ(log.mid(anfang + 1, 2), (QStringList{"1 Schlaufe gefunden", "Schlaufe 1 (2 Knoten): [ V1 ] -> [ V2 ] -> [ V1 ]"}));
    EXPECT_EQ(log.last(), QString::fromUtf8("  Artikel Artikel1: Verst\u00e4rkung 1 je Umlauf (2 Wege), 1 je Durchgang, "
                                            "klingt nie ab (die Berechnung endet an der Zeitgrenze)"));
}

TEST_F(AnalyseFenster, UeberlaufOhneKreisGibtKeinenSchlaufenhinweis) {
    const QString datei = Ordner.filePath("kette.TSR");
    {
        // Q -> W1 -> W2 -> W3 -> S, jeder Wandler mal 1e60: W3 bekommt 1e120,
        // ein Überlauf ohne jeden Kreis.
        test::TModellBau bau;
        auto& q = bau.Knoten<TQuelle>("Q");
        auto& w1 = bau.Knoten<TWandler>("W1");
        auto& w2 = bau.Knoten<TWandler>("W2");
        auto& w3 = bau.Knoten<TWandler>("W3");
        auto& s = bau.Knoten<TSenke>("S");
        bau.Weg(q, w1);
        bau.Weg(w1, w2);
        bau.Weg(w2, w3);
        bau.Weg(w3, s);
        test::Menge(q, 0, 1);
        for (TWandler* w : {&w1, &w2, &w3}) w->Matrix().ZelleSetzen(0, 1, 1, 1e60);
        DateiSpeichern(bau.M(), datei.toStdString());
    }
    F.ModellLaden(datei);
    A("ACBearbeitenNeuberechnen")->trigger();
    const QStringList log = Log();
    ASSERT_GT(log.size(), 1);
    EXPECT_FALSE(log.contains(QString::fromLatin1(SchlaufenHinweisZeile))) << log.join('\n').toStdString();
    // Die Berechnung scheiterte wirklich.
    EXPECT_TRUE(log.last().endsWith(QStringLiteral("Eingangsstrom wird zu gross"))) << log.join('\n').toStdString();
}

} // namespace
} // namespace tessomir
