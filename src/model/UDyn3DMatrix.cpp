#include "model/UDyn3DMatrix.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>

#include "base/UFehler.h"
#include "base/UPlattform.h"
#include "base/USpeicherblock.h"

namespace tessomir {

// ---------------------------------------------------------------- Zellvorrat

struct TZellblock {
    TSpeicherblock Speicher;
    size_t Belegt = 0;
    size_t Nutzer = 0; // Matrizen im Block, dazu der Vorrat, solange er ihn füllt
};

namespace {

std::atomic<size_t> LebendeBlockBytes{0};
constexpr size_t Zeilenbreite = 16;

void NutzerAbmelden(TZellblock* block) noexcept {
    if (block == nullptr || --block->Nutzer > 0) return;
    LebendeBlockBytes.fetch_sub(block->Belegt, std::memory_order_relaxed);
    GrossSeitigFreigeben(block->Speicher);
    delete block;
}

} // namespace

TZellvorrat::~TZellvorrat() { NutzerAbmelden(Aktuell); }

size_t TZellvorrat::BelegteBytesGesamt() { return LebendeBlockBytes.load(std::memory_order_relaxed); }

double* TZellvorrat::Anfordern(size_t anzahl, TZellblock*& block) {
    // Große Matrizen lohnen keinen Vorrat und verschwendeten den Rest eines Blocks.
    if (anzahl > BlockBytes / sizeof(double) / 16) return nullptr;
    const size_t bytes = (anzahl * sizeof(double) + Zeilenbreite - 1) / Zeilenbreite * Zeilenbreite;
    if (Aktuell == nullptr || Aktuell->Speicher.Laenge - Aktuell->Belegt < bytes) {
        NutzerAbmelden(Aktuell);
        Aktuell = nullptr;
        const TSpeicherblock speicher = GrossSeitigAnfordern(BlockBytes);
        if (speicher.Anfang == nullptr) return nullptr;
        Aktuell = new TZellblock{speicher, 0, 1};
    }
    auto* zellen = reinterpret_cast<double*>(Aktuell->Speicher.Anfang + Aktuell->Belegt);
    Aktuell->Belegt += bytes;
    LebendeBlockBytes.fetch_add(bytes, std::memory_order_relaxed);
    ++Aktuell->Nutzer;
    block = Aktuell;
    std::uninitialized_default_construct_n(zellen, anzahl);
    return zellen;
}

// ---------------------------------------------------------------- Matrix

double* TDyn3DMatrix::ZellenAnlegen(size_t anzahl, TZellvorrat* vorrat, TZellblock*& block) {
    block = nullptr;
    if (vorrat != nullptr) {
        if (double* zellen = vorrat->Anfordern(anzahl, block)) return zellen;
    }
    return new double[anzahl];
}

void TDyn3DMatrix::Freigeben() noexcept {
    if (Block != nullptr) NutzerAbmelden(Block);
    else delete[] Zellen;
    Zellen = nullptr;
    Anzahl = 0;
    Block = nullptr;
}

void TDyn3DMatrix::Ersetzen(double* zellen, size_t anzahl, TZellblock* block) noexcept {
    Freigeben();
    Zellen = zellen;
    Anzahl = anzahl;
    Block = block;
}

TDyn3DMatrix::TDyn3DMatrix(int d1, int d2, int d3, TZellvorrat* vorrat) {
    // Wer liest, prüft die Größen vorher; hier ist es ein Fehler im Programm.
    if (d1 < 1 || d2 < 1 || d3 < 1) throw ERangeError("Dim kleiner 1");
    D1 = d1;
    D2 = d2;
    D3 = d3;
    Anzahl = static_cast<size_t>(D1) * static_cast<size_t>(D2) * static_cast<size_t>(D3);
    Zellen = ZellenAnlegen(Anzahl, vorrat, Block);
    size_t i = 0;
    for (int a = 0; a < D1; ++a)
        for (int b = 0; b < D2; ++b)
            for (int c = 0; c < D3; ++c) Zellen[i++] = a * 100.0 + b * 10.0 + c;
}

// Kopien liegen auf dem Heap: sie leben meist anders als die geladenen Matrizen.
TDyn3DMatrix::TDyn3DMatrix(const TDyn3DMatrix& andere)
    : D1(andere.D1), D2(andere.D2), D3(andere.D3), Zellen(new double[andere.Anzahl]), Anzahl(andere.Anzahl) {
    std::copy_n(andere.Zellen, Anzahl, Zellen);
}

TDyn3DMatrix::TDyn3DMatrix(TDyn3DMatrix&& andere) noexcept
    : D1(andere.D1), D2(andere.D2), D3(andere.D3), Zellen(std::exchange(andere.Zellen, nullptr)),
      Anzahl(std::exchange(andere.Anzahl, 0)), Block(std::exchange(andere.Block, nullptr)) {}

TDyn3DMatrix& TDyn3DMatrix::operator=(const TDyn3DMatrix& andere) {
    if (this != &andere) *this = TDyn3DMatrix(andere);
    return *this;
}

TDyn3DMatrix& TDyn3DMatrix::operator=(TDyn3DMatrix&& andere) noexcept {
    if (this == &andere) return *this;
    Ersetzen(std::exchange(andere.Zellen, nullptr), std::exchange(andere.Anzahl, 0),
             std::exchange(andere.Block, nullptr));
    D1 = andere.D1;
    D2 = andere.D2;
    D3 = andere.D3;
    return *this;
}

void TDyn3DMatrix::Erweitern(int dim) {
    if (dim < 1 || dim > 3) return;
    const int n1 = D1 + (dim == 1 ? 1 : 0);
    const int n2 = D2 + (dim == 2 ? 1 : 0);
    const int n3 = D3 + (dim == 3 ? 1 : 0);
    const size_t anzahl = static_cast<size_t>(n1) * static_cast<size_t>(n2) * static_cast<size_t>(n3);
    auto neu = std::make_unique<double[]>(anzahl); // mit Nullen
    if (dim == 1) {
        // Neuer Artikel hängt einfach hinten an.
        std::copy_n(Zellen, Anzahl, neu.get());
    } else {
        for (int a = 0; a < D1; ++a)
            for (int b = 0; b < D2; ++b)
                for (int c = 0; c < D3; ++c)
                    neu[(static_cast<size_t>(a) * n2 + static_cast<size_t>(b)) * n3 + static_cast<size_t>(c)] =
                        W(a, b, c);
    }
    Ersetzen(neu.release(), anzahl, nullptr);
    D1 = n1;
    D2 = n2;
    D3 = n3;
}

void TDyn3DMatrix::IndexEntfernen(int dim, int index) {
    if (dim < 1 || dim > 3 || index < 0) return;
    const int groesse = dim == 1 ? D1 : dim == 2 ? D2 : D3;
    if (groesse < 2 || index >= groesse) return;
    const int n1 = D1 - (dim == 1 ? 1 : 0);
    const int n2 = D2 - (dim == 2 ? 1 : 0);
    const int n3 = D3 - (dim == 3 ? 1 : 0);
    const size_t anzahl = static_cast<size_t>(n1) * static_cast<size_t>(n2) * static_cast<size_t>(n3);
    auto neu = std::make_unique_for_overwrite<double[]>(anzahl);
    size_t i = 0;
    for (int a = 0; a < D1; ++a) {
        if (dim == 1 && a == index) continue;
        for (int b = 0; b < D2; ++b) {
            if (dim == 2 && b == index) continue;
            for (int c = 0; c < D3; ++c) {
                if (dim == 3 && c == index) continue;
                neu[i++] = W(a, b, c);
            }
        }
    }
    Ersetzen(neu.release(), anzahl, nullptr);
    D1 = n1;
    D2 = n2;
    D3 = n3;
}

double* TDyn3DMatrix::Zelle(int a, int b, int c) {
    return Gueltig(a, b, c) ? &Zellen[Index(a, b, c)] : nullptr;
}

const double* TDyn3DMatrix::Zelle(int a, int b, int c) const {
    return Gueltig(a, b, c) ? &Zellen[Index(a, b, c)] : nullptr;
}

void TDyn3DMatrix::ZelleSetzen(int a, int b, int c, double wert) {
    if (Gueltig(a, b, c)) Zellen[Index(a, b, c)] = wert;
}

void TDyn3DMatrix::AlleSetzen(double wert) { std::fill_n(Zellen, Anzahl, wert); }

double TDyn3DMatrix::Zeilensumme(int a, int b, int n) const {
    if (a < 0 || b < 0 || a >= D1 || b >= D2) return 0.0;
    n = std::min(n, D3);
    double summe = 0.0;
    for (int c = 1; c < n; ++c) summe += W(a, b, c);
    return summe;
}

std::unique_ptr<TDyn3DMatrix> TDyn3DMatrix::Kopie() const { return std::make_unique<TDyn3DMatrix>(*this); }

std::string TDyn3DMatrix::DimText() const {
    return std::to_string(D1) + " / " + std::to_string(D2) + " / " + std::to_string(D3);
}

std::string TDyn3DMatrix::ZeilenText(int a, int b, char trenner) const {
    std::string s;
    ZeilenTextAnhaengen(s, a, b, trenner);
    return s;
}

void TDyn3DMatrix::ZeilenTextAnhaengen(std::string& ziel, int a, int b, char trenner) const {
    if (a < 0 || b < 0 || a >= D1 || b >= D2) return;
    // Direkt in den Zielpuffer schreiben: eine Zeile hat bis zu D3 Werte.
    const size_t alt = ziel.size();
    ziel.resize(alt + static_cast<size_t>(D3) * (FloatTextLaenge + 3));
    char* p = ziel.data() + alt;
    for (int c = 0; c < D3; ++c) {
        if (c > 0) p = std::copy_n(" / ", 3, p);
        p = FloatSchreiben(p, W(a, b, c), trenner);
    }
    ziel.resize(static_cast<size_t>(p - ziel.data()));
}

void TDyn3DMatrix::ZeilenTextLesen(int a, int b, std::string_view text, char trenner) {
    int c = 0;
    if (a >= 0 && b >= 0 && a < D1 && b < D2) {
        // Schneller Weg für Zeilen, wie das Speichern sie schreibt: ein Feld ohne
        // Leerzeichen, dann " / " oder das Ende. Dann ist es genau das Feld, das
        // NaechstesFeld fände; alles andere liest der allgemeine Weg weiter.
        // BM_LadenDatei/100000: ZuFromChars 1,71 statt 1,85 ohne ihn (gepaarte Läufe).
        double* zeile = Zellen + Index(a, b, 0);
        const char* p = text.data();
        const char* const ende = p + text.size();
        while (c < D3) {
            // Felder sind kurz: selbst suchen ist schneller als memchr je Feld.
            const char* q = p;
            while (q < ende && *q != ' ') ++q;
            if (q == p || static_cast<unsigned char>(*p) <= 32 || static_cast<unsigned char>(q[-1]) <= 32) break;
            const bool letztes = q == ende;
            if (!letztes && (ende - q < 3 || q[1] != '/' || q[2] != ' ')) break;
            zeile[c++] = FloatAusText(std::string_view(p, static_cast<size_t>(q - p)), trenner);
            p = letztes ? ende : q + 3;
        }
        text = std::string_view(p, static_cast<size_t>(ende - p));
    }
    for (; c < D3; ++c) ZelleSetzen(a, b, c, FloatAusText(NaechstesFeld(text), trenner));
}

} // namespace tessomir
