// Die Sankey-Ansicht im Hauptfenster: an- und ausschalten (Menü Ansicht und
// Werkzeugleiste), Massstab wählen, Legende; gemerkt in den Einstellungen des
// Benutzers, nie in der Modelldatei.
#include <QMenu>
#include <algorithm>
#include <cmath>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QSettings>
#include <QToolBar>

#include "app/FHaupt.h"
#include "app/USankeyLegende.h"
#include "app/UZeichenfeld.h"
#include "dialogs/FSankeyMassstab.h"
#include "view/USankey.h"

namespace tessomir {
namespace {

const QString SankeySchluessel = QStringLiteral("Ansicht/Sankey");
const QString BreiteSchluessel = QStringLiteral("Ansicht/SankeyBreite");
const QString MengeSchluessel = QStringLiteral("Ansicht/SankeyMengeJePunkt");

// Drei Bänder in den ersten Artikelfarben, scharf in 16 und 32 Punkten.
QIcon SankeyBild() {
    QIcon bild;
    for (const int n : {16, 32}) {
        QPixmap p(n, n);
        p.fill(Qt::transparent);
        QPainter maler(&p);
        maler.setRenderHint(QPainter::Antialiasing);
        maler.scale(n / 16.0, n / 16.0);
        const int breiten[] = {6, 3, 2};
        double y = 3;
        for (int i = 0; i < 3; ++i) {
            const TFarbe f = ArtikelFarbe(i);
            maler.fillRect(QRectF(1, y, 14, breiten[i]), QColor(f.R, f.G, f.B));
            y += breiten[i] + 1;
        }
        bild.addPixmap(p);
    }
    return bild;
}

} // namespace

void TFMHaupt::SankeyAnlegen() {
    const QKeySequence keine;
    ACAnsichtSankey = Aktion("ACAnsichtSankey", "Sankey-Ansicht", "Sankey-Ansicht: jeder Weg so breit wie sein Strom",
                             keine, -1, &TFMHaupt::ACAnsichtSankeyExecute);
    ACAnsichtSankey->setCheckable(true);
    ACAnsichtSankey->setIcon(SankeyBild());
    ACAnsichtSankey->setIconVisibleInMenu(false); // der Haken zeigt den Zustand
    ACAnsichtSankeyMassstab = Aktion("ACAnsichtSankeyMassstab", "Sankey-Massstab...", "", keine, -1,
                                     &TFMHaupt::ACAnsichtSankeyMassstabExecute);
    // Im Menü gleich hinter der Summe aller Artikel: beides wählt, was die Wege zeigen.
    if (QMenu* ansicht = menuBar()->findChild<QMenu*>(QStringLiteral("UMAnsicht")); ansicht != nullptr) {
        const QList<QAction*> aktionen = ansicht->actions();
        const qsizetype i = aktionen.indexOf(ACAnsichtSumme);
        QAction* davor = i >= 0 && i + 1 < aktionen.size() ? aktionen[i + 1] : nullptr;
        ansicht->insertActions(davor, {ACAnsichtSankey, ACAnsichtSankeyMassstab});
    }
    if (QToolBar* tb = findChild<QToolBar*>(QStringLiteral("TBHaupt")); tb != nullptr) {
        tb->addAction(ACAnsichtSankey);
        Benennen(tb->widgetForAction(ACAnsichtSankey), "TBAnsichtSankey", ACAnsichtSankey->text());
    }
    Legende = new TSankeyLegende(*AnsichtObjekt, SBoxHaupt->viewport());
    connect(PBHaupt, &TZeichenfeld::Gemalt, this, [this] { Legende->Aktualisieren(Modell()); });

    const QSettings einstellungen(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
    SankeyWahl.Breite = std::clamp(einstellungen.value(BreiteSchluessel, 40.0).toDouble(), 1.0, 1000.0);
    const double menge = einstellungen.value(MengeSchluessel, 0.0).toDouble();
    SankeyWahl.MengeJePunkt = std::isfinite(menge) && menge > 0.0 ? menge : 0.0;
    if (einstellungen.value(SankeySchluessel, false).toBool()) {
        ACAnsichtSankey->setChecked(true);
        AnsichtObjekt->Sankey = SankeyWahl;
    }
}

void TFMHaupt::SankeyEinstellungSichern() const {
    QSettings s(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20"));
    s.setValue(SankeySchluessel, AnsichtObjekt->Sankey.has_value());
    s.setValue(BreiteSchluessel, SankeyWahl.Breite);
    s.setValue(MengeSchluessel, SankeyWahl.MengeJePunkt);
}

void TFMHaupt::ACAnsichtSankeyExecute() {
    if (ACAnsichtSankey->isChecked()) AnsichtObjekt->Sankey = SankeyWahl;
    else AnsichtObjekt->Sankey.reset();
    SankeyEinstellungSichern();
    Neuzeichnen();
    if (AnsichtObjekt->Sankey && Modell() != nullptr && !(GroessterWegStrom(*Modell()) > 0.0))
        StatusMelden(QStringLiteral("Sankey-Ansicht: noch kein Strom zu zeigen, erst Neuberechnen (F5)"));
}

void TFMHaupt::ACAnsichtSankeyMassstabExecute() {
    TSankey s = SankeyWahl;
    if (AnsichtObjekt->Sankey) s.Geltend = AnsichtObjekt->Sankey->Geltend;
    if (!SankeyMassstabAusfuehren(s, this)) return;
    SankeyWahl = s;
    SankeyWahl.Geltend = 0.0;
    // Wer einen Massstab wählt, will die Bänder sehen.
    ACAnsichtSankey->setChecked(true);
    AnsichtObjekt->Sankey = SankeyWahl;
    SankeyEinstellungSichern();
    Neuzeichnen();
}

} // namespace tessomir
