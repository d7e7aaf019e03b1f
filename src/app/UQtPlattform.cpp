#include "app/UQtPlattform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "qt/UQtText.h"

namespace tessomir {
namespace {

// Ein Meldungsfenster, das seinen Text nie als HTML liest: Datei- und
// Objektnamen kommen aus fremden Dateien.
QMessageBox::StandardButton Zeigen(QWidget* eltern, QMessageBox::Icon art, const QString& text,
                                   QMessageBox::StandardButtons knoepfe = QMessageBox::Ok,
                                   QMessageBox::StandardButton vorgabe = QMessageBox::NoButton) {
    QMessageBox box(art, QStringLiteral("Tessomir"), text, knoepfe, eltern);
    box.setTextFormat(Qt::PlainText);
    if (vorgabe != QMessageBox::NoButton) box.setDefaultButton(vorgabe);
    const int ergebnis = box.exec();
    return box.clickedButton() == nullptr ? QMessageBox::Cancel : static_cast<QMessageBox::StandardButton>(ergebnis);
}

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

void TQtPlattform::Info(const std::string& text) { Zeigen(Eltern, QMessageBox::Information, Zeilen(text)); }

void TQtPlattform::Fehler(const std::string& text) { Zeigen(Eltern, QMessageBox::Critical, Zeilen(text)); }

void TQtPlattform::Warnung(const std::string& text) { Zeigen(Eltern, QMessageBox::Warning, Zeilen(text)); }

TAntwort TQtPlattform::Frage(const std::string& text) {
    // Schliessen des Fensters (Esc, Titelleiste) zählt als Abbrechen.
    const auto antwort = Zeigen(Eltern, QMessageBox::Question, Zeilen(text),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (antwort == QMessageBox::Yes) return TAntwort::Ja;
    if (antwort == QMessageBox::No) return TAntwort::Nein;
    return TAntwort::Abbrechen;
}

bool TQtPlattform::WarnFrage(const std::string& text) {
    // Nein vorgewählt: ein versehentliches Enter löscht nichts.
    return Zeigen(Eltern, QMessageBox::Warning, Zeilen(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

TAntwort TQtPlattform::FrageMitSpaeter(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tessomir"), Zeilen(text), QMessageBox::Yes | QMessageBox::No,
                    Eltern);
    box.setTextFormat(Qt::PlainText);
    QPushButton* spaeter = box.addButton(QStringLiteral("Später"), QMessageBox::RejectRole);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(spaeter);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes)) return TAntwort::Ja;
    if (box.clickedButton() == box.button(QMessageBox::No)) return TAntwort::Nein;
    return TAntwort::Abbrechen;
}

void TQtPlattform::Piep() { QApplication::beep(); }

void TQtPlattform::LogLeeren() { Log->clear(); }

void TQtPlattform::LogZeile(const std::string& zeile) { Log->appendPlainText(QtAusAnsi(zeile)); }

} // namespace tessomir
