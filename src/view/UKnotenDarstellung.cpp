// Symbole der vier Knotenarten, ihre Namen und die Durchsatzanzeige der Verzweigung.
#include <cstdlib>
#include <optional>
#include <vector>

#include "model/UKnoten.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

constexpr TFarbe QuellenFarbe{23, 219, 38};
constexpr TFarbe SenkenFarbe{255, 86, 86};
constexpr TFarbe VerzweigungsFarbe{0, 128, 255};
constexpr TFarbe WandlerFarbe{255, 189, 51};
constexpr TFarbe DurchsatzFarbe{0, 132, 255};

enum class TFigur { Raute, Dreieck, Quadrat, Kreis };

// Symbolradius R für Quelle, Senke, Wandler; halbe Seite r der Verzweigung.
int32_t Symbolradius(const TAnsicht& a, const TFO& k) {
    return Runden(a.Schriftfaktor() * 3 * k.Modell->SymbolGroesse / 2);
}
int32_t HalbeSeite(const TAnsicht& a, const TFO& k) { return Runden(a.Schriftfaktor() * k.Modell->SymbolGroesse); }

std::vector<TBildpunkt> Punkte(TFigur figur, int32_t x, int32_t y, int32_t g) {
    switch (figur) {
    case TFigur::Raute:
        return {{x, y - g}, {x + g, y}, {x, y + g}, {x - g, y}, {x, y - g}};
    case TFigur::Dreieck:
        return {{x, y - g}, {x + g, y + g / 2}, {x - g, y + g / 2}, {x, y - g}};
    case TFigur::Quadrat:
        return {{x - g, y - g}, {x + g, y - g}, {x + g, y + g}, {x - g, y + g}, {x - g, y - g}};
    case TFigur::Kreis:
        break;
    }
    return {};
}

void NameZeichnen(TAnsicht& ansicht, const TFO& knoten, int32_t x, int32_t y, int32_t s) {
    const TSchrift& schrift = knoten.Modell->Schrift;
    // Weit ober- oder unterhalb des Sichtbereichs, ohne den Namen zu messen.
    if (const std::optional<int32_t> h = ansicht.Sichtzeilenhoehe(schrift)) {
        const int64_t oben = static_cast<int64_t>(y) - s - (static_cast<int64_t>(*h) * 4) / 3;
        if (!ansicht.ZeilenSichtbar(oben, oben, schrift)) return;
    }
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    z.PinselfarbeSetzen(ansicht.Texthintergrund());
    z.SchriftSetzen(schrift);
    std::string puffer;
    const std::string_view name = Beschriftung(knoten.Name, puffer);
    const TTextgroesse g = z.TextAusmass(name);
    const int32_t tx = x - (g.Breite + 1) / 4;
    const int32_t ty = y - s - (g.Hoehe * 4) / 3;
    if (ansicht.TextSichtbar(tx, ty, g)) z.TextAusgeben(tx, ty, name);
}

void SymbolZeichnen(TAnsicht& ansicht, const TFO& knoten, int modus, TFigur figur, TFarbe fuellung, bool beschriften) {
    if (modus < 0 || modus > 2) return;
    const int32_t g = figur == TFigur::Quadrat ? HalbeSeite(ansicht, knoten) : Symbolradius(ansicht, knoten);
    TBildpunkt p = ansicht.Transformieren(knoten.Refpunkt);
    if (modus == 2) {
        p.X += ansicht.Aktpunkt.X - ansicht.Startpunkt.X;
        p.Y += ansicht.Aktpunkt.Y - ansicht.Startpunkt.Y;
    }
    const std::vector<TBildpunkt> punkte = Punkte(figur, p.X, p.Y, g);
    const TRechteck kasten{p.X - g, p.Y - g, p.X + g, p.Y + g};

    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    const TFarbe pinsel = z.Pinselfarbe();
    const TFarbe stift = z.Stiftfarbe();
    if (modus == 2) {
        const TStiftModus stiftModus = z.Stiftmodus();
        z.StiftfarbeSetzen(Schwarz);
        z.StiftmodusSetzen(TStiftModus::NichtXor);
        if (figur == TFigur::Kreis) z.Ellipse(kasten);
        else z.Polylinie(punkte);
        z.StiftmodusSetzen(stiftModus);
    } else {
        // Jede Figur bleibt im Kasten um p mit der halben Breite |g|.
        const int64_t b = std::abs(static_cast<int64_t>(g));
        if (ansicht.BereichSichtbar(p.X - b, p.Y - b, p.X + b, p.Y + b)) {
            z.PinselfarbeSetzen(modus == 1 ? Gelb : fuellung);
            z.StiftfarbeSetzen(modus == 1 ? Rot : Schwarz);
            if (figur == TFigur::Kreis) z.Ellipse(kasten);
            else z.Polygon(punkte);
        }
        if (beschriften) NameZeichnen(ansicht, knoten, p.X, p.Y, g);
    }
    z.PinselfarbeSetzen(pinsel);
    z.StiftfarbeSetzen(stift);
}

} // namespace

bool KnotenZeichnen(const TKnoten& k, TAnsicht& ansicht, int modus) {
    const TModell& m = *k.Modell;
    switch (k.Art()) {
    case TKnotenArt::Quelle: SymbolZeichnen(ansicht, k, modus, TFigur::Raute, QuellenFarbe, m.QuellenBeschr); break;
    case TKnotenArt::Senke: SymbolZeichnen(ansicht, k, modus, TFigur::Dreieck, SenkenFarbe, m.SenkenBeschr); break;
    case TKnotenArt::Verzweigung:
        SymbolZeichnen(ansicht, k, modus, TFigur::Quadrat, VerzweigungsFarbe, m.VerzweigBeschr);
        break;
    case TKnotenArt::Wandler: SymbolZeichnen(ansicht, k, modus, TFigur::Kreis, WandlerFarbe, m.WandlerBeschr); break;
    case TKnotenArt::Knoten: return false;
    }
    return true;
}

TBildpunkt VerzweigungAnzeigepunkt(const TVerzweigung& v, const TAnsicht& ansicht) {
    const int32_t r = HalbeSeite(ansicht, v);
    const TBildpunkt p = ansicht.Transformieren(v.Refpunkt);
    return TBildpunkt{p.X, p.Y + 2 * r + 1};
}

void VerzweigungAnzeigeZeichnen(const TVerzweigung& v, TAnsicht& ansicht, int modus) {
    const TBildpunkt t = VerzweigungAnzeigepunkt(v, ansicht);
    if (modus >= 2) return;
    const TModell& m = *v.Modell;
    const double f = v.Strom();
    const bool imBereich = f < v.Kapazitaet;
    const double faktor = ansicht.Schriftfaktor();
    if (m.Stromanzeige == 0) {
        const double prozent = m.Prozentwert(f);
        if (prozent > m.StromAufloesung()) {
            const int32_t w2 = Runden(faktor * m.StromGroesse / 2);
            const int32_t h2 = Runden(faktor * m.StromGroesse / 10);
            ansicht.BalkenZeichnen(TRechteck{t.X - w2, t.Y - h2, t.X + w2, t.Y + h2}, DurchsatzFarbe, imBereich,
                                   prozent);
        }
    } else if (m.Stromanzeige == 1) {
        // Oberkante an t; die Zahl wird nur gesetzt, wenn ihre Zeile sichtbar sein kann.
        if (f > m.StromAufloesung() && ansicht.ZeilenSichtbar(t.Y, t.Y, m.Schrift)) {
            ansicht.ZahlZeichnen(t, ansicht.Werttext(m, f), imBereich, DurchsatzFarbe, 0, m.Schrift);
        }
    }
}

} // namespace tessomir
