#pragma once
// Die Befehle "Prüfen" und "Neuberechnen", gemeinsam für Programm und Kommandozeile.
#include <cstddef>
#include <functional>
#include <vector>

#include "model/UModell.h"

namespace tessomir {

// Leert das Protokoll, prüft, schreibt "Daten OK" oder zeigt die Fehlermeldung.
bool ModellPruefen(TModell& modell);

enum class TBerechnungsErgebnis { PruefungFehlerhaft, BerechnungFehlerhaft, BerechnungOK };

// Prüft und berechnet. 'maxStromAnzeigen' wird zu Beginn und nach dem
// Ermitteln des größten Stroms gerufen (Statusleiste des Programms).
TBerechnungsErgebnis ModellNeuberechnen(TModell& modell, const std::function<void()>& maxStromAnzeigen = {});

// Die Zellen, die die Durchgänge lesen und schreiben, einmal zu Beginn einer
// Berechnung aufgesucht: die Durchgänge laufen dann über zusammenhängende
// Einträge in Knotenreihenfolge, statt je Knoten den Wegen und Matrixköpfen
// nachzugehen. Rechnet genau wie TModell::EingangsDurchgang und
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

    TBerechnungsZustand EingangsDurchgang(bool* alleStabil = nullptr);
    void AusgangsDurchgang();

private:
    // Ein Eingangsweg: Ausgangszellen des Startknotens (nullptr: liefert 0)
    // und die Eingangszellen des Knotens (nullptr: keine Scheibe dafür).
    struct TEingang {
        const double* Quelle;
        double* Ziel;
        size_t QuellSchritt;
        size_t ZielSchritt;
        int QuellArtikel;
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
    };
    // Eine Verzweigung (P Eingänge, Q Ausgänge) oder ein Wandler (P Artikel).
    struct TAusgang {
        double* Daten;
        size_t Schritt;
        size_t D3;
        int Artikel;
        int P;
        int Q;
        bool Wandler;
    };

    std::vector<TKnotenSchritt> Knoten;
    std::vector<TEingang> Eingaenge;
    std::vector<TAusgang> Ausgaenge;
};

} // namespace tessomir
