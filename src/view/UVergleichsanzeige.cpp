#include "view/UVergleichsanzeige.h"

#include <algorithm>
#include <cmath>

#include "analysis/UBilanz.h"
#include "base/UWerte.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

uint64_t Schluessel(uint32_t fonr, int artikel) {
    return (static_cast<uint64_t>(fonr) << 32) | static_cast<uint32_t>(artikel);
}

} // namespace

TVergleichsanzeige::TVergleichsanzeige(const TVergleich& jeArtikel, const TVergleich& summe) {
    for (const TVergleich* v : {&jeArtikel, &summe})
        for (const TVergleichsZeile& z : v->Zeilen) {
            TVergleichsZeile kopie = z;
            kopie.ObjektA = nullptr; // das Modell darf sich ändern; nur Nummern gelten
            Zeilen[Schluessel(z.FONr, z.Artikel)] = kopie;
            double& g = Groesste[z.Artikel];
            g = std::max(g, std::fabs(z.Differenz()));
        }
}

const TVergleichsZeile* TVergleichsanzeige::Zeile(uint32_t fonr, int artikel) const {
    const auto it = Zeilen.find(Schluessel(fonr, artikel));
    return it != Zeilen.end() ? &it->second : nullptr;
}

double TVergleichsanzeige::GroessteDifferenz(int artikel) const {
    const auto it = Groesste.find(artikel);
    return it != Groesste.end() ? it->second : 0.0;
}

bool DifferenzZeichnen(const TFO& objekt, TAnsicht& ansicht) {
    if (ansicht.Vergleich == nullptr) return false;
    const TWeg* w = objekt.AlsWeg();
    const TKnoten* k = objekt.AlsKnoten();
    if (w == nullptr && (k == nullptr || k->Art() != TKnotenArt::Verzweigung)) return false;
    if (w != nullptr && (w->Start() == nullptr || w->Ziel() == nullptr)) return true;
    const TModell& m = *objekt.Modell;
    const TVergleichsZeile* z = ansicht.Vergleich->Zeile(objekt.FONr, AnzeigeArtikel(m));
    const TBildpunkt t = w != nullptr ? WegAnzeigepunkt(*w, ansicht)
                                      : VerzweigungAnzeigepunkt(static_cast<const TVerzweigung&>(*k), ansicht);
    // Gleich geblieben (im Rahmen der Stellen der Anzeige): keine Differenz,
    // damit die Änderungen auffallen; der Name des Wegs bleibt.
    if (z == nullptr || !(std::fabs(z->Differenz()) > m.StromAufloesung())) {
        if (w != nullptr && m.WegeBeschr) WegNameZeichnen(*w, ansicht, t, 0);
        return true;
    }
    const double faktor = ansicht.Schriftfaktor();
    const int32_t w2 = Runden(faktor * m.StromGroesse / 2);
    const int32_t h2 = std::max(1, Runden(faktor * m.StromGroesse / 10));
    if (!ansicht.BereichSichtbar(static_cast<int64_t>(t.X) - 4 * w2 - 200, static_cast<int64_t>(t.Y) - 4 * h2 - 100,
                                 static_cast<int64_t>(t.X) + 4 * w2 + 200, static_cast<int64_t>(t.Y) + 2 * h2))
        return true;
    IZeichenflaeche& f = *ansicht.Zeichenflaeche;
    const TFarbe stift = f.Stiftfarbe();
    const TFarbe pinsel = f.Pinselfarbe();
    const double d = z->Differenz();
    const TFarbe farbe = d > 0 ? Mehrfarbe : Wenigerfarbe;
    f.StiftfarbeSetzen(Grau);
    f.PinselfarbeSetzen(Weiss);
    f.Rechteck({t.X - w2, t.Y - h2, t.X + w2, t.Y + h2});
    const double groesste = ansicht.Vergleich->GroessteDifferenz(AnzeigeArtikel(m));
    const int32_t n = std::max(1, Runden((w2 - 1) * std::min(1.0, std::fabs(d) / groesste)));
    f.PinselfarbeSetzen(farbe);
    if (d > 0) f.RechteckFuellen({t.X, t.Y - h2 + 1, t.X + n, t.Y + h2 - 1});
    else f.RechteckFuellen({t.X - n, t.Y - h2 + 1, t.X, t.Y + h2 - 1});
    f.StiftfarbeSetzen(Grau);
    f.Polylinie({{t.X, t.Y - h2}, {t.X, t.Y + h2 + 1}});
    // Die Zahl über dem Balken: "+1.2 (+20 %)"; ohne Strom in A nur die Differenz.
    std::string text = d > 0 ? "+" : "";
    text += ansicht.Werttext(m, d);
    if (const std::optional<double> p = z->Prozent())
        text += " (" + std::string(*p > 0 ? "+" : "") + TextAusFloatFest(*p, 0, m.Anzeigetrenner) + " %)";
    f.SchriftSetzen(m.Schrift);
    const TTextgroesse g = f.TextAusmass(text);
    f.PinselfarbeSetzen(ansicht.Texthintergrund());
    TSchrift schrift = m.Schrift;
    schrift.Farbe = FarbwertAusFarbe(farbe);
    f.SchriftSetzen(schrift);
    const int32_t x = t.X - (g.Breite + 1) / 2, y = t.Y - h2 - g.Hoehe;
    if (ansicht.TextSichtbar(x, y, g)) f.TextAusgeben(x, y, text);
    f.StiftfarbeSetzen(stift);
    f.PinselfarbeSetzen(pinsel);
    // Der Name über der Differenz: welcher Weg es ist, bleibt lesbar.
    if (w != nullptr && m.WegeBeschr) WegNameZeichnen(*w, ansicht, t, h2 + g.Hoehe);
    return true;
}

} // namespace tessomir
