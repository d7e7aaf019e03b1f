// Prüfung der Modellstruktur und der Kolonnensummen.
#include <cmath>

#include "analysis/UPruefung.h"
#include "model/UKnoten.h"
#include "base/UPlattform.h"

namespace tessomir {

bool StrukturPruefen(const TModell& modell) {
    bool ok = true;
    auto fehler = [&](const TFO& o, const char* text) {
        modell.LogZeile(o.Titel() + text);
        ok = false;
    };
    // Nur die Knotenliste: die Wege prüft niemand, und sie sind die Hälfte der Objekte.
    for (const TKnoten* k : modell.FOListe.Knoten()) {
        switch (k->Art()) {
        case TKnotenArt::Quelle:
            if (k->AnzahlAusgaenge() != 1) fehler(*k, " : Quelle ohne Ausgang");
            break;
        case TKnotenArt::Senke:
            if (k->AnzahlEingaenge() != 1) fehler(*k, " : Senke ohne Eingang");
            break;
        case TKnotenArt::Verzweigung:
            if (k->AnzahlEingaenge() < 1) fehler(*k, " : Verzweigung ohne Eingang");
            if (k->AnzahlAusgaenge() < 1) fehler(*k, " : Verzweigung ohne Ausgang");
            break;
        case TKnotenArt::Wandler:
            if (k->AnzahlEingaenge() != 1) fehler(*k, " : Wandler ohne Eingang");
            if (k->AnzahlAusgaenge() != 1) fehler(*k, " : Wandler ohne Ausgang");
            break;
        case TKnotenArt::Knoten:
            break;
        }
    }
    return ok;
}

bool KolonnensummenPruefen(const TModell& modell) {
    bool ok = true;
    for (const TKnoten* v : modell.FOListe.Knoten()) {
        if (v->Art() != TKnotenArt::Verzweigung) continue;
        const TDyn3DMatrix& m = v->Matrix();
        for (int a = 0; a < m.Dim1(); ++a) {
            for (int j = 1; j < m.Dim2(); ++j) {
                const double summe = m.Zeilensumme(a, j, m.Dim3());
                // Auch NaN gilt als falsche Summe.
                if (!(std::fabs(summe - 100.0) <= 0.001)) {
                    modell.LogZeile(v->Titel() + " " + modell.ArtikelText(a) + " " + TModell::EingangText(j) + " : " +
                             "Kolonnensumme ist nicht gleich 100");
                    ok = false;
                }
            }
        }
    }
    return ok;
}

bool ModellPruefen(TModell& modell) {
    modell.LogLeeren();
    const bool ok = StrukturPruefen(modell) && KolonnensummenPruefen(modell);
    if (ok) modell.LogZeile("Daten OK");
    return ok;
}

} // namespace tessomir
