#include "qt/UBefehl.h"

#include <exception>

#include "base/UPlattform.h"
#include "base/UText.h"
#include "persistence/UDatei.h"

namespace tessomir {

void SicherAusfuehren(const std::string& meldung, const std::function<void()>& befehl) noexcept {
    try {
        try {
            befehl();
        } catch (const std::exception& e) {
            Plattform().Meldungen->Fehler(MeldungMitGrund(meldung, GrundVon(e)));
        } catch (...) {
            Plattform().Meldungen->Fehler(meldung);
        }
    } catch (...) {
        // Auch das Melden kann scheitern (kein Speicher mehr): dann bleibt es still.
    }
}

} // namespace tessomir
