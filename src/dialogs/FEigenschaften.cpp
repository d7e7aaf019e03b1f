#include "dialogs/FEigenschaften.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "dialogs/UEingabefarbe.h"
#include "help/UHilfe.h"
#include "editing/USchritte.h"
#include "qt/UBefehl.h"
#include "model/UModell.h"
#include "base/UPlattform.h"
#include "qt/UQtText.h"

namespace tessomir {
namespace {

// Zeichen des Namens, die eine Modelldatei (Windows-1252) nicht halten kann.
QString NichtSpeicherbar(const QString& name) {
    QString fremd;
    for (const QChar c : name) {
        const QString zeichen(c);
        if (AnsiAusQt(zeichen) == "?" && c != u'?' && !fremd.contains(c)) fremd += c;
    }
    return fremd;
}

} // namespace

TFMEigenschaften::TFMEigenschaften(QWidget* eltern) : QDialog(eltern) {
    setObjectName("FMEigenschaften");
    setAccessibleDescription("Eigenschaften");
    setWindowTitle("Eigenschaften");

    PAEigenschaften = new QWidget(this);
    PAEigenschaften->setObjectName("PAEigenschaften");
    LABez = new QLabel("Name", PAEigenschaften);
    LABez->setObjectName("LABez");
    EDFOName = new QLineEdit(PAEigenschaften);
    EDFOName->setObjectName("EDFOName");
    EDFOName->setAccessibleName("Name");
    LABez->setBuddy(EDFOName);
    LAKapazitaet = new QLabel("Kapazit\u00e4t", PAEigenschaften);
    LAKapazitaet->setObjectName("LAKapazitaet");
    EDKapazitaet = new QLineEdit(PAEigenschaften);
    EDKapazitaet->setObjectName("EDKapazitaet");
    EDKapazitaet->setAccessibleName("Kapazit\u00e4t");
    EDKapazitaet->setFixedWidth(107);
    LAKapazitaet->setBuddy(EDKapazitaet);
    EingabefarbeSetzen(EDFOName);
    EingabefarbeSetzen(EDKapazitaet);

    auto* raster = new QGridLayout(PAEigenschaften);
    raster->addWidget(LABez, 0, 0);
    raster->addWidget(EDFOName, 0, 1, 1, 2);
    raster->addWidget(LAKapazitaet, 1, 0);
    raster->addWidget(EDKapazitaet, 1, 1);
    raster->setColumnStretch(2, 1);
    raster->setRowStretch(2, 1);

    PASchalter = new QWidget(this);
    PASchalter->setObjectName("PASchalter");
    PASchalter->setFixedHeight(36);
    BTHilfe = new QPushButton("Hilfe    F1", PASchalter);
    BTHilfe->setObjectName("BTHilfe");
    BTHilfe->setAutoDefault(false);
    BTOK = new QPushButton("OK", PASchalter);
    BTOK->setObjectName("BTOK");
    BTOK->setDefault(true);
    BTAbbrechen = new QPushButton("Abbrechen", PASchalter);
    BTAbbrechen->setObjectName("BTAbbrechen");
    BTAbbrechen->setAutoDefault(false);
    auto* knoepfe = new QHBoxLayout(PASchalter);
    knoepfe->addWidget(BTHilfe);
    knoepfe->addStretch(1);
    knoepfe->addWidget(BTOK);
    knoepfe->addWidget(BTAbbrechen);
    connect(BTOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BTAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    // Die Hilfe zu Name und Kapazität, über den Knopf wie über F1.
    connect(BTHilfe, &QPushButton::clicked, this, [] { HilfeZeigen("eigenschaften.htm"); });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, BTHilfe, &QPushButton::click);

    auto* senkrecht = new QVBoxLayout(this);
    senkrecht->setContentsMargins(0, 0, 0, 0);
    senkrecht->addWidget(PAEigenschaften, 1);
    senkrecht->addWidget(PASchalter);
    setFixedSize(333, 120);
}

char TFMEigenschaften::Trenner() const { return Objekt != nullptr ? Objekt->Modell->Anzeigetrenner : '.'; }

void TFMEigenschaften::ObjektSetzen(TFO* objekt) {
    Objekt = objekt;
    EigenschaftenLaden();
}

void TFMEigenschaften::EigenschaftenLaden() {
    if (Objekt != nullptr) {
        EDFOName->setText(QtAusAnsi(Objekt->Name));
        const bool kapazitaet = HatKapazitaet(*Objekt);
        if (kapazitaet) EDKapazitaet->setText(QtAusAnsi(Objekt->Modell->WertText(Objekt->Kapazitaet)));
        LAKapazitaet->setVisible(kapazitaet);
        EDKapazitaet->setVisible(kapazitaet);
        GeaendertFlag = false;
    }
    EDFOName->setFocus();
    EDFOName->selectAll();
}

bool TFMEigenschaften::EigenschaftenPruefen() const {
    const QString name = EDFOName->text();
    if (!NichtSpeicherbar(name).isEmpty()) {
        Plattform().Meldungen->Fehler("Der Name enth\xE4lt Zeichen, die eine Modelldatei nicht speichern kann.\r\n"
                                      "M\xF6glich sind Buchstaben, Ziffern und Zeichen aus Windows-1252.");
        return false;
    }
    if (const std::string fehler = NamensFehler(AnsiAusQt(name)); !fehler.empty()) {
        Plattform().Meldungen->Fehler(fehler);
        return false;
    }
    if (Objekt != nullptr && HatKapazitaet(*Objekt)) {
        return PruefeEingabe(AnsiAusQt(EDKapazitaet->text()), "Kapazit\xE4t", 0.0, 1000000.0, Trenner());
    }
    return true;
}

void TFMEigenschaften::EigenschaftenUebernehmen() {
    if (Objekt == nullptr) return;
    const double kapazitaet =
        HatKapazitaet(*Objekt) ? FloatAusText(AnsiAusQt(EDKapazitaet->text()), Trenner()) : Objekt->Kapazitaet;
    GeaendertFlag = EigenschaftenAendern(*Objekt, AnsiAusQt(EDFOName->text()), kapazitaet, Verlauf) || GeaendertFlag;
}

void TFMEigenschaften::done(int ergebnis) {
    if (ergebnis == QDialog::Accepted) {
        if (!EigenschaftenPruefen()) return;
        EigenschaftenUebernehmen();
    }
    QDialog::done(ergebnis);
}

} // namespace tessomir
