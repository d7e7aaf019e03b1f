#pragma once
// Die Befehle "Prüfen" und "Neuberechnen", gemeinsam für Programm und Kommandozeile.
#include <functional>

#include "model/UModell.h"

namespace tessomir {

// Leert das Protokoll, prüft, schreibt "Daten OK" oder zeigt die Fehlermeldung.
bool ModellPruefen(TModell& modell);

enum class TBerechnungsErgebnis { PruefungFehlerhaft, BerechnungFehlerhaft, BerechnungOK };

// Prüft und berechnet. 'maxStromAnzeigen' wird zu Beginn und nach dem
// Ermitteln des größten Stroms gerufen (Statusleiste des Programms).
TBerechnungsErgebnis ModellNeuberechnen(TModell& modell, const std::function<void()>& maxStromAnzeigen = {});

} // namespace tessomir
