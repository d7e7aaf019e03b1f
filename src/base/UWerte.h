#pragma once
// Werthelfer: Zahlen, Punkte und Wahrheitswerte als Text und zurück.
// Texte sind Windows-1252-Bytes. Das Dezimalzeichen wird immer ausdrücklich
// übergeben: Dateien nehmen stets '.', die Oberfläche das Zeichen ihres
// Gebietsschemas. So gibt es keinen globalen Zustand, der in eine Datei
// durchschlagen könnte.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessomir {

constexpr char DateiTrenner = '.';

struct TPunkt {
    double X = 0.0;
    double Y = 0.0;
    bool operator==(const TPunkt&) const = default;
};

TPunkt Punkt(double x, double y);

// Allgemeines Format: höchstens 15 signifikante Stellen, Exponent "E" nur
// unter 0.00001 oder ab 16 Vorkommastellen; "INF", "-INF", "NAN".
std::string TextAusFloat(double wert, char trenner = DateiTrenner);
// Wie TextAusFloat, in einen Puffer von mindestens FloatTextLaenge Zeichen;
// gibt das Ende des Textes zurück.
constexpr size_t FloatTextLaenge = 32;
char* FloatSchreiben(char* ziel, double wert, char trenner = DateiTrenner);
// Festformat wie WertText/ProzentText: einmal gerundet auf 10 signifikante
// Stellen oder 'stellen' Nachkommastellen (was früher abschneidet), Hälften
// vom Null weg, dann mit Nullen aufgefüllt.
std::string TextAusFloatFest(double wert, int stellen, char trenner);
// "%f" mit zwei Nachkommastellen (Meldungen von PruefeEingabe).
std::string TextAusFloatZweiStellen(double wert, char trenner);

// Liest eine Zahl; Leerzeichen außen erlaubt; wirft EConvertError.
double FloatAusText(std::string_view text, char trenner = DateiTrenner);
// Zahl einer Eingabe: mit dem Dezimalzeichen der Anzeige oder mit "."; leer,
// wenn der Text keine Zahl ist.
std::optional<double> ZahlAusEingabe(std::string_view text, char trenner);
// Liest eine vorzeichenbehaftete 32-Bit-Ganzzahl (dezimal, "$" oder "0x" hex);
// wirft EConvertError.
int32_t IntAusText(std::string_view text);
std::string TextAusInt(int64_t wert);

std::string TextAusPunkt(const TPunkt& p, char trenner = DateiTrenner);
TPunkt PunktAusText(std::string_view text, char trenner = DateiTrenner);

std::string TextAusBool(bool wert);
bool BoolAusText(std::string_view text);

std::string Schluessel(std::string_view schluessel);
// Text in Hochkommas für Meldungen: höchstens 40 Zeichen, Steuerzeichen als '?'.
std::string Zitat(std::string_view text);
// Trennt das erste Feld (bis " / ") ab; das Feld wird an beiden Enden von
// Zeichen <= 32 befreit, der Rest bleibt unverändert.
std::string_view NaechstesFeld(std::string_view& text);

// Prüft eine eingegebene Zahl gegen [min, max]: "" wenn sie passt, sonst
// der Text, der dem Anwender sagt, was falsch ist (PruefeEingabe zeigt ihn).
std::string EingabeFehler(std::string_view text, std::string_view bezeichnung, double min, double max,
                          char trenner);

} // namespace tessomir
