#pragma once
// Das Hauptfenster: Werkzeugleiste, Menüs, Aktionen, Zeichenfläche,
// Protokollfenster und Statusleiste; Lebenslauf des einen aktuellen Modells
// (Neu, Öffnen, Speichern, Schliessen, Beenden) und die Fensterlage.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

#include "app/UDateiwahl.h"
#include "editing/UDokument.h"
#include "persistence/UModellDatei.h"
#include "persistence/UWiederherstellung.h"
#include "editing/UEditor.h"
#include "editing/USuche.h"
#include "view/UTrefferindex.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QDragEnterEvent;
class QDropEvent;
class QMouseEvent;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;

namespace tessomir {

class TAnsicht;
class TModell;
class TQtPlattform;
class TZeichenfeld;
class TFMEigenschaften;
class TUebersicht;
class TSankeyLegende;
class TErgebnisDock;
class TVergleichsanzeige;
class TVerlauf;

// Ausgang von Schliessen und Speichern.
enum class TErgebnis { Erledigt, Abgebrochen };

// Das Fenster ist die Fläche des Editors: es zeichnet, was der Editor verlangt.
class TFMHaupt final : public QMainWindow, private IEditorFlaeche {
    Q_OBJECT
public:
    // Einfügemodus: was ein Klick auf die Zeichenfläche tut.
    using TEinfuegemodus = tessomir::TEinfuegemodus;
    using enum tessomir::TEinfuegemodus;

    // 'befehlsdatei' ist der erste Parameter der Befehlszeile (leer: keiner).
    // Ohne eigene Dateiwahl zeigt das Fenster die Qt-Dateidialoge.
    explicit TFMHaupt(const QString& befehlsdatei = QString(), std::unique_ptr<IDateiwahl> dateiwahl = nullptr,
                      QWidget* eltern = nullptr);
    ~TFMHaupt() override;

    // Macht ein neues Modell aus der Datei zum aktuellen; Fehler zeigt ein
    // Meldungsfenster, dann gibt es kein Modell.
    void ModellLaden(const QString& pfad);
    // Dasselbe mit den Bytes des Pfads, wie die Befehlszeile sie gibt: auch ein
    // Name, der kein gültiges UTF-8 ist, lässt sich so öffnen.
    void ModellLadenPfad(const std::string& pfad);
    TErgebnis ModellSpeichern(bool speichernUnter);
    TErgebnis ModellSchliessen();

    // Schreibt die Kopie zur Wiederherstellung, solange das Modell geändert
    // ist (alle zwei Minuten und vor einer Berechnung), und verwirft sie sonst.
    void WiederherstellungSichern();
    // Beim Start: bietet an, was ein abgestürztes Tessomir hinterließ.
    void WiederherstellungAnbieten();
    const TWiederherstellung& Wiederherstellung() const { return *WiederherstellungObjekt; }

    // Alle Freigabe- und Markierregeln der Aktionen; läuft, bevor die
    // Ereignisschleife wartet, und vor dem Doppelklick.
    void AktionenAktualisieren();

    void ArtikelAnzeigen();
    void MaxStromAnzeigen();
    void TitelAnzeigen();
    void ModifiziertAnzeigen();
    void LogAnfang();
    void Neuzeichnen() override;

    int Einfuegemodus() const { return Modus; }
    TAnsicht& Ansicht() { return *AnsichtObjekt; }
    // Das Modell im Fenster oder nullptr.
    TModell* Modell() const { return Dokument.Modell(); }
    // Öffnet das Kontextmenü PU an einem Bildschirmpunkt.
    void PopupOeffnen(const QPoint& global);
    const TEditor& Editor() const { return *EditorObjekt; }
    const TVerlauf& Verlauf() const { return Dokument.Verlauf(); }
    TUebersicht& Uebersicht() const { return *DKUebersicht; }

    // Wählt ein Objekt allein aus, rollt es in die Mitte des sichtbaren
    // Ausschnitts und hebt es kurz hervor (Suche, Übersicht, Protokoll, Engpässe).
    void ObjektZeigen(const TFO* objekt);
    // Ändert den Massstab um 'schritte' Zoomschritte; der Modellpunkt unter
    // 'punkt' (im sichtbaren Ausschnitt) bleibt dort.
    void ZoomUm(const QPoint& punkt, int schritte);
    // Die Meldung im Statusfeld ganz rechts; nach einigen Sekunden wieder leer.
    void StatusMelden(const QString& text);
    QString StatusMeldung() const;

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    // Strg+Mausrad über dem Diagramm, Hinweise am Zeiger, Klick ins Protokoll.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    // Eine .TSR-Datei aus dem Dateimanager öffnet sich wie über "Öffnen...".
    void dragEnterEvent(QDragEnterEvent* ereignis) override;
    void dropEvent(QDropEvent* ereignis) override;

private slots:
    void ACDateiNeuExecute();
    void ACDateiOeffnenExecute();
    void ACDateiSpeichernExecute();
    void ACDateiSpeichernUnterExecute();
    void ACDateiSchliessenExecute();
    void ACDateiDruckenExecute();
    void ACDateiDruckvorschauExecute();
    void ACDateiExportierenExecute();
    void ACBearbeitenRueckgaengigExecute();
    void ACBearbeitenWiederholenExecute();
    void ACBearbeitenMatrixExecute();
    void ACBearbeitenEigenschaftenExecute();
    void ACBearbeitenArtikelExecute();
    void ACBearbeitenKapazitaetExecute();
    void ACBearbeitenPruefenExecute();
    void ACBearbeitenNeuberechnenExecute();
    void ACBearbeitenLoeschenExecute();
    void ACBearbeitenAllesAuswaehlenExecute();
    void ACAnsichtGroesserExecute();
    void ACAnsichtKleinerExecute();
    void ACAnsichtNaeArtikelExecute();
    void ACAnsichtVorhArtikelExecute();
    void ACAnsichtSummeExecute();
    void ACAnsichtEinstellungenExecute();
    void ACAnsichtEngpaesseExecute();
    void ACAnsichtGanzesModellExecute();
    void ACBearbeitenSuchenExecute();
    void ACBearbeitenWeitersuchenExecute();
    void ACDateiBeendenExecute();
    void ACDateiWerteEinlesenExecute();
    void ACDateiWerteSchreibenExecute();
    void ACAnsichtSankeyExecute();
    void ACAnsichtSankeyMassstabExecute();
    void ACDateiVergleichenExecute();
    void ACDateiVergleichBeendenExecute();
    void ACAnsichtEmpfindlichkeitExecute();
    void ACAnsichtHerkunftExecute();
    void ACBearbeitenSchlaufenExecute();
    void ACHilfeInhaltsverzeichnisExecute();
    void ACHilfeInfoExecute();

    void PBHauptMouseDown(QMouseEvent* ereignis);
    void PBHauptMouseMove(QMouseEvent* ereignis);
    void PBHauptMouseUp(QMouseEvent* ereignis);
    void PBHauptDblClick(QMouseEvent* ereignis);

private:
    using TAusfuehren = void (TFMHaupt::*)();

    void AktionenAnlegen();
    QAction* Aktion(const char* name, const QString& text, const QString& hinweis, const QKeySequence& taste, int bild,
                    TAusfuehren ausfuehren);
    QAction* EinfuegenAktion(const char* name, const QString& text, int bild, TEinfuegemodus modus);
    void MenuesAnlegen();
    void WerkzeugleisteAnlegen();
    void FlaecheAnlegen();
    void StatusleisteAnlegen();
    int Skaliert(int entwurf) const;
    void Benennen(QWidget* widget, const char* name, const QString& lesbar);

    // Führt einen Befehl aus; keine Ausnahme verlässt den Ereignisbehandler.
    void Befehl(const std::function<void()>& befehl);
    void ModellEinsetzen(std::unique_ptr<TModell> modell);
    bool Leerlauf() const;
    bool MatrixBearbeitbar() const;
    void EinfuegemodusSetzen(TEinfuegemodus modus);
    void NichtDarstellbarMelden(const QString& grund);

    // Nach Rückgängig und Wiederholen: Anzeigen und Bild wie das Modell.
    void VerlaufAnzeigen();
    // Zuletzt geöffnet: die letzten acht Dateien in den Einstellungen.
    void ZuletztMerken(const QString& pfad);
    void ZuletztVergessen(const QString& pfad);
    void ZuletztAnzeigen();

    void GroesseLesen();
    void GroesseSchreiben();

    // Fläche des Editors.
    void ModellUeberzeichnen() override;
    void Gummi(const std::function<void()>& zeichnen) override;
    void PopupOeffnen(TBildpunkt punkt) override;
    // Matrix, sonst Eigenschaften, je nach den Regeln in diesem Augenblick.
    void Doppelklick();
    // Rollt die Fläche, wenn ein Ziehen über den sichtbaren Rand geht.
    void RandRollen(const QPoint& punkt);
    // Suche ab dem Anfang der Liste oder hinter dem letzten Treffer.
    void Suchen(bool weiter);
    // Verbirgt die Suchleiste; die Tasten gehen wieder ans Diagramm.
    void SuchleisteSchliessen();
    // Hinweis am Zeiger über einem Objekt; false, wenn dort keins ist.
    bool HinweisZeigen(const QPoint& punkt, const QPoint& global);
    // Ein Klick ins Protokoll auf eine Zeile, die ein Objekt nennt.
    void ProtokollKlick(const QPoint& punkt);
    void UebersichtAnlegen();
    // Sankey-Ansicht: Aktionen, Knopf, Legende und die gemerkte Einstellung.
    void SankeyAnlegen();
    void SankeyEinstellungSichern() const;
    // Vergleich, Empfindlichkeit, Herkunft: Aktionen, Menüs und Ergebnislisten.
    void StudienAnlegen();
    // Differenzen neu aus den Strömen beider Modelle, Liste im angezeigten Artikel.
    void VergleichAktualisieren();
    // Das eine gewählte Objekt, wenn es ein Ziel sein kann (Weg, Verzweigung, Senke).
    const TFO* EinzelnesZiel() const;
    std::function<void()> CsvAnbieten(std::string csv, const QString& vorgabe);
    void UebersichtCsvSpeichern();
    void ArtikelGewaehlt(int index);

    std::unique_ptr<IDateiwahl> Dateiwahl;
    std::unique_ptr<TAnsicht> AnsichtObjekt;
    // Modell, Verlauf, Stand der Datei und ob berechnet ist.
    TDokument Dokument;
    // Nach dem Dokument: ein angefangener Weg hängt an einem Knoten des Modells.
    std::unique_ptr<TEditor> EditorObjekt;
    int Modus = Deaktiviert;
    bool GroesseGeschrieben = false;
    std::unique_ptr<TWiederherstellung> WiederherstellungObjekt;
    QTimer* WiederherstellungsTakt = nullptr;
    int WiederherstellungsTakte = 0;

    QSplitter* SPLog = nullptr;
    QScrollArea* SBoxHaupt = nullptr;
    TZeichenfeld* PBHaupt = nullptr;
    QPlainTextEdit* MELog = nullptr;
    QLabel* SBHauptPanel[3] = {};
    QLabel* SBHauptMeldung = nullptr;
    QTimer* MeldungsTakt = nullptr;
    QLabel* LAAktArtikel = nullptr;
    QComboBox* CBArtikel = nullptr;
    QLineEdit* EDSuchen = nullptr;
    QToolBar* TBSuchen = nullptr;
    TUebersicht* DKUebersicht = nullptr;
    TSankeyLegende* Legende = nullptr;
    TErgebnisDock* DKVergleich = nullptr;
    TErgebnisDock* DKEmpfindlichkeit = nullptr;
    TErgebnisDock* DKHerkunft = nullptr;
    // Die Variante im Vergleich und ihre Differenzen (leer: kein Vergleich).
    std::unique_ptr<TModell> Variante;
    std::string VariantenName;
    std::unique_ptr<TVergleichsanzeige> Vergleichsbild;
    int VergleichsArtikel = 0;
    // Der gewählte Massstab der Bänder, auch während die Ansicht aus ist.
    TSankey SankeyWahl;
    // Nummer des letzten Suchtreffers (Weitersuchen beginnt dahinter) und sein Text.
    uint32_t LetzterTreffer = 0;
    // Gebaut bei der ersten Suche, verworfen bei jedem Neuzeichnen (jede Änderung zeichnet neu).
    TSuchindex Suchindex;
    // Für den Hinweis am Zeiger, ebenso verworfen.
    TTrefferindex Trefferindex;
    // Drehung des Rads unter einer Raste, bis sie einen Zoomschritt ergibt.
    int RadRest = 0;
    // Wo im Protokoll die Taste gedrückt wurde: Klick oder Markieren.
    QPoint LogDruckpunkt;
    QString LetzteSuche;
    QMenu* PU = nullptr;
    QMenu* UMDateiZuletzt = nullptr;
    QToolButton* TBEinfuegenWandler = nullptr;
    QActionGroup* Einfuegegruppe = nullptr;
    // Einmal angelegt und für jeden Aufruf neu gefüllt.
    TFMEigenschaften* Eigenschaften = nullptr;
    // Nach MELog: die Plattform schreibt hinein und endet vor dem Fenster.
    std::unique_ptr<TQtPlattform> QtPlattform;

    QAction* ACDateiNeu = nullptr;
    QAction* ACDateiOeffnen = nullptr;
    QAction* ACDateiSpeichern = nullptr;
    QAction* ACDateiSpeichernUnter = nullptr;
    QAction* ACDateiSchliessen = nullptr;
    QAction* ACDateiDrucken = nullptr;
    QAction* ACDateiDruckvorschau = nullptr;
    QAction* ACDateiExportieren = nullptr;
    QAction* ACBearbeitenRueckgaengig = nullptr;
    QAction* ACBearbeitenWiederholen = nullptr;
    QAction* ACBearbeitenMatrix = nullptr;
    QAction* ACBearbeitenEigenschaften = nullptr;
    QAction* ACBearbeitenArtikel = nullptr;
    QAction* ACBearbeitenKapazitaet = nullptr;
    QAction* ACBearbeitenPruefen = nullptr;
    QAction* ACBearbeitenNeuberechnen = nullptr;
    QAction* ACBearbeitenLoeschen = nullptr;
    QAction* ACBearbeitenAllesAuswaehlen = nullptr;
    QAction* ACAnsichtGroesser = nullptr;
    QAction* ACAnsichtKleiner = nullptr;
    QAction* ACAnsichtNaeArtikel = nullptr;
    QAction* ACAnsichtVorhArtikel = nullptr;
    QAction* ACAnsichtSumme = nullptr;
    QAction* ACAnsichtEinstellungen = nullptr;
    QAction* ACAnsichtEngpaesse = nullptr;
    QAction* ACAnsichtGanzesModell = nullptr;
    QAction* ACAnsichtUebersicht = nullptr;
    QAction* ACAnsichtSankey = nullptr;
    QAction* ACAnsichtSankeyMassstab = nullptr;
    QAction* ACDateiVergleichen = nullptr;
    QAction* ACDateiVergleichBeenden = nullptr;
    QAction* ACAnsichtEmpfindlichkeit = nullptr;
    QAction* ACAnsichtHerkunft = nullptr;
    QAction* ACBearbeitenSuchen = nullptr;
    QAction* ACBearbeitenWeitersuchen = nullptr;
    QAction* ACDateiBeenden = nullptr;
    QAction* ACDateiWerteEinlesen = nullptr;
    QAction* ACDateiWerteSchreiben = nullptr;
    QAction* ACBearbeitenSchlaufen = nullptr;
    QAction* ACEinfuegenDeaktiviert = nullptr;
    QAction* ACEinfuegenQuelle = nullptr;
    QAction* ACEinfuegenSenke = nullptr;
    QAction* ACEinfuegenVerzweigung = nullptr;
    QAction* ACEinfuegenWeg = nullptr;
    QAction* ACEinfuegenWandler = nullptr;
    QAction* ACHilfeInhaltsverzeichnis = nullptr;
    QAction* ACHilfeInfo = nullptr;
};

} // namespace tessomir
