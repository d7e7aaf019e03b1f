// Zwei Modelle zugleich: jedes bringt Nummernzähler, Zufallssaat, Ladezustand
// und Protokoll selbst mit. Zwei Fäden, die je ein Modell öffnen, ändern und
// rechnen, müssen Bit für Bit dasselbe ergeben wie derselbe Ablauf
// nacheinander. Läuft im Testskript auch unter ThreadSanitizer.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "analysis/UBerechnung.h"
#include "model/UKnoten.h"
#include "base/UPlattform.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

class TSammler final : public IProtokoll {
public:
    void LogLeeren() override { Zeilen.clear(); }
    void LogZeile(const std::string& zeile) override { Zeilen.push_back(zeile); }
    std::vector<std::string> Zeilen;
};

struct TLauf {
    std::string Grund; // leer, wenn die Datei sich öffnen ließ
    TBerechnungsErgebnis Ergebnis = TBerechnungsErgebnis::PruefungFehlerhaft;
    std::vector<std::string> Protokoll;
    std::vector<uint64_t> Zellen; // Bitmuster aller Knotenmatrizen
    uint64_t MaxStrom = 0;
    std::vector<std::string> NeueObjekte; // Nummer, Name und Bezugspunkt
    bool operator==(const TLauf&) const = default;
};

// Öffnet, legt zwei Knoten an (Zähler und Saat des Modells) und rechnet.
TLauf Durchlaufen(const std::string& datei) {
    TLauf lauf;
    TOeffnenErgebnis geoeffnet = ModellOeffnen(datei);
    if (!geoeffnet.Modell) {
        lauf.Grund = geoeffnet.Grund;
        return lauf;
    }
    TModell& m = *geoeffnet.Modell;
    TSammler protokoll;
    m.Protokoll = &protokoll;
    for (int i = 0; i < 2; ++i) {
        const TSenke neu(m); // zieht Nummer und Bezugspunkt, bleibt ausserhalb des Netzes
        lauf.NeueObjekte.push_back(std::to_string(neu.FONr) + " " + neu.Name + " " + TextAusPunkt(neu.Refpunkt));
    }
    lauf.Ergebnis = ModellNeuberechnen(m);
    lauf.Protokoll = protokoll.Zeilen;
    for (const TKnoten* k : m.FOListe.Knoten()) {
        const TDyn3DMatrix& z = k->Matrix();
        for (size_t i = 0; i < z.AnzahlZellen(); ++i) lauf.Zellen.push_back(std::bit_cast<uint64_t>(z.Daten()[i]));
    }
    lauf.MaxStrom = std::bit_cast<uint64_t>(m.MaxStromBerechnet);
    return lauf;
}

TEST(Nebenlaeufig, ZweiModelleInZweiFaedenRechnenWieNacheinander) {
    // Die Vorgaben der Plattform: die Uhr ist die Systemuhr, Meldungen gibt es
    // keine, weil beide Beispiele die Prüfung bestehen.
    PlattformVorgaben();
    const std::vector<std::string> dateien = {TESSOMIR_BEISPIELE "/Wassernetz.TSR",
                                              TESSOMIR_BEISPIELE "/Getreidemuehle.TSR"};
    std::vector<TLauf> nacheinander;
    for (const std::string& d : dateien) nacheinander.push_back(Durchlaufen(d));
    for (const TLauf& l : nacheinander) {
        ASSERT_EQ(l.Grund, "");
        ASSERT_EQ(l.Ergebnis, TBerechnungsErgebnis::BerechnungOK);
        ASSERT_EQ(l.Protokoll.back(), "Berechnung OK");
    }

    for (int runde = 0; runde < 3; ++runde) {
        std::vector<TLauf> zugleich(dateien.size());
        std::vector<std::thread> faeden;
        for (size_t i = 0; i < dateien.size(); ++i)
            faeden.emplace_back([&, i] { zugleich[i] = Durchlaufen(dateien[i]); });
        for (std::thread& f : faeden) f.join();
        EXPECT_EQ(zugleich, nacheinander) << "Runde " << runde;
    }
}

} // namespace
} // namespace tessomir
