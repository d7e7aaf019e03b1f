// Programmstart: Anwendung, deutsche Qt-Texte, Hauptfenster, Ereignisschleife.
#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "app/FHaupt.h"
#include "app/UStart.h"
#include "app/UZeichenfeld.h"
#include "help/UHtmlHilfe.h"

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessomir"));
    tessomir::DeutscheQtTexteLaden(anwendung);

    // Der erste Parameter ist die Modelldatei; weitere werden übergangen.
    // "/debug" und "-debug" sind Schalter, keine Modelldatei.
    QStringList parameter = QApplication::arguments();
    parameter.removeIf([](const QString& p) { return tessomir::IstHilfeSchalter(p.toStdString()); });
    // Zeigt die Hilfethemen (F1) bis zum Programmende in einem Fenster.
    tessomir::THtmlHilfe hilfe;
    tessomir::TFMHaupt fenster(parameter.size() > 1 ? parameter.at(1) : QString());

    // Probelauf für die Prüfung im Build: schliesst das Fenster, sobald das
    // Diagramm einmal gemalt ist.
    if (qEnvironmentVariableIntValue("TESSOMIR_PROBELAUF") == 1) {
        auto* flaeche = fenster.findChild<tessomir::TZeichenfeld*>(QStringLiteral("PBHaupt"));
        QObject::connect(flaeche, &tessomir::TZeichenfeld::Gemalt, &fenster,
                         [&fenster] { QTimer::singleShot(0, &fenster, &QWidget::close); },
                         Qt::SingleShotConnection);
    }
    fenster.show();
    return QApplication::exec();
}
