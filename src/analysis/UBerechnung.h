#pragma once
// Die Befehle "Prüfen" und "Neuberechnen", gemeinsam für Programm und Kommandozeile.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/UPruefung.h"
#include "base/UPlattform.h"
#include "model/UKnoten.h"

namespace tessomir {

enum class TBerechnungsErgebnis { PruefungFehlerhaft, BerechnungFehlerhaft, BerechnungOK };

// Prüft und berechnet. 'maxStromAnzeigen' wird zu Beginn und nach dem
// Ermitteln des größten Stroms gerufen (Statusleiste des Programms). Was
// scheiterte, steht im Protokoll; die Meldung dazu gibt ErgebnisMeldung.
// 'uhr' misst die Berechnungsdauer (ohne: die Uhr der Plattform; wer in
// mehreren Fäden rechnet, gibt jedem eine eigene).
TBerechnungsErgebnis ModellNeuberechnen(TModell& modell, const std::function<void()>& maxStromAnzeigen = {},
                                        IUhr* uhr = nullptr);
// PruefFehlerMeldung, BerechnungsFehlerMeldung oder "" für BerechnungOK.
const char* ErgebnisMeldung(TBerechnungsErgebnis ergebnis);

// Für beide Rechnungen: berechneter Höchststrom 0, Änderungen der Knoten zurück.
void BerechnungVorbereiten(TModell& modell);
// Der größte Strom eines Objekts nach der Rechnung.
void MaxStromErmitteln(TModell& modell);

// Die Vergleichsrechnung: dieselben Durchgänge Schritt für Schritt über die
// Knoten, für Tests und das erste Fuzz-Ziel; das Programm rechnet mit
// TBerechnungsPlan. Beide rechnen bitgleich.
// Eingänge aller Knoten übernehmen; größte Bewertung. 'alleStabil' sagt, ob
// jede Verzweigung und jeder Wandler Stabil bewertet wurde.
TBerechnungsZustand EingangsDurchgang(TModell& modell, bool* alleStabil = nullptr);
void AusgangsDurchgang(TModell& modell);
// Ein Knoten übernimmt, was an seinen Eingängen ankommt, und bewertet es.
TBerechnungsZustand EingaengeUebernehmen(TKnoten& knoten);
// Eine Verzweigung oder ein Wandler rechnet ihre Ausgänge.
void AusgaengeBerechnen(TKnoten& knoten);

// Die Zellen, die die Durchgänge lesen und schreiben, einmal zu Beginn einer
// Berechnung aufgesucht: die Durchgänge laufen dann über zusammenhängende
// Einträge in Knotenreihenfolge, statt je Knoten den Wegen und Matrixköpfen
// nachzugehen. Rechnet genau wie EingangsDurchgang und
// AusgangsDurchgang. Die Adressen gelten nur, solange weder Wege noch
// Matrizen noch Artikel des Modells geändert werden: deshalb lebt ein Plan
// nur für eine Berechnung. Die Änderungsbeträge der Knoten führt er selbst
// und gibt sie im Destruktor an die Knoten zurück.
class TBerechnungsPlan {
public:
    explicit TBerechnungsPlan(TModell& modell);
    ~TBerechnungsPlan();
    TBerechnungsPlan(const TBerechnungsPlan&) = delete;
    TBerechnungsPlan& operator=(const TBerechnungsPlan&) = delete;

    // Ein Eingangs- und ein Ausgangsdurchgang in einem Lauf über die Knoten:
    // jeder Knoten übernimmt, was die anderen im vorigen Durchgang ausgaben,
    // und rechnet gleich seine Ausgänge, solange seine Matrix im Cache liegt.
    TBerechnungsZustand Durchgang(bool* alleStabil = nullptr) { return Lauf<true>(alleStabil); }
    // Nur übernehmen: der abschließende Eingangsdurchgang nach der Ruhe.
    TBerechnungsZustand EingangsDurchgang(bool* alleStabil = nullptr) { return Lauf<false>(alleStabil); }

private:
    // Ein Eingangsweg: die Eingangszellen des Knotens (nullptr: keine Scheibe
    // dafür). Was der Weg liefert, steht je Artikel in 'Zulaeufe'.
    struct TEingang {
        double* Ziel;
        size_t ZielSchritt;
        int ZielArtikel;
        int Nummer;
    };
    // Ein Knoten mit Eingängen; seine Eingänge folgen in 'Eingaenge' hintereinander.
    struct TKnotenSchritt {
        TKnoten* Knoten;
        double LetzteAenderung;
        int Artikel;
        int AnzahlEingaenge;
        bool Senke;   // übernimmt nur, bewertet nicht
        bool Wandler; // Meldungstext ohne Eingangsnummer
        bool Rechnet; // hat den nächsten Eintrag in 'Ausgaenge'
    };
    // Kopiert Ausgangszellen eines rechnenden Knotens an einen Platz in 'Zulaeufe'.
    struct TWeitergabe {
        const double* Quelle;
        size_t Schritt;
        size_t Platz;
        int Anzahl;
    };
    // Eine Verzweigung (P Eingänge, Q Ausgänge) oder ein Wandler (P Artikel);
    // danach gibt er seine Ausgänge an die Weitergaben ab 'ErsteWeitergabe'.
    struct TAusgang {
        double* Daten;
        size_t Schritt;
        size_t D3;
        int Artikel;
        int P;
        int Q;
        bool Wandler;
        uint32_t ErsteWeitergabe = 0;
        uint32_t AnzahlWeitergaben = 0;
    };

    template <bool MitAusgaengen> TBerechnungsZustand Lauf(bool* alleStabil);
    void AusgaengeRechnen(const TAusgang& a, double* naechste) const;
    void ZulaeufeAnlegen(const std::vector<const TWeg*>& wege, const std::vector<const TKnoten*>& rechnendeKnoten);

    std::vector<TKnotenSchritt> Knoten;
    std::vector<TEingang> Eingaenge;
    std::vector<TAusgang> Ausgaenge;
    // Was jeder Eingang liefert, in der Reihenfolge der Eingänge, zweimal:
    // gelesen wird der Stand des vorigen Durchgangs ('Jetzt'), die rechnenden
    // Knoten schreiben schon den nächsten ('Naechste'). So sieht kein Knoten,
    // was ein früherer im selben Durchgang ausgab, wie bei getrennten Durchgängen.
    std::vector<double> Zulaeufe;
    double* Jetzt = nullptr;
    double* Naechste = nullptr;
    std::vector<TWeitergabe> Weitergaben;
    // Zuletzt, hinter den Feldern der Durchgänge: an erster Stelle kostete es
    // BM_Durchgang/Knoten:100000/geladen:1 rund 5 % (Median 4,35 statt
    // 4,12 ms in acht gepaarten Läufen), hier nichts (4,05 gegen 4,07 ms).
    TModell& Modell_;
};

} // namespace tessomir
