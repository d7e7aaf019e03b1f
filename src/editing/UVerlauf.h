#pragma once
// Rückgängig und Wiederholen: je Änderung am Modell ein Schritt, der nur hält,
// was sich geändert hat (Stellen, Scheiben, alte und neue Werte), damit das
// Zurücknehmen die Modelldatei Byte für Byte wiederherstellt und der
// Speicher mit der Änderung wächst, nicht mit dem Modell. Die Auswahl gehört
// zu keinem Schritt. Jede Änderung mit Rückgängig geht durch Ausfuehren:
// ein Schritt wird erst gebaut, dann ausgeführt und aufgenommen.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "model/UModell.h"

namespace tessomir {

class TSchritt {
public:
    virtual ~TSchritt() = default;
    // Name für "Rückgängig: ..." (Windows-1252).
    virtual std::string Name() const = 0;
    virtual void Rueckgaengig(TModell& modell) = 0;
    virtual void Wiederholen(TModell& modell) = 0;
    // Das erste Ausführen; meist dasselbe wie Wiederholen.
    virtual void Ausfuehren(TModell& modell) { Wiederholen(modell); }
    // Bytes, die der Schritt hält, samt verwahrter Objekte.
    virtual size_t Speicherbedarf() const = 0;
};

class TVerlauf;

// Die eine Art, das Modell mit Rückgängig zu ändern: führt den Schritt aus,
// setzt Modifiziert und nimmt ihn in den Verlauf auf (ohne Verlauf: nur
// ausführen). Wirft das Ausführen, wird nichts aufgenommen.
void Ausfuehren(TModell& modell, TVerlauf* verlauf, std::unique_ptr<TSchritt> schritt);

class TVerlauf {
public:
    // So viele Schritte bleiben; der älteste fällt zuerst heraus.
    static constexpr size_t Hoechstzahl = 200;

    bool KannRueckgaengig() const { return Stand > 0; }
    bool KannWiederholen() const { return Stand < Schritte.size(); }
    std::string RueckgaengigName() const;
    std::string WiederholenName() const;
    // Leeren die Auswahl und setzen Modifiziert nach der Sicherungsmarke.
    void Rueckgaengig(TModell& modell);
    void Wiederholen(TModell& modell);
    // Nach Neu, Öffnen und Schliessen: keine Schritte, der Stand gilt als gesichert.
    void Leeren();
    // Nach dem Speichern.
    void GesichertMarkieren() { Gesichert = Stand; }
    bool AmGesichertenStand() const { return Gesichert && *Gesichert == Stand; }
    size_t Anzahl() const { return Schritte.size(); }
    // Zählt jedes Ausführen, Zurücknehmen und Wiederholen: wer sich einen
    // Stand des Modells merkt (berechnete Ströme), sieht daran, ob er noch gilt.
    uint64_t Aenderungen() const { return Zaehler; }
    size_t Speicherbedarf() const;

private:
    friend void Ausfuehren(TModell& modell, TVerlauf* verlauf, std::unique_ptr<TSchritt> schritt);
    // Nimmt einen eben ausgeführten Schritt auf; verwirft, was wiederholbar war.
    void Aufnehmen(std::unique_ptr<TSchritt> schritt);

    std::deque<std::unique_ptr<TSchritt>> Schritte;
    size_t Stand = 0; // Schritte[0, Stand) sind ausgeführt
    std::optional<size_t> Gesichert = 0;
    uint64_t Zaehler = 0;
};

} // namespace tessomir
