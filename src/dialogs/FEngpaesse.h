#pragma once
// Engpässe: Wege und Verzweigungen nahe ihrer Kapazität nach der letzten
// Berechnung, als sortierbare Tabelle; ein Doppelklick zeigt das Objekt im Diagramm.
#include <QDialog>
#include <functional>
#include <vector>

#include "analysis/UEngpaesse.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tessomir {

class TFMEngpaesse : public QDialog {
    Q_OBJECT
public:
    TFMEngpaesse(const TModell& modell, QWidget* eltern = nullptr);

    // Wählt das Objekt im Diagramm aus und rollt es ins Bild (vom Hauptfenster gesetzt).
    std::function<void(const TFO*)> ObjektZeigen;
    // Die angezeigten Einträge in der Reihenfolge der Berechnung (nicht der Sortierung).
    const std::vector<TEngpass>& Eintraege() const { return Liste; }
    // Eintrag der Tabellenzeile, wie sie gerade sortiert ist; nullptr ausserhalb.
    const TEngpass* EintragInZeile(int zeile) const;

    QLabel* LASchwelle;
    QDoubleSpinBox* UDSchwelle;
    QLabel* LAAnzahl;
    QTableWidget* SGEngpaesse;
    QPushButton* BTHilfe;
    QPushButton* BTSchliessen;

private:
    void Fuellen();
    void ZeileDoppelklick(int zeile);

    const TModell& Modell_;
    std::vector<TEngpass> Liste;
};

} // namespace tessomir
