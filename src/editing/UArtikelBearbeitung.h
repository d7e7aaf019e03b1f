#pragma once
// Regeln des Artikeldialogs: welche Namen ein Artikel tragen kann, welcher
// Eintrag nach Einfügen und Löschen ausgewählt ist, und die Änderungen am
// Modell so, dass ein Fehler mittendrin das Modell unverändert lässt.
#include <string>
#include <string_view>
#include <vector>

namespace tessomir {

class TModell;

// Gleich ohne Rücksicht auf Groß- und Kleinschreibung (Windows-1252, also
// auch Umlaute und die übrigen Buchstaben des Zeichensatzes).
bool GleichOhneGrossKlein(std::string_view a, std::string_view b);

// Einfügen und Umbenennen sind möglich: der Name ist nicht leer und steht
// noch nicht in der Liste. Leerzeichen zählen mit, es wird nichts gekürzt.
bool ArtikelNameFrei(const std::vector<std::string>& liste, std::string_view name);

// Warum 'utf8' kein Artikelname sein kann, oder "": der Name muss eine Zeile
// sein, die Windows-1252 halten kann. Nimmt UTF-8, weil erst hier zu sehen
// ist, was bei der Umwandlung verloren ginge.
std::string ArtikelNamensFehler(std::string_view utf8);

// Auswahl nach dem Löschen des Eintrags i: der Vorgänger, beim ersten der neue erste.
int AuswahlNachLoeschen(int i);

// Hängt den Artikel an (alle Matrizen wachsen), setzt Modifiziert und gibt den
// Index des neuen Artikels zurück.
int ArtikelHinzufuegen(TModell& modell, const std::string& name);
// Löscht Artikel i (nur bei mindestens zwei Artikeln), setzt Modifiziert und
// gibt den danach auszuwählenden Index zurück; sonst -1 ohne Änderung.
int ArtikelEntfernen(TModell& modell, int i);
// Benennt Artikel i um; die Matrizen bleiben, sie zählen nach der Stelle.
// false ohne Änderung, wenn es i nicht gibt.
bool ArtikelUmbenennen(TModell& modell, int i, const std::string& name);

} // namespace tessomir
