// Fuzz-Ziel: beliebige Bytes als Werte-Tabelle, als CSV und als XLSX gegen ein
// kleines Netz (Quelle, Verzweigung mit zwei Ausgängen, Wandler, Senken).
// Erlaubt ist nur, zu lesen oder mit einer Ausnahme des Kerns abzubrechen.
// Was der Probelauf ändern will, wird gesetzt und zurückgesetzt; danach muss
// das Modell denselben Text ergeben wie vorher. Der Probelauf beim Lesen der
// CSV muss dasselbe melden wie der über die abgelegte Tabelle.
#include <cstdint>
#include <memory>
#include <string>

#include "UFuzzHilfe.h"
#include "model/UKnoten.h"
#include "persistence/UWerteTabelle.h"
#include "persistence/UWerteXlsx.h"

namespace {

using namespace tessomir;
using namespace tessomir::fuzz;

template <class T> T& Knoten(TModell& m, const char* name) {
    auto k = std::make_unique<T>(m);
    k->Name = name;
    T& ref = *k;
    m.FOListe.Hinzufuegen(std::move(k), true);
    return ref;
}

void Weg(TModell& m, TKnoten& von, TKnoten& nach) {
    auto w = std::make_unique<TWeg>(m);
    TWeg& ref = *w;
    m.FOListe.Hinzufuegen(std::move(w), false);
    ref.SetStart(&von);
    ref.SetZiel(&nach);
}

std::unique_ptr<TModell> Netz() {
    auto m = std::make_unique<TModell>();
    m->ArtikelEinfuegen("B");
    auto& q = Knoten<TQuelle>(*m, "Q");
    auto& v = Knoten<TVerzweigung>(*m, "V");
    auto& w = Knoten<TWandler>(*m, "W");
    auto& s1 = Knoten<TSenke>(*m, "S1");
    auto& s2 = Knoten<TSenke>(*m, "S2");
    Weg(*m, q, v);
    Weg(*m, v, w);
    Weg(*m, v, s1);
    Weg(*m, w, s2);
    v.Matrix().ZelleSetzen(0, 1, 1, 50);
    v.Matrix().ZelleSetzen(0, 1, 2, 50);
    return m;
}

void Pruefen(TModell& m, const TGeleseneTabelle& t, const std::string& vorher) {
    const TWertePruefung p = WertePruefen(m, t);
    (void)PruefungsZeilen(p);
    WerteSetzen(m, p.Aenderungen, true);
    WerteSetzen(m, p.Aenderungen, false);
    const std::string nachher = Schreiben(m);
    if (nachher != vorher) Abbruch("Setzen und Zuruecksetzen aendern das Modell", vorher, nachher);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
    static TStill still;
    Beginnen(still);
    static const std::unique_ptr<TModell> m = Netz();
    static const std::string vorher = Schreiben(*m);
    const std::string text(reinterpret_cast<const char*>(daten), groesse);
    std::string abgelegt, gelesen;
    try {
        const TGeleseneTabelle t = CsvTabelleLesen(text);
        Pruefen(*m, t, vorher);
        for (const std::string& z : PruefungsZeilen(WertePruefen(*m, t))) abgelegt += z + "\n";
    } catch (const EFehler& e) {
        abgelegt = e.what();
    }
    try {
        for (const std::string& z : PruefungsZeilen(CsvWertePruefen(*m, text))) gelesen += z + "\n";
    } catch (const EFehler& e) {
        gelesen = e.what();
    }
    if (abgelegt != gelesen) Abbruch("Probelauf beim Lesen weicht ab", abgelegt, gelesen);
    try {
        Pruefen(*m, XlsxTabelleLesen(text), vorher);
    } catch (const EFehler&) {
    }
    return 0;
}
