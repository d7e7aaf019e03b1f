#pragma once
// Die Plattform des Programms: Meldungsfenster über QMessageBox, Signalton
// über QApplication::beep, Protokoll in das Protokollfenster. Setzt sich für
// seine Lebenszeit ein und stellt danach die vorige Plattform wieder her.
#include <string>

#include "base/UPlattform.h"

class QPlainTextEdit;
class QWidget;

namespace tessomir {

class TQtPlattform final : public IMeldungen, public ISignalton, public IProtokoll {
public:
    // 'eltern' trägt die Meldungsfenster, 'log' nimmt die Protokollzeilen auf;
    // beide müssen das Objekt überleben.
    TQtPlattform(QWidget* eltern, QPlainTextEdit* log);
    ~TQtPlattform() override;
    TQtPlattform(const TQtPlattform&) = delete;
    TQtPlattform& operator=(const TQtPlattform&) = delete;

    void Info(const std::string& text) override;
    void Fehler(const std::string& text) override;
    void Warnung(const std::string& text) override;
    TAntwort Frage(const std::string& text) override;
    bool WarnFrage(const std::string& text) override;
    TAntwort FrageMitSpaeter(const std::string& text) override;
    void Piep() override;
    void LogLeeren() override;
    void LogZeile(const std::string& zeile) override;

private:
    QWidget* Eltern;
    QPlainTextEdit* Log;
    TPlattform Vorher{};
};

} // namespace tessomir
