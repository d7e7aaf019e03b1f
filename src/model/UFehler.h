#pragma once
// Ausnahmeklassen des Kerns. Die Namen folgen den Fehlerarten, die der
// auslösende Befehl unterscheiden muss (Umwandlung, Bereich, Liste, Datei, Modell).
#include <stdexcept>
#include <string>

namespace tessomir {

class EFehler : public std::runtime_error {
public:
    explicit EFehler(const std::string& meldung) : std::runtime_error(meldung) {}
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

} // namespace tessomir
