#include "analysis/UHerkunft.h"

#include <algorithm>
#include <cmath>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "analysis/UEmpfindlichkeit.h"
#include "base/UFehler.h"
#include "base/UText.h"
#include "base/UWerte.h"
#include "persistence/UModellDatei.h"
#include "persistence/UStromCsv.h"

namespace tessomir {
namespace {

// Die Liefermengen einer Quelle je Artikel (die Zellen, die die Werte-Tabelle nennt).
struct TQuellwerte {
    TKnoten* Quelle;
    std::vector<double> Mengen;
};

void MengenSetzen(TKnoten& q, const std::vector<double>* mengen) {
    TDyn3DMatrix& m = q.Matrix();
    if (m.Dim3() < 2) return;
    for (int a = 0; a < m.Dim1(); ++a)
        m.ZelleSetzen(a, 0, 1, mengen != nullptr ? (*mengen)[static_cast<size_t>(a)] : 0.0);
}

// Die Wege mit Strom in der Summe aller Artikel.
std::unordered_map<uint32_t, double> Wegstroeme(const TModell& m) {
    std::unordered_map<uint32_t, double> stroeme;
    for (const auto& o : m.FOListe.Alle())
        if (const TWeg* w = o->AlsWeg(); w != nullptr) {
            const double f = WegStrom(*w, SummeArtikel);
            if (f > 0.0) stroeme[w->FONr] = f;
        }
    return stroeme;
}

} // namespace

THerkunft HerkunftBerechnen(const TModell& modell, uint32_t objektNr) {
    std::unique_ptr<TModell> kopie = ModellKopie(modell);
    TStillesProtokoll still;
    kopie->Protokoll = &still;
    TModell& m = *kopie;
    const TFO* objekt = nullptr;
    for (const auto& o : m.FOListe.Alle())
        if (o->FONr == objektNr && (o->AlsWeg() != nullptr || o->AlsKnoten() != nullptr)) objekt = o.get();
    const TKnoten* knoten = objekt != nullptr ? objekt->AlsKnoten() : nullptr;
    THerkunft h;
    h.Objekt = objektNr;
    h.VonQuelle = knoten != nullptr && knoten->Art() == TKnotenArt::Quelle;
    if (objekt == nullptr || (!h.VonQuelle && !ZielWert(*objekt, 0)))
        throw EModellErzeugen("die Herkunft gibt es f\xFCr Quellen, Senken, Verzweigungen und Wege");
    std::vector<TQuellwerte> quellen;
    for (TKnoten* k : m.FOListe.Knoten()) {
        if (k->Art() != TKnotenArt::Quelle) continue;
        TQuellwerte q{k, {}};
        for (int a = 0; a < k->Matrix().Dim1(); ++a) {
            const double* z = k->Matrix().Dim3() >= 2 ? k->Matrix().Zelle(a, 0, 1) : nullptr;
            q.Mengen.push_back(z != nullptr ? *z : 0.0);
        }
        quellen.push_back(std::move(q));
    }
    const int n = m.AnzahlArtikel();
    const auto artikelName = [&](int a) { return m.ArtikelListe[static_cast<size_t>(a)]; };
    const auto rechnen = [&]() {
        const TBerechnungsErgebnis e = ModellNeuberechnen(m);
        if (e == TBerechnungsErgebnis::BerechnungOK) return true;
        h.Ok = false;
        h.Grund = std::string("die Berechnung kommt nicht zur Ruhe (") + ErgebnisMeldung(e) + ")";
        return false;
    };
    // Nur 'eine' liefert, alle anderen Quellen auf null.
    const auto allein = [&](const TQuellwerte* eine) {
        for (TQuellwerte& q : quellen) MengenSetzen(*q.Quelle, &q == eine ? &q.Mengen : nullptr);
    };
    if (h.VonQuelle) {
        const TQuellwerte* diese = nullptr;
        for (const TQuellwerte& q : quellen)
            if (q.Quelle == knoten) diese = &q;
        allein(diese);
        if (!rechnen()) return h;
        for (int a = 0; a < n; ++a) {
            double summe = 0.0;
            std::vector<THerkunftsZeile> zeilen;
            for (const TKnoten* k : m.FOListe.Knoten()) {
                if (k->Art() != TKnotenArt::Senke) continue;
                const double strom = KnotenBilanz(*k, a).Zulauf;
                if (strom == 0.0) continue;
                summe += strom;
                zeilen.push_back({a, artikelName(a), k->FONr, k->Name, 0.0, strom});
            }
            for (THerkunftsZeile& z : zeilen) z.Anteil = summe != 0.0 ? z.Strom / summe * 100.0 : 0.0;
            h.Zeilen.insert(h.Zeilen.end(), zeilen.begin(), zeilen.end());
        }
        h.Quellen.push_back(knoten->FONr);
        h.Wegstroeme.push_back(Wegstroeme(m));
        return h;
    }
    // Erst alles: der Strom, den die Beiträge aufteilen.
    if (!rechnen()) return h;
    std::vector<double> gesamt;
    for (int a = 0; a < n; ++a) gesamt.push_back(*ZielWert(*objekt, a));
    std::vector<std::vector<double>> beitraege;
    for (const TQuellwerte& q : quellen) {
        allein(&q);
        if (!rechnen()) return h;
        std::vector<double> b;
        for (int a = 0; a < n; ++a) b.push_back(*ZielWert(*objekt, a));
        beitraege.push_back(std::move(b));
        h.Quellen.push_back(q.Quelle->FONr);
        h.Wegstroeme.push_back(Wegstroeme(m));
    }
    for (int a = 0; a < n; ++a)
        for (size_t i = 0; i < quellen.size(); ++i) {
            const double strom = beitraege[i][static_cast<size_t>(a)];
            if (strom == 0.0) continue;
            const double ganz = gesamt[static_cast<size_t>(a)];
            h.Zeilen.push_back({a, artikelName(a), quellen[i].Quelle->FONr, quellen[i].Quelle->Name,
                                ganz != 0.0 ? strom / ganz * 100.0 : 0.0, strom});
        }
    return h;
}

std::vector<uint32_t> WegeDesBeitrags(const TModell& modell, const THerkunft& h, size_t zeile) {
    if (zeile >= h.Zeilen.size()) return {};
    const uint32_t quelle = h.VonQuelle ? h.Objekt : h.Zeilen[zeile].FONr;
    const uint32_t ziel = h.VonQuelle ? h.Zeilen[zeile].FONr : h.Objekt;
    const std::unordered_map<uint32_t, double>* stroeme = nullptr;
    for (size_t i = 0; i < h.Quellen.size(); ++i)
        if (h.Quellen[i] == quelle) stroeme = &h.Wegstroeme[i];
    if (stroeme == nullptr) return {};
    // Rückwärts vom Ziel: jeder Weg, von dem aus es zu erreichen ist.
    std::vector<const TWeg*> offen;
    const TFO* z = modell.FOListe.NrSuchen(ziel);
    if (z == nullptr) return {};
    const auto eingaenge = [&](const TKnoten* k) {
        for (int e = 0; k != nullptr && e < k->AnzahlEingaenge(); ++e) offen.push_back(k->GetEingang(e));
    };
    if (const TWeg* w = z->AlsWeg()) offen.push_back(w);
    else eingaenge(z->AlsKnoten());
    std::unordered_map<uint32_t, bool> gesehen;
    std::vector<uint32_t> wege;
    while (!offen.empty()) {
        const TWeg* w = offen.back();
        offen.pop_back();
        if (w == nullptr || !gesehen.emplace(w->FONr, true).second) continue;
        if (stroeme->count(w->FONr) == 0) continue; // der Beitrag nimmt diesen Weg nicht
        wege.push_back(w->FONr);
        eingaenge(w->Start());
    }
    std::sort(wege.begin(), wege.end());
    return wege;
}

std::string HerkunftAlsCsv(const THerkunft& h) {
    const auto feld = [](const std::string& ansi) { return CsvFeld(Utf8AusAnsi(ansi)); };
    std::string csv = h.VonQuelle ? "Artikel,SenkeFONr,Senke,Anteil,Strom\r\n" : "Artikel,QuelleFONr,Quelle,Anteil,Strom\r\n";
    for (const THerkunftsZeile& z : h.Zeilen)
        csv += feld(z.ArtikelName) + "," + std::to_string(z.FONr) + "," + feld(z.Name) + "," + TextAusFloat(z.Anteil, '.') +
               "," + TextAusFloat(z.Strom, '.') + "\r\n";
    return csv;
}

} // namespace tessomir
