#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <initializer_list>
#include <string>
#include <memory>

#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "qt/UQtSchrift.h"
#include "qt/UQtText.h"
#include "qt/UQtZeichenflaeche.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

QRgb Rgb(TFarbe f) { return qRgb(f.R, f.G, f.B); }

// Was ein schwarzer Stift im Nicht-Xor-Modus aus einem Pixel macht.
QRgb Umgekehrt(QRgb grund) { return ~grund | 0xFF000000u; }

// Erwartete Farbe an einer Stelle des Bildes.
struct TPixel {
    int X, Y;
    QRgb Farbe;
};

void PixelPruefen(const QImage& img, std::initializer_list<TPixel> erwartet) {
    for (const TPixel& p : erwartet) EXPECT_EQ(img.pixel(p.X, p.Y), p.Farbe) << "(" << p.X << ", " << p.Y << ")";
}

// Ein Bild mit Maler und Zeichenfläche; der Maler endet vor jedem Pixelvergleich.
struct Bild {
    explicit Bild(int w = 60, int h = 60, QColor grund = Qt::white) : Image(w, h, QImage::Format_RGB32) {
        Image.fill(grund);
        Maler = std::make_unique<QPainter>(&Image);
        Flaeche = std::make_unique<TQtZeichenflaeche>(*Maler);
    }
    QImage& Fertig() {
        Flaeche.reset();
        Maler.reset();
        return Image;
    }
    // Nach Maler->end() für einen Vergleich weiter auf dasselbe Bild malen.
    void Weiter() {
        Maler->begin(&Image);
        Flaeche->MalerGeaendert();
    }
    QImage Image;
    std::unique_ptr<QPainter> Maler;
    std::unique_ptr<TQtZeichenflaeche> Flaeche;
};

// Bunter Grund, damit Nicht-Xor auf vielen Farben geprüft wird.
QImage BunterGrund() {
    QImage img(60, 60, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    return img;
}

TEST(QtZeichenflaeche, RechteckOhneRechtenUndUnterenRand) {
    Bild b;
    b.Flaeche->StiftfarbeSetzen(Rot);
    b.Flaeche->PinselfarbeSetzen(TFarbe{0, 200, 0});
    b.Flaeche->Rechteck({10, 10, 20, 20});
    const QImage& img = b.Fertig();
    for (int i = 10; i < 20; ++i) {
        EXPECT_EQ(img.pixel(i, 10), Rgb(Rot)) << i;
        EXPECT_EQ(img.pixel(i, 19), Rgb(Rot)) << i;
        EXPECT_EQ(img.pixel(10, i), Rgb(Rot)) << i;
        EXPECT_EQ(img.pixel(19, i), Rgb(Rot)) << i;
        EXPECT_EQ(img.pixel(i, 20), Rgb(Weiss)) << i;
        EXPECT_EQ(img.pixel(20, i), Rgb(Weiss)) << i;
        EXPECT_EQ(img.pixel(i, 9), Rgb(Weiss)) << i;
        EXPECT_EQ(img.pixel(9, i), Rgb(Weiss)) << i;
    }
    EXPECT_EQ(img.pixel(11, 11), qRgb(0, 200, 0));
    EXPECT_EQ(img.pixel(18, 18), qRgb(0, 200, 0));
}

TEST(QtZeichenflaeche, RechteckFuellenOhneRandUndRaender) {
    Bild b;
    b.Flaeche->StiftfarbeSetzen(Rot);
    b.Flaeche->PinselfarbeSetzen(TFarbe{23, 219, 38});
    b.Flaeche->RechteckFuellen({10, 10, 20, 20});
    // Vertauschte Ecken werden geordnet, ein leeres Rechteck zeichnet nichts.
    b.Flaeche->RechteckFuellen({40, 40, 30, 30});
    b.Flaeche->RechteckFuellen({50, 50, 50, 55});
    const QRgb gruen = qRgb(23, 219, 38);
    PixelPruefen(b.Fertig(), {{10, 10, gruen}, {19, 19, gruen}, {20, 15, Rgb(Weiss)}, {15, 20, Rgb(Weiss)},
                              {30, 30, gruen}, {39, 39, gruen}, {40, 40, Rgb(Weiss)}, {50, 52, Rgb(Weiss)}});
}

TEST(QtZeichenflaeche, SchmaleRechteckeSetzenJedesPixelEinmal) {
    // Ein Pixel breit oder hoch: nur Rand, im Nicht-Xor-Modus nicht doppelt.
    QImage grund = BunterGrund();
    QImage img = grund;
    {
        QPainter p(&img);
        TQtZeichenflaeche z(p);
        z.StiftmodusSetzen(TStiftModus::NichtXor);
        z.Rechteck({5, 5, 6, 15});
        z.Rechteck({20, 5, 30, 6});
        z.Rechteck({40, 5, 42, 7});
    }
    EXPECT_EQ(img.pixel(5, 5), Umgekehrt(grund.pixel(5, 5)));
    EXPECT_EQ(img.pixel(5, 14), Umgekehrt(grund.pixel(5, 14)));
    EXPECT_EQ(img.pixel(25, 5), Umgekehrt(grund.pixel(25, 5)));
    EXPECT_EQ(img.pixel(41, 6), Umgekehrt(grund.pixel(41, 6)));
    EXPECT_EQ(img.pixel(42, 7), grund.pixel(42, 7));
}

TEST(QtZeichenflaeche, LinienSetzenIhrenEndpunktNicht) {
    Bild b;
    b.Flaeche->Polylinie({{5, 5}, {15, 5}, {15, 15}});
    b.Flaeche->BewegeZu(30, 30);
    b.Flaeche->LinieZu(40, 30);
    b.Flaeche->LinieZu(40, 40); // geht vom vorigen Endpunkt aus
    b.Flaeche->Polylinie({{50, 50}}); // ein Punkt ist kein Linienzug
    PixelPruefen(b.Fertig(), {{5, 5, Rgb(Schwarz)},
                              {15, 5, Rgb(Schwarz)}, // Eckpunkt setzt das zweite Stück
                              {15, 14, Rgb(Schwarz)}, {15, 15, Rgb(Weiss)},
                              {30, 30, Rgb(Schwarz)}, {40, 30, Rgb(Schwarz)}, {40, 39, Rgb(Schwarz)},
                              {40, 40, Rgb(Weiss)}, {50, 50, Rgb(Weiss)},
                              // Ein Pixel breit, ohne Kantenglättung: nur Schwarz und Weiß.
                              {10, 4, Rgb(Weiss)}, {10, 6, Rgb(Weiss)}});
}

TEST(QtZeichenflaeche, FigurenWeitAusserhalbWerdenAmBildRandGeschnitten) {
    // Stark vergrößert liegen Knoten weit außerhalb; ihre Wege queren das Bild trotzdem.
    Bild b;
    b.Flaeche->Polylinie({{-2000000000, 5}, {2000000000, 5}});
    b.Flaeche->Polylinie({{30, -2147483647}, {30, 2147483647}});
    b.Flaeche->PinselfarbeSetzen(Rot);
    b.Flaeche->RechteckFuellen({-2147483647, 50, 2147483647, 52});
    b.Flaeche->Rechteck({2000000000, 0, 2147483647, 10});
    PixelPruefen(b.Fertig(), {{0, 5, Rgb(Schwarz)}, {59, 5, Rgb(Schwarz)}, {30, 0, Rgb(Schwarz)},
                              {30, 59, Rgb(Schwarz)}, {10, 10, Rgb(Weiss)}, {0, 50, Rgb(Rot)}, {59, 51, Rgb(Rot)}});
}

TEST(QtZeichenflaeche, EllipseBleibtImKastenOhneRechtenUndUnterenRand) {
    Bild b;
    b.Flaeche->StiftfarbeSetzen(Schwarz);
    b.Flaeche->PinselfarbeSetzen(TFarbe{255, 189, 51});
    b.Flaeche->Ellipse({10, 10, 23, 23});
    const QImage& img = b.Fertig();
    int links = 99, rechts = -1, oben = 99, unten = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != Rgb(Weiss)) {
                links = std::min(links, x);
                rechts = std::max(rechts, x);
                oben = std::min(oben, y);
                unten = std::max(unten, y);
            }
    EXPECT_EQ(links, 10);
    EXPECT_EQ(oben, 10);
    EXPECT_EQ(rechts, 22);
    EXPECT_EQ(unten, 22);
    EXPECT_EQ(img.pixel(16, 16), qRgb(255, 189, 51));
    EXPECT_EQ(img.pixel(10, 16), Rgb(Schwarz));
}

TEST(QtZeichenflaeche, PolygonUmrissImStiftInneresImPinsel) {
    Bild b;
    b.Flaeche->StiftfarbeSetzen(Rot);
    b.Flaeche->PinselfarbeSetzen(Gelb);
    b.Flaeche->Polygon({{30, 20}, {40, 30}, {30, 40}, {20, 30}, {30, 20}});
    PixelPruefen(b.Fertig(), {{30, 30, Rgb(Gelb)}, {30, 20, Rgb(Rot)}, {20, 30, Rgb(Rot)}, {30, 19, Rgb(Weiss)}});
}

void GummiFiguren(QImage& img) {
    QPainter p(&img);
    TQtZeichenflaeche z(p);
    ASSERT_TRUE(z.KannNichtXor());
    z.StiftfarbeSetzen(Schwarz);
    z.PinselfarbeSetzen(TFarbe{30, 60, 90});
    z.StiftmodusSetzen(TStiftModus::NichtXor);
    z.Polylinie({{3, 3}, {50, 17}, {20, 55}, {3, 3}});
    z.Rechteck({10, 10, 30, 25});
    z.Ellipse({25, 25, 45, 40});
    z.BewegeZu(0, 59);
    z.LinieZu(59, 0);
}

TEST(QtZeichenflaeche, GummifigurZweimalGezeichnetLaesstDasBildWieEsWar) {
    const QImage grund = BunterGrund();
    QImage img = grund;
    GummiFiguren(img);
    EXPECT_NE(img, grund);
    // Schwarzer Stift in Nicht-Xor kehrt um.
    EXPECT_EQ(img.pixel(3, 3), Umgekehrt(grund.pixel(3, 3)));
    GummiFiguren(img);
    EXPECT_EQ(img, grund);
}

TEST(QtZeichenflaeche, NachNichtXorWirdWiederNormalGezeichnet) {
    Bild b(20, 20, QColor(10, 20, 30));
    b.Flaeche->StiftmodusSetzen(TStiftModus::NichtXor);
    b.Flaeche->Polylinie({{0, 2}, {10, 2}});
    b.Flaeche->StiftmodusSetzen(TStiftModus::Normal);
    EXPECT_EQ(b.Flaeche->Stiftmodus(), TStiftModus::Normal);
    b.Flaeche->StiftfarbeSetzen(TFarbe{1, 2, 3});
    b.Flaeche->Polylinie({{0, 5}, {10, 5}});
    // Füllen und Text folgen dem Stiftmodus nie.
    b.Flaeche->StiftmodusSetzen(TStiftModus::NichtXor);
    b.Flaeche->PinselfarbeSetzen(TFarbe{4, 5, 6});
    b.Flaeche->RechteckFuellen({0, 10, 5, 15});
    const QImage& img = b.Fertig();
    EXPECT_EQ(img.pixel(3, 2), qRgb(245, 235, 225));
    EXPECT_EQ(img.pixel(3, 5), qRgb(1, 2, 3));
    EXPECT_EQ(img.pixel(2, 12), qRgb(4, 5, 6));
}

TEST(QtZeichenflaeche, ClipBegrenztBisZumAufheben) {
    Bild b;
    b.Flaeche->PinselfarbeSetzen(Rot);
    b.Flaeche->ClipSetzen({0, 0, 10, 10});
    b.Flaeche->RechteckFuellen({0, 0, 30, 30});
    b.Flaeche->ClipAufheben();
    b.Flaeche->PinselfarbeSetzen(Gelb);
    b.Flaeche->RechteckFuellen({40, 40, 50, 50});
    PixelPruefen(b.Fertig(), {{9, 9, Rgb(Rot)}, {10, 5, Rgb(Weiss)}, {5, 10, Rgb(Weiss)}, {45, 45, Rgb(Gelb)}});
}

TEST(QtZeichenflaeche, TextAufDeckendemGrundInSchriftfarbe) {
    Bild b(120, 40);
    TSchrift s;
    s.Hoehe = -16;
    s.Farbe = 0x00FF0000; // Blau als 0x00BBGGRR
    b.Flaeche->SchriftSetzen(s);
    EXPECT_EQ(b.Flaeche->Schrift(), s);
    b.Flaeche->PinselfarbeSetzen(Gelb);
    const TTextgroesse g = b.Flaeche->TextAusmass("HgH");
    ASSERT_GT(g.Breite, 0);
    ASSERT_GT(g.Hoehe, 0);
    EXPECT_EQ(g.Hoehe, QFontMetrics(QtSchrift(s)).height());
    EXPECT_GT(b.Flaeche->TextAusmass("HgHHgH").Breite, g.Breite);
    EXPECT_EQ(b.Flaeche->TextAusmass("").Breite, 0);
    b.Flaeche->TextAusgeben(10, 5, "HgH");
    const QImage& img = b.Fertig();
    EXPECT_EQ(img.pixel(10, 5), Rgb(Gelb));
    EXPECT_EQ(img.pixel(9, 5), Rgb(Weiss));
    EXPECT_EQ(img.pixel(10 + g.Breite, 5), Rgb(Weiss));
    EXPECT_EQ(img.pixel(10, 5 + g.Hoehe), Rgb(Weiss));
    int blau = 0;
    for (int y = 5; y < 5 + g.Hoehe; ++y)
        for (int x = 10; x < 10 + g.Breite; ++x) {
            const QColor c(img.pixel(x, y));
            if (c.blue() > 200 && c.red() < 60 && c.green() < 60) ++blau;
        }
    EXPECT_GT(blau, 10);
}

TEST(QtZeichenflaeche, TextspeicherTrenntSchriftenUndBleibtBegrenzt) {
    TQtTextSpeicher speicher(2);
    QImage img(10, 10, QImage::Format_RGB32);
    QPainter p(&img);
    TQtZeichenflaeche z(p, &speicher);
    TSchrift klein;
    klein.Hoehe = -13;
    TSchrift gross = klein;
    gross.Hoehe = -39;
    z.SchriftSetzen(klein);
    const int32_t w1 = z.TextAusmass("Hallo").Breite;
    z.SchriftSetzen(gross);
    const int32_t w3 = z.TextAusmass("Hallo").Breite;
    EXPECT_GT(w3, 2 * w1);
    z.SchriftSetzen(klein);
    EXPECT_EQ(z.TextAusmass("Hallo").Breite, w1);
    EXPECT_LE(speicher.Anzahl(), 2u);
    // Mehr Texte als Platz: der Speicher beginnt neu, die Maße bleiben richtig.
    const int32_t a = z.TextAusmass("a").Breite;
    const int32_t aaa = z.TextAusmass("aaa").Breite;
    EXPECT_LE(speicher.Anzahl(), 2u);
    EXPECT_EQ(z.TextAusmass("Hallo").Breite, w1);
    EXPECT_GT(aaa, a);
    // Namen sind reiner Text, auch wenn sie wie HTML aussehen.
    EXPECT_GT(z.TextAusmass("<b>x</b>").Breite, z.TextAusmass("x").Breite * 3);
}

// Viele Texte, auch solche, die sich nur im letzten Zeichen oder in der
// Länge unterscheiden: jeder bleibt über alle Vergrößerungen des
// Verzeichnisses hinweg auffindbar, an derselben Adresse.
TEST(QtZeichenflaeche, TextverzeichnisFindetJedenTextNachDemWachsen) {
    TQtTextSpeicher::TTexte texte;
    EXPECT_EQ(texte.Suchen("x"), nullptr);
    std::vector<std::string> namen;
    for (int i = 0; i < 5000; ++i) namen.push_back("TWeg" + std::to_string(i));
    namen.push_back("");
    namen.push_back("TWeg1 ");
    std::vector<const TQtTextSpeicher::TText*> adressen;
    for (size_t i = 0; i < namen.size(); ++i) {
        TQtTextSpeicher::TText t;
        t.Breite = static_cast<int>(i);
        adressen.push_back(&texte.Einfuegen(namen[i], std::move(t)));
    }
    ASSERT_EQ(texte.Anzahl(), namen.size());
    for (size_t i = 0; i < namen.size(); ++i) {
        const TQtTextSpeicher::TText* t = texte.Suchen(namen[i]);
        ASSERT_EQ(t, adressen[i]) << namen[i];
        EXPECT_EQ(t->Breite, static_cast<int>(i));
    }
    // Rückwärts trifft die Vermutung "der nächste" nie: alles über das Verzeichnis.
    for (size_t i = namen.size(); i-- > 0;) ASSERT_EQ(texte.Suchen(namen[i]), adressen[i]) << namen[i];
    EXPECT_EQ(texte.Suchen("TWeg5000"), nullptr);
    EXPECT_EQ(texte.Suchen("TWeg"), nullptr);
    texte.Leeren();
    EXPECT_EQ(texte.Suchen("TWeg1"), nullptr);
    TQtTextSpeicher::TText t;
    t.Breite = 7;
    texte.Einfuegen("TWeg1", std::move(t));
    EXPECT_EQ(texte.Suchen("TWeg1")->Breite, 7);
}

TEST(QtZeichenflaeche, FensterhintergrundKommtAusDerPalette) {
    Bild b;
    const QColor base = QGuiApplication::palette().color(QPalette::Base);
    EXPECT_EQ(b.Flaeche->Fensterhintergrund(), (TFarbe{static_cast<uint8_t>(base.red()),
                                                        static_cast<uint8_t>(base.green()),
                                                        static_cast<uint8_t>(base.blue())}));
}

TEST(QtSchrift, HoeheStilUndTeilung) {
    TSchrift s;
    s.Name = "DejaVu Sans";
    s.Hoehe = -20;
    s.Stil = 1 | 4;
    QFont f = QtSchrift(s);
    EXPECT_EQ(f.pixelSize(), 20);
    EXPECT_TRUE(f.bold());
    EXPECT_FALSE(f.italic());
    EXPECT_TRUE(f.underline());
    EXPECT_FALSE(f.strikeOut());
    EXPECT_EQ(f.family(), QString("DejaVu Sans"));

    s.Stil = 2 | 8;
    s.Teilung = 2;
    f = QtSchrift(s);
    EXPECT_FALSE(f.bold());
    EXPECT_TRUE(f.italic());
    EXPECT_TRUE(f.strikeOut());
    EXPECT_TRUE(f.fixedPitch());

    // Positive Höhe ist die Zellenhöhe: Ober- plus Unterlänge.
    s.Hoehe = 30;
    s.Stil = 0;
    s.Teilung = 0;
    EXPECT_NEAR(QFontMetrics(QtSchrift(s)).height(), 30, 1);
    EXPECT_LT(QtSchrift(s).pixelSize(), 30);

    // Unsinnige Höhen aus der Datei bleiben in vernünftigen Grenzen.
    s.Hoehe = INT32_MIN;
    EXPECT_GE(QtSchrift(s).pixelSize(), 1);
    EXPECT_LE(QtSchrift(s).pixelSize(), 4096);
    s.Hoehe = 0;
    EXPECT_GT(QtSchrift(s).pixelSize(), 0);
}

TEST(QtSchrift, FarbeAusFarbwertUndSystemfarbe) {
    TSchrift s;
    s.Farbe = 0x00336699;
    EXPECT_EQ(QtSchriftfarbe(s), QColor(0x99, 0x66, 0x33));
    s.Farbe = -2147483640; // Fenstertext
    const TFarbe f = FarbeAusFarbwert(s.Farbe);
    EXPECT_EQ(QtSchriftfarbe(s), QColor(f.R, f.G, f.B));
}

TEST(QtText, Windows1252HinUndZurueck) {
    const std::string ansi = "Gr\xFC\xDF" "e \x80 \x84" "x\x93";
    const QString q = QtAusAnsi(ansi);
    EXPECT_EQ(q, QString::fromUtf8("Grüße € „x“"));
    EXPECT_EQ(AnsiAusQt(q), ansi);
    EXPECT_EQ(AnsiAusQt(QString::fromUtf8("a\u4e2db")), "a?b");
    EXPECT_TRUE(QtAusAnsi("").isEmpty());
}

// Ein Text als kopiertes Bild muss jedes Pixel so setzen wie ein gemalter:
// auf weißem und buntem, teils bemaltem Grund, verschoben, beschnitten, in
// allen Stilen, mit Unterlängen, Umlauten und Überhängen.
QImage TexteZeichnen(bool bilder, const QImage& grund, TQtTextSpeicher& speicher, QImage::Format format,
                     QPoint verschiebung) {
    QImage img = grund.convertToFormat(format);
    QPainter p(&img);
    p.translate(verschiebung);
    TQtZeichenflaeche z(p, &speicher);
    z.TextbilderSetzen(bilder);
    const char* texte[] = {"K123", "W4711", "12.50", "\xC4\xD6\xDC\xDF \xE4\xF6\xFC", "fj/Wy_g|", "<b>x</b>", "1",
                           "(Qq)", "VAV \x80"};
    const TFarbe farben[][2] = {{Schwarz, Weiss}, {Rot, Gelb}, {Grau, Weiss}, {TFarbe{0, 132, 255}, Schwarz}};
    const int hoehen[] = {-13, -8, -21};
    int n = 0;
    for (const int stil : {0, 1, 2, 3, 4, 8})
        for (const int hoehe : hoehen)
            for (const int teilung : {0, 2}) {
                TSchrift s;
                s.Hoehe = hoehe;
                s.Stil = stil;
                s.Teilung = teilung;
                for (const char* t : texte) {
                    const auto& f = farben[n % 4];
                    s.Farbe = static_cast<int32_t>(f[0].R | (f[0].G << 8) | (f[0].B << 16));
                    z.SchriftSetzen(s);
                    z.PinselfarbeSetzen(f[1]);
                    if (n % 7 == 0) z.ClipSetzen({20, 10, 150, 200});
                    // Teils auf schon gezeichnete Texte und über den Bildrand.
                    z.TextAusgeben((n * 37) % 260 - 20, (n * 13) % 230 - 10, t);
                    if (n % 7 == 3) z.ClipAufheben();
                    ++n;
                }
            }
    p.end();
    return img;
}

TEST(QtZeichenflaeche, TextbilderGleichenGemaltenTextenPixelGenau) {
    QImage weiss(240, 220, QImage::Format_RGB32);
    weiss.fill(Qt::white);
    const QImage bunt = BunterGrund().scaled(240, 220);
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
        for (const QImage* grund : {static_cast<const QImage*>(&weiss), &bunt}) {
            TQtTextSpeicher speicher;
            const QImage gemalt = TexteZeichnen(false, *grund, speicher, format, QPoint(-7, 3));
            EXPECT_EQ(speicher.BildBytes(), 0u);
            const QImage kopiert = TexteZeichnen(true, *grund, speicher, format, QPoint(-7, 3));
            EXPECT_GT(speicher.BildBytes(), 0u);
            EXPECT_TRUE(gemalt == kopiert);
            // Ein zweites Mal aus den fertigen Bildern, anders verschoben.
            EXPECT_TRUE(TexteZeichnen(false, *grund, speicher, format, QPoint(12, -9)) ==
                        TexteZeichnen(true, *grund, speicher, format, QPoint(12, -9)));
        }
}

TEST(QtZeichenflaeche, TextbilderBleibenImSpeicherBegrenzt) {
    TQtTextSpeicher speicher(1000, 4096);
    QImage img(200, 50, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TQtZeichenflaeche z(p, &speicher);
    for (int i = 0; i < 50; ++i) {
        z.TextAusgeben(0, 0, "Text " + std::to_string(i));
        EXPECT_LE(speicher.BildBytes(), 4096u);
    }
    EXPECT_GT(speicher.BildBytes(), 0u);
}

// Figuren, Flächen und Textbilder unmittelbar in die Pixel geschrieben
// müssen jedes Pixel so setzen wie der Maler: Symbole und Pfeile in allen
// Richtungen, Ellipsen, Balken und Texte, teils über Beschnitt und Bildrand,
// mit Nicht-Xor dazwischen, jede Figur mehrmals (erst dann wird gerastert).
QImage FigurenZeichnen(bool unmittelbar, const QImage& grund, TQtTextSpeicher& speicher, QImage::Format format,
                       QPoint verschiebung) {
    QImage img = grund.convertToFormat(format);
    QPainter p(&img);
    p.translate(verschiebung);
    TQtZeichenflaeche z(p, &speicher);
    z.UnmittelbarSetzen(unmittelbar);
    const TFarbe farben[] = {Schwarz, Rot, Grau, TFarbe{23, 219, 38}, TFarbe{0, 128, 255}, Gelb};
    for (int n = 0; n < 240; ++n) {
        const int32_t x = (n * 53) % 300 - 30, y = (n * 29) % 260 - 20;
        const int g = 3 + n % 7;
        z.StiftfarbeSetzen(farben[n % 6]);
        z.PinselfarbeSetzen(farben[(n / 6) % 6]);
        z.StiftmodusSetzen(n % 11 == 5 ? TStiftModus::NichtXor : TStiftModus::Normal);
        if (n % 17 == 0) z.ClipSetzen({25 + n % 9, 15, 210, 190});
        if (n % 17 == 8) z.ClipAufheben();
        const double w = n * 0.37;
        const int32_t ax = static_cast<int32_t>(std::lround(9 * std::cos(w))), ay = static_cast<int32_t>(std::lround(9 * std::sin(w)));
        switch (n % 6) {
        case 0: z.Polygon({{x, y - g}, {x + g, y}, {x, y + g}, {x - g, y}, {x, y - g}}); break;
        case 1: z.Polygon({{x, y - g}, {x + g, y + g / 2}, {x - g, y + g / 2}, {x, y - g}}); break;
        case 2: z.Polygon({{x, y}, {x + ax - ay / 2, y + ay + ax / 2}, {x + ax + ay / 2, y + ay - ax / 2}, {x, y}}); break;
        case 3: z.Ellipse({x - g, y - g, x + g + n % 2, y + g}); break;
        case 4: z.Rechteck({x - 3 * g, y - 2, x + 3 * g, y + 2}); z.RechteckFuellen({x - 3 * g + 1, y - 1, x + g, y + 1}); break;
        default: z.PinselfarbeSetzen(Weiss); z.TextAusgeben(x, y, n % 2 ? "K12" : "\xC4x 4.5"); break;
        }
    }
    p.end();
    return img;
}

TEST(QtZeichenflaeche, UnmittelbarGeschriebeneFigurenGleichenGemaltenPixelGenau) {
    const QImage bunt = BunterGrund().scaled(280, 240);
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
        for (const QPoint verschiebung : {QPoint(0, 0), QPoint(-7, 3), QPoint(120, -90)}) {
            TQtTextSpeicher speicher;
            const QImage gemalt = FigurenZeichnen(false, bunt, speicher, format, verschiebung);
            EXPECT_EQ(speicher.FigurAnzahl(), 0u);
            // Zweimal: beim ersten Mal entstehen die Spannen, danach werden sie benutzt.
            EXPECT_TRUE(FigurenZeichnen(true, bunt, speicher, format, verschiebung) == gemalt);
            EXPECT_GT(speicher.FigurAnzahl(), 0u);
            EXPECT_TRUE(FigurenZeichnen(true, bunt, speicher, format, verschiebung) == gemalt);
        }
}

// Zeichnen durch die Ansicht auf echte Pixel.
struct AnsichtPixel : ::testing::Test {
    test::TAufzeichnung plattform;
    test::TModellBau bau;
    Bild b{80, 80};
    TAnsicht ansicht{b.Flaeche.get()};
};

TEST_F(AnsichtPixel, AusgewaehlteQuelleIstGelbMitRotemUmriss) {
    TQuelle& q = bau.Knoten<TQuelle>("Q", {40, -40});
    Zeichnen(q, ansicht, 1);
    // Raute mit R = 6 um (40, 40).
    PixelPruefen(b.Fertig(), {{40, 40, Rgb(Gelb)}, {42, 41, Rgb(Gelb)}, {40, 34, Rgb(Rot)}, {34, 40, Rgb(Rot)},
                              {46, 40, Rgb(Rot)}, {40, 46, Rgb(Rot)}, {40, 33, Rgb(Weiss)}});
}

TEST_F(AnsichtPixel, NichtAusgewaehlteKnotenHabenIhreFarben) {
    Zeichnen(bau.Knoten<TQuelle>("Q", {15, -15}), ansicht, 0);
    Zeichnen(bau.Knoten<TSenke>("S", {60, -15}), ansicht, 0);
    Zeichnen(bau.Knoten<TVerzweigung>("V", {15, -60}), ansicht, 0);
    Zeichnen(bau.Knoten<TWandler>("W", {60, -60}), ansicht, 0);
    PixelPruefen(b.Fertig(), {{15, 15, qRgb(23, 219, 38)}, {15, 9, Rgb(Schwarz)}, {60, 15, qRgb(255, 86, 86)},
                              {15, 60, qRgb(0, 128, 255)}, {11, 56, Rgb(Schwarz)}, {60, 60, qRgb(255, 189, 51)}});
}

TEST_F(AnsichtPixel, GummiknotenZweimalGezeichnetLaesstDasBildUnveraendert) {
    TQuelle& q = bau.Knoten<TQuelle>("Q", {20, -20});
    TWandler& w = bau.Knoten<TWandler>("W", {50, -50});
    TVerzweigung& v = bau.Knoten<TVerzweigung>("V", {20, -50});
    TWeg& weg = bau.Weg(q, w);
    bau.M().QuellenBeschr = true;
    ModellZeichnen(bau.M(), ansicht);
    b.Maler->end();
    const QImage vorher = b.Image;
    const auto gummiZeichnen = [&] {
        for (const TFO* o : std::initializer_list<const TFO*>{&q, &w, &v, &weg}) Zeichnen(*o, ansicht, 2);
    };
    b.Weiter();
    ansicht.Startpunkt = {20, 20};
    ansicht.Aktpunkt = {27, 24};
    gummiZeichnen();
    b.Maler->end();
    EXPECT_NE(b.Image, vorher);
    // Der Umriss der Quelle liegt um (27, 24): ihre Spitze oben ist umgekehrt.
    EXPECT_EQ(b.Image.pixel(27, 18), Umgekehrt(vorher.pixel(27, 18)));
    b.Weiter();
    gummiZeichnen();
    EXPECT_EQ(b.Fertig(), vorher);
}

} // namespace
} // namespace tessomir

int main(int argc, char** argv) {
    // Ohne Bildschirm; auch beim Auflisten der Tests während des Bauens.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
