#include "persistence/UWerteTabelle.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
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

// Ruft 'f' für jeden Eingabewert des Modells in Listenfolge auf; die eine
// Stelle, die festlegt, welche Zeilen es gibt.
template <class F> void StellenDurchgehen(const TModell& modell, F&& f) {
    const int n = modell.AnzahlArtikel();
    for (const auto& o : modell.FOListe.Alle()) {
        const TKnoten* k = o->AlsKnoten();
        if (k == nullptr && o->AlsWeg() == nullptr) continue;
        if (HatKapazitaet(*o)) f(TWertStelle{o.get(), "Kapazitaet", -1, nullptr, -1, nullptr, TWertOrt{o->FONr, true}});
        if (k == nullptr) continue;
        const TDyn3DMatrix& m = k->Matrix();
        const int artikel = std::min(n, m.Dim1());
        switch (k->Art()) {
        case TKnotenArt::Quelle:
            if (k->AnzahlAusgaenge() == 1 && m.Dim3() >= 2)
                for (int a = 0; a < artikel; ++a)
                    f(TWertStelle{o.get(), "Liefermenge", a, nullptr, -1, nullptr, TWertOrt{o->FONr, false, a, 0, 1}});
            break;
        case TKnotenArt::Verzweigung:
            for (int a = 0; a < artikel; ++a)
                for (int j = 1; j <= std::min(k->AnzahlEingaenge(), m.Dim2() - 1); ++j)
                    for (int c = 1; c <= std::min(k->AnzahlAusgaenge(), m.Dim3() - 1); ++c)
                        f(TWertStelle{o.get(), "Anteil", a, k->GetEingang(j - 1), -1, k->GetAusgang(c - 1),
                                      TWertOrt{o->FONr, false, a, j, c}});
            break;
        case TKnotenArt::Wandler:
            if (m.Dim3() >= 2)
                for (int a = 0; a < artikel; ++a)
                    for (int j = 0; j < std::min(n, m.Dim2() - 1); ++j)
                        f(TWertStelle{o.get(), "Faktor", a, nullptr, j, nullptr, TWertOrt{o->FONr, false, a, j + 1, 1}});
            break;
        default:
            break;
        }
    }
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

TGeleseneTabelle CsvTabelleLesen(const std::string& eingabe) {
    TGeleseneTabelle tabelle;
    std::string_view text = tabelle.QuelleSetzen(eingabe);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::string_view kopfzeile = text.substr(0, text.find_first_of("\r\n"));
    const size_t komma = kopfzeile.find(','), semikolon = kopfzeile.find(';');
    if (semikolon != std::string_view::npos && (komma == std::string_view::npos || semikolon < komma))
        tabelle.Form = TTabellenform::Deutsch;
    const char t = tabelle.Form == TTabellenform::Deutsch ? ';' : ',';
    const char enden[] = {t, '\r', '\n', '\0'};
    // Ein Zeilenende je Zeile: einmal gezählt, statt die Felder beim Wachsen
    // wieder und wieder umzukopieren.
    tabelle.Reservieren(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    const auto nurAscii = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    // RFC 4180: Felder in Anführungszeichen dürfen Trenner, "" und Zeilenenden
    // enthalten. Ein Feld ohne sie ist ein Ausschnitt des Texts, nur eins mit
    // Anführungszeichen oder Zeichen ausserhalb ASCII wird ein eigener Text.
    std::vector<std::string_view> felder;
    size_t i = 0, dateizeile = 1;
    bool kopf = true;
    while (i < text.size()) {
        const size_t anfangszeile = dateizeile;
        felder.clear();
        bool zeileZuEnde = false;
        while (!zeileZuEnde) {
            std::string_view feld;
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
                const size_t ende = std::min(text.find_first_of(enden, k), text.size());
                eigen += text.substr(k, ende - k);
                i = ende;
                feld = tabelle.Eigen(nurAscii(eigen) ? std::move(eigen) : AnsiAusUtf8(eigen));
            } else {
                const size_t ende = std::min(text.find_first_of(enden, i), text.size());
                feld = text.substr(i, ende - i);
                i = ende;
                if (!nurAscii(feld)) feld = tabelle.Eigen(AnsiAusUtf8(feld));
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
            for (const std::string_view f : felder) tabelle.Kopf.emplace_back(f);
            kopf = false;
            continue;
        }
        tabelle.ZeileBeginnen(anfangszeile);
        for (const std::string_view f : felder) tabelle.FeldAnhaengen(f);
    }
    std::vector<std::string> erwartet(std::begin(WerteSpalten), std::end(WerteSpalten));
    if (tabelle.Kopf != erwartet)
        throw EModellErzeugen("die Kopfzeile ist nicht FONr, Objekt, Art, Groesse, Artikel, Von, Nach, Wert");
    return tabelle;
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

TWertePruefung WertePruefen(const TModell& modell, const TGeleseneTabelle& tabelle) {
    TWertePruefung p;
    p.Zeilen = tabelle.Anzahl();
    // Die Stellen ohne Texte; verglichen wird mit Namen, die je Artikel und
    // Weg einmal gebildet werden (bench_werte: mit WerteZeilen 8,6 s, so
    // 6,0 bis 6,5 s für Lesen und Prüfen von 2,9 Mio. Zeilen).
    std::vector<TWertStelle> modellZeilen;
    StellenDurchgehen(modell, [&](const TWertStelle& st) { modellZeilen.push_back(st); });
    const std::unordered_map<uint32_t, TFO*> objekte = NachNummer(modell);
    std::vector<std::string> artikelNamen;
    for (int a = 0; a < modell.AnzahlArtikel(); ++a) artikelNamen.push_back(ArtikelName(modell, a));
    std::unordered_map<const TWeg*, std::string> wegTexte;
    const auto wegText = [&](const TWeg* w) -> const std::string& {
        auto [it, neu] = wegTexte.try_emplace(w);
        if (neu) it->second = WegBezeichnung(*w);
        return it->second;
    };
    static const std::string leer;
    const auto artikelText = [&](int a) -> const std::string& { return a >= 0 ? artikelNamen[static_cast<size_t>(a)] : leer; };
    // Die Zeilen eines Objekts stehen beieinander: Bereich je Nummer, dazu
    // die Stelle nach dem letzten Treffer, denn eine Tabelle steht meist in
    // der Reihenfolge, in der sie geschrieben wurde.
    struct TBereich {
        size_t Anfang, Ende, Weiter;
    };
    std::unordered_map<uint32_t, TBereich> bereiche;
    bereiche.reserve(objekte.size());
    for (size_t i = 0; i < modellZeilen.size(); ++i) {
        auto [it, neu] = bereiche.try_emplace(modellZeilen[i].Objekt->FONr, TBereich{i, i + 1, i});
        if (!neu) it->second.Ende = i + 1;
    }
    // Je Zeile des Modells die Dateizeile, die sie schon nannte (0: keine).
    std::vector<size_t> gesehen(modellZeilen.size(), 0);
    // Neue Werte je Ort, um Kolonnensummen nach der Änderung zu beurteilen.
    std::map<std::tuple<uint32_t, int, int, int>, double> neueZellen;
    const auto problem = [&](size_t zeile, const char* spalte, std::string grund) {
        p.Probleme.push_back({zeile, spalte, std::move(grund)});
    };
    for (size_t i = 0; i < tabelle.Anzahl(); ++i) {
        const size_t nr = tabelle.Dateizeilen[i];
        if (tabelle.Spalten(i) != 8) {
            problem(nr, "", std::to_string(tabelle.Spalten(i)) + " statt 8 Spalten");
            continue;
        }
        std::string_view f[8];
        for (size_t k = 0; k < 8; ++k) f[k] = tabelle.Feld(i, k);
        uint32_t fonr = 0;
        const std::string_view nrText = Getrimmt(f[0]);
        const auto [ende, fehler] = std::from_chars(nrText.data(), nrText.data() + nrText.size(), fonr);
        if (nrText.empty() || fehler != std::errc() || ende != nrText.data() + nrText.size()) {
            problem(nr, "FONr", "keine Objektnummer: " + Gekuerzt(f[0]));
            continue;
        }
        const auto gefunden = objekte.find(fonr);
        const TFO* objekt = gefunden != objekte.end() ? gefunden->second : nullptr;
        if (objekt == nullptr || (objekt->AlsKnoten() == nullptr && objekt->AlsWeg() == nullptr)) {
            problem(nr, "FONr", "unbekanntes Objekt #" + std::to_string(fonr));
            continue;
        }
        if (f[1] != objekt->Name) {
            problem(nr, "Objekt", "der Name passt nicht zur Nummer #" + std::to_string(fonr) + " (im Modell: " +
                                      Gekuerzt(objekt->Name) + ")");
            continue;
        }
        const auto passt = [&](size_t k) {
            const TWertStelle& z = modellZeilen[k];
            if (f[3] != z.Groesse || f[4] != artikelText(z.Artikel)) return false;
            if (f[5] != (z.VonWeg != nullptr ? wegText(z.VonWeg) : artikelText(z.VonArtikel))) return false;
            return f[6] == (z.NachWeg != nullptr ? wegText(z.NachWeg) : leer);
        };
        std::optional<size_t> stelle;
        if (const auto b = bereiche.find(fonr); b != bereiche.end()) {
            TBereich& r = b->second;
            if (r.Weiter < r.Ende && passt(r.Weiter)) stelle = r.Weiter;
            for (size_t k = r.Anfang; !stelle && k < r.Ende; ++k)
                if (passt(k)) stelle = k;
            if (stelle) r.Weiter = *stelle + 1;
        }
        if (!stelle) {
            problem(nr, "Groesse", "kein solcher Wert bei " + objekt->Titel() + ": " + Gekuerzt(f[3]) + " " +
                                       Gekuerzt(f[4]) + (f[5].empty() ? "" : " von " + Gekuerzt(f[5])) +
                                       (f[6].empty() ? "" : " nach " + Gekuerzt(f[6])));
            continue;
        }
        if (gesehen[*stelle] != 0) {
            problem(nr, "", "die Zeile steht doppelt (zuerst in Zeile " + std::to_string(gesehen[*stelle]) + ")");
            continue;
        }
        gesehen[*stelle] = nr;
        const bool zahlzelle = i < tabelle.WertIstZahl.size() && tabelle.WertIstZahl[i];
        const TZahlLesen zahl = zahlzelle ? TabellenzahlLesen(f[7], TTabellenform::Standard)
                                          : TabellenzahlLesen(f[7], tabelle.Form, tabelle.Tabellenkalkulation);
        if (!zahl.Wert) {
            problem(nr, "Wert", zahl.Grund);
            continue;
        }
        const TWertStelle& ziel = modellZeilen[*stelle];
        const double alt = Lesen(*ziel.Objekt, ziel.Ort);
        if (GleichInDerDatei(*zahl.Wert, alt)) continue;
        const std::string_view groesse = ziel.Groesse;
        if (groesse == "Anteil" && (*zahl.Wert < 0.0 || *zahl.Wert > 100.0)) {
            problem(nr, "Wert", "ein Anteil liegt zwischen 0 und 100, nicht " + TextAusFloat(*zahl.Wert));
            continue;
        }
        if (groesse == "Kapazitaet" && *zahl.Wert < 0.0) {
            problem(nr, "Wert", "eine Kapazit\xE4t ist nicht negativ");
            continue;
        }
        p.Aenderungen.push_back({ziel.Ort, alt, *zahl.Wert});
        if (!ziel.Ort.Kapazitaet) neueZellen[{ziel.Ort.FONr, ziel.Ort.A, ziel.Ort.B, ziel.Ort.C}] = *zahl.Wert;
    }
    // Kolonnensummen: nur Spalten, in denen die Tabelle etwas ändert.
    std::map<std::tuple<uint32_t, int, int>, bool> spalten;
    for (const auto& [ort, wert] : neueZellen) {
        const TKnoten* k = objekte.at(std::get<0>(ort))->AlsKnoten();
        if (k->Art() == TKnotenArt::Verzweigung) spalten[{std::get<0>(ort), std::get<1>(ort), std::get<2>(ort)}] = true;
    }
    for (const auto& [spalte, egal] : spalten) {
        const auto [fonr, a, j] = spalte;
        const TKnoten* k = objekte.at(fonr)->AlsKnoten();
        double summe = 0.0;
        for (int c = 1; c < k->Matrix().Dim3(); ++c) {
            const auto neu = neueZellen.find({fonr, a, j, c});
            summe += neu != neueZellen.end() ? neu->second : k->Matrix().W(a, j, c);
        }
        if (!(std::fabs(summe - 100.0) <= Summentoleranz)) {
            // Gemeldet an der ersten Zeile, die in dieser Spalte etwas ändert.
            size_t zeile = 0;
            for (size_t i = 0; i < tabelle.Anzahl() && zeile == 0; ++i) {
                if (tabelle.Spalten(i) == 8 && Getrimmt(tabelle.Feld(i, 0)) == std::to_string(fonr) &&
                    tabelle.Feld(i, 3) == "Anteil" && tabelle.Feld(i, 4) == ArtikelName(modell, a) &&
                    tabelle.Feld(i, 5) == WegBezeichnung(*k->GetEingang(j - 1)))
                    zeile = tabelle.Dateizeilen[i];
            }
            problem(zeile, "Wert", "die Anteile von " + k->Titel() + " f\xFCr " + ArtikelName(modell, a) + " aus " +
                                       WegBezeichnung(*k->GetEingang(j - 1)) + " ergeben " + TextAusFloat(summe) +
                                       " statt 100 %");
        }
    }
    std::stable_sort(p.Probleme.begin(), p.Probleme.end(),
                     [](const TWertProblem& a, const TWertProblem& b) { return a.Zeile < b.Zeile; });
    return p;
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
