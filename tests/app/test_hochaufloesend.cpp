// Die Zeichenfläche auf hochauflösenden Schirmen: das Bild hat so viele Pixel
// wie das Gerät und wird Pixel für Pixel gezeigt, Texte bleiben scharf. Läuft
// mit QT_SCALE_FACTOR 2 (Vorgabe) und, als eigener Lauf, mit 1.25.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollArea>
#include <QTest>
#include <cmath>

#include "app/UZeichenfeld.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

class Hochaufloesend : public ::testing::Test {
protected:
    test::TAufzeichnung Platt;
    test::TModellBau Bau;
    TAnsicht Ansicht{nullptr};
    QScrollArea Box;
    TZeichenfeld* Feld = nullptr;

    Hochaufloesend() {
        Bau.M().QuellenBeschr = true;
        Bau.Knoten<TQuelle>("Wasserwerk Nord", {100, -100});
        Box.resize(400, 300);
        Feld = new TZeichenfeld(Ansicht, &Box);
        Feld->ModellSetzen(&Bau.M());
        Box.setWidget(Feld);
        Feld->Neuzeichnen();
        Box.show();
    }
    ~Hochaufloesend() override { Ansicht.Zeichenflaeche = nullptr; }
};

TEST_F(Hochaufloesend, BildHatDiePixelDesGeraetsUndWirdUngestrecktGezeigt) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Box));
    const qreal verhaeltnis = Feld->devicePixelRatioF();
    ASSERT_GT(verhaeltnis, 1.0) << "QT_SCALE_FACTOR fehlt";
    const QImage geraet = Feld->grab(QRect(0, 0, 200, 160)).toImage();
    const QImage& bild = Feld->Bild();
    EXPECT_EQ(bild.devicePixelRatio(), verhaeltnis);
    const QRect sichtbar = Feld->Sichtbar();
    EXPECT_EQ(bild.width(), static_cast<int>(std::ceil(sichtbar.width() * verhaeltnis)));
    EXPECT_EQ(bild.height(), static_cast<int>(std::ceil(sichtbar.height() * verhaeltnis)));

    // Was der Schirm zeigt, sind die Pixel des Bildes, nicht gestreckt.
    ASSERT_EQ(geraet.devicePixelRatio(), verhaeltnis);
    int verschieden = 0;
    for (int y = 0; y < geraet.height(); ++y)
        for (int x = 0; x < geraet.width(); ++x) verschieden += geraet.pixel(x, y) != bild.pixel(x, y);
    EXPECT_EQ(verschieden, 0);

    // Scharf: der Name hat Kanten, die feiner sind als ein logisches Pixel. Aus
    // einem Bild der logischen Größe gestreckt, wäre jeder Block aus 2 x 2
    // Gerätepixeln (bei 2) einfarbig.
    if (verhaeltnis == 2.0) {
        int feiner = 0;
        for (int y = 0; y + 1 < geraet.height(); y += 2)
            for (int x = 0; x + 1 < geraet.width(); x += 2) {
                const QRgb p = geraet.pixel(x, y);
                feiner += p != geraet.pixel(x + 1, y) || p != geraet.pixel(x, y + 1) || p != geraet.pixel(x + 1, y + 1);
            }
        EXPECT_GT(feiner, 20);
    }
}

} // namespace
} // namespace tessomir

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
    QApplication anwendung(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
