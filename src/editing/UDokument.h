#pragma once
// Das Dokument des Hauptfensters: das Modell (oder keins), sein Verlauf, der
// Stand seiner Datei auf der Platte und ob seine Ströme berechnet sind. Das
// Fenster fragt und ändert diese Dinge nur hier; das Dokument selbst kennt
// keine Oberfläche und meldet nichts.
#include <functional>
#include <memory>
#include <string>

#include "analysis/UBerechnung.h"
#include "editing/USchritte.h"
#include "persistence/UDatei.h"
#include "persistence/UModellDatei.h"

namespace tessomir {

class TDokument {
public:
    TDokument() = default;
    ~TDokument();
    TDokument(const TDokument&) = delete;
    TDokument& operator=(const TDokument&) = delete;

    TModell* Modell() const { return ModellObjekt.get(); }
    TVerlauf& Verlauf() { return VerlaufObjekt; }
    const TVerlauf& Verlauf() const { return VerlaufObjekt; }
    // Seit dem Einsetzen berechnet (auch erfolglos): die Ströme stehen in den Matrizen.
    bool Berechnet() const { return BerechnetFlag; }
    // Berechnet und seither unverändert: die Ströme passen zu den Eingaben.
    // Das Bild zeigt die Ströme bis zur nächsten Berechnung weiter; was sie
    // als Ergebnis ausgibt (das Blatt "Stroeme"), fragt hier.
    bool StroemeAktuell() const { return BerechnetFlag && BerechneterStand == VerlaufObjekt.Aenderungen(); }

    // Setzt ein neues oder geöffnetes Modell ein (nullptr: keins). Der
    // Verlauf beginnt leer, nichts ist berechnet; der Stand der Datei ist der
    // von DateiName (bei einem neuen Modell keiner).
    void Einsetzen(std::unique_ptr<TModell> modell);
    // Hat ein anderes Programm 'pfad' seit dem Einsetzen oder letzten Speichern geändert?
    bool FremdGeaendert(const std::string& pfad) const;
    // Speichert unter 'pfad'; gelingt es, gilt dieser Stand als gesichert
    // (Verlauf, Modifiziert, Stand der Datei, DateiName).
    TSpeichernErgebnis Speichern(const std::string& pfad);
    // Prüft und berechnet; berechnet heisst danach, dass die Prüfung bestand.
    TBerechnungsErgebnis Neuberechnen(const std::function<void()>& maxStromAnzeigen = {});
    void Rueckgaengig();
    void Wiederholen();

private:
    // Der Verlauf hält Objekte, die auf Knoten des Modells zeigen: er geht zuerst.
    std::unique_ptr<TModell> ModellObjekt;
    TVerlauf VerlaufObjekt;
    TDateiStand Dateistand;
    bool BerechnetFlag = false;
    uint64_t BerechneterStand = 0;
};

} // namespace tessomir
