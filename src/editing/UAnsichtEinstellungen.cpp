#include "editing/UAnsichtEinstellungen.h"

#include <algorithm>
#include <cmath>

#include "base/UFehler.h"
#include "base/UPlattform.h"
#include "editing/USchritte.h"

namespace tessomir {

int TBereich::Begrenzt(long long wert) const { return static_cast<int>(std::clamp<long long>(wert, Min, Max)); }

TAnsichtWerte EinstellungenLaden(const TModell& modell) {
    TAnsichtWerte w;
    w.QuellenBeschr = modell.QuellenBeschr;
    w.SenkenBeschr = modell.SenkenBeschr;
    w.VerzweigBeschr = modell.VerzweigBeschr;
    w.WandlerBeschr = modell.WandlerBeschr;
    w.WegeBeschr = modell.WegeBeschr;
    w.Schrift = modell.Schrift;
    w.SymbolGroesse = SymbolGroesseBereich.Begrenzt(modell.SymbolGroesse);
    w.ProzStellen = ProzStellenBereich.Begrenzt(modell.ProzStellen);
    w.StromGroesse = StromGroesseBereich.Begrenzt(modell.StromGroesse);
    w.StromStellen = StromStellenBereich.Begrenzt(modell.StromStellen);
    w.MaxStromIndex = modell.MaxStromBer ? MaxStromBerechnetIndex : MaxStromEingegebenIndex;
    if (modell.MaxStrom > 0) w.MaxStromText = modell.WertText(modell.MaxStrom);
    w.Stromanzeige = StromanzeigeBereich.Begrenzt(modell.Stromanzeige);
    // Ganze Sekunden, abgeschnitten: 1500 ms zeigt 1 s.
    w.MaxDauerSekunden = MaxDauerBereich.Begrenzt(modell.MaxBerDauer / 1000);
    return w;
}

std::string EinstellungenFehler(const TAnsichtWerte& werte, char trenner) {
    if (werte.MaxStromIndex != MaxStromEingegebenIndex) return {};
    const std::optional<double> wert = ZahlAusEingabe(werte.MaxStromText, trenner);
    if (wert && std::isfinite(*wert) && *wert > 0) return {};
    return MaxStromUngueltig;
}

void EinstellungenUebernehmen(TModell& modell, const TAnsichtWerte& werte, char trenner, TVerlauf* verlauf) {
    // Erst alles berechnen, was scheitern kann, dann als ein Schritt schreiben:
    // das Modell bleibt bei einem Fehler, wie es war.
    double maxStrom = modell.MaxStrom;
    const bool eingegeben = werte.MaxStromIndex == MaxStromEingegebenIndex;
    if (eingegeben) {
        const std::optional<double> wert = ZahlAusEingabe(werte.MaxStromText, trenner);
        if (!wert) throw EConvertError("'" + werte.MaxStromText + "' ist kein g\xFC" "ltiger Gleitkommawert");
        maxStrom = *wert;
    }
    const TModellEinstellungen alt = TModellEinstellungen::Aus(modell);
    TModellEinstellungen neu = alt;
    neu.QuellenBeschr = werte.QuellenBeschr;
    neu.SenkenBeschr = werte.SenkenBeschr;
    neu.VerzweigBeschr = werte.VerzweigBeschr;
    neu.WandlerBeschr = werte.WandlerBeschr;
    neu.WegeBeschr = werte.WegeBeschr;
    neu.Schrift = werte.Schrift;
    neu.SymbolGroesse = SymbolGroesseBereich.Begrenzt(werte.SymbolGroesse);
    neu.StromGroesse = StromGroesseBereich.Begrenzt(werte.StromGroesse);
    neu.ProzStellen = ProzStellenBereich.Begrenzt(werte.ProzStellen);
    neu.StromStellen = StromStellenBereich.Begrenzt(werte.StromStellen);
    neu.MaxStromBer = !eingegeben;
    neu.MaxStrom = maxStrom;
    neu.Stromanzeige = StromanzeigeBereich.Begrenzt(werte.Stromanzeige);
    neu.MaxBerDauer = static_cast<uint32_t>(MaxDauerBereich.Begrenzt(werte.MaxDauerSekunden)) * 1000u;
    Ausfuehren(modell, verlauf, EinstellungenSchritt(alt, std::move(neu)));
}

} // namespace tessomir
