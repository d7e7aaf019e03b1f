#include "app/USankeyLegende.h"

#include <QEvent>
#include <QImage>
#include <QPainter>

#include "qt/UQtZeichenflaeche.h"
#include "view/USankey.h"

namespace tessomir {
namespace {

constexpr int Abstand = 8;

// Leiht der Ansicht für die Dauer eines Malvorgangs eine Zeichenfläche.
class TGeliehen {
public:
    TGeliehen(TAnsicht& ansicht, IZeichenflaeche& flaeche) : Ansicht(ansicht), Vorher(ansicht.Zeichenflaeche) {
        Ansicht.Zeichenflaeche = &flaeche;
    }
    ~TGeliehen() { Ansicht.Zeichenflaeche = Vorher; }
    TGeliehen(const TGeliehen&) = delete;
    TGeliehen& operator=(const TGeliehen&) = delete;

private:
    TAnsicht& Ansicht;
    IZeichenflaeche* Vorher;
};

} // namespace

TSankeyLegende::TSankeyLegende(TAnsicht& ansicht, QWidget* eltern) : QWidget(eltern), Ansicht(ansicht) {
    setObjectName(QStringLiteral("PASankeyLegende"));
    setAccessibleName(QStringLiteral("Legende"));
    setAccessibleDescription(QStringLiteral("Artikelfarben und Massstab der Sankey-Ansicht"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Malt ihr ganzes Rechteck: das Diagramm darunter muss nicht neu gemalt
    // werden (und meldet dann nicht wieder, dass es gemalt hat).
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
    eltern->installEventFilter(this);
}

void TSankeyLegende::Aktualisieren(const TModell* modell) {
    Modell = modell;
    if (Modell == nullptr || !Ansicht.Sankey) {
        hide();
        return;
    }
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter maler(&probe);
    TQtZeichenflaeche flaeche(maler);
    const TGeliehen geliehen(Ansicht, flaeche);
    const TTextgroesse g = SankeyLegende(*Modell, Ansicht, {}, false);
    const QSize neu(g.Breite + 1, g.Hoehe + 1);
    if (neu != Groesse || isHidden()) {
        Groesse = neu;
        Platzieren();
        show();
        raise();
    }
    // Artikel und Massstab können wechseln, ohne dass sich die Grösse ändert;
    // die Legende deckt ihr Rechteck ganz und malt nichts darunter neu.
    update();
}

void TSankeyLegende::Platzieren() {
    const QWidget* eltern = parentWidget();
    setGeometry(Abstand, eltern->height() - Groesse.height() - Abstand, Groesse.width(), Groesse.height());
}

bool TSankeyLegende::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == parentWidget() && ereignis->type() == QEvent::Resize && Groesse.isValid()) Platzieren();
    return QWidget::eventFilter(objekt, ereignis);
}

void TSankeyLegende::paintEvent(QPaintEvent*) {
    QPainter maler(this);
    maler.fillRect(rect(), Qt::white);
    if (Modell == nullptr || !Ansicht.Sankey) return;
    TQtZeichenflaeche flaeche(maler);
    const TGeliehen geliehen(Ansicht, flaeche);
    SankeyLegende(*Modell, Ansicht, {0, Groesse.height() - 1});
}

} // namespace tessomir
