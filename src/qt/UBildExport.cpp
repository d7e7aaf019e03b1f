#include "qt/UBildExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/UFehler.h"
#include "persistence/UDatei.h"
#include "qt/UQtText.h"
#include "qt/UQtZeichenflaeche.h"
#include "view/UAnsicht.h"
#include "view/USankey.h"

namespace tessomir {
namespace {

// SVG und PDF bekommen dieselbe Auflösung wie der Bildschirm, damit ein
// Gerätepixel genau eine Bildeinheit ist und Schriften gleich groß wirken.
constexpr int Aufloesung = 96;

std::string Kleinbuchstaben(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Abstand der Legende vom Rand des Bilds.
constexpr int32_t Legendenrand = 6;

struct TBildauftrag {
    const TModell& Modell;
    double Massstab;
    std::optional<TSankey> Sankey;
};

// Zeichnet weißen Grund und das Modell auf einen laufenden Maler.
void Zeichnen(QPainter& maler, const TBildauftrag& auftrag, TBildpunkt groesse) {
    TQtZeichenflaeche flaeche(maler);
    flaeche.PinselfarbeSetzen(Weiss);
    flaeche.RechteckFuellen({0, 0, groesse.X, groesse.Y});
    TAnsicht ansicht(&flaeche);
    ansicht.Massstab = auftrag.Massstab;
    ansicht.Sankey = auftrag.Sankey;
    ModellZeichnen(auftrag.Modell, ansicht);
    if (ansicht.Sankey) SankeyLegende(auftrag.Modell, ansicht, {Legendenrand, groesse.Y - Legendenrand});
}

// Größe der Zeichnung; gemessen wird mit der Schrift auf einem Bild, wie gezeichnet wird.
TBildpunkt Groesse(const TBildauftrag& auftrag) {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter maler(&probe);
    TQtZeichenflaeche flaeche(maler);
    TAnsicht ansicht(&flaeche);
    ansicht.Massstab = auftrag.Massstab;
    ansicht.Sankey = auftrag.Sankey;
    TBildpunkt g = Zeichnungsgroesse(auftrag.Modell, ansicht);
    if (ansicht.Sankey) {
        // Ein Streifen unter der Zeichnung für die Legende: sie deckt nichts zu.
        const TTextgroesse legende = SankeyLegende(auftrag.Modell, ansicht, {}, false);
        g.X = std::max(g.X, legende.Breite + 2 * Legendenrand);
        g.Y += legende.Hoehe + 2 * Legendenrand;
    }
    return TBildpunkt{std::max(g.X, 1), std::max(g.Y, 1)};
}

QByteArray Png(const TBildauftrag& auftrag, TBildpunkt g) {
    QImage bild(g.X, g.Y, QImage::Format_RGB32);
    if (bild.isNull()) {
        throw EFCreateError("Ein Bild mit " + std::to_string(g.X) + " x " + std::to_string(g.Y) +
                            " Punkten ist zu gro\xDF.");
    }
    {
        QPainter maler(&bild);
        Zeichnen(maler, auftrag, g);
    }
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    if (!bild.save(&puffer, "PNG")) throw EFCreateError("Das PNG-Bild kann nicht erzeugt werden.");
    return daten;
}

QByteArray Svg(const TBildauftrag& auftrag, TBildpunkt g) {
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&puffer);
    svg.setResolution(Aufloesung);
    svg.setSize(QSize(g.X, g.Y));
    svg.setViewBox(QRect(0, 0, g.X, g.Y));
    svg.setTitle(QtAusAnsi(DateinameOhneOrdner(auftrag.Modell.DateiName)));
    svg.setDescription(QStringLiteral("Tessomir"));
    QPainter maler;
    if (!maler.begin(&svg)) throw EFCreateError("Das SVG-Bild kann nicht erzeugt werden.");
    Zeichnen(maler, auftrag, g);
    maler.end();
    return daten;
}

QByteArray Pdf(const TBildauftrag& auftrag, TBildpunkt g) {
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&puffer);
        pdf.setResolution(Aufloesung);
        pdf.setPageSize(QPageSize(QSizeF(static_cast<double>(g.X) / Aufloesung, static_cast<double>(g.Y) / Aufloesung),
                                  QPageSize::Inch, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QtAusAnsi(DateinameOhneOrdner(auftrag.Modell.DateiName)));
        pdf.setCreator(QStringLiteral("Tessomir"));
        QPainter maler;
        if (!maler.begin(&pdf)) throw EFCreateError("Das PDF-Dokument kann nicht erzeugt werden.");
        Zeichnen(maler, auftrag, g);
        maler.end();
    }
    return daten;
}

} // namespace

std::optional<TBildformat> BildformatAusName(const std::string& dateiName) {
    const std::string name = Kleinbuchstaben(dateiName);
    const auto endet = [&](const std::string& e) {
        return name.size() > e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
    };
    if (endet(".png")) return TBildformat::Png;
    if (endet(".svg")) return TBildformat::Svg;
    if (endet(".pdf")) return TBildformat::Pdf;
    return std::nullopt;
}

std::string ModellAlsBild(const TModell& modell, double massstab, TBildformat format,
                          const std::optional<TSankey>& sankey) {
    const TBildauftrag auftrag{modell, massstab, sankey};
    const TBildpunkt g = Groesse(auftrag);
    QByteArray daten;
    switch (format) {
    case TBildformat::Png: daten = Png(auftrag, g); break;
    case TBildformat::Svg: daten = Svg(auftrag, g); break;
    case TBildformat::Pdf: daten = Pdf(auftrag, g); break;
    }
    return std::string(daten.constData(), static_cast<size_t>(daten.size()));
}

} // namespace tessomir
