#pragma once
// Der Speicher der Qt-Zeichenfläche: gesetzte Texte, ihre Bilder und gerasterte Figuren.
#include <QFont>
#include <QFontMetrics>
#include <QStaticText>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

} // namespace tessomir
