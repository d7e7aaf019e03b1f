#include "persistence/UWerteTabelle.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <span>
#include <tuple>
#include <unordered_map>

#include "base/UFehler.h"
#include "base/UText.h"
#include "base/UWerte.h"
#include "persistence/UStromCsv.h"

namespace tessomir {

const char* const WerteSpalten[8] = {"FONr", "Objekt", "Art", "Groesse", "Artikel", "Von", "Nach", "Wert"};

namespace {

constexpr double Summentoleranz = 0.001; // wie die Prüfung der Kolonnensummen

std::string ArtikelName(const TModell& m, int a) {
    return a >= 0 && a < m.AnzahlArtikel() ? m.ArtikelListe[static_cast<size_t>(a)] : std::string();
}

double Lesen(const TFO& o, const TWertOrt& ort) {
    if (ort.Kapazitaet) return o.Kapazitaet;
    const double* z = o.AlsKnoten()->Matrix().Zelle(ort.A, ort.B, ort.C);
    return z != nullptr ? *z : 0.0;
}

// Objekte nach Nummer: eine Tabelle nennt jedes Objekt, die Suche in der
// Liste wäre je Zeile ein Gang über alle Objekte.
std::unordered_map<uint32_t, TFO*> NachNummer(const TModell& m) {
    std::unordered_map<uint32_t, TFO*> objekte;
    objekte.reserve(m.FOListe.Anzahl());
    for (const auto& o : m.FOListe.Alle()) objekte.emplace(o->FONr, o.get());
    return objekte;
}

// Ohne führende und folgende Leerzeichen.
std::string_view Getrimmt(std::string_view s) {
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// Gleich, wie die Datei sie schreibt: dann ändert Übernehmen die Datei nicht.
bool GleichInDerDatei(double a, double b) { return a == b || TextAusFloat(a) == TextAusFloat(b); }

std::optional<double> Gelesen(const std::string& text) {
    double wert = 0.0;
    const auto [ende, f] = std::from_chars(text.data(), text.data() + text.size(), wert);
    if (f != std::errc() || ende != text.data() + text.size() || !std::isfinite(wert)) return std::nullopt;
    return wert;
}

// "1.234" und "1.234.567": Punkte als Tausendertrenner in Dreiergruppen.
bool Tausenderform(std::string_view s, char trenner) {
    const auto ziffer = [](char c) { return c >= '0' && c <= '9'; };
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
    const size_t erster = s.find(trenner);
    if (erster == std::string_view::npos || erster == 0 || erster > 3) return false;
    if (!std::all_of(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(erster), ziffer)) return false;
    // Nach jedem Trenner genau drei Ziffern.
    for (size_t i = erster; i < s.size(); i += 4) {
        if (s[i] != trenner || i + 4 > s.size()) return false;
        if (!ziffer(s[i + 1]) || !ziffer(s[i + 2]) || !ziffer(s[i + 3])) return false;
    }
    return true;
}

} // namespace

std::string WegBezeichnung(const TWeg& weg) { return weg.Name + " #" + std::to_string(weg.FONr); }

namespace {

// Eine Stelle der Tabelle ohne Texte: Objekt, Größe, Artikel (oder -1), der
// Weg oder Artikel in Von und Nach, der Ort im Modell.
struct TWertStelle {
    const TFO* Objekt;
    const char* Groesse;
    int Artikel = -1;
    const TWeg* VonWeg = nullptr;
    int VonArtikel = -1;
    const TWeg* NachWeg = nullptr;
    TWertOrt Ort;
};

// Ruft 'f' für jeden Eingabewert eines Objekts auf; die eine Stelle, die
// festlegt, welche Zeilen es gibt.
template <class F> void ObjektStellen(const TModell& modell, const TFO& o, F&& f) {
    const TKnoten* k = o.AlsKnoten();
    if (k == nullptr && o.AlsWeg() == nullptr) return;
    if (HatKapazitaet(o)) f(TWertStelle{&o, "Kapazitaet", -1, nullptr, -1, nullptr, TWertOrt{o.FONr, true}});
    if (k == nullptr) return;
    const int n = modell.AnzahlArtikel();
    const TDyn3DMatrix& m = k->Matrix();
    const int artikel = std::min(n, m.Dim1());
    switch (k->Art()) {
    case TKnotenArt::Quelle:
        if (k->AnzahlAusgaenge() == 1 && m.Dim3() >= 2)
            for (int a = 0; a < artikel; ++a)
                f(TWertStelle{&o, "Liefermenge", a, nullptr, -1, nullptr, TWertOrt{o.FONr, false, a, 0, 1}});
        break;
    case TKnotenArt::Verzweigung:
        for (int a = 0; a < artikel; ++a)
            for (int j = 1; j <= std::min(k->AnzahlEingaenge(), m.Dim2() - 1); ++j)
                for (int c = 1; c <= std::min(k->AnzahlAusgaenge(), m.Dim3() - 1); ++c)
                    f(TWertStelle{&o, "Anteil", a, k->GetEingang(j - 1), -1, k->GetAusgang(c - 1),
                                  TWertOrt{o.FONr, false, a, j, c}});
        break;
    case TKnotenArt::Wandler:
        if (m.Dim3() >= 2)
            for (int a = 0; a < artikel; ++a)
                for (int j = 0; j < std::min(n, m.Dim2() - 1); ++j)
                    f(TWertStelle{&o, "Faktor", a, nullptr, j, nullptr, TWertOrt{o.FONr, false, a, j + 1, 1}});
        break;
    default:
        break;
    }
}

// Alle Eingabewerte des Modells in Listenfolge.
template <class F> void StellenDurchgehen(const TModell& modell, F&& f) {
    for (const auto& o : modell.FOListe.Alle()) ObjektStellen(modell, *o, f);
}

} // namespace

std::vector<TWertZeile> WerteZeilen(const TModell& modell) {
    std::vector<TWertZeile> zeilen;
    StellenDurchgehen(modell, [&](const TWertStelle& st) {
        TWertZeile z;
        z.FONr = st.Objekt->FONr;
        z.Objekt = st.Objekt->Name;
        z.Art = ArtText(*st.Objekt);
        z.Groesse = st.Groesse;
        z.Artikel = st.Artikel >= 0 ? ArtikelName(modell, st.Artikel) : std::string();
        z.Von = st.VonWeg != nullptr ? WegBezeichnung(*st.VonWeg)
                : st.VonArtikel >= 0 ? ArtikelName(modell, st.VonArtikel)
                                     : std::string();
        z.Nach = st.NachWeg != nullptr ? WegBezeichnung(*st.NachWeg) : std::string();
        z.Ort = st.Ort;
        z.Wert = Lesen(*st.Objekt, st.Ort);
        zeilen.push_back(std::move(z));
    });
    return zeilen;
}

std::string WerteAlsCsv(const TModell& modell, TTabellenform form) {
    const bool deutsch = form == TTabellenform::Deutsch;
    const char t = deutsch ? ';' : ',';
    std::string csv = deutsch ? "\xEF\xBB\xBF" : "";
    for (size_t i = 0; i < 8; ++i) {
        if (i > 0) csv += t;
        csv += WerteSpalten[i];
    }
    csv += "\r\n";
    const auto feld = [t](const std::string& ansi) { return CsvFeld(Utf8AusAnsi(ansi), t); };
    // Jede Zeile direkt in den Text, die Felder, die sich wiederholen, einmal
    // gesetzt (bench_werte, 100 000 Knoten, 2,9 Mio. Zeilen: 27 MB/s mit
    // WerteZeilen und einem Text je Feld, 135 MB/s so ohne die Merker für Von
    // und Nach und ohne Reservieren, 239 und 233 MB/s mit ihnen).
    std::vector<std::string> artikel;
    for (int a = 0; a < modell.AnzahlArtikel(); ++a) artikel.push_back(feld(ArtikelName(modell, a)));
    std::unordered_map<const TWeg*, std::string> wege;
    // Von und Nach wiederholen sich Zeile für Zeile: der zuletzt gesuchte Weg
    // je Spalte zuerst.
    struct TZuletzt {
        const TWeg* Weg = nullptr;
        const std::string* Text = nullptr;
    } zuletzt[2];
    const auto weg = [&](const TWeg* w, int spalte) -> const std::string& {
        TZuletzt& z = zuletzt[spalte];
        if (z.Weg != w) {
            auto [it, neu] = wege.try_emplace(w);
            if (neu) it->second = feld(WegBezeichnung(*w));
            z = {w, &it->second};
        }
        return *z.Text;
    };
    size_t zeilen = 0;
    StellenDurchgehen(modell, [&](const TWertStelle&) { ++zeilen; });
    csv.reserve(csv.size() + zeilen * 72);
    const TFO* letztes = nullptr;
    std::string kopf;
    char zahl[FloatTextLaenge];
    StellenDurchgehen(modell, [&](const TWertStelle& st) {
        if (st.Objekt != letztes) {
            letztes = st.Objekt;
            kopf = std::to_string(st.Objekt->FONr) + t + feld(st.Objekt->Name) + t + ArtText(*st.Objekt) + t;
        }
        csv += kopf;
        csv += st.Groesse;
        csv += t;
        if (st.Artikel >= 0) csv += artikel[static_cast<size_t>(st.Artikel)];
        csv += t;
        if (st.VonWeg != nullptr) csv += weg(st.VonWeg, 0);
        else if (st.VonArtikel >= 0) csv += artikel[static_cast<size_t>(st.VonArtikel)];
        csv += t;
        if (st.NachWeg != nullptr) csv += weg(st.NachWeg, 1);
        csv += t;
        csv.append(zahl, FloatSchreiben(zahl, Lesen(*st.Objekt, st.Ort), deutsch ? ',' : '.'));
        csv += "\r\n";
    });
    return csv;
}

TZahlLesen TabellenzahlLesen(std::string_view roh, TTabellenform form, bool beideFormen) {
    const std::string_view text = Getrimmt(roh);
    if (text.empty()) return {std::nullopt, "keine Zahl (leer)"};
    // Der häufige Fall ohne Komma, Punkt als Tausender oder Leerzeichen: gleich lesen.
    if (form == TTabellenform::Standard && !beideFormen) {
        double wert = 0.0;
        const auto [ende, f] = std::from_chars(text.data(), text.data() + text.size(), wert);
        if (f == std::errc() && ende == text.data() + text.size() && std::isfinite(wert)) return {wert, {}};
    }
    std::string s(text);
    // Geschützte Leerzeichen (Windows-1252 0xA0) und Leerzeichen als Tausendertrenner.
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\xA0'; }), s.end());
    const bool komma = s.find(',') != std::string::npos;
    const bool punkt = s.find('.') != std::string::npos;
    const auto fertig = [&](std::string zahl) -> TZahlLesen {
        if (const auto w = Gelesen(zahl)) return {w, {}};
        return {std::nullopt, "keine Zahl: " + Gekuerzt(std::string(text))};
    };
    if (form == TTabellenform::Standard && !beideFormen) {
        if (komma || s.size() != text.size()) return {std::nullopt, "keine Zahl: " + Gekuerzt(std::string(text))};
        return fertig(s);
    }
    if (komma && punkt) {
        // "1.234,5": Punkte sind Tausendertrenner.
        const std::string ganz = s.substr(0, s.find(','));
        if (!Tausenderform(ganz, '.') || s.find('.', s.find(',')) != std::string::npos)
            return {std::nullopt, "keine Zahl: " + Gekuerzt(std::string(text))};
        s.erase(std::remove(s.begin(), s.end(), '.'), s.end());
        std::replace(s.begin(), s.end(), ',', '.');
        return fertig(s);
    }
    if (komma) {
        if (std::count(s.begin(), s.end(), ',') > 1) return {std::nullopt, "keine Zahl: " + Gekuerzt(std::string(text))};
        std::replace(s.begin(), s.end(), ',', '.');
        return fertig(s);
    }
    if (punkt && Tausenderform(s, '.'))
        return {std::nullopt, "mehrdeutig: " + Gekuerzt(std::string(text)) + " (Tausender oder Dezimalpunkt?)"};
    return fertig(s);
}

namespace {

// Bis zum nächsten Trenner oder Zeilenende; 'ascii', wenn nur ASCII dazwischen
// stand. Ein Gang Byte für Byte statt find_first_of je Feld (bench_werte).
size_t FeldEnde(std::string_view text, size_t i, char t, bool& ascii) {
    unsigned char oder = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == t || c == '\n' || c == '\r') break;
        oder |= static_cast<unsigned char>(c);
    }
    ascii = oder < 0x80;
    return i;
}

// Geht die Zeilen einer CSV-Tabelle durch (RFC 4180: Felder in
// Anführungszeichen dürfen Trenner, "" und Zeilenenden enthalten) und ruft
// 'zeile(dateizeile, felder)' für jede ausser Kopf und Leerzeilen. Die Felder
// sind Windows-1252: Ausschnitte des Texts, wo sie nur ASCII ohne
// Anführungszeichen sind, sonst Texte, die bis zur nächsten Zeile gelten.
// Prüft zuerst den Kopf.
template <class F> void CsvDurchgehen(std::string_view text, TTabellenform form, F&& zeile) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const char t = form == TTabellenform::Deutsch ? ';' : ',';
    std::vector<std::string_view> felder;
    std::deque<std::string> eigene; // Verweise bleiben beim Anhängen gültig
    size_t i = 0, dateizeile = 1;
    bool kopf = true;
    while (i < text.size()) {
        const size_t anfangszeile = dateizeile;
        felder.clear();
        eigene.clear();
        bool zeileZuEnde = false;
        while (!zeileZuEnde) {
            std::string_view feld;
            bool ascii = true;
            if (i < text.size() && text[i] == '"') {
                std::string eigen;
                size_t k = i + 1;
                for (;;) {
                    const size_t q = text.find('"', k);
                    if (q == std::string_view::npos) throw EModellErzeugen("ein Feld in Anf\xFChrungszeichen endet nicht");
                    const std::string_view stueck = text.substr(k, q - k);
                    dateizeile += static_cast<size_t>(std::count(stueck.begin(), stueck.end(), '\n'));
                    eigen += stueck;
                    if (q + 1 < text.size() && text[q + 1] == '"') {
                        eigen += '"';
                        k = q + 2;
                        continue;
                    }
                    k = q + 1;
                    break;
                }
                // Was nach dem schliessenden Zeichen bis zum Trenner steht, gehört dazu.
                const size_t ende = FeldEnde(text, k, t, ascii);
                eigen += text.substr(k, ende - k);
                i = ende;
                const bool nurAscii =
                    std::all_of(eigen.begin(), eigen.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
                feld = eigene.emplace_back(nurAscii ? std::move(eigen) : AnsiAusUtf8(eigen));
            } else {
                const size_t ende = FeldEnde(text, i, t, ascii);
                feld = text.substr(i, ende - i);
                i = ende;
                if (!ascii) feld = eigene.emplace_back(AnsiAusUtf8(feld));
            }
            felder.push_back(feld);
            if (i < text.size() && text[i] == t) {
                ++i;
                continue;
            }
            zeileZuEnde = true;
            if (i < text.size()) {
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                ++i;
                ++dateizeile;
            }
        }
        if (felder.size() == 1 && felder[0].empty()) continue; // Leerzeile
        if (kopf) {
            if (!std::equal(felder.begin(), felder.end(), std::begin(WerteSpalten), std::end(WerteSpalten)))
                throw EModellErzeugen("die Kopfzeile ist nicht FONr, Objekt, Art, Groesse, Artikel, Von, Nach, Wert");
            kopf = false;
            continue;
        }
        zeile(anfangszeile, std::span<const std::string_view>(felder));
    }
    if (kopf) throw EModellErzeugen("die Kopfzeile ist nicht FONr, Objekt, Art, Groesse, Artikel, Von, Nach, Wert");
}

// Die Form am Trenner der Kopfzeile: ";" vor "," ist die deutsche.
TTabellenform CsvForm(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::string_view kopf = text.substr(0, text.find_first_of("\r\n"));
    const size_t komma = kopf.find(','), semikolon = kopf.find(';');
    return semikolon != std::string_view::npos && (komma == std::string_view::npos || semikolon < komma)
               ? TTabellenform::Deutsch
               : TTabellenform::Standard;
}

// "Name #Nr" des Wegs, ohne den Text zu bilden.
bool IstWegBezeichnung(std::string_view s, const TWeg& weg) {
    if (s.size() < weg.Name.size() + 3 || s.substr(0, weg.Name.size()) != weg.Name ||
        s.substr(weg.Name.size(), 2) != " #")
        return false;
    s.remove_prefix(weg.Name.size() + 2);
    if (s[0] < '0' || s[0] > '9' || (s[0] == '0' && s.size() > 1)) return false; // wie std::to_string
    uint32_t nr = 0;
    const auto [ende, f] = std::from_chars(s.data(), s.data() + s.size(), nr);
    return f == std::errc() && ende == s.data() + s.size() && nr == weg.FONr;
}

// Der Probelauf Zeile für Zeile: keine Liste aller Stellen, nur die des
// Objekts, dessen Zeilen gerade kommen (bench_werte, 2,9 Mio. Zeilen: mit
// Listen aller Stellen und Felder 6,0 s, so 0,39 s).
class TWertePruefer {
public:
    TWertePruefer(const TModell& modell, TTabellenform form, bool tabellenkalkulation)
        : Modell(modell), Form(form), Tabellenkalkulation(tabellenkalkulation) {
        Objekte.reserve(modell.FOListe.Anzahl());
        size_t basis = 0;
        for (const auto& o : modell.FOListe.Alle()) {
            size_t anzahl = 0;
            ObjektStellen(modell, *o, [&](const TWertStelle&) { ++anzahl; });
            if (Objekte.try_emplace(o->FONr, TObjekt{o.get(), basis, anzahl, 0}).second) basis += anzahl;
        }
        Gesehen.assign(basis, 0);
        for (int a = 0; a < modell.AnzahlArtikel(); ++a) ArtikelNamen.push_back(ArtikelName(modell, a));
    }

    void Zeile(size_t nr, std::span<const std::string_view> f, bool wertIstZahl) {
        ++P.Zeilen;
        if (f.size() != 8) {
            Problem(nr, "", std::to_string(f.size()) + " statt 8 Spalten");
            return;
        }
        uint32_t fonr = 0;
        const std::string_view nrText = Getrimmt(f[0]);
        const auto [ende, fehler] = std::from_chars(nrText.data(), nrText.data() + nrText.size(), fonr);
        if (nrText.empty() || fehler != std::errc() || ende != nrText.data() + nrText.size()) {
            Problem(nr, "FONr", "keine Objektnummer: " + Gekuerzt(f[0]));
            return;
        }
        TObjekt* objekt = ObjektMitNummer(fonr);
        if (objekt == nullptr || (objekt->O->AlsKnoten() == nullptr && objekt->O->AlsWeg() == nullptr)) {
            Problem(nr, "FONr", "unbekanntes Objekt #" + std::to_string(fonr));
            return;
        }
        const TFO& o = *objekt->O;
        if (f[1] != o.Name) {
            Problem(nr, "Objekt",
                    "der Name passt nicht zur Nummer #" + std::to_string(fonr) + " (im Modell: " + Gekuerzt(o.Name) + ")");
            return;
        }
        const auto passt = [&](size_t k) {
            const TWertStelle& z = Stellen[k];
            if (f[3] != z.Groesse || f[4] != ArtikelText(z.Artikel)) return false;
            if (z.VonWeg != nullptr ? !IstWegBezeichnung(f[5], *z.VonWeg) : f[5] != ArtikelText(z.VonArtikel))
                return false;
            return z.NachWeg != nullptr ? IstWegBezeichnung(f[6], *z.NachWeg) : f[6].empty();
        };
        // Eine Tabelle steht meist in der Folge, in der sie geschrieben wurde:
        // die Stelle nach dem letzten Treffer zuerst.
        std::optional<size_t> stelle;
        if (objekt->Weiter < Stellen.size() && passt(objekt->Weiter)) stelle = objekt->Weiter;
        for (size_t k = 0; !stelle && k < Stellen.size(); ++k)
            if (passt(k)) stelle = k;
        if (!stelle) {
            Problem(nr, "Groesse",
                    "kein solcher Wert bei " + o.Titel() + ": " + Gekuerzt(f[3]) + " " + Gekuerzt(f[4]) +
                        (f[5].empty() ? "" : " von " + Gekuerzt(f[5])) + (f[6].empty() ? "" : " nach " + Gekuerzt(f[6])));
            return;
        }
        objekt->Weiter = *stelle + 1;
        size_t& gesehen = Gesehen[objekt->Basis + *stelle];
        if (gesehen != 0) {
            Problem(nr, "", "die Zeile steht doppelt (zuerst in Zeile " + std::to_string(gesehen) + ")");
            return;
        }
        gesehen = nr;
        const TZahlLesen zahl = wertIstZahl ? TabellenzahlLesen(f[7], TTabellenform::Standard)
                                            : TabellenzahlLesen(f[7], Form, Tabellenkalkulation);
        if (!zahl.Wert) {
            Problem(nr, "Wert", zahl.Grund);
            return;
        }
        const TWertStelle& ziel = Stellen[*stelle];
        const double alt = Lesen(o, ziel.Ort);
        if (GleichInDerDatei(*zahl.Wert, alt)) return;
        const std::string_view groesse = ziel.Groesse;
        if (groesse == "Anteil" && (*zahl.Wert < 0.0 || *zahl.Wert > 100.0)) {
            Problem(nr, "Wert", "ein Anteil liegt zwischen 0 und 100, nicht " + TextAusFloat(*zahl.Wert));
            return;
        }
        if (groesse == "Kapazitaet" && *zahl.Wert < 0.0) {
            Problem(nr, "Wert", "eine Kapazit\xE4t ist nicht negativ");
            return;
        }
        P.Aenderungen.push_back({ziel.Ort, alt, *zahl.Wert});
        if (!ziel.Ort.Kapazitaet) NeueZellen[{ziel.Ort.FONr, ziel.Ort.A, ziel.Ort.B, ziel.Ort.C}] = {*zahl.Wert, nr};
    }

    TWertePruefung Ende() {
        // Kolonnensummen: nur Spalten, in denen die Tabelle etwas ändert,
        // gemeldet an der ersten Zeile, die darin etwas ändert.
        std::map<std::tuple<uint32_t, int, int>, size_t> spalten;
        for (const auto& [ort, neu] : NeueZellen) {
            const auto [fonr, a, j, c] = ort;
            if (Objekte.at(fonr).O->AlsKnoten()->Art() != TKnotenArt::Verzweigung) continue;
            auto [it, erste] = spalten.try_emplace({fonr, a, j}, neu.second);
            if (!erste) it->second = std::min(it->second, neu.second);
        }
        for (const auto& [spalte, zeile] : spalten) {
            const auto [fonr, a, j] = spalte;
            const TKnoten* k = Objekte.at(fonr).O->AlsKnoten();
            double summe = 0.0;
            for (int c = 1; c < k->Matrix().Dim3(); ++c) {
                const auto neu = NeueZellen.find({fonr, a, j, c});
                summe += neu != NeueZellen.end() ? neu->second.first : k->Matrix().W(a, j, c);
            }
            if (!(std::fabs(summe - 100.0) <= Summentoleranz))
                Problem(zeile, "Wert",
                        "die Anteile von " + k->Titel() + " f\xFCr " + ArtikelName(Modell, a) + " aus " +
                            WegBezeichnung(*k->GetEingang(j - 1)) + " ergeben " + TextAusFloat(summe) + " statt 100 %");
        }
        std::stable_sort(P.Probleme.begin(), P.Probleme.end(),
                         [](const TWertProblem& a, const TWertProblem& b) { return a.Zeile < b.Zeile; });
        return std::move(P);
    }

private:
    struct TObjekt {
        const TFO* O;
        size_t Basis, Anzahl, Weiter;
    };

    // Das Objekt und in Stellen seine Stellen; dieselbe Nummer wie zuvor ohne Suche.
    TObjekt* ObjektMitNummer(uint32_t fonr) {
        if (Letztes != nullptr && Letztes->O->FONr == fonr) return Letztes;
        const auto it = Objekte.find(fonr);
        if (it == Objekte.end()) return nullptr;
        Letztes = &it->second;
        Stellen.clear();
        ObjektStellen(Modell, *Letztes->O, [&](const TWertStelle& st) { Stellen.push_back(st); });
        return Letztes;
    }
    const std::string& ArtikelText(int a) const {
        static const std::string leer;
        return a >= 0 ? ArtikelNamen[static_cast<size_t>(a)] : leer;
    }
    void Problem(size_t zeile, const char* spalte, std::string grund) {
        P.Probleme.push_back({zeile, spalte, std::move(grund)});
    }

    const TModell& Modell;
    const TTabellenform Form;
    const bool Tabellenkalkulation;
    std::unordered_map<uint32_t, TObjekt> Objekte;
    TObjekt* Letztes = nullptr;
    std::vector<TWertStelle> Stellen;
    // Je Stelle des Modells die Dateizeile, die sie schon nannte (0: keine).
    std::vector<size_t> Gesehen;
    std::vector<std::string> ArtikelNamen;
    // Neue Werte und ihre Zeile je Ort, um Kolonnensummen nach der Änderung zu beurteilen.
    std::map<std::tuple<uint32_t, int, int, int>, std::pair<double, size_t>> NeueZellen;
    TWertePruefung P;
};

} // namespace

TGeleseneTabelle CsvTabelleLesen(const std::string& eingabe) {
    TGeleseneTabelle tabelle;
    const std::string_view quelle = tabelle.QuelleSetzen(eingabe);
    tabelle.Form = CsvForm(quelle);
    const std::less<const char*> vor;
    CsvDurchgehen(quelle, tabelle.Form, [&](size_t nr, std::span<const std::string_view> felder) {
        tabelle.ZeileBeginnen(nr);
        for (const std::string_view f : felder) {
            // Umgewandelte Felder gelten nur bis zur nächsten Zeile.
            const bool inQuelle = !vor(f.data(), quelle.data()) && !vor(quelle.data() + quelle.size(), f.data());
            tabelle.FeldAnhaengen(inQuelle ? f : tabelle.Eigen(std::string(f)));
        }
    });
    return tabelle;
}

TWertePruefung CsvWertePruefen(const TModell& modell, std::string_view text) {
    const TTabellenform form = CsvForm(text);
    TWertePruefer pruefer(modell, form, false);
    CsvDurchgehen(text, form, [&](size_t nr, std::span<const std::string_view> felder) { pruefer.Zeile(nr, felder, false); });
    return pruefer.Ende();
}

TWertePruefung WertePruefen(const TModell& modell, const TGeleseneTabelle& tabelle) {
    TWertePruefer pruefer(modell, tabelle.Form, tabelle.Tabellenkalkulation);
    std::vector<std::string_view> felder;
    for (size_t i = 0; i < tabelle.Anzahl(); ++i) {
        felder.clear();
        for (size_t k = 0; k < tabelle.Spalten(i); ++k) felder.push_back(tabelle.Feld(i, k));
        pruefer.Zeile(tabelle.Dateizeilen[i], felder, i < tabelle.WertIstZahl.size() && tabelle.WertIstZahl[i]);
    }
    return pruefer.Ende();
}

void WerteSetzen(TModell& modell, const std::vector<TWertAenderung>& aenderungen, bool neu) {
    if (aenderungen.empty()) return;
    const std::unordered_map<uint32_t, TFO*> objekte = NachNummer(modell);
    for (const TWertAenderung& a : aenderungen) {
        const auto gefunden = objekte.find(a.Ort.FONr);
        if (gefunden == objekte.end()) continue;
        TFO* o = gefunden->second;
        const double wert = neu ? a.Neu : a.Alt;
        if (a.Ort.Kapazitaet) o->Kapazitaet = wert;
        else if (TKnoten* k = o->AlsKnoten(); k != nullptr) k->Matrix().ZelleSetzen(a.Ort.A, a.Ort.B, a.Ort.C, wert);
    }
}

std::vector<std::string> PruefungsZeilen(const TWertePruefung& p) {
    std::vector<std::string> zeilen;
    for (const TWertProblem& f : p.Probleme)
        zeilen.push_back("Zeile " + std::to_string(f.Zeile) + (f.Spalte.empty() ? "" : ", Spalte " + f.Spalte) + ": " +
                         f.Grund);
    const size_t n = p.Aenderungen.size();
    zeilen.push_back(std::to_string(p.Zeilen) + " Zeilen gelesen, " + std::to_string(n) +
                     (n == 1 ? " Wert w\xFCrde sich \xE4ndern" : " Werte w\xFCrden sich \xE4ndern") +
                     (p.Probleme.empty() ? "." : ", " + std::to_string(p.Probleme.size()) + " Fehler."));
    return zeilen;
}

} // namespace tessomir
