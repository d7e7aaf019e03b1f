// Matrixgrößen aus der Datei dürfen nie mehr Speicher anfordern, als die
// Datei füllen kann. Das Programm zählt dazu jede Anforderung an operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>

#include "TDateiHilfe.h"
#include "gemeinsam/TAufzeichnung.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"

namespace {
std::atomic<size_t> GroessteAnforderung{0};

void* Anfordern(size_t n) {
    size_t bisher = GroessteAnforderung.load(std::memory_order_relaxed);
    while (n > bisher && !GroessteAnforderung.compare_exchange_weak(bisher, n)) {
    }
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(size_t n) { return Anfordern(n); }
void* operator new[](size_t n) { return Anfordern(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
// Auch die nothrow-Formen (std::stable_sort holt sich so Puffer), damit
// jede Freigabe zu ihrer Anforderung passt.
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    try {
        return Anfordern(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](size_t n, const std::nothrow_t& nt) noexcept { return operator new(n, nt); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace tessomir::test {
namespace {

class MatrixGrenzen : public ::testing::Test {
protected:
    TAufzeichnung Platt;
    TTempOrdner Ordner;
    const std::vector<std::string> Beispiel = ZeilenAus(DateiLesen(TESSOMIR_TESTDATEN "/beispiel_v3.TSR"));

    // Ersetzt die Quellenmatrix (Zeilen 33 und 34) durch 'matrix' und 'zeilen'.
    std::string MitQuellenmatrix(const std::string& matrix, const std::vector<std::string>& zeilen) {
        std::vector<std::string> z(Beispiel.begin(), Beispiel.begin() + 32);
        z.push_back(Zeile("Matrix", matrix));
        for (const auto& r : zeilen) z.push_back(Zeile("", r));
        z.insert(z.end(), Beispiel.begin() + 34, Beispiel.end());
        return TextAus(z);
    }

    struct TLauf {
        TOeffnenErgebnis Ergebnis;
        size_t Groesste;
        double Sekunden;
    };

    TLauf Oeffnen(const std::string& text) {
        const std::string pfad = Ordner.Datei("gross.TSR");
        DateiSchreiben(pfad, text);
        GroessteAnforderung = 0;
        const auto anfang = std::chrono::steady_clock::now();
        TLauf lauf{ModellOeffnen(pfad), 0, 0.0};
        lauf.Groesste = GroessteAnforderung;
        lauf.Sekunden = std::chrono::duration<double>(std::chrono::steady_clock::now() - anfang).count();
        return lauf;
    }
};

TEST_F(MatrixGrenzen, RiesigeGroessenScheiternSofortOhneSpeicher) {
    struct TFall {
        const char* Groesse;
        std::vector<std::string> Zeilen;
    };
    const std::vector<TFall> faelle = {
        {"1000000 / 1000000 / 1000000", {"1", "2", "3"}},
        {"2 / 2 / 2000000000", {"1 / 2 / 3", "1 / 2 / 3", "1 / 2 / 3", "1 / 2 / 3"}},
        {"1 / 1 / 2147483647", {"0 / 50"}},
        {"46341 / 46341 / 1", {"0"}},
        {"2147483647 / 2147483647 / 2147483647", {"0 / 50"}},
        {"1 / 3 / 100000", {"0 / 50", "0 / 50", "0 / 50"}},
    };
    for (const TFall& fall : faelle) {
        SCOPED_TRACE(fall.Groesse);
        const TLauf lauf = Oeffnen(MitQuellenmatrix(fall.Groesse, fall.Zeilen));
        EXPECT_EQ(lauf.Ergebnis.Modell, nullptr);
        EXPECT_NE(lauf.Ergebnis.Grund.find("Objekt [ TQuelle1 ]"), std::string::npos) << lauf.Ergebnis.Grund;
        EXPECT_NE(lauf.Ergebnis.Grund.find(fall.Groesse), std::string::npos) << lauf.Ergebnis.Grund;
        EXPECT_LT(lauf.Groesste, 64u * 1024u);
        EXPECT_LT(lauf.Sekunden, 1.0);
    }
    EXPECT_TRUE(Platt.Meldungen.empty());
}

TEST_F(MatrixGrenzen, GroesseUnterEinsScheitertOhneErfundeneWerte) {
    for (const char* groesse : {"0 / 1 / 2", "1 / 0 / 2", "1 / 1 / 0", "-1 / 1 / 2", "1 / 1 / -2147483648"}) {
        SCOPED_TRACE(groesse);
        const TLauf lauf = Oeffnen(MitQuellenmatrix(groesse, {"0 / 50"}));
        EXPECT_EQ(lauf.Ergebnis.Modell, nullptr);
        EXPECT_NE(lauf.Ergebnis.Grund.find("Objekt [ TQuelle1 ]"), std::string::npos) << lauf.Ergebnis.Grund;
    }
    // Kein "Dim kleiner 1": die Matrix wird gar nicht erst angelegt.
    EXPECT_TRUE(Platt.Meldungen.empty());
}

TEST_F(MatrixGrenzen, BreiteZeileDieDieDateiFuelltLaedt) {
    // Gegenprobe: eine große, aber vollständig vorhandene Matrix wird nicht
    // abgewiesen. Als schlichter TKnoten passt jede Form.
    const int breite = 100000;
    std::string zeile = "0";
    for (int c = 1; c < breite; ++c) zeile += " / " + std::to_string(c % 7);
    auto z = Beispiel;
    for (const auto& l : std::vector<std::string>{Zeile("Klasse ========= ", "TKnoten"), Zeile("FO Nr", "4"),
                                                  Zeile("Name", "Breit"), Zeile("Refpunkt", "0 / 0"),
                                                  Zeile("Kapazitaet", "1"),
                                                  Zeile("Matrix", "1 / 2 / " + std::to_string(breite)),
                                                  Zeile("", zeile), Zeile("", zeile)}) {
        z.push_back(l);
    }
    const TLauf lauf = Oeffnen(TextAus(z));
    ASSERT_NE(lauf.Ergebnis.Modell, nullptr) << lauf.Ergebnis.Grund;
    const auto* k = dynamic_cast<const TKnoten*>(lauf.Ergebnis.Modell->FOListe.NrSuchen(4));
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->Matrix().AnzahlZellen(), 2u * breite);
    EXPECT_EQ(k->Matrix().W(0, 1, breite - 1), static_cast<double>((breite - 1) % 7));
}

} // namespace
} // namespace tessomir::test
