#include "editing/UUebersicht.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/UBilanz.h"
#include "analysis/UEngpaesse.h"
#include "base/UText.h"
#include "base/UWerte.h"
#include "persistence/UStromCsv.h"

namespace tessomir {
namespace {

// Bei mehr Artikeln nennt der Hinweis nur die ersten und die Summe.
constexpr int HinweisArtikelHoechstens = 12;

double Auslastung(double strom, double kapazitaet) {
    if (kapazitaet > 0.0) return strom * 100.0 / kapazitaet;
    return strom > 0.0 ? std::numeric_limits<double>::infinity() : 0.0;
}

bool HatStrom(const TFO& o) {
    const TKnoten* k = o.AlsKnoten();
    return o.AlsWeg() != nullptr || (k != nullptr && k->Art() == TKnotenArt::Verzweigung);
}

} // namespace

const char* SpaltenTitel(TSpalte spalte) {
    switch (spalte) {
    case TSpalte::Nr: return "Nr.";
    case TSpalte::Art: return "Art";
    case TSpalte::Name: return "Name";
    case TSpalte::Kapazitaet: return "Kapazit\xE4t";
    case TSpalte::Strom: return "Strom";
    case TSpalte::Auslastung: return "Auslastung %";
    case TSpalte::Zulauf: return "Zulauf";
    case TSpalte::Ablauf: return "Ablauf";
    case TSpalte::Differenz: return "Differenz";
    }
    return "";
}

bool IstZahlenspalte(TSpalte spalte) { return spalte != TSpalte::Art && spalte != TSpalte::Name; }

std::optional<double> Zellwert(const TFO& objekt, TSpalte spalte, const TUebersichtSicht& sicht) {
    const TKnoten* k = objekt.AlsKnoten();
    switch (spalte) {
    case TSpalte::Nr: return objekt.FONr;
    case TSpalte::Art:
    case TSpalte::Name: return std::nullopt;
    case TSpalte::Kapazitaet:
        if (HatKapazitaet(objekt)) return objekt.Kapazitaet;
        return std::nullopt;
    case TSpalte::Strom:
        if (sicht.Berechnet && HatStrom(objekt)) return AngezeigterStrom(objekt, sicht.Artikel);
        return std::nullopt;
    case TSpalte::Auslastung:
        if (sicht.Berechnet && HatStrom(objekt))
            return Auslastung(AngezeigterStrom(objekt, sicht.Artikel), objekt.Kapazitaet);
        return std::nullopt;
    case TSpalte::Zulauf:
    case TSpalte::Ablauf:
    case TSpalte::Differenz: {
        if (!sicht.Berechnet || k == nullptr) return std::nullopt;
        const TBilanz b = KnotenBilanz(*k, sicht.Artikel);
        return spalte == TSpalte::Zulauf ? b.Zulauf : spalte == TSpalte::Ablauf ? b.Ablauf : b.Differenz();
    }
    }
    return std::nullopt;
}

std::string Zelltext(const TFO& objekt, TSpalte spalte, const TUebersichtSicht& sicht) {
    if (spalte == TSpalte::Art) return ArtText(objekt);
    if (spalte == TSpalte::Name) return objekt.Name;
    const std::optional<double> wert = Zellwert(objekt, spalte, sicht);
    if (!wert) return {};
    if (spalte == TSpalte::Nr) return std::to_string(objekt.FONr);
    if (spalte == TSpalte::Auslastung) return AuslastungText(*objekt.Modell, *wert);
    return objekt.Modell->WertText(*wert);
}

std::vector<TFO*> UebersichtFiltern(const TModell& modell, const TSuche& suche) {
    std::vector<TFO*> zeilen;
    zeilen.reserve(modell.FOListe.Anzahl());
    for (const auto& o : modell.FOListe.Alle()) {
        if (o->AlsKnoten() == nullptr && o->AlsWeg() == nullptr) continue;
        if (suche.Leer() || suche.Passt(*o)) zeilen.push_back(o.get());
    }
    return zeilen;
}

void UebersichtSortieren(std::vector<TFO*>& zeilen, TSpalte spalte, bool absteigend, const TUebersichtSicht& sicht) {
    // Schlüssel einmal je Zeile statt in jedem Vergleich (Strom und Bilanz
    // lesen Matrixzellen, Namen werden gefaltet).
    struct TEintrag {
        TFO* Objekt;
        std::optional<double> Zahl;
        std::string Text;
    };
    std::vector<TEintrag> eintraege;
    eintraege.reserve(zeilen.size());
    for (TFO* o : zeilen) {
        TEintrag e{o, std::nullopt, {}};
        if (IstZahlenspalte(spalte)) e.Zahl = Zellwert(*o, spalte, sicht);
        else e.Text = spalte == TSpalte::Art ? std::string(ArtText(*o)) : Suchform(o->Name);
        eintraege.push_back(std::move(e));
    }
    const bool zahlen = IstZahlenspalte(spalte);
    std::stable_sort(eintraege.begin(), eintraege.end(), [&](const TEintrag& a, const TEintrag& b) {
        if (zahlen) {
            // Ohne Wert ans Ende, in jeder Richtung.
            if (a.Zahl.has_value() != b.Zahl.has_value()) return a.Zahl.has_value();
            if (!a.Zahl) return false;
            return absteigend ? *b.Zahl < *a.Zahl : *a.Zahl < *b.Zahl;
        }
        return absteigend ? b.Text < a.Text : a.Text < b.Text;
    });
    for (size_t i = 0; i < zeilen.size(); ++i) zeilen[i] = eintraege[i].Objekt;
}

std::string UebersichtAlsCsv(const std::vector<TFO*>& zeilen, const TUebersichtSicht& sicht) {
    std::string csv;
    for (int s = 0; s < SpaltenAnzahl; ++s) {
        if (s > 0) csv += ',';
        csv += CsvFeld(Utf8AusAnsi(SpaltenTitel(static_cast<TSpalte>(s))));
    }
    csv += "\r\n";
    for (const TFO* o : zeilen) {
        for (int s = 0; s < SpaltenAnzahl; ++s) {
            const auto spalte = static_cast<TSpalte>(s);
            if (s > 0) csv += ',';
            if (!IstZahlenspalte(spalte)) {
                csv += CsvFeld(Utf8AusAnsi(Zelltext(*o, spalte, sicht)));
            } else if (const std::optional<double> w = Zellwert(*o, spalte, sicht); w) {
                csv += spalte == TSpalte::Nr ? std::to_string(o->FONr)
                       : std::isinf(*w)      ? std::string("unendlich")
                                             : TextAusFloat(*w, '.');
            }
        }
        csv += "\r\n";
    }
    return csv;
}

std::string ObjektHinweis(const TFO& objekt, bool berechnet) {
    const TModell& m = *objekt.Modell;
    std::string text = Gekuerzt(objekt.Name) + " (" + ArtText(objekt) + " #" + std::to_string(objekt.FONr) + ")";
    if (HatKapazitaet(objekt)) text += "\nKapazit\xE4t: " + m.WertText(objekt.Kapazitaet);
    if (!berechnet) return text + "\nNicht berechnet";
    const int n = m.AnzahlArtikel();
    const int gezeigt = std::min(n, HinweisArtikelHoechstens);
    const TKnoten* k = objekt.AlsKnoten();
    const auto zeile = [&](int artikel) {
        const std::string name = artikel == SummeArtikel ? std::string("Summe")
                                                         : Gekuerzt(m.ArtikelListe[static_cast<size_t>(artikel)]);
        if (k == nullptr) return "\n" + name + ": " + m.WertText(AngezeigterStrom(objekt, artikel));
        const TBilanz b = KnotenBilanz(*k, artikel);
        return "\n" + name + ": Zulauf " + m.WertText(b.Zulauf) + ", Ablauf " + m.WertText(b.Ablauf) + ", " +
               DifferenzText(*k) + " " + m.WertText(b.Differenz());
    };
    for (int a = 0; a < gezeigt; ++a) text += zeile(a);
    if (gezeigt < n) text += "\n\x85 " + std::to_string(n - gezeigt) + " weitere Artikel";
    if (n > 1) text += zeile(SummeArtikel);
    if (HatStrom(objekt) && HatKapazitaet(objekt)) {
        const int artikel = AnzeigeArtikel(m);
        text += "\nAuslastung (" + EngpassArtikelText(m, artikel) + "): " +
                AuslastungText(m, Auslastung(AngezeigterStrom(objekt, artikel), objekt.Kapazitaet)) + " %";
    }
    return text;
}

} // namespace tessomir
