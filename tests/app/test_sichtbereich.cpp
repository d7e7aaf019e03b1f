// Zeichnen mit Sichtbereich: im sichtbaren Teil jedes Pixel wie ohne.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "qt/UQtZeichenflaeche.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

constexpr int Breite = 900;
constexpr int Hoehe = 700;

// Ein Netz mit langen Namen, Zahlen, langen schrägen Wegen und Strömen über
// der Kapazität; 'anzeige' 0 Balken, 1 Zahlen.
struct TNetz {
    explicit TNetz(int anzeige) {
        TModell& m = Bau.M();
        m.MaxStromBer = false;
        m.MaxStrom = 10.0;
        m.Stromanzeige = anzeige;
        m.QuellenBeschr = m.SenkenBeschr = m.VerzweigBeschr = m.WandlerBeschr = m.WegeBeschr = true;
        std::vector<TKnoten*> k;
        const TPunkt orte[] = {{20, -20},   {430, -35},  {860, -15},  {60, -340}, {450, -330},
                               {845, -360}, {15, -680},  {470, -690}, {880, -650}, {300, -200},
                               {600, -500}, {150, -520}, {700, -120}, {-40, -300}, {950, -400}};
        for (size_t i = 0; i < std::size(orte); ++i) {
            const std::string name = i % 3 == 0 ? std::string("Ein recht langer Knotenname ").append(std::to_string(i))
                                                : std::string("K").append(std::to_string(i));
            switch (i % 4) {
            case 0: k.push_back(&Bau.Knoten<TQuelle>(name, orte[i])); break;
            case 1: k.push_back(&Bau.Knoten<TVerzweigung>(name, orte[i])); break;
            case 2: k.push_back(&Bau.Knoten<TWandler>(name, orte[i])); break;
            default: k.push_back(&Bau.Knoten<TSenke>(name, orte[i])); break;
            }
        }
        int nr = 0;
        const auto weg = [&](size_t a, size_t b) {
            TWeg& w = Bau.Weg(*k[a], *k[b], std::string("Weg mit Namen ").append(std::to_string(nr)));
            w.Kapazitaet = nr % 3 == 0 ? 1.0 : 1000.0;
            k[b]->Matrix().ZelleSetzen(0, k[b]->EingangIndex(&w) + 1, 0, 2.5 + nr * 1.75);
            ++nr;
        };
        // Lange Diagonalen quer durch das Bild, kurze Wege und Wege nach außen.
        weg(0, 8);
        weg(6, 2);
        weg(3, 5);
        weg(1, 7);
        weg(9, 10);
        weg(11, 4);
        weg(12, 10);
        weg(13, 14);
        weg(0, 1);
        weg(4, 5);
        weg(9, 12);
    }
    test::TModellBau Bau;
};

// Bild des Ausschnitts 'b' (Gerätepunkte); mit 'sicht' wie im Zeichenfeld.
QImage Zeichnen(const TModell& modell, const QRect& b, bool sicht, TQtTextSpeicher& texte) {
    QImage bild(b.size(), QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    maler.translate(-b.topLeft());
    TQtZeichenflaeche flaeche(maler, &texte);
    TAnsicht ansicht(&flaeche);
    if (sicht) {
        ansicht.SichtbereichSetzen({b.left(), b.top(), b.left() + b.width(), b.top() + b.height()}, modell.Schrift);
    }
    ModellZeichnen(modell, ansicht);
    maler.end();
    return bild;
}

void AusschnittePruefen(const TModell& modell) {
    TQtTextSpeicher texte;
    // Bereiche, die Knoten, Namen, Zahlen und Diagonalen schneiden, auch an
    // den Rändern der Zeichnung und ganz klein.
    const QRect bereiche[] = {QRect(0, 0, Breite, Hoehe), QRect(100, 100, 300, 200), QRect(415, 20, 40, 30),
                              QRect(425, 0, 11, 11),      QRect(0, 300, 120, 80),    QRect(600, 480, 300, 220),
                              QRect(200, 250, 500, 200),  QRect(433, 329, 1, 1),     QRect(840, 0, 60, 700),
                              QRect(0, 640, 900, 60),     QRect(430, 300, 3, 120),   QRect(250, 170, 90, 60),
                              // Nur Namen über und Zahlen unter Knoten, deren Symbole außerhalb liegen.
                              QRect(0, 0, 900, 22),       QRect(300, 45, 400, 10)};
    int gezeichnet = 0;
    for (const QRect& b : bereiche) {
        // Verglichen mit demselben Ausschnitt ohne Sichtbereich, wie ihn das
        // Zeichenfeld bisher erneuert hat: Qt rastert lange Linien nach dem
        // Beschneiden am Bildrand, ein Ausschnitt des ganzen Bildes kann
        // darum schon ohne Sichtbereich um ein Pixel abweichen.
        const QImage mit = Zeichnen(modell, b, true, texte);
        const QImage soll = Zeichnen(modell, b, false, texte);
        EXPECT_EQ(mit, soll) << "Bereich " << b.x() << "," << b.y() << " " << b.width() << "x" << b.height();
        QImage weiss(b.size(), QImage::Format_RGB32);
        weiss.fill(Qt::white);
        if (soll != weiss) ++gezeichnet;
    }
    // Die Bereiche liegen fast alle über Gezeichnetem; sonst prüfte der Vergleich nichts.
    EXPECT_GE(gezeichnet, 10);
}

TEST(Sichtbereich, BalkenUndNamenImSichtbarenTeilPixelgleich) {
    TNetz netz(0);
    AusschnittePruefen(netz.Bau.M());
}

TEST(Sichtbereich, ZahlenUndNamenImSichtbarenTeilPixelgleich) {
    TNetz netz(1);
    AusschnittePruefen(netz.Bau.M());
}

TEST(Sichtbereich, RechteckeUndStreckenGegenDenBereich) {
    QImage bild(1, 1, QImage::Format_RGB32);
    QPainter maler(&bild);
    TQtZeichenflaeche flaeche(maler);
    TAnsicht ansicht(&flaeche);
    EXPECT_FALSE(ansicht.HatSichtbereich());
    EXPECT_TRUE(ansicht.BereichSichtbar(-100000, -100000, -99999, -99999));
    ansicht.SichtbereichSetzen({5000, 5000, 5020, 5020}, TSchrift{});
    EXPECT_TRUE(ansicht.HatSichtbereich());
    // Zwei Punkte Abstand; rechter und unterer Rand gehören nicht dazu.
    EXPECT_FALSE(ansicht.BereichSichtbar(0, 0, 4997, 4997));
    EXPECT_TRUE(ansicht.BereichSichtbar(0, 0, 4998, 4998));
    EXPECT_FALSE(ansicht.BereichSichtbar(5022, 5000, 6000, 5010));
    EXPECT_TRUE(ansicht.BereichSichtbar(5021, 5000, 6000, 5010));
    // Eine Diagonale, deren Hülle den Bereich deckt, die ihn aber verfehlt.
    EXPECT_FALSE(ansicht.StreckeSichtbar({4900, 5100}, {5100, 4840}));
    EXPECT_TRUE(ansicht.StreckeSichtbar({4900, 5100}, {5100, 4900}));
    EXPECT_TRUE(ansicht.StreckeSichtbar({5010, -2000000000}, {5010, 2000000000}));
    // Zeilen einer anderen Schrift werden nicht vorab verworfen.
    TSchrift gross;
    gross.Hoehe = -40;
    EXPECT_FALSE(ansicht.ZeilenSichtbar(0, 100, TSchrift{}));
    EXPECT_TRUE(ansicht.ZeilenSichtbar(0, 100, gross));
    EXPECT_FALSE(ansicht.Sichtzeilenhoehe(gross).has_value());
    ansicht.SichtbereichAufheben();
    EXPECT_FALSE(ansicht.HatSichtbereich());
    EXPECT_TRUE(ansicht.BereichSichtbar(0, 0, 1, 1));
    maler.end();
}

} // namespace
} // namespace tessomir

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
