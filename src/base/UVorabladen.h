#pragma once
// Hinweis an den Prozessor, Speicher schon zu laden: die Durchgänge der
// Berechnung springen von Knoten zu Knoten und warten sonst auf jeden Zugriff.

namespace tessomir {

inline void Vorabladen(const void* adresse) {
#if defined(__GNUC__)
    __builtin_prefetch(adresse);
#else
    (void)adresse;
#endif
}

} // namespace tessomir
