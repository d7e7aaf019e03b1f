#pragma once
// Große anonyme Speicherblöcke auf einer 2-MiB-Grenze mit dem Wunsch nach
// großen Seiten: ein Seitenfehler je 2 MiB statt je 4 KiB. Für den Text einer
// geladenen Datei und die Zellen ihrer Matrizen.
#include <cstddef>

namespace tessomir {

struct TSpeicherblock {
    char* Anfang = nullptr; // nullptr: kein Block zu bekommen
    size_t Laenge = 0;      // auf ganze große Seiten aufgerundet
};

constexpr size_t GrosseSeite = size_t{2} << 20;

// Unbelegter (vom Betriebssystem genullter) Block von mindestens 'bytes' Bytes;
// Anfang ist nullptr, wenn das Betriebssystem keinen gibt.
TSpeicherblock GrossSeitigAnfordern(size_t bytes);
void GrossSeitigFreigeben(const TSpeicherblock& block);
// Bittet, einen schon angeforderten, noch unberührten großen Bereich (etwa
// den reservierten Puffer eines Textes) mit großen Seiten zu hinterlegen;
// gilt nur für die ganzen großen Seiten darin und ist sonst ohne Wirkung.
void GrosseSeitenWuenschen(void* anfang, size_t bytes);

} // namespace tessomir
