// Spielt jede Datei des Fuzz-Korpus durch den Lesenden: sie lädt, oder das
// Öffnen endet mit Meldung und Grund und ohne Modell. Was lädt, muss sich
// speichern und stabil wieder laden lassen.
#include <gtest/gtest.h>

#include <filesystem>

#include "TDateiHilfe.h"
#include "gemeinsam/TAufzeichnung.h"
#include "persistence/UModellDatei.h"

namespace tessomir::test {
namespace {

std::vector<std::filesystem::path> KorpusDateien() {
    std::vector<std::filesystem::path> dateien;
    for (const auto& e : std::filesystem::directory_iterator(TESSOMIR_FUZZKORPUS)) {
        if (e.is_regular_file()) dateien.push_back(e.path());
    }
    std::sort(dateien.begin(), dateien.end());
    return dateien;
}

TEST(FuzzKorpus, KorpusIstNichtLeer) {
    const auto dateien = KorpusDateien();
    EXPECT_GE(dateien.size(), 10u);
    // Beides muss vertreten sein, sonst prüft das Nachspielen nur eine Seite.
    int geladen = 0;
    int abgewiesen = 0;
    for (const auto& d : dateien) {
        TAufzeichnung platt;
        (ModellOeffnen(d.string()).Modell ? geladen : abgewiesen)++;
    }
    EXPECT_GE(geladen, 3);
    EXPECT_GE(abgewiesen, 3);
}

TEST(FuzzKorpus, JedeDateiLaedtOderScheitertMitMeldung) {
    TTempOrdner ordner;
    for (const auto& datei : KorpusDateien()) {
        SCOPED_TRACE(datei.filename().string());
        TAufzeichnung platt;
        TOeffnenErgebnis e = ModellOeffnen(datei.string());
        if (!e.Modell) {
            EXPECT_EQ(e.Meldung, "Die Datei " + datei.filename().string() + " kann nicht ge\xF6" "ffnet werden.");
            EXPECT_FALSE(e.Grund.empty());
            continue;
        }
        EXPECT_TRUE(e.Grund.empty());
        EXPECT_EQ(e.Modell->Laedt, 0);
        // Speichern, zweimal neu laden (die Wege kehren sich je Laden um) und
        // wieder speichern: derselbe Text.
        const std::string pfad = ordner.Datei("rund.TSR");
        DateiSpeichern(*e.Modell, pfad);
        const std::string erst = DateiLesen(pfad);
        e.Modell.reset();
        for (int i = 0; i < 2; ++i) {
            TOeffnenErgebnis n = ModellOeffnen(pfad);
            ASSERT_NE(n.Modell, nullptr) << n.Grund;
            DateiSpeichern(*n.Modell, pfad);
        }
        EXPECT_EQ(DateiLesen(pfad), erst);
    }
}

} // namespace
} // namespace tessomir::test
