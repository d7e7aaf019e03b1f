#include "dialogs/FAnsicht.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QTabBar>
#include <algorithm>
#include <exception>

#include "dialogs/UEingabefarbe.h"
#include "help/UHilfe.h"
#include "base/UPlattform.h"
#include "qt/UBefehl.h"
#include "qt/UQtSchrift.h"
#include "qt/UQtText.h"

namespace tessomir {
namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

template <class T> T* Benannt(T* widget, const char* name, const QString& lesbar) {
    widget->setObjectName(QLatin1String(name));
    // Eine Beschriftung heisst, was auf ihr steht; ihre Rolle steht in der Beschreibung.
    if (qobject_cast<QLabel*>(widget) != nullptr) widget->setAccessibleDescription(lesbar);
    else widget->setAccessibleName(lesbar);
    return widget;
}

// Zahl mit Auf und Ab; das Zahlenfeld im Inneren trägt den Namen der Anzeige.
QSpinBox* Zahl(QWidget* eltern, const char* auf, const char* anzeige, const QString& lesbar, const TBereich& b) {
    auto* feld = Benannt(new QSpinBox(eltern), auf, lesbar);
    feld->setRange(b.Min, b.Max);
    feld->setSingleStep(b.Schritt);
    if (auto* zahl = feld->findChild<QLineEdit*>()) Benannt(zahl, anzeige, lesbar);
    feld->setFixedWidth(60);
    return feld;
}

QCheckBox* Haken(QWidget* eltern, const char* name, const char* text) {
    return Benannt(new QCheckBox(Text(text), eltern), name, Text(text) + Text(" beschriften"));
}

} // namespace

TFMAnsicht::TFMAnsicht(QWidget* eltern) : QDialog(eltern) {
    setObjectName("FMAnsicht");
    setAccessibleDescription("Ansicht Einstellungen");
    setWindowTitle("Ansicht Einstellungen");

    ACHilfe = new QAction("Hilfe   F1", this);
    ACHilfe->setObjectName("ACHilfe");
    ACHilfe->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(ACHilfe);
    connect(ACHilfe, &QAction::triggered, this, [] { HilfeZeigen("einstellungen.htm"); });

    PCAnsicht = Benannt(new QTabWidget(this), "PCAnsicht", "Einstellungen");
    // Alle drei Reiter ganz lesbar; der Dialog wird dafür notfalls breiter.
    PCAnsicht->tabBar()->setUsesScrollButtons(false);

    // Symbole
    TSSymbole = Benannt(new QWidget, "TSSymbole", "Symbole");
    GBBeschriftung = Benannt(new QGroupBox("  Beschriftung  ", TSSymbole), "GBBeschriftung", "Beschriftung");
    CBQuellenBeschriften = Haken(GBBeschriftung, "CBQuellenBeschriften", "Quellen");
    CBSenkenBeschriften = Haken(GBBeschriftung, "CBSenkenBeschriften", "Senken");
    CBVerzweigungenBeschriften = Haken(GBBeschriftung, "CBVerzweigungenBeschriften", "Verzweigungen");
    CBWandlerBeschriften = Haken(GBBeschriftung, "CBWandlerBeschriften", "Wandler");
    CBWegeBeschriften = Haken(GBBeschriftung, "CBWegeBeschriften", "Wege");
    BTSchrift = Benannt(new QPushButton("Schrift", GBBeschriftung), "BTSchrift", "Schrift der Beschriftung");
    BTSchrift->setAutoDefault(false);
    auto* beschriftung = new QGridLayout(GBBeschriftung);
    beschriftung->addWidget(CBQuellenBeschriften, 0, 0);
    beschriftung->addWidget(CBSenkenBeschriften, 1, 0);
    beschriftung->addWidget(CBVerzweigungenBeschriften, 2, 0);
    beschriftung->addWidget(CBWandlerBeschriften, 3, 0);
    beschriftung->addWidget(CBWegeBeschriften, 4, 0);
    beschriftung->addWidget(BTSchrift, 4, 1, Qt::AlignRight);

    GBSymbolgroesse = Benannt(new QGroupBox(Text("  Symbolgr\u00f6sse  "), TSSymbole), "GBSymbolgroesse", Text("Symbolgr\u00f6sse"));
    LASymbolgroesse = Benannt(new QLabel("Quellen, Senken, Verzweigungen, Wandler und Wege", GBSymbolgroesse),
                              "LASymbolgroesse", Text("Symbolgr\u00f6sse"));
    LASymbolgroesse->setWordWrap(true);
    UDSymbolGroesse = Zahl(GBSymbolgroesse, "UDSymbolGroesse", "STSymbolgroesse", Text("Symbolgr\u00f6sse"), SymbolGroesseBereich);
    LASymbolgroesse->setBuddy(UDSymbolGroesse);
    auto* symbol = new QHBoxLayout(GBSymbolgroesse);
    symbol->addWidget(LASymbolgroesse, 1);
    symbol->addWidget(UDSymbolGroesse);

    GBFormatProz = Benannt(new QGroupBox("  Zahlenformat  ", TSSymbole), "GBFormatProz", "Zahlenformat der Prozentangaben");
    LAFormatProzente = Benannt(new QLabel("Prozentangaben in Matrizen", GBFormatProz), "LAFormatProzente",
                               "Prozentangaben in Matrizen");
    UDProzStellen = Zahl(GBFormatProz, "UDProzStellen", "STProzente", "Nachkommastellen der Prozentangaben",
                         ProzStellenBereich);
    LAFormatProzente->setBuddy(UDProzStellen);
    auto* proz = new QHBoxLayout(GBFormatProz);
    proz->addWidget(LAFormatProzente, 1);
    proz->addWidget(UDProzStellen);

    auto* symbole = new QVBoxLayout(TSSymbole);
    symbole->addWidget(GBBeschriftung);
    symbole->addWidget(GBSymbolgroesse);
    symbole->addWidget(GBFormatProz);
    symbole->addStretch(1);
    PCAnsicht->addTab(TSSymbole, "Symbole");

    // Ströme
    TSStroeme = Benannt(new QWidget, "TSStroeme", Text("Str\u00f6me"));
    RGAnzeigen = Benannt(new QGroupBox("  Anzeigen  ", TSStroeme), "RGAnzeigen", "Anzeige der Str\u00f6me");
    RBAnalog = Benannt(new QRadioButton("Analog", RGAnzeigen), "RBAnalog", "Analog");
    RBDigital = Benannt(new QRadioButton("Digital", RGAnzeigen), "RBDigital", "Digital");
    AnzeigenGruppe = new QButtonGroup(this);
    AnzeigenGruppe->addButton(RBAnalog, 0);
    AnzeigenGruppe->addButton(RBDigital, 1);
    LAStromgroesse = Benannt(new QLabel(Text("Gr\u00f6sse"), RGAnzeigen), "LAStromgroesse", Text("Gr\u00f6sse der Stromanzeige"));
    UDStromGroesse = Zahl(RGAnzeigen, "UDStromGroesse", "STStromgroessen", Text("Gr\u00f6sse der Stromanzeige"),
                          StromGroesseBereich);
    LAStromgroesse->setBuddy(UDStromGroesse);
    auto* anzeigen = new QGridLayout(RGAnzeigen);
    anzeigen->addWidget(RBAnalog, 0, 0);
    anzeigen->addWidget(RBDigital, 1, 0);
    anzeigen->addWidget(LAStromgroesse, 0, 1, Qt::AlignRight);
    anzeigen->addWidget(UDStromGroesse, 0, 2);

    RGMaxStrom = Benannt(new QGroupBox("  Max. Strom  ", TSStroeme), "RGMaxStrom", "Bezug der Stromanzeige");
    RBBerechnet = Benannt(new QRadioButton("Berechnet", RGMaxStrom), "RBBerechnet", "Max. Strom berechnet");
    RBEingegeben = Benannt(new QRadioButton("Eingegebener Wert", RGMaxStrom), "RBEingegeben", "Max. Strom eingegeben");
    MaxStromGruppe = new QButtonGroup(this);
    MaxStromGruppe->addButton(RBBerechnet, MaxStromBerechnetIndex);
    MaxStromGruppe->addButton(RBEingegeben, MaxStromEingegebenIndex);
    EDMaxStrom = Benannt(new QLineEdit(RGMaxStrom), "EDMaxStrom", "Eingegebener Max. Strom");
    EingabefarbeSetzen(EDMaxStrom);
    EDMaxStrom->setFixedWidth(100);
    auto* maxStrom = new QGridLayout(RGMaxStrom);
    maxStrom->addWidget(RBBerechnet, 0, 0);
    maxStrom->addWidget(RBEingegeben, 1, 0);
    maxStrom->addWidget(EDMaxStrom, 1, 1);
    maxStrom->setColumnStretch(2, 1);

    GBFormatStrom = Benannt(new QGroupBox("  Zahlenformat  ", TSStroeme), "GBFormatStrom", Text("Zahlenformat der Str\u00f6me"));
    LAFormatStroeme = Benannt(new QLabel(Text("Str\u00f6me"), GBFormatStrom), "LAFormatStroeme", Text("Str\u00f6me"));
    UDStromStellen = Zahl(GBFormatStrom, "UDStromStellen", "STStroeme", Text("Nachkommastellen der Str\u00f6me"),
                          StromStellenBereich);
    LAFormatStroeme->setBuddy(UDStromStellen);
    auto* stromFormat = new QHBoxLayout(GBFormatStrom);
    stromFormat->addWidget(LAFormatStroeme, 1);
    stromFormat->addWidget(UDStromStellen);

    auto* stroeme = new QVBoxLayout(TSStroeme);
    stroeme->addWidget(RGAnzeigen);
    stroeme->addWidget(RGMaxStrom);
    stroeme->addWidget(GBFormatStrom);
    stroeme->addStretch(1);
    PCAnsicht->addTab(TSStroeme, Text("Str\u00f6me"));

    // Max.Berechnungsdauer
    TSMaxDauer = Benannt(new QWidget, "TSMaxDauer", "Max.Berechnungsdauer");
    LAMaxDauer = Benannt(new QLabel("Max. Berechnungsdauer (sec)", TSMaxDauer), "LAMaxDauer", "Max. Berechnungsdauer");
    UDMaxDauer = Zahl(TSMaxDauer, "UDMaxDauer", "STMaxDauer", "Max. Berechnungsdauer in Sekunden", MaxDauerBereich);
    LAMaxDauer->setBuddy(UDMaxDauer);
    auto* dauer = new QGridLayout(TSMaxDauer);
    dauer->addWidget(LAMaxDauer, 0, 0);
    dauer->addWidget(UDMaxDauer, 0, 1);
    dauer->setColumnStretch(2, 1);
    dauer->setRowStretch(1, 1);
    PCAnsicht->addTab(TSMaxDauer, "Max.Berechnungsdauer");

    PASchalter = Benannt(new QWidget(this), "PASchalter", "Schalter");
    BTOK = Benannt(new QPushButton("OK", PASchalter), "BTOK", "OK");
    BTOK->setDefault(true);
    BTAbbrechen = Benannt(new QPushButton("Abbrechen", PASchalter), "BTAbbrechen", "Abbrechen");
    BTAbbrechen->setAutoDefault(false);
    BTHilfe = Benannt(new QPushButton(ACHilfe->text(), PASchalter), "BTHilfe", "Hilfe");
    BTHilfe->setAutoDefault(false);
    auto* knoepfe = new QHBoxLayout(PASchalter);
    knoepfe->addWidget(BTOK);
    knoepfe->addWidget(BTAbbrechen);
    knoepfe->addWidget(BTHilfe);
    connect(BTOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BTAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(BTHilfe, &QPushButton::clicked, ACHilfe, &QAction::trigger);

    auto* senkrecht = new QVBoxLayout(this);
    senkrecht->addWidget(PCAnsicht, 1);
    senkrecht->addWidget(PASchalter);
    setFixedSize(std::max(319, sizeHint().width()), std::max(426, sizeHint().height()));

    connect(BTSchrift, &QPushButton::clicked, this, &TFMAnsicht::BTSchriftClick);
    connect(MaxStromGruppe, &QButtonGroup::idClicked, this, &TFMAnsicht::RGMaxStromClick);
    connect(EDMaxStrom, &QLineEdit::textChanged, this, [this] {
        if (!Laden) GeaendertFlag = true;
    });
}

char TFMAnsicht::Trenner() const { return Modell != nullptr ? Modell->Anzeigetrenner : DateiTrenner; }

void TFMAnsicht::EinstellungenLaden(TModell& modell) {
    Modell = &modell;
    Laden = true;
    const TAnsichtWerte w = Modell != nullptr ? tessomir::EinstellungenLaden(*Modell) : TAnsichtWerte{};
    CBQuellenBeschriften->setChecked(w.QuellenBeschr);
    CBSenkenBeschriften->setChecked(w.SenkenBeschr);
    CBVerzweigungenBeschriften->setChecked(w.VerzweigBeschr);
    CBWandlerBeschriften->setChecked(w.WandlerBeschr);
    CBWegeBeschriften->setChecked(w.WegeBeschr);
    Schrift = w.Schrift;
    UDSymbolGroesse->setValue(w.SymbolGroesse);
    UDProzStellen->setValue(w.ProzStellen);
    UDStromGroesse->setValue(w.StromGroesse);
    UDStromStellen->setValue(w.StromStellen);
    MaxStromGruppe->button(w.MaxStromIndex)->setChecked(true);
    EDMaxStrom->setText(QtAusAnsi(w.MaxStromText));
    AnzeigenGruppe->button(w.Stromanzeige)->setChecked(true);
    UDMaxDauer->setValue(w.MaxDauerSekunden);
    PCAnsicht->setCurrentIndex(0);
    RGMaxStromClick();
    GeaendertFlag = false;
    Laden = false;
}

TAnsichtWerte TFMAnsicht::Werte() const {
    TAnsichtWerte w;
    w.QuellenBeschr = CBQuellenBeschriften->isChecked();
    w.SenkenBeschr = CBSenkenBeschriften->isChecked();
    w.VerzweigBeschr = CBVerzweigungenBeschriften->isChecked();
    w.WandlerBeschr = CBWandlerBeschriften->isChecked();
    w.WegeBeschr = CBWegeBeschriften->isChecked();
    w.Schrift = Schrift;
    w.SymbolGroesse = UDSymbolGroesse->value();
    w.ProzStellen = UDProzStellen->value();
    w.StromGroesse = UDStromGroesse->value();
    w.StromStellen = UDStromStellen->value();
    w.MaxStromIndex = RBEingegeben->isChecked() ? MaxStromEingegebenIndex : MaxStromBerechnetIndex;
    w.MaxStromText = AnsiAusQt(EDMaxStrom->text());
    w.Stromanzeige = RBDigital->isChecked() ? 1 : 0;
    w.MaxDauerSekunden = UDMaxDauer->value();
    return w;
}

void TFMAnsicht::BTSchriftClick() {
    QFontDialog auswahl(QtSchrift(Schrift), this);
    auswahl.setObjectName("FDBeschriftung");
    auswahl.setAccessibleName("Schrift der Beschriftung");
    auswahl.setOption(QFontDialog::DontUseNativeDialog);
    if (auswahl.exec() != QDialog::Accepted) return;
    Schrift = SchriftAusQt(auswahl.selectedFont(), Schrift);
    GeaendertFlag = true;
}

void TFMAnsicht::RGMaxStromClick() { EDMaxStrom->setVisible(RBEingegeben->isChecked()); }

void TFMAnsicht::done(int ergebnis) {
    if (ergebnis == QDialog::Accepted && Modell != nullptr) {
        const TAnsichtWerte werte = Werte();
        if (!FehlerMelden(EinstellungenFehler(werte, Trenner()))) {
            EDMaxStrom->setFocus();
            EDMaxStrom->selectAll();
            return;
        }
        bool uebernommen = false;
        SicherAusfuehren("Die Einstellungen konnten nicht \xFC" "bernommen werden.", [&] {
            EinstellungenUebernehmen(*Modell, werte, Trenner(), Verlauf);
            uebernommen = true;
        });
        if (!uebernommen) return;
        // Jedes bestätigte OK gilt als Änderung, auch ohne neuen Wert.
        GeaendertFlag = true;
    }
    QDialog::done(ergebnis);
}

} // namespace tessomir
