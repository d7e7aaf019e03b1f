#pragma once
// Was ein Schritt von einer Matrix behält: den Unterschied zweier Stände
// (eine Scheibe mehr oder weniger, sonst beide ganz), und was das An- und
// Abhängen eines Wegs an einem Knoten an dessen Matrix ändert.
#include <cstddef>
#include <optional>
#include <vector>

#include "model/UDyn3DMatrix.h"

namespace tessomir {

class TKnoten;
class TWeg;

// Unterschied zweier Matrizen: gleich, eine Scheibe mehr oder weniger in einer
// Dimension (nur die Scheibe wird gehalten) oder, wenn nichts davon passt, beide ganz.
class TMatrixDifferenz {
public:
    static TMatrixDifferenz Zwischen(const TDyn3DMatrix& vorher, const TDyn3DMatrix& nachher);
    bool Gleich() const { return Art == TArt::Gleich; }
    TDyn3DMatrix Nachher(const TDyn3DMatrix& vorher) const;
    TDyn3DMatrix Vorher(const TDyn3DMatrix& nachher) const;
    size_t Speicherbedarf() const;

private:
    enum class TArt { Gleich, Hinzu, Weg, Ganz };
    TArt Art = TArt::Gleich;
    int Dim = 0;
    int Index = 0;
    std::vector<double> Werte;
    std::optional<TDyn3DMatrix> Alt;
    std::optional<TDyn3DMatrix> Neu;
};

// Die Scheibe 'index' der Dimension 'dim' (1..3) in Zeilenfolge der beiden anderen.
std::vector<double> ScheibeLesen(const TDyn3DMatrix& m, int dim, int index);
// Kopie mit der Scheibe an 'index'; ERangeError, wenn Stelle oder Größe nicht passen.
TDyn3DMatrix MitScheibe(const TDyn3DMatrix& m, int dim, int index, const std::vector<double>& werte);

// Ein Wegende an einem Knoten: die Stelle unter dessen Aus- oder Eingängen
// und was das Anbinden an seiner Matrix ändert.
struct TAnbindung {
    TWeg* Weg = nullptr;
    TKnoten* Knoten = nullptr; // nullptr: das Ende hing an keinem Knoten
    bool Ausgang = true;
    int Stelle = -1;
    TMatrixDifferenz Matrix; // vom gelösten zum angebundenen Stand

    // Bindet an der alten Stelle an; die Matrix wird genau die angebundene.
    void Anbinden() const;
    void Loesen() const;
    size_t Speicherbedarf() const;
};

// Bindet das Ende an und merkt sich, was dabei geschah.
TAnbindung AnbindenUndMerken(TWeg& weg, TKnoten& knoten, bool ausgang);
// Löst das Ende vom Start- (ausgang) oder Zielknoten und merkt es sich.
TAnbindung LoesenUndMerken(TWeg& weg, bool ausgang);
// Kopie ohne die Scheibe 'index' der Dimension 'dim'.
TDyn3DMatrix OhneScheibe(const TDyn3DMatrix& m, int dim, int index);

} // namespace tessomir
