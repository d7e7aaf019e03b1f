#include "dialogs/FMatrix.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QFile>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "dialogs/FEigenschaften.h"
#include "help/UHilfe.h"
#include "model/UKnoten.h"
#include "editing/UMatrixBearbeitung.h"
#include "editing/USchritte.h"
#include "model/UModell.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "persistence/UModellDatei.h"
#include "qt/UBefehl.h"
#include "qt/UQtText.h"

namespace tessomir {
namespace {

QColor Farbe(TRgb rgb) { return QColor(rgb.R, rgb.G, rgb.B); }

// Abstand, in dem ein Druck neben einer Spaltengrenze diese zieht.
constexpr int Greifweite = 3;

QIcon Bild(const char* name, QStyle::StandardPixmap ersatz, const QStyle* stil) {
    // Die Bilder liegen in den Ressourcen des Programms, nicht jedes Tests.
    const QString datei = QStringLiteral(":/bilder/%1.svg").arg(QLatin1String(name));
    return QFile::exists(datei) ? QIcon(datei) : stil->standardIcon(ersatz);
}

} // namespace

// Die Zellen des Rasters als Qt-Tabelle über TMatrixBearbeitung.
class TFMMatrix::TTabelle final : public QAbstractTableModel {
public:
    explicit TTabelle(QObject* eltern) : QAbstractTableModel(eltern) {}

    void RasterSetzen(TMatrixBearbeitung* raster) {
        beginResetModel();
        Raster = raster;
        endResetModel();
    }
    void TexteGeaendert() {
        if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

    int rowCount(const QModelIndex& eltern = {}) const override {
        return Raster == nullptr || eltern.isValid() ? 0 : Raster->Zeilen();
    }
    int columnCount(const QModelIndex& eltern = {}) const override {
        return Raster == nullptr || eltern.isValid() ? 0 : Raster->Spalten();
    }
    QVariant data(const QModelIndex& i, int rolle) const override {
        if (Raster == nullptr || !i.isValid()) return {};
        if (rolle == Qt::DisplayRole || rolle == Qt::EditRole) return QtAusAnsi(Raster->Text(i.column(), i.row()));
        return {};
    }
    bool setData(const QModelIndex& i, const QVariant& wert, int rolle) override {
        if (Raster == nullptr || rolle != Qt::EditRole || !Raster->IstEditierbar(i.column(), i.row())) return false;
        Raster->TextSetzen(i.column(), i.row(), AnsiAusQt(wert.toString()));
        emit dataChanged(i, i);
        return true;
    }
    // Feste Zellen kann man nicht wählen; die Ansicht überspringt sie.
    Qt::ItemFlags flags(const QModelIndex& i) const override {
        if (Raster == nullptr || !i.isValid() || Raster->IstFest(i.column(), i.row())) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (Raster->IstEditierbar(i.column(), i.row())) f |= Qt::ItemIsEditable;
        return f;
    }

    TMatrixBearbeitung* Raster = nullptr;
};

// Zeichnet jede Zelle selbst und öffnet den Zelleneditor.
class TFMMatrix::TZellenmaler final : public QStyledItemDelegate {
public:
    TZellenmaler(TFMMatrix& dialog, TTabelle& tabelle) : QStyledItemDelegate(&dialog), Dialog(dialog), Tabelle(tabelle) {
        // Auch die Ansicht schliesst Editoren (Eingabetaste, Zellwechsel).
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
            if (Offen.data() == editor) Offen.clear();
        });
    }

    void paint(QPainter* maler, const QStyleOptionViewItem& option, const QModelIndex& i) const override {
        const TMatrixBearbeitung* raster = Tabelle.Raster;
        if (raster == nullptr) return;
        QColor hinten = Qt::white;
        switch (raster->Farbe(i.column(), i.row())) {
        case TZellfarbe::Eingabe: hinten = Farbe(EingabeRgb); break;
        case TZellfarbe::Ecke: hinten = option.palette.color(QPalette::Button); break;
        case TZellfarbe::Kopfspalte: hinten = Farbe(KopfspalteRgb); break;
        case TZellfarbe::Kopfzeile: hinten = Farbe(KopfzeileRgb); break;
        case TZellfarbe::Weiss: break;
        }
        maler->save();
        maler->setClipRect(option.rect);
        maler->fillRect(option.rect, hinten);
        const QRect r = option.rect;
        const int hoehe = option.fontMetrics.height();
        maler->setPen(Qt::black);
        maler->setFont(option.font);
        maler->drawText(QRect(r.left() + 5, r.top() + (r.height() - hoehe - 1) / 2, r.width() - 10, hoehe),
                        Qt::AlignHCenter | Qt::AlignTop, i.data(Qt::DisplayRole).toString());
        // Die aktuelle Zelle trägt immer ein punktiertes Rechteck: auf sie wirken
        // Tippen, Strg+E, Strg+A und Strg+H. Der Fokusrahmen des Stils taugt dafür
        // nicht, Fusion zeichnet ihn nur nach einem Tastenwechsel des Fokus.
        const auto* ansicht = qobject_cast<const QAbstractItemView*>(option.widget);
        if (ansicht != nullptr && ansicht->currentIndex() == i) {
            QPen punkte(Qt::black, 1);
            punkte.setDashPattern({1.0, 1.0});
            punkte.setCosmetic(true);
            maler->setPen(punkte);
            maler->setBrush(Qt::NoBrush);
            maler->drawRect(r.adjusted(1, 1, -2, -2));
        }
        maler->restore();
    }

    QWidget* createEditor(QWidget* eltern, const QStyleOptionViewItem& option, const QModelIndex& i) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(eltern, option, i);
        if (auto* zeile = qobject_cast<QLineEdit*>(editor)) {
            zeile->setAlignment(Qt::AlignHCenter);
            QPalette p = zeile->palette();
            p.setColor(QPalette::Base, Farbe(EingabeRgb));
            zeile->setPalette(p);
        }
        editor->setObjectName(QStringLiteral("EDZelle"));
        editor->setAccessibleName(QStringLiteral("Zellenwert"));
        editor->installEventFilter(&Dialog);
        Offen = editor;
        // Geändert heisst: ein Editor war offen, gleich ob der Text sich ändert.
        Dialog.GeaendertFlag = true;
        return editor;
    }

    void Beenden(bool uebernehmen) {
        if (Offen.isNull()) return;
        QWidget* editor = Offen.data();
        Offen.clear();
        if (uebernehmen) emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

private:
    TFMMatrix& Dialog;
    TTabelle& Tabelle;
    mutable QPointer<QWidget> Offen;
};

// ---------------------------------------------------------------- Aufbau

TFMMatrix::TFMMatrix(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("FMMatrix"));
    setAccessibleDescription(QStringLiteral("Matrix"));
    setWindowTitle(QStringLiteral("Matrix"));
    setWindowIcon(Bild("matrix", QStyle::SP_FileDialogDetailedView, style()));
    setMinimumSize(320, 150);
    resize(753, 292);

    ACNaeArtikel = Aktion("ACNaeArtikel", QStringLiteral("Nächster Artikel"), QStringLiteral("Nächster Artikel"),
                          QKeySequence(Qt::Key_F6), &TFMMatrix::ACNaeArtikelExecute);
    ACVorhArtikel = Aktion("ACVorhArtikel", QStringLiteral("Vorheriger Artikel"), QStringLiteral("Vorheriger Artikel"),
                           QKeySequence(Qt::SHIFT | Qt::Key_F6), &TFMMatrix::ACVorhArtikelExecute);
    ACNaeArtikel->setIcon(Bild("naeartikel", QStyle::SP_ArrowRight, style()));
    ACVorhArtikel->setIcon(Bild("vorhartikel", QStyle::SP_ArrowLeft, style()));
    ACAlleZumAusgang = Aktion("ACAlleZumAusgang", QStringLiteral("alle Eingänge zu diesem Ausgang"), {},
                              QKeySequence(Qt::CTRL | Qt::Key_A), &TFMMatrix::ACAlleZumAusgangExecute);
    ACErgaenzenAuf100 = Aktion("ACErgaenzenAuf100", QStringLiteral("Ergänzen auf 100 %"), {},
                               QKeySequence(Qt::CTRL | Qt::Key_E), &TFMMatrix::ACErgaenzenAuf100Execute);
    AC100Prozent = Aktion("AC100Prozent", QStringLiteral("100 % "), QStringLiteral("100 Prozent"),
                          QKeySequence(Qt::CTRL | Qt::Key_H), &TFMMatrix::AC100ProzentExecute);
    ACOk = Aktion("ACOk", QStringLiteral("Übernehmen und schliessen"), {}, QKeySequence(Qt::CTRL | Qt::Key_O),
                  &TFMMatrix::ACOkExecute);
    // Ein Block aus einer Tabellenkalkulation ab der aktuellen Zelle; im
    // offenen Zelleneditor fügt Strg+V wie gewohnt dort Text ein.
    ACEinfuegen = Aktion("ACEinfuegen", QStringLiteral("Einfügen aus Tabelle"), {}, QKeySequence(Qt::CTRL | Qt::Key_V),
                         &TFMMatrix::ACEinfuegenExecute);
    ACHilfe = Aktion("ACHilfe", QStringLiteral("Hilfe   F1"), QStringLiteral("Hilfe"), QKeySequence(Qt::Key_F1),
                     &TFMMatrix::ACHilfeExecute);

    // Oben: Artikel blättern und anzeigen.
    PAOben = new QWidget(this);
    PAOben->setObjectName(QStringLiteral("PAOben"));
    PAOben->setAccessibleName(QStringLiteral("Artikelleiste"));
    PAOben->setFixedHeight(22);
    SPVorhArtikel = new QToolButton(PAOben);
    SPVorhArtikel->setObjectName(QStringLiteral("SPVorhArtikel"));
    SPVorhArtikel->setDefaultAction(ACVorhArtikel);
    SPVorhArtikel->setAutoRaise(true);
    SPVorhArtikel->setAccessibleName(QStringLiteral("Vorheriger Artikel"));
    SPNaeArtikel = new QToolButton(PAOben);
    SPNaeArtikel->setObjectName(QStringLiteral("SPNaeArtikel"));
    SPNaeArtikel->setDefaultAction(ACNaeArtikel);
    SPNaeArtikel->setAutoRaise(true);
    SPNaeArtikel->setAccessibleName(QStringLiteral("Nächster Artikel"));
    for (QToolButton* knopf : {SPVorhArtikel, SPNaeArtikel}) {
        knopf->setFixedSize(22, 22);
        knopf->setFocusPolicy(Qt::NoFocus);
    }
    LAArtikel = new QLabel(QStringLiteral("Artikel"), PAOben);
    LAArtikel->setObjectName(QStringLiteral("LAArtikel"));
    LAArtikel->setAccessibleDescription(QStringLiteral("Artikel"));
    PAArtikel = new QFrame(PAOben);
    PAArtikel->setObjectName(QStringLiteral("PAArtikel"));
    PAArtikel->setAccessibleName(QStringLiteral("Gezeigter Artikel"));
    PAArtikel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LAArtikelAnzeige = new QLabel(PAArtikel);
    LAArtikelAnzeige->setTextFormat(Qt::PlainText);
    LAArtikelAnzeige->setObjectName(QStringLiteral("LAArtikelAnzeige"));
    LAArtikelAnzeige->setAccessibleDescription(QStringLiteral("Name des gezeigten Artikels"));
    LAArtikelAnzeige->setAutoFillBackground(true);
    QPalette gelb = LAArtikelAnzeige->palette();
    gelb.setColor(QPalette::Window, Farbe(ArtikelanzeigeRgb));
    LAArtikelAnzeige->setPalette(gelb);
    auto* rahmen = new QHBoxLayout(PAArtikel);
    rahmen->setContentsMargins(1, 1, 1, 1);
    rahmen->addWidget(LAArtikelAnzeige);
    auto* oben = new QHBoxLayout(PAOben);
    oben->setContentsMargins(0, 0, 0, 0);
    oben->setSpacing(2);
    oben->addWidget(SPVorhArtikel);
    oben->addWidget(SPNaeArtikel);
    oben->addSpacing(6);
    oben->addWidget(LAArtikel);
    oben->addWidget(PAArtikel, 1);

    // Mitte: das Raster.
    SGMatrix = new QTableView(this);
    SGMatrix->setObjectName(QStringLiteral("SGMatrix"));
    SGMatrix->setAccessibleName(QStringLiteral("Matrix"));
    Tabelle = new TTabelle(this);
    Maler = new TZellenmaler(*this, *Tabelle);
    SGMatrix->setModel(Tabelle);
    SGMatrix->setItemDelegate(Maler);
    SGMatrix->horizontalHeader()->hide();
    SGMatrix->verticalHeader()->hide();
    SGMatrix->horizontalHeader()->setMinimumSectionSize(5);
    SGMatrix->horizontalHeader()->setDefaultSectionSize(MatrixSpaltenbreite);
    SGMatrix->verticalHeader()->setMinimumSectionSize(5);
    SGMatrix->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SGMatrix->verticalHeader()->setDefaultSectionSize(MatrixZeilenhoehe);
    SGMatrix->setShowGrid(true);
    SGMatrix->setGridStyle(Qt::SolidLine);
    SGMatrix->setSelectionMode(QAbstractItemView::SingleSelection);
    SGMatrix->setSelectionBehavior(QAbstractItemView::SelectItems);
    SGMatrix->setTabKeyNavigation(true);
    SGMatrix->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    SGMatrix->setContextMenuPolicy(Qt::PreventContextMenu);
    SGMatrix->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    SGMatrix->viewport()->installEventFilter(this);
    SGMatrix->installEventFilter(this);
    SGMatrix->viewport()->setMouseTracking(true);
    connect(SGMatrix->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { AktionenAktualisieren(); });

    PU = new QMenu(this);
    PU->setObjectName(QStringLiteral("PU"));
    PU->setAccessibleName(QStringLiteral("Kontextmenü der Matrix"));
    PU->addAction(ACErgaenzenAuf100);
    PU->addAction(ACAlleZumAusgang);
    PU->addAction(AC100Prozent);
    PU->addSeparator();
    UMOk = new QAction(ACOk->text(), PU);
    UMOk->setObjectName(QStringLiteral("UMOk"));
    UMOk->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(UMOk, &QAction::triggered, ACOk, &QAction::trigger);
    PU->addAction(UMOk);

    // Unten: Knöpfe.
    PAUnten = new QWidget(this);
    PAUnten->setObjectName(QStringLiteral("PAUnten"));
    PAUnten->setAccessibleName(QStringLiteral("Schaltflächen"));
    PAUnten->setFixedHeight(36);
    BTHilfe = new QPushButton(ACHilfe->text(), PAUnten);
    BTHilfe->setObjectName(QStringLiteral("BTHilfe"));
    BTHilfe->setAccessibleName(QStringLiteral("Hilfe"));
    BTEigenschaften = new QPushButton(QStringLiteral("&Eigenschaften..."), PAUnten);
    BTEigenschaften->setObjectName(QStringLiteral("BTEigenschaften"));
    BTEigenschaften->setAccessibleName(QStringLiteral("Eigenschaften"));
    BTOK = new QPushButton(QStringLiteral("OK"), PAUnten);
    BTOK->setObjectName(QStringLiteral("BTOK"));
    BTOK->setAccessibleName(QStringLiteral("OK"));
    BTAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), PAUnten);
    BTAbbrechen->setObjectName(QStringLiteral("BTAbbrechen"));
    BTAbbrechen->setAccessibleName(QStringLiteral("Abbrechen"));
    for (QPushButton* knopf : {BTHilfe, BTEigenschaften, BTAbbrechen}) knopf->setAutoDefault(false);
    BTOK->setDefault(true);
    connect(BTHilfe, &QPushButton::clicked, ACHilfe, &QAction::trigger);
    connect(BTEigenschaften, &QPushButton::clicked, this, [this] { Sicher([this] { BTEigenschaftenClick(); }); });
    connect(BTOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BTAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    auto* unten = new QHBoxLayout(PAUnten);
    unten->setContentsMargins(6, 4, 6, 4);
    unten->addWidget(BTHilfe);
    unten->addWidget(BTEigenschaften);
    unten->addStretch(1);
    unten->addWidget(BTOK);
    unten->addWidget(BTAbbrechen);

    auto* senkrecht = new QVBoxLayout(this);
    senkrecht->setContentsMargins(0, 0, 0, 0);
    senkrecht->setSpacing(0);
    senkrecht->addWidget(PAOben);
    senkrecht->addWidget(SGMatrix, 1);
    senkrecht->addWidget(PAUnten);

    SGMatrix->setFocus();
    AktionenAktualisieren();
}

TFMMatrix::~TFMMatrix() {
    // Die Tabelle lebt bis zum Ende von QObject; ohne Raster fragt sie nichts mehr.
    Tabelle->RasterSetzen(nullptr);
}

QAction* TFMMatrix::Aktion(const char* name, const QString& text, const QString& lesbar, const QKeySequence& taste,
                           void (TFMMatrix::*ausfuehren)()) {
    auto* aktion = new QAction(text, this);
    aktion->setObjectName(QLatin1String(name));
    aktion->setToolTip(lesbar.isEmpty() ? text : lesbar);
    aktion->setShortcut(taste);
    addAction(aktion);
    connect(aktion, &QAction::triggered, this, [this, ausfuehren] { Sicher([this, ausfuehren] { (this->*ausfuehren)(); }); });
    return aktion;
}

void TFMMatrix::Sicher(const std::function<void()>& tun) {
    SicherAusfuehren("Die Matrix konnte nicht bearbeitet werden.", tun);
}

// ---------------------------------------------------------------- Knoten

void TFMMatrix::KnotenSetzen(TKnoten* knoten) {
    if (knoten == nullptr) return;
    EditorBeenden(false);
    auto raster = std::make_unique<TMatrixBearbeitung>(*knoten->Modell);
    raster->KnotenSetzen(*knoten);
    Tabelle->RasterSetzen(nullptr);
    Raster = std::move(raster);
    Knoten = knoten;
    Tabelle->RasterSetzen(Raster.get());
    setWindowTitle(QtAusAnsi(MatrixTitel(Knoten)));
    SGMatrix->setEditTriggers(Raster->Editierbar() ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                         QAbstractItemView::AnyKeyPressed
                                                   : QAbstractItemView::NoEditTriggers);
    const TMass mass = MatrixFenstermass(Raster->Spalten(), Raster->Zeilen());
    resize(mass.Breite, mass.Hoehe);
    GeaendertFlag = false;
    ZelleWaehlen(Raster->ErsteZelle().Spalte, Raster->ErsteZelle().Zeile);
    ArtikelAnzeigen();
}

void TFMMatrix::ArtikelListeSetzen(const std::vector<std::string>& artikel, int position) {
    if (!Raster) return;
    EditorBeenden(false);
    Raster->ArtikelListeSetzen(artikel, position);
    ArtikelAnzeigen();
}

bool TFMMatrix::MatrixUebernehmen(TVerlauf* verlauf) {
    if (Knoten == nullptr || !Raster) return false;
    return MatrixAendern(*Knoten, Raster->Arbeitsmatrix(), verlauf);
}

int TFMMatrix::KnotenArt() const { return Raster ? static_cast<int>(Raster->Art()) : -1; }

int TFMMatrix::AnzeigeArtikel() const { return Raster ? Raster->AnzeigeArtikel() : 0; }

void TFMMatrix::ArtikelAnzeigen() {
    Tabelle->TexteGeaendert();
    LAArtikelAnzeige->setText(Raster ? QtAusAnsi(Raster->ArtikelAnzeige()) : QString());
    AktionenAktualisieren();
}

void TFMMatrix::AktionenAktualisieren() {
    const bool raster = Raster != nullptr;
    ACNaeArtikel->setEnabled(raster && Raster->KannVor());
    ACVorhArtikel->setEnabled(raster && Raster->KannZurueck());
    const bool anteil = raster && Raster->AnteilshilfeMoeglich(AktZeile());
    for (QAction* a : {ACAlleZumAusgang, ACErgaenzenAuf100, AC100Prozent}) a->setEnabled(anteil);
}

int TFMMatrix::AktSpalte() const { return SGMatrix->currentIndex().isValid() ? SGMatrix->currentIndex().column() : -1; }
int TFMMatrix::AktZeile() const { return SGMatrix->currentIndex().isValid() ? SGMatrix->currentIndex().row() : -1; }

void TFMMatrix::ZelleWaehlen(int spalte, int zeile) {
    const QModelIndex i = Tabelle->index(zeile, spalte);
    if (!i.isValid()) return;
    SGMatrix->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    SGMatrix->scrollTo(i);
    AktionenAktualisieren();
}

void TFMMatrix::EditorBeenden(bool uebernehmen) { Maler->Beenden(uebernehmen); }

void TFMMatrix::UngueltigeZelleZeigen() {
    const auto z = Raster->UngueltigeZelle();
    if (!z) return;
    Plattform().Meldungen->Fehler(UngueltigeEingabe);
    ZelleWaehlen(z->Spalte, z->Zeile);
}

// ---------------------------------------------------------------- Aktionen

void TFMMatrix::ACNaeArtikelExecute() {
    if (!Raster || !Raster->KannVor()) return;
    EditorBeenden(true);
    if (!Raster->ArtikelWechseln(Raster->AnzeigeArtikel() + 1)) UngueltigeZelleZeigen();
    ArtikelAnzeigen();
}

void TFMMatrix::ACVorhArtikelExecute() {
    if (!Raster || !Raster->KannZurueck()) return;
    EditorBeenden(true);
    if (!Raster->ArtikelWechseln(Raster->AnzeigeArtikel() - 1)) UngueltigeZelleZeigen();
    ArtikelAnzeigen();
}

void TFMMatrix::ACAlleZumAusgangExecute() {
    if (!Raster || !Raster->AnteilshilfeMoeglich(AktZeile())) return;
    EditorBeenden(true);
    Raster->AlleZumAusgang(AktZeile());
    Tabelle->TexteGeaendert();
}

void TFMMatrix::ACErgaenzenAuf100Execute() {
    if (!Raster || !Raster->AnteilshilfeMoeglich(AktZeile())) return;
    EditorBeenden(true);
    Raster->ErgaenzenAuf100(AktSpalte(), AktZeile());
    Tabelle->TexteGeaendert();
}

void TFMMatrix::AC100ProzentExecute() {
    if (!Raster || !Raster->AnteilshilfeMoeglich(AktZeile())) return;
    EditorBeenden(true);
    Raster->HundertProzent(AktSpalte(), AktZeile());
    Tabelle->TexteGeaendert();
}

void TFMMatrix::ACEinfuegenExecute() {
    if (!Raster) return;
    const QString block = QGuiApplication::clipboard()->text();
    const int spalte = AktSpalte(), zeile = AktZeile();
    if (block.isEmpty() || !Raster->IstEditierbar(spalte, zeile)) {
        Plattform().Signalton->Piep();
        return;
    }
    EditorBeenden(true);
    Raster->BlockEinfuegen(spalte, zeile, AnsiAusQt(block));
    Tabelle->TexteGeaendert();
    AktionenAktualisieren();
}

void TFMMatrix::ACOkExecute() { accept(); }

void TFMMatrix::ACHilfeExecute() { HilfeZeigen(MatrixHilfethema(Raster ? Raster->Art() : TMatrixArt::Keine)); }

void TFMMatrix::BTEigenschaftenClick() {
    if (Knoten == nullptr) return;
    if (EigenschaftenAusfuehren) {
        EigenschaftenAusfuehren();
    } else {
        TFMEigenschaften eigenschaften(this);
        eigenschaften.ObjektSetzen(Knoten);
        eigenschaften.exec(); // eine Änderung setzt Modifiziert selbst
    }
    // Ein dort geänderter Name erscheint im Titel.
    setWindowTitle(QtAusAnsi(MatrixTitel(Knoten)));
}

void TFMMatrix::done(int ergebnis) {
    bool schliessen = true;
    Sicher([&] {
        if (ergebnis != QDialog::Accepted || !Raster) {
            EditorBeenden(false);
            return;
        }
        EditorBeenden(true);
        if (!Raster->Abschliessen()) {
            schliessen = false;
            UngueltigeZelleZeigen();
        }
    });
    if (schliessen) QDialog::done(ergebnis);
}

// ---------------------------------------------------------------- Maus und Tasten

bool TFMMatrix::RechteTaste(const QPoint& punkt) {
    const QModelIndex i = SGMatrix->indexAt(punkt);
    if (!i.isValid() || !Raster || Raster->IstFest(i.column(), i.row())) return true;
    EditorBeenden(true);
    ZelleWaehlen(i.column(), i.row());
    PU->popup(SGMatrix->viewport()->mapToGlobal(punkt));
    return true;
}

// Spaltenbreiten zieht man an den Grenzen in den festen Zeilen, wie im
// Kopf einer Tabelle.
bool TFMMatrix::Spaltenziehen(QEvent* ereignis) {
    auto* maus = static_cast<QMouseEvent*>(ereignis);
    const QPoint p = maus->position().toPoint();
    const auto grenze = [this, p]() -> int {
        if (!Raster || SGMatrix->rowAt(p.y()) >= Raster->FesteZeilen() || SGMatrix->rowAt(p.y()) < 0) return -1;
        for (int c = 0; c < Tabelle->columnCount(); ++c) {
            const int rechts = SGMatrix->columnViewportPosition(c) + SGMatrix->columnWidth(c);
            if (std::abs(p.x() - rechts) <= Greifweite) return c;
        }
        return -1;
    };
    switch (ereignis->type()) {
    case QEvent::MouseButtonPress:
        if (maus->button() != Qt::LeftButton || (Ziehspalte = grenze()) < 0) return false;
        return true;
    case QEvent::MouseMove:
        if (Ziehspalte >= 0) {
            SGMatrix->setColumnWidth(Ziehspalte, std::max(5, p.x() - SGMatrix->columnViewportPosition(Ziehspalte)));
            return true;
        }
        if (maus->buttons() == Qt::NoButton) {
            if (grenze() >= 0) SGMatrix->viewport()->setCursor(Qt::SplitHCursor);
            else SGMatrix->viewport()->unsetCursor();
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (Ziehspalte < 0) return false;
        Ziehspalte = -1;
        return true;
    default: return false;
    }
}

bool TFMMatrix::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == SGMatrix->viewport()) {
        if (ereignis->type() == QEvent::ContextMenu) return true; // PU öffnet nur die rechte Taste
        if (ereignis->type() == QEvent::MouseButtonPress || ereignis->type() == QEvent::MouseButtonDblClick) {
            auto* maus = static_cast<QMouseEvent*>(ereignis);
            if (maus->button() == Qt::RightButton) {
                bool erledigt = true;
                Sicher([&] { erledigt = RechteTaste(maus->position().toPoint()); });
                return erledigt;
            }
        }
        if (ereignis->type() == QEvent::MouseButtonPress || ereignis->type() == QEvent::MouseMove ||
            ereignis->type() == QEvent::MouseButtonRelease)
            return Spaltenziehen(ereignis);
        return false;
    }
    // Im Zelleneditor gelten die Tasten des Dialogs vor denen des Textfelds
    // (Strg+A, Strg+E, Strg+H hätte es sonst für sich); nur Strg+V fügt dort
    // wie gewohnt Text ins Feld ein.
    if (ereignis->type() == QEvent::ShortcutOverride) {
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        const QKeySequence folge(taste->keyCombination());
        for (const QAction* a : actions()) {
            if (a != ACEinfuegen && a->isEnabled() && a->shortcut() == folge) return true;
        }
    }
    return QDialog::eventFilter(objekt, ereignis);
}

} // namespace tessomir
