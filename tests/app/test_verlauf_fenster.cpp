// Rückgängig und Wiederholen, Exportieren, Zuletzt geöffnet und Ablegen im
// echten Hauptfenster auf "offscreen"; Dialoge werden bedient, sobald sie stehen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <functional>

#include "app/FHaupt.h"
#include "app/UZeichenfeld.h"
#include "dialogs/FAnsicht.h"
#include "dialogs/FArtikel.h"
#include "dialogs/FEigenschaften.h"
#include "dialogs/FEingabe.h"
#include "dialogs/FMatrix.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TFensterBedienung.h"
#include "editing/USchritte.h"
#include "persistence/UStromCsv.h"
#include "qt/UBildExport.h"
#include "view/UAnsicht.h"

namespace tessomir {
namespace {

using test::Bedienen;

const QString Beispiele = QStringLiteral(TESSOMIR_BEISPIELE);

class TWahl final : public IDateiwahl {
public:
    std::optional<QString> Oeffnen(QWidget*) override { return Oeffnen_; }
    std::optional<QString> SpeichernUnter(QWidget*, const QString&) override { return Ziel; }
    std::optional<TExportziel> Exportieren(QWidget*, const QString&) override {
        if (!Export) return std::nullopt;
        return TExportziel{*Export, CsvDeutsch};
    }
    std::optional<QString> Oeffnen_, Ziel, Export;
    bool CsvDeutsch = false;
};

QByteArray Lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class VerlaufFenster : public ::testing::Test, protected test::TFensterBedienung {
protected:
    // Das Fenster vor Skript und Ordner abbauen; die Basis stürbe sonst zuletzt.
    void TearDown() override { F.reset(); }
    void SetUp() override {
        QSettings("Belcorra", "TessomirV20").clear();
        Starten();
    }
    // Ein neues Fenster, wie nach einem Neustart des Programms.
    void Starten() {
        F.reset();
        auto wahl = std::make_unique<TWahl>();
        Wahl = wahl.get();
        Wahl->Ziel = Ordner.filePath("modell.TSR");
        F = std::make_unique<TFMHaupt>(QString(), std::move(wahl));
        Plattform().Meldungen = &Skript;
        Plattform().Signalton = &Skript;
        PB = F->findChild<TZeichenfeld*>("PBHaupt");
    }
    void Weg(QPoint von, QPoint nach) {
        Ausloesen("ACEinfuegenWeg");
        Ziehen(von, nach);
        Ausloesen("ACEinfuegenDeaktiviert");
    }
    QByteArray Speichern() {
        Ausloesen("ACDateiSpeichern");
        return Lesen(*Wahl->Ziel);
    }
    QByteArray ImModell() {
        TZeilenSchreiber aus;
        Schreiben(*Modell(), aus);
        return QByteArray::fromStdString(aus.Text());
    }
    // Vom gespeicherten Stand aus ändern, zurücknehmen, wiederholen; jeweils gespeichert verglichen.
    void Pruefen(const char* name, const std::function<void()>& aendern) {
        SCOPED_TRACE(name);
        const QByteArray vorher = Speichern();
        aendern();
        F->AktionenAktualisieren();
        EXPECT_EQ(A("ACBearbeitenRueckgaengig")->text(), "Rückgängig: " + QString::fromUtf8(name));
        EXPECT_TRUE(Modell()->Modifiziert);
        const QByteArray nachher = ImModell();
        EXPECT_NE(nachher, vorher);
        Ausloesen("ACBearbeitenRueckgaengig");
        EXPECT_FALSE(Modell()->Modifiziert); // wieder der gespeicherte Stand
        EXPECT_TRUE(Modell()->FOListe.Auswahl().empty());
        F->AktionenAktualisieren();
        EXPECT_EQ(A("ACBearbeitenWiederholen")->text(), "Wiederholen: " + QString::fromUtf8(name));
        EXPECT_EQ(Speichern(), vorher);
        Ausloesen("ACBearbeitenWiederholen");
        EXPECT_TRUE(Modell()->Modifiziert);
        EXPECT_EQ(Speichern(), nachher);
    }

    QTemporaryDir Ordner;
    test::TAufzeichnung Skript;
    TWahl* Wahl = nullptr;
};

TEST_F(VerlaufFenster, JedeArtVonSchrittUeberDasFenster) {
    EXPECT_EQ(A("ACBearbeitenWiederholen")->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    EXPECT_EQ(A("ACBearbeitenRueckgaengig")->shortcut(), QKeySequence("Ctrl+Z"));
    const QList<QAction*> leiste = F->findChild<QToolBar*>("TBHaupt")->actions();
    EXPECT_EQ(leiste.indexOf(A("ACBearbeitenRueckgaengig")), leiste.indexOf(A("ACDateiDrucken")) + 1);
    EXPECT_EQ(F->findChild<QMenu*>("UMBearbeiten")->actions().first(), A("ACBearbeitenRueckgaengig"));

    const QPoint q(20, 100), v(120, 100), s1(240, 40), s2(240, 100), s3(240, 160);
    Ausloesen("ACDateiNeu");
    Einfuegen("ACEinfuegenQuelle", q);
    Einfuegen("ACEinfuegenVerzweigung", v);
    Einfuegen("ACEinfuegenSenke", s1);
    Einfuegen("ACEinfuegenSenke", s2);
    Weg(q, v);
    Weg(v, s1);
    Weg(v, s2);

    Pruefen("Senke einfügen", [&] { Einfuegen("ACEinfuegenSenke", s3); });
    Pruefen("Weg zeichnen", [&] { Weg(v, s3); });
    Klick(s2);
    Pruefen("Eigenschaften", [&] {
        Bedienen<TFMEigenschaften>([](TFMEigenschaften& d) {
            d.EDFOName->setText("Lager");
            d.BTOK->click();
        });
        Ausloesen("ACBearbeitenEigenschaften");
    });
    Klick(v);
    Pruefen("Vorgabekapazität", [&] {
        Bedienen<TFMEingabe>([](TFMEingabe& d) {
            d.ED->setText("250");
            d.BTOK->click();
        });
        Ausloesen("ACBearbeitenKapazitaet");
    });
    Klick(v);
    Pruefen("Matrix", [&] {
        Bedienen<TFMMatrix>([](TFMMatrix& d) {
            d.SGMatrix->model()->setData(d.SGMatrix->model()->index(2, 2), "30");
            d.BTOK->click();
        });
        Ausloesen("ACBearbeitenMatrix");
    });
    const auto artikel = [&](std::function<void(TFMArtikel&)> tun) {
        Bedienen<TFMArtikel>([tun](TFMArtikel& d) {
            tun(d);
            d.BTAbbrechen->click();
        });
        Ausloesen("ACBearbeitenArtikel");
    };
    Pruefen("Artikel einfügen", [&] {
        artikel([](TFMArtikel& d) {
            d.EDBezeichnung->setText("Glas");
            d.BTEinfuegen->click();
        });
    });
    artikel([](TFMArtikel& d) {
        d.EDBezeichnung->setText("Holz");
        d.BTEinfuegen->click();
    });
    Pruefen("Artikel umbenennen", [&] {
        artikel([](TFMArtikel& d) {
            d.LBVorhandene->setCurrentRow(0);
            d.EDBezeichnung->setText("Papier");
            d.BTAendern->click();
        });
    });
    Pruefen("Artikel löschen", [&] {
        Skript.Antworten.push_back(TAntwort::Ja);
        artikel([](TFMArtikel& d) {
            d.LBVorhandene->setCurrentRow(1);
            d.BTLoeschen->click();
        });
    });
    Pruefen("Einstellungen", [&] {
        Bedienen<TFMAnsicht>([](TFMAnsicht& d) {
            d.RBEingegeben->click();
            d.EDMaxStrom->setText("40");
            d.BTOK->click();
        });
        Ausloesen("ACAnsichtEinstellungen");
    });
    Klick(s1);
    Pruefen("Löschen", [&] { Ausloesen("ACBearbeitenLoeschen"); });
    Klick(v);
    Pruefen("Verschieben", [&] { Ziehen(v, v + QPoint(30, 40)); });
    EXPECT_EQ(Skript.Pieptoene, 0);
}

TEST_F(VerlaufFenster, NeuUndOeffnenLeerenDenVerlauf) {
    Wahl->Oeffnen_ = Beispiele + "/Wassernetz.TSR";
    Ausloesen("ACDateiOeffnen");
    Ausloesen("ACBearbeitenAllesAuswaehlen");
    Ausloesen("ACBearbeitenLoeschen");
    Ausloesen("ACBearbeitenRueckgaengig");
    EXPECT_FALSE(Modell()->Modifiziert); // der geöffnete Stand: keine Speicherfrage
    Ausloesen("ACBearbeitenWiederholen");
    Ausloesen("ACBearbeitenRueckgaengig");
    Ausloesen("ACDateiNeu");
    EXPECT_TRUE(Skript.Meldungen.empty());
    F->AktionenAktualisieren();
    EXPECT_FALSE(A("ACBearbeitenRueckgaengig")->isEnabled());
    EXPECT_FALSE(A("ACBearbeitenWiederholen")->isEnabled());
    EXPECT_EQ(A("ACBearbeitenRueckgaengig")->text(), "Rückgängig");

    Einfuegen("ACEinfuegenQuelle", {50, 50});
    Skript.Antworten.push_back(TAntwort::Nein);
    Ausloesen("ACDateiOeffnen");
    EXPECT_FALSE(F->Verlauf().KannRueckgaengig());
    EXPECT_FALSE(F->Verlauf().KannWiederholen());
}

TEST_F(VerlaufFenster, ExportJedesFormatsUndFehlerMitGrund) {
    Wahl->Oeffnen_ = Beispiele + "/Recyclinganlage.TSR";
    Ausloesen("ACDateiOeffnen");
    Ausloesen("ACAnsichtSumme");
    Ausloesen("ACAnsichtGroesser");
    const std::pair<const char*, TBildformat> bilder[] = {
        {"b.png", TBildformat::Png}, {"b.svg", TBildformat::Svg}, {"b.pdf", TBildformat::Pdf}};
    for (const auto& [name, format] : bilder) {
        Wahl->Export = Ordner.filePath(name);
        Ausloesen("ACDateiExportieren");
        const QByteArray datei = Lesen(*Wahl->Export);
        ASSERT_FALSE(datei.isEmpty()) << name;
        // Dieselbe Zeichnung wie die Kommandozeile bei Summe und Massstab des Fensters.
        if (format != TBildformat::Pdf)
            EXPECT_EQ(datei.toStdString(), ModellAlsBild(*Modell(), F->Ansicht().Massstab, format)) << name;
        else
            EXPECT_TRUE(datei.startsWith("%PDF"));
    }
    Wahl->Export = Ordner.filePath("stroeme.csv");
    Ausloesen("ACDateiExportieren");
    EXPECT_EQ(Lesen(*Wahl->Export).toStdString(), WegeAlsCsv(*Modell()));
    // Derselbe Export als "CSV (Excel, deutsch)".
    Wahl->CsvDeutsch = true;
    Ausloesen("ACDateiExportieren");
    EXPECT_EQ(Lesen(*Wahl->Export).toStdString(), WegeAlsCsv(*Modell(), TCsvFormat::Deutsch));
    EXPECT_TRUE(Lesen(*Wahl->Export).startsWith("\xEF\xBB\xBF" "FONr;Name;Start;Startname;Ziel;Zielname;"));
    EXPECT_TRUE(Skript.Meldungen.empty());

    Wahl->Export = Ordner.filePath("fehlt/b.png");
    Ausloesen("ACDateiExportieren");
    ASSERT_EQ(Skript.Meldungen.size(), 1u);
    EXPECT_NE(Skript.Meldungen[0].Text.find("b.png"), std::string::npos);
    EXPECT_NE(Skript.Meldungen[0].Text.find('\n'), std::string::npos); // mit Grund in der zweiten Zeile
    EXPECT_FALSE(Modell()->Modifiziert);
}

TEST_F(VerlaufFenster, ZuletztGeoeffnetUeberDenNeustartUndFehlendeDateien) {
    const QString weg = Ordner.filePath("weg.TSR");
    ASSERT_TRUE(QFile::copy(Beispiele + "/Wassernetz.TSR", weg));
    for (const QString& datei : {weg, Beispiele + "/Getreidemuehle.TSR", Beispiele + "/Recyclinganlage.TSR"}) {
        Wahl->Oeffnen_ = datei;
        Ausloesen("ACDateiOeffnen");
    }
    Starten();
    QFile::remove(weg);
    auto* menue = F->findChild<QMenu*>("UMDateiZuletzt");
    ASSERT_EQ(menue->actions().size(), 3);
    EXPECT_EQ(menue->actions()[0]->text(), "&1 Recyclinganlage.TSR");
    EXPECT_EQ(menue->actions()[0]->toolTip(), QDir::toNativeSeparators(QFileInfo(Beispiele).absoluteFilePath()));
    F->findChild<QAction*>("UMDateiZuletzt2")->trigger();
    EXPECT_EQ(QString::fromStdString(Modell()->DateiName).section('/', -1), "Getreidemuehle.TSR");
    EXPECT_EQ(menue->actions()[0]->text(), "&1 Getreidemuehle.TSR");

    F->findChild<QAction*>("UMDateiZuletzt3")->trigger();
    ASSERT_EQ(Skript.Meldungen.size(), 1u);
    EXPECT_NE(Skript.Meldungen[0].Text.find("weg.TSR"), std::string::npos);
    EXPECT_EQ(menue->actions().size(), 2);
    // Gespeicherte Dateien kommen ebenso nach vorn; acht bleiben.
    Ausloesen("ACDateiNeu");
    for (int i = 0; i < 9; ++i) {
        Wahl->Ziel = Ordner.filePath(QString("m%1.TSR").arg(i));
        Ausloesen("ACDateiSpeichernUnter");
    }
    EXPECT_EQ(menue->actions().size(), 8);
    EXPECT_EQ(menue->actions()[0]->text(), "&1 m8.TSR");
}

TEST_F(VerlaufFenster, AblegenEinerModelldateiOeffnetSie) {
    Ausloesen("ACDateiNeu");
    Einfuegen("ACEinfuegenQuelle", {50, 50});
    QMimeData daten;
    daten.setUrls({QUrl::fromLocalFile(Beispiele + "/Wassernetz.TSR")});
    // Wie der Dateimanager: hinein, dann ablegen; true, wenn das Fenster annahm.
    const auto ablegen = [&](QMimeData& d) {
        QDragEnterEvent hinein(QPoint(10, 10), Qt::CopyAction, &d, Qt::LeftButton, {});
        hinein.ignore();
        QApplication::sendEvent(F.get(), &hinein);
        if (!hinein.isAccepted()) return false;
        QDropEvent los(QPointF(10, 10), Qt::CopyAction, &d, Qt::LeftButton, {});
        QApplication::sendEvent(F.get(), &los);
        QApplication::processEvents();
        return true;
    };
    Skript.Antworten.push_back(TAntwort::Abbrechen);
    EXPECT_TRUE(ablegen(daten));
    EXPECT_TRUE(Modell()->IstNeu()); // die Speicherfrage wurde abgebrochen
    Skript.Antworten.push_back(TAntwort::Nein);
    EXPECT_TRUE(ablegen(daten));
    EXPECT_EQ(QString::fromStdString(Modell()->DateiName).section('/', -1), "Wassernetz.TSR");
    ASSERT_EQ(Skript.Meldungen.size(), 2u);
    EXPECT_EQ(Skript.Meldungen[0].Art, test::TMeldung::Frage);

    QMimeData fremd;
    fremd.setUrls({QUrl::fromLocalFile(Ordner.filePath("bild.png"))});
    EXPECT_FALSE(ablegen(fremd));
}

} // namespace
} // namespace tessomir
