#include "app/FHaupt.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QFile>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "analysis/UBerechnung.h"
#include "analysis/USchlaufen.h"
#include "analysis/UBilanz.h"
#include "app/UDateiwahl.h"
#include "app/UErgebnisDock.h"
#include "app/UQtDrucker.h"
#include "app/UQtPlattform.h"
#include "app/UUebersicht.h"
#include "app/UZeichenfeld.h"
#include "view/UVergleichsanzeige.h"
#include "dialogs/FAnsicht.h"
#include "dialogs/FArtikel.h"
#include "dialogs/FEigenschaften.h"
#include "dialogs/FEingabe.h"
#include "dialogs/FEngpaesse.h"
#include "dialogs/FMatrix.h"
#include "dialogs/FVersion.h"
#include "help/UHilfe.h"
#include "model/UKnoten.h"
#include "model/UModell.h"
#include "base/UText.h"
#include "editing/USchritte.h"
#include "persistence/UModellDatei.h"
#include "persistence/UStromCsv.h"
#include "qt/UBefehl.h"
#include "qt/UBildExport.h"
#include "qt/UQtText.h"
#include "qt/USanduhr.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

constexpr int Entwurfsbreite = 837;
// Ab so vielen Knoten schreibt das Fenster die Wiederherstellungskopie nur jeden
// fünften Takt und nicht vor jeder Berechnung (Text von mehr als etwa 25 MB).
constexpr size_t GrossesModell = 20000;
constexpr int Entwurfshoehe = 737;
constexpr int SplitterMindestmass = 50;

// Bilder der Aktionen nach ihrer Nummer.
constexpr const char* Bilder[] = {
    "neu",        "oeffnen", "speichern", "drucken",     "matrix",      "artikel",    "pruefen", "deaktiviert", "quelle",
    "senke",      "verzweigung", "weg",   "neuberechnen", "vorhartikel", "naeartikel", "summe",   "wandler",
    "undo",       "redo",
};

constexpr int ZuletztHoechstens = 8;
const QString ZuletztSchluessel = QStringLiteral("Zuletzt/Dateien");

QStringList ZuletztListe() {
    const QSettings einstellungen(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
    QStringList liste = einstellungen.value(ZuletztSchluessel).toStringList();
    liste.removeAll(QString());
    return liste.mid(0, ZuletztHoechstens);
}

void ZuletztSchreiben(const QStringList& liste) {
    QSettings einstellungen(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
    einstellungen.setValue(ZuletztSchluessel, liste.mid(0, ZuletztHoechstens));
    einstellungen.sync();
}

// Die erste lokale .TSR-Datei eines Ziehens, sonst leer.
QString ModelldateiAus(const QMimeData* daten) {
    if (daten == nullptr || !daten->hasUrls()) return {};
    for (const QUrl& url : daten->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).suffix().compare(QStringLiteral("TSR"), Qt::CaseInsensitive) == 0)
            return url.toLocalFile();
    }
    return {};
}

QIcon Bild(int nummer) {
    if (nummer < 0) return QIcon();
    return QIcon(QStringLiteral(":/bilder/%1.svg").arg(QLatin1String(Bilder[nummer])));
}

// Dezimaltrenner der Benutzereinstellung für die Zahlen im Fenster.
char Dezimaltrenner() {
    const std::string trenner = AnsiAusQt(QLocale().decimalPoint());
    return trenner.size() == 1 ? trenner.front() : '.';
}


// Ganzzahl aus den Einstellungen; fehlt sie oder ist keine Zahl, die Vorgabe.
int Wert(const QSettings& einstellungen, const char* name, int vorgabe) {
    bool ok = false;
    const int wert = einstellungen.value(QLatin1String(name)).toInt(&ok);
    return ok ? wert : vorgabe;
}

// Ein Tooltip-Filter, der den Hinweis einer Schaltfläche unterdrückt.
class TOhneHinweis final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::ToolTip) return true;
        return QObject::eventFilter(objekt, ereignis);
    }
};

// Tasten und Knöpfe eines Mausereignisses; 'doppelt' beim Drücken eines Doppelklicks.
TUmschaltung Umschaltung(const QMouseEvent& e, bool doppelt = false) {
    TUmschaltung u;
    const Qt::KeyboardModifiers tasten = e.modifiers();
    const Qt::MouseButtons knoepfe = e.buttons();
    if (tasten & Qt::ShiftModifier) u = u.Mit(TTaste::Umschalt);
    if (tasten & Qt::AltModifier) u = u.Mit(TTaste::Alt);
    if (tasten & Qt::ControlModifier) u = u.Mit(TTaste::Strg);
    if (knoepfe & Qt::LeftButton) u = u.Mit(TTaste::Links);
    if (knoepfe & Qt::RightButton) u = u.Mit(TTaste::Rechts);
    if (knoepfe & Qt::MiddleButton) u = u.Mit(TTaste::Mitte);
    if (doppelt) u = u.Mit(TTaste::Doppelt);
    return u;
}

std::optional<TMausknopf> Knopf(Qt::MouseButton knopf) {
    switch (knopf) {
    case Qt::LeftButton: return TMausknopf::Links;
    case Qt::RightButton: return TMausknopf::Rechts;
    case Qt::MiddleButton: return TMausknopf::Mitte;
    default: return std::nullopt;
    }
}

TBildpunkt Punkt(const QMouseEvent& e) {
    const QPoint p = e.position().toPoint();
    return TBildpunkt{p.x(), p.y()};
}

} // namespace

// ---------------------------------------------------------------- Aufbau

TFMHaupt::TFMHaupt(const QString& befehlsdatei, std::unique_ptr<IDateiwahl> dateiwahl, QWidget* eltern)
    : QMainWindow(eltern),
      Dateiwahl(dateiwahl ? std::move(dateiwahl) : std::make_unique<TQtDateiwahl>()),
      AnsichtObjekt(std::make_unique<TAnsicht>(nullptr)),
      EditorObjekt(std::make_unique<TEditor>(*AnsichtObjekt, static_cast<IEditorFlaeche&>(*this))) {
    EditorObjekt->VerlaufSetzen(&Dokument.Verlauf());
    setAcceptDrops(true);
    setObjectName(QStringLiteral("FMHaupt"));
    setWindowTitle(QStringLiteral("Tessomir"));
    // Der Name ist der Titel (Qt nimmt ihn, solange kein eigener gesetzt ist).
    setAccessibleDescription(QStringLiteral("Hauptfenster"));
    resize(Entwurfsbreite, Entwurfshoehe);

    AktionenAnlegen();
    MenuesAnlegen();
    WerkzeugleisteAnlegen();
    FlaecheAnlegen();
    StatusleisteAnlegen();
    UebersichtAnlegen();
    SankeyAnlegen();
    StudienAnlegen();
    QtPlattform = std::make_unique<TQtPlattform>(this, MELog);

    // Die Regeln laufen, wenn die Ereignisschleife gleich wartet; eine Folge
    // von Änderungen kostet so eine einzige Auswertung.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TFMHaupt::AktionenAktualisieren);

    // Alle zwei Minuten eine Kopie des geänderten Modells; die Umgebung darf den
    // Takt verkürzen (Prüfung des Wiederherstellens nach einem Absturz).
    WiederherstellungObjekt = std::make_unique<TWiederherstellung>();
    WiederherstellungsTakt = new QTimer(this);
    const int takt = qEnvironmentVariableIntValue("TESSOMIR_WIEDERHERSTELLUNG_MS");
    WiederherstellungsTakt->setInterval(takt > 0 ? takt : 2 * 60 * 1000);
    connect(WiederherstellungsTakt, &QTimer::timeout, this, [this] {
        // Große Modelle seltener: ihr Text braucht merklich Zeit.
        ++WiederherstellungsTakte;
        const TModell* m = Modell();
        if (m != nullptr && m->FOListe.Knoten().size() > GrossesModell && WiederherstellungsTakte % 5 != 0)
            return;
        Befehl([this] { WiederherstellungSichern(); });
    });
    WiederherstellungsTakt->start();

    ZuletztAnzeigen();
    MELog->clear();
    Modus = Deaktiviert;
    GroesseLesen();
    if (!befehlsdatei.isEmpty()) ModellLaden(befehlsdatei);
    TitelAnzeigen();
    Eigenschaften = new TFMEigenschaften(this);
    AktionenAktualisieren();
}

TFMHaupt::~TFMHaupt() {
    // Ein sauberes Ende braucht keine Wiederherstellung.
    WiederherstellungObjekt->Verwerfen();
    // Vor den Kindfenstern: die Zeichenfläche malt ohne Modell nichts mehr.
    EditorObjekt->ModellSetzen(nullptr);
    PBHaupt->ModellSetzen(nullptr);
    DKUebersicht->ModellSetzen(nullptr, false);
    Dokument.Einsetzen(nullptr);
}

int TFMHaupt::Skaliert(int entwurf) const {
    // Die Entwurfsmasse gelten für eine Schrift mit 5 Pixeln mittlerer Zeichenbreite.
    return std::max(entwurf, entwurf * fontMetrics().averageCharWidth() / 5);
}

void TFMHaupt::Benennen(QWidget* widget, const char* name, const QString& lesbar) {
    widget->setObjectName(QLatin1String(name));
    // Eine Beschriftung (Statusfeld, Artikelanzeige) heisst für Bildschirmleser,
    // was auf ihr steht; ihre Rolle steht in der Beschreibung.
    if (qobject_cast<QLabel*>(widget) != nullptr) widget->setAccessibleDescription(lesbar);
    else widget->setAccessibleName(lesbar);
}

QAction* TFMHaupt::Aktion(const char* name, const QString& text, const QString& hinweis, const QKeySequence& taste,
                          int bild, TAusfuehren ausfuehren) {
    auto* aktion = new QAction(Bild(bild), text, this);
    aktion->setObjectName(QLatin1String(name));
    aktion->setToolTip(hinweis.isEmpty() ? text : hinweis);
    aktion->setShortcut(taste);
    aktion->setIconVisibleInMenu(bild >= 0);
    connect(aktion, &QAction::triggered, this, [this, ausfuehren] { Befehl([this, ausfuehren] { (this->*ausfuehren)(); }); });
    return aktion;
}

QAction* TFMHaupt::EinfuegenAktion(const char* name, const QString& text, int bild, TEinfuegemodus modus) {
    auto* aktion = new QAction(Bild(bild), text, this);
    aktion->setObjectName(QLatin1String(name));
    aktion->setCheckable(true);
    // Im Menü ohne Bild, damit Radiopunkt und Haken zu sehen sind.
    aktion->setIconVisibleInMenu(false);
    connect(aktion, &QAction::triggered, this, [this, modus] { EinfuegemodusSetzen(modus); });
    return aktion;
}

void TFMHaupt::AktionenAnlegen() {
    const QKeySequence keine;
    // Die Tasten, die jedes Programm hat, wo die Vorlage keine nennt.
    ACDateiNeu = Aktion("ACDateiNeu", "Neu", "Neu", QKeySequence(Qt::CTRL | Qt::Key_N), 0, &TFMHaupt::ACDateiNeuExecute);
    ACDateiOeffnen = Aktion("ACDateiOeffnen", "Öffnen...", "Oeffnen", QKeySequence(Qt::CTRL | Qt::Key_O), 1, &TFMHaupt::ACDateiOeffnenExecute);
    ACDateiSpeichern = Aktion("ACDateiSpeichern", "Speichern", "Speichern", QKeySequence(Qt::CTRL | Qt::Key_S), 2, &TFMHaupt::ACDateiSpeichernExecute);
    ACDateiSpeichernUnter = Aktion("ACDateiSpeichernUnter", "Speichern unter...", "",
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), -1,
                                   &TFMHaupt::ACDateiSpeichernUnterExecute);
    ACDateiSchliessen = Aktion("ACDateiSchliessen", "Schliessen", "", QKeySequence(Qt::CTRL | Qt::Key_W), -1, &TFMHaupt::ACDateiSchliessenExecute);
    ACDateiDrucken = Aktion("ACDateiDrucken", "Drucken...", "Drucken", QKeySequence(Qt::CTRL | Qt::Key_P), 3, &TFMHaupt::ACDateiDruckenExecute);
    ACDateiDruckvorschau = Aktion("ACDateiDruckvorschau", "Druckvorschau...", "Druckvorschau", keine, -1,
                                  &TFMHaupt::ACDateiDruckvorschauExecute);
    ACDateiExportieren = Aktion("ACDateiExportieren", "Exportieren...", "", keine, -1,
                                &TFMHaupt::ACDateiExportierenExecute);
    ACBearbeitenRueckgaengig = Aktion("ACBearbeitenRueckgaengig", "Rückgängig", "Rückgängig",
                                      QKeySequence(Qt::CTRL | Qt::Key_Z), 17, &TFMHaupt::ACBearbeitenRueckgaengigExecute);
    ACBearbeitenWiederholen = Aktion("ACBearbeitenWiederholen", "Wiederholen", "Wiederholen",
                                     QKeySequence(Qt::CTRL | Qt::Key_Y), 18, &TFMHaupt::ACBearbeitenWiederholenExecute);
    ACBearbeitenWiederholen->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    ACBearbeitenMatrix = Aktion("ACBearbeitenMatrix", "Matrix...", "Matrix", keine, 4, &TFMHaupt::ACBearbeitenMatrixExecute);
    ACBearbeitenEigenschaften = Aktion("ACBearbeitenEigenschaften", "Eigenschaften...", "", keine, -1,
                                       &TFMHaupt::ACBearbeitenEigenschaftenExecute);
    ACBearbeitenArtikel = Aktion("ACBearbeitenArtikel", "Artikel...", "Artikel", keine, 5,
                                 &TFMHaupt::ACBearbeitenArtikelExecute);
    ACBearbeitenKapazitaet = Aktion("ACBearbeitenKapazitaet", "Vorgabekapazität...", "", keine, -1,
                                    &TFMHaupt::ACBearbeitenKapazitaetExecute);
    ACBearbeitenPruefen = Aktion("ACBearbeitenPruefen", "Prüfen", "Prüfen", QKeySequence(Qt::Key_F4), 6,
                                 &TFMHaupt::ACBearbeitenPruefenExecute);
    ACBearbeitenNeuberechnen = Aktion("ACBearbeitenNeuberechnen", "Neuberechnen", "Neuberechnen",
                                      QKeySequence(Qt::Key_F5), 12, &TFMHaupt::ACBearbeitenNeuberechnenExecute);
    ACBearbeitenLoeschen = Aktion("ACBearbeitenLoeschen", "Löschen", "", QKeySequence(Qt::Key_Delete), -1,
                                  &TFMHaupt::ACBearbeitenLoeschenExecute);
    ACBearbeitenAllesAuswaehlen = Aktion("ACBearbeitenAllesAuswaehlen", "Alles auswählen", "",
                                         QKeySequence(Qt::CTRL | Qt::Key_A), -1,
                                         &TFMHaupt::ACBearbeitenAllesAuswaehlenExecute);
    ACAnsichtGroesser = Aktion("ACAnsichtGroesser", "Grösser", "", QKeySequence(Qt::Key_F3), -1,
                               &TFMHaupt::ACAnsichtGroesserExecute);
    ACAnsichtKleiner = Aktion("ACAnsichtKleiner", "Kleiner", "", QKeySequence(Qt::Key_F2), -1,
                              &TFMHaupt::ACAnsichtKleinerExecute);
    ACAnsichtNaeArtikel = Aktion("ACAnsichtNaeArtikel", "Nächster Artikel", "Nächster Artikel", QKeySequence(Qt::Key_F6),
                                 14, &TFMHaupt::ACAnsichtNaeArtikelExecute);
    ACAnsichtVorhArtikel = Aktion("ACAnsichtVorhArtikel", "Vorheriger Artikel", "Vorheriger Artikel",
                                  QKeySequence(Qt::SHIFT | Qt::Key_F6), 13, &TFMHaupt::ACAnsichtVorhArtikelExecute);
    ACAnsichtSumme = Aktion("ACAnsichtSumme", "Summe aller Artikel", "Summe aller Artikel", keine, 15,
                            &TFMHaupt::ACAnsichtSummeExecute);
    ACAnsichtSumme->setCheckable(true);
    ACAnsichtEinstellungen = Aktion("ACAnsichtEinstellungen", "Einstellungen...", "", keine, -1,
                                    &TFMHaupt::ACAnsichtEinstellungenExecute);
    ACAnsichtEngpaesse = Aktion("ACAnsichtEngpaesse", "Engpässe...", "", keine, -1, &TFMHaupt::ACAnsichtEngpaesseExecute);
    ACAnsichtGanzesModell = Aktion("ACAnsichtGanzesModell", "Ganzes Modell", "", QKeySequence(Qt::CTRL | Qt::Key_0),
                                   -1, &TFMHaupt::ACAnsichtGanzesModellExecute);
    ACBearbeitenSuchen = Aktion("ACBearbeitenSuchen", "Suchen...", "Suchen nach Name oder #Nummer",
                                QKeySequence(Qt::CTRL | Qt::Key_F), -1, &TFMHaupt::ACBearbeitenSuchenExecute);
    ACBearbeitenWeitersuchen = Aktion("ACBearbeitenWeitersuchen", "Weitersuchen", "", QKeySequence(Qt::CTRL | Qt::Key_G),
                                      -1, &TFMHaupt::ACBearbeitenWeitersuchenExecute);
    ACDateiWerteEinlesen = Aktion("ACDateiWerteEinlesen", "Werte einlesen...", "", keine, -1,
                                  &TFMHaupt::ACDateiWerteEinlesenExecute);
    ACDateiWerteSchreiben = Aktion("ACDateiWerteSchreiben", "Werte schreiben...", "", keine, -1,
                                   &TFMHaupt::ACDateiWerteSchreibenExecute);
    ACDateiBeenden = Aktion("ACDateiBeenden", "Beenden", "", QKeySequence(Qt::CTRL | Qt::Key_Q), -1,
                            &TFMHaupt::ACDateiBeendenExecute);
    ACBearbeitenSchlaufen = Aktion("ACBearbeitenSchlaufen", "Schlaufen analysieren", "", keine, -1,
                                   &TFMHaupt::ACBearbeitenSchlaufenExecute);
    ACHilfeInhaltsverzeichnis = Aktion("ACHilfeInhaltsverzeichnis", "Hilfe", "Inhaltsverzeichnis",
                                       QKeySequence(Qt::Key_F1), -1, &TFMHaupt::ACHilfeInhaltsverzeichnisExecute);
    ACHilfeInfo = Aktion("ACHilfeInfo", "Info", "", keine, -1, &TFMHaupt::ACHilfeInfoExecute);

    ACEinfuegenDeaktiviert = EinfuegenAktion("ACEinfuegenDeaktiviert", "Deaktiviert", 7, Deaktiviert);
    ACEinfuegenQuelle = EinfuegenAktion("ACEinfuegenQuelle", "Quelle", 8, Quelle);
    ACEinfuegenSenke = EinfuegenAktion("ACEinfuegenSenke", "Senke", 9, Senke);
    ACEinfuegenVerzweigung = EinfuegenAktion("ACEinfuegenVerzweigung", "Verzweigung", 10, Verzweigung);
    ACEinfuegenWandler = EinfuegenAktion("ACEinfuegenWandler", "Wandler", 16, Wandler);
    ACEinfuegenWeg = EinfuegenAktion("ACEinfuegenWeg", "Weg", 11, Weg);
    // Der Wandler steht ausserhalb der Radiogruppe: im Menü ein Haken statt
    // eines Radiopunkts.
    Einfuegegruppe = new QActionGroup(this);
    for (QAction* a : {ACEinfuegenDeaktiviert, ACEinfuegenQuelle, ACEinfuegenSenke, ACEinfuegenVerzweigung, ACEinfuegenWeg})
        Einfuegegruppe->addAction(a);
}

void TFMHaupt::MenuesAnlegen() {
    QMenuBar* leiste = menuBar();
    Benennen(leiste, "MMHaupt", QStringLiteral("Hauptmenü"));
    const auto menue = [&](const char* name, const QString& text, const QList<QAction*>& aktionen) {
        QMenu* m = leiste->addMenu(text);
        Benennen(m, name, QString(text).remove(QLatin1Char('&')));
        for (QAction* a : aktionen) {
            if (a == nullptr) m->addSeparator();
            else m->addAction(a);
        }
    };
    menue("UMDatei", QStringLiteral("&Datei"),
          {ACDateiNeu, ACDateiOeffnen, ACDateiSpeichern, ACDateiSpeichernUnter, ACDateiSchliessen, nullptr, ACDateiDrucken,
           ACDateiDruckvorschau, ACDateiExportieren, nullptr, ACDateiWerteEinlesen, ACDateiWerteSchreiben, nullptr});
    QMenu* datei = leiste->findChild<QMenu*>(QStringLiteral("UMDatei"));
    UMDateiZuletzt = datei->addMenu(QStringLiteral("Zuletzt geöffnet"));
    Benennen(UMDateiZuletzt, "UMDateiZuletzt", QStringLiteral("Zuletzt geöffnete Dateien"));
    UMDateiZuletzt->setToolTipsVisible(true);
    datei->addSeparator();
    datei->addAction(ACDateiBeenden);
    menue("UMBearbeiten", QStringLiteral("&Bearbeiten"),
          {ACBearbeitenRueckgaengig, ACBearbeitenWiederholen, nullptr, ACBearbeitenMatrix, ACBearbeitenEigenschaften, ACBearbeitenArtikel, ACBearbeitenKapazitaet, nullptr,
           ACBearbeitenPruefen, ACBearbeitenNeuberechnen, ACBearbeitenSchlaufen, nullptr, ACBearbeitenLoeschen, ACBearbeitenAllesAuswaehlen, nullptr,
           ACBearbeitenSuchen, ACBearbeitenWeitersuchen});
    menue("UMAnsicht", QStringLiteral("&Ansicht"),
          {ACAnsichtGroesser, ACAnsichtKleiner, ACAnsichtGanzesModell, nullptr, ACAnsichtNaeArtikel, ACAnsichtVorhArtikel, ACAnsichtSumme,
           nullptr, ACAnsichtEngpaesse, ACAnsichtEinstellungen});
    menue("UMEinfuegen", QStringLiteral("&Einfügen"),
          {ACEinfuegenDeaktiviert, ACEinfuegenQuelle, ACEinfuegenSenke, ACEinfuegenVerzweigung, ACEinfuegenWandler,
           ACEinfuegenWeg});
    menue("UMHilfe", QStringLiteral("Hilfe"), {ACHilfeInhaltsverzeichnis, nullptr, ACHilfeInfo});

    // Öffnet sich nie von selbst, nur über PopupOeffnen (Rechtsklick).
    PU = new QMenu(this);
    Benennen(PU, "PU", QStringLiteral("Kontextmenü"));
    PU->addAction(ACBearbeitenMatrix);
    PU->addAction(ACBearbeitenEigenschaften);
    PU->addSeparator();
    PU->addAction(ACBearbeitenLoeschen);
    PU->addAction(ACBearbeitenAllesAuswaehlen);
}

void TFMHaupt::WerkzeugleisteAnlegen() {
    auto* tb = new QToolBar(this);
    Benennen(tb, "TBHaupt", QStringLiteral("Werkzeugleiste"));
    tb->setMovable(false);
    tb->setFloatable(false);
    tb->setIconSize(QSize(16, 16));
    tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tb->toggleViewAction()->setVisible(false);
    tb->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, tb);

    const auto knopf = [&](QAction* aktion, const char* name) {
        tb->addAction(aktion);
        Benennen(tb->widgetForAction(aktion), name, aktion->text());
    };
    knopf(ACDateiNeu, "TBNeu");
    knopf(ACDateiOeffnen, "TBDateiOeffnen");
    knopf(ACDateiSpeichern, "TBDateiSpeichern");
    knopf(ACDateiDrucken, "TBDateiDrucken");
    knopf(ACBearbeitenRueckgaengig, "TBBearbeitenRueckgaengig");
    knopf(ACBearbeitenWiederholen, "TBBearbeitenWiederholen");
    tb->addSeparator();
    knopf(ACBearbeitenMatrix, "TBBearbeitenMatrix");
    knopf(ACBearbeitenArtikel, "TBBearbeitenArtikel");
    knopf(ACBearbeitenPruefen, "TBBearbeitenPruefen");
    knopf(ACBearbeitenNeuberechnen, "TBBearbeitenNeuberechnen");
    tb->addSeparator();
    knopf(ACEinfuegenDeaktiviert, "TBEinfuegenDeaktiviert");
    tb->widgetForAction(ACEinfuegenDeaktiviert)->installEventFilter(new TOhneHinweis(this));
    knopf(ACEinfuegenQuelle, "TBEinfuegenQuelle");
    knopf(ACEinfuegenSenke, "TBEinfuegenSenke");
    knopf(ACEinfuegenVerzweigung, "TBEinfuegenVerzweigung");
    // Der Wandler-Knopf zeigt keinen gedrückten Zustand: ein schlichter
    // Knopf, der die Aktion auslöst; seine Freigabe folgt der Aktion.
    TBEinfuegenWandler = new QToolButton(tb);
    Benennen(TBEinfuegenWandler, "TBEinfuegenWandler", ACEinfuegenWandler->text());
    TBEinfuegenWandler->setIcon(ACEinfuegenWandler->icon());
    TBEinfuegenWandler->setToolTip(QStringLiteral("Wandler"));
    TBEinfuegenWandler->setAutoRaise(true);
    connect(TBEinfuegenWandler, &QToolButton::clicked, ACEinfuegenWandler, &QAction::trigger);
    tb->addWidget(TBEinfuegenWandler);
    knopf(ACEinfuegenWeg, "TBEinfuegenWeg");
    tb->addSeparator();
    knopf(ACAnsichtVorhArtikel, "TBAnsichtVorhArtikel");
    knopf(ACAnsichtNaeArtikel, "TBAnsichtNaeArtikel");
    knopf(ACAnsichtSumme, "TBAnsichtSumme");
    tb->addSeparator();

    auto* paArtikel = new QLabel(QStringLiteral("Artikel"), tb);
    Benennen(paArtikel, "PAArtikel", QStringLiteral("Artikel"));
    paArtikel->setFixedWidth(Skaliert(49));
    paArtikel->setAlignment(Qt::AlignCenter);
    tb->addWidget(paArtikel);

    auto* paAnzeige = new QFrame(tb);
    Benennen(paAnzeige, "PAAnzeige", QStringLiteral("Anzeige des aktuellen Artikels"));
    paAnzeige->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Nimmt den Rest der Leiste; schmaler als im Entwurf, damit in einem
    // schmalen Fenster kein Knopf hinter dem Überlaufpfeil verschwindet.
    paAnzeige->setMinimumWidth(Skaliert(237) / 3);
    paAnzeige->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* rahmen = new QHBoxLayout(paAnzeige);
    rahmen->setContentsMargins(3, 3, 3, 3);
    LAAktArtikel = new QLabel(QStringLiteral(" ---"), paAnzeige);
    LAAktArtikel->setTextFormat(Qt::PlainText); // Artikelnamen sind Daten, kein HTML
    Benennen(LAAktArtikel, "LAAktArtikel", QStringLiteral("Aktueller Artikel"));
    LAAktArtikel->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 168); color: black;"));
    rahmen->addWidget(LAAktArtikel);
    tb->addWidget(paAnzeige);

    // Hinter der Anzeige, damit alles davor an seinem Platz bleibt.
    CBArtikel = new QComboBox(tb);
    Benennen(CBArtikel, "CBArtikel", QStringLiteral("Artikel wählen"));
    CBArtikel->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CBArtikel->setMinimumContentsLength(12);
    CBArtikel->setToolTip(QStringLiteral("Artikel wählen"));
    connect(CBArtikel, &QComboBox::activated, this, [this](int i) { Befehl([this, i] { ArtikelGewaehlt(i); }); });
    tb->addWidget(CBArtikel);

    // Die Suchleiste am unteren Rand, wie in Editoren üblich: erst Strg+F
    // zeigt sie, Esc verbirgt sie wieder; die Werkzeugleiste bleibt, wie sie war.
    TBSuchen = new QToolBar(this);
    Benennen(TBSuchen, "TBSuchen", QStringLiteral("Suchleiste"));
    TBSuchen->setMovable(false);
    TBSuchen->setFloatable(false);
    TBSuchen->toggleViewAction()->setVisible(false);
    TBSuchen->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::BottomToolBarArea, TBSuchen);
    auto* laSuchen = new QLabel(QStringLiteral("Suchen: "), TBSuchen);
    Benennen(laSuchen, "LASuchen", QStringLiteral("Beschriftung des Suchfelds"));
    TBSuchen->addWidget(laSuchen);
    EDSuchen = new QLineEdit(TBSuchen);
    Benennen(EDSuchen, "EDSuchen", QStringLiteral("Suchen"));
    EDSuchen->setPlaceholderText(QStringLiteral("Name, Teil eines Namens oder #Nummer"));
    EDSuchen->setClearButtonEnabled(true);
    EDSuchen->setFixedWidth(Skaliert(220));
    connect(EDSuchen, &QLineEdit::returnPressed, this, [this] {
        Befehl([this] { Suchen(EDSuchen->text() == LetzteSuche); });
    });
    TBSuchen->addWidget(EDSuchen);
    TBSuchen->addAction(ACBearbeitenWeitersuchen);
    Benennen(TBSuchen->widgetForAction(ACBearbeitenWeitersuchen), "TBWeitersuchen", ACBearbeitenWeitersuchen->text());
    QAction* schliessen = TBSuchen->addAction(QStringLiteral("Schliessen"));
    schliessen->setToolTip(QStringLiteral("Suchleiste schliessen (Esc)"));
    connect(schliessen, &QAction::triggered, this, [this] { SuchleisteSchliessen(); });
    Benennen(TBSuchen->widgetForAction(schliessen), "TBSuchenSchliessen", QStringLiteral("Suchleiste schliessen"));
    TBSuchen->hide();
}

void TFMHaupt::FlaecheAnlegen() {
    SPLog = new QSplitter(Qt::Vertical, this);
    Benennen(SPLog, "SPLog", QStringLiteral("Teiler zwischen Zeichenfläche und Protokoll"));
    SPLog->setHandleWidth(5);
    SPLog->setChildrenCollapsible(false);

    SBoxHaupt = new QScrollArea(SPLog);
    Benennen(SBoxHaupt, "SBoxHaupt", QStringLiteral("Zeichenbereich"));
    SBoxHaupt->setMinimumHeight(SplitterMindestmass);
    SBoxHaupt->setBackgroundRole(QPalette::Base);
    SBoxHaupt->setWidgetResizable(false);
    PBHaupt = new TZeichenfeld(*AnsichtObjekt, SBoxHaupt);
    Benennen(PBHaupt, "PBHaupt", QStringLiteral("Zeichenfläche"));
    SBoxHaupt->setWidget(PBHaupt);
    connect(PBHaupt, &TZeichenfeld::Gemalt, this, &TFMHaupt::ModifiziertAnzeigen);
    connect(PBHaupt, &TZeichenfeld::NichtDarstellbar, this, &TFMHaupt::NichtDarstellbarMelden);
    connect(PBHaupt, &TZeichenfeld::MausGedrueckt, this, &TFMHaupt::PBHauptMouseDown);
    connect(PBHaupt, &TZeichenfeld::MausBewegt, this, &TFMHaupt::PBHauptMouseMove);
    connect(PBHaupt, &TZeichenfeld::MausLosgelassen, this, &TFMHaupt::PBHauptMouseUp);
    connect(PBHaupt, &TZeichenfeld::Doppelklick, this, &TFMHaupt::PBHauptDblClick);
    PBHaupt->GummifigurSetzen([this] {
        if (EditorObjekt->FigurSichtbar()) EditorObjekt->FigurZeichnen();
    });

    MELog = new QPlainTextEdit(SPLog);
    Benennen(MELog, "MELog", QStringLiteral("Protokoll"));
    MELog->setReadOnly(true);
    MELog->setMinimumHeight(SplitterMindestmass);
    MELog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MELog->setLineWrapMode(QPlainTextEdit::NoWrap);

    SPLog->addWidget(SBoxHaupt);
    SPLog->addWidget(MELog);
    // Wie eine oben angelegte Fläche: das Protokoll nimmt jede Größenänderung.
    SPLog->setStretchFactor(0, 0);
    SPLog->setStretchFactor(1, 1);
    setCentralWidget(SPLog);
}

void TFMHaupt::StatusleisteAnlegen() {
    QStatusBar* sb = statusBar();
    Benennen(sb, "SBHaupt", QStringLiteral("Statusleiste"));
    const struct {
        const char* Name;
        const char* Lesbar;
        const char* Text;
        int Breite;
    } panels[] = {
        {"SBHauptModifiziert", "Änderungsstand", "Modifiziert", 80},
        {"SBHauptArtikel", "Artikelanzeige", "Artikel : ", 300},
        {"SBHauptMaxStrom", "Größter Strom", "Max. Strom : ", 150},
    };
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(QString::fromUtf8(panels[i].Text), sb);
        panel->setTextFormat(Qt::PlainText);
        Benennen(panel, panels[i].Name, QString::fromUtf8(panels[i].Lesbar));
        panel->setFixedWidth(Skaliert(panels[i].Breite));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        sb->addWidget(panel);
        SBHauptPanel[i] = panel;
    }
    SBHauptPanel[0]->setAlignment(Qt::AlignCenter);
    // Meldungen der Suche und Navigation; ein eigenes Feld, damit die drei
    // Felder davor stehen bleiben (showMessage verdeckte sie).
    SBHauptMeldung = new QLabel(sb);
    SBHauptMeldung->setTextFormat(Qt::PlainText);
    Benennen(SBHauptMeldung, "SBHauptMeldung", QStringLiteral("Meldung"));
    sb->addWidget(SBHauptMeldung, 1);
    MeldungsTakt = new QTimer(this);
    MeldungsTakt->setSingleShot(true);
    MeldungsTakt->setInterval(6000);
    connect(MeldungsTakt, &QTimer::timeout, SBHauptMeldung, &QLabel::clear);
}

// ---------------------------------------------------------------- Regeln

bool TFMHaupt::Leerlauf() const { return Modell() != nullptr && Modus == Deaktiviert; }

bool TFMHaupt::MatrixBearbeitbar() const {
    const auto& auswahl = Modell()->FOListe.Auswahl();
    if (auswahl.size() != 1) return false;
    const TKnoten* k = auswahl.front().Objekt->AlsKnoten();
    if (k == nullptr) return false;
    const int ein = k->AnzahlEingaenge();
    const int aus = k->AnzahlAusgaenge();
    if (dynamic_cast<const TVerzweigung*>(k) != nullptr) return ein >= 1 && aus >= 1;
    if (dynamic_cast<const TQuelle*>(k) != nullptr) return aus == 1;
    if (dynamic_cast<const TSenke*>(k) != nullptr) return ein == 1;
    if (dynamic_cast<const TWandler*>(k) != nullptr) return ein == 1 && aus == 1;
    return false;
}

void TFMHaupt::AktionenAktualisieren() {
    const bool modell = Modell() != nullptr;
    const bool leer = Leerlauf();
    const bool auswahl = leer && !Modell()->FOListe.Auswahl().empty();
    const bool objekte = leer && Modell()->FOListe.Anzahl() > 0;
    const bool einzeln = leer && Modell()->FOListe.Auswahl().size() == 1;
    const bool summe = modell && Modell()->SummeAllerArtikel;

    ACDateiNeu->setEnabled(Modus == Deaktiviert);
    ACDateiOeffnen->setEnabled(Modus == Deaktiviert);
    for (QAction* a : {ACDateiSpeichern, ACDateiSpeichernUnter, ACDateiSchliessen, ACDateiDrucken, ACDateiDruckvorschau,
                       ACBearbeitenArtikel,
                       ACBearbeitenAllesAuswaehlen, ACAnsichtSumme, ACAnsichtEinstellungen})
        a->setEnabled(leer);
    ACBearbeitenMatrix->setEnabled(leer && MatrixBearbeitbar());
    ACBearbeitenEigenschaften->setEnabled(einzeln && (Modell()->FOListe.IstEinzelnerKnoten() ||
                                                      Modell()->FOListe.IstEinzelnerWeg()));
    ACBearbeitenKapazitaet->setEnabled(auswahl);
    ACBearbeitenLoeschen->setEnabled(auswahl);
    ACBearbeitenPruefen->setEnabled(objekte);
    ACBearbeitenNeuberechnen->setEnabled(objekte);
    ACBearbeitenSchlaufen->setEnabled(objekte);
    // Eine Wahl der Ansicht, nicht des Modells: mit jedem Modell schaltbar.
    ACAnsichtSankey->setEnabled(modell);
    ACAnsichtSankeyMassstab->setEnabled(modell);
    ACDateiVergleichen->setEnabled(modell && Modus == Deaktiviert);
    ACDateiVergleichBeenden->setEnabled(Variante != nullptr);
    ACAnsichtEmpfindlichkeit->setEnabled(Dokument.Berechnet() && EinzelnesZiel() != nullptr);
    ACAnsichtHerkunft->setEnabled(einzeln && (Modell()->FOListe.IstEinzelnerWeg() || Modell()->FOListe.IstEinzelneQuelle() ||
                                              Modell()->FOListe.IstEinzelneSenke() ||
                                              Modell()->FOListe.IstEinzelneVerzweigung()));
    ACAnsichtEngpaesse->setEnabled(modell && Dokument.Berechnet());
    ACAnsichtGanzesModell->setEnabled(modell);
    for (QAction* a : {ACBearbeitenSuchen, ACBearbeitenWeitersuchen}) a->setEnabled(leer);
    EDSuchen->setEnabled(leer);
    // Bei offener Suchleiste schon im Leerlauf: die erste Suche nach einer
    // Änderung wartet dann nicht auf den Index.
    if (leer && TBSuchen->isVisible() && !Suchindex.Gebaut()) Suchindex.Aufbauen(*Modell());
    CBArtikel->setEnabled(modell && !summe && Modus == Deaktiviert);
    ACAnsichtNaeArtikel->setEnabled(modell && !summe && Modell()->AktArtikel < Modell()->AnzahlArtikel() - 1);
    ACAnsichtVorhArtikel->setEnabled(modell && !summe && Modell()->AktArtikel > 0);
    ACAnsichtSumme->setChecked(summe);

    // Nicht mitten in einem Weg: der hängt schon an seinem Startknoten.
    const bool verlauf = modell && EditorObjekt->NeuerWeg() == nullptr;
    ACBearbeitenRueckgaengig->setEnabled(verlauf && Dokument.Verlauf().KannRueckgaengig());
    ACBearbeitenWiederholen->setEnabled(verlauf && Dokument.Verlauf().KannWiederholen());
    const auto beschriften = [](QAction* aktion, const QString& text, const std::string& schritt) {
        const QString voll = schritt.empty() ? text : text + QStringLiteral(": ") + QtAusAnsi(schritt);
        aktion->setText(voll);
        aktion->setToolTip(voll);
    };
    const TVerlauf& v = Dokument.Verlauf();
    beschriften(ACBearbeitenRueckgaengig, QStringLiteral("Rückgängig"), modell ? v.RueckgaengigName() : "");
    beschriften(ACBearbeitenWiederholen, QStringLiteral("Wiederholen"), modell ? v.WiederholenName() : "");
    ACDateiExportieren->setEnabled(leer);
    ACDateiWerteEinlesen->setEnabled(leer);
    ACDateiWerteSchreiben->setEnabled(leer);
    UMDateiZuletzt->setEnabled(Modus == Deaktiviert && !UMDateiZuletzt->isEmpty());

    ACEinfuegenDeaktiviert->setChecked(Modus == Deaktiviert);
    const std::pair<QAction*, TEinfuegemodus> einfuegen[] = {
        {ACEinfuegenQuelle, Quelle}, {ACEinfuegenSenke, Senke}, {ACEinfuegenVerzweigung, Verzweigung},
        {ACEinfuegenWeg, Weg},       {ACEinfuegenWandler, Wandler},
    };
    for (const auto& [aktion, modus] : einfuegen) {
        aktion->setEnabled(modell);
        aktion->setChecked(Modus == modus);
    }
    TBEinfuegenWandler->setEnabled(ACEinfuegenWandler->isEnabled());
}

void TFMHaupt::EinfuegemodusSetzen(TEinfuegemodus modus) {
    // Ein Wechsel mitten im Ziehen (nur über Tasten möglich) lässt nichts halb stehen.
    if (EditorObjekt->FigurSichtbar() || EditorObjekt->NeuerWeg() != nullptr) {
        EditorObjekt->Abbrechen();
        Neuzeichnen();
    }
    Modus = modus;
}

// ---------------------------------------------------------------- Anzeigen

void TFMHaupt::TitelAnzeigen() {
    if (Modell() == nullptr) {
        setWindowTitle(QStringLiteral("Tessomir"));
        return;
    }
    // "[*]" ist für Qt der Platzhalter der Änderungsmarke; verdoppelt steht er wörtlich.
    const QString name = QtAusAnsi(DateinameFuerAnzeige(Modell()->DateiName))
                             .replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(QStringLiteral("Tessomir - [") + name + QStringLiteral("]"));
}

void TFMHaupt::ModifiziertAnzeigen() {
    SBHauptPanel[0]->setText(Modell() != nullptr && Modell()->Modifiziert ? QStringLiteral("Modifiziert") : QString());
}

void TFMHaupt::ArtikelAnzeigen() {
    if (Modell() == nullptr) {
        SBHauptPanel[1]->setText(QStringLiteral("Artikel : ---"));
        LAAktArtikel->setText(QStringLiteral(" ---"));
    } else if (Modell()->SummeAllerArtikel) {
        SBHauptPanel[1]->setText(QStringLiteral("Alle Artikel"));
        LAAktArtikel->setText(QStringLiteral(" Alle"));
    } else {
        const auto& liste = Modell()->ArtikelListe;
        const int akt = Modell()->AktArtikel;
        const QString name = akt >= 0 && akt < static_cast<int>(liste.size())
                                 ? QtAusAnsi(liste[static_cast<size_t>(akt)])
                                 : QString();
        SBHauptPanel[1]->setText(QStringLiteral("Artikel : ") + name);
        LAAktArtikel->setText(QStringLiteral(" ") + name);
    }
    // Die Liste nur neu füllen, wenn sich die Artikel geändert haben.
    QStringList namen;
    if (Modell() != nullptr)
        for (const std::string& a : Modell()->ArtikelListe) namen.append(QtAusAnsi(a));
    QStringList bisher;
    for (int i = 0; i < CBArtikel->count(); ++i) bisher.append(CBArtikel->itemText(i));
    if (namen != bisher) {
        CBArtikel->clear();
        CBArtikel->addItems(namen);
    }
    CBArtikel->setCurrentIndex(Modell() != nullptr && !Modell()->SummeAllerArtikel ? Modell()->AktArtikel : -1);
}

void TFMHaupt::MaxStromAnzeigen() {
    QString text = QStringLiteral("Max. Strom : ---");
    if (Modell() != nullptr && Modell()->MaxStromBer) {
        text = QStringLiteral("Max. Strom berechnet : ") + QtAusAnsi(Modell()->WertText(Modell()->MaxStromBerechnet));
    } else if (Modell() != nullptr) {
        text = QStringLiteral("Max. Strom : ") + QtAusAnsi(Modell()->WertText(Modell()->MaxStrom));
    }
    SBHauptPanel[2]->setText(text);
    // Große Ströme mit vielen Stellen sollen nicht abgeschnitten werden.
    const int noetig = SBHauptPanel[2]->fontMetrics().horizontalAdvance(text) + 12;
    if (SBHauptPanel[2]->minimumWidth() < noetig) SBHauptPanel[2]->setMinimumWidth(noetig);
}

void TFMHaupt::LogAnfang() {
    QTextCursor cursor(MELog->document());
    cursor.setPosition(0);
    if (MELog->document()->characterCount() > 1) cursor.setPosition(1, QTextCursor::KeepAnchor);
    MELog->setTextCursor(cursor);
    MELog->verticalScrollBar()->setValue(0);
}

void TFMHaupt::Neuzeichnen() {
    // Im Vergleich folgt die Liste dem angezeigten Artikel.
    if (Variante && Modell() != nullptr && AnzeigeArtikel(*Modell()) != VergleichsArtikel) {
        VergleichsArtikel = AnzeigeArtikel(*Modell());
        VergleichAktualisieren();
    }
    PBHaupt->Neuzeichnen();
    Suchindex.Verwerfen();
    Trefferindex.Verwerfen();
    DKUebersicht->Aktualisieren(Dokument.Berechnet());
}

void TFMHaupt::NichtDarstellbarMelden(const QString& grund) {
    MELog->appendPlainText(QStringLiteral("Das Diagramm kann in diesem Massstab nicht dargestellt werden (") + grund +
                           QStringLiteral("). \"Kleiner\" (F2) zeigt es wieder."));
}

void TFMHaupt::PopupOeffnen(const QPoint& global) { PU->popup(global); }

// ---------------------------------------------------------------- Modell

void TFMHaupt::Befehl(const std::function<void()>& befehl) {
    SicherAusfuehren("Der Befehl konnte nicht ausgef\xFChrt werden.", befehl);
}

void TFMHaupt::ModellEinsetzen(std::unique_ptr<TModell> modell) {
    // Vergleich und Ergebnisse gehören zum vorigen Modell.
    AnsichtObjekt->Vergleich = nullptr;
    Vergleichsbild.reset();
    Variante.reset();
    for (TErgebnisDock* d : {DKVergleich, DKEmpfindlichkeit, DKHerkunft})
        if (d != nullptr) d->hide();
    // Editor und Zeichenfeld lassen das alte Modell los, bevor es vergeht.
    EditorObjekt->ModellSetzen(nullptr);
    PBHaupt->ModellSetzen(nullptr);
    DKUebersicht->ModellSetzen(nullptr, false);
    Dokument.Einsetzen(std::move(modell));
    EditorObjekt->ModellSetzen(Modell());
    PBHaupt->ModellSetzen(Modell());
    DKUebersicht->ModellSetzen(Modell(), false);
    LetzterTreffer = 0;
    Suchindex.Verwerfen();
    Trefferindex.Verwerfen();
    // Das vorige Modell ist sauber geschlossen (gespeichert oder verworfen).
    if (WiederherstellungObjekt) WiederherstellungObjekt->Verwerfen();
    if (Modell() == nullptr) return;
    Modell()->Anzeigetrenner = Dezimaltrenner();
    // Ein neues Modell zeigt weder Protokoll noch größten Strom des vorigen
    // und beginnt oben links, wo seine Zeichnung anfängt.
    MELog->clear();
    MaxStromAnzeigen();
    SBoxHaupt->horizontalScrollBar()->setValue(0);
    SBoxHaupt->verticalScrollBar()->setValue(0);
}

void TFMHaupt::WiederherstellungSichern() {
    if (Modell() != nullptr && Modell()->Modifiziert) WiederherstellungObjekt->Sichern(*Modell());
    else WiederherstellungObjekt->Verwerfen();
}

void TFMHaupt::WiederherstellungAnbieten() {
    for (const TWiederherstellungsFund& fund : WiederherstellungObjekt->Finden()) {
        const std::string frage = "Tessomir wurde nicht ordnungsgem\xE4\xDF beendet. Ungespeicherte \xC4nderungen an " +
                                  DateinameFuerAnzeige(fund.Original) + " wiederherstellen?";
        switch (Plattform().Meldungen->FrageMitSpaeter(frage)) {
        case TAntwort::Nein: TWiederherstellung::Entfernen(fund); continue;
        case TAntwort::Abbrechen: continue; // später: die Kopie bleibt für den nächsten Start
        case TAntwort::Ja: break;
        }
        if (ModellSchliessen() != TErgebnis::Erledigt) return;
        std::string grund;
        std::unique_ptr<TModell> modell = TWiederherstellung::Oeffnen(fund, grund);
        if (modell == nullptr) {
            Plattform().Meldungen->Fehler(MeldungMitGrund(
                "Die \xC4nderungen an " + DateinameFuerAnzeige(fund.Original) + " lassen sich nicht wiederherstellen.",
                grund));
            continue;
        }
        // Die Datei auf der Platte ist der Stand, von dem die Änderungen ausgingen.
        ModellEinsetzen(std::move(modell));
        // Erst die eigene Kopie, dann die fremde weg: ein Absturz dazwischen verliert nichts.
        WiederherstellungSichern();
        if (WiederherstellungObjekt->HatKopie()) TWiederherstellung::Entfernen(fund);
        Neuzeichnen();
        ArtikelAnzeigen();
        TitelAnzeigen();
        ModifiziertAnzeigen();
        return; // ein Modell zur Zeit; weitere Kopien beim nächsten Start
    }
}

void TFMHaupt::ModellLaden(const QString& pfad) { ModellLadenPfad(Pfad(pfad)); }

void TFMHaupt::ModellLadenPfad(const std::string& pfad) {
    ModellEinsetzen(nullptr);
    TOeffnenErgebnis ergebnis = ModellOeffnen(pfad);
    const QString anzeige = QFile::decodeName(QByteArray::fromStdString(pfad));
    if (ergebnis.Modell == nullptr) {
        Plattform().Meldungen->Fehler(MeldungMitGrund(ergebnis.Meldung, ergebnis.Grund));
        ZuletztVergessen(anzeige);
    } else {
        ModellEinsetzen(std::move(ergebnis.Modell));
        ZuletztMerken(anzeige);
    }
    MaxStromAnzeigen(); // auch ohne Modell: "---" statt des Entwurfstextes
    Neuzeichnen();
    ArtikelAnzeigen();
    TitelAnzeigen();
}

TErgebnis TFMHaupt::ModellSpeichern(bool speichernUnter) {
    TErgebnis ergebnis = TErgebnis::Abgebrochen;
    if (Modell() != nullptr) {
        // Der Pfad bleibt in Bytes, wie er geöffnet wurde; nur die Dateiwahl spricht QString.
        std::optional<std::string> ziel = Modell()->DateiName;
        if (speichernUnter || Modell()->IstNeu()) {
            const std::optional<QString> gewaehlt =
                Dateiwahl->SpeichernUnter(this, QFile::decodeName(QByteArray::fromStdString(*ziel)));
            ziel = gewaehlt ? std::optional<std::string>(Pfad(*gewaehlt)) : std::nullopt;
        } else if (Dokument.FremdGeaendert(*ziel)) {
            // Ein anderes Programm hat die Datei seit dem Öffnen oder letzten Speichern geändert.
            if (!Plattform().Meldungen->WarnFrage("Die Datei " + DateinameFuerAnzeige(*ziel) +
                                                  " wurde seit dem \xD6" "ffnen ver\xE4ndert. Trotzdem speichern?"))
                ziel.reset();
        }
        if (ziel) {
            const TSpeichernErgebnis gesichert = Dokument.Speichern(*ziel);
            if (gesichert.Ok) {
                ergebnis = TErgebnis::Erledigt;
                WiederherstellungObjekt->Verwerfen();
                ZuletztMerken(QFile::decodeName(QByteArray::fromStdString(*ziel)));
            } else Plattform().Meldungen->Fehler(MeldungMitGrund(gesichert.Meldung, gesichert.Grund));
        }
    }
    TitelAnzeigen();
    ModifiziertAnzeigen();
    return ergebnis;
}

TErgebnis TFMHaupt::ModellSchliessen() {
    TErgebnis ergebnis = TErgebnis::Erledigt;
    if (Modell() != nullptr) {
        if (Modell()->Modifiziert) {
            switch (Plattform().Meldungen->Frage("Wollen Sie die \xC4nderungen speichern ?")) {
            case TAntwort::Ja: ergebnis = ModellSpeichern(false); break;
            case TAntwort::Nein: break;
            case TAntwort::Abbrechen: ergebnis = TErgebnis::Abgebrochen; break;
            }
        }
        if (ergebnis == TErgebnis::Erledigt) ModellEinsetzen(nullptr);
    }
    ArtikelAnzeigen();
    MaxStromAnzeigen();
    TitelAnzeigen();
    Neuzeichnen();
    return ergebnis;
}

void TFMHaupt::closeEvent(QCloseEvent* ereignis) {
    bool schliessen = false;
    Befehl([&] { schliessen = ModellSchliessen() == TErgebnis::Erledigt; });
    if (!schliessen) {
        ereignis->ignore();
        return;
    }
    if (!GroesseGeschrieben) {
        GroesseGeschrieben = true;
        GroesseSchreiben();
    }
    ereignis->accept();
}

// ---------------------------------------------------------------- Fensterlage

void TFMHaupt::GroesseLesen() {
    QSettings einstellungen(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
    einstellungen.beginGroup(QStringLiteral("Groesse"));
    if (Wert(einstellungen, "MAXIMIERT", 0) != 0) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        const int links = Wert(einstellungen, "LINKS", 0);
        const int oben = Wert(einstellungen, "OBEN", 0);
        const int breite = Wert(einstellungen, "BREITE", 700);
        const int hoehe = Wert(einstellungen, "HOEHE", 650);
        // Links und oben gelten für den Rahmen, Breite und Höhe für den Inhalt,
        // wie Qt sie zurückgibt: so wandert das Fenster nicht um seinen Rahmen.
        resize(breite, hoehe);
        move(links, oben);
    }
    // Ein maximiertes Fenster hat hier noch seine Entwurfshöhe.
    const int fensterhoehe = height();
    const int gewuenscht = Wert(einstellungen, "SBOXHOEHE", fensterhoehe / 2);
    const int sbox = std::max(SplitterMindestmass, std::min(gewuenscht, fensterhoehe - 2 * SplitterMindestmass));
    SPLog->setSizes({sbox, std::max(SplitterMindestmass, fensterhoehe - sbox)});
}

void TFMHaupt::GroesseSchreiben() {
    QSettings einstellungen(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
    einstellungen.beginGroup(QStringLiteral("Groesse"));
    einstellungen.setValue(QStringLiteral("MAXIMIERT"), isMaximized() ? 1 : 0);
    einstellungen.setValue(QStringLiteral("LINKS"), x());
    einstellungen.setValue(QStringLiteral("OBEN"), y());
    einstellungen.setValue(QStringLiteral("BREITE"), width());
    einstellungen.setValue(QStringLiteral("HOEHE"), height());
    einstellungen.setValue(QStringLiteral("SBOXHOEHE"), SBoxHaupt->height());
    einstellungen.endGroup();
    einstellungen.sync();
}

// ---------------------------------------------------------------- Aktionen

void TFMHaupt::ACDateiNeuExecute() {
    if (ModellSchliessen() != TErgebnis::Erledigt) return;
    ModellEinsetzen(std::make_unique<TModell>());
    ArtikelAnzeigen();
    TitelAnzeigen();
    Neuzeichnen();
}

void TFMHaupt::ACDateiOeffnenExecute() {
    const std::optional<QString> pfad = Dateiwahl->Oeffnen(this);
    if (!pfad) return;
    if (ModellSchliessen() == TErgebnis::Erledigt) ModellLaden(*pfad);
}

void TFMHaupt::ACDateiSpeichernExecute() { ModellSpeichern(false); }

void TFMHaupt::ACDateiSpeichernUnterExecute() { ModellSpeichern(true); }

void TFMHaupt::ACDateiSchliessenExecute() { ModellSchliessen(); }

void TFMHaupt::ACBearbeitenPruefenExecute() {
    if (Modell() == nullptr) return;
    bool ok = false;
    {
        const TSanduhr sanduhr;
        ok = ModellPruefen(*Modell());
    }
    if (!ok) FehlerMelden(PruefFehlerMeldung);
    LogAnfang();
    Neuzeichnen();
}

void TFMHaupt::ACBearbeitenNeuberechnenExecute() {
    if (Modell() == nullptr) return;
    // Eine lange Berechnung soll keine Änderung kosten, falls sie abstürzt.
    if (Modell()->FOListe.Knoten().size() <= GrossesModell) WiederherstellungSichern();
    TBerechnungsErgebnis ergebnis;
    {
        const TSanduhr sanduhr;
        ergebnis = Dokument.Neuberechnen([this] { MaxStromAnzeigen(); });
        // Zeitgrenze oder Überlauf in einem Netz mit Kreis: die Schlaufenanalyse
        // sagt, welcher es ist. Ohne Kreis (etwa eine Kette von Wandlern) hülfe sie nicht.
        if (ergebnis == TBerechnungsErgebnis::BerechnungFehlerhaft && HatSchlaufe(*Modell()))
            Modell()->LogZeile(SchlaufenHinweisZeile);
    }
    FehlerMelden(ErgebnisMeldung(ergebnis));
    LogAnfang();
    Neuzeichnen();
}

void TFMHaupt::ACAnsichtNaeArtikelExecute() {
    if (Modell() == nullptr) return;
    Modell()->ArtikelSetzen(Modell()->AktArtikel + 1);
    ArtikelAnzeigen();
    Neuzeichnen();
}

void TFMHaupt::ACAnsichtVorhArtikelExecute() {
    if (Modell() == nullptr) return;
    Modell()->ArtikelSetzen(Modell()->AktArtikel - 1);
    ArtikelAnzeigen();
    Neuzeichnen();
}

void TFMHaupt::ACAnsichtSummeExecute() {
    if (Modell() != nullptr) Modell()->SummeAllerArtikel = !Modell()->SummeAllerArtikel;
    ArtikelAnzeigen();
    Neuzeichnen();
}

// Die folgenden Befehle bekommen ihre Dialoge und das Bearbeiten mit der
// Maus später; bis dahin stehen sie mit ihren Regeln bereit und tun nichts.
void TFMHaupt::ACDateiDruckenExecute() {
    DruckMitDialog(this, Modell(), *AnsichtObjekt);
    Neuzeichnen();
}

void TFMHaupt::ACDateiDruckvorschauExecute() {
    DruckVorschau(this, Modell(), *AnsichtObjekt);
    Neuzeichnen();
}
void TFMHaupt::ACBearbeitenMatrixExecute() {
    if (Modell() == nullptr || !Modell()->FOListe.IstEinzelnerKnoten()) return;
    TFMMatrix dialog(this);
    dialog.EigenschaftenAusfuehren = [this] { ACBearbeitenEigenschaftenExecute(); };
    TKnoten* knoten = Modell()->FOListe.Auswahl().front().Objekt->AlsKnoten();
    dialog.KnotenSetzen(knoten);
    dialog.ArtikelListeSetzen(Modell()->ArtikelListe, Modell()->AktArtikel);
    // Jede tatsächliche Änderung zählt, auch eine der Anteilshilfen ohne
    // geöffneten Zelleneditor; ein OK ohne Änderung lässt Modifiziert.
    if (dialog.exec() == QDialog::Accepted) dialog.MatrixUebernehmen(&Dokument.Verlauf());
    ModifiziertAnzeigen();
    Neuzeichnen();
}
void TFMHaupt::ACBearbeitenArtikelExecute() {
    if (Modell() == nullptr) return;
    TFMArtikel dialog(this);
    dialog.Verlauf = &Dokument.Verlauf();
    dialog.Fuellen(*Modell());
    dialog.exec();
    if (const int i = dialog.AuswahlIndex(); i >= 0) Modell()->ArtikelSetzen(i);
    ArtikelAnzeigen();
    // Einfügen und Löschen ändern Matrizen und Modifiziert; das Bild zeigt es.
    Neuzeichnen();
}

void TFMHaupt::ACAnsichtEinstellungenExecute() {
    if (Modell() == nullptr) return;
    TFMAnsicht dialog(this);
    dialog.Verlauf = &Dokument.Verlauf();
    dialog.EinstellungenLaden(*Modell());
    if (dialog.exec() != QDialog::Accepted) return;
    MaxStromAnzeigen();
    Neuzeichnen();
}
void TFMHaupt::ACAnsichtEngpaesseExecute() {
    if (Modell() == nullptr || !Dokument.Berechnet()) return;
    TFMEngpaesse dialog(*Modell(), this);
    dialog.ObjektZeigen = [this](const TFO* objekt) { ObjektZeigen(objekt); };
    dialog.exec();
}

void TFMHaupt::ACBearbeitenSchlaufenExecute() {
    if (Modell() == nullptr) return;
    std::vector<std::string> zeilen;
    {
        const TSanduhr sanduhr;
        zeilen = SchlaufenZeilen(*Modell(), SchlaufenErmitteln(*Modell()));
    }
    Modell()->LogZeile(SchlaufenAnfangZeile);
    for (const std::string& z : zeilen) Modell()->LogZeile(z);
}

void TFMHaupt::ACHilfeInhaltsverzeichnisExecute() { HilfeZeigen("uebersicht.htm"); }
void TFMHaupt::ACHilfeInfoExecute() {
    TFMVersion dialog(this);
    dialog.exec();
}

// ---------------------------------------------------------------- Bearbeiten

void TFMHaupt::ACBearbeitenEigenschaftenExecute() {
    if (Modell() == nullptr || Modell()->FOListe.Auswahl().size() != 1) return;
    TFO& objekt = *Modell()->FOListe.Auswahl().front().Objekt;
    Eigenschaften->Verlauf = &Dokument.Verlauf();
    Eigenschaften->ObjektSetzen(&objekt);
    Eigenschaften->exec();
    ModifiziertAnzeigen();
    Neuzeichnen();
}

void TFMHaupt::ACBearbeitenKapazitaetExecute() {
    if (Modell() == nullptr) return;
    TEingabeInfo info;
    info.Ueberschrift = KapazitaetUeberschrift;
    info.Frage = KapazitaetFrage;
    info.AllesMarkieren = true;
    info.Passwortzeichen = 0;
    info.Breite = screen()->geometry().width() / 4;
    if (!EingabeAusfuehren(info, this)) return;
    // Ändert sich etwas, muss die Speicherfrage davon wissen (Modifiziert).
    const std::string fehler =
        VorgabekapazitaetSetzen(*Modell(), info.Eingabe, Modell()->Anzeigetrenner, &Dokument.Verlauf());
    if (fehler.empty()) Neuzeichnen();
    else Plattform().Meldungen->Info(fehler);
}

void TFMHaupt::ACBearbeitenLoeschenExecute() {
    if (Modell() == nullptr) return;
    AuswahlLoeschen(*Modell(), &Dokument.Verlauf());
    Neuzeichnen();
}

void TFMHaupt::ACBearbeitenAllesAuswaehlenExecute() {
    if (Modell() == nullptr) return;
    Modell()->FOListe.AllesAuswaehlen();
    Neuzeichnen();
}

// ---------------------------------------------------------------- Maus

void TFMHaupt::PBHauptMouseDown(QMouseEvent* ereignis) {
    const std::optional<TMausknopf> knopf = Knopf(ereignis->button());
    if (!knopf) return;
    Befehl([&] { EditorObjekt->Druecken(Modus, *knopf, Umschaltung(*ereignis), Punkt(*ereignis)); });
}

void TFMHaupt::PBHauptMouseMove(QMouseEvent* ereignis) {
    Befehl([&] {
        const TUmschaltung umschaltung = Umschaltung(*ereignis);
        EditorObjekt->Bewegen(Modus, umschaltung, Punkt(*ereignis));
        if (!EditorObjekt->FigurSichtbar()) return;
        const QPoint zeiger = ereignis->position().toPoint();
        const QPoint vorher = PBHaupt->pos();
        RandRollen(zeiger);
        // Der Zeiger steht still, die Fläche lief unter ihm weg: der Umriss folgt
        // dem Punkt, der jetzt unter dem Zeiger liegt, dort landet auch das Loslassen.
        const QPoint versatz = PBHaupt->pos() - vorher;
        if (versatz.isNull()) return;
        const QPoint jetzt = zeiger - versatz;
        EditorObjekt->Bewegen(Modus, umschaltung, TBildpunkt{jetzt.x(), jetzt.y()});
    });
}

void TFMHaupt::PBHauptMouseUp(QMouseEvent* ereignis) {
    const std::optional<TMausknopf> knopf = Knopf(ereignis->button());
    if (!knopf) return;
    Befehl([&] { EditorObjekt->Loslassen(Modus, *knopf, Umschaltung(*ereignis), Punkt(*ereignis)); });
    // Eine Auswahl mit der Maus zeichnet nur über; die Übersicht markiert sie trotzdem.
    DKUebersicht->AuswahlZeigen();
}

// Qt ersetzt das zweite Drücken durch den Doppelklick: erst der Doppelklick,
// dann das Drücken, das ihn als Doppelt trägt.
void TFMHaupt::PBHauptDblClick(QMouseEvent* ereignis) {
    Befehl([this] { Doppelklick(); });
    const std::optional<TMausknopf> knopf = Knopf(ereignis->button());
    if (!knopf) return;
    Befehl([&] { EditorObjekt->Druecken(Modus, *knopf, Umschaltung(*ereignis, true), Punkt(*ereignis)); });
}

void TFMHaupt::Doppelklick() {
    AktionenAktualisieren();
    if (ACBearbeitenMatrix->isEnabled()) ACBearbeitenMatrix->trigger();
    else if (ACBearbeitenEigenschaften->isEnabled()) ACBearbeitenEigenschaften->trigger();
}

void TFMHaupt::RandRollen(const QPoint& punkt) {
    if (!PBHaupt->Sichtbar().contains(punkt)) SBoxHaupt->ensureVisible(punkt.x(), punkt.y(), 0, 0);
}

void TFMHaupt::ModellUeberzeichnen() { PBHaupt->ModellUeberzeichnen(); }

void TFMHaupt::Gummi(const std::function<void()>& zeichnen) { PBHaupt->GummiZeichnen(zeichnen); }

void TFMHaupt::PopupOeffnen(TBildpunkt punkt) { PopupOeffnen(PBHaupt->mapToGlobal(QPoint(punkt.X, punkt.Y))); }

// ---------------------------------------------------------------- Verlauf, Export, Zuletzt geöffnet

void TFMHaupt::ACBearbeitenRueckgaengigExecute() {
    if (Modell() == nullptr || EditorObjekt->NeuerWeg() != nullptr) return;
    EditorObjekt->Abbrechen(); // ein Ziehen der Auswahl, die gleich leer ist
    Dokument.Rueckgaengig();
    VerlaufAnzeigen();
}

void TFMHaupt::ACBearbeitenWiederholenExecute() {
    if (Modell() == nullptr || EditorObjekt->NeuerWeg() != nullptr) return;
    EditorObjekt->Abbrechen();
    Dokument.Wiederholen();
    VerlaufAnzeigen();
}

void TFMHaupt::VerlaufAnzeigen() {
    ArtikelAnzeigen();
    MaxStromAnzeigen();
    ModifiziertAnzeigen();
    Neuzeichnen();
}

void TFMHaupt::ACDateiExportierenExecute() {
    if (Modell() == nullptr) return;
    const QFileInfo modell(QFile::decodeName(QByteArray::fromStdString(Modell()->DateiName)));
    QString vorgabe = modell.completeBaseName() + QStringLiteral(".png");
    if (modell.path() != QStringLiteral(".")) vorgabe = modell.path() + QLatin1Char('/') + vorgabe;
    const std::optional<TExportziel> gewaehlt = Dateiwahl->Exportieren(this, vorgabe);
    if (!gewaehlt) return;
    const QString& ziel = gewaehlt->Pfad;
    const std::string pfad = Pfad(ziel);
    std::string inhalt;
    if (QFileInfo(ziel).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0) {
        inhalt = WegeAlsCsv(*Modell(), gewaehlt->CsvDeutsch ? TCsvFormat::Deutsch : TCsvFormat::Standard);
    } else if (const std::optional<TBildformat> format = BildformatAusName(pfad)) {
        // Wie im Fenster: Artikel oder Summe des Modells, Massstab und Bänder der Ansicht.
        inhalt = ModellAlsBild(*Modell(), AnsichtObjekt->Massstab, *format, AnsichtObjekt->Sankey);
    } else {
        Plattform().Meldungen->Fehler("Die Datei " + AnsiAusQt(QFileInfo(ziel).fileName()) +
                                      " kann nicht exportiert werden.\nM\xF6gliche Endungen sind .png, .svg, .pdf und .csv.");
        return;
    }
    const TSpeichernErgebnis gesichert = DateiSichern(pfad, inhalt);
    if (!gesichert.Ok) Plattform().Meldungen->Fehler(MeldungMitGrund(gesichert.Meldung, gesichert.Grund));
}

void TFMHaupt::ZuletztMerken(const QString& pfad) {
    const QString voll = QFileInfo(pfad).absoluteFilePath();
    QStringList liste = ZuletztListe();
    liste.removeAll(voll);
    liste.prepend(voll);
    ZuletztSchreiben(liste);
    ZuletztAnzeigen();
}

void TFMHaupt::ZuletztVergessen(const QString& pfad) {
    QStringList liste = ZuletztListe();
    if (liste.removeAll(QFileInfo(pfad).absoluteFilePath()) == 0) return;
    ZuletztSchreiben(liste);
    ZuletztAnzeigen();
}

void TFMHaupt::ZuletztAnzeigen() {
    UMDateiZuletzt->clear();
    const QStringList liste = ZuletztListe();
    for (int i = 0; i < liste.size(); ++i) {
        const QString pfad = liste[i];
        const QFileInfo info(pfad);
        QAction* eintrag = UMDateiZuletzt->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(info.fileName()));
        eintrag->setObjectName(QStringLiteral("UMDateiZuletzt%1").arg(i + 1));
        eintrag->setToolTip(QDir::toNativeSeparators(info.absolutePath()));
        // Derselbe Weg wie "Öffnen...": erst die Speicherfrage, dann Laden.
        connect(eintrag, &QAction::triggered, this, [this, pfad] {
            Befehl([this, pfad] {
                if (ModellSchliessen() == TErgebnis::Erledigt) ModellLaden(pfad);
            });
        });
    }
}

void TFMHaupt::dragEnterEvent(QDragEnterEvent* ereignis) {
    if (!ModelldateiAus(ereignis->mimeData()).isEmpty()) ereignis->acceptProposedAction();
}

void TFMHaupt::dropEvent(QDropEvent* ereignis) {
    const QString pfad = ModelldateiAus(ereignis->mimeData());
    if (pfad.isEmpty()) return;
    ereignis->acceptProposedAction();
    // Erst nach dem Ablegen: die Speicherfrage soll den Dateimanager nicht warten lassen.
    QTimer::singleShot(0, this, [this, pfad] {
        Befehl([this, pfad] {
            AktionenAktualisieren();
            if (!ACDateiOeffnen->isEnabled()) return;
            if (ModellSchliessen() == TErgebnis::Erledigt) ModellLaden(pfad);
        });
    });
}

} // namespace tessomir
