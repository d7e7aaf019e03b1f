#include "view/UDruck.h"

#include <algorithm>

#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"
#include "view/USankey.h"

namespace tessomir {

const char* const FussTextLinks = "Tessomir \x96 Materialflussnetze berechnen";
const char* const FussTextRechts = "Belcorra Software \xB7 tessomir@belcorra.de";

namespace {

// Setzt die Ansicht auf jedem Weg hinaus auf den Bildschirm zurück.
class TDruckSchutz {
public:
    explicit TDruckSchutz(TAnsicht& ansicht) : Ansicht(ansicht), Bildschirm(ansicht.Zeichenflaeche) {}
    ~TDruckSchutz() {
        Ansicht.Zeichenflaeche = Bildschirm;
        Ansicht.DruckModus = false;
    }
    TDruckSchutz(const TDruckSchutz&) = delete;
    TDruckSchutz& operator=(const TDruckSchutz&) = delete;

private:
    TAnsicht& Ansicht;
    IZeichenflaeche* Bildschirm;
};

// Punktgröße als Zeichenhöhe in Gerätepunkten, gerundet wie MulDiv.
int32_t PunktePixel(int32_t punkte, int32_t punkteJeZoll) {
    return static_cast<int32_t>((static_cast<int64_t>(punkte) * punkteJeZoll + 36) / 72);
}

// Arial in der Größe, ohne Stil, schwarz; Zeichensatz und Teilung bleiben von
// der Zeichnung. Die Farbe nicht: sonst trügen Fuß und spätere Köpfe die Farbe
// des zuletzt gezeichneten Textes (etwa das Blau einer Verzweigungsanzeige).
void RandSchriftSetzen(IZeichenflaeche& z, int32_t punkte, int32_t punkteJeZoll) {
    TSchrift s = z.Schrift();
    s.Name = "Arial";
    s.Farbe = FarbwertAusFarbe(Schwarz);
    s.Hoehe = -PunktePixel(punkte, punkteJeZoll);
    s.Stil = 0;
    z.SchriftSetzen(s);
}

void Linie(IZeichenflaeche& z, int32_t links, int32_t rechts, int32_t y) {
    z.BewegeZu(links, y);
    z.LinieZu(rechts, y);
}

// Texte auf weißem Grund, Linien schwarz; die Farben der Zeichnung bleiben.
class TRandFarben {
public:
    explicit TRandFarben(IZeichenflaeche& z) : Z(z), Stift(z.Stiftfarbe()), Pinsel(z.Pinselfarbe()) {
        Z.StiftfarbeSetzen(Schwarz);
        Z.PinselfarbeSetzen(Weiss);
    }
    ~TRandFarben() {
        Z.StiftfarbeSetzen(Stift);
        Z.PinselfarbeSetzen(Pinsel);
    }
    TRandFarben(const TRandFarben&) = delete;
    TRandFarben& operator=(const TRandFarben&) = delete;

private:
    IZeichenflaeche& Z;
    TFarbe Stift;
    TFarbe Pinsel;
};

bool HatKnoten(const TModell& modell) {
    for (const auto& o : modell.FOListe.Alle()) {
        if (o->AlsKnoten() != nullptr) return true;
    }
    return false;
}

} // namespace

int32_t SeitenEinteilen(TAnsicht& ansicht, const TPunkt& ausdehnung, int32_t breite, int32_t hoehe) {
    const int32_t m = breite / 15;
    ansicht.RandLinks = m;
    ansicht.RandOben = m;
    ansicht.RandUnten = m;
    ansicht.SeitenBreite = breite - 2 * m;
    ansicht.SeitenHoehe = hoehe - ansicht.RandOben - ansicht.RandUnten;
    ansicht.SeiteX = 0;
    ansicht.SeiteY = 0;
    if (ansicht.SeitenBreite <= 0 || ansicht.SeitenHoehe <= 0) {
        throw ERangeError("Die Druckseite ist zu klein (" + std::to_string(breite) + " x " + std::to_string(hoehe) +
                          " Punkte)");
    }
    const TBildpunkt d = ansicht.Transformieren(TPunkt{1.02 * ausdehnung.X, 1.02 * ausdehnung.Y});
    ansicht.SeitenQuer = d.X / ansicht.SeitenBreite + 1;
    ansicht.SeitenHoch = d.Y / ansicht.SeitenHoehe + 1;
    const int64_t seiten = static_cast<int64_t>(ansicht.SeitenQuer) * ansicht.SeitenHoch;
    if (ansicht.SeitenQuer < 1 || ansicht.SeitenHoch < 1 || seiten > 2147483647) {
        throw ERangeError("Die Zeichnung l\xE4sst sich bei diesem Massstab nicht auf Seiten aufteilen");
    }
    return static_cast<int32_t>(seiten);
}

void SeiteWaehlen(TAnsicht& ansicht, int32_t n) {
    ansicht.Seite = n;
    ansicht.SeiteX = ((n - 1) % ansicht.SeitenQuer) * ansicht.SeitenBreite;
    ansicht.SeiteY = ((n - 1) / ansicht.SeitenQuer) * ansicht.SeitenHoehe;
}

std::string AuftragsTitel(const TModell* modell) {
    if (modell == nullptr) return "Tessomir";
    return "Tessomir " + DateinameFuerAnzeige(modell->DateiName);
}

std::string KopfTitel(const TModell* modell) {
    if (modell == nullptr) return "Tessomir ";
    std::string name = DateinameFuerAnzeige(modell->DateiName);
    const size_t punkt = name.rfind('.');
    if (punkt != std::string::npos) name.erase(punkt);
    return "Tessomir " + name;
}

void KopfZeichnen(TAnsicht& ansicht, const TModell* modell, int32_t punkteJeZoll) {
    if (!ansicht.DruckModus) return;
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    const TRandFarben farben(z);
    RandSchriftSetzen(z, 12, punkteJeZoll);
    const int32_t th = z.TextAusmass("H").Hoehe;
    const int32_t xL = ansicht.RandLinks;
    const int32_t xR = ansicht.RandLinks + ansicht.SeitenBreite;
    const int32_t y0 = ansicht.RandOben;
    z.TextAusgeben(xL, y0 - (3 * th) / 2, KopfTitel(modell));
    const std::string seite = "Seite " + std::to_string(ansicht.Seite) + "/" +
                              std::to_string(static_cast<int64_t>(ansicht.SeitenQuer) * ansicht.SeitenHoch);
    z.TextAusgeben(xR - z.TextAusmass(seite).Breite, y0 - (3 * th) / 2, seite);
    Linie(z, xL, xR, y0 - 2 * th);
    Linie(z, xL, xR, y0);
}

void FussZeichnen(TAnsicht& ansicht, int32_t punkteJeZoll) {
    if (!ansicht.DruckModus) return;
    IZeichenflaeche& z = *ansicht.Zeichenflaeche;
    const TRandFarben farben(z);
    RandSchriftSetzen(z, 8, punkteJeZoll);
    const int32_t th = z.TextAusmass("H").Hoehe;
    const int32_t xL = ansicht.RandLinks;
    const int32_t xR = ansicht.RandLinks + ansicht.SeitenBreite;
    const int32_t y1 = ansicht.SeitenHoehe + ansicht.RandOben;
    z.TextAusgeben(xL, y1 + th / 2, FussTextLinks);
    z.TextAusgeben(xR - z.TextAusmass(FussTextRechts).Breite, y1 + th / 2, FussTextRechts);
    Linie(z, xL, xR, y1);
    Linie(z, xL, xR, y1 + 2 * th);
}

void DruckClipSetzen(TAnsicht& ansicht) {
    if (!ansicht.DruckModus) return;
    ansicht.Zeichenflaeche->ClipSetzen(TRechteck{ansicht.RandLinks, ansicht.RandOben,
                                                 ansicht.RandLinks + ansicht.SeitenBreite,
                                                 ansicht.RandOben + ansicht.SeitenHoehe});
}

void DruckClipAufheben(TAnsicht& ansicht) {
    if (ansicht.DruckModus) ansicht.Zeichenflaeche->ClipAufheben();
}

void ModellDrucken(const TModell* modell, TAnsicht& ansicht, IDrucker& drucker, bool alle, int32_t von, int32_t bis) {
    const TDruckSchutz schutz(ansicht);
    // Der Titel zuerst: manche Drucker nehmen ihn nur vor dem ersten Strich an.
    drucker.AuftragsTitelSetzen(AuftragsTitel(modell));
    const TSchrift schrift = modell != nullptr ? modell->Schrift : TSchrift{};
    ansicht.SchriftMessen(schrift, true);
    ansicht.Zeichenflaeche = &drucker.Zeichenflaeche();
    ansicht.DruckModus = true;
    ansicht.SchriftMessen(schrift, false);
    // Ohne Knoten gibt es keine Ausdehnung; eine Seite mit Kopf und Fuß.
    const bool zeichnen = modell != nullptr && HatKnoten(*modell);
    const TPunkt ausdehnung = zeichnen ? modell->Ausdehnung() : TPunkt{0.0, 0.0};
    const int32_t anzahl = SeitenEinteilen(ansicht, ausdehnung, drucker.Seitenbreite(), drucker.Seitenhoehe());
    const int32_t erste = alle ? 1 : von;
    const int32_t letzte = alle ? anzahl : std::min(bis, anzahl);
    drucker.DokumentBeginnen();
    for (int32_t n = erste; n <= letzte; ++n) {
        SeiteWaehlen(ansicht, n);
        KopfZeichnen(ansicht, modell, drucker.PunkteJeZoll());
        DruckClipSetzen(ansicht);
        if (zeichnen) ModellZeichnen(*modell, ansicht);
        // Die Legende der Bänder auf jeder Seite unten links.
        if (zeichnen && ansicht.Sankey) {
            const int32_t rand = Runden(6 * ansicht.Schriftfaktor());
            SankeyLegende(*modell, ansicht,
                          TBildpunkt{ansicht.RandLinks + rand, ansicht.RandOben + ansicht.SeitenHoehe - rand});
        }
        DruckClipAufheben(ansicht);
        FussZeichnen(ansicht, drucker.PunkteJeZoll());
        if (n < letzte) drucker.NeueSeite();
    }
    drucker.DokumentBeenden();
}

} // namespace tessomir
