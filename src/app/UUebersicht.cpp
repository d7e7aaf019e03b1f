#include "app/UUebersicht.h"

#include <QHeaderView>
#include <QItemSelection>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_set>

#include "qt/UUebersichtModell.h"

namespace tessomir {

TUebersicht::TUebersicht(QWidget* eltern) : QDockWidget(QStringLiteral("Übersicht"), eltern) {
    setObjectName(QStringLiteral("DKUebersicht"));
    setAccessibleDescription(QStringLiteral("Liste aller Knoten und Wege"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* inhalt = new QWidget(this);
    auto* rahmen = new QVBoxLayout(inhalt);
    rahmen->setContentsMargins(2, 2, 2, 2);

    EDFilter = new QLineEdit(inhalt);
    EDFilter->setObjectName(QStringLiteral("EDUebersichtFilter"));
    EDFilter->setAccessibleName(QStringLiteral("Filter"));
    EDFilter->setPlaceholderText(QStringLiteral("Filter: Name oder #Nr."));
    EDFilter->setClearButtonEnabled(true);
    rahmen->addWidget(EDFilter);

    TabellenModell = new TUebersichtModell(this);
    SGUebersicht = new QTableView(inhalt);
    SGUebersicht->setObjectName(QStringLiteral("SGUebersicht"));
    SGUebersicht->setAccessibleName(QStringLiteral("Übersicht"));
    SGUebersicht->setModel(TabellenModell);
    SGUebersicht->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGUebersicht->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SGUebersicht->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGUebersicht->setWordWrap(false);
    SGUebersicht->verticalHeader()->hide();
    // Feste Zeilenhöhe: bei 100 000 Zeilen misst die Tabelle sonst jede Zeile.
    SGUebersicht->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SGUebersicht->verticalHeader()->setDefaultSectionSize(SGUebersicht->fontMetrics().height() + 4);
    SGUebersicht->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    SGUebersicht->horizontalHeader()->setSortIndicatorShown(true);
    SGUebersicht->setSortingEnabled(true);
    // Breit genug für Kopf (mit Sortierpfeil) und einen typischen Inhalt.
    const QFontMetrics fm = SGUebersicht->fontMetrics();
    const QFontMetrics kopf = SGUebersicht->horizontalHeader()->fontMetrics();
    const char* const muster[] = {"000000", "Verzweigung", "Verzweigung 0000", "0000000.00", "00000.00",
                                  "000.0",  "00000.00",    "00000.00",         "00000.00"};
    for (int i = 0; i < SpaltenAnzahl; ++i) {
        const QString titel = TabellenModell->headerData(i, Qt::Horizontal).toString();
        SGUebersicht->setColumnWidth(
            i, std::max(kopf.horizontalAdvance(titel) + 28, fm.horizontalAdvance(QLatin1String(muster[i])) + 14));
    }
    rahmen->addWidget(SGUebersicht, 1);

    BTCsv = new QPushButton(QStringLiteral("Als CSV speichern..."), inhalt);
    BTCsv->setObjectName(QStringLiteral("BTUebersichtCsv"));
    rahmen->addWidget(BTCsv, 0, Qt::AlignRight);
    setWidget(inhalt);

    connect(EDFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        TabellenModell->FilterSetzen(text);
        SGUebersicht->scrollToTop();
        AuswahlZeigen();
    });
    // Nach dem Sortieren oben beginnen, wo der größte oder kleinste Wert steht.
    connect(SGUebersicht->horizontalHeader(), &QHeaderView::sortIndicatorChanged, SGUebersicht,
            &QTableView::scrollToTop);
    connect(SGUebersicht, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (ObjektZeigen) ObjektZeigen(TabellenModell->Objekt(index.row()));
    });
    connect(BTCsv, &QPushButton::clicked, this, [this] {
        if (CsvSpeichern) CsvSpeichern();
    });
    connect(TabellenModell, &TUebersichtModell::Veraltet, this, [this] { Aktualisieren(Berechnet); });
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool sichtbar) {
        if (sichtbar) Nachholen();
    });
}

int TUebersicht::Wunschbreite() const {
    int breite = SGUebersicht->verticalScrollBar()->sizeHint().width() + 2 * SGUebersicht->frameWidth() + 8;
    for (int i = 0; i < SpaltenAnzahl; ++i) breite += SGUebersicht->columnWidth(i);
    return breite;
}

void TUebersicht::ModellSetzen(const TModell* modell, bool berechnet) {
    Modell = modell;
    Berechnet = berechnet;
    Veraltet = false;
    TabellenModell->ModellSetzen(modell, berechnet);
}

void TUebersicht::Aktualisieren(bool berechnet) {
    Berechnet = berechnet;
    Veraltet = true;
    if (isVisible()) Nachholen();
}

void TUebersicht::Nachholen() {
    if (!Veraltet) return;
    Veraltet = false;
    TabellenModell->Aktualisieren(Berechnet);
    AuswahlZeigen();
}

void TUebersicht::AuswahlZeigen() {
    if (Modell == nullptr || !isVisible() || !TabellenModell->Gueltig()) return;
    std::unordered_set<const TFO*> gewaehlt;
    for (const auto& e : Modell->FOListe.Auswahl()) gewaehlt.insert(e.Objekt);
    // Eine Zeile je Objekt, zusammenhängende Zeilen als ein Bereich: auch
    // "Alles auswählen" bei 100 000 Objekten bleibt ein Durchgang.
    QItemSelection auswahl;
    const auto& zeilen = TabellenModell->Zeilen();
    const int letzteSpalte = TabellenModell->columnCount() - 1;
    int anfang = -1;
    int erste = -1;
    for (int i = 0; i <= static_cast<int>(zeilen.size()); ++i) {
        const bool drin = i < static_cast<int>(zeilen.size()) && gewaehlt.count(zeilen[static_cast<size_t>(i)]) > 0;
        if (drin && anfang < 0) anfang = i;
        if (drin && erste < 0) erste = i;
        if (!drin && anfang >= 0) {
            auswahl.select(TabellenModell->index(anfang, 0), TabellenModell->index(i - 1, letzteSpalte));
            anfang = -1;
        }
    }
    SGUebersicht->selectionModel()->select(auswahl, QItemSelectionModel::ClearAndSelect);
    if (erste >= 0 && gewaehlt.size() == 1) SGUebersicht->scrollTo(TabellenModell->index(erste, 0));
}

} // namespace tessomir
