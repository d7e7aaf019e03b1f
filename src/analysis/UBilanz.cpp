#include "analysis/UBilanz.h"

#include <algorithm>

#include "base/UText.h"
#include "base/UVorabladen.h"
#include "base/UWerte.h"
#include "persistence/UStromCsv.h"

namespace tessomir {
namespace {

double Zelle(const TDyn3DMatrix& m, int a, int b, int c) {
    const double* z = m.Zelle(a, b, c);
    return z != nullptr ? *z : 0.0;
}

// Summe über alle Artikel oder der eine.
template <class F> double JeArtikel(const TModell& modell, int artikel, F wert) {
    if (artikel != SummeArtikel) return wert(artikel);
    double s = 0.0;
    for (int a = 0; a < modell.AnzahlArtikel(); ++a) s += wert(a);
    return s;
}

double Eingaenge(const TKnoten& k, int a) {
    double s = 0.0;
    for (int j = 1; j <= k.AnzahlEingaenge(); ++j) s += Zelle(k.Matrix(), a, j, 0);
    return s;
}

double Ausgaenge(const TKnoten& k, int a) {
    double s = 0.0;
    for (int j = 1; j <= k.AnzahlAusgaenge(); ++j) s += Zelle(k.Matrix(), a, 0, j);
    return s;
}

} // namespace

double WegStrom(const TWeg& weg, int artikel) {
    const TKnoten* ziel = weg.Ziel();
    if (ziel == nullptr) return 0.0;
    const int p = ziel->EingangIndex(&weg);
    if (p < 0) return 0.0;
    return JeArtikel(*weg.Modell, artikel, [&](int a) { return Zelle(ziel->Matrix(), a, p + 1, 0); });
}

double VerzweigungsStrom(const TVerzweigung& v, int artikel) {
    return JeArtikel(*v.Modell, artikel, [&](int a) { return Eingaenge(v, a); });
}

double AngezeigterStrom(const TFO& objekt, int artikel) {
    if (const TWeg* w = objekt.AlsWeg(); w != nullptr) return WegStrom(*w, artikel);
    const TKnoten* k = objekt.AlsKnoten();
    if (k != nullptr && k->Art() == TKnotenArt::Verzweigung)
        return VerzweigungsStrom(static_cast<const TVerzweigung&>(*k), artikel);
    return 0.0;
}

int AnzeigeArtikel(const TModell& modell) { return modell.SummeAllerArtikel ? SummeArtikel : modell.AktArtikel; }

TBilanz KnotenBilanz(const TKnoten& knoten, int artikel) {
    TBilanz b;
    const TModell& m = *knoten.Modell;
    switch (knoten.Art()) {
    case TKnotenArt::Quelle:
        b.Ablauf = JeArtikel(m, artikel, [&](int a) { return Ausgaenge(knoten, a); });
        b.Zulauf = b.Ablauf;
        break;
    case TKnotenArt::Senke:
        b.Zulauf = JeArtikel(m, artikel, [&](int a) { return Eingaenge(knoten, a); });
        b.Ablauf = b.Zulauf;
        break;
    default:
        b.Zulauf = JeArtikel(m, artikel, [&](int a) { return Eingaenge(knoten, a); });
        b.Ablauf = JeArtikel(m, artikel, [&](int a) { return Ausgaenge(knoten, a); });
        break;
    }
    return b;
}

namespace {

// Schreibt die n Artikel eines Knotens nach 'aus' (vorher genullt).
void BilanzenSchreiben(const TKnoten& knoten, int n, TBilanz* aus) {
    // Ein Gang über die Zellen ohne Prüfung je Zelle: die Grenzen stehen vorher fest.
    const TDyn3DMatrix& m = knoten.Matrix();
    const int artikel = std::min(n, m.Dim1());
    const int ein = std::min(knoten.AnzahlEingaenge(), m.Dim2() - 1);
    const int aus_ = std::min(knoten.AnzahlAusgaenge(), m.Dim3() - 1);
    const TKnotenArt art = knoten.Art();
    for (int a = 0; a < artikel; ++a) {
        TBilanz& b = aus[a];
        for (int j = 1; j <= ein; ++j) b.Zulauf += m.W(a, j, 0);
        for (int k = 1; k <= aus_; ++k) b.Ablauf += m.W(a, 0, k);
        if (art == TKnotenArt::Quelle) b.Zulauf = b.Ablauf;
        else if (art == TKnotenArt::Senke) b.Ablauf = b.Zulauf;
    }
}

} // namespace

void KnotenBilanzen(const TKnoten& knoten, std::vector<TBilanz>& jeArtikel) {
    const int n = knoten.Modell->AnzahlArtikel();
    jeArtikel.assign(static_cast<size_t>(n), TBilanz{});
    BilanzenSchreiben(knoten, n, jeArtikel.data());
}

void AlleKnotenBilanzen(const TModell& modell, std::vector<TBilanz>& alle) {
    const std::vector<TKnoten*>& knoten = modell.FOListe.Knoten();
    const int n = modell.AnzahlArtikel();
    alle.assign(knoten.size() * static_cast<size_t>(n), TBilanz{});
    // Wie die Durchgänge: die Knoten liegen verstreut, also den vierten
    // voraus und die Zellen des zweiten voraus schon anfordern
    // (BM_BilanzAllerKnoten: ZuDurchgang 2,00 ohne, 1,68 und 1,81 mit; Mediane
    // aus je drei Läufen).
    for (size_t i = 0; i < knoten.size(); ++i) {
        if (i + 4 < knoten.size()) Vorabladen(knoten[i + 4]);
        if (i + 2 < knoten.size()) Vorabladen(knoten[i + 2]->Matrix().Daten());
        BilanzenSchreiben(*knoten[i], n, alle.data() + i * static_cast<size_t>(n));
    }
}

std::vector<TBilanz> ModellBilanz(const TModell& modell) {
    std::vector<TBilanz> bilanz(static_cast<size_t>(modell.AnzahlArtikel()));
    for (const TKnoten* k : modell.FOListe.Knoten()) {
        const TKnotenArt art = k->Art();
        if (art != TKnotenArt::Quelle && art != TKnotenArt::Senke) continue;
        for (int a = 0; a < modell.AnzahlArtikel(); ++a) {
            if (art == TKnotenArt::Quelle) bilanz[static_cast<size_t>(a)].Zulauf += Ausgaenge(*k, a);
            else bilanz[static_cast<size_t>(a)].Ablauf += Eingaenge(*k, a);
        }
    }
    return bilanz;
}

const char* DifferenzText(const TKnoten& knoten) {
    return knoten.Art() == TKnotenArt::Wandler ? "Umwandlung" : "Differenz";
}

std::string BilanzAlsCsv(const TModell& modell) {
    const auto feld = [](const std::string& ansi) { return CsvFeld(Utf8AusAnsi(ansi)); };
    const auto zahlen = [](const TBilanz& b) {
        return TextAusFloat(b.Zulauf, '.') + "," + TextAusFloat(b.Ablauf, '.') + "," + TextAusFloat(b.Differenz(), '.');
    };
    std::string csv = "FONr,Name,Art,Artikel,Zulauf,Ablauf,Differenz\r\n";
    std::vector<TBilanz> alle;
    AlleKnotenBilanzen(modell, alle);
    const size_t n = static_cast<size_t>(modell.AnzahlArtikel());
    for (size_t i = 0; i < modell.FOListe.Knoten().size(); ++i) {
        const TKnoten* k = modell.FOListe.Knoten()[i];
        const std::string kopf = std::to_string(k->FONr) + "," + feld(k->Name) + "," + ArtText(*k) + ",";
        for (size_t a = 0; a < n; ++a)
            csv += kopf + feld(modell.ArtikelListe[a]) + "," + zahlen(alle[i * n + a]) + "\r\n";
    }
    const std::vector<TBilanz> gesamt = ModellBilanz(modell);
    for (int a = 0; a < modell.AnzahlArtikel(); ++a)
        csv += ",Modell,," + feld(modell.ArtikelListe[static_cast<size_t>(a)]) + "," + zahlen(gesamt[static_cast<size_t>(a)]) +
               "\r\n";
    return csv;
}

} // namespace tessomir
