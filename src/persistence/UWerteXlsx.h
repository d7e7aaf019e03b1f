#pragma once
// Die Werte-Tabelle als XLSX: geschrieben mit libxlsxwriter (Blatt "Werte",
// Zahlen als Zahlen, und "Stroeme", wenn das Modell berechnet ist), gelesen
// mit libzip und expat: nur die gespeicherten Werte der Zellen (nie Formeln),
// gemeinsame und eingebettete Zeichenketten.
#include <string>

#include "persistence/UWerteTabelle.h"

namespace tessomir {

// Die Bytes der XLSX-Datei; wirft EFCreateError, wenn libxlsxwriter scheitert.
std::string WerteAlsXlsx(const TModell& modell, bool mitStroemen);
// Liest das Blatt "Werte" (sonst das erste); wirft EModellErzeugen mit Grund.
TGeleseneTabelle XlsxTabelleLesen(const std::string& inhalt);
// Eine Datei ganz, auch mit Nullbytes; EFOpenError, wenn das nicht geht.
std::string DateiBytes(const std::string& dateiName);
// Liest die Tabelle einer Datei (XLSX nach der Endung, sonst CSV) und prüft
// sie gegen das Modell; wirft EFOpenError oder EModellErzeugen mit Grund.
TWertePruefung WerteDateiPruefen(const TModell& modell, const std::string& pfad);
// Nach der Endung: ".xlsx" (gross oder klein).
bool IstXlsx(const std::string& pfad);

} // namespace tessomir
