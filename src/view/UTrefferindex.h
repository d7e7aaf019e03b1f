#pragma once
// Treffer unter dem Zeiger für den Hinweis: die Rechtecke aller Knoten und
// Wege im Modellraum hintereinander, damit eine Abfrage zusammenhängenden
// Speicher liest statt jedes Objekt und die Knoten jedes Wegs (bench_uebersicht,
// 100 000 Knoten: über alle Objekte 15,2 ms, BM_HinweisAmZeiger 0,2 bis 0,3 ms,
// Aufbau 6,6 ms; Mediane aus drei Läufen). Gilt, bis sich Objekte oder Orte
// ändern; wer ihn hält, verwirft ihn dann.
#include <vector>

#include "view/UAnsicht.h"

namespace tessomir {

class TTrefferindex {
public:
    void Aufbauen(const TFOListe& liste);
    void Verwerfen();
    bool Gebaut() const { return IstGebaut; }
    // Das Objekt am Trefferpunkt der Ansicht wie bei einem Klick, aber ohne
    // das Weiterschalten unter übereinanderliegenden Wegen: ein Knoten vor
    // den Wegen, sonst der erste getroffene Weg der Liste; sonst nullptr.
    const TFO* ObjektUnter(const TAnsicht& ansicht) const;

private:
    struct TKasten {
        double MinX, MaxX, MinY, MaxY;
    };
    bool IstGebaut = false;
    std::vector<TKasten> Kaesten;
    std::vector<const TFO*> Objekte;
    int SymbolGroesse = 0;
};

} // namespace tessomir
