#include "editing/UEditor.h"

#include <algorithm>
#include <cstdint>

#include "base/UPlattform.h"
#include "view/UDarstellung.h"
#include "base/UWerte.h"

namespace tessomir {
namespace {

const TUmschaltung NurLinks{TTaste::Links};
const TUmschaltung UmschaltLinks{TTaste::Umschalt, TTaste::Links};
const TUmschaltung StrgLinks{TTaste::Strg, TTaste::Links};
const TUmschaltung NurRechts{TTaste::Rechts};

std::unique_ptr<TKnoten> NeuerKnoten(TModell& modell, int modus) {
    switch (modus) {
    case Quelle: return std::make_unique<TQuelle>(modell);
    case Senke: return std::make_unique<TSenke>(modell);
    case Verzweigung: return std::make_unique<TVerzweigung>(modell);
    case Wandler: return std::make_unique<TWandler>(modell);
    default: return nullptr;
    }
}

} // namespace

void TMessendeFlaeche::Dazu(int64_t x, int64_t y) {
    if (!Beruehrt()) {
        Links = Rechts = x;
        Oben = Unten = y;
        return;
    }
    Links = std::min(Links, x);
    Rechts = std::max(Rechts, x);
    Oben = std::min(Oben, y);
    Unten = std::max(Unten, y);
}

void TMessendeFlaeche::Dazu(const TRechteck& r) {
    Dazu(r.Links, r.Oben);
    Dazu(r.Rechts, r.Unten);
}

TRechteck TMessendeFlaeche::Bereich() const {
    if (!Beruehrt()) return TRechteck{1, 1, 0, 0};
    const auto klemmen = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return TRechteck{klemmen(Links), klemmen(Oben), klemmen(Rechts), klemmen(Unten)};
}

void TMessendeFlaeche::TextAusgeben(int32_t x, int32_t y, std::string_view text) {
    const TTextgroesse g = Ziel.TextAusmass(text);
    Dazu(x, y);
    Dazu(static_cast<int64_t>(x) + g.Breite, static_cast<int64_t>(y) + g.Hoehe);
    Ziel.TextAusgeben(x, y, text);
}

void TMessendeFlaeche::Polylinie(const std::vector<TBildpunkt>& punkte) {
    for (const TBildpunkt& p : punkte) Dazu(p.X, p.Y);
    Ziel.Polylinie(punkte);
}

void TMessendeFlaeche::Polygon(const std::vector<TBildpunkt>& punkte) {
    for (const TBildpunkt& p : punkte) Dazu(p.X, p.Y);
    Ziel.Polygon(punkte);
}

void TMessendeFlaeche::Ellipse(const TRechteck& r) {
    Dazu(r);
    Ziel.Ellipse(r);
}

void TMessendeFlaeche::Rechteck(const TRechteck& r) {
    Dazu(r);
    Ziel.Rechteck(r);
}

void TMessendeFlaeche::RechteckFuellen(const TRechteck& r) {
    Dazu(r);
    Ziel.RechteckFuellen(r);
}

void TMessendeFlaeche::BewegeZu(int32_t x, int32_t y) {
    Stelle = TBildpunkt{x, y};
    Ziel.BewegeZu(x, y);
}

void TMessendeFlaeche::LinieZu(int32_t x, int32_t y) {
    Dazu(Stelle.X, Stelle.Y);
    Dazu(x, y);
    Stelle = TBildpunkt{x, y};
    Ziel.LinieZu(x, y);
}

bool KannWegBeginnen(const TKnoten& knoten) {
    switch (knoten.Art()) {
    case TKnotenArt::Quelle:
    case TKnotenArt::Wandler: return knoten.AnzahlAusgaenge() == 0;
    case TKnotenArt::Verzweigung: return true;
    default: return false;
    }
}

bool KannWegEnden(const TKnoten& knoten) {
    switch (knoten.Art()) {
    case TKnotenArt::Senke:
    case TKnotenArt::Wandler: return knoten.AnzahlEingaenge() == 0;
    case TKnotenArt::Verzweigung: return true;
    default: return false;
    }
}

bool WegVorhanden(const TKnoten& start, const TKnoten& ziel) {
    for (int i = 0; i < start.AnzahlAusgaenge(); ++i) {
        const TWeg* w = start.GetAusgang(i);
        if (w != nullptr && w->Ziel() == &ziel) return true;
    }
    return false;
}

TEditor::TEditor(TAnsicht& ansicht, IEditorFlaeche& flaeche) : Ansicht(ansicht), Flaeche(flaeche) {}

TEditor::~TEditor() = default;

void TEditor::Druecken(int modus, TMausknopf knopf, TUmschaltung umschaltung, TBildpunkt punkt) {
    if (Modell == nullptr) return;
    if (modus == Deaktiviert) {
        if (knopf == TMausknopf::Links) AuswahlDruecken(umschaltung, punkt);
        else if (knopf == TMausknopf::Rechts) KontextDruecken(umschaltung, punkt);
        return;
    }
    if (knopf != TMausknopf::Links) return;
    if (modus == Weg) WegBeginnen(punkt);
    else KnotenEinfuegen(modus, punkt);
}

void TEditor::AuswahlDruecken(TUmschaltung umschaltung, TBildpunkt punkt) {
    TFOListe& liste = Modell->FOListe;
    Ansicht.Trefferpunkt = punkt;
    Ansicht.Umschalten = umschaltung == StrgLinks;
    TFO* treffer = FindeObjekt(liste, Ansicht);
    // Mit mehreren ausgewählten bleibt die Gruppe: sie lässt sich an jedem Glied ziehen.
    if (umschaltung == NurLinks && (liste.Auswahl().size() == 1 || treffer == nullptr)) liste.AuswahlLeeren();
    if (umschaltung == NurLinks || umschaltung == UmschaltLinks || umschaltung == StrgLinks)
        Auswaehlen(liste, Ansicht, treffer);
    if (!liste.Auswahl().empty()) Ansicht.Startpunkt = punkt;
    Flaeche.ModellUeberzeichnen();
}

void TEditor::KontextDruecken(TUmschaltung umschaltung, TBildpunkt punkt) {
    TFOListe& liste = Modell->FOListe;
    Ansicht.Trefferpunkt = punkt;
    TFO* treffer = FindeObjekt(liste, Ansicht);
    if (umschaltung == NurRechts) {
        if (treffer == nullptr) liste.AuswahlLeeren();
        // Umschalten bleibt vom letzten Linksklick.
        Auswaehlen(liste, Ansicht, treffer);
    }
    if (!liste.Auswahl().empty()) Ansicht.Startpunkt = punkt;
    Flaeche.ModellUeberzeichnen();
    Flaeche.PopupOeffnen(punkt);
}

void TEditor::KnotenEinfuegen(int modus, TBildpunkt punkt) {
    std::unique_ptr<TKnoten> knoten = NeuerKnoten(*Modell, modus);
    if (!knoten) return;
    knoten->Refpunkt = Ansicht.Ruecktransformieren(punkt);
    Ausfuehren(*Modell, Verlauf, KnotenEinfuegenSchritt(std::move(knoten), Modell->FOListe.Anzahl()));
    Flaeche.Neuzeichnen();
}

void TEditor::WegBeginnen(TBildpunkt punkt) {
    Modell->Modifiziert = true;
    Ansicht.Trefferpunkt = punkt;
    TFO* treffer = FindeObjekt(Modell->FOListe, Ansicht);
    TKnoten* start = treffer != nullptr ? treffer->AlsKnoten() : nullptr;
    Neu.reset();
    if (start == nullptr || !KannWegBeginnen(*start)) return;
    Neu = std::make_unique<TWeg>(*Modell);
    NeuStart = AnbindenUndMerken(*Neu, *start, true);
    Ansicht.Startpunkt = punkt;
}

void TEditor::Bewegen(int modus, TUmschaltung umschaltung, TBildpunkt punkt) {
    if (Modell == nullptr || !umschaltung.Hat(TTaste::Links)) return;
    const bool ziehen = modus == Deaktiviert && !Modell->FOListe.Auswahl().empty();
    const bool gummiband = modus == Weg && Neu != nullptr;
    if (ziehen || gummiband) FigurNachziehen(punkt);
}

// Ohne Mindestweg: die erste Bewegung beginnt das Ziehen mit Versatz null.
void TEditor::FigurNachziehen(TBildpunkt punkt) {
    const auto figur = [this] { FigurZeichnen(); };
    if (!Ansicht.Ziehen) {
        Ansicht.Aktpunkt = Ansicht.Startpunkt;
        Ansicht.Ziehen = true;
        Flaeche.Gummi(figur);
        return;
    }
    Flaeche.Gummi(figur); // löscht die zuletzt gezeichnete Figur
    Ansicht.Aktpunkt = punkt;
    Flaeche.Gummi(figur);
}

void TEditor::Loslassen(int modus, TMausknopf, TUmschaltung, TBildpunkt punkt) {
    if (Modell == nullptr) return;
    if (modus == Deaktiviert && Ansicht.Ziehen) {
        Ansicht.Trefferpunkt = punkt;
        Flaeche.Gummi([this] { AuswahlVerschieben(*Modell, Ansicht, Verlauf); });
        Flaeche.Neuzeichnen();
    } else if (modus == Weg) {
        if (Neu != nullptr) WegBeenden(punkt);
        Ansicht.Ziehen = false;
        Flaeche.Neuzeichnen();
    }
}

void TEditor::WegBeenden(TBildpunkt punkt) {
    TFO* ziel = nullptr;
    if (Ansicht.Ziehen) {
        Ansicht.Trefferpunkt = punkt;
        ziel = FindeObjekt(Modell->FOListe, Ansicht);
    }
    if (KannVerbinden(ziel)) {
        // Vorn in der Liste: Wege liegen unter den Knoten.
        Ausfuehren(*Modell, Verlauf, WegZeichnenSchritt(std::move(Neu), 0, std::move(NeuStart), *ziel->AlsKnoten()));
        NeuStart = {};
        return;
    }
    Plattform().Signalton->Piep();
    Neu.reset(); // der Weg löst sich dabei von seinem Startknoten
    NeuStart = {};
}

bool TEditor::KannVerbinden(const TFO* ziel) const {
    const TKnoten* knoten = ziel != nullptr ? ziel->AlsKnoten() : nullptr;
    const TKnoten* start = Neu->Start();
    return knoten != nullptr && start != nullptr && knoten != start && KannWegEnden(*knoten) &&
           !WegVorhanden(*start, *knoten);
}

bool TEditor::FigurSichtbar() const { return Ansicht.Ziehen && Modell != nullptr; }

void TEditor::FigurZeichnen() const {
    if (Neu != nullptr) Zeichnen(*Neu, Ansicht, 2);
    else if (Modell != nullptr) AuswahlZeichnen(Modell->FOListe, Ansicht);
}

void TEditor::Abbrechen() {
    Neu.reset();
    NeuStart = {};
    Ansicht.Ziehen = false;
}

void AuswahlVerschieben(TModell& modell, TAnsicht& ansicht, TVerlauf* verlauf) {
    AuswahlZeichnen(modell.FOListe, ansicht);
    ansicht.Aktpunkt = ansicht.Trefferpunkt;
    ansicht.Ziehen = false;
    std::vector<TVerschiebung> verschoben;
    for (const auto& e : modell.FOListe.Auswahl()) {
        if (e.Objekt == nullptr) continue;
        // Modifiziert, sobald etwas ausgewählt ist, auch wenn es nur Wege sind.
        modell.Modifiziert = true;
        if (e.Objekt->AlsKnoten() != nullptr)
            verschoben.push_back({e.Objekt, e.Objekt->Refpunkt, VerschobenerOrt(*e.Objekt, ansicht)});
    }
    std::erase_if(verschoben, [](const TVerschiebung& v) { return v.Alt == v.Neu; });
    if (!verschoben.empty()) Ausfuehren(modell, verlauf, VerschiebenSchritt(std::move(verschoben)));
}

const char* const KapazitaetUeberschrift = "Vorgabekapazit\xE4t";
const char* const KapazitaetFrage =
    "\xDC" "berschreibt die Kapazit\xE4ten der\r\nausgew\xE4hlten Wege und Verzweigungen\r\n\r\nNeue Kapazit\xE4t :";

std::string VorgabekapazitaetSetzen(TModell& modell, std::string_view eingabe, char trenner, TVerlauf* verlauf) {
    if (std::string fehler = EingabeFehler(eingabe, "Kapazit\xE4t", 0.0, 1000000.0, trenner); !fehler.empty())
        return fehler;
    const double wert = FloatAusText(eingabe, trenner);
    std::vector<TObjektWerte> werte;
    for (const auto& e : modell.FOListe.Auswahl()) {
        if (e.Objekt == nullptr || !HatKapazitaet(*e.Objekt)) continue;
        TObjektWerte w = ObjektWerteVorher(*e.Objekt);
        w.NeuKapazitaet = wert;
        werte.push_back(std::move(w));
    }
    if (!werte.empty()) Ausfuehren(modell, verlauf, ObjektWerteSchritt(KapazitaetUeberschrift, std::move(werte)));
    return {};
}

} // namespace tessomir
