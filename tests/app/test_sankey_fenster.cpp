// Die Sankey-Ansicht im echten Fenster: an und aus über Menü und Knopf,
// gemerkt über einen Neustart, Legende, ein Klick auf ein Band wählt den Weg,
// und das Fenster zeigt dieselben Bänder wie der Export.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "app/FHaupt.h"
#include "app/UZeichenfeld.h"
#include "gemeinsam/TAufzeichnung.h"
#include "model/UKnoten.h"
#include "qt/UBildExport.h"
#include "view/USankey.h"

namespace tessomir {
namespace {

class SankeyFenster : public ::testing::Test {
protected:
    SankeyFenster() { QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear(); }
    ~SankeyFenster() override { QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear(); }
    std::unique_ptr<TFMHaupt> Fenster() {
        auto f = std::make_unique<TFMHaupt>();
        Plattform().Meldungen = &Platt;
        Plattform().Signalton = &Platt;
        f->ModellLaden(QStringLiteral(TESSOMIR_BEISPIELE "/Recyclinganlage.TSR"));
        f->resize(1000, 700);
        f->show();
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
        return f;
    }
    static QAction* A(TFMHaupt& f, const char* name) {
        f.AktionenAktualisieren();
        return f.findChild<QAction*>(name);
    }
    test::TAufzeichnung Platt;
};

TEST_F(SankeyFenster, AnAusGemerktLegendeKlickUndExport) {
    auto f = Fenster();
    auto* pb = f->findChild<TZeichenfeld*>(QStringLiteral("PBHaupt"));
    ASSERT_NE(pb, nullptr);
    A(*f, "ACBearbeitenNeuberechnen")->trigger();
    // Der Knopf in der Werkzeugleiste schaltet wie der Menüpunkt.
    auto* knopf = f->findChild<QToolButton*>(QStringLiteral("TBAnsichtSankey"));
    ASSERT_NE(knopf, nullptr);
    QTest::mouseClick(knopf, Qt::LeftButton);
    ASSERT_TRUE(f->Ansicht().Sankey);
    EXPECT_TRUE(A(*f, "ACAnsichtSankey")->isChecked());
    EXPECT_TRUE(QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).value("Ansicht/Sankey").toBool());
    // Die Modelldatei bleibt, wie sie war.
    EXPECT_FALSE(f->Modell()->Modifiziert);
    QTest::qWait(50);
    QWidget* legende = f->findChild<QWidget*>(QStringLiteral("PASankeyLegende"));
    ASSERT_NE(legende, nullptr);
    EXPECT_TRUE(legende->isVisible());
    EXPECT_GT(f->Ansicht().Sankey->Geltend, 0.0);

    // Das Fenster zeigt dieselben Bänder wie das exportierte Bild (Zoom 1):
    // entlang jedes Bands, hinter dem Pfeil, dieselben Farben.
    const QImage fenster = pb->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const std::string png = ModellAlsBild(*f->Modell(), 1.0, TBildformat::Png, f->Ansicht().Sankey);
    const QImage bild = QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()));
    ASSERT_FALSE(bild.isNull());
    int verglichen = 0;
    const TWeg* breitester = nullptr;
    double breite = 0;
    for (const auto& o : f->Modell()->FOListe.Alle()) {
        const TWeg* w = o->AlsWeg();
        const std::optional<TBand> b = w != nullptr ? WegBand(*w, f->Ansicht()) : std::nullopt;
        if (!b) continue;
        if (b->Breite > breite) breite = b->Breite, breitester = w;
        for (const double t : {0.62, 0.7, 0.78}) {
            const QPoint p(static_cast<int>(b->P.X + t * (b->Q.X - b->P.X)), static_cast<int>(b->P.Y + t * (b->Q.Y - b->P.Y)));
            if (!bild.rect().contains(p) || !fenster.rect().contains(p)) continue;
            EXPECT_EQ(QColor(fenster.pixel(p)), QColor(bild.pixel(p))) << w->Name << " bei " << t;
            ++verglichen;
        }
    }
    EXPECT_GT(verglichen, 20);

    // Ein Klick aufs Band neben der Linie, weiter als die Linie trifft, wählt den Weg.
    ASSERT_NE(breitester, nullptr);
    ASSERT_GT(breite, 20.0);
    const std::optional<TBand> b = WegBand(*breitester, f->Ansicht());
    const double dx = b->Q.X - b->P.X, dy = b->Q.Y - b->P.Y, l = std::hypot(dx, dy);
    const QPoint ziel(static_cast<int>(b->P.X + 0.7 * dx + dy / l * breite * 0.4),
                      static_cast<int>(b->P.Y + 0.7 * dy - dx / l * breite * 0.4));
    QTest::mouseClick(pb, Qt::LeftButton, {}, ziel);
    ASSERT_EQ(f->Modell()->FOListe.Auswahl().size(), 1U);
    EXPECT_EQ(f->Modell()->FOListe.Auswahl().front().Objekt, breitester);

    // Über einen Neustart gemerkt; aus über das Menü, die Legende verschwindet.
    f.reset();
    f = Fenster();
    ASSERT_TRUE(f->Ansicht().Sankey);
    A(*f, "ACAnsichtSankey")->trigger();
    EXPECT_FALSE(f->Ansicht().Sankey);
    QTest::qWait(50);
    EXPECT_FALSE(f->findChild<QWidget*>(QStringLiteral("PASankeyLegende"))->isVisible());
    EXPECT_FALSE(QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).value("Ansicht/Sankey").toBool());
}

} // namespace
} // namespace tessomir
