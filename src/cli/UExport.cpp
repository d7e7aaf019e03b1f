#include "cli/UExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <ostream>

#include "analysis/UBerechnung.h"
#include "app/UQtText.h"
#include "app/UQtZeichenflaeche.h"
#include "cli/UKonsolenPlattform.h"
#include "model/UFehler.h"
#include "model/UText.h"
#include "persistence/UModellDatei.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

// SVG und PDF bekommen dieselbe Auflösung wie der Bildschirm, damit ein
// Gerätepixel genau eine Bildeinheit ist und Schriften gleich groß wirken.
constexpr int Aufloesung = 96;

std::string Kleinbuchstaben(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::optional<int> GanzzahlAusText(const std::string& s) {
    int wert = 0;
    const auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), wert);
    if (fehler != std::errc() || ende != s.data() + s.size()) return std::nullopt;
    return wert;
}

std::optional<double> ZahlAusText(const std::string& s) {
    double wert = 0;
    const auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), wert);
    if (fehler != std::errc() || ende != s.data() + s.size()) return std::nullopt;
    return wert;
}

// Zeichnet weißen Grund und das Modell auf einen laufenden Maler.
void Zeichnen(QPainter& maler, const TModell& modell, double massstab, TBildpunkt groesse) {
    TQtZeichenflaeche flaeche(maler);
    flaeche.PinselfarbeSetzen(Weiss);
    flaeche.RechteckFuellen({0, 0, groesse.X, groesse.Y});
    TAnsicht ansicht(&flaeche);
    ansicht.Massstab = massstab;
    ModellZeichnen(modell, ansicht);
}

// Größe der Zeichnung; gemessen wird mit der Schrift auf einem Bild, wie gezeichnet wird.
TBildpunkt Groesse(const TModell& modell, double massstab) {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter maler(&probe);
    TQtZeichenflaeche flaeche(maler);
    TAnsicht ansicht(&flaeche);
    ansicht.Massstab = massstab;
    const TBildpunkt g = Zeichnungsgroesse(modell, ansicht);
    return TBildpunkt{std::max(g.X, 1), std::max(g.Y, 1)};
}

QByteArray Png(const TModell& modell, double massstab, TBildpunkt g) {
    QImage bild(g.X, g.Y, QImage::Format_RGB32);
    if (bild.isNull()) {
        throw EFCreateError("Ein Bild mit " + std::to_string(g.X) + " x " + std::to_string(g.Y) +
                            " Punkten ist zu gro\xDF.");
    }
    {
        QPainter maler(&bild);
        Zeichnen(maler, modell, massstab, g);
    }
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    if (!bild.save(&puffer, "PNG")) throw EFCreateError("Das PNG-Bild kann nicht erzeugt werden.");
    return daten;
}

QByteArray Svg(const TModell& modell, double massstab, TBildpunkt g) {
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&puffer);
    svg.setResolution(Aufloesung);
    svg.setSize(QSize(g.X, g.Y));
    svg.setViewBox(QRect(0, 0, g.X, g.Y));
    svg.setTitle(QtAusAnsi(DateinameOhneOrdner(modell.DateiName)));
    svg.setDescription(QStringLiteral("Tessomir"));
    QPainter maler;
    if (!maler.begin(&svg)) throw EFCreateError("Das SVG-Bild kann nicht erzeugt werden.");
    Zeichnen(maler, modell, massstab, g);
    maler.end();
    return daten;
}

QByteArray Pdf(const TModell& modell, double massstab, TBildpunkt g) {
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&puffer);
        pdf.setResolution(Aufloesung);
        pdf.setPageSize(QPageSize(QSizeF(static_cast<double>(g.X) / Aufloesung, static_cast<double>(g.Y) / Aufloesung),
                                  QPageSize::Inch, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QtAusAnsi(DateinameOhneOrdner(modell.DateiName)));
        pdf.setCreator(QStringLiteral("Tessomir"));
        QPainter maler;
        if (!maler.begin(&pdf)) throw EFCreateError("Das PDF-Dokument kann nicht erzeugt werden.");
        Zeichnen(maler, modell, massstab, g);
        maler.end();
    }
    return daten;
}

// Ohne Bildschirm zeichnet Qt auf der Plattform "offscreen".
std::unique_ptr<QGuiApplication> AnwendungSicherstellen() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt verlangt, dass argc und argv die Anwendung überleben.
    static int argc = 1;
    static char name[] = "tessomir-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
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

std::string ModellAlsBild(const TModell& modell, double massstab, TBildformat format) {
    const TBildpunkt g = Groesse(modell, massstab);
    QByteArray daten;
    switch (format) {
    case TBildformat::Png: daten = Png(modell, massstab, g); break;
    case TBildformat::Svg: daten = Svg(modell, massstab, g); break;
    case TBildformat::Pdf: daten = Pdf(modell, massstab, g); break;
    }
    return std::string(daten.constData(), static_cast<size_t>(daten.size()));
}

int Exportieren(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::vector<std::string> dateien;
    bool berechnen = false, summe = false;
    std::optional<int> artikel;
    double massstab = 1.0;
    for (size_t i = 1; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--berechnen") {
            berechnen = true;
        } else if (a == "--summe") {
            summe = true;
        } else if (a == "--artikel" || a == "--zoom") {
            if (i + 1 >= arg.size()) return Aufruffehler(a + " erwartet einen Wert.", fehler);
            const std::string& w = arg[++i];
            if (a == "--artikel") {
                artikel = GanzzahlAusText(w);
                if (!artikel) return Aufruffehler("--artikel erwartet eine ganze Zahl, nicht " + w + ".", fehler);
            } else {
                const std::optional<double> z = ZahlAusText(w);
                if (!z || !std::isfinite(*z) || *z <= 0) {
                    return Aufruffehler("--zoom erwartet eine positive Zahl, nicht " + w + ".", fehler);
                }
                massstab = *z;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return Aufruffehler("unbekannte Option " + a + ".", fehler);
        } else {
            dateien.push_back(a);
        }
    }
    if (dateien.size() != 2) return Aufruffehler("exportieren erwartet eine Modelldatei und eine Bilddatei.", fehler);
    const std::optional<TBildformat> format = BildformatAusName(dateien[1]);
    if (!format) {
        return Aufruffehler("unbekanntes Bildformat f\xC3\xBCr " + dateien[1] + " (m\xC3\xB6glich sind .png, .svg und .pdf).",
                            fehler);
    }

    const std::unique_ptr<QGuiApplication> anwendung = AnwendungSicherstellen();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        fehler << "tessomir-cli: Zum Zeichnen fehlt die grafische Qt-Anwendung.\n";
        return 2;
    }

    TKonsolenPlattform plattform(aus, fehler);
    TOeffnenErgebnis geoeffnet = ModellOeffnen(dateien[0]);
    if (!geoeffnet.Modell) {
        fehler << Utf8AusAnsi(geoeffnet.Meldung) << '\n' << Utf8AusAnsi(geoeffnet.Grund) << '\n';
        return 2;
    }
    TModell& modell = *geoeffnet.Modell;
    if (artikel && (*artikel < 0 || *artikel >= modell.AnzahlArtikel())) {
        fehler << "tessomir-cli: Artikel " << *artikel << " gibt es nicht; das Modell hat " << modell.AnzahlArtikel()
               << " Artikel (0 bis " << modell.AnzahlArtikel() - 1 << ").\n";
        return 2;
    }
    modell.SummeAllerArtikel = summe;
    if (artikel) modell.ArtikelSetzen(*artikel);

    bool rechnungOk = true;
    if (berechnen) {
        rechnungOk = ModellNeuberechnen(modell) == TBerechnungsErgebnis::BerechnungOK;
        aus << "Max. Strom berechnet : " << Utf8AusAnsi(modell.WertText(modell.MaxStromBerechnet)) << '\n';
    }

    std::string bild;
    try {
        bild = ModellAlsBild(modell, massstab, *format);
    } catch (const std::exception& e) {
        fehler << Utf8AusAnsi(GrundVon(e)) << '\n';
        return 2;
    }
    const TSpeichernErgebnis gesichert = DateiSichern(dateien[1], bild);
    if (!gesichert.Ok) {
        fehler << Utf8AusAnsi(gesichert.Meldung) << '\n' << Utf8AusAnsi(gesichert.Grund) << '\n';
        return 2;
    }
    return rechnungOk ? 0 : 1;
}

} // namespace tessomir
