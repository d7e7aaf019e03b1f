#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/UExport.h"
#include "cli/UKommandozeile.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

namespace fs = std::filesystem;

struct Ergebnis {
    int Rc;
    std::string Aus;
    std::string Fehler;
};

Ergebnis Aufruf(std::vector<std::string> arg) {
    arg.insert(arg.begin(), "exportieren");
    std::ostringstream aus, fehler;
    const int rc = KommandozeileAusfuehren(arg, aus, fehler, Zusatzbefehle());
    return {rc, aus.str(), fehler.str()};
}

std::string Inhalt(const fs::path& p) {
    std::ifstream ein(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>()};
}

struct Export : ::testing::Test {
    Export() {
        ordner = fs::temp_directory_path() /
                 ("tessomir_export_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(ordner);
        fs::create_directories(ordner);
    }
    ~Export() override { fs::remove_all(ordner); }

    // Ein Modell im sichtbaren Bereich (y <= 0), als Datei gespeichert.
    std::string ModellDatei() {
        test::TModellBau bau;
        TQuelle& q = bau.Knoten<TQuelle>("Quelle", {20, -30});
        TVerzweigung& v = bau.Knoten<TVerzweigung>("Verteiler", {100, -30});
        TSenke& s = bau.Knoten<TSenke>("Senke", {180, -30});
        bau.Knoten<TWandler>("Wandler", {100, -90});
        bau.Weg(q, v, "Zulauf");
        bau.Weg(v, s, "Ablauf");
        const std::string datei = (ordner / "modell.TSR").string();
        DateiSpeichern(bau.M(), datei);
        return datei;
    }

    test::TAufzeichnung plattform;
    fs::path ordner;
};

TEST_F(Export, PngZeigtDieKnotenAnIhrenGeraetepunkten) {
    const std::string modell = ModellDatei();
    const fs::path bild = ordner / "bild.png";
    const Ergebnis e = Aufruf({modell, bild.string()});
    ASSERT_EQ(e.Rc, 0) << e.Fehler;
    EXPECT_EQ(e.Aus, "");
    QImage img;
    ASSERT_TRUE(img.load(QString::fromStdString(bild.string()), "PNG"));
    // Bis hinter die Senke und unter den Wandler, aber nicht beliebig weit.
    EXPECT_GT(img.width(), 186);
    EXPECT_LT(img.width(), 260);
    EXPECT_GT(img.height(), 96);
    EXPECT_LT(img.height(), 160);
    EXPECT_EQ(img.pixel(20, 30), qRgb(23, 219, 38));
    EXPECT_EQ(img.pixel(100, 30), qRgb(0, 128, 255));
    EXPECT_EQ(img.pixel(180, 30), qRgb(255, 86, 86));
    EXPECT_EQ(img.pixel(100, 90), qRgb(255, 189, 51));
    // Der Weg (grau) liegt zwischen Quelle und Verzweigung; der Grund ist weiß.
    EXPECT_EQ(img.pixel(40, 30), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(img.width() - 1, img.height() - 1), qRgb(255, 255, 255));
}

TEST_F(Export, ZoomVersetztDieKnotenAberNichtIhreGroesse) {
    const std::string modell = ModellDatei();
    const fs::path bild = ordner / "gross.PNG";
    ASSERT_EQ(Aufruf({modell, bild.string(), "--zoom", "2"}).Rc, 0);
    QImage img;
    ASSERT_TRUE(img.load(QString::fromStdString(bild.string()), "PNG"));
    EXPECT_GT(img.width(), 366);
    EXPECT_EQ(img.pixel(40, 60), qRgb(23, 219, 38));
    EXPECT_EQ(img.pixel(360, 60), qRgb(255, 86, 86));
    // Die Raute bleibt 6 Pixel groß.
    EXPECT_EQ(img.pixel(40, 53), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(20, 30), qRgb(255, 255, 255));
}

TEST_F(Export, SvgUndPdfSindGueltigeDateien) {
    const std::string modell = ModellDatei();
    ASSERT_EQ(Aufruf({modell, (ordner / "bild.svg").string()}).Rc, 0);
    ASSERT_EQ(Aufruf({modell, (ordner / "bild.pdf").string()}).Rc, 0);
    const std::string svg = Inhalt(ordner / "bild.svg");
    EXPECT_TRUE(svg.starts_with("<?xml") || svg.starts_with("<svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    const std::string pdf = Inhalt(ordner / "bild.pdf");
    EXPECT_TRUE(pdf.starts_with("%PDF"));
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 16), std::string::npos);
    // Keine Hilfsdateien bleiben liegen.
    EXPECT_EQ(std::distance(fs::directory_iterator(ordner), fs::directory_iterator()), 3);
}

TEST_F(Export, BerechnenSchreibtDasProtokollUndZeichnetTrotzdem) {
    const fs::path bild = ordner / "b.png";
    Ergebnis e = Aufruf({std::string(TESSOMIR_TESTDATEN) + "/beispiel_v3.TSR", bild.string(), "--berechnen", "--summe"});
    EXPECT_EQ(e.Rc, 0) << e.Fehler;
    EXPECT_EQ(e.Aus, "Daten OK, Berechnung gestartet\nBerechnung OK\nMax. Strom berechnet : 50.00\n");
    EXPECT_TRUE(fs::exists(bild));
    // Der nicht verbundene Wandler lässt die Prüfung scheitern: Rückgabe 1, Bild trotzdem.
    fs::remove(bild);
    e = Aufruf({ModellDatei(), bild.string(), "--berechnen"});
    EXPECT_EQ(e.Rc, 1);
    EXPECT_NE(e.Aus.find("Max. Strom berechnet"), std::string::npos);
    EXPECT_TRUE(fs::exists(bild));
}

TEST_F(Export, AufruffehlerLassenVorhandeneBilderStehen) {
    const std::string modell = ModellDatei();
    const fs::path bild = ordner / "alt.png";
    std::ofstream(bild) << "alt";
    const auto pruefen = [&](std::vector<std::string> arg, const std::string& meldung) {
        const Ergebnis e = Aufruf(std::move(arg));
        EXPECT_EQ(e.Rc, 2) << meldung;
        EXPECT_NE(e.Fehler.find(meldung), std::string::npos) << e.Fehler;
        EXPECT_EQ(Inhalt(bild), "alt");
    };
    pruefen({modell, (ordner / "bild.gif").string()}, "unbekanntes Bildformat");
    EXPECT_FALSE(fs::exists(ordner / "bild.gif"));
    pruefen({modell, (ordner / "png").string()}, "unbekanntes Bildformat");
    pruefen({(ordner / "fehlt.TSR").string(), bild.string()}, "Die Datei fehlt.TSR kann nicht ge\xC3\xB6" "ffnet werden.");
    pruefen({modell, bild.string(), "--artikel", "1"}, "Artikel 1 gibt es nicht");
    pruefen({modell, bild.string(), "--artikel", "-1"}, "Artikel -1 gibt es nicht");
    pruefen({modell, bild.string(), "--artikel", "x"}, "--artikel erwartet eine ganze Zahl");
    pruefen({modell, bild.string(), "--zoom", "0"}, "--zoom erwartet eine positive Zahl");
    pruefen({modell, bild.string(), "--zoom", "1,5"}, "--zoom erwartet eine positive Zahl");
    pruefen({modell, bild.string(), "--zoom"}, "--zoom erwartet einen Wert");
    pruefen({modell, bild.string(), "--farbe"}, "unbekannte Option --farbe");
    pruefen({modell}, "eine Modelldatei und eine Bilddatei");
    // Ein Massstab, bei dem die Zeichnung nicht mehr in 32 Bit passt.
    pruefen({modell, bild.string(), "--zoom", "1e9"}, "au\xC3\x9F" "erhalb");
}

TEST_F(Export, ArtikelWaehltDieAngezeigtenStroeme) {
    // Zwei Artikel: die Quelle liefert nur Artikel 1, der Weg zeigt dann einen Balken.
    test::TModellBau bau;
    bau.M().ArtikelEinfuegen("Zweiter");
    TQuelle& q = bau.Knoten<TQuelle>("Q", {20, -20});
    TSenke& s = bau.Knoten<TSenke>("S", {220, -20});
    bau.Weg(q, s);
    q.Matrix().ZelleSetzen(1, 0, 1, 10.0);
    const std::string datei = (ordner / "zwei.TSR").string();
    DateiSpeichern(bau.M(), datei);
    const auto balken = [&](const std::string& artikel) {
        const fs::path bild = ordner / ("a" + artikel + ".png");
        const Ergebnis e = Aufruf({datei, bild.string(), "--berechnen", "--artikel", artikel});
        EXPECT_EQ(e.Rc, 0) << e.Fehler << e.Aus;
        QImage img(QString::fromStdString(bild.string()));
        // Anzeigepunkt ein Viertel des Wegs: (70, 20); Balkenrahmen 30 x 6 darum.
        return img.pixel(70 - 15, 20 - 3) == qRgb(128, 128, 128);
    };
    EXPECT_FALSE(balken("0"));
    EXPECT_TRUE(balken("1"));
}

std::vector<fs::path> Beispiele() {
    std::vector<fs::path> dateien;
    if (fs::is_directory(TESSOMIR_BEISPIELE)) {
        for (const auto& e : fs::directory_iterator(TESSOMIR_BEISPIELE))
            if (e.path().extension() == ".TSR") dateien.push_back(e.path());
    }
    if (dateien.empty()) dateien.push_back(fs::path(TESSOMIR_TESTDATEN) / "beispiel_v3.TSR");
    return dateien;
}

TEST_F(Export, BeispieleWerdenZuPngSvgUndPdf) {
    for (const fs::path& beispiel : Beispiele()) {
        SCOPED_TRACE(beispiel.string());
        const std::string stamm = beispiel.stem().string();
        for (const char* endung : {".png", ".svg", ".pdf"}) {
            const Ergebnis e = Aufruf({beispiel.string(), (ordner / (stamm + endung)).string(), "--berechnen"});
            EXPECT_NE(e.Rc, 2) << endung << ": " << e.Fehler;
        }
        TOeffnenErgebnis m = ModellOeffnen(beispiel.string());
        ASSERT_TRUE(m.Modell);
        QImage img;
        ASSERT_TRUE(img.load(QString::fromStdString((ordner / (stamm + ".png")).string()), "PNG"));
        // Jeder sichtbare Knoten hinterlässt an seinem Gerätepunkt Farbe.
        int sichtbar = 0;
        for (const auto& o : m.Modell->FOListe.Alle()) {
            if (o->AlsKnoten() == nullptr) continue;
            const int x = static_cast<int>(std::lround(o->Refpunkt.X));
            const int y = static_cast<int>(std::lround(-o->Refpunkt.Y));
            if (x < 0 || y < 0) continue;
            ++sichtbar;
            ASSERT_LT(x, img.width());
            ASSERT_LT(y, img.height());
            EXPECT_NE(img.pixel(x, y), qRgb(255, 255, 255)) << o->Name;
        }
        if (sichtbar == 0) {
            EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
        }
        EXPECT_TRUE(Inhalt(ordner / (stamm + ".svg")).starts_with("<?xml"));
        EXPECT_TRUE(Inhalt(ordner / (stamm + ".pdf")).starts_with("%PDF"));
    }
}

TEST(Bildformat, NachEndungOhneGrossKlein) {
    EXPECT_EQ(BildformatAusName("a.png"), TBildformat::Png);
    EXPECT_EQ(BildformatAusName("ordner.svg/A.PNG"), TBildformat::Png);
    EXPECT_EQ(BildformatAusName("x.Svg"), TBildformat::Svg);
    EXPECT_EQ(BildformatAusName("x.pdf"), TBildformat::Pdf);
    EXPECT_EQ(BildformatAusName(".pdf"), std::nullopt);
    EXPECT_EQ(BildformatAusName("x.pdf.bak"), std::nullopt);
    EXPECT_EQ(BildformatAusName("xpng"), std::nullopt);
}

} // namespace
} // namespace tessomir

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
