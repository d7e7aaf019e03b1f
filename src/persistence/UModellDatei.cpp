#include "UModellDatei.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unordered_map>
#include <unordered_set>

#include "model/UFehler.h"
#include "model/UKnoten.h"
#include "model/UText.h"

namespace tessomir {
namespace {

// Setzt Laedt für die Dauer des Lesens, auch wenn eine Ausnahme fliegt.
class TLadeSchutz {
public:
    explicit TLadeSchutz(TModell& m) : M(m) { M.Laedt = 1; }
    ~TLadeSchutz() { M.Laedt = 0; }
    TLadeSchutz(const TLadeSchutz&) = delete;
    TLadeSchutz& operator=(const TLadeSchutz&) = delete;

private:
    TModell& M;
};

struct TVerweis {
    int32_t Position;
    int32_t Nummer;
    TWeg* Weg;
};

// Zerlegt "p / n" eines Weges; die Texte sind je Liste eindeutig.
std::vector<TVerweis> VerweiseLesen(const std::vector<TWeg*>& wege, bool start) {
    std::vector<TVerweis> verweise;
    verweise.reserve(wege.size());
    std::unordered_set<std::string_view> gesehen;
    gesehen.reserve(wege.size() * 2);
    for (TWeg* weg : wege) {
        const std::string& text = start ? weg->StartVerweis : weg->ZielVerweis;
        if (!gesehen.insert(text).second) {
            throw EStringListError("Stringliste gestattet keine Duplikate ('" + text + "')");
        }
    }
    for (TWeg* weg : wege) {
        std::string_view rest = start ? weg->StartVerweis : weg->ZielVerweis;
        TVerweis v{};
        v.Position = IntAusText(NaechstesFeld(rest));
        v.Nummer = IntAusText(NaechstesFeld(rest));
        if (v.Nummer < 0) throw ERangeError("Knotennummer " + std::to_string(v.Nummer) + " ist negativ");
        v.Weg = weg;
        verweise.push_back(v);
    }
    std::stable_sort(verweise.begin(), verweise.end(),
                     [](const TVerweis& a, const TVerweis& b) { return a.Position < b.Position; });
    return verweise;
}

[[noreturn]] void UnzulaessigerWeg(const TWeg& weg, const TKnoten& knoten, bool ausgang) {
    throw EModellErzeugen("<" + weg.Name + "> ist als " + (ausgang ? "Ausgang" : "Eingang") + " von <" +
                          knoten.Name + "> nicht zul\xE4" "ssig");
}

// Ein Weg darf nur dort hängen, wo die Knotenart ihn kennt; sonst bliebe ein
// Weg, den sein Knoten nicht führt.
void AusgangVerbinden(TWeg& weg, TKnoten& knoten) {
    const bool erlaubt = dynamic_cast<TVerzweigung*>(&knoten) != nullptr ||
                         ((dynamic_cast<TQuelle*>(&knoten) != nullptr || dynamic_cast<TWandler*>(&knoten) != nullptr) &&
                          knoten.AnzahlAusgaenge() == 0);
    if (!erlaubt) UnzulaessigerWeg(weg, knoten, true);
    weg.SetStart(&knoten);
}

void EingangVerbinden(TWeg& weg, TKnoten& knoten) {
    const bool erlaubt = dynamic_cast<TVerzweigung*>(&knoten) != nullptr ||
                         ((dynamic_cast<TSenke*>(&knoten) != nullptr || dynamic_cast<TWandler*>(&knoten) != nullptr) &&
                          knoten.AnzahlEingaenge() == 0);
    if (!erlaubt) UnzulaessigerWeg(weg, knoten, false);
    weg.SetZiel(&knoten);
}

// Die gelesene Matrix muss zu Artikeln und Wegen passen, sonst lesen
// Berechnung und Zeichnen Zellen, die es nicht gibt.
void MatrixformPruefen(const TKnoten& k, int n) {
    int d2 = 0;
    int d3 = 0;
    if (dynamic_cast<const TQuelle*>(&k) != nullptr) {
        d2 = 1;
        d3 = 1 + k.AnzahlAusgaenge();
    } else if (dynamic_cast<const TSenke*>(&k) != nullptr) {
        d2 = 1 + k.AnzahlEingaenge();
        d3 = 1;
    } else if (dynamic_cast<const TVerzweigung*>(&k) != nullptr) {
        d2 = 1 + k.AnzahlEingaenge();
        d3 = 1 + k.AnzahlAusgaenge();
    } else if (dynamic_cast<const TWandler*>(&k) != nullptr) {
        d2 = n + 1;
        d3 = 2;
    } else {
        return; // ein schlichter Knoten rechnet und zeigt nichts
    }
    const TDyn3DMatrix& m = k.Matrix();
    if (m.Dim1() != n || m.Dim2() != d2 || m.Dim3() != d3) {
        throw EModellErzeugen("<" + k.Name + "> Matrix " + m.DimText() + " passt nicht zu Artikeln und Wegen (erwartet " +
                              std::to_string(n) + " / " + std::to_string(d2) + " / " + std::to_string(d3) + ")");
    }
}

} // namespace

// ---------------------------------------------------------------- Schrift

std::string TextAusSchrift(const TSchrift& s) {
    return s.Name + " / " + std::to_string(s.Zeichensatz) + " / " + std::to_string(s.Farbe) + " / " +
           std::to_string(s.Hoehe) + " / " + std::to_string(s.Teilung) + " / " + std::to_string(s.Stil);
}

TSchrift SchriftAusText(std::string_view text) {
    TSchrift s;
    s.Name = std::string(NaechstesFeld(text));
    const int32_t zeichensatz = IntAusText(NaechstesFeld(text));
    if (zeichensatz < 0 || zeichensatz > 255) {
        throw ERangeError("Zeichensatz " + std::to_string(zeichensatz) + " liegt nicht in 0 bis 255");
    }
    s.Zeichensatz = zeichensatz;
    s.Farbe = IntAusText(NaechstesFeld(text));
    s.Hoehe = IntAusText(NaechstesFeld(text));
    const int32_t teilung = IntAusText(NaechstesFeld(text));
    s.Teilung = (teilung == 1 || teilung == 2) ? teilung : 0;
    s.Stil = IntAusText(NaechstesFeld(text)) & 15;
    return s;
}

// ---------------------------------------------------------------- Schreiben

void TModell::Schreiben(TZeilenSchreiber& aus) const {
    // Großzügig vorab reservieren: ohne Umkopieren beim Wachsen; nicht
    // beschriebene Seiten kosten das Betriebssystem nichts.
    size_t zellen = 0;
    for (const auto& objekt : FOListe.Alle()) {
        if (const TKnoten* k = objekt->AlsKnoten()) zellen += k->Matrix().AnzahlZellen();
    }
    aus.Text().reserve(aus.Text().size() + 4096 + 256 * FOListe.Anzahl() + 26 * zellen);
    aus.Zeile("Klasse ========= ", Klassenname());
    aus.Zeile("FO Nr", std::to_string(FONr));
    aus.Zeile("Name", Name);
    aus.Zeile("Datenformat Ver", std::to_string(DatenformatVer));
    aus.Zeile("Schrift", TextAusSchrift(Schrift));
    aus.Zeile("Quellen Beschr", TextAusBool(QuellenBeschr));
    aus.Zeile("Senken Beschr", TextAusBool(SenkenBeschr));
    aus.Zeile("Verzweig Beschr", TextAusBool(VerzweigBeschr));
    aus.Zeile("Wandler Beschr", TextAusBool(WandlerBeschr));
    aus.Zeile("Wege Beschr", TextAusBool(WegeBeschr));
    aus.Zeile("Symbol Groesse", std::to_string(SymbolGroesse));
    aus.Zeile("Strom Groesse", std::to_string(StromGroesse));
    aus.Zeile("Proz Stellen", std::to_string(ProzStellen));
    aus.Zeile("Strom Stellen", std::to_string(StromStellen));
    aus.Zeile("Stromanzeige", std::to_string(Stromanzeige));
    aus.Zeile("Max Strom ber", TextAusBool(MaxStromBer));
    aus.Zeile("Max Strom", TextAusFloat(MaxStrom));
    aus.Zeile("Max Ber Dauer", std::to_string(MaxBerDauer));
    aus.Zeile("Artikel", std::to_string(ArtikelListe.size()));
    for (const auto& artikel : ArtikelListe) aus.Zeile("", artikel);
    for (const auto& objekt : FOListe.Alle()) objekt->Schreiben(aus);
}

void TModell::DateiSpeichern(const std::string& dateiName) {
    TZeilenSchreiber aus;
    Schreiben(aus);
    DateiErsetzen(dateiName, aus.Text());
    DateiName = dateiName;
}

// ---------------------------------------------------------------- Lesen

bool TModell::DateiLaden(const std::string& dateiName) {
    TextLaden(DateiInhalt(dateiName));
    DateiName = dateiName;
    return true;
}

void TModell::TextLaden(std::string_view text) {
    ObjekteLoeschen();
    TLadeSchutz schutz(*this);
    TZeilenLeser ein(text);
    ModellLesen(ein);
}

void TModell::ModellLesen(TZeilenLeser& ein) {
    ein.LeseZeile = 2;
    const std::string_view name = ein.WertLesen();
    GeleseneVersion = name == "TModell0" ? 1 : IntAusText(ein.WertLesen());
    ein.GeleseneVersion = GeleseneVersion;
    Schrift = SchriftAusText(ein.WertLesen());
    QuellenBeschr = BoolAusText(ein.WertLesen());
    SenkenBeschr = BoolAusText(ein.WertLesen());
    VerzweigBeschr = BoolAusText(ein.WertLesen());
    if (GeleseneVersion > 1) WandlerBeschr = BoolAusText(ein.WertLesen());
    WegeBeschr = BoolAusText(ein.WertLesen());
    SymbolGroesse = IntAusText(ein.WertLesen());
    StromGroesse = IntAusText(ein.WertLesen());
    ProzStellen = IntAusText(ein.WertLesen());
    StromStellen = IntAusText(ein.WertLesen());
    Stromanzeige = IntAusText(ein.WertLesen());
    MaxStromBer = BoolAusText(ein.WertLesen());
    MaxStrom = FloatAusText(ein.WertLesen());
    const int32_t dauer = IntAusText(ein.WertLesen());
    if (dauer < 0) throw ERangeError("Max Ber Dauer " + std::to_string(dauer) + " ist negativ");
    MaxBerDauer = static_cast<uint32_t>(dauer);

    ArtikelListe.clear();
    const int32_t anzahl = IntAusText(ein.WertLesen());
    // Ein Modell ohne Artikel hätte keine gültige Artikelnummer.
    if (anzahl < 1) throw EModellErzeugen("Artikelanzahl " + std::to_string(anzahl) + " ist ung\xFC" "ltig");
    for (int32_t i = 0; i < anzahl; ++i) ArtikelListe.emplace_back(ein.WertLesen());
    AktArtikel = 0;

    std::vector<TWeg*> wege;
    std::vector<TKnoten*> knoten;
    while (ein.LeseZeile + 1 < ein.AnzahlZeilen()) {
        const std::string_view klasse = ein.WertLesen();
        const TFOKlasse* k = TFOKlassenAusName(klasse);
        if (k == nullptr) {
            throw EModellErzeugen("<" + std::string(klasse) + "> in TFOKlassenAusName nicht gefunden");
        }
        std::unique_ptr<TFO> objekt = k->Erzeugen();
        if (!objekt) {
            throw EModellErzeugen("<" + std::string(klasse) + "> ist als Objekt eines Modells nicht zul\xE4" "ssig");
        }
        objekt->Lesen(ein);
        auto* kn = dynamic_cast<TKnoten*>(objekt.get());
        if (kn != nullptr) knoten.push_back(kn);
        if (auto* weg = dynamic_cast<TWeg*>(objekt.get())) wege.push_back(weg);
        FOListe.Hinzufuegen(std::move(objekt), kn != nullptr);
    }

    std::unordered_map<uint32_t, TFO*> nachNummer;
    nachNummer.reserve(FOListe.Anzahl());
    for (const auto& o : FOListe.Alle()) nachNummer.emplace(o->FONr, o.get());
    auto knotenMitNummer = [&nachNummer](int32_t nr) -> TKnoten* {
        const auto it = nachNummer.find(static_cast<uint32_t>(nr));
        return it == nachNummer.end() ? nullptr : dynamic_cast<TKnoten*>(it->second);
    };

    for (const TVerweis& v : VerweiseLesen(wege, true)) {
        TKnoten* k = knotenMitNummer(v.Nummer);
        if (k == nullptr) throw EModellErzeugen("<" + v.Weg->Name + "> ung\xFC" "ltiger Startknoten");
        AusgangVerbinden(*v.Weg, *k);
    }
    for (const TVerweis& v : VerweiseLesen(wege, false)) {
        TKnoten* k = knotenMitNummer(v.Nummer);
        if (k == nullptr) throw EModellErzeugen("<" + v.Weg->Name + "> ung\xFC" "ltiger Zielknoten");
        EingangVerbinden(*v.Weg, *k);
    }
    for (TWeg* weg : wege) {
        weg->StartVerweis = std::string();
        weg->ZielVerweis = std::string();
    }
    for (const TKnoten* k : knoten) MatrixformPruefen(*k, AnzahlArtikel());
}

// ---------------------------------------------------------------- Dateien

std::string DateinameOhneOrdner(const std::string& pfad) {
    return std::filesystem::path(pfad).filename().string();
}

std::string DateinameFuerAnzeige(const std::string& pfad) {
    return AnsiAusUtf8(DateinameOhneOrdner(pfad));
}

std::string DateiInhalt(const std::string& dateiName) {
    std::ifstream datei(dateiName, std::ios::binary);
    if (!datei) {
        throw EFOpenError("Datei " + dateiName + " kann nicht ge\xF6" "ffnet werden: " + std::strerror(errno));
    }
    // Ein Ordner lässt sich unter Linux öffnen und meldet eine riesige Länge.
    std::error_code egal;
    if (std::filesystem::is_directory(dateiName, egal)) {
        throw EFOpenError("Datei " + dateiName + " kann nicht ge\xF6" "ffnet werden: sie ist ein Ordner");
    }
    std::string inhalt;
    datei.seekg(0, std::ios::end);
    const std::streamoff groesse = datei.tellg();
    datei.seekg(0, std::ios::beg);
    if (groesse > 0) inhalt.resize(static_cast<size_t>(groesse));
    if (groesse > 0 && !datei.read(inhalt.data(), groesse)) {
        throw EFOpenError("Datei " + dateiName + " kann nicht gelesen werden");
    }
    if (groesse < 0) {
        // Kein Suchen möglich (z. B. eine Pipe): stückweise lesen.
        datei.clear();
        inhalt.assign(std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>());
    }
    return inhalt;
}

void DateiErsetzen(const std::string& dateiName, const std::string& inhalt) {
    namespace fs = std::filesystem;
    const fs::path ziel(dateiName);
    fs::path hilfs = ziel;
    hilfs += ".~tsr";
    {
        std::ofstream datei(hilfs, std::ios::binary | std::ios::trunc);
        if (!datei) {
            throw EFCreateError("Datei " + dateiName + " kann nicht erstellt werden: " + std::strerror(errno));
        }
        datei.write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
        datei.flush();
        if (!datei) {
            datei.close();
            std::error_code egal;
            fs::remove(hilfs, egal);
            throw EFCreateError("Datei " + dateiName + " kann nicht geschrieben werden");
        }
    }
    std::error_code fehler;
    fs::rename(hilfs, ziel, fehler);
    if (fehler) {
        std::error_code egal;
        fs::remove(hilfs, egal);
        throw EFCreateError("Datei " + dateiName + " kann nicht ersetzt werden: " + fehler.message());
    }
}

TOeffnenErgebnis ModellOeffnen(const std::string& dateiName) {
    TOeffnenErgebnis ergebnis;
    auto modell = std::make_unique<TModell>();
    Modell = modell.get();
    try {
        modell->DateiLaden(dateiName);
        ergebnis.Modell = std::move(modell);
    } catch (const std::exception& e) {
        modell.reset(); // setzt auch Modell und FONrZaehler zurück
        Modell = nullptr;
        ergebnis.Meldung = "Die Datei " + DateinameOhneOrdner(dateiName) + " kann nicht ge\xF6" "ffnet werden.";
        ergebnis.Grund = e.what();
    }
    return ergebnis;
}

TSpeichernErgebnis ModellSichern(TModell& modell, const std::string& dateiName) {
    TSpeichernErgebnis ergebnis;
    try {
        modell.DateiSpeichern(dateiName);
        ergebnis.Ok = true;
    } catch (const std::exception& e) {
        ergebnis.Meldung = "Die Datei " + DateinameOhneOrdner(dateiName) + " kann nicht geschrieben werden.";
        ergebnis.Grund = e.what();
    }
    return ergebnis;
}

} // namespace tessomir
