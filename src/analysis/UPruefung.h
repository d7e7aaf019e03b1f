#pragma once
// Der Befehl "Prüfen": Struktur und Kolonnensummen, Fehler ins Protokoll des Modells.
#include "model/UModell.h"

namespace tessomir {

// Jede Quelle, Senke, Verzweigung und jeder Wandler hat die nötigen Wege.
bool StrukturPruefen(const TModell& modell);
// Jede Eingangsspalte jeder Verzweigung summiert sich je Artikel zu 100 %.
bool KolonnensummenPruefen(const TModell& modell);
// Leert das Protokoll, prüft, schreibt "Daten OK" oder zeigt die Fehlermeldung.
bool ModellPruefen(TModell& modell);

} // namespace tessomir
