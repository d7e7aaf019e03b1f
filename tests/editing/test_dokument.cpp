// Das Dokument: Einsetzen beginnt frisch, Speichern sichert den Stand,
// eine fremde Änderung der Datei fällt auf, berechnet heisst geprüft.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "editing/UDokument.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "persistence/TDateiHilfe.h"

namespace tessomir {
namespace {

TEST(Dokument, EinsetzenSpeichernUndFremdeAenderung) {
    test::TAufzeichnung platt;
    test::TTempOrdner ordner;
    TDokument d;
    EXPECT_EQ(d.Modell(), nullptr);
    d.Rueckgaengig(); // ohne Modell harmlos
    EXPECT_EQ(d.Neuberechnen(), TBerechnungsErgebnis::PruefungFehlerhaft);

    test::TModellBau bau;
    auto strecke = bau.Strecke("Q", "S");
    test::Menge(strecke.Q, 0, 5);
    d.Einsetzen(bau.Abgeben());
    TModell& m = *d.Modell();
    EXPECT_FALSE(d.Berechnet());
    const std::string pfad = ordner.Datei("netz.TSR");
    EXPECT_FALSE(d.FremdGeaendert(pfad)); // gibt es noch nicht

    // Eine Änderung mit Verlauf, dann speichern: gesichert und nicht modifiziert.
    AuswahlLoeschen(m, &d.Verlauf()); // leere Auswahl: kein Schritt
    m.FOListe.Auswaehlen(&strecke.W, false);
    AuswahlLoeschen(m, &d.Verlauf());
    ASSERT_TRUE(m.Modifiziert);
    ASSERT_TRUE(d.Speichern(pfad).Ok);
    EXPECT_FALSE(m.Modifiziert);
    EXPECT_EQ(m.DateiName, pfad);
    EXPECT_TRUE(d.Verlauf().AmGesichertenStand());
    EXPECT_FALSE(d.FremdGeaendert(pfad));
    d.Rueckgaengig();
    EXPECT_TRUE(m.Modifiziert);
    d.Wiederholen();
    EXPECT_FALSE(m.Modifiziert);

    // Ein anderes Programm schreibt die Datei.
    std::ofstream(pfad, std::ios::app) << "\r\n";
    EXPECT_TRUE(d.FremdGeaendert(pfad));

    // Ohne Weg besteht die Prüfung nicht: nicht berechnet.
    EXPECT_EQ(d.Neuberechnen(), TBerechnungsErgebnis::PruefungFehlerhaft);
    EXPECT_FALSE(d.Berechnet());
    d.Rueckgaengig();
    EXPECT_EQ(d.Neuberechnen(), TBerechnungsErgebnis::BerechnungOK);
    EXPECT_TRUE(d.Berechnet());
    EXPECT_TRUE(d.StroemeAktuell());
    // Jede Änderung danach, auch Zurücknehmen und Wiederholen, macht die Ströme alt.
    d.Wiederholen();
    EXPECT_TRUE(d.Berechnet());
    EXPECT_FALSE(d.StroemeAktuell());
    EXPECT_EQ(d.Neuberechnen(), TBerechnungsErgebnis::PruefungFehlerhaft);
    EXPECT_FALSE(d.StroemeAktuell());
    d.Rueckgaengig();
    d.Neuberechnen();
    ASSERT_TRUE(d.StroemeAktuell());
    d.Rueckgaengig(); // nichts mehr zurückzunehmen: bleibt aktuell
    EXPECT_TRUE(d.StroemeAktuell());

    // Wieder eingesetzt, aus der Datei: frisch, der Stand ist der der Datei.
    TOeffnenErgebnis wieder = ModellOeffnen(pfad);
    ASSERT_NE(wieder.Modell, nullptr) << wieder.Grund;
    d.Einsetzen(std::move(wieder.Modell));
    EXPECT_FALSE(d.Berechnet());
    EXPECT_FALSE(d.Verlauf().KannRueckgaengig());
    EXPECT_FALSE(d.FremdGeaendert(pfad));
}

} // namespace
} // namespace tessomir
