// Zoom, der seinen Ort behält: der Modellpunkt unter dem Zeiger bleibt dort,
// die Mitte, und der Schritt, der das ganze Modell zeigt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TModellBau.h"
#include "view/UZoom.h"

namespace tessomir {
namespace {

using test::TAufzeichnendeFlaeche;
using test::TModellBau;

TEST(Zoom, ModellpunktUnterDemZeigerBleibtAufEinenPixel) {
    TAufzeichnendeFlaeche flaeche;
    TAnsicht ansicht{&flaeche};
    TBildpunkt rollen{0, 0};
    const TBildpunkt zeiger[] = {{0, 0}, {311, 207}, {799, 599}, {1, 598}};
    int schritt = 0;
    // Hinein und hinaus über viele Schritte, mit wechselnden Zeigerorten:
    // der Fehler darf sich nicht aufsummieren.
    for (const int richtung : {1, 1, 1, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 1, -1}) {
        const TBildpunkt z = zeiger[schritt++ % 4];
        const TPunkt unterZeiger = ansicht.Ruecktransformieren(TBildpunkt{rollen.X + z.X, rollen.Y + z.Y});
        const double alt = ansicht.Massstab;
        if (richtung > 0) ansicht.Vergroessern();
        else ansicht.Verkleinern();
        rollen = RollenUmPunkt(rollen, z, alt, ansicht.Massstab);
        const TBildpunkt jetzt = ansicht.Transformieren(unterZeiger);
        EXPECT_LE(std::abs(jetzt.X - rollen.X - z.X), 1) << "Schritt " << schritt;
        EXPECT_LE(std::abs(jetzt.Y - rollen.Y - z.Y), 1) << "Schritt " << schritt;
    }
    // Gleicher Massstab: keine Bewegung.
    EXPECT_EQ(RollenUmPunkt({40, 70}, {5, 9}, 1.2, 1.2), (TBildpunkt{40, 70}));
}

TEST(Zoom, MitteNieVorDemUrsprung) {
    EXPECT_EQ(RollenZurMitte({1000, 800}, {400, 300}), (TBildpunkt{800, 650}));
    EXPECT_EQ(RollenZurMitte({100, 800}, {400, 300}), (TBildpunkt{0, 650}));
    EXPECT_EQ(RollenZurMitte({10, 10}, {401, 301}), (TBildpunkt{0, 0}));
}

// Massstab nach n Schritten ab 1, wie die Ansicht ihn rechnet.
double Schritte(int n) {
    double m = 1.0;
    for (int i = 0; i < n; ++i) m = m * 1.2;
    for (int i = 0; i > n; --i) m = m / 1.2;
    return m;
}

// Eine Potenz von 1,2 bis auf die Rundung der Schritte.
bool IstSchritt(double massstab) {
    const double n = std::log(massstab) / std::log(1.2);
    return std::abs(n - std::round(n)) < 1e-9;
}

TEST(Zoom, GanzesModellWaehltDenGroesstenPassendenSchritt) {
    TAufzeichnendeFlaeche flaeche;
    TModellBau bau;
    bau.Knoten<TQuelle>("Q", {300, -200});
    bau.Knoten<TSenke>("S", {3000, -1500});
    const TBildpunkt fenster{600, 400};
    for (const double start : {1.0, Schritte(-30), Schritte(5)}) {
        TAnsicht ansicht{&flaeche};
        ansicht.Massstab = start;
        const TBildpunkt ecke = GanzesModellZeigen(bau.M(), ansicht, fenster);
        EXPECT_TRUE(IstSchritt(ansicht.Massstab)) << ansicht.Massstab;
        const TBildpunkt ende = Zeichnungsgroesse(bau.M(), ansicht);
        EXPECT_LE(ende.X - ecke.X, fenster.X);
        EXPECT_LE(ende.Y - ecke.Y, fenster.Y);
        // Die Ecke liegt links über der Quelle, die Senke ist im Ausschnitt.
        const TBildpunkt q = ansicht.Transformieren({300, -200});
        EXPECT_LT(ecke.X, q.X);
        EXPECT_LT(ecke.Y, q.Y);
        EXPECT_GT(ecke.X, 0);
        // Ein Schritt mehr passte nicht mehr.
        ansicht.Vergroessern();
        const TBildpunkt groesser = Zeichnungsgroesse(bau.M(), ansicht);
        const TBildpunkt q2 = ansicht.Transformieren({300, -200});
        EXPECT_TRUE(groesser.X - (q2.X - 16) > fenster.X || groesser.Y - (q2.Y - 16) > fenster.Y);
    }
}

TEST(Zoom, GanzesModellZeigtAuchDieNamenLinksUndOben) {
    TAufzeichnendeFlaeche flaeche; // 8 Punkte je Zeichen, Zeilen 13 hoch
    TModellBau bau;
    bau.M().QuellenBeschr = true;
    auto& q = bau.Knoten<TQuelle>("Eine sehr lange Quelle", {300, -200});
    bau.Knoten<TSenke>("S", {1300, -900});
    TAnsicht ansicht{&flaeche};
    const TBildpunkt ecke = GanzesModellZeigen(bau.M(), ansicht, {800, 600});
    const TBildpunkt p = ansicht.Transformieren(q.Refpunkt);
    const int32_t breite = 8 * static_cast<int32_t>(q.Name.size());
    // Der Name beginnt ein Viertel seiner Breite links vom Knoten und steht über dem Symbol.
    EXPECT_LE(ecke.X, p.X - (breite + 1) / 4);
    EXPECT_LE(ecke.Y, p.Y - Runden(3 * bau.M().SymbolGroesse / 2.0) - (13 * 4) / 3);
    // Ohne Namen darf die Ecke näher am Knoten liegen.
    bau.M().QuellenBeschr = false;
    TAnsicht ohne{&flaeche};
    const TBildpunkt ohneNamen = GanzesModellZeigen(bau.M(), ohne, {800, 600});
    const TBildpunkt p2 = ohne.Transformieren(q.Refpunkt);
    EXPECT_GT(ohneNamen.X, p2.X - (breite + 1) / 4);
}

TEST(Zoom, GanzesModellOhneKnotenUndMitEinem) {
    TAufzeichnendeFlaeche flaeche;
    TModellBau bau;
    TAnsicht ansicht{&flaeche};
    ansicht.Massstab = 1.2;
    EXPECT_EQ(GanzesModellZeigen(bau.M(), ansicht, {600, 400}), (TBildpunkt{0, 0}));
    EXPECT_EQ(ansicht.Massstab, 1.2);
    // Ein einzelner Knoten passte immer: höchstens Massstab 8.
    bau.Knoten<TQuelle>("Q", {50, -50});
    GanzesModellZeigen(bau.M(), ansicht, {600, 400});
    EXPECT_LE(ansicht.Massstab, 8.0);
    EXPECT_GT(ansicht.Massstab * 1.2, 8.0);
    // Ein Fenster, in das nichts passt: 300 Schritte hinaus, dann Schluss.
    ansicht.Massstab = 1.0;
    GanzesModellZeigen(bau.M(), ansicht, {1, 1});
    EXPECT_EQ(ansicht.Massstab, Schritte(-300));
}

} // namespace
} // namespace tessomir
