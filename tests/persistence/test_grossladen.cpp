// Große Dateien: Text in einem Puffer aus großen Seiten, Matrixzellen aus
// dem Vorrat des Ladens; das Ergebnis ist dasselbe wie auf dem Heap.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstring>

#include <sys/resource.h>

#include "TDateiHilfe.h"
#include "analysis/UBerechnung.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"

namespace tessomir::test {
namespace {

// Der Puffer behält beim Wachsen seinen Inhalt, ob abgebildet oder vom Heap.
TEST(TextPuffer, WachsenBehaeltDenInhaltAufBeidenWegen) {
    for (const size_t abbildenAb : {size_t{0}, SIZE_MAX}) {
        TTextPuffer p(abbildenAb);
        p.Reservieren(100);
        std::memcpy(p.Daten(), "Klasse", 6);
        p.GroesseSetzen(6);
        p.Reservieren(size_t{3} << 20);
        EXPECT_EQ(p.Abgebildet(), abbildenAb == 0);
        EXPECT_GE(p.Kapazitaet(), size_t{3} << 20);
        p.Daten()[p.Kapazitaet() - 1] = 'x'; // der ganze Platz ist beschreibbar
        EXPECT_EQ(p.Text(), "Klasse");
    }
}

class GrossLaden : public ::testing::Test {
protected:
    TAufzeichnung Platt;
    TTempOrdner Ordner;
};

// Über der Schwelle des Vorrats: Laden, Rechnen und Speichern geben dieselben
// Bytes wie das gebaute Modell; Umformen nach dem Laden und Schließen geben
// den Vorrat frei.
TEST_F(GrossLaden, GrosseDateiGibtDieselbenBytes) {
    const size_t vorher = TZellvorrat::BelegteBytesGesamt();
    std::string gebaut;
    {
        TModellBau bau;
        for (int i = 0; i < 4000; ++i) {
            auto d = bau.Durchlauf<TVerzweigung>();
            d.Q.Matrix().ZelleSetzen(0, 0, 1, 1.0 + i);
            d.K.Matrix().ZelleSetzen(0, 1, 1, 100.0);
        }
        ASSERT_EQ(ModellNeuberechnen(bau.M()), TBerechnungsErgebnis::BerechnungOK);
        DateiSpeichern(bau.M(), Ordner.Datei("gebaut.TSR"));
        gebaut = DateiLesen(Ordner.Datei("gebaut.TSR"));
    }
    ASSERT_GE(gebaut.size(), TZellvorrat::LohntAb);

    // Jedes Laden kehrt die Reihenfolge der Wege um: erst zweimal geladen und
    // gespeichert steht wieder derselbe Text da.
    TOeffnenErgebnis e = ModellOeffnen(Ordner.Datei("gebaut.TSR"));
    ASSERT_NE(e.Modell, nullptr) << e.Grund;
    EXPECT_GT(TZellvorrat::BelegteBytesGesamt(), vorher);
    DateiSpeichern(*e.Modell, Ordner.Datei("einmal.TSR"));
    e = ModellOeffnen(Ordner.Datei("einmal.TSR"));
    ASSERT_NE(e.Modell, nullptr) << e.Grund;
    ASSERT_EQ(ModellNeuberechnen(*e.Modell), TBerechnungsErgebnis::BerechnungOK);
    DateiSpeichern(*e.Modell, Ordner.Datei("zweimal.TSR"));
    // Bis auf die Nummer des Modells selbst (Zeile 2), die das gebaute nicht hat.
    // Kein EXPECT_EQ: der Zeilenvergleich von gtest bräuchte bei Megabytes Stunden.
    std::vector<std::string> zweimal = ZeilenAus(DateiLesen(Ordner.Datei("zweimal.TSR")));
    std::vector<std::string> erwartet = ZeilenAus(gebaut);
    ASSERT_EQ(zweimal.size(), erwartet.size());
    zweimal[1] = erwartet[1];
    EXPECT_TRUE(zweimal == erwartet);

    // Ein Knoten, der umgeformt wird, zieht auf den Heap; der Rest bleibt.
    for (const auto& o : e.Modell->FOListe.Alle()) {
        if (TKnoten* k = o->AlsKnoten()) k->Matrix().Erweitern(1);
    }
    e.Modell.reset();
    EXPECT_EQ(TZellvorrat::BelegteBytesGesamt(), vorher);
}

// Eine Datei aus vielen Stücken: dieselben Bytes wie der Text im Speicher.
// Bricht das Schreiben nach einigen Stücken ab, bleibt die alte Datei, und
// keine Hilfsdatei bleibt liegen.
TEST_F(GrossLaden, StueckweiseGespeichertUndAbgebrochen) {
    TModellBau bau;
    for (int i = 0; i < 3000; ++i) bau.Durchlauf<TVerzweigung>().Q.Matrix().ZelleSetzen(0, 0, 1, 0.5 + i);
    TZeilenSchreiber imSpeicher;
    Schreiben(bau.M(), imSpeicher);
    ASSERT_GT(imSpeicher.Text().size(), size_t{2} << 20);
    const std::string ziel = Ordner.Datei("modell.TSR");
    DateiSpeichern(bau.M(), ziel);
    EXPECT_TRUE(DateiLesen(ziel) == imSpeicher.Text());

    DateiSchreiben(ziel, "alt");
    rlimit vorher{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &vorher), 0);
    const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
    rlimit klein = vorher;
    klein.rlim_cur = 1 << 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &klein), 0);
    const TFehlerBild f = FehlerVon([&] { DateiSpeichern(bau.M(), ziel); });
    setrlimit(RLIMIT_FSIZE, &vorher);
    std::signal(SIGXFSZ, signalVorher);
    EXPECT_EQ(f.Art, "EFCreateError");
    EXPECT_EQ(DateiLesen(ziel), "alt");
    EXPECT_EQ(Ordner.Eintraege(), std::vector<std::string>{"modell.TSR"});
}

} // namespace
} // namespace tessomir::test
