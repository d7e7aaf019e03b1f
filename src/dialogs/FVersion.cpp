#include "dialogs/FVersion.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>

#include "qt/UQtText.h"

namespace tessomir {
namespace {

// Rechteck mit Stift und Füllung, wie eine Form im Entwurf.
class TFigur final : public QWidget {
public:
    TFigur(QWidget* eltern, QColor stift, int breite, QColor fuellung)
        : QWidget(eltern), Stift(stift), Breite(breite), Fuellung(fuellung) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(Stift, Breite));
        p.setBrush(Fuellung.isValid() ? QBrush(Fuellung) : QBrush(Qt::NoBrush));
        // Der Stift liegt ganz innerhalb der Form.
        const int rand = Breite / 2;
        p.drawRect(rect().adjusted(rand, rand, -rand - (Breite % 2 == 0 ? 1 : 0), -rand - (Breite % 2 == 0 ? 1 : 0)));
    }

private:
    QColor Stift;
    int Breite;
    QColor Fuellung;
};

QLabel* Beschriftung(QWidget* eltern, const char* name, const QString& text, int x, int y) {
    auto* la = new QLabel(text, eltern);
    la->setTextFormat(Qt::PlainText);
    la->setObjectName(QLatin1String(name));
    la->move(x, y);
    return la;
}

} // namespace

TFMVersion::TFMVersion(QWidget* eltern, const std::string& programm) : QDialog(eltern) {
    setObjectName("FMVersion");
    setAccessibleDescription("Information");
    setWindowTitle("Information");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(340, 211);

    PAInfo = new QWidget(this);
    PAInfo->setObjectName("PAInfo");
    PAInfo->setAccessibleName("Information");
    PAInfo->setGeometry(0, 0, 340, 211);
    PAInfo->setAutoFillBackground(true);
    QPalette weiss = PAInfo->palette();
    weiss.setColor(QPalette::Window, Qt::white);
    PAInfo->setPalette(weiss);

    LAPrgName = Beschriftung(PAInfo, "LAPrgName", "Tessomir", 7, 2);
    QFont titel("MS Sans Serif", 10);
    titel.setBold(true);
    LAPrgName->setFont(titel);
    LAPrgName->setAccessibleDescription("Programmname");
    LAVersion = Beschriftung(PAInfo, "LAVersion", "Version", 7, 19);
    LAVersionsAnzeige = Beschriftung(PAInfo, "LAVersionsAnzeige", QtAusAnsi(VersionsAnzeige(programm)), 63, 19);
    LAVersionsAnzeige->setAccessibleDescription("Versionsnummer");
    LAVersion->setBuddy(LAVersionsAnzeige);
    LAHersteller = Beschriftung(PAInfo, "LAHersteller", "Hersteller und Kontakt", 9, 49);

    SHRahmen = new TFigur(PAInfo, QColor(184, 211, 245), 2, QColor());
    SHRahmen->setObjectName("SHRahmen");
    SHRahmen->setGeometry(7, 73, 324, 98);
    Shape1 = new TFigur(PAInfo, Qt::red, 1, Qt::red);
    Shape1->setObjectName("Shape1");
    Shape1->setGeometry(24, 129, 25, 25);

    MEHersteller = new QTextEdit(PAInfo);
    MEHersteller->setObjectName("MEHersteller");
    MEHersteller->setAccessibleName("Hersteller");
    MEHersteller->setGeometry(60, 85, 259, 74);
    MEHersteller->setReadOnly(true);
    MEHersteller->setFrameShape(QFrame::NoFrame);
    MEHersteller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MEHersteller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MEHersteller->viewport()->setAutoFillBackground(false);
    QFont hersteller("Arial", 11);
    hersteller.setBold(true);
    MEHersteller->setFont(hersteller);
    MEHersteller->setPlainText(QString::fromUtf8("Belcorra Software\n"
                                                 "Editor und Rechner f\u00fcr\n"
                                                 "Materialflussnetze\n"
                                                 "tessomir@belcorra.de"));
    MEHersteller->selectAll();
    MEHersteller->setAlignment(Qt::AlignRight);
    MEHersteller->moveCursor(QTextCursor::Start);
    // Alle vier Zeilen sichtbar: ohne Rand um den Text, und wo die Schrift des
    // Systems höher setzt als gedacht, in etwas kleinerer Schrift.
    QTextDocument* text = MEHersteller->document();
    text->setDocumentMargin(0);
    text->setTextWidth(MEHersteller->width());
    while (text->size().height() > MEHersteller->height() && hersteller.pointSizeF() > 6.0) {
        hersteller.setPointSizeF(hersteller.pointSizeF() - 0.5);
        MEHersteller->setFont(hersteller);
    }

    BTOK = new QPushButton("OK", PAInfo);
    BTOK->setObjectName("BTOK");
    BTOK->setAccessibleName("OK");
    BTOK->setGeometry(255, 180, 75, 25);
    BTOK->setDefault(true);
    connect(BTOK, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace tessomir
