// Versionsnotiz: Text der Dateiversion und Lesen aus ELF-Dateien.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "base/UVersion.h"

using namespace tessomir;

namespace {

// Kleine ELF-Dateien nach Mass: Kopf, Abschnittstabelle (leer, Daten,
// Notizen) und die Notizen.
class TElfBau {
public:
    TElfBau(bool bit64, bool gross) : Bit64(bit64), Gross(gross) {}

    void Zahl(std::string& ziel, size_t pos, uint64_t wert, int n) const {
        if (ziel.size() < pos + static_cast<size_t>(n)) ziel.resize(pos + static_cast<size_t>(n), '\0');
        for (int i = 0; i < n; ++i) {
            const int verschiebung = 8 * (Gross ? n - 1 - i : i);
            ziel[pos + static_cast<size_t>(i)] = static_cast<char>((wert >> verschiebung) & 0xFF);
        }
    }

    std::string Notiz(const std::string& name, uint32_t typ, const std::string& inhalt, size_t ausrichtung = 4) const {
        std::string n;
        Zahl(n, 0, name.size(), 4);
        Zahl(n, 4, inhalt.size(), 4);
        Zahl(n, 8, typ, 4);
        n += name;
        n.resize((n.size() + ausrichtung - 1) / ausrichtung * ausrichtung, '\0');
        n += inhalt;
        n.resize((n.size() + ausrichtung - 1) / ausrichtung * ausrichtung, '\0');
        return n;
    }

    std::string Version(uint32_t hoch, uint32_t tief, size_t ausrichtung = 4) const {
        std::string inhalt;
        Zahl(inhalt, 0, hoch, 4);
        Zahl(inhalt, 4, tief, 4);
        return Notiz(std::string("Tessomir", 9), VersionsNotizTyp, inhalt, ausrichtung);
    }

    std::string Datei(const std::string& notizen, uint32_t notizTyp = 7, uint64_t ausrichtung = 4) const {
        const size_t kopf = Bit64 ? 64 : 52, eintrag = Bit64 ? 64 : 40;
        const size_t daten = kopf + 3 * eintrag;
        std::string d = std::string("\x7F" "ELF", 4) + static_cast<char>(Bit64 ? 2 : 1) + static_cast<char>(Gross ? 2 : 1);
        Zahl(d, Bit64 ? 0x28 : 0x20, kopf, Bit64 ? 8 : 4);
        Zahl(d, Bit64 ? 0x3A : 0x2E, eintrag, 2);
        Zahl(d, Bit64 ? 0x3C : 0x30, 3, 2);
        for (size_t i = 1; i < 3; ++i) {
            const size_t a = kopf + i * eintrag;
            Zahl(d, a + 4, i == 2 ? notizTyp : 1, 4);
            Zahl(d, a + (Bit64 ? 0x18 : 0x10), daten, Bit64 ? 8 : 4);
            Zahl(d, a + (Bit64 ? 0x20 : 0x14), i == 2 ? notizen.size() : 0, Bit64 ? 8 : 4);
            Zahl(d, a + (Bit64 ? 0x30 : 0x20), ausrichtung, Bit64 ? 8 : 4);
        }
        d.resize(daten, '\0');
        return d + notizen;
    }

private:
    bool Bit64, Gross;
};

std::optional<TDateiVersion> Lesen(const std::string& datei) {
    std::istringstream ein(datei);
    return VersionAusElf(ein);
}

TEST(Versionstext, HexadezimaleTeileOhneFuehrendeNullen) {
    EXPECT_EQ(NullenEntfernen("0000"), "0");
    EXPECT_EQ(NullenEntfernen("0002"), "2");
    EXPECT_EQ(NullenEntfernen("0010"), "10");
    EXPECT_EQ(NullenEntfernen(""), "");
    EXPECT_EQ(VersionsText({0x00020000, 0}), "2.0.0.0");
    EXPECT_EQ(VersionsText({0x0001000A, 0x000000FF}), "1.A.0.FF");
    EXPECT_EQ(VersionsText({0xFFFF1234, 0x0100ABCD}), "FFFF.1234.100.ABCD");
}

TEST(VersionAusElf, AlleFormenMitFremderNotizDavor) {
    for (const bool bit64 : {false, true}) {
        for (const bool gross : {false, true}) {
            const TElfBau bau(bit64, gross);
            const std::string gnu = bau.Notiz(std::string("GNU", 4), 3, std::string(20, '\x11'));
            EXPECT_EQ(Lesen(bau.Datei(gnu + bau.Version(0x00020000, 0x00000003))), (TDateiVersion{0x00020000, 3}))
                << bit64 << gross;
            // Notizen mit 8-Byte-Ausrichtung (wie .note.gnu.property).
            EXPECT_EQ(Lesen(bau.Datei(bau.Notiz(std::string("GNU", 4), 5, std::string(12, 'x'), 8) +
                                          bau.Version(0x00010002, 0x00030004, 8), 7, 8)),
                      (TDateiVersion{0x00010002, 0x00030004}));
            EXPECT_EQ(Lesen(bau.Datei(gnu)), std::nullopt);
        }
    }
}

TEST(VersionAusElf, OhneNotizOderKaputtKeineVersion) {
    const TElfBau bau(true, false);
    const std::string gut = bau.Datei(bau.Version(0x00020000, 0));
    ASSERT_TRUE(Lesen(gut));
    EXPECT_FALSE(Lesen(bau.Datei(bau.Version(0x00020000, 0), 1))); // kein Notizabschnitt
    EXPECT_FALSE(Lesen(bau.Datei(bau.Notiz(std::string("Tessomi", 8), 1, std::string(8, '\0')))));
    EXPECT_FALSE(Lesen(bau.Datei(bau.Notiz(std::string("Tessomir", 9), 2, std::string(8, '\0')))));
    EXPECT_FALSE(Lesen(""));
    EXPECT_FALSE(Lesen("#!/bin/sh\necho Tessomir\n"));
    // Jede abgeschnittene Fassung: keine Version, kein Lesen hinter das Ende.
    for (size_t n = 0; n < gut.size(); ++n) EXPECT_FALSE(Lesen(gut.substr(0, n))) << n;
    // Eine Notiz, die grösser zu sein behauptet als ihr Abschnitt.
    std::string luegt = gut;
    bau.Zahl(luegt, gut.size() - 28 + 4, 0xFFFFFFF0u, 4);
    EXPECT_FALSE(Lesen(luegt));
}

TEST(VersionAusDatei, EigeneProgrammdateiTraegtDieProjektversion) {
    EXPECT_EQ(VersionsAnzeige(EigenesProgramm), TESSOMIR_VERSION);
    EXPECT_EQ(VersionsAnzeige("/gibt/es/nicht"), "Keine Versionsinformation");
}

} // namespace
