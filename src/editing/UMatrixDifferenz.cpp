#include "editing/UMatrixDifferenz.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

#include "base/UFehler.h"
#include "model/UKnoten.h"

namespace tessomir {
namespace {

int Groesse(const TDyn3DMatrix& m, int dim) { return dim == 1 ? m.Dim1() : dim == 2 ? m.Dim2() : m.Dim3(); }

// Größen der beiden anderen Dimensionen.
std::pair<int, int> Quer(const TDyn3DMatrix& m, int dim) {
    if (dim == 1) return {m.Dim2(), m.Dim3()};
    if (dim == 2) return {m.Dim1(), m.Dim3()};
    return {m.Dim1(), m.Dim2()};
}

double Wert(const TDyn3DMatrix& m, int dim, int s, int i, int j) {
    if (dim == 1) return m.W(s, i, j);
    if (dim == 2) return m.W(i, s, j);
    return m.W(i, j, s);
}

void Setzen(TDyn3DMatrix& m, int dim, int s, int i, int j, double w) {
    if (dim == 1) m.W(s, i, j) = w;
    else if (dim == 2) m.W(i, s, j) = w;
    else m.W(i, j, s) = w;
}

// Bitgleich: die Datei schreibt -0 und NaN anders als 0 und jede Zahl.
bool Gleich(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

bool ScheibenGleich(const TDyn3DMatrix& a, int sa, const TDyn3DMatrix& b, int sb, int dim) {
    const auto [n, k] = Quer(a, dim);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < k; ++j)
            if (!Gleich(Wert(a, dim, sa, i, j), Wert(b, dim, sb, i, j))) return false;
    return true;
}

bool MatrizenBitgleich(const TDyn3DMatrix& a, const TDyn3DMatrix& b) {
    if (a.Dim1() != b.Dim1() || a.Dim2() != b.Dim2() || a.Dim3() != b.Dim3()) return false;
    return std::equal(a.Daten(), a.Daten() + a.AnzahlZellen(), b.Daten(), Gleich);
}

// Dimension und Stelle, an der 'gross' genau eine Scheibe mehr hat als 'klein'.
std::optional<std::pair<int, int>> ScheibeFinden(const TDyn3DMatrix& klein, const TDyn3DMatrix& gross) {
    int dim = 0;
    for (int d = 1; d <= 3; ++d) {
        const int k = Groesse(klein, d), g = Groesse(gross, d);
        if (g == k) continue;
        if (g != k + 1 || dim != 0) return std::nullopt;
        dim = d;
    }
    if (dim == 0) return std::nullopt;
    const int n = Groesse(gross, dim);
    int index = n - 1;
    for (int s = 0; s + 1 < n; ++s) {
        if (!ScheibenGleich(gross, s, klein, s, dim)) {
            index = s;
            break;
        }
    }
    for (int s = index + 1; s < n; ++s)
        if (!ScheibenGleich(gross, s, klein, s - 1, dim)) return std::nullopt;
    return std::pair{dim, index};
}


void WegSetzen(TWeg& weg, TKnoten* knoten, bool ausgang) {
    if (ausgang) weg.SetStart(knoten);
    else weg.SetZiel(knoten);
}

int StelleAm(const TKnoten& knoten, const TWeg& weg, bool ausgang) {
    return ausgang ? knoten.AusgangIndex(&weg) : knoten.EingangIndex(&weg);
}

} // namespace

TDyn3DMatrix OhneScheibe(const TDyn3DMatrix& m, int dim, int index) {
    if (index < 0 || index >= Groesse(m, dim) || Groesse(m, dim) < 2)
        throw ERangeError("Verlauf: Scheibe " + std::to_string(index) + " fehlt in der Matrix " + m.DimText());
    TDyn3DMatrix r = m;
    r.IndexEntfernen(dim, index);
    return r;
}

// ---------------------------------------------------------------- Matrizen

std::vector<double> ScheibeLesen(const TDyn3DMatrix& m, int dim, int index) {
    if (dim < 1 || dim > 3 || index < 0 || index >= Groesse(m, dim))
        throw ERangeError("Verlauf: Scheibe " + std::to_string(index) + " fehlt in der Matrix " + m.DimText());
    const auto [n, k] = Quer(m, dim);
    std::vector<double> werte;
    werte.reserve(static_cast<size_t>(n) * static_cast<size_t>(k));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < k; ++j) werte.push_back(Wert(m, dim, index, i, j));
    return werte;
}

TDyn3DMatrix MitScheibe(const TDyn3DMatrix& m, int dim, int index, const std::vector<double>& werte) {
    const auto [n, k] = Quer(m, dim);
    if (dim < 1 || dim > 3 || index < 0 || index > Groesse(m, dim) ||
        werte.size() != static_cast<size_t>(n) * static_cast<size_t>(k))
        throw ERangeError("Verlauf: Scheibe " + std::to_string(index) + " passt nicht in die Matrix " + m.DimText());
    TDyn3DMatrix r(m.Dim1() + (dim == 1), m.Dim2() + (dim == 2), m.Dim3() + (dim == 3));
    for (int s = 0; s < Groesse(r, dim); ++s) {
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < k; ++j) {
                const double w = s < index    ? Wert(m, dim, s, i, j)
                                 : s == index ? werte[static_cast<size_t>(i) * static_cast<size_t>(k) + static_cast<size_t>(j)]
                                              : Wert(m, dim, s - 1, i, j);
                Setzen(r, dim, s, i, j, w);
            }
        }
    }
    return r;
}

TMatrixDifferenz TMatrixDifferenz::Zwischen(const TDyn3DMatrix& vorher, const TDyn3DMatrix& nachher) {
    TMatrixDifferenz d;
    if (MatrizenBitgleich(vorher, nachher)) return d;
    if (const auto hinzu = ScheibeFinden(vorher, nachher)) {
        d.Art = TArt::Hinzu;
        d.Dim = hinzu->first;
        d.Index = hinzu->second;
        d.Werte = ScheibeLesen(nachher, d.Dim, d.Index);
    } else if (const auto weg = ScheibeFinden(nachher, vorher)) {
        d.Art = TArt::Weg;
        d.Dim = weg->first;
        d.Index = weg->second;
        d.Werte = ScheibeLesen(vorher, d.Dim, d.Index);
    } else {
        d.Art = TArt::Ganz;
        d.Alt = vorher;
        d.Neu = nachher;
    }
    return d;
}

TDyn3DMatrix TMatrixDifferenz::Nachher(const TDyn3DMatrix& vorher) const {
    switch (Art) {
    case TArt::Hinzu: return MitScheibe(vorher, Dim, Index, Werte);
    case TArt::Weg: return OhneScheibe(vorher, Dim, Index);
    case TArt::Ganz: return *Neu;
    default: return vorher;
    }
}

TDyn3DMatrix TMatrixDifferenz::Vorher(const TDyn3DMatrix& nachher) const {
    switch (Art) {
    case TArt::Hinzu: return OhneScheibe(nachher, Dim, Index);
    case TArt::Weg: return MitScheibe(nachher, Dim, Index, Werte);
    case TArt::Ganz: return *Alt;
    default: return nachher;
    }
}

size_t TMatrixDifferenz::Speicherbedarf() const {
    return sizeof(*this) + Werte.capacity() * sizeof(double) + (Alt ? Alt->Speicherbedarf() : 0) +
           (Neu ? Neu->Speicherbedarf() : 0);
}

// ---------------------------------------------------------------- Anbindungen

void TAnbindung::Anbinden() const {
    if (Knoten == nullptr) return;
    TDyn3DMatrix ziel = Matrix.Nachher(Knoten->Matrix());
    // Die Knoten hängen neue Wege hinten an: spätere lösen und danach wieder anbinden.
    std::vector<TWeg*> dahinter;
    if (Stelle >= 0) {
        const int anzahl = Ausgang ? Knoten->AnzahlAusgaenge() : Knoten->AnzahlEingaenge();
        for (int i = anzahl - 1; i >= Stelle; --i) {
            TWeg* w = Ausgang ? Knoten->GetAusgang(i) : Knoten->GetEingang(i);
            if (w == nullptr) continue;
            dahinter.push_back(w);
            WegSetzen(*w, nullptr, Ausgang);
        }
    }
    WegSetzen(*Weg, Knoten, Ausgang);
    for (auto it = dahinter.rbegin(); it != dahinter.rend(); ++it) WegSetzen(**it, Knoten, Ausgang);
    Knoten->Matrix() = std::move(ziel);
}

void TAnbindung::Loesen() const {
    if (Knoten == nullptr) return;
    TDyn3DMatrix ziel = Matrix.Vorher(Knoten->Matrix());
    WegSetzen(*Weg, nullptr, Ausgang);
    Knoten->Matrix() = std::move(ziel);
}

size_t TAnbindung::Speicherbedarf() const { return sizeof(*this) - sizeof(Matrix) + Matrix.Speicherbedarf(); }

TAnbindung AnbindenUndMerken(TWeg& weg, TKnoten& knoten, bool ausgang) {
    const TDyn3DMatrix vorher = knoten.Matrix();
    WegSetzen(weg, &knoten, ausgang);
    TAnbindung a{&weg, &knoten, ausgang, StelleAm(knoten, weg, ausgang), {}};
    a.Matrix = TMatrixDifferenz::Zwischen(vorher, knoten.Matrix());
    return a;
}

TAnbindung LoesenUndMerken(TWeg& weg, bool ausgang) {
    TKnoten* knoten = ausgang ? weg.Start() : weg.Ziel();
    TAnbindung a{&weg, knoten, ausgang, -1, {}};
    if (knoten == nullptr) return a;
    a.Stelle = StelleAm(*knoten, weg, ausgang);
    const TDyn3DMatrix angebunden = knoten->Matrix();
    WegSetzen(weg, nullptr, ausgang);
    a.Matrix = TMatrixDifferenz::Zwischen(knoten->Matrix(), angebunden);
    return a;
}

} // namespace tessomir
