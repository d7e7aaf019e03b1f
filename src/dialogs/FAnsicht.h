#pragma once
// Ansicht Einstellungen: Beschriftung, Schrift, Symbolgrösse, Zahlenformate,
// Stromanzeige, Bezug der Balken und die längste Berechnungsdauer. Schreibt
// erst beim bestätigten OK ins Modell.
#include <QDialog>

#include "model/UModell.h"
#include "editing/UAnsichtEinstellungen.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace tessomir {

class TVerlauf;

class TFMAnsicht : public QDialog {
    Q_OBJECT
public:
    explicit TFMAnsicht(QWidget* eltern = nullptr);

    // Füllt alle Felder aus dem Modell, das OK danach ändert; löscht Geaendert.
    void EinstellungenLaden(TModell& modell);
    // Hat das bestätigte OK etwas geschrieben (jedes bestätigte OK tut es)?
    bool Geaendert() const { return GeaendertFlag; }
    const TSchrift& Arbeitsschrift() const { return Schrift; }

    // OK prüft und übernimmt als Schritt; eine ungültige Eingabe lässt den Dialog offen.
    void done(int ergebnis) override;
    // Nimmt den Schritt des OK auf (nullptr: nicht).
    TVerlauf* Verlauf = nullptr;

    QTabWidget* PCAnsicht;
    QWidget* TSSymbole;
    QGroupBox* GBBeschriftung;
    QCheckBox* CBQuellenBeschriften;
    QCheckBox* CBSenkenBeschriften;
    QCheckBox* CBVerzweigungenBeschriften;
    QCheckBox* CBWandlerBeschriften;
    QCheckBox* CBWegeBeschriften;
    QPushButton* BTSchrift;
    QGroupBox* GBSymbolgroesse;
    QLabel* LASymbolgroesse;
    QSpinBox* UDSymbolGroesse;
    QGroupBox* GBFormatProz;
    QLabel* LAFormatProzente;
    QSpinBox* UDProzStellen;
    QWidget* TSStroeme;
    QGroupBox* RGAnzeigen;
    QRadioButton* RBAnalog;
    QRadioButton* RBDigital;
    QLabel* LAStromgroesse;
    QSpinBox* UDStromGroesse;
    QGroupBox* RGMaxStrom;
    QRadioButton* RBBerechnet;
    QRadioButton* RBEingegeben;
    QLineEdit* EDMaxStrom;
    QGroupBox* GBFormatStrom;
    QLabel* LAFormatStroeme;
    QSpinBox* UDStromStellen;
    QWidget* TSMaxDauer;
    QLabel* LAMaxDauer;
    QSpinBox* UDMaxDauer;
    QWidget* PASchalter;
    QPushButton* BTOK;
    QPushButton* BTAbbrechen;
    QPushButton* BTHilfe;
    QAction* ACHilfe;

private:
    TAnsichtWerte Werte() const;
    void BTSchriftClick();
    void RGMaxStromClick();
    char Trenner() const;

    QButtonGroup* AnzeigenGruppe;
    QButtonGroup* MaxStromGruppe;
    TModell* Modell = nullptr;
    TSchrift Schrift; // Arbeitskopie der Modellschrift
    bool GeaendertFlag = false;
    bool Laden = false;
};

} // namespace tessomir
