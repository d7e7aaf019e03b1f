// Fuzz-Ziel: beliebige Bytes als Modelldatei. Erlaubt ist nur, zu laden oder
// mit einer Ausnahme des Kerns (EFehler) abzubrechen. Was lädt, wird geprüft,
// ein paar Durchgänge weit berechnet, geschrieben und zweimal neu gelesen;
// danach muss derselbe Text herauskommen.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "analysis/UBerechnung.h"
#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "base/UPlattform.h"
#include "persistence/UModellDatei.h"
#include "UFuzzHilfe.h"

namespace {

using namespace tessomir;
using namespace tessomir::fuzz;

void Rechnen(TModell& m) {
    double summe = 0.0;
    for (const auto& o : m.FOListe.Alle()) summe += o->Strom();
    m.SummeAllerArtikel = true;
    for (const auto& o : m.FOListe.Alle()) summe += o->Strom();
    m.SummeAllerArtikel = false;
    if (!(StrukturPruefen(m) && KolonnensummenPruefen(m))) return;
    BerechnungVorbereiten(m);
    for (int i = 0; i < 3; ++i) {
        EingangsDurchgang(m);
        AusgangsDurchgang(m);
    }
    MaxStromErmitteln(m);
    (void)summe;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
    static TStill still;
    Beginnen(still);

    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    std::unique_ptr<TModell> m = Lesen(text);
    if (!m) return 0;
    Rechnen(*m);
    const std::string erst = Schreiben(*m);
    m.reset();
    StabilPruefen(erst);
    return 0;
}
