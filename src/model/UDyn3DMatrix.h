#pragma once
// Dreidimensionale Verteilungsmatrix (Artikel x Eingangsscheibe x Ausgangsscheibe).
// Die Zellen liegen zusammenhängend in einem Vektor; jede Dimension ist >= 1.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "UWerte.h"

namespace tessomir {

class TDyn3DMatrix {
public:
    // Größen unter 1 melden "Dim kleiner 1" und werden auf 1 gesetzt.
    // Anfangswerte a*100 + b*10 + c.
    TDyn3DMatrix(int d1, int d2, int d3);

    int Dim1() const { return D1; }
    int Dim2() const { return D2; }
    int Dim3() const { return D3; }

    void Erweitern(int dim);
    void IndexEntfernen(int dim, int index);

    // Zelle oder nullptr außerhalb der Größen.
    double* Zelle(int a, int b, int c);
    const double* Zelle(int a, int b, int c) const;
    void ZelleSetzen(int a, int b, int c, double wert);
    // Ungeprüfter Zugriff für die Berechnung; Indizes müssen gültig sein.
    double& W(int a, int b, int c) { return Zellen[Index(a, b, c)]; }
    double W(int a, int b, int c) const { return Zellen[Index(a, b, c)]; }

    void AlleSetzen(double wert);
    double Zeilensumme(int a, int b, int n) const;

    std::unique_ptr<TDyn3DMatrix> Kopie() const;
    std::string DimText() const;
    std::string ZeilenText(int a, int b, char trenner = DateiTrenner) const;
    void ZeilenTextAnhaengen(std::string& ziel, int a, int b, char trenner = DateiTrenner) const;
    void ZeilenTextLesen(int a, int b, std::string_view text, char trenner = DateiTrenner);

    // Rohzugriff für die Berechnung: Zelle (a, b, c) liegt bei
    // Daten()[a * ArtikelSchritt() + b * Dim3() + c].
    double* Daten() { return Zellen.data(); }
    const double* Daten() const { return Zellen.data(); }
    size_t ArtikelSchritt() const { return static_cast<size_t>(D2) * static_cast<size_t>(D3); }

    size_t AnzahlZellen() const { return Zellen.size(); }
    size_t Speicherbedarf() const { return sizeof(*this) + Zellen.capacity() * sizeof(double); }

private:
    size_t Index(int a, int b, int c) const {
        return (static_cast<size_t>(a) * static_cast<size_t>(D2) + static_cast<size_t>(b)) *
                   static_cast<size_t>(D3) + static_cast<size_t>(c);
    }
    bool Gueltig(int a, int b, int c) const {
        return a >= 0 && b >= 0 && c >= 0 && a < D1 && b < D2 && c < D3;
    }

    int D1 = 1;
    int D2 = 1;
    int D3 = 1;
    std::vector<double> Zellen;
};

} // namespace tessomir
