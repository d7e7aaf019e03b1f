// Kopien zur Wiederherstellung: schreiben, verwerfen, finden, was ein beendeter
// Prozess hinterließ, und als geändertes Modell unter dem alten Namen öffnen.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "TDateiHilfe.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"
#include "persistence/UWiederherstellung.h"

namespace tessomir::test {
namespace {

// Die Nummer eines Prozesses, der schon beendet ist.
pid_t BeendeterProzess() {
    const pid_t kind = ::fork();
    if (kind == 0) ::_exit(0);
    int status = 0;
    ::waitpid(kind, &status, 0);
    return kind;
}

// Legt eine Kopie an, wie ein anderer Prozess sie hinterlassen hätte.
void FremdeKopie(const TTempOrdner& ordner, const std::string& stamm, long prozess, const std::string& original,
                 const std::string& text) {
    DateiSchreiben(ordner.Datei(stamm + ".TSR"), text);
    DateiSchreiben(ordner.Datei(stamm + ".ort"),
                   "Tessomir Wiederherstellung\n" + std::to_string(prozess) + "\n" + original + "\n");
}

TEST(Wiederherstellung, EigeneKopieSchreibenUndVerwerfen) {
    TAufzeichnung platt;
    TModellBau bau;
    bau.Verteilung("Q", "V", "S1", "S2"); // drei Wege: ihre Folge muss das Lesen überstehen
    bau.M().DateiName = "/daten/Anlage.TSR";
    TTempOrdner ordner;
    TWiederherstellung w(ordner.Pfad.string());
    EXPECT_FALSE(w.HatKopie());
    ASSERT_TRUE(w.Sichern(bau.M()));
    EXPECT_TRUE(w.HatKopie());
    EXPECT_EQ(bau.M().DateiName, "/daten/Anlage.TSR"); // der Pfad des Modells bleibt
    TZeilenSchreiber aus;
    Schreiben(bau.M(), aus);
    EXPECT_EQ(ordner.Eintraege().size(), 2u);
    EXPECT_TRUE(w.Finden().empty()); // die eigene bietet niemand an

    // Gelesen wie nach einem Neustart ergibt die Kopie genau dieses Modell.
    bau.Abgeben().reset();
    {
        TOeffnenErgebnis kopie = ModellOeffnen(w.Kopie());
        ASSERT_NE(kopie.Modell, nullptr) << kopie.Grund;
        TZeilenSchreiber wieder;
        Schreiben(*kopie.Modell, wieder);
        EXPECT_EQ(wieder.Text(), aus.Text());
    }
    w.Verwerfen();
    EXPECT_TRUE(ordner.Eintraege().empty());
    EXPECT_FALSE(w.HatKopie());
}

TEST(Wiederherstellung, FindetNurWasBeendeteProzesseHinterliessen) {
    TAufzeichnung platt;
    TTempOrdner ordner;
    const std::string modell = DateiLesen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR");
    const pid_t tot = BeendeterProzess();
    FremdeKopie(ordner, "tot-0", tot, "/daten/M\xE4ngel.TSR", modell);
    FremdeKopie(ordner, "lebt-0", ::getppid(), "/daten/Lebt.TSR", modell);
    DateiSchreiben(ordner.Datei("kaputt-0.ort"), "irgendwas\n");
    FremdeKopie(ordner, "ohne-0", tot, "/daten/Ohne.TSR", modell);
    ::unlink(ordner.Datei("ohne-0.TSR").c_str()); // Ortsdatei ohne Kopie

    TWiederherstellung w(ordner.Pfad.string());
    const auto funde = w.Finden();
    ASSERT_EQ(funde.size(), 1u);
    EXPECT_EQ(funde[0].Original, "/daten/M\xE4ngel.TSR");

    std::string grund;
    std::unique_ptr<TModell> m = TWiederherstellung::Oeffnen(funde[0], grund);
    ASSERT_NE(m, nullptr) << grund;
    EXPECT_EQ(m->DateiName, "/daten/M\xE4ngel.TSR");
    EXPECT_TRUE(m->Modifiziert);
    TZeilenSchreiber aus;
    SchreibenLesegleich(*m, aus);
    EXPECT_EQ(aus.Text(), modell); // Byte für Byte
    m.reset();
    TWiederherstellung::Entfernen(funde[0]);
    EXPECT_TRUE(w.Finden().empty());

    // Eine Kopie, die sich nicht lesen lässt, nennt ihren Grund und bleibt liegen.
    FremdeKopie(ordner, "leer-0", tot, "/daten/Leer.TSR", "");
    const auto leer = w.Finden();
    ASSERT_EQ(leer.size(), 1u);
    EXPECT_EQ(TWiederherstellung::Oeffnen(leer[0], grund), nullptr);
    EXPECT_EQ(grund, "die Datei ist leer");
    EXPECT_EQ(w.Finden().size(), 1u);
}

} // namespace
} // namespace tessomir::test
