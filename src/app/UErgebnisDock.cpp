#include "app/UErgebnisDock.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tessomir {

TErgebnisDock::TErgebnisDock(const QString& titel, const char* name, const QString& rolle, QWidget* eltern)
    : QDockWidget(titel, eltern) {
    setObjectName(QLatin1String(name));
    setAccessibleName(titel);
    setAccessibleDescription(rolle);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* inhalt = new QWidget(this);
    Rahmen = new QVBoxLayout(inhalt);
    Rahmen->setContentsMargins(2, 2, 2, 2);
    LA = new QLabel(inhalt);
    LA->setTextFormat(Qt::PlainText); // Namen sind Daten, kein HTML
    LA->setWordWrap(true);
    LA->setObjectName(QLatin1String(name) + QStringLiteral("Kopf"));
    Rahmen->addWidget(LA);
    SG = new QTableWidget(inhalt);
    SG->setObjectName(QLatin1String(name) + QStringLiteral("Tabelle"));
    SG->setAccessibleName(titel);
    SG->setSelectionBehavior(QAbstractItemView::SelectRows);
    SG->setSelectionMode(QAbstractItemView::SingleSelection);
    SG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG->setWordWrap(false);
    SG->verticalHeader()->hide();
    SG->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SG->verticalHeader()->setDefaultSectionSize(SG->fontMetrics().height() + 4);
    Rahmen->addWidget(SG, 1);
    BTCsv = new QPushButton(QStringLiteral("Als CSV speichern..."), inhalt);
    BTCsv->setObjectName(QLatin1String(name) + QStringLiteral("Csv"));
    Rahmen->addWidget(BTCsv, 0, Qt::AlignRight);
    setWidget(inhalt);
    connect(SG, &QTableWidget::cellDoubleClicked, this, [this](int zeile, int) {
        if (ObjektZeigen && zeile >= 0 && static_cast<size_t>(zeile) < Nummern.size() && Nummern[zeile] != 0)
            ObjektZeigen(Nummern[static_cast<size_t>(zeile)]);
    });
    connect(SG, &QTableWidget::currentCellChanged, this, [this](int zeile, int, int, int) {
        if (ZeileGewaehlt && zeile >= 0) ZeileGewaehlt(zeile);
    });
    connect(BTCsv, &QPushButton::clicked, this, [this] {
        if (CsvSpeichern) CsvSpeichern();
    });
}

void TErgebnisDock::KopfSetzen(const QString& text) { LA->setText(text); }

void TErgebnisDock::BildSetzen(QWidget* bild) {
    delete Bild;
    Bild = bild;
    if (Bild != nullptr) {
        Bild->setParent(widget());
        Rahmen->insertWidget(1, Bild, 1);
    }
}

void TErgebnisDock::Fuellen(const QStringList& kopf, const std::vector<QStringList>& zeilen,
                            const std::vector<uint32_t>& nummern, const std::vector<bool>& rechts) {
    Nummern = nummern;
    SG->clear();
    SG->setColumnCount(static_cast<int>(kopf.size()));
    SG->setHorizontalHeaderLabels(kopf);
    SG->setRowCount(static_cast<int>(zeilen.size()));
    for (size_t r = 0; r < zeilen.size(); ++r)
        for (int c = 0; c < zeilen[r].size(); ++c) {
            auto* zelle = new QTableWidgetItem(zeilen[r][c]);
            if (static_cast<size_t>(c) < rechts.size() && rechts[static_cast<size_t>(c)])
                zelle->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            SG->setItem(static_cast<int>(r), c, zelle);
        }
    SG->resizeColumnsToContents();
    // Das Wichtigste steht oben: nach jedem Füllen dort beginnen.
    SG->scrollToTop();
}

} // namespace tessomir
