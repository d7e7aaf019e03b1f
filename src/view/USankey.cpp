#include "view/USankey.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/UBilanz.h"
#include "base/UText.h"
#include "view/UDarstellung.h"

namespace tessomir {
namespace {

constexpr double Cos30 = 0.866; // wie die Pfeile der Linien
// Breiter als so viele Punkte wird kein Band: ein fester Massstab darf die
// Koordinaten nicht sprengen.
constexpr double GroessteBreite = 1e6;
// Ein Umriss, der mehr als viermal so breit wäre wie der grösste Strom, ist
// keine Grenze, die man sehen muss (etwa die voreingestellte Kapazität 1e6).
constexpr double UmrissHoechstens = 4.0;

constexpr TFarbe Farben[ArtikelFarbenAnzahl] = {
    {0, 114, 178},   // Blau
    {230, 159, 0},   // Orange
    {0, 158, 115},   // Blaugrün
    {86, 180, 233},  // Himmelblau
    {204, 121, 167}, // Rotlila
    {240, 228, 66},  // Gelb
    {90, 90, 90},    // Dunkelgrau
};

// Gerätepunkte je Mengeneinheit beim Zoom der Ansicht; 0 ohne Massstab.
double PunkteJeMenge(const TAnsicht& ansicht) {
    if (!ansicht.Sankey || !(ansicht.Sankey->Geltend > 0.0)) return 0.0;
    const double k = ansicht.Schriftfaktor() * ansicht.Massstab / ansicht.Sankey->Geltend;
    return std::isfinite(k) && k > 0.0 ? k : 0.0;
}

struct TRichtung {
    double Dx, Dy, Nx, Ny, Laenge;
};

// Laufrichtung und ihre linke Seite auf dem Schirm (y nach unten).
std::optional<TRichtung> Richtung(TBildpunkt p, TBildpunkt q) {
    const double dx = static_cast<double>(q.X) - p.X, dy = static_cast<double>(q.Y) - p.Y;
    const double laenge = std::sqrt(dx * dx + dy * dy);
    if (!(laenge >= 1.0)) return std::nullopt;
    return TRichtung{dx / laenge, dy / laenge, dy / laenge, -dx / laenge, laenge};
}

TBildpunkt Punkt(TBildpunkt p, const TRichtung& r, double entlang, double quer) {
    return TBildpunkt{Runden(p.X + r.Dx * entlang + r.Nx * quer), Runden(p.Y + r.Dy * entlang + r.Ny * quer)};
}

// Das Viereck zwischen den Querlagen a und b über die ganze Länge.
std::vector<TBildpunkt> Streifen(const TBand& b, const TRichtung& r, double a, double c) {
    return {Punkt(b.P, r, 0, a), Punkt(b.P, r, r.Laenge, a), Punkt(b.P, r, r.Laenge, c), Punkt(b.P, r, 0, c)};
}

void Umriss(IZeichenflaeche& z, const TBand& b, const TRichtung& r, double halb) {
    std::vector<TBildpunkt> p = Streifen(b, r, halb, -halb);
    p.push_back(p.front());
    p.push_back(p[1]); // der letzte Punkt eines Linienzugs wird nicht gesetzt
    z.Polylinie(p);
}

std::string Zahltext(double wert, char trenner) {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, "%.6g", wert);
    std::string s = puffer;
    std::replace(s.begin(), s.end(), '.', trenner);
    return s;
}

// Eine runde Menge (1, 2 oder 5 mal eine Zehnerpotenz) höchstens so gross wie 'wert'.
double RundeMenge(double wert) {
    const double potenz = std::pow(10.0, std::floor(std::log10(wert)));
    for (const double f : {5.0, 2.0, 1.0})
        if (f * potenz <= wert) return f * potenz;
    return potenz;
}

} // namespace

TFarbe ArtikelFarbe(int artikel) {
    const int i = artikel % ArtikelFarbenAnzahl;
    return Farben[i < 0 ? i + ArtikelFarbenAnzahl : i];
}

double GroessterWegStrom(const TModell& modell) {
    double groesster = 0.0;
    for (const auto& o : modell.FOListe.Alle())
        if (const TWeg* w = o->AlsWeg(); w != nullptr) {
            const double f = w->Strom();
            if (std::isfinite(f)) groesster = std::max(groesster, f);
        }
    return groesster;
}

void SankeyMassstabSetzen(const TModell& modell, const TAnsicht& ansicht) {
    if (!ansicht.Sankey) return;
    const TSankey& s = *ansicht.Sankey;
    s.GroessterStrom = GroessterWegStrom(modell);
    if (modell.MaxStromBerechnet < 0.0) {
        s.Geltend = 0.0;
        return;
    }
    if (s.MengeJePunkt > 0.0 && std::isfinite(s.MengeJePunkt)) {
        s.Geltend = s.MengeJePunkt;
        return;
    }
    // Vor der ersten Berechnung stehen nur Ströme aus der Datei da: keine Bänder.
    const double groesster = s.GroessterStrom;
    s.Geltend = groesster > 0.0 && s.Breite > 0.0 && std::isfinite(s.Breite) ? groesster / s.Breite : 0.0;
}

std::optional<TBand> WegBand(const TWeg& w, const TAnsicht& ansicht) {
    const double k = PunkteJeMenge(ansicht);
    if (k <= 0.0 || w.Start() == nullptr || w.Ziel() == nullptr) return std::nullopt;
    const TModell& m = *w.Modell;
    TBand b;
    const auto streifen = [&](int artikel, double f) {
        // Ein Strom über null ist wenigstens einen Punkt breit.
        if (std::isfinite(f) && f > 0.0) b.Streifen.push_back({artikel, std::clamp(f * k, 1.0, GroessteBreite)});
    };
    if (m.SummeAllerArtikel) {
        for (int a = 0; a < m.AnzahlArtikel(); ++a) streifen(a, WegStrom(w, a));
    } else {
        streifen(m.AktArtikel, w.Strom());
    }
    if (b.Streifen.empty()) return std::nullopt;
    for (const TBandStreifen& s : b.Streifen) b.Breite += s.Breite;
    b.P = ansicht.Transformieren(w.Start()->Refpunkt);
    b.Q = ansicht.Transformieren(w.Ziel()->Refpunkt);
    b.Voll = !(w.Strom() < w.Kapazitaet);
    const double kapazitaet = w.Kapazitaet * k;
    // Bezug ist das breiteste Band des Bilds, auch bei festem Massstab.
    const double bezug = std::max(GroessteBandbreite(ansicht), b.Breite);
    if (kapazitaet > 0.0 && kapazitaet <= UmrissHoechstens * bezug) b.Kapazitaet = kapazitaet;
    return b;
}

double GroessteBandbreite(const TAnsicht& ansicht) {
    const double k = PunkteJeMenge(ansicht);
    return k > 0.0 ? std::min(ansicht.Sankey->GroessterStrom * k, GroessteBreite) : 0.0;
}

double SankeyRand(const TAnsicht& ansicht) {
    const double k = PunkteJeMenge(ansicht);
    if (k <= 0.0) return 0.0;
    // Jeder Artikel ist wenigstens einen Punkt breit: dafür ein Zuschlag.
    const double band = GroessteBandbreite(ansicht) + 64.0;
    return std::min(UmrissHoechstens * band / 2.0 + 4.0, GroessteBreite);
}

void BandZeichnen(const TWeg& w, TAnsicht& ansicht, int modus) {
    const std::optional<TBand> band = modus == 2 ? std::nullopt : WegBand(w, ansicht);
    const std::optional<TRichtung> r = band ? Richtung(band->P, band->Q) : std::nullopt;
    if (!band || !r) {
        WegZeichnen(w, ansicht, modus);
        return;
    }
    const double halb = std::max(band->Breite, band->Kapazitaet) / 2.0 + 1.0;
    if (!ansicht.BereichSichtbar(std::min(band->P.X, band->Q.X) - static_cast<int64_t>(halb),
                                 std::min(band->P.Y, band->Q.Y) - static_cast<int64_t>(halb),
                                 std::max(band->P.X, band->Q.X) + static_cast<int64_t>(halb),
                                 std::max(band->P.Y, band->Q.Y) + static_cast<int64_t>(halb)))
        return;
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    const TFarbe stift = z.Stiftfarbe();
    const TFarbe pinsel = z.Pinselfarbe();
    const TModell& m = *w.Modell;
    // Ein voller Weg ist rot wie sein Balken; in der Summe behalten die
    // Artikel ihre Farben und das Band bekommt einen roten Rand.
    const bool rotGefuellt = band->Voll && !m.SummeAllerArtikel;
    double oben = band->Breite / 2.0;
    for (const TBandStreifen& s : band->Streifen) {
        const TFarbe f = rotGefuellt ? Rot : ArtikelFarbe(s.Artikel);
        z.StiftfarbeSetzen(f);
        z.PinselfarbeSetzen(f);
        z.Polygon(Streifen(*band, *r, oben, oben - s.Breite));
        oben -= s.Breite;
    }
    if (band->Kapazitaet > 0.0) {
        z.StiftfarbeSetzen(band->Voll ? Rot : Grau);
        Umriss(z, *band, *r, band->Kapazitaet / 2.0);
    }
    // Voll: ein roter Rand, zwei Punkte breit, auch wo die Artikel ihre Farben behalten.
    if (band->Voll) {
        z.StiftfarbeSetzen(Rot);
        Umriss(z, *band, *r, band->Breite / 2.0);
        Umriss(z, *band, *r, band->Breite / 2.0 - 1.0);
    }
    // Ausgewählt: ein roter Rahmen aussen um das Band, sichtbar auch auf einem roten.
    if (modus == 1) {
        z.StiftfarbeSetzen(Rot);
        Umriss(z, *band, *r, band->Breite / 2.0 + 2.0);
        Umriss(z, *band, *r, band->Breite / 2.0 + 3.0);
    }
    // Der Pfeil in der Mitte, so gross wie das Band; im Band weiss, sonst wie bei den Linien.
    const double l = ansicht.Schriftfaktor() * 2 * m.SymbolGroesse;
    const double a = std::max(l, 0.9 * band->Breite);
    const TBildpunkt mitte{static_cast<int32_t>((static_cast<int64_t>(band->P.X) + band->Q.X) / 2),
                           static_cast<int32_t>((static_cast<int64_t>(band->P.Y) + band->Q.Y) / 2)};
    const double bx = -a * r->Dx, by = -a * r->Dy;
    const TBildpunkt a1{mitte.X + Runden(Cos30 * bx - 0.5 * by), mitte.Y + Runden(0.5 * bx + Cos30 * by)};
    const TBildpunkt a2{mitte.X + Runden(Cos30 * bx + 0.5 * by), mitte.Y + Runden(-0.5 * bx + Cos30 * by)};
    const bool imBand = a <= band->Breite;
    if (modus == 1) {
        z.StiftfarbeSetzen(Rot);
        z.PinselfarbeSetzen(Rot);
    } else {
        z.StiftfarbeSetzen(ansicht.DruckModus ? Schwarz : Grau);
        z.PinselfarbeSetzen(imBand ? Weiss : Grau);
    }
    z.Polygon({mitte, a1, a2, mitte});
    z.StiftfarbeSetzen(stift);
    z.PinselfarbeSetzen(pinsel);
}

bool BandGetroffen(const TWeg& w, const TAnsicht& ansicht) {
    if (WegGetroffen(w, ansicht)) return true;
    const std::optional<TBand> band = WegBand(w, ansicht);
    const std::optional<TRichtung> r = band ? Richtung(band->P, band->Q) : std::nullopt;
    if (!r) return false;
    const double vx = static_cast<double>(ansicht.Trefferpunkt.X) - band->P.X;
    const double vy = static_cast<double>(ansicht.Trefferpunkt.Y) - band->P.Y;
    const double entlang = vx * r->Dx + vy * r->Dy;
    const double quer = vx * r->Nx + vy * r->Ny;
    return entlang >= 0.0 && entlang <= r->Laenge && std::fabs(quer) <= band->Breite / 2.0;
}

TTextgroesse SankeyLegende(const TModell& m, TAnsicht& ansicht, TBildpunkt ecke, bool zeichnen) {
    const double k = PunkteJeMenge(ansicht);
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    z.SchriftSetzen(m.Schrift);
    const int32_t h = z.TextAusmass("HgH").Hoehe;
    const double f = std::fabs(ansicht.Schriftfaktor());
    const int32_t rand = Runden(6 * f), luecke = Runden(4 * f);
    std::vector<int> artikel;
    if (m.SummeAllerArtikel) {
        for (int a = 0; a < m.AnzahlArtikel(); ++a) artikel.push_back(a);
    } else if (m.AktArtikel >= 0 && m.AktArtikel < m.AnzahlArtikel()) {
        artikel.push_back(m.AktArtikel);
    }
    std::vector<std::string> namen;
    int32_t breite = 0;
    for (const int a : artikel) {
        std::string puffer;
        namen.emplace_back(Beschriftung(m.ArtikelListe[static_cast<size_t>(a)], puffer));
        breite = std::max(breite, h + luecke + z.TextAusmass(namen.back()).Breite);
    }
    // Der Massstab: ein Stück Band, so breit wie eine runde Menge von etwa 20 Punkten.
    std::string massText = "ohne Strom kein Massstab";
    double menge = 0.0, dicke = 0.0;
    if (k > 0.0) {
        menge = RundeMenge(20.0 * f / k);
        dicke = std::max(1.0, menge * k);
        massText = "= " + Zahltext(menge, m.Anzeigetrenner) + " (1 Punkt = " +
                   Zahltext(ansicht.Sankey->Geltend, m.Anzeigetrenner) + ")";
    }
    const int32_t stueck = 3 * h;
    const int32_t massZeile = std::max(h, Runden(dicke));
    breite = std::max(breite, (k > 0.0 ? stueck + luecke : 0) + z.TextAusmass(massText).Breite);
    const TTextgroesse g{2 * rand + breite,
                         2 * rand + static_cast<int32_t>(artikel.size()) * (h + luecke) + massZeile};
    if (!zeichnen) return g;
    const TFarbe stift = z.Stiftfarbe();
    const TFarbe pinsel = z.Pinselfarbe();
    const int32_t x = ecke.X, y = ecke.Y - g.Hoehe;
    z.StiftfarbeSetzen(Grau);
    z.PinselfarbeSetzen(Weiss);
    z.Rechteck({x, y, x + g.Breite, y + g.Hoehe});
    int32_t zeile = y + rand;
    for (size_t i = 0; i < artikel.size(); ++i) {
        z.StiftfarbeSetzen(Schwarz);
        z.PinselfarbeSetzen(ArtikelFarbe(artikel[i]));
        z.Rechteck({x + rand, zeile + 1, x + rand + h - 1, zeile + h - 1});
        z.PinselfarbeSetzen(Weiss);
        z.TextAusgeben(x + rand + h + luecke, zeile, namen[i]);
        zeile += h + luecke;
    }
    int32_t textX = x + rand;
    if (k > 0.0) {
        const int32_t d = Runden(dicke);
        const int32_t mitte = zeile + massZeile / 2;
        z.StiftfarbeSetzen(Grau);
        z.PinselfarbeSetzen(Grau);
        z.RechteckFuellen({x + rand, mitte - d / 2, x + rand + stueck, mitte - d / 2 + d});
        textX += stueck + luecke;
    }
    z.PinselfarbeSetzen(Weiss);
    z.TextAusgeben(textX, zeile + (massZeile - h) / 2, massText);
    z.StiftfarbeSetzen(stift);
    z.PinselfarbeSetzen(pinsel);
    return g;
}

} // namespace tessomir
