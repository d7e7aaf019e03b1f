#pragma once
// Matrixeditor: zeigt und bearbeitet die Matrix eines Knotens, einen Artikel
// nach dem anderen, auf einer Arbeitskopie. Erst MatrixUebernehmen nach OK
// ändert den Knoten.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class QToolButton;

namespace tessomir {

class TKnoten;
class TVerlauf;
class TMatrixBearbeitung;

class TFMMatrix : public QDialog {
    Q_OBJECT
public:
    explicit TFMMatrix(QWidget* eltern = nullptr);
    ~TFMMatrix() override;

    // Kopiert die Matrix, baut das Raster nach den Artikeln des Modells, zu
    // dem der Knoten gehört, und setzt Titel und Größe.
    void KnotenSetzen(TKnoten* knoten);
    void ArtikelListeSetzen(const std::vector<std::string>& artikel, int position);
    // Nach OK: gibt dem Knoten die Arbeitskopie als Schritt "Matrix" (in
    // 'verlauf', wenn nicht nullptr); true, wenn sich seine Matrix geändert hat.
    bool MatrixUebernehmen(TVerlauf* verlauf = nullptr);

    // Wurde der Zelleneditor geöffnet, seit der Knoten gesetzt ist?
    bool Geaendert() const { return GeaendertFlag; }
    // 0 Quelle, 1 Verzweigung, 2 Senke, 3 Wandler, -1 ohne Knoten.
    int KnotenArt() const;
    int AnzeigeArtikel() const;
    const TMatrixBearbeitung* Bearbeitung() const { return Raster.get(); }

    // Was "Eigenschaften..." tut; ohne Zuweisung ein eigener Eigenschaftendialog.
    std::function<void()> EigenschaftenAusfuehren;

    // OK prüft und speichert den gezeigten Artikel; ein Fehler hält den Dialog offen.
    void done(int ergebnis) override;

    QWidget* PAOben;
    QToolButton* SPVorhArtikel;
    QToolButton* SPNaeArtikel;
    QLabel* LAArtikel;
    QFrame* PAArtikel;
    QLabel* LAArtikelAnzeige;
    QTableView* SGMatrix;
    QMenu* PU;
    QWidget* PAUnten;
    QPushButton* BTHilfe;
    QPushButton* BTEigenschaften;
    QPushButton* BTOK;
    QPushButton* BTAbbrechen;

    QAction* ACNaeArtikel;
    QAction* ACVorhArtikel;
    QAction* ACAlleZumAusgang;
    QAction* ACErgaenzenAuf100;
    QAction* AC100Prozent;
    QAction* ACOk;
    QAction* ACHilfe;
    QAction* ACEinfuegen;
    // Eintrag von ACOk im Kontextmenü (zeigt Strg+S).
    QAction* UMOk;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    class TTabelle;
    class TZellenmaler;

    QAction* Aktion(const char* name, const QString& text, const QString& lesbar, const QKeySequence& taste,
                    void (TFMMatrix::*ausfuehren)());
    void ArtikelAnzeigen();
    void AktionenAktualisieren();
    void ZelleWaehlen(int spalte, int zeile);
    // Meldet UngueltigeEingabe und wählt die erste Zelle ohne Zahl, wenn es sie gibt.
    void UngueltigeZelleZeigen();
    int AktSpalte() const;
    int AktZeile() const;
    // Übernimmt oder verwirft den Text eines offenen Zelleneditors.
    void EditorBeenden(bool uebernehmen);
    // Keine Ausnahme verlässt einen Ereignisbehandler; die Arbeitskopie bleibt.
    void Sicher(const std::function<void()>& tun);
    bool RechteTaste(const QPoint& punkt);
    bool Spaltenziehen(QEvent* ereignis);

    void ACNaeArtikelExecute();
    void ACVorhArtikelExecute();
    void ACAlleZumAusgangExecute();
    void ACErgaenzenAuf100Execute();
    void AC100ProzentExecute();
    void ACOkExecute();
    void ACEinfuegenExecute();
    void ACHilfeExecute();
    void BTEigenschaftenClick();

    TKnoten* Knoten = nullptr;
    std::unique_ptr<TMatrixBearbeitung> Raster;
    TTabelle* Tabelle = nullptr;
    TZellenmaler* Maler = nullptr;
    bool GeaendertFlag = false;
    int Ziehspalte = -1;
};

} // namespace tessomir
