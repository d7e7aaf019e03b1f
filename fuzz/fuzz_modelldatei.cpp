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

#include "model/UFehler.h"
#include "model/UKnoten.h"
#include "model/UPlattform.h"
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
    if (!(m.StrukturPruefen() && m.KolonnensummenPruefen())) return;
    m.BerechnungVorbereiten();
    for (int i = 0; i < 3; ++i) {
        m.EingangsDurchgang();
        m.AusgangsDurchgang();
    }
    m.MaxStromErmitteln();
    (void)summe;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
    static TStill still;
    Plattform() = TPlattform{&still, &still, &still, &still};
    FONrZaehler = 0;
    ZufallsSaat = 0;
    Modell = nullptr;

    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    std::unique_ptr<TModell> m = Lesen(text);
    if (!m) return 0;
    Rechnen(*m);
    Modell = m.get();
    const std::string erst = Schreiben(*m);
    m.reset();

    // Zweimal lesen: jedes Laden kehrt die Reihenfolge der Wege um.
    std::string dann = erst;
    for (int i = 0; i < 2; ++i) {
        std::string grund;
        std::unique_ptr<TModell> n = Lesen(dann, &grund);
        if (!n) Abbruch(("Geschriebenes Modell laesst sich nicht lesen: " + grund).c_str(), erst, dann);
        Modell = n.get();
        dann = Schreiben(*n);
    }
    if (dann != erst) Abbruch("Schreiben und Lesen sind nicht stabil", erst, dann);
    Modell = nullptr;
    return 0;
}
