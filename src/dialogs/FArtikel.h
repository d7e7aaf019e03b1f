#pragma once
// Artikel bearbeiten: Einfügen, Umbenennen und Löschen der Artikel des
// Modells, mit dem der Dialog gefüllt wurde. Jede Änderung geht sofort ins Modell; danach macht das
// Hauptfenster den ausgewählten Eintrag zum aktuellen Artikel.
#include <QDialog>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace tessomir {

class TModell;
class TVerlauf;

class TFMArtikel : public QDialog {
    Q_OBJECT
public:
    explicit TFMArtikel(QWidget* eltern = nullptr);

    // Füllt die Liste aus dem Modell und wählt dessen aktuellen Artikel; die
    // Schalter bearbeiten danach dieses Modell.
    void Fuellen(TModell& modell);
    // Der ausgewählte Eintrag nach dem Schliessen, -1 ohne Auswahl.
    int AuswahlIndex() const;
    // Esc und das Schliessfeld schliessen wie "Schliessen": die Änderungen
    // sind ohnehin schon im Modell.
    void reject() override { accept(); }
    // Nimmt jedes Einfügen, Umbenennen und Löschen als Schritt auf (nullptr: nicht).
    TVerlauf* Verlauf = nullptr;

    QWidget* PAEigenschaften;
    QLineEdit* EDBezeichnung;
    QLabel* LAVorhandene;
    QListWidget* LBVorhandene;
    QWidget* PASchalter;
    QPushButton* BTAendern;
    QPushButton* BTEinfuegen;
    QPushButton* BTLoeschen;
    QPushButton* BTHilfe;
    QPushButton* BTAbbrechen;

    QAction* ACArtikelAendern;
    QAction* ACArtikelEinfuegen;
    QAction* ACArtikelLoeschen;
    QAction* ACHilfe;

private:
    void LBVorhandeneClick();
    void ACArtikelAendernExecute();
    void ACArtikelEinfuegenExecute();
    void ACArtikelLoeschenExecute();
    // Freigaberegeln der drei Artikelaktionen.
    void AktionenAktualisieren();
    // Name aus dem Feld, wenn er ein Artikelname sein kann; sonst Meldung.
    bool NameGueltig(std::string& ansi) const;
    // Führt einen Befehl aus; ein Fehler wird gemeldet, das Modell bleibt.
    void Befehl(const std::function<void()>& befehl);
    void Auswaehlen(int i);

    TModell* Modell = nullptr;
};

} // namespace tessomir
