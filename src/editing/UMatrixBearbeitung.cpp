#include "editing/UMatrixBearbeitung.h"

#include "persistence/UWerteTabelle.h"

#include <algorithm>
#include <cmath>

#include "base/UFehler.h"
#include "model/UKnoten.h"
#include "model/UModell.h"
#include "base/UPlattform.h"

namespace tessomir {
namespace {

// Name des Knotens am anderen Ende, leer ohne Weg oder Knoten.
std::string StartName(const TWeg* weg) {
    return weg != nullptr && weg->Start() != nullptr ? weg->Start()->Name : std::string();
}
std::string ZielName(const TWeg* weg) {
    return weg != nullptr && weg->Ziel() != nullptr ? weg->Ziel()->Name : std::string();
}

// Zurückgelesene Anzeigetexte (Ströme) dürfen auch INF und NAN sein: sie
// stammen aus dem Modell, nicht vom Anwender.
double AnzeigeAusText(std::string_view text, char trenner) {
    const std::optional<double> wert = ZahlAusEingabe(text, trenner);
    if (!wert) throw EConvertError(Zitat(text) + " ist keine g\xFC" "ltige Zahl");
    return *wert;
}

const std::string Leer;

} // namespace

TMatrixArt MatrixArtVon(const TKnoten& knoten) {
    switch (knoten.Art()) {
    case TKnotenArt::Quelle: return TMatrixArt::Quelle;
    case TKnotenArt::Verzweigung: return TMatrixArt::Verzweigung;
    case TKnotenArt::Senke: return TMatrixArt::Senke;
    case TKnotenArt::Wandler: return TMatrixArt::Wandler;
    case TKnotenArt::Knoten: break;
    }
    return TMatrixArt::Keine;
}

const char* MatrixHilfethema(TMatrixArt art) {
    switch (art) {
    case TMatrixArt::Quelle: return "quellenmatrix.htm";
    case TMatrixArt::Verzweigung: return "verzweigungsmatrix.htm";
    case TMatrixArt::Senke: return "senkenmatrix.htm";
    case TMatrixArt::Wandler: return "wandlermatrix.htm";
    case TMatrixArt::Keine: break;
    }
    return "";
}

std::string MatrixTitel(const TKnoten* knoten) {
    return knoten == nullptr ? std::string("Matrix") : "Matrix [" + Gekuerzt(knoten->Name) + "]";
}

TMass MatrixFenstermass(int spalten, int zeilen) {
    return {50 + MatrixSpaltenbreite * std::clamp(spalten, 5, 15), 100 + MatrixZeilenhoehe * std::clamp(zeilen, 5, 40)};
}

std::optional<double> MatrixZahl(std::string_view text, char trenner) {
    const std::optional<double> wert = ZahlAusEingabe(text, trenner);
    if (wert && std::isfinite(*wert)) return wert;
    return std::nullopt;
}

// ---------------------------------------------------------------- Raster

TMatrixBearbeitung::TMatrixBearbeitung(const TModell& modell)
    : Modell_(modell), Arbeit(std::make_unique<TDyn3DMatrix>(1, 1, 1)) {}

size_t TMatrixBearbeitung::Stelle(int spalte, int zeile) const {
    return static_cast<size_t>(zeile) * static_cast<size_t>(SpaltenZahl) + static_cast<size_t>(spalte);
}

const std::string& TMatrixBearbeitung::Text(int spalte, int zeile) const {
    if (spalte < 0 || zeile < 0 || spalte >= SpaltenZahl || zeile >= ZeilenZahl) return Leer;
    return Texte[Stelle(spalte, zeile)];
}

void TMatrixBearbeitung::TextSetzen(int spalte, int zeile, std::string text) {
    if (spalte < 0 || zeile < 0 || spalte >= SpaltenZahl || zeile >= ZeilenZahl) return;
    Texte[Stelle(spalte, zeile)] = std::move(text);
}

int TMatrixBearbeitung::BlockEinfuegen(int spalte, int zeile, std::string_view block) {
    if (!RasterEditierbar || spalte < 0 || zeile < 0) return 0;
    // Tabellenkalkulationen hängen ein letztes Zeilenende an.
    while (!block.empty() && (block.back() == '\n' || block.back() == '\r')) block.remove_suffix(1);
    if (block.empty()) return 0;
    int gesetzt = 0;
    int z = zeile;
    size_t anfang = 0;
    while (anfang <= block.size()) {
        size_t ende = block.find('\n', anfang);
        if (ende == std::string_view::npos) ende = block.size();
        std::string_view reihe = block.substr(anfang, ende - anfang);
        if (!reihe.empty() && reihe.back() == '\r') reihe.remove_suffix(1);
        int s = spalte;
        size_t feld = 0;
        while (feld <= reihe.size()) {
            size_t tab = reihe.find('\t', feld);
            if (tab == std::string_view::npos) tab = reihe.size();
            const std::string_view text = reihe.substr(feld, tab - feld);
            if (IstEditierbar(s, z)) {
                const TZahlLesen zahl = TabellenzahlLesen(text, TTabellenform::Standard, true);
                TextSetzen(s, z, zahl.Wert ? TextAusFloat(*zahl.Wert, Modell_.Anzeigetrenner) : std::string(text));
                ++gesetzt;
            }
            ++s;
            feld = tab + 1;
        }
        ++z;
        anfang = ende + 1;
    }
    return gesetzt;
}

bool TMatrixBearbeitung::IstEditierbar(int spalte, int zeile) const {
    return RasterEditierbar && !IstFest(spalte, zeile) && spalte < SpaltenZahl && zeile < ZeilenZahl;
}

TZellfarbe TMatrixBearbeitung::Farbe(int spalte, int zeile) const {
    if (IstEditierbar(spalte, zeile)) return TZellfarbe::Eingabe;
    if (spalte == 0 && zeile == 0) return TZellfarbe::Ecke;
    if (spalte == 0) return TZellfarbe::Kopfspalte;
    if (zeile == 0) return TZellfarbe::Kopfzeile;
    return TZellfarbe::Weiss;
}

void TMatrixBearbeitung::KnotenSetzen(const TKnoten& knoten) {
    Arbeit = knoten.Matrix().Kopie();
    ArtDesKnotens = MatrixArtVon(knoten);
    RasterEditierbar = true;
    const int d2 = Arbeit->Dim2();
    const int d3 = Arbeit->Dim3();
    const auto raster = [this](int spalten, int zeilen, int festeSpalten, int festeZeilen) {
        SpaltenZahl = spalten;
        ZeilenZahl = zeilen;
        FesteSpaltenZahl = festeSpalten;
        FesteZeilenZahl = festeZeilen;
    };
    switch (ArtDesKnotens) {
    case TMatrixArt::Quelle: raster(2, 3, 1, 2); break;
    case TMatrixArt::Verzweigung: raster(d2 + 1, d3 + 1, 2, 2); break;
    case TMatrixArt::Senke:
        raster(3, 2, 2, 1);
        RasterEditierbar = false;
        break;
    case TMatrixArt::Wandler: raster(2, Modell_.AnzahlArtikel() + 1, 1, 1); break;
    case TMatrixArt::Keine:
        raster(1, 1, 1, 1);
        RasterEditierbar = false;
        break;
    }
    Texte.assign(static_cast<size_t>(SpaltenZahl) * static_cast<size_t>(ZeilenZahl), std::string());

    switch (ArtDesKnotens) {
    case TMatrixArt::Quelle:
        TextSetzen(0, 1, "Ausgang nach");
        TextSetzen(1, 1, "Artikelstrom");
        TextSetzen(0, 2, ZielName(knoten.GetAusgang(0)));
        break;
    case TMatrixArt::Verzweigung:
        TextSetzen(1, 0, "  Eingang von");
        TextSetzen(0, 1, "Ausgang nach");
        TextSetzen(1, 1, "Artikelstrom");
        for (int j = 0; j + 2 < SpaltenZahl; ++j) TextSetzen(j + 2, 0, StartName(knoten.GetEingang(j)));
        for (int k = 0; k + 2 < ZeilenZahl; ++k) TextSetzen(0, k + 2, ZielName(knoten.GetAusgang(k)));
        break;
    case TMatrixArt::Senke:
        TextSetzen(1, 0, "Eingang von");
        TextSetzen(1, 1, "Artikelstrom");
        TextSetzen(2, 0, StartName(knoten.GetEingang(0)));
        break;
    case TMatrixArt::Wandler:
        TextSetzen(0, 0, "Artikel");
        TextSetzen(1, 0, "Faktor");
        break;
    case TMatrixArt::Keine: break;
    }
}

void TMatrixBearbeitung::ArtikelListeSetzen(const std::vector<std::string>& artikel, int anzeige) {
    Artikel = artikel;
    if (ArtDesKnotens == TMatrixArt::Wandler) {
        for (int r = 1; r < ZeilenZahl && r <= AnzahlArtikel(); ++r) TextSetzen(0, r, Artikel[static_cast<size_t>(r - 1)]);
    }
    ArtikelLaden(anzeige >= 0 && anzeige < AnzahlArtikel() ? anzeige : 0);
}

std::string TMatrixBearbeitung::ArtikelAnzeige() const {
    if (Angezeigt < 0 || Angezeigt >= AnzahlArtikel()) return " ";
    return " " + Artikel[static_cast<size_t>(Angezeigt)];
}

std::string TMatrixBearbeitung::Zahlentext(double wert, bool prozent) const {
    return prozent ? Modell_.ProzentText(wert) : Modell_.WertText(wert);
}

std::vector<TMatrixBearbeitung::TZuordnung> TMatrixBearbeitung::Zuordnungen(int a) const {
    std::vector<TZuordnung> z;
    const auto hinzu = [&](TZellort ort, int b, int c, auto format, bool speichern) {
        if (ort.Spalte < SpaltenZahl && ort.Zeile < ZeilenZahl && Arbeit->Zelle(a, b, c) != nullptr)
            z.push_back({ort, b, c, format, speichern});
    };
    const int d2 = Arbeit->Dim2();
    const int d3 = Arbeit->Dim3();
    switch (ArtDesKnotens) {
    case TMatrixArt::Quelle:
        for (int k = 1; k < d3; ++k) hinzu(TZellort{1, k + 1}, 0, k, TZuordnung::Wert, true);
        break;
    case TMatrixArt::Verzweigung:
        for (int j = 0; j < d2; ++j)
            for (int k = 0; k < d3; ++k) {
                if (j == 0 && k == 0) continue;
                const bool anteil = j >= 1 && k >= 1;
                hinzu(TZellort{j + 1, k + 1}, j, k, anteil ? TZuordnung::Prozent : TZuordnung::Wert, j >= 1);
            }
        break;
    case TMatrixArt::Senke:
        for (int j = 1; j < d2; ++j)
            for (int k = 0; k < d3; ++k) hinzu(TZellort{j + 1, k + 1}, j, k, TZuordnung::Wert, false);
        break;
    case TMatrixArt::Wandler:
        for (int r = 1; r < ZeilenZahl; ++r) hinzu(TZellort{1, r}, r, 1, TZuordnung::Faktor, true);
        break;
    case TMatrixArt::Keine: break;
    }
    return z;
}

void TMatrixBearbeitung::ArtikelLaden(int a) {
    Angezeigt = a;
    const char trenner = Modell_.Anzeigetrenner;
    for (const TZuordnung& z : Zuordnungen(a)) {
        const double wert = *Arbeit->Zelle(a, z.B, z.C);
        TextSetzen(z.Ort.Spalte, z.Ort.Zeile,
                   z.Format == TZuordnung::Faktor ? TextAusFloat(wert, trenner)
                                                  : Zahlentext(wert, z.Format == TZuordnung::Prozent));
    }
}

void TMatrixBearbeitung::ArtikelSpeichern(int a) {
    const char trenner = Modell_.Anzeigetrenner;
    const std::vector<TZuordnung> zuordnungen = Zuordnungen(a);
    std::vector<double> werte;
    werte.reserve(zuordnungen.size());
    for (const TZuordnung& z : zuordnungen) {
        if (!z.Speichern) continue;
        const std::string& text = Text(z.Ort.Spalte, z.Ort.Zeile);
        if (!IstEditierbar(z.Ort.Spalte, z.Ort.Zeile)) {
            werte.push_back(AnzeigeAusText(text, trenner));
        } else if (const std::optional<double> wert = MatrixZahl(text, trenner)) {
            werte.push_back(*wert);
        } else {
            throw EConvertError(Zitat(text) + " ist keine g\xFC" "ltige Zahl");
        }
    }
    size_t i = 0;
    for (const TZuordnung& z : zuordnungen) {
        if (z.Speichern) Arbeit->ZelleSetzen(a, z.B, z.C, werte[i++]);
    }
}

std::vector<TZellort> TMatrixBearbeitung::PruefZellen() const {
    std::vector<TZellort> zellen;
    switch (ArtDesKnotens) {
    case TMatrixArt::Quelle:
        for (int r = 2; r < ZeilenZahl; ++r) zellen.push_back({1, r});
        break;
    case TMatrixArt::Verzweigung:
        for (int c = 2; c < SpaltenZahl; ++c)
            for (int r = 2; r < ZeilenZahl; ++r) zellen.push_back({c, r});
        break;
    case TMatrixArt::Wandler:
        // Ein Faktor, der still zu 0 würde, gäbe ein falsches Ergebnis.
        for (int r = 1; r < ZeilenZahl; ++r) zellen.push_back({1, r});
        break;
    case TMatrixArt::Senke:
    case TMatrixArt::Keine: break;
    }
    return zellen;
}

std::optional<TZellort> TMatrixBearbeitung::UngueltigeZelle() const {
    for (const TZellort& z : PruefZellen()) {
        if (!MatrixZahl(Text(z.Spalte, z.Zeile), Modell_.Anzeigetrenner)) return z;
    }
    return std::nullopt;
}

bool TMatrixBearbeitung::ArtikelWechseln(int a) {
    if (a < 0 || a >= AnzahlArtikel() || !EingabePruefen()) return false;
    ArtikelSpeichern(Angezeigt);
    ArtikelLaden(a);
    return true;
}

bool TMatrixBearbeitung::Abschliessen() {
    if (!EingabePruefen()) return false;
    ArtikelSpeichern(Angezeigt);
    return true;
}

// ---------------------------------------------------------------- Anteile

bool TMatrixBearbeitung::AnteilshilfeMoeglich(int zeile) const {
    return ArtDesKnotens == TMatrixArt::Verzweigung && zeile >= 2 && zeile < ZeilenZahl;
}

void TMatrixBearbeitung::AlleZumAusgang(int zeile) {
    if (!AnteilshilfeMoeglich(zeile)) return;
    for (int c = 2; c < SpaltenZahl; ++c)
        for (int r = 2; r < ZeilenZahl; ++r) TextSetzen(c, r, Zahlentext(r == zeile ? 100.0 : 0.0, true));
}

bool TMatrixBearbeitung::ErgaenzenAuf100(int spalte, int zeile) {
    if (!AnteilshilfeMoeglich(zeile) || spalte < 2 || spalte >= SpaltenZahl) return false;
    double summe = 0.0;
    for (int r = 2; r < ZeilenZahl; ++r) {
        if (r == zeile) continue;
        const std::optional<double> wert = MatrixZahl(Text(spalte, r), Modell_.Anzeigetrenner);
        if (!wert) {
            Plattform().Signalton->Piep();
            return false;
        }
        summe += *wert;
    }
    TextSetzen(spalte, zeile, Zahlentext(100.0 - summe, true));
    return true;
}

void TMatrixBearbeitung::HundertProzent(int spalte, int zeile) {
    if (!AnteilshilfeMoeglich(zeile) || spalte < 2 || spalte >= SpaltenZahl) return;
    for (int r = 2; r < ZeilenZahl; ++r) TextSetzen(spalte, r, Zahlentext(r == zeile ? 100.0 : 0.0, true));
}

// ---------------------------------------------------------------- Übernehmen

bool MatrizenGleich(const TDyn3DMatrix& a, const TDyn3DMatrix& b) {
    if (a.Dim1() != b.Dim1() || a.Dim2() != b.Dim2() || a.Dim3() != b.Dim3()) return false;
    const double* x = a.Daten();
    const double* y = b.Daten();
    for (size_t i = 0; i < a.AnzahlZellen(); ++i) {
        if (!(x[i] == y[i] || (std::isnan(x[i]) && std::isnan(y[i])))) return false;
    }
    return true;
}

} // namespace tessomir
