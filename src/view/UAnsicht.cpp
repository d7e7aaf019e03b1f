#include "view/UAnsicht.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "view/UDarstellung.h"
#include "view/USankey.h"

namespace tessomir {
namespace {

int32_t Versetzt(int32_t wert, int32_t minus, int32_t plus) {
    const int64_t v = static_cast<int64_t>(wert) - minus + plus;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
        throw EIntOverflow("\xDC" "berlauf beim Versetzen auf die Druckseite");
    }
    return static_cast<int32_t>(v);
}

// Sicherheitsabstand um jede Figur: Stiftbreite, Rundung der Ellipsen und Pfeile.
constexpr int64_t Rand = 2;

bool GleicheForm(const TSchrift& a, const TSchrift& b) {
    return a.Hoehe == b.Hoehe && a.Stil == b.Stil && a.Teilung == b.Teilung && a.Zeichensatz == b.Zeichensatz &&
           a.Name == b.Name;
}

} // namespace

int32_t Runden(double wert) {
    // Hälften zur geraden Nachbarzahl; rint rundet wie nearbyint, ohne die
    // Gleitkommaumgebung zu sichern. Auf diesem Rechner ist der Unterschied
    // nicht messbar (BM_NeuzeichnenBalken 18,5 gegen 18,8 ms, BM_FensterBalken
    // 3,7 gegen 3,6 ms mit nearbyint, drei gepaarte Läufe); rint bleibt, weil
    // es dasselbe tut und nichts kostet.
    const double r = std::rint(wert);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        throw ERangeError("Koordinate au\xDF" "erhalb des darstellbaren Bereichs");
    }
    return static_cast<int32_t>(r);
}

TBildpunkt TAnsicht::Transformieren(const TPunkt& p) const {
    const double k = Schriftfaktor() * Massstab;
    TBildpunkt b{Runden(k * p.X + OffsetX), Runden(OffsetY - k * p.Y)};
    if (DruckModus) {
        b.X = Versetzt(b.X, SeiteX, RandLinks);
        b.Y = Versetzt(b.Y, SeiteY, RandOben);
    }
    return b;
}

TPunkt TAnsicht::Ruecktransformieren(const TBildpunkt& p) const {
    if (std::fabs(Massstab) <= 1e-20) return TPunkt{1e20, 1e20};
    return TPunkt{(p.X - OffsetX) / Massstab, (OffsetY - p.Y) / Massstab};
}

void TAnsicht::SchriftMessen(const TSchrift& schrift, bool bildschirm) {
    Zeichenflaeche->SchriftSetzen(schrift);
    const int32_t h = Zeichenflaeche->TextAusmass("H").Hoehe;
    if (bildschirm) Bildschirmhoehe = h;
    else Druckerhoehe = h;
}

double TAnsicht::Schriftfaktor() const {
    if (DruckModus && Bildschirmhoehe != 0) return static_cast<double>(Druckerhoehe) / Bildschirmhoehe;
    return 1.0;
}

const std::string& TAnsicht::Werttext(const TModell& modell, double wert) {
    constexpr size_t GroessteZahl = size_t{1} << 16;
    if (modell.StromStellen != WerttextStellen || modell.Anzeigetrenner != WerttextTrenner ||
        Werttexte.size() >= GroessteZahl) {
        Werttexte.clear();
        WerttextStellen = modell.StromStellen;
        WerttextTrenner = modell.Anzeigetrenner;
    }
    uint64_t bits = 0;
    std::memcpy(&bits, &wert, sizeof bits);
    if (const auto it = Werttexte.find(bits); it != Werttexte.end()) return it->second;
    return Werttexte.emplace(bits, modell.WertText(wert)).first->second;
}

TFarbe TAnsicht::Texthintergrund() const { return DruckModus ? Weiss : Zeichenflaeche->Fensterhintergrund(); }

void TAnsicht::SichtbereichSetzen(const TRechteck& bereich, const TSchrift& schrift) {
    Zeichenflaeche->SchriftSetzen(schrift);
    Sicht = TSicht{bereich, schrift, Zeichenflaeche->TextAusmass("HgH").Hoehe};
}

bool TAnsicht::BereichSichtbar(int64_t links, int64_t oben, int64_t rechts, int64_t unten) const {
    if (!Sicht) return true;
    const TRechteck& b = Sicht->Bereich;
    // Rechter und unterer Rand des Bereichs gehören nicht mehr dazu.
    return rechts + Rand >= b.Links && links - Rand < b.Rechts && unten + Rand >= b.Oben && oben - Rand < b.Unten;
}

bool TAnsicht::StreckeSichtbar(TBildpunkt a, TBildpunkt b) const {
    if (!Sicht) return true;
    if (!BereichSichtbar(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y))) {
        return false;
    }
    // Die Gerade trifft den erweiterten Bereich, wenn nicht alle vier Ecken
    // echt auf einer Seite liegen. Die Rundungsfehler in double bleiben weit
    // unter einem Pixel, der Rand deckt sie und die Rasterung der Linie.
    const TRechteck& r = Sicht->Bereich;
    const double l = static_cast<double>(r.Links) - Rand;
    const double o = static_cast<double>(r.Oben) - Rand;
    const double re = static_cast<double>(r.Rechts) - 1 + Rand;
    const double u = static_cast<double>(r.Unten) - 1 + Rand;
    const double dx = static_cast<double>(b.X) - a.X;
    const double dy = static_cast<double>(b.Y) - a.Y;
    const auto seite = [&](double x, double y) { return dx * (y - a.Y) - dy * (x - a.X); };
    const double s[] = {seite(l, o), seite(re, o), seite(l, u), seite(re, u)};
    const bool alleLinks = s[0] > 0 && s[1] > 0 && s[2] > 0 && s[3] > 0;
    const bool alleRechts = s[0] < 0 && s[1] < 0 && s[2] < 0 && s[3] < 0;
    return !alleLinks && !alleRechts;
}

std::optional<int32_t> TAnsicht::Sichtzeilenhoehe(const TSchrift& schrift) const {
    if (!Sicht || !GleicheForm(schrift, Sicht->Schrift)) return std::nullopt;
    return Sicht->Zeilenhoehe;
}

bool TAnsicht::ZeilenSichtbar(int64_t oben, int64_t unten, const TSchrift& schrift) const {
    if (!Sicht || !GleicheForm(schrift, Sicht->Schrift)) return true;
    // Eine Zeilenhöhe Abstand für Glyphen, die über ihren Kasten ragen.
    const int64_t h = Sicht->Zeilenhoehe;
    const TRechteck& b = Sicht->Bereich;
    return BereichSichtbar(b.Links, oben - h, b.Links, unten + 2 * h);
}

bool TAnsicht::TextSichtbar(int64_t x, int64_t y, const TTextgroesse& groesse) const {
    if (!Sicht) return true;
    const int64_t h = std::max(Sicht->Zeilenhoehe, groesse.Hoehe);
    return BereichSichtbar(x - h, y - h, x + groesse.Breite + h, y + groesse.Hoehe + h);
}

void TAnsicht::BalkenZeichnen(const TRechteck& r, TFarbe farbe, bool imBereich, double prozent) {
    const int32_t breite = r.Rechts - r.Links;
    // Weit über 100 % läuft die Füllung ohnehin aus jedem Bild; begrenzt, damit
    // ein riesiger Prozentwert nicht den Ganzzahlbereich sprengt.
    const double fuellung = std::clamp(breite * prozent / 100.0, -1e9, 1e9);
    int32_t n = Runden(std::isnan(fuellung) ? 0.0 : fuellung);
    if (n == breite) n = breite - 1;
    // Die Füllung kann über den Kasten hinaus nach rechts laufen.
    const int64_t rechts = std::max<int64_t>({r.Links, r.Rechts, static_cast<int64_t>(r.Links) + n});
    if (!BereichSichtbar(std::min(r.Links, r.Rechts), std::min(r.Oben, r.Unten), rechts, std::max(r.Oben, r.Unten))) {
        return;
    }
    IZeichenflaeche& z = *Zeichenflaeche;
    const TFarbe pinsel = z.Pinselfarbe();
    const TFarbe stift = z.Stiftfarbe();
    z.PinselfarbeSetzen(Weiss);
    z.StiftfarbeSetzen(imBereich ? farbe : Rot);
    z.Rechteck(r);
    if (n > 0) {
        z.PinselfarbeSetzen(imBereich ? farbe : Rot);
        const int64_t rechts = std::min<int64_t>(static_cast<int64_t>(r.Links) + n, std::numeric_limits<int32_t>::max());
        z.RechteckFuellen(TRechteck{r.Links + 1, r.Oben + 1, static_cast<int32_t>(rechts), r.Unten - 1});
    }
    z.PinselfarbeSetzen(pinsel);
    z.StiftfarbeSetzen(stift);
}

TTextgroesse TAnsicht::ZahlZeichnen(TBildpunkt p, const std::string& text, bool imBereich, TFarbe farbe,
                                    int vertikal, const TSchrift& schrift) {
    IZeichenflaeche& z = *Zeichenflaeche;
    const TFarbe pinsel = z.Pinselfarbe();
    const TFarbe stift = z.Stiftfarbe();
    z.PinselfarbeSetzen(Texthintergrund());
    z.StiftfarbeSetzen(Schwarz);
    TSchrift s = schrift;
    s.Farbe = FarbwertAusFarbe(imBereich ? farbe : Rot);
    z.SchriftSetzen(s);
    const TTextgroesse groesse = z.TextAusmass(text.empty() ? std::string_view("HgH") : std::string_view(text));
    int32_t dy = 0;
    if (vertikal == 1) dy = (groesse.Hoehe + 1) / 2;
    else if (vertikal == 2) dy = -groesse.Hoehe;
    const int32_t x = p.X - (groesse.Breite + 1) / 2;
    if (!text.empty() && TextSichtbar(x, static_cast<int64_t>(p.Y) - dy, groesse)) z.TextAusgeben(x, p.Y - dy, text);
    z.PinselfarbeSetzen(pinsel);
    z.StiftfarbeSetzen(stift);
    return groesse;
}

bool KnotenBeschriftet(const TKnoten& k) {
    const TModell& m = *k.Modell;
    return (dynamic_cast<const TQuelle*>(&k) && m.QuellenBeschr) || (dynamic_cast<const TSenke*>(&k) && m.SenkenBeschr) ||
           (dynamic_cast<const TVerzweigung*>(&k) && m.VerzweigBeschr) ||
           (dynamic_cast<const TWandler*>(&k) && m.WandlerBeschr);
}

void ModellZeichnen(const TModell& modell, TAnsicht& ansicht) { AllesZeichnen(modell.FOListe, ansicht, modell); }

TBildpunkt Zeichnungsgroesse(const TModell& modell, TAnsicht& ansicht) {
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    z.SchriftSetzen(modell.Schrift);
    const int32_t texthoehe = z.TextAusmass("HgH").Hoehe;
    const double f = ansicht.Schriftfaktor();
    const int64_t symbol = Runden(f * 3 * modell.SymbolGroesse / 2.0);
    const int64_t balken = Runden(f * modell.StromGroesse / 2.0);
    // Platz unter Verzweigungen für Anzeige, rechts für Balken und Namen.
    const int64_t unten = 2 * symbol + 1 + std::max<int64_t>(texthoehe, balken);
    int64_t x = 0;
    int64_t y = 0;
    for (const auto& o : modell.FOListe.Alle()) {
        const TKnoten* k = o->AlsKnoten();
        if (k == nullptr) continue;
        const TBildpunkt p = ansicht.Transformieren(k->Refpunkt);
        int64_t rechts = p.X + std::max(symbol, balken);
        if (KnotenBeschriftet(*k)) {
            std::string puffer;
            const int32_t w = z.TextAusmass(Beschriftung(k->Name, puffer)).Breite;
            rechts = std::max<int64_t>(rechts, p.X - (w + 1) / 4 + w);
        }
        x = std::max(x, rechts);
        y = std::max(y, p.Y + unten);
    }
    // Bänder reichen um ihre halbe Breite über die Knoten hinaus.
    if (ansicht.Sankey) {
        SankeyMassstabSetzen(modell, ansicht);
        const int64_t band = static_cast<int64_t>(std::ceil(GroessteBandbreite(ansicht) / 2));
        x += band;
        y += band;
    }
    constexpr int64_t Rand = 10;
    return TBildpunkt{static_cast<int32_t>(std::min<int64_t>(x + Rand, std::numeric_limits<int32_t>::max())),
                      static_cast<int32_t>(std::min<int64_t>(y + Rand, std::numeric_limits<int32_t>::max()))};
}

} // namespace tessomir
