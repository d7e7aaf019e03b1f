// Rastert ein SVG-Bild beim Bauen zu einem quadratischen PNG-Bild.
// Aufruf: tessomir_svgpng EIN.svg AUS.png GROESSE
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "Aufruf: %s EIN.svg AUS.png GROESSE\n", argv[0]);
        return 2;
    }
    // Ohne Anwendungsobjekt und ohne Bildschirm: das Bild enthaelt keine Texte,
    // QImage und QPainter rastern es allein.
    bool ok = false;
    const int groesse = QString::fromLocal8Bit(argv[3]).toInt(&ok);
    QSvgRenderer svg{QString::fromLocal8Bit(argv[1])};
    if (!ok || groesse <= 0 || !svg.isValid()) {
        std::fprintf(stderr, "%s: kann %s nicht in %s Pixel rastern\n", argv[0], argv[1], argv[3]);
        return 1;
    }
    QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    {
        QPainter maler(&bild);
        maler.setRenderHint(QPainter::Antialiasing);
        svg.render(&maler);
    }
    if (!bild.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: kann %s nicht schreiben\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
