#include "qt/UBefehl.h"

#include <exception>

#include "base/UPlattform.h"
#include "base/UText.h"
#include "base/UWerte.h"
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

bool PruefeEingabe(std::string_view text, std::string_view bezeichnung, double min, double max, char trenner) {
    const std::string fehler = EingabeFehler(text, bezeichnung, min, max, trenner);
    if (!fehler.empty()) Plattform().Meldungen->Info(fehler);
    return fehler.empty();
}

bool FehlerMelden(const std::string& fehler) {
    if (!fehler.empty()) Plattform().Meldungen->Fehler(fehler);
    return fehler.empty();
}

} // namespace tessomir
