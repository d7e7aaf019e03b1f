#pragma once
// Der Massstab der Sankey-Ansicht: die Breite des grössten Stroms oder ein
// fester Massstab (1 Punkt = so viele Mengeneinheiten), damit zwei Modelle
// oder zwei Artikel vergleichbar gezeichnet werden.
#include <QDialog>

#include "view/UAnsicht.h"

class QDoubleSpinBox;
class QRadioButton;

namespace tessomir {

class TFMSankeyMassstab : public QDialog {
    Q_OBJECT
public:
    explicit TFMSankeyMassstab(QWidget* eltern = nullptr);
    void Einrichten(const TSankey& s);
    // Die Werte des Dialogs in 's' (Breite bleibt, auch wenn fest gewählt ist).
    void Uebernehmen(TSankey& s) const;

    QRadioButton* RBBreite;
    QDoubleSpinBox* SEBreite;
    QRadioButton* RBFest;
    QDoubleSpinBox* SEMenge;
};

// Zeigt den Dialog; bei OK stehen die Werte in 's' und das Ergebnis ist true.
bool SankeyMassstabAusfuehren(TSankey& s, QWidget* eltern);

} // namespace tessomir
