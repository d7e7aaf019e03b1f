// Hinweis am Zeiger: der Index trifft, was ein Klick träfe (Knoten vor Wegen),
// ohne unter übereinanderliegenden Wegen weiterzuschalten.
#include <gtest/gtest.h>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TModellBau.h"
#include "view/UDarstellung.h"
#include "view/UTrefferindex.h"

namespace tessomir {
namespace {

using test::TAufzeichnendeFlaeche;
using test::TModellBau;

TEST(Trefferindex, TrifftWieDerKlickOhneWeiterzuschalten) {
    TAufzeichnendeFlaeche flaeche;
    TModellBau bau;
    auto& a = bau.Knoten<TQuelle>("A", {20, -20});
    auto& b = bau.Knoten<TVerzweigung>("B", {120, -20});
    auto& c = bau.Knoten<TSenke>("C", {120, -90});
    TWeg& ab = bau.Weg(a, b);
    TWeg& ab2 = bau.Weg(a, b); // liegt genau auf dem ersten
    bau.Weg(b, c);
    // Ein Weg ohne Ziel wird nie getroffen.
    auto lose = std::make_unique<TWeg>(bau.M());
    lose->SetStart(&c);
    bau.M().FOListe.Hinzufuegen(std::move(lose), false);

    for (const double massstab : {1.0, 1.2 * 1.2, 1 / 1.2}) {
        TAnsicht ansicht{&flaeche};
        ansicht.Massstab = massstab;
        TTrefferindex index;
        index.Aufbauen(bau.M().FOListe);
        ASSERT_TRUE(index.Gebaut());
        // Auf einem Raster über das ganze Modell: wo der Klick einen Knoten
        // trifft, trifft der Index ihn auch; wo Wege, einen davon; sonst nichts.
        for (int x = -10; x < 200; x += 3)
            for (int y = -10; y < 140; y += 3) {
                ansicht.Trefferpunkt = TBildpunkt{x, y};
                const int zyklus = bau.M().FOListe.WegZyklus;
                const TFO* hinweis = index.ObjektUnter(ansicht);
                EXPECT_EQ(bau.M().FOListe.WegZyklus, zyklus);
                const TFO* klick = FindeObjekt(bau.M().FOListe, ansicht);
                if (klick == nullptr || klick->AlsKnoten() != nullptr) {
                    EXPECT_EQ(hinweis, klick) << x << "/" << y;
                } else {
                    ASSERT_NE(hinweis, nullptr) << x << "/" << y;
                    EXPECT_NE(hinweis->AlsWeg(), nullptr);
                    EXPECT_TRUE(IstGetroffen(*hinweis, ansicht));
                }
            }
        // Über den beiden gleichen Wegen: immer der erste der Liste.
        const TBildpunkt mitte = ansicht.Transformieren({70, -20});
        ansicht.Trefferpunkt = mitte;
        const TFO* erster = nullptr;
        for (const auto& o : bau.M().FOListe.Alle())
            if (erster == nullptr && (o.get() == &ab || o.get() == &ab2)) erster = o.get();
        EXPECT_EQ(index.ObjektUnter(ansicht), erster);
        EXPECT_EQ(index.ObjektUnter(ansicht), erster);
    }
    TTrefferindex leer;
    TAnsicht ansicht{&flaeche};
    EXPECT_EQ(leer.ObjektUnter(ansicht), nullptr);
}

} // namespace
} // namespace tessomir
