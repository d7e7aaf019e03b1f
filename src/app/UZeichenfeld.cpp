#include "app/UZeichenfeld.h"

#include <QPaintEvent>
#include <algorithm>
#include <cmath>

#include "base/UFehler.h"
#include "qt/UQtText.h"
#include "view/UAnsicht.h"
#include "editing/UEditor.h"

namespace tessomir {
namespace {

// Setzt die Zeichenfläche der Ansicht für die Dauer eines Malvorgangs.
class TFlaecheLeihen {
public:
    TFlaecheLeihen(TAnsicht& ansicht, IZeichenflaeche& flaeche) : Ansicht(ansicht), Vorher(ansicht.Zeichenflaeche) {
        Ansicht.Zeichenflaeche = &flaeche;
    }
    ~TFlaecheLeihen() { Ansicht.Zeichenflaeche = Vorher; }
    TFlaecheLeihen(const TFlaecheLeihen&) = delete;
    TFlaecheLeihen& operator=(const TFlaecheLeihen&) = delete;

private:
    TAnsicht& Ansicht;
    IZeichenflaeche* Vorher;
};

// Beschränkt das Zeichnen der Ansicht für die Dauer eines Malvorgangs auf das Bild.
class TSichtLeihen {
public:
    TSichtLeihen(TAnsicht& ansicht, const QRect& bild, const TSchrift& schrift) : Ansicht(ansicht) {
        Ansicht.SichtbereichSetzen(TRechteck{bild.left(), bild.top(), bild.left() + bild.width(),
                                             bild.top() + bild.height()},
                                   schrift);
    }
    ~TSichtLeihen() { Ansicht.SichtbereichAufheben(); }
    TSichtLeihen(const TSichtLeihen&) = delete;
    TSichtLeihen& operator=(const TSichtLeihen&) = delete;

private:
    TAnsicht& Ansicht;
};

int Begrenzt(int64_t wert, int mindestens) {
    return static_cast<int>(std::clamp<int64_t>(wert, mindestens, QWIDGETSIZE_MAX));
}

} // namespace

TZeichenfeld::TZeichenfeld(TAnsicht& ansicht, QWidget* eltern) : QWidget(eltern), Ansicht(ansicht) {
    Ansicht.Zeichenflaeche = &Messflaeche;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(MindestBreite, MindestHoehe);
    MarkierungsTakt = new QTimer(this);
    MarkierungsTakt->setSingleShot(true);
    connect(MarkierungsTakt, &QTimer::timeout, this, [this] {
        const QRect alt = Markierung.adjusted(-3, -3, 3, 3);
        Markierung = QRect();
        update(alt);
    });
}

void TZeichenfeld::Hervorheben(const QRect& bereich, int dauerMs) {
    update(Markierung.adjusted(-3, -3, 3, 3));
    Markierung = bereich;
    update(Markierung.adjusted(-3, -3, 3, 3));
    MarkierungsTakt->start(dauerMs);
}

// Das Fenster gibt die Ansicht vor seinen Kindern frei: hier nicht mehr anfassen.
TZeichenfeld::~TZeichenfeld() = default;

void TZeichenfeld::Neuzeichnen() {
    GroesseAnpassen();
    BildGueltig = false;
    update();
}

void TZeichenfeld::GroesseAnpassen() {
    TBildpunkt groesse{MindestBreite, MindestHoehe};
    if (Modell != nullptr) {
        try {
            groesse = Zeichnungsgroesse(*Modell, Ansicht);
        } catch (const EFehler&) {
            // Die Zeichnung sprengt den Koordinatenbereich; das Malen meldet es.
            groesse = TBildpunkt{width(), height()};
        }
    }
    // Ein halbes Fenster Rand rechts und unten: auch ein Objekt am Rand der
    // Zeichnung lässt sich in die Mitte rollen (Suche, Übersicht).
    const QWidget* fenster = parentWidget();
    const int randX = fenster != nullptr ? fenster->width() / 2 : 0;
    const int randY = fenster != nullptr ? fenster->height() / 2 : 0;
    setFixedSize(Begrenzt(static_cast<int64_t>(groesse.X) + randX, MindestBreite),
                 Begrenzt(static_cast<int64_t>(groesse.Y) + randY, MindestHoehe));
}

void TZeichenfeld::paintEvent(QPaintEvent* ereignis) {
    const QRect ungueltig = ereignis->rect();
    if (!BildGueltig || !Bildbereich().contains(ungueltig) || Bildpuffer.devicePixelRatio() != devicePixelRatioF()) {
        const QRect sichtbar = visibleRegion().boundingRect();
        BildErneuern(sichtbar.isEmpty() ? ungueltig : sichtbar.united(ungueltig));
    }
    QPainter maler(this);
    if (Bildpuffer.devicePixelRatio() == 1.0) {
        maler.drawImage(ungueltig.topLeft(), Bildpuffer, ungueltig.translated(-BildUrsprung));
    } else {
        // Pixel für Pixel übertragen: ein Ausschnitt in Bildpixeln wäre bei
        // gebrochenem Verhältnis nicht ganzzahlig und würde gestreckt.
        maler.setClipRect(ungueltig);
        maler.drawImage(BildUrsprung, Bildpuffer);
    }
    if (!Markierung.isNull()) {
        maler.setClipRect(ungueltig);
        maler.setRenderHint(QPainter::Antialiasing);
        maler.setPen(QPen(QColor(255, 140, 0), 3));
        maler.setBrush(Qt::NoBrush);
        maler.drawRoundedRect(Markierung, 6, 6);
    }
    maler.end();
    emit Gemalt();
}

void TZeichenfeld::BildErneuern(const QRect& bereich) {
    // Bei hochauflösenden Schirmen so viele Pixel wie das Gerät hat: Texte und
    // Linien bleiben scharf, statt aus dem Bild der logischen Größe gestreckt zu werden.
    const qreal verhaeltnis = devicePixelRatioF();
    const QSize pixel(static_cast<int>(std::ceil(bereich.width() * verhaeltnis)),
                      static_cast<int>(std::ceil(bereich.height() * verhaeltnis)));
    if (Bildpuffer.size() != pixel || Bildpuffer.devicePixelRatio() != verhaeltnis) {
        Bildpuffer = QImage(pixel, QImage::Format_RGB32);
        Bildpuffer.setDevicePixelRatio(verhaeltnis);
    }
    BildUrsprung = bereich.topLeft();
    BildGroesse = bereich.size();
    Bildpuffer.fill(palette().color(QPalette::Base));
    BildGueltig = true;
    if (Modell == nullptr || Ansicht.DruckModus) return;
    QPainter maler(&Bildpuffer);
    maler.translate(-BildUrsprung);
    ModellAufBild(maler);
    if (Gummifigur) {
        TQtZeichenflaeche flaeche(maler, &Texte);
        const TFlaecheLeihen geliehen(Ansicht, flaeche);
        Gummifigur();
    }
}

QRect TZeichenfeld::Sichtbar() const {
    const QWidget* fenster = parentWidget();
    if (fenster == nullptr) return rect();
    return QRect(-pos(), fenster->size()).intersected(rect());
}

void TZeichenfeld::ModellUeberzeichnen() {
    if (!BildGueltig || Modell == nullptr || Ansicht.DruckModus) return;
    QPainter maler(&Bildpuffer);
    maler.translate(-BildUrsprung);
    ModellAufBild(maler);
    update(Bildbereich());
}

void TZeichenfeld::GummiZeichnen(const std::function<void()>& zeichnen) {
    if (!BildGueltig) {
        zeichnen();
        return;
    }
    QPainter maler(&Bildpuffer);
    maler.translate(-BildUrsprung);
    TQtZeichenflaeche flaeche(maler, &Texte);
    TMessendeFlaeche messung(flaeche);
    const TFlaecheLeihen geliehen(Ansicht, messung);
    zeichnen();
    if (!messung.Beruehrt()) return;
    // Auf das Bild begrenzt, bevor der Rand von einem Pixel für Stiftbreite
    // und Rundung dazukommt: die Figur kann weit ausserhalb liegen.
    const QRect bild = Bildbereich();
    const TRechteck r = messung.Bereich();
    const QPoint oben(std::clamp<int32_t>(r.Links, bild.left(), bild.right()),
                      std::clamp<int32_t>(r.Oben, bild.top(), bild.bottom()));
    const QPoint unten(std::clamp<int32_t>(r.Rechts, bild.left(), bild.right()),
                       std::clamp<int32_t>(r.Unten, bild.top(), bild.bottom()));
    update(QRect(oben, unten).adjusted(-1, -1, 1, 1));
}

void TZeichenfeld::ModellAufBild(QPainter& maler) {
    TQtZeichenflaeche flaeche(maler, &Texte);
    const TFlaecheLeihen geliehen(Ansicht, flaeche);
    try {
        // Nur was das Bild berührt; der Rest fiele ohnehin dem Beschneiden zu.
        const TSichtLeihen sicht(Ansicht, Bildbereich(), Modell->Schrift);
        ModellZeichnen(*Modell, Ansicht);
        FehlerGemeldet = false;
    } catch (const std::exception& e) {
        // Kein Meldungsfenster beim Malen (meist ein Bereichsfehler der
        // Abbildung bei starker Vergrößerung): das Malen endet, gemeldet wird einmal.
        if (!FehlerGemeldet) {
            FehlerGemeldet = true;
            emit NichtDarstellbar(QtAusAnsi(e.what()));
        }
    }
}

void TZeichenfeld::AufBildZeichnen(const std::function<void(IZeichenflaeche&)>& zeichnen, const QRect& geaendert) {
    if (!BildGueltig) return; // das nächste Malen zeichnet ohnehin alles neu
    QPainter maler(&Bildpuffer);
    maler.translate(-BildUrsprung);
    TQtZeichenflaeche flaeche(maler, &Texte);
    const TFlaecheLeihen geliehen(Ansicht, flaeche);
    zeichnen(flaeche);
    update(geaendert);
}

} // namespace tessomir
