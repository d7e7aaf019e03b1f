#pragma once
// Wiederherstellung nach einem Absturz: solange ein Modell geändert ist, liegt
// eine Kopie im Datenordner des Anwenders, daneben eine Ortsdatei mit der
// Nummer des Prozesses und dem ursprünglichen Pfad. Ein sauberes Ende räumt
// beides weg; was ein Prozess hinterließ, der nicht mehr läuft, bietet der
// nächste Start an.
#include <memory>
#include <string>
#include <vector>

#include "model/UModell.h"

namespace tessomir {

// $XDG_DATA_HOME (sonst ~/.local/share) + "/Belcorra/Tessomir/Wiederherstellung".
std::string WiederherstellungsOrdner();

// Eine Kopie, die ein beendeter Prozess hinterließ.
struct TWiederherstellungsFund {
    std::string Kopie;    // die Modelldatei der Kopie
    std::string Ort;      // die Ortsdatei daneben
    std::string Original; // wo das Modell gespeichert war ("NEU.TSR" für ein neues)
};

class TWiederherstellung {
public:
    // 'ordner' leer: WiederherstellungsOrdner().
    explicit TWiederherstellung(std::string ordner = {});
    ~TWiederherstellung();
    TWiederherstellung(const TWiederherstellung&) = delete;
    TWiederherstellung& operator=(const TWiederherstellung&) = delete;

    // Schreibt die Kopie des Modells (sicher wie Speichern); false, wenn das
    // nicht ging. Der Pfad des Modells bleibt, wie er ist.
    bool Sichern(const TModell& modell);
    // Entfernt die eigene Kopie (nach Speichern, Verwerfen, sauberem Schliessen).
    void Verwerfen();
    bool HatKopie() const { return Geschrieben; }

    // Kopien von Prozessen, die nicht mehr laufen, älteste zuerst.
    std::vector<TWiederherstellungsFund> Finden() const;
    // Öffnet eine Kopie als geändertes Modell unter ihrem ursprünglichen Namen;
    // nullptr und 'grund', wenn sie sich nicht lesen lässt. Die Kopie bleibt
    // liegen, bis der Aufrufer eine eigene geschrieben hat (dann Entfernen).
    static std::unique_ptr<TModell> Oeffnen(const TWiederherstellungsFund& fund, std::string& grund);
    // Löscht eine fremde Kopie ("Nein").
    static void Entfernen(const TWiederherstellungsFund& fund);

    const std::string& Ordner() const { return OrdnerPfad; }
    std::string Kopie() const;

private:
    std::string OrdnerPfad;
    std::string Stamm; // Dateiname ohne Endung: Prozessnummer und Zähler
    bool Geschrieben = false;
};

} // namespace tessomir
