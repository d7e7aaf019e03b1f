#pragma once
// Eigenschaften eines Knotens oder Weges: Name, bei Verzweigung und Weg auch
// die Kapazität. Ein Fenster für die ganze Laufzeit, je Aufruf neu gefüllt.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessomir {

class TFO;
class TVerlauf;

class TFMEigenschaften : public QDialog {
    Q_OBJECT
public:
    explicit TFMEigenschaften(QWidget* eltern = nullptr);

    // Merkt sich das Objekt (nicht besessen) und füllt die Felder.
    void ObjektSetzen(TFO* objekt);
    // Hat das zuletzt bestätigte OK Name oder Kapazität geändert?
    bool Geaendert() const { return GeaendertFlag; }
    // Nimmt die Änderung des OK als Schritt "Eigenschaften" auf (nullptr: nicht).
    TVerlauf* Verlauf = nullptr;

    // Prüft bei OK und übernimmt; ein Fehler lässt den Dialog offen.
    void done(int ergebnis) override;

    QWidget* PAEigenschaften;
    QLabel* LABez;
    QLineEdit* EDFOName;
    QLabel* LAKapazitaet;
    QLineEdit* EDKapazitaet;
    QWidget* PASchalter;
    QPushButton* BTHilfe;
    QPushButton* BTOK;
    QPushButton* BTAbbrechen;

private:
    void EigenschaftenLaden();
    bool EigenschaftenPruefen() const;
    void EigenschaftenUebernehmen();
    char Trenner() const;

    TFO* Objekt = nullptr;
    bool GeaendertFlag = false;
};

} // namespace tessomir
