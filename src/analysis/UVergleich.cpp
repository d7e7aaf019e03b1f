#include "analysis/UVergleich.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "analysis/UBilanz.h"
#include "base/UText.h"
#include "base/UWerte.h"
#include "persistence/UStromCsv.h"

namespace tessomir {
namespace {

// Nur Knoten und Wege nehmen am Vergleich teil.
bool Netzobjekt(const TFO& o) { return o.AlsKnoten() != nullptr || o.AlsWeg() != nullptr; }

std::string Benannt(const TFO& o) { return o.Titel() + " #" + std::to_string(o.FONr); }

double Strom(const TFO& o, int artikel) {
    if (const TWeg* w = o.AlsWeg()) return WegStrom(*w, artikel);
    return VerzweigungsStrom(static_cast<const TVerzweigung&>(*o.AlsKnoten()), artikel);
}

bool Verglichen(const TFO& o) {
    return o.AlsWeg() != nullptr || (o.AlsKnoten() != nullptr && o.AlsKnoten()->Art() == TKnotenArt::Verzweigung);
}

} // namespace

std::optional<double> TVergleichsZeile::Prozent() const {
    if (StromA == 0.0) return std::nullopt;
    return Differenz() / StromA * 100.0;
}

TVergleich Vergleichen(const TModell& a, const TModell& b, bool summe) {
    TVergleich v;
    std::unordered_map<uint32_t, const TFO*> inB;
    for (const auto& o : b.FOListe.Alle())
        if (Netzobjekt(*o)) inB.emplace(o->FONr, o.get());
    std::unordered_map<uint32_t, const TFO*> inA;
    for (const auto& o : a.FOListe.Alle())
        if (Netzobjekt(*o)) inA.emplace(o->FONr, o.get());
    // Artikel nach ihrer Stelle; was nur eine Seite hat, fehlt im Vergleich.
    const int artikel = std::min(a.AnzahlArtikel(), b.AnzahlArtikel());
    for (int i = 0; i < std::max(a.AnzahlArtikel(), b.AnzahlArtikel()); ++i) {
        const size_t k = static_cast<size_t>(i);
        if (i >= artikel)
            v.Abweichungen.push_back("Artikel " + std::to_string(i + 1) + " (" +
                                     (i < a.AnzahlArtikel() ? a.ArtikelListe[k] : b.ArtikelListe[k]) +
                                     ") gibt es nur in " + (i < a.AnzahlArtikel() ? "A" : "B"));
        else if (a.ArtikelListe[k] != b.ArtikelListe[k])
            v.Abweichungen.push_back("Artikel " + std::to_string(i + 1) + " heisst in A " + a.ArtikelListe[k] +
                                     ", in B " + b.ArtikelListe[k]);
    }
    std::vector<TVergleichsZeile> verzweigungen;
    for (const auto& o : a.FOListe.Alle()) {
        if (!Netzobjekt(*o)) continue;
        const auto gegenueber = inB.find(o->FONr);
        if (gegenueber == inB.end()) {
            v.NurInA.push_back(Benannt(*o));
            continue;
        }
        const TFO& p = *gegenueber->second;
        // Nummer erst als eigener Text: "lit" + to_string stört GCC 12 (-Wrestrict).
        std::string nummer = "#";
        nummer += std::to_string(o->FONr);
        if (ArtText(p) != ArtText(*o)) {
            v.Abweichungen.push_back(nummer + " ist in A " + ArtText(*o) + ", in B " + ArtText(p));
            continue;
        }
        if (p.Name != o->Name)
            v.Abweichungen.push_back(nummer + " heisst in A " + Gekuerzt(o->Name) + ", in B " + Gekuerzt(p.Name));
        if (!Verglichen(*o)) continue;
        std::vector<TVergleichsZeile>& ziel = o->AlsWeg() != nullptr ? v.Zeilen : verzweigungen;
        const auto zeile = [&](int art, const std::string& name) {
            ziel.push_back({o->FONr, o.get(), o->Name, art, name, Strom(*o, art), Strom(p, art)});
        };
        if (summe) zeile(SummeArtikel, "Summe");
        else
            for (int i = 0; i < artikel; ++i) zeile(i, a.ArtikelListe[static_cast<size_t>(i)]);
    }
    v.Zeilen.insert(v.Zeilen.end(), verzweigungen.begin(), verzweigungen.end());
    for (const auto& o : b.FOListe.Alle())
        if (Netzobjekt(*o) && inA.count(o->FONr) == 0) v.NurInB.push_back(Benannt(*o));
    return v;
}

std::string VergleichAlsCsv(const TVergleich& v) {
    const auto zahl = [](double x) { return TextAusFloat(x, '.'); };
    std::string csv = "FONr,Name,Artikel,StromA,StromB,Differenz,Prozent\r\n";
    for (const TVergleichsZeile& z : v.Zeilen) {
        const std::optional<double> p = z.Prozent();
        csv += std::to_string(z.FONr) + "," + CsvFeld(Utf8AusAnsi(z.Name)) + "," + CsvFeld(Utf8AusAnsi(z.ArtikelName)) +
               "," + zahl(z.StromA) + "," + zahl(z.StromB) + "," + zahl(z.Differenz()) + "," + (p ? zahl(*p) : "") +
               "\r\n";
    }
    return csv;
}

std::vector<const TVergleichsZeile*> NachGroesse(const TVergleich& v) {
    std::vector<const TVergleichsZeile*> z;
    z.reserve(v.Zeilen.size());
    for (const TVergleichsZeile& r : v.Zeilen) z.push_back(&r);
    std::stable_sort(z.begin(), z.end(), [](const TVergleichsZeile* x, const TVergleichsZeile* y) {
        return std::fabs(x->Differenz()) > std::fabs(y->Differenz());
    });
    return z;
}

} // namespace tessomir
