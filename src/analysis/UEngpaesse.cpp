// Engpassliste nach einer Berechnung.
#include "analysis/UEngpaesse.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/UBilanz.h"

namespace tessomir {

std::vector<TEngpass> EngpaesseErmitteln(const TModell& modell, double schwelleProzent) {
    std::vector<TEngpass> liste;
    const int n = modell.AnzahlArtikel();
    for (const auto& o : modell.FOListe.Alle()) {
        const TWeg* weg = o->AlsWeg();
        const TKnoten* knoten = o->AlsKnoten();
        const auto* verzweigung =
            knoten != nullptr && knoten->Art() == TKnotenArt::Verzweigung ? static_cast<const TVerzweigung*>(knoten) : nullptr;
        if (weg == nullptr && verzweigung == nullptr) continue;
        const auto strom = [&](int a) { return weg != nullptr ? WegStrom(*weg, a) : VerzweigungsStrom(*verzweigung, a); };
        const double kapazitaet = o->Kapazitaet;
        const auto eintragen = [&](int artikel, double s) {
            TEngpass e;
            if (kapazitaet > 0.0) {
                // Als Produkte verglichen: 90 % von 100 ist genau 90, nicht 90.00000000000001.
                if (!(s * 100.0 >= schwelleProzent * kapazitaet)) return;
                e.Auslastung = s * 100.0 / kapazitaet;
            } else {
                // Ohne Kapazität ist jeder Strom am Anschlag (im Diagramm rot).
                if (!(s > 0.0)) return;
                e.Auslastung = std::numeric_limits<double>::infinity();
            }
            e.Objekt = o.get();
            e.Art = weg != nullptr ? TEngpassArt::Weg : TEngpassArt::Verzweigung;
            e.Artikel = artikel;
            e.Strom = s;
            e.Kapazitaet = kapazitaet;
            liste.push_back(e);
        };
        double summe = 0.0;
        for (int a = 0; a < n; ++a) {
            const double s = strom(a);
            summe += s;
            eintragen(a, s);
        }
        if (n > 1) eintragen(SummeArtikel, summe);
    }
    std::stable_sort(liste.begin(), liste.end(),
                     [](const TEngpass& a, const TEngpass& b) { return a.Auslastung > b.Auslastung; });
    return liste;
}

std::string EngpassArtText(TEngpassArt art) { return art == TEngpassArt::Weg ? "Weg" : "Verzweigung"; }

std::string EngpassArtikelText(const TModell& modell, int artikel) {
    if (artikel < 0 || artikel >= modell.AnzahlArtikel()) return "Summe aller Artikel";
    return modell.ArtikelListe[static_cast<size_t>(artikel)];
}

std::string AuslastungText(const TModell& modell, double auslastung) {
    if (std::isinf(auslastung)) return "unendlich";
    return TextAusFloatFest(auslastung, 1, modell.Anzeigetrenner);
}

} // namespace tessomir
