#include "app/UTornado.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "view/UVergleichsanzeige.h"

namespace tessomir {
namespace {

QColor Farbe(TFarbe f) { return QColor(f.R, f.G, f.B); }

} // namespace

TTornado::TTornado(double basis, std::vector<TTornadoBalken> balken, QWidget* eltern)
    : QWidget(eltern), Basis(basis), Balken(std::move(balken)) {
    setObjectName(QStringLiteral("PATornado"));
    setAccessibleName(QStringLiteral("Tornado-Bild"));
    setAccessibleDescription(QStringLiteral("Zielwert bei gesenkter (orange) und gehobener (blau) Eingabe"));
    // Jeder Balken eine lesbare Zeile, dazu die Achse: so hoch wird das Bild mindestens.
    setMinimumHeight((fontMetrics().height() + 4) * static_cast<int>(Balken.size() + 1) + 4);
}

QSize TTornado::sizeHint() const {
    return {400, (fontMetrics().height() + 4) * static_cast<int>(Balken.size() + 2)};
}

void TTornado::paintEvent(QPaintEvent*) {
    QPainter maler(this);
    maler.fillRect(rect(), palette().color(QPalette::Base));
    if (Balken.empty()) return;
    const QFontMetrics fm = fontMetrics();
    const int zeile = std::max(8, std::min(fm.height() + 4, (height() - fm.height() - 4) / static_cast<int>(Balken.size())));
    int namen = 0;
    for (const TTornadoBalken& b : Balken) namen = std::max(namen, fm.horizontalAdvance(b.Name));
    namen = std::min(namen + 8, width() / 2);
    double tief = Basis, hoch = Basis;
    for (const TTornadoBalken& b : Balken) {
        tief = std::min({tief, b.Minus, b.Plus});
        hoch = std::max({hoch, b.Minus, b.Plus});
    }
    const double spanne = hoch > tief ? hoch - tief : 1.0;
    const int links = namen + 4, breite = std::max(10, width() - links - 8);
    const auto x = [&](double w) { return links + static_cast<int>(std::lround((w - tief) / spanne * breite)); };
    const int basisX = x(Basis);
    for (size_t i = 0; i < Balken.size(); ++i) {
        const TTornadoBalken& b = Balken[i];
        const int y = 2 + static_cast<int>(i) * zeile;
        maler.setPen(palette().color(QPalette::Text));
        maler.drawText(QRect(0, y, namen, zeile), Qt::AlignRight | Qt::AlignVCenter,
                       fm.elidedText(b.Name, Qt::ElideRight, namen - 4));
        // Von der Mitte zum Wert bei gesenkter und zu dem bei gehobener Eingabe.
        for (const auto& [wert, farbe] : {std::pair{b.Minus, Wenigerfarbe}, std::pair{b.Plus, Mehrfarbe}}) {
            const int a = std::min(basisX, x(wert)), e = std::max(basisX, x(wert));
            maler.fillRect(QRect(a, y + 2, std::max(1, e - a), zeile - 4), Farbe(farbe));
        }
    }
    maler.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
    const int unten = 2 + static_cast<int>(Balken.size()) * zeile;
    maler.drawLine(basisX, 0, basisX, unten);
    maler.setPen(palette().color(QPalette::Text));
    maler.drawText(QRect(links, unten, breite, fm.height() + 2), Qt::AlignLeft | Qt::AlignVCenter,
                   QLocale().toString(tief, 'g', 6));
    maler.drawText(QRect(links, unten, breite, fm.height() + 2), Qt::AlignRight | Qt::AlignVCenter,
                   QLocale().toString(hoch, 'g', 6));
}

} // namespace tessomir
