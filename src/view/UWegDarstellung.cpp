// Zeichnen der Wege: Linie mit Pfeil in der Mitte, Stromanzeige bei einem
// Viertel, Name darüber; Treffertest entlang der Linie.
#include <algorithm>
#include <cmath>

#include "model/UKnoten.h"
#include "view/UAnsicht.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

constexpr double Cos30 = 0.866; // bewusst gerundet: so sehen die Pfeile aus

TBildpunkt Mitte(TBildpunkt a, TBildpunkt b) {
    return TBildpunkt{static_cast<int32_t>((static_cast<int64_t>(a.X) + b.X) / 2),
                      static_cast<int32_t>((static_cast<int64_t>(a.Y) + b.Y) / 2)};
}

} // namespace

void WegZeichnen(const TWeg& w, TAnsicht& ansicht, int modus) {
    if (modus < 0 || modus > 2) return;
    const int symbol = w.Modell->SymbolGroesse;
    const int32_t l = Runden(ansicht.Schriftfaktor() * 2 * symbol);
    const TBildpunkt p = w.Start() != nullptr ? ansicht.Transformieren(w.Start()->Refpunkt) : TBildpunkt{0, 0};
    TBildpunkt q;
    if (modus == 2) {
        q = TBildpunkt{p.X + ansicht.Aktpunkt.X - ansicht.Startpunkt.X, p.Y + ansicht.Aktpunkt.Y - ansicht.Startpunkt.Y};
    } else if (w.Ziel() != nullptr) {
        q = ansicht.Transformieren(w.Ziel()->Refpunkt);
    } else {
        q = ansicht.Trefferpunkt;
    }

    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    const TFarbe stift = z.Stiftfarbe();
    const TFarbe pinsel = z.Pinselfarbe();
    if (modus == 2) {
        const TStiftModus stiftModus = z.Stiftmodus();
        z.StiftfarbeSetzen(Schwarz);
        z.StiftmodusSetzen(TStiftModus::NichtXor);
        z.Polylinie({p, q});
        z.StiftmodusSetzen(stiftModus);
    } else {
        const double ux = static_cast<double>(p.X) - q.X;
        const double uy = static_cast<double>(p.Y) - q.Y;
        const double laenge2 = ux * ux + uy * uy;
        const double laenge = laenge2 <= 1e-20 ? 1.0 : std::sqrt(laenge2);
        const double bx = l * ux / laenge;
        const double by = l * uy / laenge;
        const TBildpunkt m = Mitte(p, q);
        const TBildpunkt a1{m.X + Runden(Cos30 * bx - 0.5 * by), m.Y + Runden(0.5 * bx + Cos30 * by)};
        const TBildpunkt a2{m.X + Runden(Cos30 * bx + 0.5 * by), m.Y + Runden(-0.5 * bx + Cos30 * by)};
        if (modus == 0) {
            z.StiftfarbeSetzen(ansicht.DruckModus ? Schwarz : Grau);
            z.PinselfarbeSetzen(Grau);
        } else {
            z.StiftfarbeSetzen(Rot);
            z.PinselfarbeSetzen(Rot);
        }
        if (ansicht.StreckeSichtbar(p, q)) z.Polylinie({p, q});
        if (ansicht.BereichSichtbar(std::min({m.X, a1.X, a2.X}), std::min({m.Y, a1.Y, a2.Y}),
                                    std::max({m.X, a1.X, a2.X}), std::max({m.Y, a1.Y, a2.Y}))) {
            z.Polygon({m, a1, a2, m});
        }
    }
    z.StiftfarbeSetzen(stift);
    z.PinselfarbeSetzen(pinsel);
}

TBildpunkt WegAnzeigepunkt(const TWeg& w, const TAnsicht& ansicht) {
    const TBildpunkt s = ansicht.Transformieren(w.Start()->Refpunkt);
    const TBildpunkt e = ansicht.Transformieren(w.Ziel()->Refpunkt);
    return TBildpunkt{static_cast<int32_t>(s.X + (static_cast<int64_t>(e.X) - s.X) / 4),
                      static_cast<int32_t>(s.Y + (static_cast<int64_t>(e.Y) - s.Y) / 4)};
}

void WegAnzeigeZeichnen(const TWeg& w, TAnsicht& ansicht, int modus) {
    if (w.Start() == nullptr || w.Ziel() == nullptr) return;
    const TBildpunkt t = WegAnzeigepunkt(w, ansicht);
    if (modus >= 2) return;
    const TModell& m = *w.Modell;
    const double f = w.Strom();
    const bool imBereich = f < w.Kapazitaet;
    const double faktor = ansicht.Schriftfaktor();
    // Zahl und Name stehen über t, zusammen höchstens zwei Zeilen und ein
    // Balken hoch; liegt das ganz außerhalb, wird keine Zahl gesetzt.
    const int64_t zeile = ansicht.Sichtzeilenhoehe(m.Schrift).value_or(0);
    const double halbeDicke = std::fabs(faktor * m.StromGroesse / 10);
    const int64_t balken = halbeDicke < 1e9 ? static_cast<int64_t>(halbeDicke) + 1 : 1000000000;
    const bool texte = ansicht.ZeilenSichtbar(t.Y - 2 * zeile - 2 * balken - 2, t.Y + 2 * balken, m.Schrift);
    int32_t h = 0;
    if (m.Stromanzeige == 0) {
        const double p = m.Prozentwert(f);
        if (p > m.StromAufloesung()) {
            const int32_t w2 = Runden(faktor * m.StromGroesse / 2);
            const int32_t h2 = Runden(faktor * m.StromGroesse / 10);
            ansicht.BalkenZeichnen(TRechteck{t.X - w2, t.Y - h2, t.X + w2, t.Y + h2}, Grau, imBereich, p);
            h = 2 * h2;
        }
    } else if (m.Stromanzeige == 1) {
        if (f > m.StromAufloesung() && texte) {
            const TTextgroesse g = ansicht.ZahlZeichnen(t, ansicht.Werttext(m, f), imBereich, Grau, 1, m.Schrift);
            h = (g.Hoehe + 1) / 2;
        }
    }
    if (m.WegeBeschr && texte) WegNameZeichnen(w, ansicht, t, h);
}

void WegNameZeichnen(const TWeg& w, TAnsicht& ansicht, TBildpunkt t, int32_t h) {
    const TModell& m = *w.Modell;
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    const TFarbe pinsel = z.Pinselfarbe();
    z.PinselfarbeSetzen(ansicht.Texthintergrund());
    z.SchriftSetzen(m.Schrift);
    std::string puffer;
    const std::string_view name = Beschriftung(w.Name, puffer);
    const TTextgroesse g = z.TextAusmass(name);
    const int32_t x = t.X - (g.Breite + 1) / 2;
    const int32_t y = t.Y - h - g.Hoehe;
    if (ansicht.TextSichtbar(x, y, g)) z.TextAusgeben(x, y, name);
    z.PinselfarbeSetzen(pinsel);
}

bool WegGetroffen(const TWeg& w, const TAnsicht& ansicht) {
    if (w.Start() == nullptr || w.Ziel() == nullptr) return false;
    const int64_t t = w.Modell->SymbolGroesse;
    const TBildpunkt p1 = ansicht.Transformieren(w.Start()->Refpunkt);
    const TBildpunkt p2 = ansicht.Transformieren(w.Ziel()->Refpunkt);
    const int64_t x = ansicht.Trefferpunkt.X;
    const int64_t y = ansicht.Trefferpunkt.Y;
    if (x < std::min<int64_t>(p1.X, p2.X) - t || x >= std::max<int64_t>(p1.X, p2.X) + t) return false;
    if (y < std::min<int64_t>(p1.Y, p2.Y) - t || y >= std::max<int64_t>(p1.Y, p2.Y) + t) return false;
    const double a0 = static_cast<double>(p1.Y) - p2.Y;
    const double b0 = static_cast<double>(p2.X) - p1.X;
    const double td = static_cast<double>(t);
    if (td > std::fabs(a0) && td > std::fabs(b0)) return true;
    const double laenge = std::sqrt(a0 * a0 + b0 * b0);
    const double a = a0 / laenge;
    const double b = b0 / laenge;
    const double c = -a * p1.X - b * p1.Y;
    const double d = std::fabs(a * static_cast<double>(x) + b * static_cast<double>(y) + c);
    return td > d;
}

} // namespace tessomir
