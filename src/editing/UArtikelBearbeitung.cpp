#include "editing/UArtikelBearbeitung.h"

#include <algorithm>
#include <utility>

#include "model/UKnoten.h"
#include "model/UModell.h"
#include "base/UText.h"

namespace tessomir {
namespace {

// Kleinbuchstabe zu einem Windows-1252-Zeichen.
unsigned char Klein(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<unsigned char>(b + 0x20);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<unsigned char>(b + 0x20);
    switch (b) {
    case 0x8A: return 0x9A; // Š
    case 0x8C: return 0x9C; // Œ
    case 0x8E: return 0x9E; // Ž
    case 0x9F: return 0xFF; // Ÿ
    default: return b;
    }
}

// Sichert alle Knotenmatrizen; ohne Freigeben stellt der Destruktor sie
// wieder her. Das Zurückschieben verschiebt nur und kann nicht scheitern.
class TMatrixSicherung {
public:
    explicit TMatrixSicherung(TModell& modell) {
        for (TKnoten* k : modell.FOListe.Knoten()) Gesichert.emplace_back(k, k->Matrix());
    }
    ~TMatrixSicherung() {
        if (Freigegeben) return;
        for (auto& [knoten, matrix] : Gesichert) knoten->Matrix() = std::move(matrix);
    }
    TMatrixSicherung(const TMatrixSicherung&) = delete;
    TMatrixSicherung& operator=(const TMatrixSicherung&) = delete;
    void Freigeben() { Freigegeben = true; }

private:
    std::vector<std::pair<TKnoten*, TDyn3DMatrix>> Gesichert;
    bool Freigegeben = false;
};

} // namespace

bool GleichOhneGrossKlein(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return Klein(x) == Klein(y); });
}

bool ArtikelNameFrei(const std::vector<std::string>& liste, std::string_view name) {
    if (name.empty()) return false;
    return std::ranges::none_of(liste, [name](const std::string& n) { return GleichOhneGrossKlein(n, name); });
}

std::string ArtikelNamensFehler(std::string_view utf8) {
    const std::string ansi = AnsiAusUtf8(utf8);
    // Was Windows-1252 nicht kennt, käme als '?' zurück.
    if (Utf8AusAnsi(ansi) != utf8)
        return "Der Artikelname enth\xE4lt Zeichen, die eine Modelldatei nicht speichern kann.\r\n"
               "M\xF6glich sind Buchstaben, Ziffern und Zeichen aus Windows-1252.";
    if (std::string fehler = NamensFehler(ansi); !fehler.empty()) return fehler;
    return {};
}

int AuswahlNachLoeschen(int i) { return i > 0 ? i - 1 : 0; }

int ArtikelHinzufuegen(TModell& modell, const std::string& name) {
    TMatrixSicherung sicherung(modell);
    modell.ArtikelEinfuegen(name);
    sicherung.Freigeben();
    modell.Modifiziert = true;
    return modell.AnzahlArtikel() - 1;
}

int ArtikelEntfernen(TModell& modell, int i) {
    if (modell.AnzahlArtikel() < 2 || i < 0 || i >= modell.AnzahlArtikel()) return -1;
    TMatrixSicherung sicherung(modell);
    modell.ArtikelLoeschen(i);
    sicherung.Freigeben();
    modell.Modifiziert = true;
    return AuswahlNachLoeschen(i);
}

bool ArtikelUmbenennen(TModell& modell, int i, const std::string& name) {
    if (i < 0 || i >= modell.AnzahlArtikel()) return false;
    modell.ArtikelListe[static_cast<size_t>(i)] = name;
    modell.Modifiziert = true;
    return true;
}

} // namespace tessomir
