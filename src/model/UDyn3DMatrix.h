#pragma once
// Dreidimensionale Verteilungsmatrix (Artikel x Eingangsscheibe x Ausgangsscheibe).
// Die Zellen liegen zusammenhängend; jede Dimension ist >= 1.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/UWerte.h"

namespace tessomir {

struct TZellblock;

// Zellen vieler Matrizen in wenigen großen Blöcken statt je einer
// Anforderung (beim Laden einer Datei): die Zellen liegen in Lesefolge
// hintereinander. Jeder Block zählt die Matrizen in ihm und geht mit der
// letzten, auch wenn der Vorrat schon fort ist.
class TZellvorrat {
public:
    static constexpr size_t BlockBytes = size_t{32} << 20;
    // Ab dieser Textgröße lohnt sich ein Vorrat beim Laden.
    static constexpr size_t LohntAb = size_t{4} << 20;
    TZellvorrat() = default;
    ~TZellvorrat();
    TZellvorrat(const TZellvorrat&) = delete;
    TZellvorrat& operator=(const TZellvorrat&) = delete;

    // Platz für 'anzahl' Zellen auf einer 16-Byte-Grenze, der Block zählt den
    // Nutzer; nullptr, wenn kein Block zu bekommen ist oder die Matrix zu groß ist.
    double* Anfordern(size_t anzahl, TZellblock*& block);
    // Belegte Bytes aller Blöcke, die noch leben (für Messungen des Speicherbedarfs).
    static size_t BelegteBytesGesamt();

private:
    TZellblock* Aktuell = nullptr;
};

class TDyn3DMatrix {
public:
    // Größen unter 1 melden "Dim kleiner 1" und werden auf 1 gesetzt.
    // Anfangswerte a*100 + b*10 + c.
    // Mit 'vorrat' kommen die Zellen, wenn möglich, aus ihm.
    TDyn3DMatrix(int d1, int d2, int d3, TZellvorrat* vorrat = nullptr);
    TDyn3DMatrix(const TDyn3DMatrix& andere);
    TDyn3DMatrix(TDyn3DMatrix&& andere) noexcept;
    TDyn3DMatrix& operator=(const TDyn3DMatrix& andere);
    TDyn3DMatrix& operator=(TDyn3DMatrix&& andere) noexcept;
    ~TDyn3DMatrix() { Freigeben(); }

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
    double* Daten() { return Zellen; }
    const double* Daten() const { return Zellen; }
    size_t ArtikelSchritt() const { return static_cast<size_t>(D2) * static_cast<size_t>(D3); }

    size_t AnzahlZellen() const { return Anzahl; }
    size_t Speicherbedarf() const { return sizeof(*this) + Anzahl * sizeof(double); }

private:
    size_t Index(int a, int b, int c) const {
        return (static_cast<size_t>(a) * static_cast<size_t>(D2) + static_cast<size_t>(b)) *
                   static_cast<size_t>(D3) + static_cast<size_t>(c);
    }
    bool Gueltig(int a, int b, int c) const {
        return a >= 0 && b >= 0 && c >= 0 && a < D1 && b < D2 && c < D3;
    }

    // Ungefüllte Zellen aus dem Vorrat oder vom Heap.
    static double* ZellenAnlegen(size_t anzahl, TZellvorrat* vorrat, TZellblock*& block);
    void Freigeben() noexcept;
    // Übernimmt neue Zellen und gibt die alten frei.
    void Ersetzen(double* zellen, size_t anzahl, TZellblock* block) noexcept;

    int D1 = 1;
    int D2 = 1;
    int D3 = 1;
    double* Zellen = nullptr;
    size_t Anzahl = 0;
    TZellblock* Block = nullptr; // nullptr: Zellen gehören dem Heap

};

} // namespace tessomir
