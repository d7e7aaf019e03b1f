#include "dialogs/FSankeyMassstab.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessomir {
namespace {

// Eine Zahl ohne angehängte Nullen ("0,5" statt "0,500000"), im Zahlformat des Systems.
class TZahlFeld final : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;
    QString textFromValue(double wert) const override { return locale().toString(wert, 'g', 10); }
};

} // namespace

TFMSankeyMassstab::TFMSankeyMassstab(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("FMSankeyMassstab"));
    setWindowTitle(QStringLiteral("Sankey-Massstab"));
    setAccessibleName(windowTitle());
    auto* raster = new QGridLayout;
    RBBreite = new QRadioButton(QStringLiteral("Grösster Strom so breit:"), this);
    RBBreite->setObjectName(QStringLiteral("RBBreite"));
    SEBreite = new QDoubleSpinBox(this);
    SEBreite->setObjectName(QStringLiteral("SEBreite"));
    SEBreite->setRange(1.0, 1000.0);
    SEBreite->setDecimals(0);
    SEBreite->setSuffix(QStringLiteral(" Punkte bei Zoom 1"));
    SEBreite->setAccessibleName(RBBreite->text());
    RBFest = new QRadioButton(QStringLiteral("Fester Massstab: 1 Punkt ="), this);
    RBFest->setObjectName(QStringLiteral("RBFest"));
    SEMenge = new TZahlFeld(this);
    SEMenge->setObjectName(QStringLiteral("SEMenge"));
    SEMenge->setRange(1e-6, 1e12);
    SEMenge->setDecimals(6);
    SEMenge->setSuffix(QStringLiteral(" Mengeneinheiten"));
    SEMenge->setAccessibleName(RBFest->text());
    raster->addWidget(RBBreite, 0, 0);
    raster->addWidget(SEBreite, 0, 1);
    raster->addWidget(RBFest, 1, 0);
    raster->addWidget(SEMenge, 1, 1);
    auto* hinweis = new QLabel(QStringLiteral("Ein fester Massstab zeichnet zwei Modelle oder Artikel vergleichbar."), this);
    hinweis->setWordWrap(true);
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* spalte = new QVBoxLayout(this);
    spalte->addLayout(raster);
    spalte->addWidget(hinweis);
    spalte->addWidget(knoepfe);
    // Nur das Feld der gewählten Art ist bearbeitbar.
    connect(RBBreite, &QRadioButton::toggled, SEBreite, &QWidget::setEnabled);
    connect(RBFest, &QRadioButton::toggled, SEMenge, &QWidget::setEnabled);
}

void TFMSankeyMassstab::Einrichten(const TSankey& s) {
    SEBreite->setValue(s.Breite);
    const bool fest = s.MengeJePunkt > 0.0;
    // Ohne festen Massstab der, der gerade gilt: ein Ausgangspunkt zum Festhalten.
    SEMenge->setValue(fest ? s.MengeJePunkt : (s.Geltend > 0.0 ? s.Geltend : 1.0));
    RBFest->setChecked(fest);
    RBBreite->setChecked(!fest);
    SEBreite->setEnabled(!fest);
    SEMenge->setEnabled(fest);
}

void TFMSankeyMassstab::Uebernehmen(TSankey& s) const {
    s.Breite = SEBreite->value();
    s.MengeJePunkt = RBFest->isChecked() ? SEMenge->value() : 0.0;
}

bool SankeyMassstabAusfuehren(TSankey& s, QWidget* eltern) {
    TFMSankeyMassstab dialog(eltern);
    dialog.Einrichten(s);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.Uebernehmen(s);
    return true;
}

} // namespace tessomir
