#pragma once
// Der Befehl "Prüfen": Struktur und Kolonnensummen, Fehler ins Protokoll des Modells.
#include "model/UModell.h"

namespace tessomir {

// Jede Quelle, Senke, Verzweigung und jeder Wandler hat die nötigen Wege.
bool StrukturPruefen(const TModell& modell);
// Jede Eingangsspalte jeder Verzweigung summiert sich je Artikel zu 100 %.
bool KolonnensummenPruefen(const TModell& modell);
// Leert das Protokoll, prüft und schreibt "Daten OK"; false, wenn etwas
// fehlt (die Gründe stehen im Protokoll, der Aufrufer zeigt PruefFehlerMeldung).
bool ModellPruefen(TModell& modell);

// Was Programm und Kommandozeile melden, wenn Prüfen oder Rechnen scheitert.
inline constexpr const char* PruefFehlerMeldung = "Beim Pr\xFC" "fen sind Fehler aufgetreten";
inline constexpr const char* BerechnungsFehlerMeldung = "Beim Berechnen sind Fehler aufgetreten";

} // namespace tessomir
