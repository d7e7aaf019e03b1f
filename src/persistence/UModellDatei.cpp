#include "persistence/UModellDatei.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "base/USpeicherblock.h"
#include "base/UText.h"

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

void NachPositionOrdnen(std::vector<TVerweis>& verweise) {
    std::stable_sort(verweise.begin(), verweise.end(),
                     [](const TVerweis& a, const TVerweis& b) { return a.Position < b.Position; });
}

// Schneller Weg für den Normalfall: jeder Verweis lesbar, keine zwei mit
// gleicher Position und Nummer. Dann sind auch ihre Texte verschieden, und
// die Hashtabelle über alle Texte entfällt. false: VerweiseLesen prüft von
// vorn, mit denselben Meldungen wie immer. BM_LadenDatei/100000: ZuFromChars
// 1,69 statt 1,89 ohne diesen Weg (Median aus drei gepaarten Läufen).
bool VerweiseOhneDoppelteLesen(const std::vector<TWeg*>& wege, bool start, std::vector<TVerweis>& verweise) {
    int32_t groessteNummer = 0;
    try {
        for (TWeg* weg : wege) {
            std::string_view rest = start ? weg->StartVerweis : weg->ZielVerweis;
            TVerweis v{};
            v.Position = IntAusText(NaechstesFeld(rest));
            v.Nummer = IntAusText(NaechstesFeld(rest));
            if (v.Nummer < 0) return false;
            v.Weg = weg;
            groessteNummer = std::max(groessteNummer, v.Nummer);
            verweise.push_back(v);
        }
    } catch (const EFehler&) {
        return false;
    }
    // Eine Marke je Knotennummer braucht dichte Nummern, wie Dateien sie haben.
    if (static_cast<uint64_t>(groessteNummer) / 4 > wege.size() + 1024) return false;
    NachPositionOrdnen(verweise);
    // Gleiche Positionen stehen nun beieinander; je Gruppe darf jede Nummer einmal vorkommen.
    std::vector<uint32_t> gruppeDerNummer(static_cast<size_t>(groessteNummer) + 1, 0);
    uint32_t gruppe = 0;
    for (size_t i = 0; i < verweise.size(); ++i) {
        if (i == 0 || verweise[i].Position != verweise[i - 1].Position) ++gruppe;
        uint32_t& marke = gruppeDerNummer[static_cast<size_t>(verweise[i].Nummer)];
        if (marke == gruppe) return false;
        marke = gruppe;
    }
    return true;
}

// Zerlegt "p / n" eines Weges; die Texte sind je Liste eindeutig.
std::vector<TVerweis> VerweiseLesen(const std::vector<TWeg*>& wege, bool start) {
    std::vector<TVerweis> verweise;
    verweise.reserve(wege.size());
    if (VerweiseOhneDoppelteLesen(wege, start, verweise)) return verweise;
    verweise.clear();
    std::unordered_set<std::string_view> gesehen;
    gesehen.reserve(wege.size() * 2);
    const char* const wort = start ? "Start" : "Ziel";
    for (TWeg* weg : wege) {
        const std::string& text = start ? weg->StartVerweis : weg->ZielVerweis;
        if (!gesehen.insert(text).second) {
            EStringListError e("Stringliste gestattet keine Duplikate ('" + Gekuerzt(text) + "')",
                               std::string("ein anderer Weg hat schon denselben ") + wort + " " + Zitat(text));
            e.OrtSetzen("Weg " + weg->Titel());
            throw e;
        }
    }
    for (TWeg* weg : wege) {
        std::string_view rest = start ? weg->StartVerweis : weg->ZielVerweis;
        TVerweis v{};
        try {
            v.Position = IntAusText(NaechstesFeld(rest));
            v.Nummer = IntAusText(NaechstesFeld(rest));
            if (v.Nummer < 0) throw ERangeError("Knotennummer " + std::to_string(v.Nummer) + " ist negativ");
        } catch (EFehler& e) {
            e.OrtSetzen(std::string("Weg ") + weg->Titel() + ", " + wort);
            throw;
        }
        v.Weg = weg;
        verweise.push_back(v);
    }
    NachPositionOrdnen(verweise);
    return verweise;
}

// Objekte nach ihrer Nummer; bei doppelten Nummern gilt das erste. Liegen
// die Nummern dicht (der Normalfall), reicht eine Tabelle statt einer Hashtabelle.
// Ohne Tabelle und ohne den schnellen Weg der Verweise: BM_LadenDatei/100000
// ZuFromChars 2,00 statt 1,71, davon rund 0,1 die Tabelle (gepaarte Läufe).
class TNummernVerzeichnis {
public:
    explicit TNummernVerzeichnis(const TFOListe& liste) {
        uint32_t groesste = 0;
        for (const auto& o : liste.Alle()) groesste = std::max(groesste, o->FONr);
        if (groesste / 4 <= liste.Anzahl() + 1024) {
            Dicht.assign(static_cast<size_t>(groesste) + 1, nullptr);
            for (const auto& o : liste.Alle()) {
                if (Dicht[o->FONr] == nullptr) Dicht[o->FONr] = o.get();
            }
        } else {
            Duenn.reserve(liste.Anzahl());
            for (const auto& o : liste.Alle()) Duenn.emplace(o->FONr, o.get());
        }
    }
    TFO* Suchen(uint32_t nr) const {
        if (!Dicht.empty()) return nr < Dicht.size() ? Dicht[nr] : nullptr;
        const auto it = Duenn.find(nr);
        return it == Duenn.end() ? nullptr : it->second;
    }

private:
    std::vector<TFO*> Dicht;
    std::unordered_map<uint32_t, TFO*> Duenn;
};

[[noreturn]] void UnzulaessigerWeg(const TWeg& weg, const TKnoten& knoten, bool ausgang) {
    const std::string art = ausgang ? "Ausgang" : "Eingang";
    throw EModellErzeugen("<" + weg.Name + "> ist als " + art + " von <" + knoten.Name + "> nicht zul\xE4" "ssig",
                          "der Weg " + weg.Titel() + " ist als " + art + " von " + knoten.Titel() +
                              " nicht zul\xE4" "ssig");
}

[[noreturn]] void UngueltigerKnoten(const TWeg& weg, const TVerweis& v, bool start) {
    const std::string art = start ? "Startknoten" : "Zielknoten";
    EModellErzeugen e("<" + weg.Name + "> ung\xFC" "ltiger " + art,
                      "der " + art + " mit der Nummer " + std::to_string(v.Nummer) + " fehlt oder ist kein Knoten");
    e.OrtSetzen("Weg " + weg.Titel());
    throw e;
}

// Ein Weg darf nur dort hängen, wo die Knotenart ihn kennt; sonst bliebe ein
// Weg, den sein Knoten nicht führt.
void AusgangVerbinden(TWeg& weg, TKnoten& knoten) {
    const TKnotenArt art = knoten.Art();
    const bool erlaubt = art == TKnotenArt::Verzweigung ||
                         ((art == TKnotenArt::Quelle || art == TKnotenArt::Wandler) && knoten.AnzahlAusgaenge() == 0);
    if (!erlaubt) UnzulaessigerWeg(weg, knoten, true);
    weg.SetStart(&knoten);
}

void EingangVerbinden(TWeg& weg, TKnoten& knoten) {
    const TKnotenArt art = knoten.Art();
    const bool erlaubt = art == TKnotenArt::Verzweigung ||
                         ((art == TKnotenArt::Senke || art == TKnotenArt::Wandler) && knoten.AnzahlEingaenge() == 0);
    if (!erlaubt) UnzulaessigerWeg(weg, knoten, false);
    weg.SetZiel(&knoten);
}

// Die gelesene Matrix muss zu Artikeln und Wegen passen, sonst lesen
// Berechnung und Zeichnen Zellen, die es nicht gibt.
void MatrixformPruefen(const TKnoten& k, int n) {
    int d2 = 0;
    int d3 = 0;
    switch (k.Art()) {
    case TKnotenArt::Quelle:
        d2 = 1;
        d3 = 1 + k.AnzahlAusgaenge();
        break;
    case TKnotenArt::Senke:
        d2 = 1 + k.AnzahlEingaenge();
        d3 = 1;
        break;
    case TKnotenArt::Verzweigung:
        d2 = 1 + k.AnzahlEingaenge();
        d3 = 1 + k.AnzahlAusgaenge();
        break;
    case TKnotenArt::Wandler:
        d2 = n + 1;
        d3 = 2;
        break;
    case TKnotenArt::Knoten:
        return; // ein schlichter Knoten rechnet und zeigt nichts
    }
    const TDyn3DMatrix& m = k.Matrix();
    if (m.Dim1() != n || m.Dim2() != d2 || m.Dim3() != d3) {
        const std::string erwartet = std::to_string(n) + " / " + std::to_string(d2) + " / " + std::to_string(d3);
        EModellErzeugen e("<" + k.Name + "> Matrix " + m.DimText() + " passt nicht zu Artikeln und Wegen (erwartet " +
                              erwartet + ")",
                          "die Matrix " + m.DimText() + " passt nicht zu den Artikeln und Wegen des Knotens (erwartet " +
                              erwartet + ")");
        e.OrtSetzen("Objekt " + k.Titel());
        throw e;
    }
}

// Grund am Dateiende: leer, an einem Nullbyte zu Ende oder abgeschnitten.
std::string DateiendeGrund(const TZeilenLeser& ein, const std::string& bereich) {
    if (ein.AnzahlZeilen() == 0) {
        return ein.NulGefunden ? "die Datei enth\xE4" "lt keinen Text, sie beginnt mit einem Nullbyte"
                               : "die Datei ist leer";
    }
    const std::string zeile = std::to_string(ein.AnzahlZeilen());
    const std::string wo = ein.NulGefunden ? "der Text der Datei endet in Zeile " + zeile + " an einem Nullbyte"
                                           : "die Datei endet in Zeile " + zeile;
    return wo + " mitten im " + bereich;
}

// Ergänzt eine Ausnahme des Lesens um Zeile und Bereich, damit ihr Grund
// sagt, wo der Fehler liegt. Die Art der Ausnahme bleibt.
void OrtAnfuegen(EFehler& e, const TZeilenLeser& ein, const std::string& bereich) {
    if (!e.Ort().empty()) return;
    if (dynamic_cast<const EListError*>(&e) != nullptr && !e.HatEigenenGrund()) {
        e.GrundSetzen(DateiendeGrund(ein, bereich));
        return;
    }
    e.OrtSetzen("Zeile " + std::to_string(ein.LeseZeile) + ", " + bereich);
}

std::string KlassenGrund(std::string_view klasse) {
    if (klasse.empty()) return "hier sollte ein Objekt beginnen, aber die Objektart fehlt";
    return Zitat(klasse) +
           " ist keine bekannte Objektart (erwartet: TWeg, TQuelle, TSenke, TVerzweigung oder TWandler)";
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

void Schreiben(const TModell& modell, TZeilenSchreiber& aus) {
    KopfSchreiben(modell, aus);
    for (const auto& objekt : modell.FOListe.Alle()) objekt->Schreiben(aus);
}

void SchreibenLesegleich(const TModell& modell, TZeilenSchreiber& aus) {
    KopfSchreiben(modell, aus);
    // Der Lesende stellt jeden Weg vor die übrigen Objekte: rückwärts
    // geschrieben stehen die Wege danach wieder in der Folge von jetzt.
    const auto& alle = modell.FOListe.Alle();
    for (auto it = alle.rbegin(); it != alle.rend(); ++it)
        if ((*it)->AlsWeg() != nullptr) (*it)->Schreiben(aus);
    for (const auto& objekt : alle)
        if (objekt->AlsWeg() == nullptr) objekt->Schreiben(aus);
}

void KopfSchreiben(const TModell& modell, TZeilenSchreiber& aus) {
    // Großzügig vorab reservieren: ohne Umkopieren beim Wachsen.
    size_t zellen = 0;
    for (const auto& objekt : modell.FOListe.Alle()) {
        if (const TKnoten* k = objekt->AlsKnoten()) zellen += k->Matrix().AnzahlZellen();
    }
    aus.Reservieren(4096 + 256 * modell.FOListe.Anzahl() + 26 * zellen);
    aus.Zeile("Klasse ========= ", modell.Klassenname());
    aus.Zeile("FO Nr", std::to_string(modell.FONr));
    aus.Zeile("Name", modell.Name);
    aus.Zeile("Datenformat Ver", std::to_string(modell.DatenformatVer));
    aus.Zeile("Schrift", TextAusSchrift(modell.Schrift));
    aus.Zeile("Quellen Beschr", TextAusBool(modell.QuellenBeschr));
    aus.Zeile("Senken Beschr", TextAusBool(modell.SenkenBeschr));
    aus.Zeile("Verzweig Beschr", TextAusBool(modell.VerzweigBeschr));
    aus.Zeile("Wandler Beschr", TextAusBool(modell.WandlerBeschr));
    aus.Zeile("Wege Beschr", TextAusBool(modell.WegeBeschr));
    aus.Zeile("Symbol Groesse", std::to_string(modell.SymbolGroesse));
    aus.Zeile("Strom Groesse", std::to_string(modell.StromGroesse));
    aus.Zeile("Proz Stellen", std::to_string(modell.ProzStellen));
    aus.Zeile("Strom Stellen", std::to_string(modell.StromStellen));
    aus.Zeile("Stromanzeige", std::to_string(modell.Stromanzeige));
    aus.Zeile("Max Strom ber", TextAusBool(modell.MaxStromBer));
    aus.Zeile("Max Strom", TextAusFloat(modell.MaxStrom));
    aus.Zeile("Max Ber Dauer", std::to_string(modell.MaxBerDauer));
    aus.Zeile("Artikel", std::to_string(modell.ArtikelListe.size()));
    for (const auto& artikel : modell.ArtikelListe) aus.Zeile("", artikel);
}

void DateiSpeichern(TModell& modell, const std::string& dateiName) {
    // Der Text geht stückweise in die Hilfsdatei, während er entsteht: kein
    // Puffer von der Größe der Datei, der erst gefüllt und dann kopiert wird.
    constexpr size_t Stueck = 256 * 1024;
    TDateiErsetzer datei(dateiName);
    TZeilenSchreiber aus([&datei](std::string_view teil) { datei.Schreiben(teil); }, Stueck);
    Schreiben(modell, aus);
    aus.Abschliessen();
    datei.Abschliessen();
    modell.DateiName = dateiName;
}

// ---------------------------------------------------------------- Lesen

namespace {

// So viel liest das Öffnen zuerst: genug für den Kopf jedes echten Modells,
// wenig genug, dass eine riesige fremde Datei sofort abgewiesen ist.
constexpr size_t KopfBlock = size_t{1} << 20;

} // namespace

bool DateiLaden(TModell& modell, const std::string& dateiName) {
    modell.ObjekteLoeschen();
    TLeseDatei datei(dateiName);
    TTextPuffer inhalt;
    datei.Lesen(inhalt, KopfBlock);
    if (!datei.AmEnde()) {
        KopfVorabPruefen(modell, inhalt.Text());
        datei.Lesen(inhalt, datei.Groesse());
    }
    TextLaden(modell, inhalt.Text(), [&inhalt] { inhalt.Freigeben(); }, !datei.NulGelesen());
    modell.DateiName = dateiName;
    return true;
}

void KopfVorabPruefen(TModell& modell, std::string_view anfang) {
    // Nur ganze Zeilen: eine am Blockende abgeschnittene Zahl wäre ein falscher Fehler.
    const size_t letztesEnde = anfang.find_last_of("\r\n");
    const std::string_view ganze = letztesEnde == std::string_view::npos ? std::string_view()
                                                                         : anfang.substr(0, letztesEnde + 1);
    TZeilenLeser ein(ganze);
    try {
        KopfLesen(modell, ein);
    } catch (const EListError&) {
        // Der Kopf reicht über den Block hinaus. Viele Artikel dürfen das;
        // eine einzelne Zeile dieser Länge hat kein Modell.
        if (anfang.size() - ganze.size() > KopfBlock / 2) {
            const std::string zeile = std::to_string(ein.AnzahlZeilen() + 1);
            throw EModellErzeugen("Zeile " + zeile + " zu lang",
                                  "Zeile " + zeile + " ist l\xE4" "nger als 512 KB; die Datei ist keine Modelldatei");
        }
    }
}

void TextLaden(TModell& modell, std::string_view text, const std::function<void()>& textGelesen,
               bool ohneNul) {
    modell.ObjekteLoeschen();
    TLadeSchutz schutz(modell);
    TZeilenLeser ein(text, ohneNul);
    // Erst große Dateien füllen Blöcke des Vorrats; ein kleines Modell bliebe
    // sonst auf einer großen Seite sitzen. Der Vorrat zahlt sich beim
    // Schliessen aus: BM_Schliessen/100000 15–17 statt 31–33 ms (Ziel 30 ms),
    // das Laden bleibt gleich schnell (ZuFromChars 1,70 gegen 1,71).
    TZellvorrat vorrat;
    if (text.size() >= TZellvorrat::LohntAb) ein.Zellvorrat = &vorrat;
    ModellLesen(modell, ein, textGelesen);
}

void KopfLesen(TModell& modell, TZeilenLeser& ein) {
    try {
        ein.LeseZeile = 2;
        const std::string_view name = ein.WertLesen();
        modell.GeleseneVersion = name == "TModell0" ? 1 : IntAusText(ein.WertLesen());
        ein.GeleseneVersion = modell.GeleseneVersion;
        modell.Schrift = SchriftAusText(ein.WertLesen());
        modell.QuellenBeschr = BoolAusText(ein.WertLesen());
        modell.SenkenBeschr = BoolAusText(ein.WertLesen());
        modell.VerzweigBeschr = BoolAusText(ein.WertLesen());
        if (modell.GeleseneVersion > 1) modell.WandlerBeschr = BoolAusText(ein.WertLesen());
        modell.WegeBeschr = BoolAusText(ein.WertLesen());
        modell.SymbolGroesse = IntAusText(ein.WertLesen());
        modell.StromGroesse = IntAusText(ein.WertLesen());
        modell.ProzStellen = IntAusText(ein.WertLesen());
        modell.StromStellen = IntAusText(ein.WertLesen());
        modell.Stromanzeige = IntAusText(ein.WertLesen());
        modell.MaxStromBer = BoolAusText(ein.WertLesen());
        modell.MaxStrom = FloatAusText(ein.WertLesen());
        const int32_t dauer = IntAusText(ein.WertLesen());
        if (dauer < 0) throw ERangeError("Max Ber Dauer " + std::to_string(dauer) + " ist negativ");
        modell.MaxBerDauer = static_cast<uint32_t>(dauer);

        modell.ArtikelListe.clear();
        const int32_t anzahl = IntAusText(ein.WertLesen());
        // Ein Modell ohne Artikel hätte keine gültige Artikelnummer.
        if (anzahl < 1) {
            throw EModellErzeugen("Artikelanzahl " + std::to_string(anzahl) + " ist ung\xFC" "ltig",
                                  "ein Modell braucht mindestens einen Artikel (Artikelanzahl " +
                                      std::to_string(anzahl) + ")");
        }
        for (int32_t i = 0; i < anzahl; ++i) modell.ArtikelListe.emplace_back(ein.WertLesen());
        modell.AktArtikel = 0;
    } catch (EFehler& e) {
        OrtAnfuegen(e, ein, "Kopf des Modells");
        // Ohne "TModell" in der ersten Zeile ist die Datei gar kein Modell;
        // das sagt dem Anwender mehr als der erste falsche Wert.
        if (ein.AnzahlZeilen() > 0 && ein.WertVon(0).substr(0, 7) != "TModell") {
            e.GrundSetzen("die Datei ist keine Modelldatei (" + e.OrtUndGrund() + ")");
            e.OrtSetzen("");
        }
        throw;
    }
}

void ModellLesen(TModell& modell, TZeilenLeser& ein, const std::function<void()>& textGelesen) {
    KopfLesen(modell, ein);

    std::vector<TWeg*> wege;
    std::vector<TKnoten*> knoten;
    while (ein.HatNoch(2)) {
        const std::string_view klasse = ein.WertLesen();
        const TFOKlasse* k = TFOKlassenAusName(klasse);
        if (k == nullptr) {
            EModellErzeugen e("<" + std::string(klasse) + "> in TFOKlassenAusName nicht gefunden", KlassenGrund(klasse));
            e.OrtSetzen("Zeile " + std::to_string(ein.LeseZeile));
            throw e;
        }
        std::unique_ptr<TFO> objekt = k->Erzeugen(modell);
        if (!objekt) {
            EModellErzeugen e("<" + std::string(klasse) + "> ist als Objekt eines Modells nicht zul\xE4" "ssig",
                              "ein Modell kann nicht Objekt eines Modells sein");
            e.OrtSetzen("Zeile " + std::to_string(ein.LeseZeile));
            throw e;
        }
        try {
            objekt->Lesen(ein);
        } catch (EFehler& e) {
            OrtAnfuegen(e, ein, "Objekt " + objekt->Titel());
            throw;
        }
        TKnoten* kn = objekt->AlsKnoten();
        if (kn != nullptr) knoten.push_back(kn);
        if (TWeg* weg = objekt->AlsWeg()) wege.push_back(weg);
        modell.FOListe.Hinzufuegen(std::move(objekt), kn != nullptr);
    }
    // Ab hier liest niemand mehr aus 'ein'.
    if (textGelesen) textGelesen();

    const TNummernVerzeichnis nachNummer(modell.FOListe);
    auto knotenMitNummer = [&nachNummer](int32_t nr) -> TKnoten* {
        TFO* o = nachNummer.Suchen(static_cast<uint32_t>(nr));
        return o == nullptr ? nullptr : o->AlsKnoten();
    };

    for (const TVerweis& v : VerweiseLesen(wege, true)) {
        TKnoten* k = knotenMitNummer(v.Nummer);
        if (k == nullptr) UngueltigerKnoten(*v.Weg, v, true);
        AusgangVerbinden(*v.Weg, *k);
    }
    for (const TVerweis& v : VerweiseLesen(wege, false)) {
        TKnoten* k = knotenMitNummer(v.Nummer);
        if (k == nullptr) UngueltigerKnoten(*v.Weg, v, false);
        EingangVerbinden(*v.Weg, *k);
    }
    for (TWeg* weg : wege) {
        weg->StartVerweis = std::string();
        weg->ZielVerweis = std::string();
    }
    for (const TKnoten* k : knoten) MatrixformPruefen(*k, modell.AnzahlArtikel());
}

TOeffnenErgebnis ModellOeffnen(const std::string& dateiName) {
    TOeffnenErgebnis ergebnis;
    auto modell = std::make_unique<TModell>();
    try {
        DateiLaden(*modell, dateiName);
        ergebnis.Modell = std::move(modell);
    } catch (const std::exception& e) {
        modell.reset();
        ergebnis.Meldung = "Die Datei " + DateinameFuerAnzeige(dateiName) + " kann nicht ge\xF6" "ffnet werden.";
        ergebnis.Grund = GrundVon(e);
    }
    return ergebnis;
}

namespace {

template <class F> TSpeichernErgebnis Sichern(const std::string& dateiName, F&& schreiben) {
    TSpeichernErgebnis ergebnis;
    try {
        schreiben();
        ergebnis.Ok = true;
    } catch (const ESchreibgeschuetzt& e) {
        ergebnis.Meldung = e.what();
        ergebnis.Grund = e.Grund();
    } catch (const std::exception& e) {
        ergebnis.Meldung = "Die Datei " + DateinameFuerAnzeige(dateiName) + " kann nicht geschrieben werden.";
        ergebnis.Grund = GrundVon(e);
    }
    return ergebnis;
}

} // namespace

TSpeichernErgebnis ModellSichern(TModell& modell, const std::string& dateiName) {
    return Sichern(dateiName, [&] { DateiSpeichern(modell, dateiName); });
}

TSpeichernErgebnis DateiSichern(const std::string& dateiName, const std::string& inhalt) {
    return Sichern(dateiName, [&] { DateiErsetzen(dateiName, inhalt); });
}

std::unique_ptr<TModell> ModellKopie(const TModell& modell) {
    TZeilenSchreiber aus;
    SchreibenLesegleich(modell, aus);
    auto kopie = std::make_unique<TModell>();
    TextLaden(*kopie, aus.Text());
    kopie->DateiName = modell.DateiName;
    return kopie;
}

} // namespace tessomir
