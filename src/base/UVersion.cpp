#include "base/UVersion.h"

#include <array>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace tessomir {
namespace {

constexpr uint32_t SHT_NOTE = 7;
// Notizabschnitte sind klein; mehr wird nicht gelesen, damit eine kaputte
// Größe keine Riesenmenge Speicher verlangt.
constexpr uint64_t GroessterNotizabschnitt = 1u << 20;
constexpr uint64_t HoechstensAbschnitte = 1u << 16;

class TElfLeser {
public:
    explicit TElfLeser(std::istream& datei) : Datei(datei) {}

    bool Lesen(uint64_t pos, void* ziel, size_t n) {
        if (pos > static_cast<uint64_t>(std::numeric_limits<std::streamoff>::max())) return false;
        Datei.clear();
        Datei.seekg(static_cast<std::streamoff>(pos));
        if (!Datei) return false;
        Datei.read(static_cast<char*>(ziel), static_cast<std::streamsize>(n));
        return Datei.gcount() == static_cast<std::streamsize>(n);
    }

    // Ganzzahl aus n Bytes (1..8) in der Reihenfolge der Datei.
    uint64_t Zahl(const unsigned char* p, int n) const {
        uint64_t w = 0;
        for (int i = 0; i < n; ++i) {
            const unsigned char b = GrossEndian ? p[i] : p[n - 1 - i];
            w = (w << 8) | b;
        }
        return w;
    }

    bool GrossEndian = false;

private:
    std::istream& Datei;
};

uint64_t Aufgerundet(uint64_t wert, uint64_t ausrichtung) {
    return (wert + ausrichtung - 1) / ausrichtung * ausrichtung;
}

// Sucht die Versionsnotiz in einem Notizabschnitt.
std::optional<TDateiVersion> NotizSuchen(const TElfLeser& leser, const std::vector<unsigned char>& daten,
                                         uint64_t ausrichtung) {
    const size_t besitzerLaenge = std::strlen(VersionsNotizBesitzer) + 1;
    uint64_t pos = 0;
    while (pos + 12 <= daten.size()) {
        const uint64_t namensGroesse = leser.Zahl(&daten[pos], 4);
        const uint64_t inhaltGroesse = leser.Zahl(&daten[pos + 4], 4);
        const uint64_t typ = leser.Zahl(&daten[pos + 8], 4);
        const uint64_t name = pos + 12;
        // Inhalt und nächste Notiz beginnen an der Ausrichtung des Abschnitts.
        const uint64_t inhalt = Aufgerundet(name + namensGroesse, ausrichtung);
        const uint64_t ende = Aufgerundet(inhalt + inhaltGroesse, ausrichtung);
        // Die Größen sind 32-Bit-Werte, die Summen laufen also nicht über.
        if (inhalt + inhaltGroesse > daten.size()) return std::nullopt;
        if (typ == VersionsNotizTyp && namensGroesse == besitzerLaenge && inhaltGroesse == 8 &&
            std::memcmp(&daten[name], VersionsNotizBesitzer, besitzerLaenge) == 0) {
            return TDateiVersion{static_cast<uint32_t>(leser.Zahl(&daten[inhalt], 4)),
                                 static_cast<uint32_t>(leser.Zahl(&daten[inhalt + 4], 4))};
        }
        pos = ende;
    }
    return std::nullopt;
}

} // namespace

std::string NullenEntfernen(std::string_view ziffern) {
    while (ziffern.size() > 1 && ziffern.front() == '0') ziffern.remove_prefix(1);
    return std::string(ziffern);
}

std::string VersionsText(const TDateiVersion& version) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text;
    const std::array<uint32_t, 4> teile{version.Hoch >> 16, version.Hoch & 0xFFFF, version.Tief >> 16,
                                        version.Tief & 0xFFFF};
    for (size_t i = 0; i < teile.size(); ++i) {
        char ziffern[4];
        for (int k = 0; k < 4; ++k) ziffern[k] = Hex[(teile[i] >> (12 - 4 * k)) & 0xF];
        if (i > 0) text += '.';
        text += NullenEntfernen(std::string_view(ziffern, 4));
    }
    return text;
}

std::optional<TDateiVersion> VersionAusElf(std::istream& datei) {
    TElfLeser leser(datei);
    unsigned char kopf[64] = {};
    if (!leser.Lesen(0, kopf, 16)) return std::nullopt;
    if (std::memcmp(kopf, "\x7F" "ELF", 4) != 0) return std::nullopt;
    const bool bit64 = kopf[4] == 2;
    if (kopf[4] != 1 && !bit64) return std::nullopt;
    if (kopf[5] != 1 && kopf[5] != 2) return std::nullopt;
    leser.GrossEndian = kopf[5] == 2;
    if (!leser.Lesen(0, kopf, bit64 ? 64 : 52)) return std::nullopt;

    const uint64_t tabelle = bit64 ? leser.Zahl(kopf + 0x28, 8) : leser.Zahl(kopf + 0x20, 4);
    const uint64_t eintrag = leser.Zahl(kopf + (bit64 ? 0x3A : 0x2E), 2);
    uint64_t anzahl = leser.Zahl(kopf + (bit64 ? 0x3C : 0x30), 2);
    const uint64_t mindestEintrag = bit64 ? 0x40 : 0x28;
    if (tabelle == 0 || eintrag < mindestEintrag) return std::nullopt;

    unsigned char abschnitt[0x40] = {};
    const auto abschnittLesen = [&](uint64_t i) {
        if (i > (std::numeric_limits<uint64_t>::max() - tabelle) / eintrag) return false;
        return leser.Lesen(tabelle + i * eintrag, abschnitt, static_cast<size_t>(mindestEintrag));
    };
    // Viele Abschnitte: die Anzahl steht in der Größe des Abschnitts 0.
    if (anzahl == 0) {
        if (!abschnittLesen(0)) return std::nullopt;
        anzahl = bit64 ? leser.Zahl(abschnitt + 0x20, 8) : leser.Zahl(abschnitt + 0x14, 4);
    }
    if (anzahl > HoechstensAbschnitte) anzahl = HoechstensAbschnitte;

    for (uint64_t i = 0; i < anzahl; ++i) {
        if (!abschnittLesen(i)) return std::nullopt;
        if (leser.Zahl(abschnitt + 4, 4) != SHT_NOTE) continue;
        const uint64_t versatz = bit64 ? leser.Zahl(abschnitt + 0x18, 8) : leser.Zahl(abschnitt + 0x10, 4);
        const uint64_t groesse = bit64 ? leser.Zahl(abschnitt + 0x20, 8) : leser.Zahl(abschnitt + 0x14, 4);
        const uint64_t ausrichtung = bit64 ? leser.Zahl(abschnitt + 0x30, 8) : leser.Zahl(abschnitt + 0x20, 4);
        if (groesse > GroessterNotizabschnitt) continue;
        std::vector<unsigned char> daten(static_cast<size_t>(groesse));
        if (!daten.empty() && !leser.Lesen(versatz, daten.data(), daten.size())) continue;
        if (auto version = NotizSuchen(leser, daten, ausrichtung == 8 ? 8 : 4)) return version;
    }
    return std::nullopt;
}

std::optional<TDateiVersion> VersionAusDatei(const std::string& pfad) {
    std::ifstream datei(pfad, std::ios::binary);
    if (!datei) return std::nullopt;
    return VersionAusElf(datei);
}

std::string VersionsAnzeige(const std::string& pfad) {
    const std::optional<TDateiVersion> version = VersionAusDatei(pfad);
    return version ? VersionsText(*version) : std::string(KeineVersionsinformation);
}

} // namespace tessomir
