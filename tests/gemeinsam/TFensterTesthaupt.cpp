// Hauptprogramm der Fenster- und Dialogtests: ohne Bildschirm, mit "."
// als Dezimalzeichen und mit einem eigenen Ordner für die Einstellungen, damit
// kein Test die Fensterlage des Anwenders liest oder schreibt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // Auch beim Auflisten der Tests während des Bauens.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication anwendung(argc, argv);
    QLocale::setDefault(QLocale::c());
    QTemporaryDir einstellungen;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, einstellungen.path());
    // Auch die Kopien zur Wiederherstellung landen nie im Ordner des Anwenders.
    qputenv("XDG_DATA_HOME", einstellungen.path().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
