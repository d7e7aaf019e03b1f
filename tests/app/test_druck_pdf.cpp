// Ein Beispielmodell über mehrere Seiten in eine PDF-Datei gedruckt; pdftotext
// liest Titel und Seitenzahlen jeder Seite zurück.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "app/UQtDrucker.h"
#include "gemeinsam/TAufzeichnung.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

// Text der Seite n (ab 1) der PDF-Datei, wie pdftotext ihn liest.
QString SeitenText(const QString& pdf, int n) {
    QProcess p;
    p.start("pdftotext", {"-layout", "-f", QString::number(n), "-l", QString::number(n), pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int Seitenzahl(const QString& pdf) {
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished(30000);
    for (const QString& zeile : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        if (zeile.startsWith("Pages:")) return zeile.mid(6).trimmed().toInt();
    }
    return -1;
}

TEST(DruckPdf, BeispielUeberMehrereSeitenMitKopfUndSeitenzahl) {
    test::TAufzeichnung platt;
    TOeffnenErgebnis geladen = ModellOeffnen(TESSOMIR_BEISPIELE "/Wassernetz.TSR");
    ASSERT_NE(geladen.Modell, nullptr) << geladen.Grund;
    QImage bild(1, 1, QImage::Format_RGB32);
    QPainter maler(&bild);
    TQtZeichenflaeche bildschirm(maler);
    TAnsicht ansicht(&bildschirm);
    ansicht.Massstab = 4; // groß genug für mehrere Seiten

    QTemporaryDir ordner;
    const QString pdf = ordner.filePath("wassernetz.pdf");
    QPrinter drucker(QPrinter::HighResolution);
    drucker.setOutputFormat(QPrinter::PdfFormat);
    drucker.setOutputFileName(pdf);
    ASSERT_TRUE(AufDruckerDrucken(drucker, geladen.Modell.get(), ansicht));
    EXPECT_TRUE(platt.Meldungen.empty());
    EXPECT_EQ(ansicht.Zeichenflaeche, &bildschirm);

    const int seiten = ansicht.SeitenQuer * ansicht.SeitenHoch;
    ASSERT_GT(seiten, 1);
    ASSERT_EQ(Seitenzahl(pdf), seiten);
    for (int n = 1; n <= seiten; ++n) {
        SCOPED_TRACE(n);
        const QString text = SeitenText(pdf, n);
        EXPECT_TRUE(text.contains("Tessomir Wassernetz")) << text.toStdString();
        EXPECT_TRUE(text.contains(QString("Seite %1/%2").arg(n).arg(seiten))) << text.toStdString();
        EXPECT_TRUE(text.contains("Belcorra Software")) << text.toStdString();
    }
}

TEST(DruckPdf, SeitenbereichDesDruckers) {
    test::TAufzeichnung platt;
    TOeffnenErgebnis geladen = ModellOeffnen(TESSOMIR_BEISPIELE "/Wassernetz.TSR");
    ASSERT_NE(geladen.Modell, nullptr);
    QImage bild(1, 1, QImage::Format_RGB32);
    QPainter maler(&bild);
    TQtZeichenflaeche bildschirm(maler);
    TAnsicht ansicht(&bildschirm);
    ansicht.Massstab = 4;
    QTemporaryDir ordner;
    const QString pdf = ordner.filePath("teil.pdf");
    QPrinter drucker(QPrinter::HighResolution);
    drucker.setOutputFormat(QPrinter::PdfFormat);
    drucker.setOutputFileName(pdf);
    drucker.setPrintRange(QPrinter::PageRange);
    drucker.setFromTo(2, 100);
    ASSERT_TRUE(AufDruckerDrucken(drucker, geladen.Modell.get(), ansicht));
    const int seiten = ansicht.SeitenQuer * ansicht.SeitenHoch;
    ASSERT_EQ(Seitenzahl(pdf), seiten - 1);
    EXPECT_TRUE(SeitenText(pdf, 1).contains(QString("Seite 2/%1").arg(seiten)));
}

} // namespace
} // namespace tessomir
