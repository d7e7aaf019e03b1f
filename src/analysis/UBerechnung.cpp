// Flussberechnung: Eingangs- und Ausgangsdurchgänge bis zur Ruhe.
#include "analysis/UBerechnung.h"

#include <algorithm>
#include <cmath>

#include "model/UKnoten.h"
#include "model/UPlattform.h"

namespace tessomir {
namespace {

constexpr double UeberlaufGrenze = 1e100;
constexpr double RuheGrenze = 1e-10;

// Hebt den berechneten Höchststrom um einen ankommenden Wert (Betrag).
void MaxStromHeben(double wert) {
    if (Modell != nullptr && std::fabs(wert) > Modell->MaxStromBerechnet) Modell->MaxStromBerechnet = wert;
}

bool SummeAllerArtikel() { return Modell != nullptr && Modell->SummeAllerArtikel; }

} // namespace

// ---------------------------------------------------------------- Knoten

TBerechnungsZustand TSenke::EingaengeUebernehmen() {
    const int o = ZulaufPosition(Eingang);
    const TDyn3DMatrix* oben = o >= 0 ? &Eingang->Start()->Matrix() : nullptr;
    const bool summieren = SummeAllerArtikel();
    double summe = 0.0;
    const int n = Verteilung->Dim1();
    for (int a = 0; a < n; ++a) {
        const double* z = oben != nullptr ? oben->Zelle(a, 0, o + 1) : nullptr;
        const double r = z != nullptr ? *z : 0.0;
        if (summieren) summe += r;
        else MaxStromHeben(r);
        Verteilung->ZelleSetzen(a, 1, 0, r);
    }
    if (summieren) MaxStromHeben(summe);
    return Konvergierend;
}

TBerechnungsZustand TKnoten::EingangBewerten(const TWeg* weg, int eingangsScheibe, int eingangsNummer, bool wandler,
                                             double& groessteAenderung) {
    const int o = ZulaufPosition(weg);
    const TDyn3DMatrix* oben = o >= 0 ? &weg->Start()->Matrix() : nullptr;
    const bool summieren = SummeAllerArtikel();
    double summe = 0.0;
    TBerechnungsZustand z = Konvergierend;
    const int n = Verteilung->Dim1();
    for (int a = 0; a < n; ++a) {
        const double* zelle = oben != nullptr ? oben->Zelle(a, 0, o + 1) : nullptr;
        const double r = zelle != nullptr ? *zelle : 0.0;
        if (summieren) summe += r;
        else MaxStromHeben(r);
        double* eingang = Verteilung->Zelle(a, eingangsScheibe, 0);
        TBerechnungsZustand bewertung;
        if (std::fabs(r) <= UeberlaufGrenze) {
            const double v = eingang != nullptr ? *eingang : 0.0;
            const double d = std::fabs(r - v);
            if (d < RuheGrenze && LetzteAenderung < RuheGrenze) bewertung = Stabil;
            else if (d > LetzteAenderung) bewertung = Zunehmend;
            else bewertung = Konvergierend;
            groessteAenderung = std::max(groessteAenderung, d);
            if (eingang != nullptr) *eingang = r;
        } else {
            bewertung = Ueberlauf;
            if (Modell != nullptr) {
                const std::string text = wandler
                    ? Titel() + " " + Modell->ArtikelText(a) + " " + TModell::EingangText(0)
                    : Titel() + Modell->ArtikelText(a) + " " + TModell::EingangText(eingangsNummer);
                Modell->LogZeile(text + " : Eingangsstrom wird zu gross");
            }
        }
        z = std::max(z, bewertung);
    }
    if (summieren) MaxStromHeben(summe);
    return z;
}

TBerechnungsZustand TVerzweigung::EingaengeUebernehmen() {
    double m = 0.0;
    TBerechnungsZustand z = Konvergierend;
    for (int i = 0; i < AnzahlEingaenge(); ++i) {
        z = std::max(z, EingangBewerten(Eingaenge[static_cast<size_t>(i)], i + 1, i + 1, false, m));
    }
    LetzteAenderung = m;
    return z;
}

TBerechnungsZustand TWandler::EingaengeUebernehmen() {
    double m = 0.0;
    const TBerechnungsZustand z = EingangBewerten(Eingang, 1, 0, true, m);
    LetzteAenderung = m;
    return z;
}

void TVerzweigung::AusgaengeBerechnen() {
    TDyn3DMatrix& m = *Verteilung;
    const int p = std::min(AnzahlEingaenge(), m.Dim2() - 1);
    const int q = std::min(AnzahlAusgaenge(), m.Dim3() - 1);
    for (int a = 0; a < m.Dim1(); ++a) {
        for (int k = 1; k <= q; ++k) {
            double summe = 0.0;
            for (int j = 1; j <= p; ++j) summe += m.W(a, j, 0) * m.W(a, j, k) / 100.0;
            m.W(a, 0, k) = summe;
        }
    }
}

void TWandler::AusgaengeBerechnen() {
    TDyn3DMatrix& m = *Verteilung;
    if (m.Dim3() < 2) return;
    const int n = std::min(m.Dim1(), m.Dim2() - 1);
    for (int i = 0; i < n; ++i) {
        double summe = 0.0;
        for (int j = 0; j < n; ++j) summe += m.W(j, 1, 0) * m.W(i, j + 1, 1);
        m.W(i, 0, 1) = summe;
    }
}

// ---------------------------------------------------------------- Modell

void TModell::BerechnungVorbereiten() {
    MaxStromBerechnet = 0.0;
    for (const auto& o : FOListe.Alle()) {
        if (TKnoten* k = o->AlsKnoten()) k->Zuruecksetzen();
    }
}

TBerechnungsZustand TModell::EingangsDurchgang(bool* alleStabil) {
    TBerechnungsZustand z = Konvergierend;
    bool stabil = true;
    for (const auto& o : FOListe.Alle()) {
        TKnoten* k = o->AlsKnoten();
        if (k == nullptr) continue;
        const TBerechnungsZustand b = k->EingaengeUebernehmen();
        if (b > z) z = b;
        if (b != Stabil && k->BewertetStabilitaet()) stabil = false;
    }
    if (alleStabil != nullptr) *alleStabil = stabil;
    return z;
}

void TModell::AusgangsDurchgang() {
    for (const auto& o : FOListe.Alle()) {
        if (TKnoten* k = o->AlsKnoten()) k->AusgaengeBerechnen();
    }
}

void TModell::MaxStromErmitteln() {
    for (const auto& o : FOListe.Alle()) {
        const double s = o->Strom();
        if (s > MaxStromBerechnet) MaxStromBerechnet = s;
    }
}

// ---------------------------------------------------------------- Befehl

TBerechnungsErgebnis ModellNeuberechnen(TModell& modell, const std::function<void()>& maxStromAnzeigen) {
    if (maxStromAnzeigen) maxStromAnzeigen();
    modell.LogLeeren();
    if (!(modell.StrukturPruefen() && modell.KolonnensummenPruefen())) {
        Plattform().Meldungen->Fehler("Beim Pr\xFC" "fen sind Fehler aufgetreten");
        return TBerechnungsErgebnis::PruefungFehlerhaft;
    }
    modell.LogZeile("Daten OK, Berechnung gestartet");
    modell.BerechnungVorbereiten();
    IUhr& uhr = *Plattform().Uhr;
    const uint32_t start = uhr.Millisekunden();
    TBerechnungsZustand z;
    do {
        bool alleStabil = false;
        z = modell.EingangsDurchgang(&alleStabil);
        modell.AusgangsDurchgang();
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

    const bool ok = z == Stabil;
    if (ok) {
        modell.EingangsDurchgang();
        modell.LogZeile("Berechnung OK");
    } else {
        Plattform().Meldungen->Fehler("Beim Berechnen sind Fehler aufgetreten");
    }
    modell.MaxStromErmitteln();
    if (maxStromAnzeigen) maxStromAnzeigen();
    return ok ? TBerechnungsErgebnis::BerechnungOK : TBerechnungsErgebnis::BerechnungFehlerhaft;
}

} // namespace tessomir
