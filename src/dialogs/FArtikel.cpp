#include "dialogs/FArtikel.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "dialogs/UEingabefarbe.h"
#include "help/UHilfe.h"
#include "editing/UArtikelBearbeitung.h"
#include "model/UModell.h"
#include "base/UPlattform.h"
#include "editing/USchritte.h"
#include "qt/UBefehl.h"
#include "qt/UQtText.h"
#include "qt/USanduhr.h"

namespace tessomir {
namespace {

const char* const LoeschFrage = "Mit dem Artikel werden alle\n\rEintr\xE4ge in den Matrizen gel\xF6scht\n\rWeiterfahren ? ";

// Der Knopf zeigt Text und Freigabe der Aktion und löst sie aus.
void Binden(QPushButton* knopf, QAction* aktion) {
    const auto abgleichen = [knopf, aktion] {
        knopf->setText(aktion->text());
        knopf->setEnabled(aktion->isEnabled());
    };
    abgleichen();
    QObject::connect(aktion, &QAction::changed, knopf, abgleichen);
    QObject::connect(knopf, &QPushButton::clicked, aktion, &QAction::trigger);
}

} // namespace

TFMArtikel::TFMArtikel(QWidget* eltern) : QDialog(eltern) {
    setObjectName("FMArtikel");
    setAccessibleDescription("Artikel bearbeiten");
    setWindowTitle("Artikel bearbeiten");

    ACArtikelAendern = new QAction(QString::fromUtf8("Bezeichnung \u00e4ndern"), this);
    ACArtikelAendern->setObjectName("ACArtikelAendern");
    ACArtikelEinfuegen = new QAction(QString::fromUtf8("Einf\u00fcgen"), this);
    ACArtikelEinfuegen->setObjectName("ACArtikelEinfuegen");
    ACArtikelLoeschen = new QAction(QString::fromUtf8("L\u00f6schen..."), this);
    ACArtikelLoeschen->setObjectName("ACArtikelLoeschen");
    ACHilfe = new QAction("Hilfe   F1", this);
    ACHilfe->setObjectName("ACHilfe");
    ACHilfe->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(ACHilfe);
    connect(ACArtikelAendern, &QAction::triggered, this, [this] { Befehl([this] { ACArtikelAendernExecute(); }); });
    connect(ACArtikelEinfuegen, &QAction::triggered, this, [this] { Befehl([this] { ACArtikelEinfuegenExecute(); }); });
    connect(ACArtikelLoeschen, &QAction::triggered, this, [this] { Befehl([this] { ACArtikelLoeschenExecute(); }); });
    connect(ACHilfe, &QAction::triggered, this, [] { HilfeZeigen("artikelbearbeiten.htm"); });

    PAEigenschaften = new QWidget(this);
    PAEigenschaften->setObjectName("PAEigenschaften");
    PAEigenschaften->setAccessibleName("Artikel");
    EDBezeichnung = new QLineEdit(PAEigenschaften);
    EDBezeichnung->setObjectName("EDBezeichnung");
    EDBezeichnung->setAccessibleName("Bezeichnung");
    EingabefarbeSetzen(EDBezeichnung);
    LAVorhandene = new QLabel("Vorhandene Artikel", PAEigenschaften);
    LAVorhandene->setObjectName("LAVorhandene");
    LAVorhandene->setWordWrap(true);
    LAVorhandene->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LBVorhandene = new QListWidget(PAEigenschaften);
    LBVorhandene->setObjectName("LBVorhandene");
    LBVorhandene->setAccessibleName("Vorhandene Artikel");
    LBVorhandene->setSelectionMode(QAbstractItemView::SingleSelection);
    LAVorhandene->setBuddy(LBVorhandene);
    auto* raster = new QGridLayout(PAEigenschaften);
    raster->addWidget(EDBezeichnung, 0, 0, 1, 2);
    raster->addWidget(LAVorhandene, 1, 0);
    raster->addWidget(LBVorhandene, 1, 1);
    raster->setColumnStretch(1, 1);
    raster->setColumnMinimumWidth(0, 70);

    PASchalter = new QWidget(this);
    PASchalter->setObjectName("PASchalter");
    PASchalter->setAccessibleName("Schalter");
    BTAendern = new QPushButton(PASchalter);
    BTAendern->setObjectName("BTAendern");
    BTEinfuegen = new QPushButton(PASchalter);
    BTEinfuegen->setObjectName("BTEinfuegen");
    BTLoeschen = new QPushButton(PASchalter);
    BTLoeschen->setObjectName("BTLoeschen");
    BTHilfe = new QPushButton("Hilfe    F1", PASchalter);
    BTHilfe->setObjectName("BTHilfe");
    BTAbbrechen = new QPushButton("Schliessen", PASchalter);
    BTAbbrechen->setObjectName("BTAbbrechen");
    auto* knoepfe = new QVBoxLayout(PASchalter);
    for (QPushButton* knopf : {BTAendern, BTEinfuegen, BTLoeschen, BTHilfe, BTAbbrechen}) {
        knopf->setAutoDefault(false);
        knoepfe->addWidget(knopf);
    }
    knoepfe->addStretch(1);
    BTEinfuegen->setDefault(true);
    Binden(BTAendern, ACArtikelAendern);
    Binden(BTEinfuegen, ACArtikelEinfuegen);
    Binden(BTLoeschen, ACArtikelLoeschen);
    // Die Entwurfsmasse gelten für eine kleinere Schrift; längere Texte
    // verbreitern die Knopfleiste, statt abgeschnitten zu werden.
    PASchalter->setFixedWidth(std::max(138, knoepfe->sizeHint().width()));
    // Das Thema des Dialogs auch über den Knopf, nicht nur über F1.
    connect(BTHilfe, &QPushButton::clicked, ACHilfe, &QAction::trigger);
    connect(BTAbbrechen, &QPushButton::clicked, this, &QDialog::accept);
    BTAendern->setAccessibleName(QString::fromUtf8("Bezeichnung \u00e4ndern"));
    BTEinfuegen->setAccessibleName(QString::fromUtf8("Einf\u00fcgen"));
    BTLoeschen->setAccessibleName(QString::fromUtf8("L\u00f6schen"));
    BTHilfe->setAccessibleName("Hilfe");
    BTAbbrechen->setAccessibleName("Schliessen");

    auto* waagrecht = new QHBoxLayout(this);
    waagrecht->setContentsMargins(0, 0, 0, 0);
    waagrecht->addWidget(PAEigenschaften, 1);
    waagrecht->addWidget(PASchalter);
    setFixedSize(std::max(443, minimumSizeHint().width()), std::max(215, minimumSizeHint().height()));

    connect(EDBezeichnung, &QLineEdit::textChanged, this, &TFMArtikel::AktionenAktualisieren);
    connect(LBVorhandene, &QListWidget::currentRowChanged, this, &TFMArtikel::LBVorhandeneClick);
    AktionenAktualisieren();
}

void TFMArtikel::Fuellen(TModell& modell) {
    Modell = &modell;
    LBVorhandene->clear();
    for (const std::string& name : Modell->ArtikelListe) LBVorhandene->addItem(QtAusAnsi(name));
    Auswaehlen(Modell->AktArtikel);
    EDBezeichnung->setFocus();
}

int TFMArtikel::AuswahlIndex() const { return LBVorhandene->currentRow(); }

void TFMArtikel::Auswaehlen(int i) {
    LBVorhandene->setCurrentRow(i);
    // Auch ohne Wechsel der Zeile (etwa nach dem Löschen) das Feld nachziehen.
    LBVorhandeneClick();
}

void TFMArtikel::LBVorhandeneClick() {
    const QListWidgetItem* eintrag = LBVorhandene->currentItem();
    EDBezeichnung->setText(eintrag != nullptr ? eintrag->text() : QString());
    AktionenAktualisieren();
}

void TFMArtikel::AktionenAktualisieren() {
    const bool frei = Modell != nullptr && ArtikelNameFrei(Modell->ArtikelListe, AnsiAusQt(EDBezeichnung->text()));
    ACArtikelAendern->setEnabled(frei && LBVorhandene->currentRow() >= 0);
    ACArtikelEinfuegen->setEnabled(frei);
    ACArtikelLoeschen->setEnabled(Modell != nullptr && Modell->AnzahlArtikel() >= 2 &&
                                  LBVorhandene->currentRow() >= 0);
}

bool TFMArtikel::NameGueltig(std::string& ansi) const {
    const QString text = EDBezeichnung->text();
    const QByteArray utf8 = text.toUtf8();
    if (const std::string fehler = ArtikelNamensFehler(std::string_view(utf8.constData(), utf8.size()));
        !fehler.empty()) {
        Plattform().Meldungen->Fehler(fehler);
        return false;
    }
    ansi = AnsiAusQt(text);
    return true;
}

void TFMArtikel::Befehl(const std::function<void()>& befehl) {
    SicherAusfuehren("Die Artikel konnten nicht ge\xE4ndert werden.", befehl);
    AktionenAktualisieren();
}

void TFMArtikel::ACArtikelEinfuegenExecute() {
    if (Modell == nullptr || !ACArtikelEinfuegen->isEnabled()) return;
    std::string name;
    if (!NameGueltig(name)) return;
    const TSanduhr sanduhr;
    const int neu = ArtikelHinzufuegen(*Modell, name, Verlauf);
    LBVorhandene->addItem(QtAusAnsi(name));
    Auswaehlen(neu);
}

void TFMArtikel::ACArtikelAendernExecute() {
    if (Modell == nullptr || !ACArtikelAendern->isEnabled()) return;
    std::string name;
    if (!NameGueltig(name)) return;
    const int i = LBVorhandene->currentRow();
    if (!ArtikelUmbenennen(*Modell, i, name, Verlauf)) return;
    LBVorhandene->item(i)->setText(QtAusAnsi(name));
    AktionenAktualisieren();
}

void TFMArtikel::ACArtikelLoeschenExecute() {
    if (Modell == nullptr || !ACArtikelLoeschen->isEnabled()) return;
    if (!Plattform().Meldungen->WarnFrage(LoeschFrage)) return;
    const TSanduhr sanduhr;
    const int i = LBVorhandene->currentRow();
    const int auswahl = ArtikelEntfernen(*Modell, i, Verlauf);
    if (auswahl < 0) return;
    delete LBVorhandene->takeItem(i);
    Auswaehlen(auswahl);
}

} // namespace tessomir
