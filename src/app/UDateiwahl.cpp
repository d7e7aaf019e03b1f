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

std::optional<TExportziel> IDateiwahl::Exportieren(QWidget*, const QString&) { return std::nullopt; }
std::optional<QString> IDateiwahl::CsvSpeichern(QWidget*, const QString&) { return std::nullopt; }

std::optional<QString> IDateiwahl::TabelleOeffnen(QWidget*) { return std::nullopt; }
std::optional<TExportziel> IDateiwahl::TabelleSpeichern(QWidget*, const QString&) { return std::nullopt; }

std::optional<QString> TQtDateiwahl::TabelleOeffnen(QWidget* eltern) {
    QFileDialog dialog(eltern);
    Einrichten(dialog, QStringLiteral("Werte einlesen"));
    dialog.setNameFilter(QStringLiteral("Werte-Tabelle (*.csv *.xlsx)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Gewaehlt(dialog);
}

std::optional<TExportziel> TQtDateiwahl::TabelleSpeichern(QWidget* eltern, const QString& vorgabe) {
    QFileDialog dialog(eltern);
    Einrichten(dialog, QStringLiteral("Werte schreiben"));
    const QStringList filter = {QStringLiteral("Werte als CSV (*.csv)"), QStringLiteral("Excel-Arbeitsmappe (*.xlsx)"),
                                QStringLiteral("CSV (Excel, deutsch) (*.csv)")};
    dialog.setNameFilters(filter);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // Ohne eingetippte Endung zählt der gewählte Filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& f) {
        dialog.setDefaultSuffix(f == filter[1] ? QStringLiteral("xlsx") : QStringLiteral("csv"));
    });
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(vorgabe);
    const std::optional<QString> pfad = Gewaehlt(dialog);
    if (!pfad) return std::nullopt;
    return TExportziel{*pfad, dialog.selectedNameFilter() == filter.last()};
}

std::optional<QString> TQtDateiwahl::CsvSpeichern(QWidget* eltern, const QString& vorgabe) {
    QFileDialog dialog(eltern);
    Einrichten(dialog, QStringLiteral("Als CSV speichern"));
    dialog.setNameFilter(QStringLiteral("CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(vorgabe);
    return Gewaehlt(dialog);
}

std::optional<TExportziel> TQtDateiwahl::Exportieren(QWidget* eltern, const QString& vorgabe) {
    QFileDialog dialog(eltern);
    dialog.setWindowTitle(QStringLiteral("Exportieren"));
    const QStringList filter = {QStringLiteral("PNG-Bild (*.png)"), QStringLiteral("SVG-Zeichnung (*.svg)"),
                                QStringLiteral("PDF-Dokument (*.pdf)"), QStringLiteral("Ströme als CSV (*.csv)"),
                                QStringLiteral("CSV (Excel, deutsch) (*.csv)")};
    const QStringList endungen = {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf"),
                                  QStringLiteral("csv"), QStringLiteral("csv")};
    dialog.setNameFilters(filter);
    dialog.setDefaultSuffix(endungen.first());
    // Ohne eingetippte Endung zählt der gewählte Filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& f) {
        dialog.setDefaultSuffix(endungen.value(static_cast<int>(filter.indexOf(f)), endungen.first()));
    });
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QDir::currentPath());
    const QFileInfo info(vorgabe);
    if (info.path() != QStringLiteral(".") && info.dir().exists()) dialog.setDirectory(info.dir());
    dialog.selectFile(info.fileName());
    dialog.setSizeGripEnabled(true);
    const std::optional<QString> pfad = Gewaehlt(dialog);
    if (!pfad) return std::nullopt;
    return TExportziel{*pfad, dialog.selectedNameFilter() == filter.last()};
}

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
