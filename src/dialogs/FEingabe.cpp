#include "dialogs/FEingabe.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/UEingabefarbe.h"
#include "qt/UQtText.h"

namespace tessomir {
namespace {

// Markiert beim Fokus den ganzen Text oder setzt die Einfügemarke ans Ende.
class TEingabefeld final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    bool AllesMarkieren = false;

protected:
    void focusInEvent(QFocusEvent* ereignis) override {
        QLineEdit::focusInEvent(ereignis);
        if (AllesMarkieren) {
            selectAll();
        } else {
            deselect();
            end(false);
        }
    }
};

constexpr int Rand = 10;
constexpr int LabelOben = 16;
constexpr int FeldHoehe = 21;
constexpr int FeldBreite = 238;
constexpr int EntwurfBreite = 345;
constexpr int EntwurfHoehe = 63;
constexpr int KnopfBreite = 75;
constexpr int KnopfHoehe = 25;
// Frage und Feld enden dort, wo die Knöpfe beginnen.
constexpr int RechterRand = EntwurfBreite - Rand - FeldBreite;

} // namespace

TFMEingabe::TFMEingabe(QWidget* eltern) : QDialog(eltern) {
    setObjectName("FMEingabe");
    setAccessibleDescription("Eingabe");
    setSizeGripEnabled(true);
    LA = new QLabel(this);
    LA->setTextFormat(Qt::PlainText);
    LA->setObjectName("LA");
    LA->setWordWrap(true);
    LA->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* feld = new TEingabefeld(this);
    ED = feld;
    ED->setObjectName("ED");
    ED->setAccessibleName("Eingabe");
    EingabefarbeSetzen(ED);
    LA->setBuddy(ED);
    BTOK = new QPushButton("OK", this);
    BTOK->setObjectName("BTOK");
    BTOK->setDefault(true);
    BTAbbrechen = new QPushButton("Abbrechen", this);
    BTAbbrechen->setObjectName("BTAbbrechen");
    connect(BTOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BTAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    resize(EntwurfBreite, EntwurfHoehe);
}

void TFMEingabe::Anordnen() {
    const int w = width();
    const int h = height();
    const int textBreite = std::max(40, w - Rand - RechterRand);
    LA->setGeometry(Rand, LabelOben, textBreite, LA->height());
    ED->setGeometry(Rand, h - 7 - FeldHoehe, textBreite, FeldHoehe);
    BTOK->setGeometry(w - KnopfBreite - 8, 4, KnopfBreite, KnopfHoehe);
    BTAbbrechen->setGeometry(w - KnopfBreite - 8, 4 + KnopfHoehe + 4, KnopfBreite, KnopfHoehe);
}

void TFMEingabe::resizeEvent(QResizeEvent* ereignis) {
    QDialog::resizeEvent(ereignis);
    Anordnen();
}

void TFMEingabe::BreiteSetzen(int32_t breite) {
    resize(std::max(breite, 2 * KnopfBreite), height());
    Anordnen();
    const QRect mass = LA->fontMetrics().boundingRect(QRect(0, 0, LA->width(), 100000),
                                                      Qt::TextWordWrap | Qt::AlignLeft, LA->text());
    LA->resize(LA->width(), mass.height());
    // Die Knöpfe brauchen ihren Platz, auch wenn die Frage kurz ist.
    const int hoehe = std::max(LabelOben + mass.height() + 2 * FeldHoehe, 2 * KnopfHoehe + 12);
    resize(width(), hoehe);
    Anordnen();
}

void TFMEingabe::Einrichten(const TEingabeInfo& info) {
    setWindowTitle(QtAusAnsi(info.Ueberschrift));
    LA->setText(QtAusAnsi(info.Frage).replace("\r\n", "\n"));
    BreiteSetzen(info.Breite);
    ED->setText(QtAusAnsi(info.Eingabe));
    static_cast<TEingabefeld*>(ED)->AllesMarkieren = info.AllesMarkieren;
    if (info.Passwortzeichen != 0) ED->setEchoMode(QLineEdit::Password);
    if (!info.AllesMarkieren) ED->end(false);
    ED->setFocus();
}

bool EingabeAusfuehren(TEingabeInfo& info, QWidget* eltern) {
    TFMEingabe dialog(eltern);
    dialog.Einrichten(info);
    if (dialog.exec() != QDialog::Accepted) return false;
    info.Eingabe = AnsiAusQt(dialog.ED->text());
    return true;
}

} // namespace tessomir
