#pragma once
// Information: Programmname, die Version aus der eigenen Programmdatei und
// Hersteller und Kontakt.
#include <QDialog>
#include <string>

#include "base/UVersion.h"

class QLabel;
class QPushButton;
class QTextEdit;
class QWidget;

namespace tessomir {

class TFMVersion : public QDialog {
    Q_OBJECT
public:
    // 'programm': die Datei, deren Versionsnotiz gezeigt wird.
    explicit TFMVersion(QWidget* eltern = nullptr, const std::string& programm = EigenesProgramm);

    QWidget* PAInfo;
    QLabel* LAPrgName;
    QLabel* LAVersion;
    QLabel* LAVersionsAnzeige;
    QLabel* LAHersteller;
    QWidget* SHRahmen;
    QWidget* Shape1;
    QTextEdit* MEHersteller;
    QPushButton* BTOK;
};

} // namespace tessomir
