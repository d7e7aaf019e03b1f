#pragma once
// Zeichenfläche auf einem QPainter: Bild, Fenster, Drucker, SVG oder PDF.
// Raster wie GDI: Rechtecke und Ellipsen ohne rechten und unteren Rand,
// Linien ohne ihren Endpunkt, Stift ein Gerätepixel breit (bei Pixelverhältnis
// 2 zwei), keine Kantenglättung der Figuren. Nicht-Xor braucht ein Gerät mit Rasteroperationen
// (QImage); auf den anderen wird dann normal gezeichnet.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <functional>
#include <string>
#include <string_view>
#include <optional>
#include <vector>

#include "view/UZeichenflaeche.h"

namespace tessomir {

// Fertig gesetzte Texte mit ihrer Breite, je Schrift und Auflösung. Das
// Setzen (Formen der Glyphen) kostet ein Vielfaches des Malens; wer oft
// dasselbe Diagramm zeichnet, hält einen Speicher über alle Zeichenvorgänge.
// Dazu die Bilder der Texte und die gerasterten kleinen Figuren.
// Darf die QGuiApplication nicht überleben.
class TQtTextSpeicher {
public:
    // Ein Text fertig gemalt samt Grund seines Kastens, für ein Paar aus
    // Schrift- und Grundfarbe auf einer Art Rasterbild, Zeile für Zeile in
    // einem Block. Unbrauchbar reicht der Text über seinen Kasten hinaus und
    // wird jedes Mal gemalt.
    struct TTextbild {
        uint32_t Schriftfarbe = 0, Grundfarbe = 0;
        int Format = 0, Hinweise = 0, PunkteX = 0, PunkteY = 0;
        bool Brauchbar = false;
        int Breite = 0, Hoehe = 0;
        std::vector<uint32_t> Pixel;
        size_t Bytes() const { return Pixel.capacity() * sizeof(uint32_t); }
    };
    struct TText {
        QStaticText Text;
        int Breite = 0;
        std::vector<TTextbild> Bilder;
    };
    // Suche mit string_view, ohne für jeden Text einen Schlüssel anzulegen.
    struct TSchluesselHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Texte einer Schrift. Die Texte liegen in der Reihenfolge, in der sie
    // zuerst gebraucht wurden (ihre Adressen bleiben), gefunden werden sie
    // über ein flaches Verzeichnis aus Hashwert und Nummer. Ein Bild fragt
    // seine Texte meist in derselben Reihenfolge wie das vorige: deshalb wird
    // zuerst der Text nach dem zuletzt gefundenen verglichen, der schon im
    // Cache liegt, und nur sonst das Verzeichnis befragt.
    class TTexte {
    public:
        TText* Suchen(std::string_view ansi);
        // Nur für einen Text, der noch nicht da ist.
        TText& Einfuegen(std::string_view ansi, TText text);
        size_t Anzahl() const { return Eintraege.size(); }
        void Leeren();
        template <class F> void FuerJeden(F&& f) {
            for (auto& e : Eintraege) f(e.Text);
        }

    private:
        struct TEintrag {
            std::string Schluessel;
            TText Text;
        };
        struct TPlatz {
            size_t Hash = 0;
            size_t NummerPlusEins = 0; // 0: frei
        };
        void Einordnen(size_t nummer, size_t hash);

        std::deque<TEintrag> Eintraege;
        // Zweierpotenz, höchstens halb belegt; leer, solange kein Text da ist.
        std::vector<TPlatz> Plaetze;
        size_t Zuletzt = SIZE_MAX;
    };

    // Eine kleine Figur (Vieleck, Ellipse), wie Qt sie rastert: Spannen einer
    // Farbe je Zeile, relativ zum Bezugspunkt der Figur. Gerastert wird erst,
    // wenn dieselbe Figur ein zweites Mal vorkommt.
    struct TSpanne {
        int16_t Dy = 0, Dx = 0;
        uint16_t Laenge = 0;
        uint32_t Farbe = 0;
    };
    struct TFigurbild {
        bool Gesehen = false, Gerastert = false;
        // Nur ganz deckende Pixel und Rand frei: dann gleichen die Spannen dem Malen.
        bool Brauchbar = false;
        // Die berührten Pixel, rechts und unten ausschließlich.
        int Links = 0, Oben = 0, Rechts = 0, Unten = 0;
        std::vector<TSpanne> Spannen;
    };
    // Die Figur zum Schlüssel, neu und leer, wenn es sie noch nicht gibt.
    TFigurbild& Figur(std::string_view schluessel);
    void FigurGerastert(size_t spannen) { FigurSpannen += spannen; }
    size_t FigurAnzahl() const { return Figuren.size(); }

    // Höchstzahl der Texte; darüber beginnt der Speicher von vorn.
    // Die Bilder der Texte belegen zusammen höchstens 'bildBytes'.
    explicit TQtTextSpeicher(size_t groesste = 200000, size_t bildBytes = size_t{96} << 20)
        : Groesste(groesste), GroessteBildBytes(bildBytes) {}
    TQtTextSpeicher(const TQtTextSpeicher&) = delete;
    TQtTextSpeicher& operator=(const TQtTextSpeicher&) = delete;

    // Texte einer Schrift; die Referenz bleibt gültig, solange der Speicher lebt.
    TTexte& Texte(const QFont& schrift, const QFontMetrics& metrik);
    TText& Text(TTexte& texte, std::string_view ansi, const QFont& schrift, const QFontMetrics& metrik);
    size_t Anzahl() const { return Gesamt; }
    // Meldet ein neues Textbild an; ist kein Platz mehr, fallen zuvor alle Bilder weg.
    void BildAnmelden(size_t bytes);
    void BildAbmelden(size_t bytes);
    size_t BildBytes() const { return BildBytesGesamt; }
    // Zählt, wie oft der Speicher von vorn begann; ältere Verweise auf Texte gelten dann nicht mehr.
    size_t Runde() const { return Runden; }

private:
    size_t Groesste;
    size_t GroessteBildBytes;
    size_t Gesamt = 0;
    size_t BildBytesGesamt = 0;
    size_t Runden = 0;
    std::unordered_map<std::string, TTexte> Schriften;
    std::unordered_map<std::string, TFigurbild, TSchluesselHash, std::equal_to<>> Figuren;
    size_t FigurSpannen = 0;
};

class TQtZeichenflaeche final : public IZeichenflaeche {
public:
    // Der Maler muss aktiv sein und die Zeichenfläche überleben. Ohne
    // eigenen Textspeicher hält die Zeichenfläche einen für ihre Lebenszeit.
    explicit TQtZeichenflaeche(QPainter& maler, TQtTextSpeicher* speicher = nullptr);
    TQtZeichenflaeche(const TQtZeichenflaeche&) = delete;
    TQtZeichenflaeche& operator=(const TQtZeichenflaeche&) = delete;

    void StiftfarbeSetzen(TFarbe f) override;
    TFarbe Stiftfarbe() const override { return StiftFarbe; }
    void StiftmodusSetzen(TStiftModus m) override;
    TStiftModus Stiftmodus() const override { return Modus; }
    void PinselfarbeSetzen(TFarbe f) override;
    TFarbe Pinselfarbe() const override { return PinselFarbe; }
    void SchriftSetzen(const TSchrift& s) override;
    TSchrift Schrift() const override { return SchriftWert; }

    TTextgroesse TextAusmass(std::string_view text) override;
    void TextAusgeben(int32_t x, int32_t y, std::string_view text) override;
    void Polylinie(const std::vector<TBildpunkt>& punkte) override;
    void Polygon(const std::vector<TBildpunkt>& punkte) override;
    void Ellipse(const TRechteck& r) override;
    void Rechteck(const TRechteck& r) override;
    void RechteckFuellen(const TRechteck& r) override;
    void BewegeZu(int32_t x, int32_t y) override;
    void LinieZu(int32_t x, int32_t y) override;
    void ClipSetzen(const TRechteck& r) override;
    void ClipAufheben() override;
    TFarbe Fensterhintergrund() const override;

    // Stift, Pinsel, Schrift und Modus werden nur bei Änderungen an den Maler
    // gegeben. Wer den Maler selbst umstellt oder neu beginnt, ruft danach dies.
    void MalerGeaendert();

    // Schrifthöhen gelten in Bildschirmpunkten; auf einem Drucker werden sie
    // mit Druckerauflösung / Bildschirmauflösung vergrößert, damit Texte auf
    // Papier so groß wie auf dem Schirm werden.
    void SchriftskalaSetzen(double skala);

    // Ob Nicht-Xor auf diesem Gerät wirklich umkehrt.
    bool KannNichtXor() const { return RasterOps; }

    // Auf einem Rasterbild ohne Drehung und Streckung werden Texte samt Grund
    // einmal gemalt und danach als Bild kopiert (gleiche Pixel, viel schneller).
    // Aus: jeder Text wird jedes Mal gemalt.
    void TextbilderSetzen(bool an) { TextbilderErlaubt = an; }
    // Auf einem solchen Bild werden Flächen, Textbilder und kleine Figuren
    // unmittelbar in die Pixel geschrieben, mit denselben Werten wie Qt.
    // Aus: alles geht über den Maler.
    void UnmittelbarSetzen(bool an) {
        UnmittelbarErlaubt = an;
        ZielGeprueft = false;
    }

private:
    // Jede benutzte Farbe bekommt einmal ihren Stift und Pinsel; das Sichern
    // und Zurücksetzen der Farben bei jeder Figur legt so keine Qt-Objekte an.
    struct TQtFarbe {
        TFarbe Farbe;
        QPen Stift;
        QBrush Pinsel;
    };
    int FarbIndex(TFarbe f);
    // Was der Maler gerade eingestellt hat: Index in Farben, Keiner oder Unbekannt.
    static constexpr int Keiner = -1;
    static constexpr int Unbekannt = -2;
    void StiftAnwenden(int index);
    void PinselAnwenden(bool fuellen);
    void ModusAnwenden(TStiftModus m);
    void SchriftAnwenden();
    void StreifenFuellen(int x, int y, int w, int h, int farbe);
    // Die Pixel des Rasterbilds, in die ohne den Maler geschrieben werden darf:
    // ganze Verschiebung, Beschnitt ein Rechteck, Bild mit niemandem geteilt.
    struct TPixelziel {
        uchar* Bits = nullptr;
        qsizetype Zeilenbytes = 0;
        int Dx = 0, Dy = 0;
        QRect Beschnitt; // in Gerätepunkten, innerhalb des Bildes
    };
    const TPixelziel* Pixelziel();
    bool DeckendOhneMaler();
    void PixelFuellen(const TPixelziel& ziel, const QRect& geraet, uint32_t farbe);
    // Vieleck und Ellipse aus gemerkten Spannen; 'malen' zeichnet die Figur mit
    // Qt um den Bezugspunkt (0, 0) und wird nur zum Rastern gerufen.
    bool FigurAusSpannen(TBildpunkt bezug, int links, int oben, int rechts, int unten,
                         const std::function<void(QPainter&)>& malen);
    bool KleinesVieleckAusSpannen(const std::vector<TBildpunkt>& punkte);
    void FigurRastern(TQtTextSpeicher::TFigurbild& figur, int links, int oben, int rechts, int unten,
                      const std::function<void(QPainter&)>& malen);
    void SchluesselBeginnen(char art);
    void SchluesselAnhaengen(int32_t wert);
    TQtTextSpeicher::TText& TextHolen(std::string_view text);
    bool TextAlsBild(int x, int y, TQtTextSpeicher::TText& t);
    const TQtTextSpeicher::TTextbild* TextbildHolen(TQtTextSpeicher::TText& t);
    void TextbildAnlegen(TQtTextSpeicher::TText& t, TQtTextSpeicher::TTextbild& neu);
    void TextbildKopieren(const TPixelziel& ziel, int x, int y, const TQtTextSpeicher::TTextbild& bild);

    QPainter& Maler;
    bool RasterOps;
    // Das Ziel ist ein QImage, auf das Textbilder kopiert werden dürfen (ohne Blick auf die Abbildung).
    const QImage* Rasterbild = nullptr;
    bool TextbilderErlaubt = true;
    bool UnmittelbarErlaubt = true;
    bool ZielGeprueft = false;
    std::optional<TPixelziel> Ziel;
    std::string Schluessel;
    std::vector<QPoint> Relativ;
    // Was außer den Farben ein Textbild bestimmt; gilt bis MalerGeaendert().
    int BildFormat = 0, BildHinweise = 0, BildPunkteX = 0, BildPunkteY = 0;
    mutable std::optional<TFarbe> Hintergrund;

    TFarbe StiftFarbe = Schwarz;
    TStiftModus Modus = TStiftModus::Normal;
    TFarbe PinselFarbe = Weiss;
    TSchrift SchriftWert;
    double Schriftskala = 1.0;
    TBildpunkt Position;

    std::vector<TQtFarbe> Farben;
    // Breite jedes Stifts in Gerätepixeln: 0 (ein Pixel) bei Pixelverhältnis 1,
    // sonst das gerundete Verhältnis, damit Linien so kräftig wirken wie bei 1.
    int Strichbreite = 0;
    int StiftIndex = 0;
    int PinselIndex = 0;
    int TextIndex = 0;
    int MalerStift = Unbekannt;
    int MalerPinsel = Unbekannt;
    std::optional<TStiftModus> MalerModus;

    // Schrift und Maße werden nur bei einem Wechsel der Schrift neu gebildet.
    QFont SchriftQt;
    std::optional<QFontMetrics> Metrik;
    int Zeilenhoehe = 0;
    int Probenrand = 8;
    // Hier entstehen neue Textbilder; der Maler bleibt für alle offen.
    QImage Probe;
    std::unique_ptr<QPainter> ProbeMaler;
    bool SchriftAmMaler = false;
    std::unique_ptr<TQtTextSpeicher> EigenerSpeicher;
    TQtTextSpeicher* Speicher;
    TQtTextSpeicher::TTexte* Texte = nullptr;
    // Der zuletzt geholte Text: Messen und Ausgeben folgen meist aufeinander.
    TQtTextSpeicher::TText* LetzterText = nullptr;
    const TQtTextSpeicher::TTexte* LetzteTexte = nullptr;
    size_t LetzteRunde = 0;
    std::string LetzterSchluessel;
};

} // namespace tessomir
