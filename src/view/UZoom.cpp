#include "view/UZoom.h"

#include <algorithm>
#include <cmath>

#include "base/UFehler.h"
#include "base/UText.h"
#include "model/UKnoten.h"

namespace tessomir {
namespace {

constexpr int HoechstensSchritte = 300;
// Weiter hinein zoomt "Ganzes Modell" nicht: ein einzelner Knoten passte bei
// jedem Massstab und stünde sonst riesig vergrößert allein im Fenster.
constexpr double HoechsterMassstab = 8.0;

int32_t Begrenzt(double wert) {
    return static_cast<int32_t>(std::clamp(std::nearbyint(wert), -2147483648.0, 2147483647.0));
}

struct TBereich {
    int64_t Links, Oben, Rechts, Unten;
};

// Linke obere Ecke aus den Knotenorten mit dem Rand der Symbole und ihrer
// Namen, rechte untere wie für den Rollbereich; ERangeError, wenn ein Ort
// nicht in 32 Bit passt.
TBereich Zeichnungsbereich(const TModell& modell, TAnsicht& ansicht) {
    const int64_t halb = Runden(ansicht.Schriftfaktor() * 3 * modell.SymbolGroesse / 2.0);
    const int64_t symbol = halb + 10;
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    z.SchriftSetzen(modell.Schrift);
    const int64_t zeile = z.TextAusmass("HgH").Hoehe;
    int64_t links = INT64_MAX, oben = INT64_MAX;
    for (const TKnoten* k : modell.FOListe.Knoten()) {
        const TBildpunkt p = ansicht.Transformieren(k->Refpunkt);
        links = std::min<int64_t>(links, p.X - symbol);
        oben = std::min<int64_t>(oben, p.Y - symbol);
        // Namen stehen über dem Symbol und ragen um ein Viertel ihrer Breite nach links.
        if (KnotenBeschriftet(*k)) {
            std::string puffer;
            const int64_t breite = z.TextAusmass(Beschriftung(k->Name, puffer)).Breite;
            links = std::min<int64_t>(links, p.X - (breite + 1) / 4 - 2);
            oben = std::min<int64_t>(oben, p.Y - halb - (zeile * 4) / 3 - 2);
        }
    }
    const TBildpunkt ende = Zeichnungsgroesse(modell, ansicht);
    return {std::max<int64_t>(links, 0), std::max<int64_t>(oben, 0), ende.X, ende.Y};
}

bool Passt(const TModell& modell, TAnsicht& ansicht, TBildpunkt fenster, TBildpunkt* ecke) {
    try {
        const TBereich b = Zeichnungsbereich(modell, ansicht);
        if (ecke != nullptr) *ecke = TBildpunkt{static_cast<int32_t>(b.Links), static_cast<int32_t>(b.Oben)};
        return b.Rechts - b.Links <= fenster.X && b.Unten - b.Oben <= fenster.Y;
    } catch (const EFehler&) {
        return false;
    }
}

} // namespace

TBildpunkt RollenUmPunkt(TBildpunkt rollen, TBildpunkt zeiger, double alterMassstab, double neuerMassstab) {
    if (std::abs(alterMassstab) <= 1e-20) return rollen;
    const double faktor = neuerMassstab / alterMassstab;
    return TBildpunkt{Begrenzt((static_cast<double>(rollen.X) + zeiger.X) * faktor - zeiger.X),
                      Begrenzt((static_cast<double>(rollen.Y) + zeiger.Y) * faktor - zeiger.Y)};
}

TBildpunkt RollenZurMitte(TBildpunkt mitte, TBildpunkt fenster) {
    return TBildpunkt{std::max(0, Begrenzt(static_cast<double>(mitte.X) - fenster.X / 2)),
                      std::max(0, Begrenzt(static_cast<double>(mitte.Y) - fenster.Y / 2))};
}

TBildpunkt GanzesModellZeigen(const TModell& modell, TAnsicht& ansicht, TBildpunkt fenster) {
    if (modell.FOListe.Knoten().empty()) return TBildpunkt{0, 0};
    int schritte = 0;
    if (!Passt(modell, ansicht, fenster, nullptr)) {
        while (schritte++ < HoechstensSchritte) {
            ansicht.Verkleinern();
            if (Passt(modell, ansicht, fenster, nullptr)) break;
        }
    } else {
        while (schritte++ < HoechstensSchritte) {
            // Zurück auf den gemerkten Wert statt Verkleinern: kein Rundungsfehler.
            const double vorher = ansicht.Massstab;
            if (vorher * 1.2 > HoechsterMassstab) break;
            ansicht.Vergroessern();
            if (!Passt(modell, ansicht, fenster, nullptr)) {
                ansicht.Massstab = vorher;
                break;
            }
        }
    }
    TBildpunkt ecke{0, 0};
    Passt(modell, ansicht, fenster, &ecke);
    return ecke;
}

} // namespace tessomir
