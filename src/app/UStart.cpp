#include "app/UStart.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tessomir {

bool DeutscheQtTexteLaden(QCoreApplication& anwendung) {
    auto* uebersetzung = new QTranslator(&anwendung);
    if (!uebersetzung->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete uebersetzung;
        return false;
    }
    return QCoreApplication::installTranslator(uebersetzung);
}

} // namespace tessomir
