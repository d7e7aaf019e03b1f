#pragma once
// Ausnahmeklassen des Kerns. Die Namen folgen den Fehlerarten, die der
// auslösende Befehl unterscheiden muss (Umwandlung, Bereich, Liste, Datei, Modell).
#include <stdexcept>
#include <string>

namespace tessomir {

class EFehler : public std::runtime_error {
public:
    explicit EFehler(const std::string& meldung) : std::runtime_error(meldung) {}
    // 'grund': was ein Anwender ohne Kenntnis des Dateiformats versteht.
    EFehler(const std::string& meldung, std::string grund)
        : std::runtime_error(meldung), GrundText(std::move(grund)) {}

    // Der verständliche Grund, ohne eigenen die Meldung selbst.
    std::string Grund() const { return GrundText.empty() ? std::string(what()) : GrundText; }
    void GrundSetzen(std::string grund) { GrundText = std::move(grund); }
    bool HatEigenenGrund() const { return !GrundText.empty(); }
    // Wo der Fehler liegt ("Zeile 17, Objekt [ Band 3 ]"); der Lesende setzt
    // es, während die Ausnahme zu ihm hochläuft.
    const std::string& Ort() const { return OrtText; }
    void OrtSetzen(std::string ort) { OrtText = std::move(ort); }
    // Ort und Grund in einem Satz, für die zweite Zeile einer Meldung.
    std::string OrtUndGrund() const { return OrtText.empty() ? Grund() : OrtText + ": " + Grund(); }

private:
    std::string GrundText;
    std::string OrtText;
};

// Text ist keine Zahl.
class EConvertError : public EFehler { using EFehler::EFehler; };
// Wert außerhalb des erlaubten Bereichs.
class ERangeError : public EFehler { using EFehler::EFehler; };
// Ganzzahlüberlauf (Zähler, Seitenversatz).
class EIntOverflow : public EFehler { using EFehler::EFehler; };
// Zugriff hinter das Ende einer Liste (Datei zu kurz).
class EListError : public EFehler { using EFehler::EFehler; };
// Doppelter Eintrag in einer Liste ohne Duplikate.
class EStringListError : public EFehler { using EFehler::EFehler; };
// Datei lässt sich nicht öffnen.
class EFOpenError : public EFehler { using EFehler::EFehler; };
// Datei lässt sich nicht anlegen oder schreiben.
class EFCreateError : public EFehler { using EFehler::EFehler; };
// Modelldatei fehlerhaft.
class EModellErzeugen : public EFehler { using EFehler::EFehler; };
// Aufruf, den der Zustand nicht erlaubt (ein Weg an einen zweiten Startknoten).
class EInvalidOperation : public EFehler { using EFehler::EFehler; };

} // namespace tessomir
