#include "model/UKnoten.h"

#include <algorithm>

#include "base/UFehler.h"
#include "base/UPlattform.h"

namespace tessomir {
namespace {

void Piep() { Plattform().Signalton->Piep(); }

int Position(const std::vector<TWeg*>& liste, const TWeg* weg) {
    const auto it = std::find(liste.begin(), liste.end(), weg);
    return it == liste.end() ? -1 : static_cast<int>(it - liste.begin());
}

std::string VerweisText(int position, const TKnoten* knoten) {
    if (knoten == nullptr) return "-1 / 0";
    return std::to_string(position) + " / " + std::to_string(knoten->FONr);
}

} // namespace

// ---------------------------------------------------------------- TWeg

TWeg::~TWeg() {
    SetStart(nullptr);
    SetZiel(nullptr);
}

double TWeg::Strom() const {
    if (ZielKnoten == nullptr) return 0.0;
    const int p = ZielKnoten->EingangIndex(this);
    if (p < 0) return 0.0;
    const TDyn3DMatrix& m = ZielKnoten->Matrix();
    auto zelle = [&m, p](int a) {
        const double* z = m.Zelle(a, p + 1, 0);
        return z != nullptr ? *z : 0.0;
    };
    if (Modell->SummeAllerArtikel) {
        double summe = 0.0;
        for (int a = 0; a < Modell->AnzahlArtikel(); ++a) summe += zelle(a);
        return summe;
    }
    return zelle(Modell->AktArtikel);
}

void TWeg::Schreiben(TZeilenSchreiber& aus) const {
    TFO::Schreiben(aus);
    aus.Zeile("Start", VerweisText(StartKnoten ? StartKnoten->AusgangIndex(this) : -1, StartKnoten));
    aus.Zeile("Ziel", VerweisText(ZielKnoten ? ZielKnoten->EingangIndex(this) : -1, ZielKnoten));
}

void TWeg::Lesen(TZeilenLeser& ein) {
    TFO::Lesen(ein);
    StartVerweis = std::string(ein.WertLesen());
    ZielVerweis = std::string(ein.WertLesen());
}

void TWeg::SetStart(TKnoten* knoten) {
    if (knoten == nullptr) {
        if (StartKnoten != nullptr) {
            StartKnoten->RemoveAusgang(this);
            StartKnoten = nullptr;
            StartStelle = -1;
        }
        return;
    }
    // Ein Weg wechselt nie den Knoten: erst lösen, dann anhängen.
    if (StartKnoten != nullptr) throw EInvalidOperation("Error TWeg.SetStart");
    StartKnoten = knoten;
    knoten->AddAusgang(this);
    StartStelle = knoten->AusgangIndex(this);
}

void TWeg::SetZiel(TKnoten* knoten) {
    if (knoten == nullptr) {
        if (ZielKnoten != nullptr) {
            ZielKnoten->RemoveEingang(this);
            ZielKnoten = nullptr;
        }
        return;
    }
    if (ZielKnoten != nullptr) throw EInvalidOperation("Error TWeg.SetZiel");
    ZielKnoten = knoten;
    knoten->AddEingang(this);
}

void TWeg::KnotenVergessen(const TKnoten* knoten) {
    if (StartKnoten == knoten) StartKnoten = nullptr;
    if (ZielKnoten == knoten) ZielKnoten = nullptr;
}

// ---------------------------------------------------------------- TKnoten

// Beim Laden ersetzt Lesen die Matrix gleich wieder: dann nur eine Zelle.
TKnoten::TKnoten(TModell& modell, const char* klasse)
    : TFO(modell, klasse), Verteilung(ModellLaedt() ? 1 : modell.AnzahlArtikel(), 1, 1) {}

TKnoten::~TKnoten() {
    for (TWeg* w : Abgewiesene) w->KnotenVergessen(this);
}

void TKnoten::WegeVergessen() {
    for (int i = 0; i < AnzahlAusgaenge(); ++i) {
        if (TWeg* w = GetAusgang(i)) w->KnotenVergessen(this);
    }
    for (int i = 0; i < AnzahlEingaenge(); ++i) {
        if (TWeg* w = GetEingang(i)) w->KnotenVergessen(this);
    }
}

void TKnoten::Schreiben(TZeilenSchreiber& aus) const {
    TFO::Schreiben(aus);
    const TDyn3DMatrix& m = Verteilung;
    aus.Zeile("Matrix", m.DimText());
    for (int a = 0; a < m.Dim1(); ++a) {
        for (int b = 0; b < m.Dim2(); ++b) {
            std::string_view schluessel;
            if (b == 0 && a < Modell->AnzahlArtikel()) {
                // Lange Artikelnamen würden den Wert aus Spalte 21 schieben.
                schluessel = std::string_view(Modell->ArtikelListe[static_cast<size_t>(a)]).substr(0, 20);
            }
            std::string& text = aus.ZeileBeginnen(schluessel);
            m.ZeilenTextAnhaengen(text, a, b);
            aus.ZeileBeenden();
        }
    }
}

void TKnoten::Lesen(TZeilenLeser& ein) {
    TFO::Lesen(ein);
    const std::string_view dimText = ein.WertLesen();
    std::string_view rest = dimText;
    const int32_t d1 = IntAusText(NaechstesFeld(rest));
    const int32_t d2 = IntAusText(NaechstesFeld(rest));
    const int32_t d3 = IntAusText(NaechstesFeld(rest));
    if (d1 < 1 || d2 < 1 || d3 < 1) {
        throw EModellErzeugen("<" + Name + "> ung\xFC" "ltige Matrixgr\xF6" "sse " + std::string(dimText),
                              "die Matrixgr\xF6" "\xDF" "e " + Zitat(dimText) + " ist ung\xFC" "ltig, jede Gr\xF6\xDF" "e muss mindestens 1 sein");
    }
    // Nie mehr Zellen anlegen, als die Datei füllen kann: jede Zeile braucht
    // d3 Felder, also mindestens 4*d3-3 Zeichen.
    const uint64_t zeilen = static_cast<uint64_t>(d1) * static_cast<uint64_t>(d2);
    const uint64_t mindestLaenge = 4 * static_cast<uint64_t>(d3) - 3;
    // Schneller Weg ohne Vorauszählen: passt die Matrix sicher in den Rest des
    // Textes, gleich lesen. Geht dabei etwas schief, gelten die Prüfungen
    // unten von vorn, damit jede Datei dieselbe Meldung bekommt.
    // BM_LadenDatei/100000: ZuFromChars 1,73 statt 2,19 ohne ihn (gepaarte Läufe).
    const uint64_t textRest = ein.RestBytes();
    if (zeilen <= textRest && mindestLaenge <= textRest / zeilen) {
        const size_t anfang = ein.LeseZeile;
        try {
            TDyn3DMatrix matrix(d1, d2, d3, ein.Zellvorrat);
            uint64_t laengen = 0;
            for (int a = 0; a < d1; ++a) {
                for (int b = 0; b < d2; ++b) {
                    const std::string_view wert = ein.WertLesen();
                    laengen += wert.size();
                    matrix.ZeilenTextLesen(a, b, wert);
                }
            }
            if (laengen >= zeilen * mindestLaenge) {
                Verteilung = std::move(matrix);
                return;
            }
        } catch (const std::exception&) {
            // Meldung wie ohne schnellen Weg, siehe unten.
        }
        ein.LeseZeile = anfang;
    }
    // Endet die Datei vor der letzten Zeile, ist das dieselbe Listenindex-Meldung
    // wie bei jedem anderen abgeschnittenen Abschnitt.
    if (zeilen > ein.Verbleibend()) {
        throw EListError("<" + Name + "> Matrix " + std::string(dimText) + ": die Datei endet nach " +
                             std::to_string(ein.Verbleibend()) + " Zeilen",
                         "die Matrix " + Zitat(dimText) + " braucht " + std::to_string(zeilen) +
                             " Zeilen, die Datei hat danach nur noch " + std::to_string(ein.Verbleibend()));
    }
    // Zu kurze Zeilen scheiterten ohnehin an einem leeren Feld: dieselbe
    // Umwandlungsmeldung, nur bevor Speicher angelegt wird.
    if (ein.WertLaengen(static_cast<size_t>(zeilen)) < zeilen * mindestLaenge) {
        throw EConvertError("<" + Name + "> Matrixgr\xF6" "sse " + std::string(dimText) +
                                ": die Zeilen enthalten zu wenige Werte",
                            "die Zeilen der Matrix " + Zitat(dimText) + " enthalten zu wenige Werte");
    }

    TDyn3DMatrix matrix(d1, d2, d3, ein.Zellvorrat);
    for (int a = 0; a < d1; ++a)
        for (int b = 0; b < d2; ++b) matrix.ZeilenTextLesen(a, b, ein.WertLesen());
    Verteilung = std::move(matrix);
}

void TKnoten::AddAusgang(TWeg* weg) {
    Piep();
    Abgewiesene.push_back(weg);
}

void TKnoten::AddEingang(TWeg* weg) {
    Piep();
    Abgewiesene.push_back(weg);
}

void TKnoten::RemoveAusgang(TWeg* weg) {
    Piep();
    std::erase(Abgewiesene, weg);
}

void TKnoten::RemoveEingang(TWeg* weg) {
    Piep();
    std::erase(Abgewiesene, weg);
}

bool TKnoten::ModellLaedt() const { return Modell->Laedt == 1; }

int TKnoten::ZulaufPosition(const TWeg* weg) { return weg != nullptr ? weg->StartPosition() : -1; }

double TKnoten::Zulauf(const TWeg* weg, int artikel) {
    const int o = ZulaufPosition(weg);
    if (o < 0) return 0.0;
    const double* z = weg->Start()->Matrix().Zelle(artikel, 0, o + 1);
    return z != nullptr ? *z : 0.0;
}

// ---------------------------------------------------------------- Arten

void TQuelle::AddAusgang(TWeg* weg) {
    if (Ausgang != nullptr && Ausgang != weg) Ausgang->StartStelle = -1; // ersetzt, nicht mehr Ausgang
    Ausgang = weg;
    if (!ModellLaedt()) Verteilung.Erweitern(3);
}

void TQuelle::RemoveAusgang(TWeg*) {
    if (Ausgang == nullptr) return;
    Ausgang->StartStelle = -1; // gelöst wird der eine Ausgang, gleich welcher Weg genannt ist
    Ausgang = nullptr;
    if (!ImAbbau) Verteilung.IndexEntfernen(3, 0);
}

void TSenke::AddEingang(TWeg* weg) {
    Eingang = weg;
    if (!ModellLaedt()) Verteilung.Erweitern(2);
}

void TSenke::RemoveEingang(TWeg*) {
    if (Eingang == nullptr) return;
    Eingang = nullptr;
    if (!ImAbbau) Verteilung.IndexEntfernen(2, 0);
}

TWeg* TVerzweigung::GetAusgang(int i) const {
    return i >= 0 && i < AnzahlAusgaenge() ? Ausgaenge[static_cast<size_t>(i)] : nullptr;
}

TWeg* TVerzweigung::GetEingang(int i) const {
    return i >= 0 && i < AnzahlEingaenge() ? Eingaenge[static_cast<size_t>(i)] : nullptr;
}

int TVerzweigung::AusgangIndex(const TWeg* w) const { return Position(Ausgaenge, w); }
int TVerzweigung::EingangIndex(const TWeg* w) const { return Position(Eingaenge, w); }

void TVerzweigung::AddAusgang(TWeg* weg) {
    if (Position(Ausgaenge, weg) >= 0) return;
    Ausgaenge.push_back(weg);
    if (!ModellLaedt()) Verteilung.Erweitern(3);
}

void TVerzweigung::AddEingang(TWeg* weg) {
    if (Position(Eingaenge, weg) >= 0) return;
    Eingaenge.push_back(weg);
    if (!ModellLaedt()) Verteilung.Erweitern(2);
}

void TVerzweigung::RemoveAusgang(TWeg* weg) {
    const int i = Position(Ausgaenge, weg);
    if (i < 0) return;
    Ausgaenge.erase(Ausgaenge.begin() + i);
    if (!ImAbbau) Verteilung.IndexEntfernen(3, i + 1);
    for (size_t j = static_cast<size_t>(i); j < Ausgaenge.size(); ++j) Ausgaenge[j]->StartStelle = static_cast<int>(j);
}

void TVerzweigung::RemoveEingang(TWeg* weg) {
    const int i = Position(Eingaenge, weg);
    if (i < 0) return;
    Eingaenge.erase(Eingaenge.begin() + i);
    if (!ImAbbau) Verteilung.IndexEntfernen(2, i + 1);
}

double TVerzweigung::Strom() const {
    const TDyn3DMatrix& m = Verteilung;
    auto summeArtikel = [&](int a) {
        double s = 0.0;
        for (int j = 1; j <= AnzahlEingaenge(); ++j) {
            const double* z = m.Zelle(a, j, 0);
            if (z != nullptr) s += *z;
        }
        return s;
    };
    if (Modell->SummeAllerArtikel) {
        double s = 0.0;
        for (int a = 0; a < Modell->AnzahlArtikel(); ++a) s += summeArtikel(a);
        return s;
    }
    return summeArtikel(Modell->AktArtikel);
}

void TWandler::AddAusgang(TWeg* weg) {
    if (Ausgang != nullptr && Ausgang != weg) Ausgang->StartStelle = -1; // ersetzt, nicht mehr Ausgang
    Ausgang = weg;
}

TWandler::TWandler(TModell& modell) : TKnoten(modell, "TWandler") {
    if (ModellLaedt()) return;
    const int n = modell.AnzahlArtikel();
    Verteilung = TDyn3DMatrix(n, n + 1, 2);
    Verteilung.AlleSetzen(0.0);
}

const char* ArtText(const TFO& objekt) {
    if (objekt.AlsWeg() != nullptr) return "Weg";
    const TKnoten* k = objekt.AlsKnoten();
    if (k == nullptr) return "Objekt";
    switch (k->Art()) {
    case TKnotenArt::Quelle: return "Quelle";
    case TKnotenArt::Senke: return "Senke";
    case TKnotenArt::Verzweigung: return "Verzweigung";
    case TKnotenArt::Wandler: return "Wandler";
    default: return "Knoten";
    }
}

} // namespace tessomir
