// Verteilungsmatrix: Anfangswerte, Wachsen und Schrumpfen je Dimension,
// Zeilentexte und Kopie.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "gemeinsam/TAufzeichnung.h"
#include "model/UDyn3DMatrix.h"
#include "base/UFehler.h"

using namespace tessomir;
using tessomir::test::TAufzeichnung;
using tessomir::test::TMeldung;

namespace {

// Alle Werte in der Reihenfolge (a, b, c), c am schnellsten.
std::vector<double> Werte(const TDyn3DMatrix& m) {
    std::vector<double> w;
    for (int a = 0; a < m.Dim1(); ++a)
        for (int b = 0; b < m.Dim2(); ++b)
            for (int c = 0; c < m.Dim3(); ++c) w.push_back(*m.Zelle(a, b, c));
    return w;
}

void Groessen(const TDyn3DMatrix& m, int d1, int d2, int d3) {
    EXPECT_EQ(m.Dim1(), d1);
    EXPECT_EQ(m.Dim2(), d2);
    EXPECT_EQ(m.Dim3(), d3);
}

} // namespace

TEST(Dyn3DMatrix, AnfangswerteAusDenIndizes) {
    TAufzeichnung rec;
    const TDyn3DMatrix m311(3, 1, 1);
    Groessen(m311, 3, 1, 1);
    EXPECT_EQ(Werte(m311), (std::vector<double>{0, 100, 200}));
    const TDyn3DMatrix m123(1, 2, 3);
    EXPECT_EQ(Werte(m123), (std::vector<double>{0, 1, 2, 10, 11, 12}));
    const TDyn3DMatrix m222(2, 2, 2);
    EXPECT_EQ(Werte(m222), (std::vector<double>{0, 1, 10, 11, 100, 101, 110, 111}));
    EXPECT_TRUE(rec.Meldungen.empty());
}

TEST(Dyn3DMatrix, GroessenUnterEinsWerfen) {
    TAufzeichnung rec;
    for (const auto& [d1, d2, d3] : {std::tuple{0, 2, 2}, {2, 0, 2}, {2, 2, 0}, {-3, 0, 0}}) {
        try {
            const TDyn3DMatrix m(d1, d2, d3);
            ADD_FAILURE() << d1 << " " << d2 << " " << d3;
        } catch (const ERangeError& e) {
            EXPECT_STREQ(e.what(), "Dim kleiner 1");
        }
    }
    EXPECT_TRUE(rec.Meldungen.empty());
}

TEST(Dyn3DMatrix, ErweiternHaengtNullenAn) {
    TAufzeichnung rec;
    TDyn3DMatrix m(2, 1, 3);
    m.Erweitern(2);
    Groessen(m, 2, 2, 3);
    EXPECT_EQ(Werte(m), (std::vector<double>{0, 1, 2, 0, 0, 0, 100, 101, 102, 0, 0, 0}));

    m.Erweitern(3);
    Groessen(m, 2, 2, 4);
    EXPECT_EQ(Werte(m), (std::vector<double>{0, 1, 2, 0, 0, 0, 0, 0, 100, 101, 102, 0, 0, 0, 0, 0}));

    TDyn3DMatrix n(1, 2, 2);
    n.Erweitern(1);
    Groessen(n, 2, 2, 2);
    EXPECT_EQ(Werte(n), (std::vector<double>{0, 1, 10, 11, 0, 0, 0, 0}));
}

TEST(Dyn3DMatrix, ErweiternMitUnbekannterDimensionTutNichts) {
    TAufzeichnung rec;
    TDyn3DMatrix m(1, 2, 2);
    m.Erweitern(0);
    m.Erweitern(4);
    m.Erweitern(-1);
    Groessen(m, 1, 2, 2);
    EXPECT_EQ(Werte(m), (std::vector<double>{0, 1, 10, 11}));
}

TEST(Dyn3DMatrix, IndexEntfernenSchiebtSpaetereNach) {
    TAufzeichnung rec;
    TDyn3DMatrix m(1, 1, 2);
    m.IndexEntfernen(3, 0);
    Groessen(m, 1, 1, 1);
    EXPECT_EQ(Werte(m), (std::vector<double>{1}));

    TDyn3DMatrix n(2, 3, 2);
    n.IndexEntfernen(2, 1);
    Groessen(n, 2, 2, 2);
    EXPECT_EQ(Werte(n), (std::vector<double>{0, 1, 20, 21, 100, 101, 120, 121}));

    TDyn3DMatrix d(3, 1, 2);
    d.IndexEntfernen(1, 0);
    Groessen(d, 2, 1, 2);
    EXPECT_EQ(Werte(d), (std::vector<double>{100, 101, 200, 201}));
    d.IndexEntfernen(1, 1);
    EXPECT_EQ(Werte(d), (std::vector<double>{100, 101}));
}

TEST(Dyn3DMatrix, IndexEntfernenNieUnterEinsUndNurVorhandeneIndizes) {
    TAufzeichnung rec;
    TDyn3DMatrix m(1, 1, 1);
    m.IndexEntfernen(3, 0);
    m.IndexEntfernen(2, 0);
    m.IndexEntfernen(1, 0);
    Groessen(m, 1, 1, 1);

    TDyn3DMatrix n(3, 1, 1);
    n.IndexEntfernen(1, 5);
    n.IndexEntfernen(1, 3);
    n.IndexEntfernen(2, 0);
    n.IndexEntfernen(4, 0);
    Groessen(n, 3, 1, 1);
    EXPECT_EQ(Werte(n), (std::vector<double>{0, 100, 200}));
}

TEST(Dyn3DMatrix, ZelleAusserhalbIstKeine) {
    TAufzeichnung rec;
    TDyn3DMatrix m(2, 3, 4);
    EXPECT_NE(m.Zelle(1, 2, 3), nullptr);
    EXPECT_EQ(*m.Zelle(1, 2, 3), 123);
    EXPECT_EQ(m.Zelle(2, 0, 0), nullptr);
    EXPECT_EQ(m.Zelle(0, 3, 0), nullptr);
    EXPECT_EQ(m.Zelle(0, 0, 4), nullptr);

    m.ZelleSetzen(1, 2, 3, -7.5);
    EXPECT_EQ(*m.Zelle(1, 2, 3), -7.5);
    const std::vector<double> vorher = Werte(m);
    m.ZelleSetzen(2, 0, 0, 99);
    m.ZelleSetzen(0, 3, 0, 99);
    m.ZelleSetzen(0, 0, 4, 99);
    EXPECT_EQ(Werte(m), vorher);
}

TEST(Dyn3DMatrix, AlleSetzen) {
    TAufzeichnung rec;
    TDyn3DMatrix m(2, 2, 3);
    m.AlleSetzen(0.5);
    EXPECT_EQ(Werte(m), std::vector<double>(12, 0.5));
}

TEST(Dyn3DMatrix, ZeilensummeOhneIndexNull) {
    TAufzeichnung rec;
    TDyn3DMatrix m(1, 1, 3);
    m.ZelleSetzen(0, 0, 0, 7);
    m.ZelleSetzen(0, 0, 1, 20);
    m.ZelleSetzen(0, 0, 2, 30);
    EXPECT_EQ(m.Zeilensumme(0, 0, m.Dim3()), 50);
    EXPECT_EQ(m.Zeilensumme(0, 0, 2), 20);
    EXPECT_EQ(m.Zeilensumme(0, 0, 1), 0);
    EXPECT_EQ(m.Zeilensumme(0, 0, 0), 0);
}

TEST(Dyn3DMatrix, DimText) {
    TAufzeichnung rec;
    EXPECT_EQ(TDyn3DMatrix(2, 3, 4).DimText(), "2 / 3 / 4");
    EXPECT_EQ(TDyn3DMatrix(12, 1, 1).DimText(), "12 / 1 / 1");
}

TEST(Dyn3DMatrix, ZeilenTextUndZurueck) {
    TAufzeichnung rec;
    TDyn3DMatrix m(2, 1, 3);
    m.ZelleSetzen(1, 0, 0, 100);
    m.ZelleSetzen(1, 0, 1, 0.5);
    m.ZelleSetzen(1, 0, 2, 0);
    EXPECT_EQ(m.ZeilenText(1, 0), "100 / 0.5 / 0");
    EXPECT_EQ(m.ZeilenText(1, 0, ','), "100 / 0,5 / 0");
    m.ZelleSetzen(0, 0, 1, 1.0 / 3.0);
    m.ZelleSetzen(0, 0, 2, -1e-7);
    EXPECT_EQ(m.ZeilenText(0, 0), "0 / 0.333333333333333 / -1E-7");

    TDyn3DMatrix n(2, 1, 3);
    n.ZeilenTextLesen(1, 0, m.ZeilenText(1, 0));
    EXPECT_EQ(n.ZeilenText(1, 0), "100 / 0.5 / 0");
    EXPECT_EQ(*n.Zelle(1, 0, 1), 0.5);
    n.ZeilenTextLesen(0, 0, "1,25 / 2 / -3", ',');
    EXPECT_EQ(*n.Zelle(0, 0, 0), 1.25);
    EXPECT_EQ(*n.Zelle(0, 0, 2), -3);
}

TEST(Dyn3DMatrix, ZeilenTextLesenUebergehtUeberzaehligeUndWirftBeiFehlenden) {
    TAufzeichnung rec;
    TDyn3DMatrix m(1, 1, 2);
    m.ZeilenTextLesen(0, 0, "4 / 5 / 6 / 7");
    EXPECT_EQ(Werte(m), (std::vector<double>{4, 5}));
    EXPECT_THROW(m.ZeilenTextLesen(0, 0, "8"), EConvertError);
    EXPECT_THROW(m.ZeilenTextLesen(0, 0, "8 / x"), EConvertError);
    EXPECT_THROW(m.ZeilenTextLesen(0, 0, ""), EConvertError);
}

TEST(Dyn3DMatrix, KopieIstUnabhaengig) {
    TAufzeichnung rec;
    TDyn3DMatrix m(2, 2, 2);
    auto k = m.Kopie();
    Groessen(*k, 2, 2, 2);
    EXPECT_EQ(Werte(*k), Werte(m));
    k->ZelleSetzen(1, 1, 1, -1);
    k->Erweitern(3);
    EXPECT_EQ(*m.Zelle(1, 1, 1), 111);
    Groessen(m, 2, 2, 2);
    m.ZelleSetzen(0, 0, 0, 42);
    EXPECT_EQ(*k->Zelle(0, 0, 0), 0);
}

// Matrizen aus einem Vorrat liegen hintereinander, überleben ihn, verhalten
// sich bei Kopie, Verschieben und Umformen wie Heap-Matrizen, und der letzte
// Nutzer gibt den Block frei.
TEST(Dyn3DMatrix, ZellenAusDemVorrat) {
    TAufzeichnung rec;
    const size_t vorher = TZellvorrat::BelegteBytesGesamt();
    std::vector<TDyn3DMatrix> matrizen;
    {
        TZellvorrat vorrat;
        matrizen.emplace_back(2, 3, 3, &vorrat);
        matrizen.emplace_back(3, 1, 1, &vorrat);
        // Zu groß für den Vorrat: vom Heap, ohne den Block anzufassen.
        const size_t belegt = TZellvorrat::BelegteBytesGesamt();
        TDyn3DMatrix gross(1, 1024, 1024, &vorrat);
        EXPECT_EQ(TZellvorrat::BelegteBytesGesamt(), belegt);
    }
    EXPECT_EQ(TZellvorrat::BelegteBytesGesamt(), vorher + 18 * 8 + 3 * 8 + 8);
    EXPECT_EQ(matrizen[1].Daten(), matrizen[0].Daten() + 18);
    const TDyn3DMatrix heap(2, 3, 3);
    EXPECT_EQ(Werte(matrizen[0]), Werte(heap));

    TDyn3DMatrix kopie = matrizen[0];
    TDyn3DMatrix verschoben = std::move(matrizen[0]);
    EXPECT_EQ(Werte(kopie), Werte(heap));
    EXPECT_EQ(Werte(verschoben), Werte(heap));
    verschoben.IndexEntfernen(2, 1);
    TDyn3DMatrix erwartet = heap;
    erwartet.IndexEntfernen(2, 1);
    EXPECT_EQ(Werte(verschoben), Werte(erwartet));
    matrizen[1].Erweitern(1);
    EXPECT_EQ(Werte(matrizen[1]), (std::vector<double>{0, 100, 200, 0}));
    // Umgeformt liegen beide auf dem Heap: der Block hat keinen Nutzer mehr.
    EXPECT_EQ(TZellvorrat::BelegteBytesGesamt(), vorher);
}
