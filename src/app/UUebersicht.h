#pragma once
// Die Übersicht neben dem Diagramm: Filterfeld, Tabelle aller Knoten und Wege
// und "Als CSV speichern...". Sie folgt dem Modell, sobald das Fenster sie
// dazu auffordert, und nur, solange sie zu sehen ist.
#include <QDockWidget>
#include <functional>

class QLineEdit;
class QPushButton;
class QTableView;

namespace tessomir {

class TFO;
class TModell;
class TUebersichtModell;

class TUebersicht final : public QDockWidget {
    Q_OBJECT
public:
    explicit TUebersicht(QWidget* eltern);

    // Neues Modell im Fenster (nullptr: keins).
    void ModellSetzen(const TModell* modell, bool berechnet);
    // Nach Änderungen, Rückgängig, Berechnung und Artikelwechsel; verborgen
    // merkt sie es sich nur und holt es beim Zeigen nach.
    void Aktualisieren(bool berechnet);
    // Markiert die Zeilen der im Diagramm ausgewählten Objekte.
    void AuswahlZeigen();

    TUebersichtModell& Tabelle() const { return *TabellenModell; }
    // Breite, bei der alle Spalten zu sehen sind.
    int Wunschbreite() const;
    QTableView& Ansicht() const { return *SGUebersicht; }

    // Doppelklick auf eine Zeile.
    std::function<void(const TFO*)> ObjektZeigen;
    // "Als CSV speichern...": das Fenster fragt nach der Datei und schreibt.
    std::function<void()> CsvSpeichern;

private:
    void Nachholen();

    const TModell* Modell = nullptr;
    TUebersichtModell* TabellenModell = nullptr;
    QLineEdit* EDFilter = nullptr;
    QTableView* SGUebersicht = nullptr;
    QPushButton* BTCsv = nullptr;
    bool Berechnet = false;
    bool Veraltet = false;
};

} // namespace tessomir
