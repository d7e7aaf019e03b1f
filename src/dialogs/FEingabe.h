#pragma once
// Allgemeiner einzeiliger Eingabedialog, gesteuert über TEingabeInfo.
#include <QDialog>
#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessomir {

// Alle Texte Windows-1252; nur Eingabe wird zurückgeschrieben.
struct TEingabeInfo {
    std::string Ueberschrift;
    std::string Frage; // darf Zeilenumbrüche (CR LF) enthalten
    bool AllesMarkieren = false;
    char Passwortzeichen = 0; // 0 zeigt den Text selbst
    int32_t Breite = 0;
    std::string Eingabe;
};

class TFMEingabe : public QDialog {
    Q_OBJECT
public:
    explicit TFMEingabe(QWidget* eltern = nullptr);

    // Breite setzen, Frage umbrechen und die Fensterhöhe daran anpassen.
    void BreiteSetzen(int32_t breite);
    void Einrichten(const TEingabeInfo& info);

    QLabel* LA;
    QLineEdit* ED;
    QPushButton* BTOK;
    QPushButton* BTAbbrechen;

protected:
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    void Anordnen();
};

// Zeigt den Dialog; bei OK steht der Text in info.Eingabe und das Ergebnis ist true.
bool EingabeAusfuehren(TEingabeInfo& info, QWidget* eltern);

} // namespace tessomir
