// Fuzz-Ziel: Laden, Bearbeiten, Rückgängig, Wiederholen, Berechnen, Speichern.
// Die Bytes sind zugleich die Modelldatei und, von hinten gelesen, die Folge
// der Änderungen (Löschen, Artikel, Matrizen, Einstellungen, Namen,
// Kapazitäten, Verschieben), jede als Schritt des Verlaufs wie im Fenster.
// Danach muss gelten: alles zurückgenommen ist die geladene Datei Byte für
// Byte, alles wiederholt die bearbeitete. Dann prüfen und berechnen wie
// "Neuberechnen", Schlaufen und Engpässe ermitteln, speichern und zweimal
// neu lesen, ohne dass sich der Text ändert.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/UBerechnung.h"
#include "analysis/UEngpaesse.h"
#include "analysis/USchlaufen.h"
#include "editing/UArtikelBearbeitung.h"
#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "editing/USchritte.h"
#include "UFuzzHilfe.h"

namespace {

using namespace tessomir;
using namespace tessomir::fuzz;

// Ein Name aus den Steuerbytes; was die Dialoge abweisen, weist auch das Ziel ab.
std::string Name(FuzzedDataProvider& s) { return s.ConsumeRandomLengthString(24); }

double Wert(FuzzedDataProvider& s) {
    switch (s.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return 0.0;
    case 1: return s.ConsumeIntegralInRange<int>(0, 100);
    case 2: return s.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    default: return s.ConsumeFloatingPoint<double>();
    }
}

TFO* Objekt(TModell& m, FuzzedDataProvider& s) {
    const auto& alle = m.FOListe.Alle();
    if (alle.empty()) return nullptr;
    return alle[s.ConsumeIntegralInRange<size_t>(0, alle.size() - 1)].get();
}

void Bearbeiten(TModell& m, TVerlauf& verlauf, FuzzedDataProvider& s) {
    switch (s.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: { // Löschen
        m.FOListe.AuswahlLeeren();
        for (int i = s.ConsumeIntegralInRange<int>(1, 3); i > 0; --i)
            if (TFO* o = Objekt(m, s)) m.FOListe.Auswaehlen(o, false);
        AuswahlLoeschen(m, &verlauf);
        m.FOListe.AuswahlLeeren();
        break;
    }
    case 1: { // Artikel einfügen
        const std::string name = Name(s);
        if (ArtikelNamensFehler(Utf8AusAnsi(name)).empty() && ArtikelNameFrei(m.ArtikelListe, name))
            ArtikelHinzufuegen(m, name, &verlauf);
        break;
    }
    case 2: // Artikel löschen
        if (m.AnzahlArtikel() > 1) ArtikelEntfernen(m, s.ConsumeIntegralInRange<int>(0, m.AnzahlArtikel() - 1), &verlauf);
        break;
    case 3: { // Artikel umbenennen
        const std::string name = Name(s);
        if (m.AnzahlArtikel() > 0 && ArtikelNamensFehler(Utf8AusAnsi(name)).empty() &&
            ArtikelNameFrei(m.ArtikelListe, name))
            ArtikelUmbenennen(m, s.ConsumeIntegralInRange<int>(0, m.AnzahlArtikel() - 1), name, &verlauf);
        break;
    }
    case 4: { // eine Zelle einer Matrix
        const auto& knoten = m.FOListe.Knoten();
        if (knoten.empty()) break;
        TKnoten& k = *knoten[s.ConsumeIntegralInRange<size_t>(0, knoten.size() - 1)];
        if (k.Matrix().AnzahlZellen() == 0) break;
        TDyn3DMatrix x = k.Matrix();
        x.Daten()[s.ConsumeIntegralInRange<size_t>(0, x.AnzahlZellen() - 1)] = Wert(s);
        MatrixAendern(k, x, &verlauf);
        break;
    }
    case 5: { // Einstellungen in den Grenzen des Dialogs
        const TModellEinstellungen alt = TModellEinstellungen::Aus(m);
        TModellEinstellungen neu = alt;
        neu.WegeBeschr = s.ConsumeBool();
        neu.QuellenBeschr = s.ConsumeBool();
        neu.SymbolGroesse = s.ConsumeIntegralInRange<int>(1, 20);
        neu.StromGroesse = s.ConsumeIntegralInRange<int>(10, 100);
        neu.ProzStellen = s.ConsumeIntegralInRange<int>(0, 5);
        neu.StromStellen = s.ConsumeIntegralInRange<int>(0, 5);
        neu.Stromanzeige = s.ConsumeIntegralInRange<int>(0, 2);
        neu.MaxStromBer = s.ConsumeBool();
        neu.MaxStrom = s.ConsumeIntegralInRange<int>(1, 1000);
        neu.MaxBerDauer = s.ConsumeIntegralInRange<uint32_t>(1, 100);
        if (!(neu == alt)) Ausfuehren(m, &verlauf, EinstellungenSchritt(alt, neu));
        break;
    }
    case 6: { // Name und Kapazität
        TFO* o = Objekt(m, s);
        if (o == nullptr) break;
        const std::string name = Name(s);
        if (!NamensFehler(name).empty()) break;
        EigenschaftenAendern(*o, name, std::fabs(Wert(s)), &verlauf);
        break;
    }
    default: { // Verschieben
        TFO* o = Objekt(m, s);
        if (o == nullptr) break;
        const TPunkt alt = o->Refpunkt;
        const TPunkt neu{alt.X + s.ConsumeIntegralInRange<int>(-500, 500), alt.Y + s.ConsumeIntegralInRange<int>(-500, 500)};
        if (neu.X == alt.X && neu.Y == alt.Y) break;
        Ausfuehren(m, &verlauf, VerschiebenSchritt({{o, alt, neu}}));
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
    // Die Uhr läuft je Abfrage eine Millisekunde: jede Berechnung kommt an ihre Zeitgrenze.
    static TStill still;
    still.Schritt = 1;
    Beginnen(still);

    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    std::unique_ptr<TModell> m = Lesen(text);
    if (!m) return 0;
    const std::string geladen = Schreiben(*m);

    FuzzedDataProvider steuerung(daten, groesse);
    TVerlauf verlauf;
    for (int i = 0; i < 24 && steuerung.remaining_bytes() > 0; ++i) Bearbeiten(*m, verlauf, steuerung);
    const std::string bearbeitet = Schreiben(*m);
    while (verlauf.KannRueckgaengig()) verlauf.Rueckgaengig(*m);
    if (Schreiben(*m) != geladen) Abbruch("Alles zurueckgenommen ist nicht die geladene Datei", geladen, Schreiben(*m));
    while (verlauf.KannWiederholen()) verlauf.Wiederholen(*m);
    if (Schreiben(*m) != bearbeitet) Abbruch("Alles wiederholt ist nicht die bearbeitete Datei", bearbeitet, Schreiben(*m));

    // Wie "Neuberechnen"; die Zeitgrenze kurz, die Uhr läuft je Abfrage.
    m->MaxBerDauer = std::min<uint32_t>(m->MaxBerDauer, 50);
    still.Zeit = 0;
    (void)ModellNeuberechnen(*m);
    (void)SchlaufenZeilen(*m, SchlaufenErmitteln(*m));
    (void)EngpaesseErmitteln(*m, 50.0);
    (void)HatSchlaufe(*m);

    const std::string erst = Schreiben(*m);
    m.reset();
    StabilPruefen(erst);
    return 0;
}
