#include "app/UDateiwahl.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tessomir {
namespace {

const QString Filter = QStringLiteral("Tessomirdatei (*.TSR)");
const QString Endung = QStringLiteral("TSR");

// Gemeinsame Einstellungen beider Dialoge; ohne Ordner beginnt er im
// aktuellen Ordner des Prozesses.
void Einrichten(QFileDialog& dialog, const QString& titel) {
    dialog.setWindowTitle(titel);
    dialog.setNameFilter(Filter);
    dialog.setDefaultSuffix(Endung);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDirectory(QDir::currentPath());
    dialog.setSizeGripEnabled(true);
}

std::optional<QString> Gewaehlt(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> TQtDateiwahl::Oeffnen(QWidget* eltern) {
    QFileDialog dialog(eltern);
    Einrichten(dialog, QStringLiteral("Datei öffnen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Gewaehlt(dialog);
}

std::optional<QString> TQtDateiwahl::SpeichernUnter(QWidget* eltern, const QString& vorgabe) {
    QFileDialog dialog(eltern);
    Einrichten(dialog, QStringLiteral("Datei speichern unter"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Ein Pfad mit Ordner öffnet den Dialog in diesem Ordner, sofern es ihn gibt.
    const QFileInfo info(vorgabe);
    if (info.path() != QStringLiteral(".") && info.dir().exists()) dialog.setDirectory(info.dir());
    dialog.selectFile(info.fileName());
    return Gewaehlt(dialog);
}

} // namespace tessomir
