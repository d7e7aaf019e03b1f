#include "app/UQtPlattform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "app/UQtText.h"

namespace tessomir {
namespace {

const QString Titel = QStringLiteral("Tessomir");

} // namespace

TQtPlattform::TQtPlattform(QWidget* eltern, QPlainTextEdit* log) : Eltern(eltern), Log(log) {
    Vorher = Plattform();
    Plattform().Meldungen = this;
    Plattform().Signalton = this;
    Plattform().Protokoll = this;
}

TQtPlattform::~TQtPlattform() { Plattform() = Vorher; }

void TQtPlattform::Info(const std::string& text) { QMessageBox::information(Eltern, Titel, QtAusAnsi(text)); }

void TQtPlattform::Fehler(const std::string& text) { QMessageBox::critical(Eltern, Titel, QtAusAnsi(text)); }

void TQtPlattform::Warnung(const std::string& text) { QMessageBox::warning(Eltern, Titel, QtAusAnsi(text)); }

TAntwort TQtPlattform::Frage(const std::string& text) {
    // Schliessen des Fensters (Esc, Titelleiste) zählt als Abbrechen.
    const auto antwort = QMessageBox::question(Eltern, Titel, QtAusAnsi(text),
                                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                               QMessageBox::Yes);
    if (antwort == QMessageBox::Yes) return TAntwort::Ja;
    if (antwort == QMessageBox::No) return TAntwort::Nein;
    return TAntwort::Abbrechen;
}

void TQtPlattform::Piep() { QApplication::beep(); }

void TQtPlattform::LogLeeren() { Log->clear(); }

void TQtPlattform::LogZeile(const std::string& zeile) { Log->appendPlainText(QtAusAnsi(zeile)); }

} // namespace tessomir
