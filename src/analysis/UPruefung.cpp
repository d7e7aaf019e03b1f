// Prüfung der Modellstruktur und der Kolonnensummen.
#include <cmath>

#include "analysis/UBerechnung.h"
#include "model/UKnoten.h"
#include "model/UPlattform.h"

namespace tessomir {

std::string TModell::ArtikelText(int artikel) const {
    const std::string name =
        artikel >= 0 && artikel < AnzahlArtikel() ? ArtikelListe[static_cast<size_t>(artikel)] : std::string();
    return " |" + name + "| ";
}

std::string TModell::EingangText(int nummer) {
    if (nummer < 1) return " Eingang ";
    return " " + std::to_string(nummer) + ". Eingang ";
}

bool TModell::StrukturPruefen() const {
    bool ok = true;
    auto fehler = [&](const TFO& o, const char* text) {
        LogZeile(o.Titel() + text);
        ok = false;
    };
    for (const auto& o : FOListe.Alle()) {
        const TKnoten* k = o->AlsKnoten();
        if (k == nullptr) continue;
        if (dynamic_cast<const TQuelle*>(k) != nullptr) {
            if (k->AnzahlAusgaenge() != 1) fehler(*k, " : Quelle ohne Ausgang");
        } else if (dynamic_cast<const TSenke*>(k) != nullptr) {
            if (k->AnzahlEingaenge() != 1) fehler(*k, " : Senke ohne Eingang");
        } else if (dynamic_cast<const TVerzweigung*>(k) != nullptr) {
            if (k->AnzahlEingaenge() < 1) fehler(*k, " : Verzweigung ohne Eingang");
            if (k->AnzahlAusgaenge() < 1) fehler(*k, " : Verzweigung ohne Ausgang");
        } else if (dynamic_cast<const TWandler*>(k) != nullptr) {
            if (k->AnzahlEingaenge() != 1) fehler(*k, " : Wandler ohne Eingang");
            if (k->AnzahlAusgaenge() != 1) fehler(*k, " : Wandler ohne Ausgang");
        }
    }
    return ok;
}

bool TModell::KolonnensummenPruefen() const {
    bool ok = true;
    for (const auto& o : FOListe.Alle()) {
        const auto* v = dynamic_cast<const TVerzweigung*>(o.get());
        if (v == nullptr) continue;
        const TDyn3DMatrix& m = v->Matrix();
        for (int a = 0; a < m.Dim1(); ++a) {
            for (int j = 1; j < m.Dim2(); ++j) {
                const double summe = m.Zeilensumme(a, j, m.Dim3());
                // Auch NaN gilt als falsche Summe.
                if (!(std::fabs(summe - 100.0) <= 0.001)) {
                    LogZeile(v->Titel() + " " + ArtikelText(a) + " " + EingangText(j) + " : " +
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
    const bool ok = modell.StrukturPruefen() && modell.KolonnensummenPruefen();
    if (ok) modell.LogZeile("Daten OK");
    else Plattform().Meldungen->Fehler("Beim Pr\xFC" "fen sind Fehler aufgetreten");
    return ok;
}

} // namespace tessomir
