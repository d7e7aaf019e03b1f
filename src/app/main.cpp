// Programmstart: Anwendung, deutsche Qt-Texte, Hauptfenster, Ereignisschleife.
#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <string>

#include "app/FHaupt.h"
#include "app/UStart.h"
#include "app/UZeichenfeld.h"
#include "help/UHtmlHilfe.h"

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessomir"));
    tessomir::DeutscheQtTexteLaden(anwendung);

    // Der erste Parameter ist die Modelldatei; weitere werden übergangen.
    // "/debug" und "-debug" sind Schalter, keine Modelldatei. Der Pfad bleibt
    // in den Bytes der Befehlszeile: ein Name, der kein gültiges UTF-8 ist,
    // überstünde den Umweg über QString nicht.
    std::string datei;
    for (int i = 1; i < argc && datei.empty(); ++i) {
        if (!tessomir::IstHilfeSchalter(argv[i])) datei = argv[i];
    }
    // Zeigt die Hilfethemen (F1) bis zum Programmende in einem Fenster.
    tessomir::THtmlHilfe hilfe;
    tessomir::TFMHaupt fenster;
    if (!datei.empty()) fenster.ModellLadenPfad(datei);

    // Probelauf für die Prüfung im Build: schliesst das Fenster, sobald das
    // Diagramm einmal gemalt ist.
    if (qEnvironmentVariableIntValue("TESSOMIR_PROBELAUF") == 1) {
        auto* flaeche = fenster.findChild<tessomir::TZeichenfeld*>(QStringLiteral("PBHaupt"));
        QObject::connect(flaeche, &tessomir::TZeichenfeld::Gemalt, &fenster,
                         [&fenster] { QTimer::singleShot(0, &fenster, &QWidget::close); },
                         Qt::SingleShotConnection);
    }
    fenster.show();
    // Was ein abgestürztes Tessomir hinterließ, sobald das Fenster steht.
    QTimer::singleShot(0, &fenster, [&fenster] { fenster.WiederherstellungAnbieten(); });
    return QApplication::exec();
}
