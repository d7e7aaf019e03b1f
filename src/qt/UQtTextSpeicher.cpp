#include "qt/UQtTextSpeicher.h"

#include <algorithm>

#include "qt/UQtText.h"

namespace tessomir {
namespace {

// Nicht unbegrenzt viele gerasterte Figuren.
constexpr size_t GroessteFigurenzahl = 20000;
constexpr size_t GroessteFigurSpannen = size_t{1} << 21;

} // namespace

TQtTextSpeicher::TTexte& TQtTextSpeicher::Texte(const QFont& schrift, const QFontMetrics& metrik) {
    // Gleiche Schrift auf einem Gerät anderer Auflösung hat andere Breiten.
    const std::string schluessel =
        schrift.key().toStdString() + '@' + std::to_string(metrik.fontDpi());
    return Schriften[schluessel];
}

// Erst der Text nach dem zuletzt gefundenen: BM_NeuzeichnenMessmodell 25,7
// statt 27,0 ms ohne (drei gepaarte Läufe); bei BM_NeuzeichnenZahlenUndNamen
// liegt der Unterschied im Rauschen (31,8 gegen 32,5 ms, vier Paare).
TQtTextSpeicher::TText* TQtTextSpeicher::TTexte::Suchen(std::string_view ansi) {
    if (const size_t naechster = Zuletzt + 1; naechster < Eintraege.size() && Eintraege[naechster].Schluessel == ansi) {
        Zuletzt = naechster;
        return &Eintraege[naechster].Text;
    }
    if (Plaetze.empty()) return nullptr;
    const size_t hash = TSchluesselHash{}(ansi);
    const size_t maske = Plaetze.size() - 1;
    for (size_t i = hash & maske;; i = (i + 1) & maske) {
        const TPlatz& p = Plaetze[i];
        if (p.NummerPlusEins == 0) return nullptr;
        // Erst der Hashwert: ein fremder Platz holt seinen Text gar nicht erst.
        if (p.Hash == hash && Eintraege[p.NummerPlusEins - 1].Schluessel == ansi) {
            Zuletzt = p.NummerPlusEins - 1;
            return &Eintraege[Zuletzt].Text;
        }
    }
}

TQtTextSpeicher::TText& TQtTextSpeicher::TTexte::Einfuegen(std::string_view ansi, TText text) {
    if (2 * (Eintraege.size() + 1) > Plaetze.size()) {
        Plaetze.assign(std::max<size_t>(1024, 2 * Plaetze.size()), TPlatz{});
        for (size_t i = 0; i < Eintraege.size(); ++i) Einordnen(i, TSchluesselHash{}(Eintraege[i].Schluessel));
    }
    Eintraege.push_back(TEintrag{std::string(ansi), std::move(text)});
    Zuletzt = Eintraege.size() - 1;
    Einordnen(Zuletzt, TSchluesselHash{}(ansi));
    return Eintraege.back().Text;
}

void TQtTextSpeicher::TTexte::Einordnen(size_t nummer, size_t hash) {
    const size_t maske = Plaetze.size() - 1;
    size_t i = hash & maske;
    while (Plaetze[i].NummerPlusEins != 0) i = (i + 1) & maske;
    Plaetze[i] = {hash, nummer + 1};
}

void TQtTextSpeicher::TTexte::Leeren() {
    Eintraege.clear();
    Plaetze.clear();
    Zuletzt = SIZE_MAX;
}

void TQtTextSpeicher::BildAnmelden(size_t bytes) {
    if (BildBytesGesamt + bytes > GroessteBildBytes) {
        for (auto& [name, texte] : Schriften) texte.FuerJeden([](TText& t) { t.Bilder.clear(); });
        BildBytesGesamt = 0;
    }
    BildBytesGesamt += bytes;
}

void TQtTextSpeicher::BildAbmelden(size_t bytes) { BildBytesGesamt -= std::min(bytes, BildBytesGesamt); }

TQtTextSpeicher::TFigurbild& TQtTextSpeicher::Figur(std::string_view schluessel) {
    if (const auto it = Figuren.find(schluessel); it != Figuren.end()) return it->second;
    if (Figuren.size() >= GroessteFigurenzahl || FigurSpannen >= GroessteFigurSpannen) {
        Figuren.clear();
        FigurSpannen = 0;
    }
    return Figuren.emplace(std::string(schluessel), TFigurbild{}).first->second;
}

TQtTextSpeicher::TText& TQtTextSpeicher::Text(TTexte& texte, std::string_view ansi, const QFont& schrift,
                                             const QFontMetrics& metrik) {
    if (TText* t = texte.Suchen(ansi)) return *t;
    if (Gesamt >= Groesste) {
        // Nur die Inhalte leeren: die Texte je Schrift bleiben als Objekte gültig.
        for (auto& [name, t] : Schriften) t.Leeren();
        Gesamt = 0;
        BildBytesGesamt = 0;
        ++Runden;
    }
    TText t;
    const QString q = QtAusAnsi(ansi);
    t.Text.setText(q);
    t.Text.setTextFormat(Qt::PlainText); // Namen wie "<b>" sind Text, kein HTML
    t.Text.prepare(QTransform(), schrift);
    t.Breite = metrik.horizontalAdvance(q);
    ++Gesamt;
    return texte.Einfuegen(ansi, std::move(t));
}

} // namespace tessomir
