#include "analysis/UEmpfindlichkeit.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "base/UFehler.h"
#include "base/UText.h"
#include "base/UWerte.h"
#include "persistence/UModellDatei.h"
#include "persistence/UStromCsv.h"

namespace tessomir {
namespace {


double Zelle(const TDyn3DMatrix& m, int a, int b, int c) {
    const double* z = m.Zelle(a, b, c);
    return z != nullptr ? *z : 0.0;
}

// Eine Kopie des Modells mit ihrem Verzeichnis nach Nummer.
struct TKopie {
    std::unique_ptr<TModell> Modell;
    std::unordered_map<uint32_t, TFO*> Objekte;
    // Still, und mit einer Uhr, die jeder Faden lesen darf.
    TStillesProtokoll Still;

    explicit TKopie(const TModell& vorlage) : Modell(ModellKopie(vorlage)) {
        Modell->Protokoll = &Still;
        for (const auto& o : Modell->FOListe.Alle()) Objekte.emplace(o->FONr, o.get());
    }
    TFO* Objekt(uint32_t nr) const {
        const auto it = Objekte.find(nr);
        return it != Objekte.end() ? it->second : nullptr;
    }
    std::optional<double> Rechnen(uint32_t ziel, int artikel) {
        if (ModellNeuberechnen(*Modell, {}, &Systemuhr()) != TBerechnungsErgebnis::BerechnungOK) return std::nullopt;
        const TFO* o = Objekt(ziel);
        return o != nullptr ? ZielWert(*o, artikel) : std::nullopt;
    }
};

} // namespace

std::optional<double> ZielWert(const TFO& ziel, int artikel) {
    if (const TWeg* w = ziel.AlsWeg()) return WegStrom(*w, artikel);
    const TKnoten* k = ziel.AlsKnoten();
    if (k == nullptr) return std::nullopt;
    if (k->Art() == TKnotenArt::Verzweigung) return VerzweigungsStrom(static_cast<const TVerzweigung&>(*k), artikel);
    if (k->Art() == TKnotenArt::Senke) return KnotenBilanz(*k, artikel).Zulauf;
    return std::nullopt;
}

std::vector<TWertAenderung> EingabeAendern(TModell& modell, const TWertOrt& ort, double neu) {
    std::vector<TWertAenderung> alt;
    TKnoten* k = nullptr;
    for (TKnoten* kandidat : modell.FOListe.Knoten())
        if (kandidat->FONr == ort.FONr) k = kandidat;
    if (k == nullptr || ort.Kapazitaet) return alt;
    TDyn3DMatrix& m = k->Matrix();
    const auto setzen = [&](int c, double wert) {
        alt.push_back({TWertOrt{ort.FONr, false, ort.A, ort.B, c}, Zelle(m, ort.A, ort.B, c), wert});
        m.ZelleSetzen(ort.A, ort.B, c, wert);
    };
    if (k->Art() != TKnotenArt::Verzweigung) {
        setzen(ort.C, neu);
        return alt;
    }
    // Ein Anteil: die anderen Ausgänge desselben Eingangs tragen den Rest im
    // Verhältnis ihrer Anteile, ohne Anteile gleichmässig.
    const int ausgaenge = m.Dim3() - 1;
    if (ausgaenge <= 1) return alt; // der einzige Ausgang bleibt bei seinem Anteil
    const double s = std::clamp(neu, 0.0, 100.0);
    double andere = 0.0;
    for (int c = 1; c <= ausgaenge; ++c)
        if (c != ort.C) andere += Zelle(m, ort.A, ort.B, c);
    const double rest = 100.0 - s;
    for (int c = 1; c <= ausgaenge; ++c) {
        if (c == ort.C) continue;
        const double vorher = Zelle(m, ort.A, ort.B, c);
        setzen(c, andere > 0.0 ? vorher * rest / andere : rest / (ausgaenge - 1));
    }
    setzen(ort.C, s);
    return alt;
}

TEmpfindlichkeit EmpfindlichkeitBerechnen(const TModell& modell, const TEmpfindlichkeitsAuftrag& auftrag) {
    TEmpfindlichkeit e;
    {
        TKopie basis(modell);
        const TFO* ziel = basis.Objekt(auftrag.ZielFONr);
        if (ziel == nullptr || !ZielWert(*ziel, auftrag.Artikel))
            throw EModellErzeugen("das Ziel ist kein Weg, keine Verzweigung und keine Senke");
        const std::optional<double> wert = basis.Rechnen(auftrag.ZielFONr, auftrag.Artikel);
        if (!wert) throw EModellErzeugen("das Modell l\xE4sst sich nicht berechnen");
        e.ZielBasis = *wert;
    }
    for (TWertZeile& z : WerteZeilen(modell))
        if (z.Groesse != "Kapazitaet") e.Zeilen.push_back({std::move(z), std::nullopt, std::nullopt, {}});
    const size_t n = e.Zeilen.size();
    std::atomic<size_t> naechste{0}, fertig{0};
    std::mutex meldung;
    const auto arbeiten = [&] {
        TKopie kopie(modell);
        for (size_t i = naechste++; i < n; i = naechste++) {
            if (auftrag.Abbrechen != nullptr && auftrag.Abbrechen->load()) return;
            TEmpfindlichkeitsZeile& z = e.Zeilen[i];
            for (const double richtung : {-1.0, 1.0}) {
                const double neu = z.Eingabe.Wert * (1.0 + richtung * auftrag.Prozent / 100.0);
                const std::vector<TWertAenderung> alt = EingabeAendern(*kopie.Modell, z.Eingabe.Ort, neu);
                const std::optional<double> wert = kopie.Rechnen(auftrag.ZielFONr, auftrag.Artikel);
                WerteSetzen(*kopie.Modell, alt, false);
                (richtung < 0 ? z.ZielMinus : z.ZielPlus) = wert;
                if (!wert) z.Grund = std::string("die Rechnung scheitert bei ") + (richtung < 0 ? "-" : "+") +
                                     TextAusFloat(auftrag.Prozent) + " %";
            }
            const size_t f = ++fertig;
            if (auftrag.Fortschritt) {
                const std::lock_guard<std::mutex> sperre(meldung);
                auftrag.Fortschritt(f, n);
            }
        }
    };
    std::vector<std::thread> faeden;
    for (unsigned t = 1; t < std::max(1U, auftrag.Faeden); ++t) faeden.emplace_back(arbeiten);
    arbeiten();
    for (std::thread& t : faeden) t.join();
    e.Abgebrochen = fertig.load() < n;
    std::stable_sort(e.Zeilen.begin(), e.Zeilen.end(), [](const TEmpfindlichkeitsZeile& a, const TEmpfindlichkeitsZeile& b) {
        if (a.Gescheitert() != b.Gescheitert()) return !a.Gescheitert();
        return a.Wirkung() > b.Wirkung();
    });
    return e;
}

std::string EmpfindlichkeitAlsCsv(const TEmpfindlichkeit& e) {
    const auto zahl = [](const std::optional<double>& x) { return x ? TextAusFloat(*x, '.') : std::string(); };
    const auto feld = [](const std::string& ansi) { return CsvFeld(Utf8AusAnsi(ansi)); };
    std::string csv = "FONr,Objekt,Groesse,Artikel,Von,Nach,Wert,ZielMinus,ZielPlus,Wirkung\r\n";
    for (const TEmpfindlichkeitsZeile& z : e.Zeilen) {
        const TWertZeile& w = z.Eingabe;
        csv += std::to_string(w.FONr) + "," + feld(w.Objekt) + "," + w.Groesse + "," + feld(w.Artikel) + "," + feld(w.Von) +
               "," + feld(w.Nach) + "," + zahl(w.Wert) + "," + zahl(z.ZielMinus) + "," + zahl(z.ZielPlus) + "," +
               (z.Gescheitert() ? std::string() : zahl(z.Wirkung())) + "\r\n";
    }
    return csv;
}

} // namespace tessomir
