#include "dialogs/FEngpaesse.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "help/UHilfe.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "persistence/UModellDatei.h"
#include "qt/UBefehl.h"
#include "qt/UQtText.h"

namespace tessomir {
namespace {

constexpr int EintragRolle = Qt::UserRole;
constexpr int WertRolle = Qt::UserRole + 1;

// Zahlen sortieren nach ihrem Wert, nicht nach dem Text.
class TZahlZelle final : public QTableWidgetItem {
public:
    TZahlZelle(const QString& text, double wert) : QTableWidgetItem(text) {
        setData(WertRolle, wert);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& andere) const override {
        return data(WertRolle).toDouble() < andere.data(WertRolle).toDouble();
    }
};

constexpr const char* Nichtanzeigbar = "Die Engp\xE4sse k\xF6nnen nicht angezeigt werden.";

} // namespace

TFMEngpaesse::TFMEngpaesse(const TModell& modell, QWidget* eltern) : QDialog(eltern), Modell_(modell) {
    setObjectName("FMEngpaesse");
    setAccessibleDescription(QString::fromUtf8("Engp\u00e4sse"));
    setWindowTitle(QString::fromUtf8("Engp\u00e4sse"));

    LASchwelle = new QLabel(QString::fromUtf8("Schwelle (Anteil der Kapazit\u00e4t)"), this);
    LASchwelle->setObjectName("LASchwelle");
    UDSchwelle = new QDoubleSpinBox(this);
    UDSchwelle->setObjectName("UDSchwelle");
    UDSchwelle->setAccessibleName(QString::fromUtf8("Schwelle in Prozent der Kapazit\u00e4t"));
    UDSchwelle->setRange(0.0, 1000.0);
    UDSchwelle->setDecimals(1);
    UDSchwelle->setSingleStep(1.0);
    UDSchwelle->setSuffix(QStringLiteral(" %"));
    UDSchwelle->setValue(EngpassVorgabeSchwelle);
    LASchwelle->setBuddy(UDSchwelle);
    LAAnzahl = new QLabel(this);
    LAAnzahl->setObjectName("LAAnzahl");
    LAAnzahl->setAccessibleDescription(QString::fromUtf8("Anzahl der Engp\u00e4sse"));

    SGEngpaesse = new QTableWidget(0, 6, this);
    SGEngpaesse->setObjectName("SGEngpaesse");
    SGEngpaesse->setAccessibleName(QString::fromUtf8("Engp\u00e4sse"));
    SGEngpaesse->setHorizontalHeaderLabels({QStringLiteral("Objekt"), QStringLiteral("Art"), QStringLiteral("Artikel"),
                                            QStringLiteral("Strom"), QString::fromUtf8("Kapazit\u00e4t"),
                                            QStringLiteral("Auslastung in %")});
    SGEngpaesse->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGEngpaesse->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGEngpaesse->setSelectionMode(QAbstractItemView::SingleSelection);
    SGEngpaesse->verticalHeader()->setVisible(false);
    SGEngpaesse->horizontalHeader()->setStretchLastSection(true);
    SGEngpaesse->setSortingEnabled(true);

    BTHilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    BTHilfe->setObjectName("BTHilfe");
    BTHilfe->setAccessibleName(QStringLiteral("Hilfe"));
    BTSchliessen = new QPushButton(QStringLiteral("Schliessen"), this);
    BTSchliessen->setObjectName("BTSchliessen");
    BTSchliessen->setAccessibleName(QStringLiteral("Schliessen"));
    BTSchliessen->setDefault(true);

    auto* kopf = new QHBoxLayout;
    kopf->addWidget(LASchwelle);
    kopf->addWidget(UDSchwelle);
    kopf->addStretch(1);
    kopf->addWidget(LAAnzahl);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(BTHilfe);
    knoepfe->addWidget(BTSchliessen);
    auto* rahmen = new QVBoxLayout(this);
    rahmen->addLayout(kopf);
    rahmen->addWidget(SGEngpaesse, 1);
    rahmen->addLayout(knoepfe);
    resize(640, 360);

    connect(UDSchwelle, &QDoubleSpinBox::valueChanged, this, [this] { Fuellen(); });
    connect(SGEngpaesse, &QTableWidget::cellDoubleClicked, this, [this](int zeile, int) { ZeileDoppelklick(zeile); });
    connect(BTHilfe, &QPushButton::clicked, this, [] { HilfeZeigen("engpaesse.htm"); });
    connect(BTSchliessen, &QPushButton::clicked, this, &QDialog::accept);
    Fuellen();
}

const TEngpass* TFMEngpaesse::EintragInZeile(int zeile) const {
    const QTableWidgetItem* zelle = SGEngpaesse->item(zeile, 0);
    if (zelle == nullptr) return nullptr;
    const qsizetype i = zelle->data(EintragRolle).toLongLong();
    return i >= 0 && i < static_cast<qsizetype>(Liste.size()) ? &Liste[static_cast<size_t>(i)] : nullptr;
}

void TFMEngpaesse::Fuellen() {
    SicherAusfuehren(Nichtanzeigbar, [this] {
        std::vector<TEngpass> neu = EngpaesseErmitteln(Modell_, UDSchwelle->value());
        // Beim Füllen nicht sortieren, sonst wandern die Zeilen unter den Händen.
        SGEngpaesse->setSortingEnabled(false);
        SGEngpaesse->setRowCount(0);
        Liste = std::move(neu);
        SGEngpaesse->setRowCount(static_cast<int>(Liste.size()));
        for (size_t i = 0; i < Liste.size(); ++i) {
            const TEngpass& e = Liste[i];
            const int z = static_cast<int>(i);
            auto* objekt = new QTableWidgetItem(QtAusAnsi(e.Objekt->Titel()));
            objekt->setData(EintragRolle, static_cast<qlonglong>(i));
            SGEngpaesse->setItem(z, 0, objekt);
            SGEngpaesse->setItem(z, 1, new QTableWidgetItem(QtAusAnsi(EngpassArtText(e.Art))));
            SGEngpaesse->setItem(z, 2, new QTableWidgetItem(QtAusAnsi(EngpassArtikelText(Modell_, e.Artikel))));
            SGEngpaesse->setItem(z, 3, new TZahlZelle(QtAusAnsi(Modell_.WertText(e.Strom)), e.Strom));
            SGEngpaesse->setItem(z, 4, new TZahlZelle(QtAusAnsi(Modell_.WertText(e.Kapazitaet)), e.Kapazitaet));
            SGEngpaesse->setItem(z, 5, new TZahlZelle(QtAusAnsi(AuslastungText(Modell_, e.Auslastung)), e.Auslastung));
        }
        SGEngpaesse->setSortingEnabled(true);
        SGEngpaesse->sortItems(5, Qt::DescendingOrder);
        SGEngpaesse->resizeColumnsToContents();
        LAAnzahl->setText(Liste.empty() ? QString::fromUtf8("Keine Engp\u00e4sse")
                                        : QString::fromUtf8("%1 Engp\u00e4sse").arg(Liste.size()));
    });
}

void TFMEngpaesse::ZeileDoppelklick(int zeile) {
    SicherAusfuehren(Nichtanzeigbar, [this, zeile] {
        const TEngpass* e = EintragInZeile(zeile);
        if (e != nullptr && ObjektZeigen) ObjektZeigen(e->Objekt);
    });
}

} // namespace tessomir
