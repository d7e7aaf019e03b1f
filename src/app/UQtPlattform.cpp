#include "app/UQtPlattform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "app/UQtText.h"

namespace tessomir {
namespace {

const QString Titel = QStringLiteral("Tessomir");

// Meldungen des Kerns trennen Zeilen mit CR LF oder LF CR; Qt bricht nur bei LF um.
QString Zeilen(const std::string& text) {
    QString t = QtAusAnsi(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

} // namespace

TQtPlattform::TQtPlattform(QWidget* eltern, QPlainTextEdit* log) : Eltern(eltern), Log(log) {
    Vorher = Plattform();
    Plattform().Meldungen = this;
    Plattform().Signalton = this;
    Plattform().Protokoll = this;
}

TQtPlattform::~TQtPlattform() { Plattform() = Vorher; }

void TQtPlattform::Info(const std::string& text) { QMessageBox::information(Eltern, Titel, Zeilen(text)); }

void TQtPlattform::Fehler(const std::string& text) { QMessageBox::critical(Eltern, Titel, Zeilen(text)); }

void TQtPlattform::Warnung(const std::string& text) { QMessageBox::warning(Eltern, Titel, Zeilen(text)); }

TAntwort TQtPlattform::Frage(const std::string& text) {
    // Schliessen des Fensters (Esc, Titelleiste) zählt als Abbrechen.
    const auto antwort = QMessageBox::question(Eltern, Titel, Zeilen(text),
                                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                               QMessageBox::Yes);
    if (antwort == QMessageBox::Yes) return TAntwort::Ja;
    if (antwort == QMessageBox::No) return TAntwort::Nein;
    return TAntwort::Abbrechen;
}

bool TQtPlattform::WarnFrage(const std::string& text) {
    // Nein vorgewählt: ein versehentliches Enter löscht nichts.
    return QMessageBox::warning(Eltern, Titel, Zeilen(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void TQtPlattform::Piep() { QApplication::beep(); }

void TQtPlattform::LogLeeren() { Log->clear(); }

void TQtPlattform::LogZeile(const std::string& zeile) { Log->appendPlainText(QtAusAnsi(zeile)); }

} // namespace tessomir
