// Flussberechnung: Eingangs- und Ausgangsdurchgänge bis zur Ruhe.
#include "analysis/UBerechnung.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "model/UKnoten.h"
#include "base/UPlattform.h"
#include "base/UVorabladen.h"

namespace tessomir {
namespace {

constexpr double UeberlaufGrenze = 1e100;
constexpr double RuheGrenze = 1e-10;

// Schreibt nur, wenn sich das Bitmuster ändert: eingeschwungen bleiben die
// Zellen unberührt im Cache und müssen nicht zurück in den Speicher. Bits,
// nicht Werte: -0.0 ersetzt 0.0, und NaN bleibt nicht wegen NaN != NaN liegen.
// BM_Durchgang/Knoten:100000/geladen:1: VerhaeltnisZuStrom 2,02 statt 2,20
// ohne den Vergleich (Mediane aus acht gepaarten Läufen, die stark streuten).
inline void Setzen(double& zelle, double wert) {
    if (std::bit_cast<uint64_t>(zelle) != std::bit_cast<uint64_t>(wert)) zelle = wert;
}

// Zellen, die ein Eingangsweg je Artikel liefert: Ausgangsscheibe o+1 des
// Startknotens. Artikel, die der Startknoten nicht hat, liefern 0.
struct TZulauf {
    const double* Zelle = nullptr;
    size_t Schritt = 0;
    int Artikel = 0;

    double Wert(int a) const { return a < Artikel ? Zelle[static_cast<size_t>(a) * Schritt] : 0.0; }
};

// Fordert 'anzahl' Zellen im Abstand 'schritt' an, jede Cachezeile einmal.
inline void ZellenVorabladen(const double* zelle, size_t schritt, int anzahl) {
    uintptr_t letzte = 0;
    for (int a = 0; a < anzahl; ++a) {
        const double* z = zelle + static_cast<size_t>(a) * schritt;
        const uintptr_t zeile = reinterpret_cast<uintptr_t>(z) >> 6;
        if (zeile != letzte) Vorabladen(z);
        letzte = zeile;
    }
}

// Hebt den Höchststrom um einen Wert (Betrag verglichen, Vorzeichen behalten).
inline void Heben(double& maxStrom, double wert) {
    if (std::fabs(wert) > maxStrom) maxStrom = wert;
}

// Hält den berechneten Höchststrom während eines Eingangs in einer lokalen
// Variablen und schreibt ihn am Ende zurück.
class THoechststrom {
public:
    explicit THoechststrom(TModell& modell) : Modell(modell), Wert(modell.MaxStromBerechnet) {}
    ~THoechststrom() { Modell.MaxStromBerechnet = Wert; }
    THoechststrom(const THoechststrom&) = delete;
    THoechststrom& operator=(const THoechststrom&) = delete;
    TModell& Modell;
    double Wert;
};

TZulauf ZulaufVon(const TWeg* weg) {
    TZulauf z;
    const int position = weg != nullptr ? weg->StartPosition() : -1;
    if (position < 0) return z;
    const TDyn3DMatrix& oben = weg->Start()->Matrix();
    if (position + 1 >= oben.Dim3()) return z;
    z.Zelle = oben.Daten() + position + 1;
    z.Schritt = oben.ArtikelSchritt();
    z.Artikel = oben.Dim1();
    return z;
}

// Eingangszellen (a, scheibe, 0) oder nullptr, wenn die Matrix die Scheibe nicht hat.
double* EingangsZellen(TDyn3DMatrix& m, int scheibe) {
    return scheibe < m.Dim2() ? m.Daten() + static_cast<size_t>(scheibe) * static_cast<size_t>(m.Dim3()) : nullptr;
}

// Die ganze Matrix anfordern: der Ausgangsdurchgang liest sie vollständig.
void BereichVorabladen(const double* daten, size_t zellen) {
    const char* anfang = reinterpret_cast<const char*>(daten);
    const size_t bytes = std::min<size_t>(zellen * sizeof(double), 4096);
    for (size_t i = 0; i < bytes; i += 64) Vorabladen(anfang + i);
}

void MatrixVorabladen(const TDyn3DMatrix& m) { BereichVorabladen(m.Daten(), m.AnzahlZellen()); }

void UeberlaufMelden(const TKnoten& knoten, int artikel, bool wandler, int eingangsNummer) {
    const TModell& m = *knoten.Modell;
    const std::string text = wandler
        ? knoten.Titel() + " " + m.ArtikelText(artikel) + " " + TModell::EingangText(0)
        : knoten.Titel() + m.ArtikelText(artikel) + " " + TModell::EingangText(eingangsNummer);
    m.LogZeile(text + " : Eingangsstrom wird zu gross");
}

// ---------------------------------------------------------------- Rechenkerne
// Gemeinsam für die Knoten und den Plan, damit beide Wege Zelle für Zelle
// dieselben Rechenschritte in derselben Reihenfolge tun.

// Senke: übernimmt alles, ohne zu bewerten.
inline void SenkeRechnen(const TZulauf& zulauf, double* eingang, size_t schritt, int artikel, bool summieren,
                         double& hoechst) {
    double summe = 0.0;
    for (int a = 0; a < artikel; ++a) {
        const double r = zulauf.Wert(a);
        if (summieren) summe += r;
        else Heben(hoechst, r);
        if (eingang != nullptr) Setzen(eingang[static_cast<size_t>(a) * schritt], r);
    }
    if (summieren) Heben(hoechst, summe);
}

// Ein Eingang einer Verzweigung oder eines Wandlers: übernimmt und bewertet
// je Artikel; 'melden(a)' bei einem Überlauf.
template <class TMelden>
inline TBerechnungsZustand EingangRechnen(const TZulauf& zulauf, double* eingang, size_t schritt, int artikel,
                                          double letzte, bool summieren, double& hoechst, double& aenderung,
                                          const TMelden& melden) {
    double summe = 0.0;
    TBerechnungsZustand z = Konvergierend;
    for (int a = 0; a < artikel; ++a) {
        const double r = zulauf.Wert(a);
        if (summieren) summe += r;
        else Heben(hoechst, r);
        TBerechnungsZustand bewertung;
        if (std::fabs(r) <= UeberlaufGrenze) {
            double* zelle = eingang != nullptr ? eingang + static_cast<size_t>(a) * schritt : nullptr;
            const double d = std::fabs(r - (zelle != nullptr ? *zelle : 0.0));
            if (d < RuheGrenze && letzte < RuheGrenze) bewertung = Stabil;
            else if (d > letzte) bewertung = Zunehmend;
            else bewertung = Konvergierend;
            if (d > aenderung) aenderung = d;
            if (zelle != nullptr) Setzen(*zelle, r);
        } else {
            bewertung = Ueberlauf;
            melden(a);
        }
        if (bewertung > z) z = bewertung;
    }
    if (summieren) Heben(hoechst, summe);
    return z;
}

// Verzweigung: Zeile 0 sammelt die Ausgänge; je Ausgang wird über die
// Eingänge in aufsteigender Reihenfolge summiert. Die Summen entstehen in
// lokalen Variablen und werden erst am Ende (und nur geändert) geschrieben;
// bis zu zwei Ausgänge (der häufigste Fall) ganz in Registern.
inline void VerzweigungRechnen(double* daten, int artikel, size_t schritt, size_t d3, int p, int q) {
    if (q <= 2) {
        for (int a = 0; a < artikel; ++a) {
            double* ausgaenge = daten + static_cast<size_t>(a) * schritt;
            double s1 = 0.0;
            double s2 = 0.0;
            for (int j = 1; j <= p; ++j) {
                const double* zeile = ausgaenge + static_cast<size_t>(j) * d3;
                const double zufluss = zeile[0];
                if (q >= 1) s1 += zufluss * zeile[1] / 100.0;
                if (q >= 2) s2 += zufluss * zeile[2] / 100.0;
            }
            if (q >= 1) Setzen(ausgaenge[1], s1);
            if (q >= 2) Setzen(ausgaenge[2], s2);
        }
        return;
    }
    constexpr int Block = 8;
    for (int a = 0; a < artikel; ++a) {
        double* ausgaenge = daten + static_cast<size_t>(a) * schritt;
        for (int k0 = 1; k0 <= q; k0 += Block) {
            const int n = std::min(Block, q - k0 + 1);
            double summe[Block];
            for (int k = 0; k < n; ++k) summe[k] = 0.0;
            for (int j = 1; j <= p; ++j) {
                const double* zeile = ausgaenge + static_cast<size_t>(j) * d3;
                const double zufluss = zeile[0];
                for (int k = 0; k < n; ++k) summe[k] += zufluss * zeile[k0 + k] / 100.0;
            }
            for (int k = 0; k < n; ++k) Setzen(ausgaenge[k0 + k], summe[k]);
        }
    }
}

// Wandler: Faktoren von Artikel i liegen in (i, j+1, 1), die Zuflüsse in (j, 1, 0).
// Je vier Artikel laufen die Summen nebeneinander in Registern, jede für sich
// in aufsteigender Folge der Zuflüsse: so wartet nicht jede Addition auf die vorige.
inline void WandlerRechnen(double* daten, size_t schritt, size_t d3, int n) {
    const double* zufluss = daten + d3;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const double* f = daten + static_cast<size_t>(i) * schritt + d3 + 1;
        double s0 = 0.0;
        double s1 = 0.0;
        double s2 = 0.0;
        double s3 = 0.0;
        for (int j = 0; j < n; ++j) {
            const double z = zufluss[static_cast<size_t>(j) * schritt];
            const double* fj = f + static_cast<size_t>(j) * d3;
            s0 += z * fj[0];
            s1 += z * fj[schritt];
            s2 += z * fj[2 * schritt];
            s3 += z * fj[3 * schritt];
        }
        Setzen(daten[static_cast<size_t>(i) * schritt + 1], s0);
        Setzen(daten[static_cast<size_t>(i + 1) * schritt + 1], s1);
        Setzen(daten[static_cast<size_t>(i + 2) * schritt + 1], s2);
        Setzen(daten[static_cast<size_t>(i + 3) * schritt + 1], s3);
    }
    for (; i < n; ++i) {
        const double* faktoren = daten + static_cast<size_t>(i) * schritt + d3 + 1;
        double summe = 0.0;
        for (int j = 0; j < n; ++j) summe += zufluss[static_cast<size_t>(j) * schritt] * faktoren[static_cast<size_t>(j) * d3];
        Setzen(daten[static_cast<size_t>(i) * schritt + 1], summe);
    }
}

} // namespace

// ---------------------------------------------------------------- Vergleichsrechnung
// Die Durchgänge Knoten für Knoten, Schritt für Schritt wie beschrieben:
// die Vergleichsrechnung für Tests und das erste Fuzz-Ziel. Das
// Programm und die Kommandozeile rechnen mit TBerechnungsPlan (unten,
// ModellNeuberechnen); Tests verlangen, dass beide bitgleich rechnen.

namespace {

TBerechnungsZustand SenkeUebernehmen(TSenke& senke) {
    const TZulauf zulauf = ZulaufVon(senke.Eingang);
    if (zulauf.Zelle != nullptr) ZellenVorabladen(zulauf.Zelle, zulauf.Schritt, zulauf.Artikel);
    THoechststrom maxStrom(*senke.Modell);
    TDyn3DMatrix& m = senke.Matrix();
    SenkeRechnen(zulauf, EingangsZellen(m, 1), m.ArtikelSchritt(), m.Dim1(), senke.Modell->SummeAllerArtikel,
                 maxStrom.Wert);
    return Konvergierend;
}

// Übernimmt und bewertet einen Eingang; gemeinsam für Verzweigung und Wandler.
TBerechnungsZustand EingangBewerten(TKnoten& knoten, const TWeg* weg, int eingangsScheibe, int eingangsNummer,
                                    bool wandler, double& groessteAenderung) {
    const TZulauf zulauf = ZulaufVon(weg);
    if (zulauf.Zelle != nullptr) ZellenVorabladen(zulauf.Zelle, zulauf.Schritt, zulauf.Artikel);
    TDyn3DMatrix& m = knoten.Matrix();
    THoechststrom maxStrom(*knoten.Modell);
    return EingangRechnen(zulauf, EingangsZellen(m, eingangsScheibe), m.ArtikelSchritt(), m.Dim1(),
                          knoten.LetzteAenderung, knoten.Modell->SummeAllerArtikel, maxStrom.Wert, groessteAenderung,
                          [&](int a) { UeberlaufMelden(knoten, a, wandler, eingangsNummer); });
}

TBerechnungsZustand VerzweigungUebernehmen(TVerzweigung& v) {
    double m = 0.0;
    TBerechnungsZustand z = Konvergierend;
    for (int i = 0; i < v.AnzahlEingaenge(); ++i) {
        z = std::max(z, EingangBewerten(v, v.Eingaenge[static_cast<size_t>(i)], i + 1, i + 1, false, m));
    }
    v.LetzteAenderung = m;
    return z;
}

TBerechnungsZustand WandlerUebernehmen(TWandler& w) {
    double m = 0.0;
    const TBerechnungsZustand z = EingangBewerten(w, w.Eingang, 1, 0, true, m);
    w.LetzteAenderung = m;
    return z;
}

} // namespace

TBerechnungsZustand EingaengeUebernehmen(TKnoten& knoten) {
    switch (knoten.Art()) {
    case TKnotenArt::Senke: return SenkeUebernehmen(static_cast<TSenke&>(knoten));
    case TKnotenArt::Verzweigung: return VerzweigungUebernehmen(static_cast<TVerzweigung&>(knoten));
    case TKnotenArt::Wandler: return WandlerUebernehmen(static_cast<TWandler&>(knoten));
    case TKnotenArt::Quelle:
    case TKnotenArt::Knoten: break;
    }
    return Konvergierend;
}

void AusgaengeBerechnen(TKnoten& knoten) {
    TDyn3DMatrix& m = knoten.Matrix();
    if (knoten.Art() == TKnotenArt::Verzweigung) {
        VerzweigungRechnen(m.Daten(), m.Dim1(), m.ArtikelSchritt(), static_cast<size_t>(m.Dim3()),
                           std::min(knoten.AnzahlEingaenge(), m.Dim2() - 1),
                           std::min(knoten.AnzahlAusgaenge(), m.Dim3() - 1));
    } else if (knoten.Art() == TKnotenArt::Wandler && m.Dim3() >= 2) {
        WandlerRechnen(m.Daten(), m.ArtikelSchritt(), static_cast<size_t>(m.Dim3()), std::min(m.Dim1(), m.Dim2() - 1));
    }
}

// ---------------------------------------------------------------- Plan
// Die Rechnung des Programms: zusammenhängende Zellen in Knotenreihenfolge
// statt Wegen und Matrixköpfen (bench_berechnung, BM_Durchgang gegen
// BM_ZellenStreamen: Ziel höchstens das Dreifache, VerhaeltnisZuStrom).

TBerechnungsPlan::TBerechnungsPlan(TModell& modell) : Modell_(modell) {
    const std::vector<TKnoten*>& knoten = modell.FOListe.Knoten();
    Knoten.reserve(knoten.size());
    std::vector<const TWeg*> wege;          // je Eingang der Weg, der ihn speist
    std::vector<const TKnoten*> rechnende;  // je Ausgang sein Knoten
    auto eingang = [&](const TWeg* weg, TDyn3DMatrix& m, int scheibe, int nummer) {
        Eingaenge.push_back({EingangsZellen(m, scheibe), m.ArtikelSchritt(), m.Dim1(), nummer});
        wege.push_back(weg);
    };
    for (TKnoten* k : knoten) {
        TDyn3DMatrix& m = k->Matrix();
        switch (k->Art()) {
        case TKnotenArt::Senke:
            eingang(static_cast<TSenke*>(k)->Eingang, m, 1, 0);
            Knoten.push_back({k, k->LetzteAenderung, m.Dim1(), 1, true, false, false});
            break;
        case TKnotenArt::Verzweigung: {
            auto* v = static_cast<TVerzweigung*>(k);
            for (int i = 0; i < v->AnzahlEingaenge(); ++i) eingang(v->Eingaenge[static_cast<size_t>(i)], m, i + 1, i + 1);
            Knoten.push_back({k, k->LetzteAenderung, m.Dim1(), v->AnzahlEingaenge(), false, false, true});
            Ausgaenge.push_back({m.Daten(), m.ArtikelSchritt(), static_cast<size_t>(m.Dim3()), m.Dim1(),
                                 std::min(v->AnzahlEingaenge(), m.Dim2() - 1),
                                 std::min(v->AnzahlAusgaenge(), m.Dim3() - 1), false});
            rechnende.push_back(k);
            break;
        }
        case TKnotenArt::Wandler:
            eingang(static_cast<TWandler*>(k)->Eingang, m, 1, 0);
            Knoten.push_back({k, k->LetzteAenderung, m.Dim1(), 1, false, true, m.Dim3() >= 2});
            if (m.Dim3() >= 2) {
                Ausgaenge.push_back({m.Daten(), m.ArtikelSchritt(), static_cast<size_t>(m.Dim3()), m.Dim1(),
                                     std::min(m.Dim1(), m.Dim2() - 1), 0, true});
                rechnende.push_back(k);
            }
            break;
        case TKnotenArt::Quelle:
        case TKnotenArt::Knoten:
            break; // übernehmen nichts, bewerten nichts, rechnen nichts
        }
    }
    ZulaeufeAnlegen(wege, rechnende);
}

// Füllt die Plätze der Eingänge mit dem heutigen Stand der Startknoten und
// ordnet jedem rechnenden Startknoten die Plätze zu, die er speist. Plätze von
// Quellen und anderen nicht rechnenden Startknoten bleiben, wie sie sind: deren
// Ausgänge ändert keine Berechnung.
void TBerechnungsPlan::ZulaeufeAnlegen(const std::vector<const TWeg*>& wege,
                                       const std::vector<const TKnoten*>& rechnendeKnoten) {
    size_t plaetze = 0;
    for (const TEingang& e : Eingaenge) plaetze += static_cast<size_t>(e.ZielArtikel);
    Zulaeufe.assign(2 * plaetze, 0.0);
    Jetzt = Zulaeufe.data();
    Naechste = Jetzt + plaetze;

    std::unordered_map<const TKnoten*, uint32_t> rechnende; // Knoten -> sein Ausgang
    rechnende.reserve(rechnendeKnoten.size());
    for (size_t i = 0; i < rechnendeKnoten.size(); ++i) rechnende.emplace(rechnendeKnoten[i], static_cast<uint32_t>(i));

    std::vector<std::pair<uint32_t, TWeitergabe>> zuordnung;
    size_t platz = 0;
    for (size_t i = 0; i < Eingaenge.size(); ++i) {
        const TZulauf z = ZulaufVon(wege[i]);
        const int n = std::min(z.Artikel, Eingaenge[i].ZielArtikel);
        for (int a = 0; a < n; ++a) Jetzt[platz + static_cast<size_t>(a)] = Naechste[platz + static_cast<size_t>(a)] = z.Wert(a);
        if (z.Zelle != nullptr && n > 0) {
            const auto r = rechnende.find(wege[i]->Start());
            if (r != rechnende.end()) zuordnung.push_back({r->second, {z.Zelle, z.Schritt, platz, n}});
        }
        platz += static_cast<size_t>(Eingaenge[i].ZielArtikel);
    }
    // Nach Startknoten geordnet, innerhalb eines Startknotens in Eingangsreihenfolge.
    std::stable_sort(zuordnung.begin(), zuordnung.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    Weitergaben.reserve(zuordnung.size());
    for (const auto& [ausgang, w] : zuordnung) {
        TAusgang& a = Ausgaenge[ausgang];
        if (a.AnzahlWeitergaben == 0) a.ErsteWeitergabe = static_cast<uint32_t>(Weitergaben.size());
        ++a.AnzahlWeitergaben;
        Weitergaben.push_back(w);
    }
}

TBerechnungsPlan::~TBerechnungsPlan() {
    for (const TKnotenSchritt& k : Knoten) k.Knoten->LetzteAenderung = k.LetzteAenderung;
}

template <bool MitAusgaengen> TBerechnungsZustand TBerechnungsPlan::Lauf(bool* alleStabil) {
    // So weit voraus anfordern, dass die Zellen da sind, wenn der Knoten drankommt.
    constexpr size_t VorausEingaenge = 6;
    constexpr size_t VorausAusgaenge = 2;
    const bool summieren = Modell_.SummeAllerArtikel;
    // Der Höchststrom bleibt über den ganzen Durchgang in einer lokalen Variablen.
    double hoechst = Modell_.MaxStromBerechnet;
    TBerechnungsZustand z = Konvergierend;
    bool stabil = true;
    const TEingang* e = Eingaenge.data();
    const TEingang* const eEnde = e + Eingaenge.size();
    const TEingang* vorab = e;
    const TAusgang* aus = Ausgaenge.data();
    const TAusgang* const ausEnde = aus + Ausgaenge.size();
    const TAusgang* vorabAus = aus;
    const double* platz = Jetzt;
    double* const naechste = Naechste;
    for (TKnotenSchritt& k : Knoten) {
        // Nie über das Ende hinaus rechnen: schon der Zeiger dort (oder nullptr + n
        // bei leerer Liste) wäre undefiniert.
        for (const TEingang* bis = e + std::min<size_t>(VorausEingaenge, static_cast<size_t>(eEnde - e)); vorab < bis;
             ++vorab) {
            if (vorab->Ziel != nullptr) ZellenVorabladen(vorab->Ziel, vorab->ZielSchritt, vorab->ZielArtikel);
        }
        for (const TAusgang* bis = aus + std::min<size_t>(VorausAusgaenge, static_cast<size_t>(ausEnde - aus));
             MitAusgaengen && vorabAus < bis; ++vorabAus) {
            BereichVorabladen(vorabAus->Daten, static_cast<size_t>(vorabAus->Artikel) * vorabAus->Schritt);
            const TWeitergabe* w = Weitergaben.data() + vorabAus->ErsteWeitergabe;
            for (uint32_t i = 0; i < vorabAus->AnzahlWeitergaben; ++i) Vorabladen(naechste + w[i].Platz);
        }
        if (k.Senke) {
            SenkeRechnen({platz, 1, k.Artikel}, e->Ziel, e->ZielSchritt, k.Artikel, summieren, hoechst);
            platz += e->ZielArtikel;
            ++e;
            continue;
        }
        double aenderung = 0.0;
        TBerechnungsZustand b = Konvergierend;
        for (int i = 0; i < k.AnzahlEingaenge; ++i, ++e) {
            // Stand vor diesem Eingang, wie ihn die Knoten beim Melden hinterlassen hätten.
            const double vorher = hoechst;
            const int nummer = e->Nummer;
            b = std::max(b, EingangRechnen({platz, 1, k.Artikel}, e->Ziel, e->ZielSchritt, k.Artikel,
                                           k.LetzteAenderung, summieren, hoechst, aenderung, [&](int a) {
                                               Modell_.MaxStromBerechnet = vorher;
                                               UeberlaufMelden(*k.Knoten, a, k.Wandler, nummer);
                                           }));
            platz += e->ZielArtikel;
        }
        k.LetzteAenderung = aenderung;
        if (b > z) z = b;
        if (b != Stabil) stabil = false;
        if (MitAusgaengen && k.Rechnet) AusgaengeRechnen(*aus++, naechste);
    }
    if (MitAusgaengen) std::swap(Jetzt, Naechste);
    Modell_.MaxStromBerechnet = hoechst;
    if (alleStabil != nullptr) *alleStabil = stabil;
    return z;
}

template TBerechnungsZustand TBerechnungsPlan::Lauf<true>(bool*);
template TBerechnungsZustand TBerechnungsPlan::Lauf<false>(bool*);

void TBerechnungsPlan::AusgaengeRechnen(const TAusgang& a, double* naechste) const {
    if (a.Wandler) WandlerRechnen(a.Daten, a.Schritt, a.D3, a.P);
    else VerzweigungRechnen(a.Daten, a.Artikel, a.Schritt, a.D3, a.P, a.Q);
    const TWeitergabe* w = Weitergaben.data() + a.ErsteWeitergabe;
    for (const TWeitergabe* wEnde = w + a.AnzahlWeitergaben; w < wEnde; ++w) {
        double* ziel = naechste + w->Platz;
        for (int i = 0; i < w->Anzahl; ++i) Setzen(ziel[i], w->Quelle[static_cast<size_t>(i) * w->Schritt]);
    }
}

// ---------------------------------------------------------------- Modell
// BerechnungVorbereiten gilt für beide Rechnungen; Eingangs- und
// AusgangsDurchgang sind die Vergleichsrechnung.

void BerechnungVorbereiten(TModell& modell) {
    modell.MaxStromBerechnet = 0.0;
    for (TKnoten* k : modell.FOListe.Knoten()) k->Zuruecksetzen();
}

TBerechnungsZustand EingangsDurchgang(TModell& modell, bool* alleStabil) {
    TBerechnungsZustand z = Konvergierend;
    bool stabil = true;
    const std::vector<TKnoten*>& knoten = modell.FOListe.Knoten();
    for (size_t i = 0; i < knoten.size(); ++i) {
        if (i + 4 < knoten.size()) Vorabladen(knoten[i + 4]);
        if (i + 1 < knoten.size()) MatrixVorabladen(knoten[i + 1]->Matrix());
        TKnoten* k = knoten[i];
        const TBerechnungsZustand b = EingaengeUebernehmen(*k);
        if (b > z) z = b;
        if (b != Stabil && k->BewertetStabilitaet()) stabil = false;
    }
    if (alleStabil != nullptr) *alleStabil = stabil;
    return z;
}

void AusgangsDurchgang(TModell& modell) {
    const std::vector<TKnoten*>& knoten = modell.FOListe.Knoten();
    for (size_t i = 0; i < knoten.size(); ++i) {
        if (i + 4 < knoten.size()) Vorabladen(knoten[i + 4]);
        if (i + 1 < knoten.size()) MatrixVorabladen(knoten[i + 1]->Matrix());
        AusgaengeBerechnen(*knoten[i]);
    }
}

void MaxStromErmitteln(TModell& modell) {
    for (const auto& o : modell.FOListe.Alle()) {
        const double s = o->Strom();
        if (s > modell.MaxStromBerechnet) modell.MaxStromBerechnet = s;
    }
}

// ---------------------------------------------------------------- Befehl

const char* ErgebnisMeldung(TBerechnungsErgebnis ergebnis) {
    switch (ergebnis) {
    case TBerechnungsErgebnis::PruefungFehlerhaft: return PruefFehlerMeldung;
    case TBerechnungsErgebnis::BerechnungFehlerhaft: return BerechnungsFehlerMeldung;
    case TBerechnungsErgebnis::BerechnungOK: break;
    }
    return "";
}

TBerechnungsErgebnis ModellNeuberechnen(TModell& modell, const std::function<void()>& maxStromAnzeigen, IUhr* uhrVorgabe) {
    if (maxStromAnzeigen) maxStromAnzeigen();
    modell.LogLeeren();
    if (!(StrukturPruefen(modell) && KolonnensummenPruefen(modell))) return TBerechnungsErgebnis::PruefungFehlerhaft;
    modell.LogZeile("Daten OK, Berechnung gestartet");
    BerechnungVorbereiten(modell);
    bool ok = false;
    {
        // Während der Durchgänge ändert niemand das Modell: der Plan bleibt gültig.
        TBerechnungsPlan plan(modell);
        IUhr& uhr = uhrVorgabe != nullptr ? *uhrVorgabe : *Plattform().Uhr;
        const uint32_t start = uhr.Millisekunden();
        TBerechnungsZustand z;
        do {
            bool alleStabil = false;
            z = plan.Durchgang(&alleStabil);
            // Fertig erst, wenn nichts mehr zunimmt und jede Verzweigung und jeder
            // Wandler ruht; ein einzelner ruhender Knoten genügt nicht.
            if (z <= Stabil) z = alleStabil ? Stabil : Konvergierend;
            const uint32_t vergangen = uhr.Millisekunden() - start;
            if (vergangen > modell.MaxBerDauer) {
                modell.LogZeile("Max. Berechnungsdauer von : " + std::to_string(modell.MaxBerDauer) +
                                " msec \xFC" "berschritten.");
                modell.LogZeile("Wahrscheinliche Ursache : Schlaufe mit monoton zunehmendem Strom");
                z = Zeitueberschreitung;
            }
        } while (z != Stabil && z != Ueberlauf && z != Zeitueberschreitung);

        ok = z == Stabil;
        if (ok) plan.EingangsDurchgang();
    }
    if (ok) modell.LogZeile("Berechnung OK");
    MaxStromErmitteln(modell);
    if (maxStromAnzeigen) maxStromAnzeigen();
    return ok ? TBerechnungsErgebnis::BerechnungOK : TBerechnungsErgebnis::BerechnungFehlerhaft;
}

} // namespace tessomir
