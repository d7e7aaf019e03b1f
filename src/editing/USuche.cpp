#include "editing/USuche.h"

#include <algorithm>
#include <charconv>

namespace tessomir {

std::string Suchform(std::string_view ansi) {
    std::string s;
    SuchformIn(ansi, s);
    return s;
}

void SuchformIn(std::string_view ansi, std::string& s) {
    s.clear();
    s.reserve(ansi.size() + 4);
    for (const char zeichen : ansi) {
        unsigned char c = static_cast<unsigned char>(zeichen);
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
        // Windows-1252: À..Þ ohne × sind die Großbuchstaben zu à..þ.
        else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) c = static_cast<unsigned char>(c + 32);
        switch (c) {
        case 0xE4: s += "ae"; break;
        case 0xF6: s += "oe"; break;
        case 0xFC: s += "ue"; break;
        case 0xDF: s += "ss"; break;
        default: s += static_cast<char>(c);
        }
    }
}

TSuche::TSuche(std::string_view text) {
    const size_t a = text.find_first_not_of(" \t");
    if (a == std::string_view::npos) return;
    text = text.substr(a, text.find_last_not_of(" \t") - a + 1);
    if (text.size() > 1 && text.front() == '#') {
        uint32_t nr = 0;
        const auto [ende, f] = std::from_chars(text.data() + 1, text.data() + text.size(), nr);
        if (f == std::errc() && ende == text.data() + text.size()) {
            Nummer = nr;
            return;
        }
    }
    Muster = Suchform(text);
}

bool TSuche::PasstGefaltet(uint32_t fonr, std::string_view suchform) const {
    if (Nummer) return fonr == *Nummer;
    return !Muster.empty() && suchform.find(Muster) != std::string_view::npos;
}

bool TSuche::Passt(const TFO& objekt) const {
    if (objekt.AlsKnoten() == nullptr && objekt.AlsWeg() == nullptr) return false;
    if (Nummer) return objekt.FONr == *Nummer;
    SuchformIn(objekt.Name, Puffer);
    return PasstGefaltet(objekt.FONr, Puffer);
}

TSuchtreffer NaechsterTreffer(const TModell& modell, const TSuche& suche, const TFO* nach) {
    if (suche.Leer()) return {};
    const auto& alle = modell.FOListe.Alle();
    size_t start = 0;
    if (nach != nullptr) {
        for (size_t i = 0; i < alle.size(); ++i) {
            if (alle[i].get() == nach) {
                start = i + 1;
                break;
            }
        }
    }
    for (size_t i = start; i < alle.size(); ++i)
        if (suche.Passt(*alle[i])) return {alle[i].get(), false};
    // Von vorn bis einschließlich 'nach': ein einziger Treffer findet sich selbst wieder.
    for (size_t i = 0; i < start && i < alle.size(); ++i)
        if (suche.Passt(*alle[i])) return {alle[i].get(), nach != nullptr};
    return {};
}

void TSuchindex::Verwerfen() {
    IstGebaut = false;
    Text.clear();
    Anfang.clear();
    Objekte.clear();
}

void TSuchindex::Aufbauen(const TModell& modell) {
    Verwerfen();
    std::string puffer;
    for (const auto& o : modell.FOListe.Alle()) {
        if (o->AlsKnoten() == nullptr && o->AlsWeg() == nullptr) continue;
        SuchformIn(o->Name, puffer);
        Anfang.push_back(Text.size());
        Objekte.push_back(o.get());
        Text += puffer;
        Text += '\n';
    }
    IstGebaut = true;
}

TSuchtreffer TSuchindex::Naechster(const TSuche& suche, const TFO* nach) const {
    if (suche.Leer() || Objekte.empty()) return {};
    size_t start = 0;
    if (nach != nullptr) {
        const auto it = std::find(Objekte.begin(), Objekte.end(), nach);
        if (it != Objekte.end()) start = static_cast<size_t>(it - Objekte.begin()) + 1;
    }
    // Erster Treffer ab Objekt 'von', vor Objekt 'bis'.
    const auto suchen = [&](size_t von, size_t bis) -> TFO* {
        if (von >= bis) return nullptr;
        if (const std::optional<uint32_t> nr = suche.Nr()) {
            for (size_t i = von; i < bis; ++i)
                if (Objekte[i]->FONr == *nr) return Objekte[i];
            return nullptr;
        }
        const std::string& muster = suche.Gefaltet();
        if (muster.find('\n') != std::string::npos) return nullptr;
        const size_t ende = bis < Anfang.size() ? Anfang[bis] : Text.size();
        const size_t stelle = std::string_view(Text).substr(0, ende).find(muster, Anfang[von]);
        if (stelle == std::string_view::npos) return nullptr;
        const auto it = std::upper_bound(Anfang.begin(), Anfang.end(), stelle);
        return Objekte[static_cast<size_t>(it - Anfang.begin()) - 1];
    };
    if (TFO* t = suchen(start, Objekte.size())) return {t, false};
    if (TFO* t = suchen(0, std::min(start, Objekte.size()))) return {t, nach != nullptr};
    return {};
}

TFO* ObjektAusZeile(const TModell& modell, std::string_view zeile) {
    for (size_t a = zeile.find("[ "); a != std::string_view::npos; a = zeile.find("[ ", a + 1)) {
        // Der Name darf selbst " ]" enthalten: jedes spätere Ende ist ein Kandidat.
        for (size_t e = zeile.find(" ]", a + 2); e != std::string_view::npos; e = zeile.find(" ]", e + 1)) {
            const std::string_view titel = zeile.substr(a, e + 2 - a);
            for (const auto& o : modell.FOListe.Alle()) {
                if ((o->AlsKnoten() != nullptr || o->AlsWeg() != nullptr) && o->Titel() == titel) return o.get();
            }
        }
    }
    return nullptr;
}

} // namespace tessomir
