// Das Hauptfenster, Teil Navigation: Suchen, Zoom mit festem Ort, Ganzes
// Modell, die Übersicht, Hinweise am Zeiger, Klicks ins Protokoll, die
// Artikelliste und Beenden.
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QKeyEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "app/FHaupt.h"
#include "app/UUebersicht.h"
#include "app/UZeichenfeld.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "editing/USuche.h"
#include "editing/UUebersicht.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"
#include "qt/UQtText.h"
#include "qt/UUebersichtModell.h"
#include "view/UDarstellung.h"
#include "view/UZoom.h"

namespace tessomir {
namespace {

const QString UebersichtSchluessel = QStringLiteral("Ansicht/Uebersicht");

TBildpunkt Punkt(const QPoint& p) { return TBildpunkt{p.x(), p.y()}; }

} // namespace

// ---------------------------------------------------------------- Zeigen und Zoom

void TFMHaupt::ObjektZeigen(const TFO* objekt) {
    if (Modell() == nullptr || objekt == nullptr) return;
    // Nur ein Objekt, das noch in der Liste steht, wird ausgewählt.
    TFO* gefunden = Modell()->FOListe.NrSuchen(objekt->FONr);
    if (gefunden != objekt) return;
    Modell()->FOListe.AuswahlLeeren();
    Modell()->FOListe.Auswaehlen(gefunden, false);
    // Ein Weg zeigt sich in der Mitte zwischen seinen Knoten (dort sitzt sein Pfeil).
    QRect bereich;
    try {
        const TBildpunkt ort = AnsichtObjekt->Transformieren(gefunden->Refpunkt);
        const int symbol = 3 * Modell()->SymbolGroesse / 2 + 8;
        bereich = QRect(ort.X - symbol, ort.Y - symbol, 2 * symbol, 2 * symbol);
        if (const TWeg* weg = gefunden->AlsWeg(); weg != nullptr && weg->Start() != nullptr && weg->Ziel() != nullptr) {
            const TBildpunkt a = AnsichtObjekt->Transformieren(weg->Start()->Refpunkt);
            const TBildpunkt b = AnsichtObjekt->Transformieren(weg->Ziel()->Refpunkt);
            bereich = QRect(QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)), QPoint(std::max(a.X, b.X), std::max(a.Y, b.Y)))
                          .adjusted(-8, -8, 8, 8);
        }
    } catch (const EFehler&) {
        // Ausserhalb des darstellbaren Bereichs: ausgewählt, aber nicht gerollt.
        Neuzeichnen();
        return;
    }
    Neuzeichnen();
    const QSize fenster = SBoxHaupt->viewport()->size();
    const TBildpunkt rollen =
        RollenZurMitte(Punkt(bereich.center()), TBildpunkt{fenster.width(), fenster.height()});
    SBoxHaupt->horizontalScrollBar()->setValue(rollen.X);
    SBoxHaupt->verticalScrollBar()->setValue(rollen.Y);
    PBHaupt->Hervorheben(bereich);
}

void TFMHaupt::ZoomUm(const QPoint& punkt, int schritte) {
    if (schritte == 0) return;
    const double alt = AnsichtObjekt->Massstab;
    const TBildpunkt rollen{SBoxHaupt->horizontalScrollBar()->value(), SBoxHaupt->verticalScrollBar()->value()};
    for (int i = 0; i < std::abs(schritte); ++i) {
        if (schritte > 0) AnsichtObjekt->Vergroessern();
        else AnsichtObjekt->Verkleinern();
    }
    // Erst die neue Größe der Fläche, dann die Rollstellung in ihrem Bereich.
    Neuzeichnen();
    const TBildpunkt neu = RollenUmPunkt(rollen, Punkt(punkt), alt, AnsichtObjekt->Massstab);
    SBoxHaupt->horizontalScrollBar()->setValue(neu.X);
    SBoxHaupt->verticalScrollBar()->setValue(neu.Y);
}

void TFMHaupt::ACAnsichtGroesserExecute() { ZoomUm(SBoxHaupt->viewport()->rect().center(), 1); }

void TFMHaupt::ACAnsichtKleinerExecute() { ZoomUm(SBoxHaupt->viewport()->rect().center(), -1); }

void TFMHaupt::ACAnsichtGanzesModellExecute() {
    if (Modell() == nullptr) return;
    const QSize fenster = SBoxHaupt->viewport()->size();
    const TBildpunkt ecke = GanzesModellZeigen(*Modell(), *AnsichtObjekt, TBildpunkt{fenster.width(), fenster.height()});
    Neuzeichnen();
    SBoxHaupt->horizontalScrollBar()->setValue(ecke.X);
    SBoxHaupt->verticalScrollBar()->setValue(ecke.Y);
}

// ---------------------------------------------------------------- Suchen

void TFMHaupt::StatusMelden(const QString& text) {
    SBHauptMeldung->setText(text);
    MeldungsTakt->start();
}

QString TFMHaupt::StatusMeldung() const { return SBHauptMeldung->text(); }

void TFMHaupt::ACBearbeitenSuchenExecute() {
    TBSuchen->show();
    EDSuchen->setFocus(Qt::ShortcutFocusReason);
    EDSuchen->selectAll();
}

void TFMHaupt::SuchleisteSchliessen() {
    TBSuchen->hide();
    SBoxHaupt->setFocus(Qt::OtherFocusReason);
}

void TFMHaupt::ACBearbeitenWeitersuchenExecute() {
    if (EDSuchen->text().trimmed().isEmpty()) {
        ACBearbeitenSuchenExecute();
        return;
    }
    Suchen(true);
}

void TFMHaupt::Suchen(bool weiter) {
    if (Modell() == nullptr) return;
    const QString text = EDSuchen->text();
    const TSuche suche(AnsiAusQt(text));
    if (suche.Leer()) return;
    const TFO* nach = weiter && text == LetzteSuche && LetzterTreffer != 0 ? Modell()->FOListe.NrSuchen(LetzterTreffer)
                                                                            : nullptr;
    LetzteSuche = text;
    if (!Suchindex.Gebaut()) Suchindex.Aufbauen(*Modell());
    const TSuchtreffer treffer = Suchindex.Naechster(suche, nach);
    if (treffer.Objekt == nullptr) {
        LetzterTreffer = 0;
        StatusMelden(QStringLiteral("Nicht gefunden: ") + text);
        return;
    }
    LetzterTreffer = treffer.Objekt->FONr;
    if (treffer.Umgebrochen) {
        Plattform().Signalton->Piep();
        StatusMelden(QStringLiteral("Suche wieder am Anfang: ") + QtAusAnsi(treffer.Objekt->Titel()));
    } else {
        StatusMelden(QStringLiteral("Gefunden: ") + QtAusAnsi(treffer.Objekt->Titel()));
    }
    ObjektZeigen(treffer.Objekt);
}

// ---------------------------------------------------------------- Übersicht

void TFMHaupt::UebersichtAnlegen() {
    DKUebersicht = new TUebersicht(this);
    addDockWidget(Qt::RightDockWidgetArea, DKUebersicht);
    DKUebersicht->ObjektZeigen = [this](const TFO* objekt) { Befehl([this, objekt] { ObjektZeigen(objekt); }); };
    DKUebersicht->CsvSpeichern = [this] { Befehl([this] { UebersichtCsvSpeichern(); }); };
    ACAnsichtUebersicht = DKUebersicht->toggleViewAction();
    ACAnsichtUebersicht->setObjectName(QStringLiteral("ACAnsichtUebersicht"));
    ACAnsichtUebersicht->setText(QStringLiteral("Übersicht"));
    if (QMenu* ansicht = menuBar()->findChild<QMenu*>(QStringLiteral("UMAnsicht")); ansicht != nullptr) {
        ansicht->addSeparator();
        ansicht->addAction(ACAnsichtUebersicht);
    }
    // Alle Spalten zeigen, aber dem Diagramm mindestens die Hälfte lassen.
    const auto breiteSetzen = [this] {
        resizeDocks({DKUebersicht}, {std::min(DKUebersicht->Wunschbreite(), width() / 2)}, Qt::Horizontal);
    };
    connect(ACAnsichtUebersicht, &QAction::toggled, this, [this, breiteSetzen](bool an) {
        // Beim Schliessen des Fensters verschwindet die Übersicht mit ihm; das
        // ist keine Wahl des Benutzers und wird nicht gemerkt.
        if (!isVisible()) return;
        QSettings s(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
        s.setValue(UebersichtSchluessel, an);
        if (an) breiteSetzen();
    });
    // Ohne Eintrag in den Einstellungen bleibt das Fenster, wie es war.
    const QSettings einstellungen(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
    if (einstellungen.value(UebersichtSchluessel, false).toBool()) {
        DKUebersicht->setVisible(true);
        QTimer::singleShot(0, this, breiteSetzen);
    } else {
        DKUebersicht->setVisible(false);
    }

    SBoxHaupt->viewport()->installEventFilter(this);
    PBHaupt->installEventFilter(this);
    MELog->viewport()->installEventFilter(this);
    EDSuchen->installEventFilter(this);
}

void TFMHaupt::UebersichtCsvSpeichern() {
    if (Modell() == nullptr) return;
    const QFileInfo modell(QFile::decodeName(QByteArray::fromStdString(Modell()->DateiName)));
    const std::optional<QString> ziel =
        Dateiwahl->CsvSpeichern(this, modell.completeBaseName() + QStringLiteral("_uebersicht.csv"));
    if (!ziel) return;
    const TUebersichtModell& tabelle = DKUebersicht->Tabelle();
    const TSpeichernErgebnis gesichert =
        DateiSichern(QFile::encodeName(*ziel).toStdString(), UebersichtAlsCsv(tabelle.Zeilen(), tabelle.Sicht()));
    if (!gesichert.Ok) Plattform().Meldungen->Fehler(MeldungMitGrund(gesichert.Meldung, gesichert.Grund));
}

// ---------------------------------------------------------------- Zeiger, Rad und Protokoll

bool TFMHaupt::eventFilter(QObject* objekt, QEvent* ereignis) {
    // Erst eingesetzt, wenn alle Teile des Fensters stehen.
    if (DKUebersicht == nullptr) return QMainWindow::eventFilter(objekt, ereignis);
    bool erledigt = false;
    if ((objekt == SBoxHaupt->viewport() || objekt == PBHaupt) && ereignis->type() == QEvent::Wheel) {
        auto* rad = static_cast<QWheelEvent*>(ereignis);
        if (rad->modifiers() & Qt::ControlModifier) {
            // Eine Raste (120) ist ein Zoomschritt; feine Räder sammeln sich.
            RadRest += rad->angleDelta().y();
            const int schritte = RadRest / 120;
            RadRest -= schritte * 120;
            QPoint punkt = rad->position().toPoint();
            if (objekt == PBHaupt) punkt = PBHaupt->mapTo(SBoxHaupt->viewport(), punkt);
            Befehl([this, punkt, schritte] { ZoomUm(punkt, schritte); });
            erledigt = true;
        }
    } else if (objekt == PBHaupt && ereignis->type() == QEvent::ToolTip) {
        auto* hilfe = static_cast<QHelpEvent*>(ereignis);
        Befehl([&] {
            if (!HinweisZeigen(hilfe->pos(), hilfe->globalPos())) QToolTip::hideText();
        });
        erledigt = true;
    } else if (objekt == MELog->viewport() && ereignis->type() == QEvent::MouseButtonPress) {
        LogDruckpunkt = static_cast<QMouseEvent*>(ereignis)->position().toPoint();
    } else if (objekt == MELog->viewport() && ereignis->type() == QEvent::MouseButtonRelease) {
        // Ein Klick, kein Ziehen: wer Text markiert, will ihn kopieren.
        auto* maus = static_cast<QMouseEvent*>(ereignis);
        const QPoint punkt = maus->position().toPoint();
        if (maus->button() == Qt::LeftButton &&
            (punkt - LogDruckpunkt).manhattanLength() < QApplication::startDragDistance())
            Befehl([this, punkt] { ProtokollKlick(punkt); });
    } else if (objekt == EDSuchen && ereignis->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(ereignis)->key() == Qt::Key_Escape) {
        SuchleisteSchliessen();
        erledigt = true;
    }
    return erledigt || QMainWindow::eventFilter(objekt, ereignis);
}

bool TFMHaupt::HinweisZeigen(const QPoint& punkt, const QPoint& global) {
    if (Modell() == nullptr || Modus != Deaktiviert || AnsichtObjekt->Ziehen) return false;
    // Der Trefferpunkt gehört dem Editor: nur geliehen.
    const TBildpunkt vorher = AnsichtObjekt->Trefferpunkt;
    AnsichtObjekt->Trefferpunkt = Punkt(punkt);
    const TFO* objekt = nullptr;
    try {
        if (!Trefferindex.Gebaut()) Trefferindex.Aufbauen(Modell()->FOListe);
        objekt = Trefferindex.ObjektUnter(*AnsichtObjekt);
    } catch (...) {
        AnsichtObjekt->Trefferpunkt = vorher;
        throw;
    }
    AnsichtObjekt->Trefferpunkt = vorher;
    if (objekt == nullptr) return false;
    // Als HTML mit geschützten Zeichen: ein Name wie "<b>" bleibt Text.
    const QString text = QtAusAnsi(ObjektHinweis(*objekt, Dokument.Berechnet())).toHtmlEscaped();
    QToolTip::showText(global, QStringLiteral("<p style='white-space:pre'>") +
                                   QString(text).replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                                   QStringLiteral("</p>"),
                       PBHaupt);
    return true;
}

void TFMHaupt::ProtokollKlick(const QPoint& punkt) {
    if (Modell() == nullptr) return;
    const QString zeile = MELog->cursorForPosition(punkt).block().text();
    if (TFO* objekt = ObjektAusZeile(*Modell(), AnsiAusQt(zeile)); objekt != nullptr) ObjektZeigen(objekt);
}

// ---------------------------------------------------------------- Artikel und Beenden

void TFMHaupt::ArtikelGewaehlt(int index) {
    if (Modell() == nullptr || index < 0 || index >= Modell()->AnzahlArtikel()) return;
    Modell()->ArtikelSetzen(index);
    ArtikelAnzeigen();
    Neuzeichnen();
}

void TFMHaupt::ACDateiBeendenExecute() { close(); }

} // namespace tessomir
