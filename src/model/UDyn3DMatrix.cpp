#include "UDyn3DMatrix.h"

#include <algorithm>

#include "UFehler.h"
#include "UPlattform.h"

namespace tessomir {

TDyn3DMatrix::TDyn3DMatrix(int d1, int d2, int d3) {
    if (d1 < 1 || d2 < 1 || d3 < 1) {
        Plattform().Meldungen->Fehler("Dim kleiner 1");
        d1 = std::max(d1, 1);
        d2 = std::max(d2, 1);
        d3 = std::max(d3, 1);
    }
    D1 = d1;
    D2 = d2;
    D3 = d3;
    Zellen.resize(static_cast<size_t>(D1) * static_cast<size_t>(D2) * static_cast<size_t>(D3));
    size_t i = 0;
    for (int a = 0; a < D1; ++a)
        for (int b = 0; b < D2; ++b)
            for (int c = 0; c < D3; ++c) Zellen[i++] = a * 100.0 + b * 10.0 + c;
}

void TDyn3DMatrix::Erweitern(int dim) {
    if (dim < 1 || dim > 3) return;
    const int n1 = D1 + (dim == 1 ? 1 : 0);
    const int n2 = D2 + (dim == 2 ? 1 : 0);
    const int n3 = D3 + (dim == 3 ? 1 : 0);
    if (dim == 1) {
        // Neuer Artikel hängt einfach hinten an.
        Zellen.resize(static_cast<size_t>(n1) * static_cast<size_t>(n2) * static_cast<size_t>(n3), 0.0);
        D1 = n1;
        return;
    }
    std::vector<double> neu(static_cast<size_t>(n1) * static_cast<size_t>(n2) * static_cast<size_t>(n3), 0.0);
    for (int a = 0; a < D1; ++a)
        for (int b = 0; b < D2; ++b)
            for (int c = 0; c < D3; ++c)
                neu[(static_cast<size_t>(a) * n2 + static_cast<size_t>(b)) * n3 + static_cast<size_t>(c)] = W(a, b, c);
    Zellen.swap(neu);
    D2 = n2;
    D3 = n3;
}

void TDyn3DMatrix::IndexEntfernen(int dim, int index) {
    if (dim < 1 || dim > 3 || index < 0) return;
    const int groesse = dim == 1 ? D1 : dim == 2 ? D2 : D3;
    if (groesse < 2 || index >= groesse) return;
    const int n1 = D1 - (dim == 1 ? 1 : 0);
    const int n2 = D2 - (dim == 2 ? 1 : 0);
    const int n3 = D3 - (dim == 3 ? 1 : 0);
    std::vector<double> neu;
    neu.reserve(static_cast<size_t>(n1) * static_cast<size_t>(n2) * static_cast<size_t>(n3));
    for (int a = 0; a < D1; ++a) {
        if (dim == 1 && a == index) continue;
        for (int b = 0; b < D2; ++b) {
            if (dim == 2 && b == index) continue;
            for (int c = 0; c < D3; ++c) {
                if (dim == 3 && c == index) continue;
                neu.push_back(W(a, b, c));
            }
        }
    }
    Zellen.swap(neu);
    D1 = n1;
    D2 = n2;
    D3 = n3;
}

double* TDyn3DMatrix::Zelle(int a, int b, int c) {
    return Gueltig(a, b, c) ? &Zellen[Index(a, b, c)] : nullptr;
}

const double* TDyn3DMatrix::Zelle(int a, int b, int c) const {
    return Gueltig(a, b, c) ? &Zellen[Index(a, b, c)] : nullptr;
}

void TDyn3DMatrix::ZelleSetzen(int a, int b, int c, double wert) {
    if (Gueltig(a, b, c)) Zellen[Index(a, b, c)] = wert;
}

void TDyn3DMatrix::AlleSetzen(double wert) { std::fill(Zellen.begin(), Zellen.end(), wert); }

double TDyn3DMatrix::Zeilensumme(int a, int b, int n) const {
    if (a < 0 || b < 0 || a >= D1 || b >= D2) return 0.0;
    n = std::min(n, D3);
    double summe = 0.0;
    for (int c = 1; c < n; ++c) summe += W(a, b, c);
    return summe;
}

std::unique_ptr<TDyn3DMatrix> TDyn3DMatrix::Kopie() const { return std::make_unique<TDyn3DMatrix>(*this); }

std::string TDyn3DMatrix::DimText() const {
    return std::to_string(D1) + " / " + std::to_string(D2) + " / " + std::to_string(D3);
}

std::string TDyn3DMatrix::ZeilenText(int a, int b, char trenner) const {
    std::string s;
    ZeilenTextAnhaengen(s, a, b, trenner);
    return s;
}

void TDyn3DMatrix::ZeilenTextAnhaengen(std::string& ziel, int a, int b, char trenner) const {
    if (a < 0 || b < 0 || a >= D1 || b >= D2) return;
    for (int c = 0; c < D3; ++c) {
        if (c > 0) ziel += " / ";
        ziel += TextAusFloat(W(a, b, c), trenner);
    }
}

void TDyn3DMatrix::ZeilenTextLesen(int a, int b, std::string_view text, char trenner) {
    for (int c = 0; c < D3; ++c) ZelleSetzen(a, b, c, FloatAusText(NaechstesFeld(text), trenner));
}

} // namespace tessomir
