#pragma once
// Versionsnummer des Programms: beim Bauen als ELF-Notiz in die Programmdatei
// geschrieben (Besitzer "Tessomir", Typ 1, zwei 32-Bit-Wörter in der
// Byte-Reihenfolge der Datei: Haupt << 16 | Neben, Ausgabe << 16 | Bau) und
// zur Laufzeit aus der Datei zurückgelesen.
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace tessomir {

inline constexpr const char* VersionsNotizBesitzer = "Tessomir";
inline constexpr uint32_t VersionsNotizTyp = 1;
inline constexpr const char* KeineVersionsinformation = "Keine Versionsinformation";

// Die beiden Wörter der Dateiversion, das höherwertige zuerst.
struct TDateiVersion {
    uint32_t Hoch = 0;
    uint32_t Tief = 0;
    bool operator==(const TDateiVersion&) const = default;
};

// Führende "0" weg, solange mehr als ein Zeichen bleibt: "0010" gibt "10".
std::string NullenEntfernen(std::string_view ziffern);
// Vier Teile aus je 16 Bit, hexadezimal in Großbuchstaben, mit "." verbunden:
// 1.10.0.255 gibt "1.A.0.FF".
std::string VersionsText(const TDateiVersion& version);

// Die Notiz einer ELF-Datei (32 oder 64 Bit, beide Byte-Reihenfolgen); leer,
// wenn die Datei keine ELF-Datei ist oder die Notiz fehlt. Kaputte Dateien
// geben leer, nie einen Fehler.
std::optional<TDateiVersion> VersionAusElf(std::istream& datei);
std::optional<TDateiVersion> VersionAusDatei(const std::string& pfad);

// Der Text für die Anzeige: die Version oder "Keine Versionsinformation".
std::string VersionsAnzeige(const std::string& pfad);

// Die eigene Programmdatei des laufenden Prozesses.
inline constexpr const char* EigenesProgramm = "/proc/self/exe";

} // namespace tessomir
