#pragma once
// Hinweis an den Prozessor, Speicher schon zu laden: die Durchgänge der
// Berechnung springen von Knoten zu Knoten und warten sonst auf jeden Zugriff.
// BM_Durchgang/Knoten:100000/geladen:1: VerhaeltnisZuStrom 1,81 statt 2,10
// ohne Vorabladen (Median aus vier gepaarten Läufen; Zeit 4,2 gegen 4,3 ms).

namespace tessomir {

inline void Vorabladen(const void* adresse) {
#if defined(__GNUC__)
    __builtin_prefetch(adresse);
#else
    (void)adresse;
#endif
}

} // namespace tessomir
