// Das Hauptfenster, getrieben über seine Aktionen auf der Plattform "offscreen".
// Fragen und Dateidialoge beantworten Skripte; die Fensterlage liegt in einem
// eigenen Einstellungsordner.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTest>
#include <QToolButton>
#include <deque>

#include <sys/wait.h>
#include <unistd.h>

#include "app/FHaupt.h"
#include "app/UQtPlattform.h"
#include "app/UStart.h"
#include "app/UZeichenfeld.h"
#include "gemeinsam/TAufzeichnung.h"
#include "model/UKnoten.h"
#include "persistence/UModellDatei.h"
#include "persistence/UWiederherstellung.h"
#include "qt/UQtText.h"

namespace tessomir {
namespace {

const QString Beispiele = QStringLiteral(TESSOMIR_BEISPIELE);

class TSkriptDateiwahl final : public IDateiwahl {
public:
    std::optional<QString> Oeffnen(QWidget*) override { return Naechste(); }
    std::optional<QString> SpeichernUnter(QWidget*, const QString& vorgabe) override {
        Vorgaben.push_back(vorgabe);
        return Naechste();
    }
    QStringList Antworten; // der Reihe nach; fehlt eine, wird abgebrochen
    QStringList Vorgaben;

private:
    std::optional<QString> Naechste() {
        if (Antworten.isEmpty()) return std::nullopt;
        return Antworten.takeFirst();
    }
};

// Beantwortet Fragen nach Skript (TAufzeichnung); das Protokoll geht ins Fenster.
class TFHaupt : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings("Belcorra", "TessomirV20").clear();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    TFMHaupt& Fenster() {
        auto wahl = std::make_unique<TSkriptDateiwahl>();
        Wahl = wahl.get();
        Fenster_ = std::make_unique<TFMHaupt>(QString(), std::move(wahl));
        Plattform().Meldungen = &Skript;
        return *Fenster_;
    }
    QAction* A(const char* name) { return Fenster_->findChild<QAction*>(name); }
    TModell* Modell() const { return Fenster_->Modell(); }
    bool An(const char* name) {
        Fenster_->AktionenAktualisieren();
        return A(name)->isEnabled();
    }
    void Ausloesen(const char* name) {
        Fenster_->AktionenAktualisieren();
        ASSERT_TRUE(A(name)->isEnabled()) << name;
        A(name)->trigger();
        Fenster_->AktionenAktualisieren();
    }
    QString Text(const char* name) { return Fenster_->findChild<QLabel*>(name)->text(); }
    QString Log() { return Fenster_->findChild<QPlainTextEdit*>("MELog")->toPlainText(); }
    void Oeffnen(const QString& datei) {
        Wahl->Antworten.push_back(Beispiele + "/" + datei);
        Ausloesen("ACDateiOeffnen");
    }
    QStringList Freigegeben() {
        Fenster_->AktionenAktualisieren();
        QStringList an;
        for (QAction* a : Fenster_->findChildren<QAction*>())
            if (a->isEnabled() && a->objectName().startsWith("AC")) an << a->objectName();
        an.sort();
        return an;
    }

    test::TAufzeichnung Skript;
    TSkriptDateiwahl* Wahl = nullptr;
    std::unique_ptr<TFMHaupt> Fenster_;
};

TEST_F(TFHaupt, StartOhneModell) {
    TFMHaupt& f = Fenster();
    EXPECT_EQ(f.windowTitle(), "Tessomir");
    EXPECT_EQ(Freigegeben(), QStringList({"ACAnsichtGroesser", "ACAnsichtKleiner", "ACAnsichtUebersicht", "ACDateiBeenden",
                                          "ACDateiNeu", "ACDateiOeffnen", "ACEinfuegenDeaktiviert", "ACHilfeInfo",
                                          "ACHilfeInhaltsverzeichnis"}));
    EXPECT_TRUE(A("ACEinfuegenDeaktiviert")->isChecked());
    EXPECT_EQ(Text("SBHauptModifiziert"), "Modifiziert");
    EXPECT_EQ(Text("SBHauptMaxStrom"), "Max. Strom : ");
    for (const char* name : {"TBHaupt", "MMHaupt", "PU", "SBoxHaupt", "PBHaupt", "SPLog", "MELog", "SBHaupt",
                             "PAArtikel", "PAAnzeige", "LAAktArtikel", "TBNeu", "TBEinfuegenWandler", "TBAnsichtSumme"}) {
        QWidget* w = f.findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty()) << name;
    }
    for (const char* name : {"ACDateiNeu", "ACAnsichtSumme", "ACEinfuegenWandler"})
        EXPECT_FALSE(A(name)->icon().pixmap(16).isNull()) << name;
    const auto* pb = f.findChild<TZeichenfeld*>("PBHaupt");
    EXPECT_GE(pb->width(), 2000);
    EXPECT_GE(pb->height(), 4000);
}

TEST_F(TFHaupt, AktionenMitTextHinweisUndTaste) {
    Fenster();
    const struct {
        const char *Name, *Text, *Hinweis;
        QKeySequence Taste;
    } tabelle[] = {
        {"ACDateiNeu", "Neu", "Neu", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"ACDateiOeffnen", "Öffnen...", "Oeffnen", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"ACDateiSpeichern", "Speichern", "Speichern", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"ACDateiSpeichernUnter", "Speichern unter...", "Speichern unter...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"ACDateiSchliessen", "Schliessen", "Schliessen", QKeySequence(Qt::CTRL | Qt::Key_W)},
        {"ACDateiDrucken", "Drucken...", "Drucken", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"ACDateiBeenden", "Beenden", "Beenden", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"ACBearbeitenAllesAuswaehlen", "Alles auswählen", "Alles auswählen", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"ACBearbeitenSuchen", "Suchen...", "Suchen nach Name oder #Nummer", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"ACBearbeitenWeitersuchen", "Weitersuchen", "Weitersuchen", QKeySequence(Qt::CTRL | Qt::Key_G)},
        {"ACAnsichtGanzesModell", "Ganzes Modell", "Ganzes Modell", QKeySequence(Qt::CTRL | Qt::Key_0)},
        {"ACBearbeitenKapazitaet", "Vorgabekapazität...", "Vorgabekapazität...", {}},
        {"ACBearbeitenPruefen", "Prüfen", "Prüfen", QKeySequence(Qt::Key_F4)},
        {"ACBearbeitenNeuberechnen", "Neuberechnen", "Neuberechnen", QKeySequence(Qt::Key_F5)},
        {"ACBearbeitenLoeschen", "Löschen", "Löschen", QKeySequence(Qt::Key_Delete)},
        {"ACAnsichtGroesser", "Grösser", "Grösser", QKeySequence(Qt::Key_F3)},
        {"ACAnsichtKleiner", "Kleiner", "Kleiner", QKeySequence(Qt::Key_F2)},
        {"ACAnsichtNaeArtikel", "Nächster Artikel", "Nächster Artikel", QKeySequence(Qt::Key_F6)},
        {"ACAnsichtVorhArtikel", "Vorheriger Artikel", "Vorheriger Artikel", QKeySequence(Qt::SHIFT | Qt::Key_F6)},
        {"ACHilfeInhaltsverzeichnis", "Hilfe", "Inhaltsverzeichnis", QKeySequence(Qt::Key_F1)},
    };
    for (const auto& z : tabelle) {
        EXPECT_EQ(A(z.Name)->text(), QString::fromUtf8(z.Text)) << z.Name;
        EXPECT_EQ(A(z.Name)->toolTip(), QString::fromUtf8(z.Hinweis)) << z.Name;
        EXPECT_EQ(A(z.Name)->shortcut(), z.Taste) << z.Name;
    }
    // Wandler: im Menü ein Haken ausserhalb der Radiogruppe, als Knopf nie gedrückt.
    EXPECT_EQ(A("ACEinfuegenWandler")->actionGroup(), nullptr);
    EXPECT_NE(A("ACEinfuegenWeg")->actionGroup(), nullptr);
    EXPECT_FALSE(Fenster_->findChild<QToolButton*>("TBEinfuegenWandler")->isCheckable());
}

TEST_F(TFHaupt, NeuUndEinfuegemodus) {
    TFMHaupt& f = Fenster();
    Ausloesen("ACDateiNeu");
    EXPECT_EQ(f.windowTitle(), "Tessomir - [NEU.TSR]");
    EXPECT_EQ(Text("SBHauptArtikel"), "Artikel : Artikel1");
    EXPECT_EQ(Text("LAAktArtikel"), " Artikel1");
    EXPECT_TRUE(An("ACDateiSpeichern"));
    // Ohne Objekte nichts zu prüfen; ein Artikel: kein Blättern.
    EXPECT_FALSE(An("ACBearbeitenPruefen"));
    EXPECT_FALSE(An("ACAnsichtNaeArtikel"));
    EXPECT_FALSE(An("ACAnsichtVorhArtikel"));

    Ausloesen("ACEinfuegenWandler");
    EXPECT_EQ(f.Einfuegemodus(), TFMHaupt::Wandler);
    EXPECT_TRUE(A("ACEinfuegenWandler")->isChecked());
    EXPECT_FALSE(A("ACEinfuegenDeaktiviert")->isChecked());
    for (const char* aus : {"ACDateiNeu", "ACDateiOeffnen", "ACDateiSpeichern", "ACDateiSchliessen", "ACDateiDrucken",
                            "ACBearbeitenArtikel", "ACAnsichtSumme", "ACAnsichtEinstellungen"})
        EXPECT_FALSE(An(aus)) << aus;
    EXPECT_TRUE(An("ACEinfuegenQuelle"));
    Ausloesen("ACEinfuegenDeaktiviert");
    EXPECT_TRUE(An("ACDateiSpeichern"));
    EXPECT_FALSE(A("ACEinfuegenWandler")->isChecked());
}

TEST_F(TFHaupt, AuswahlRegeln) {
    Fenster();
    Ausloesen("ACDateiNeu");
    TFOListe& liste = Modell()->FOListe;
    auto quelle = std::make_unique<TQuelle>(*Modell());
    auto senke = std::make_unique<TSenke>(*Modell());
    TQuelle* q = quelle.get();
    TSenke* s = senke.get();
    liste.Hinzufuegen(std::move(quelle), true);
    liste.Hinzufuegen(std::move(senke), true);
    EXPECT_TRUE(An("ACBearbeitenPruefen"));
    EXPECT_FALSE(An("ACBearbeitenLoeschen"));
    liste.Auswaehlen(q, false);
    // Eine Quelle ohne Ausgang hat keine Matrix zu bearbeiten.
    EXPECT_FALSE(An("ACBearbeitenMatrix"));
    EXPECT_TRUE(An("ACBearbeitenEigenschaften"));
    auto weg = std::make_unique<TWeg>(*Modell());
    TWeg* w = weg.get();
    liste.Hinzufuegen(std::move(weg), false);
    w->SetStart(q);
    w->SetZiel(s);
    EXPECT_TRUE(An("ACBearbeitenMatrix"));
    liste.Auswaehlen(s, false);
    EXPECT_FALSE(An("ACBearbeitenMatrix"));
    EXPECT_FALSE(An("ACBearbeitenEigenschaften"));
    EXPECT_TRUE(An("ACBearbeitenLoeschen"));
    EXPECT_TRUE(An("ACBearbeitenKapazitaet"));
}

TEST_F(TFHaupt, BeispielOeffnenUndArtikelBlaettern) {
    TFMHaupt& f = Fenster();
    Oeffnen("Recyclinganlage.TSR");
    EXPECT_EQ(f.windowTitle(), "Tessomir - [Recyclinganlage.TSR]");
    EXPECT_EQ(Text("SBHauptArtikel"), "Artikel : Papier");
    EXPECT_FALSE(An("ACAnsichtVorhArtikel"));
    Ausloesen("ACAnsichtNaeArtikel");
    EXPECT_EQ(Text("LAAktArtikel"), " Kunststoff");
    EXPECT_TRUE(An("ACAnsichtVorhArtikel"));
    while (An("ACAnsichtNaeArtikel")) Ausloesen("ACAnsichtNaeArtikel");
    EXPECT_EQ(Modell()->AktArtikel, 4);
    Ausloesen("ACAnsichtSumme");
    EXPECT_TRUE(A("ACAnsichtSumme")->isChecked());
    EXPECT_EQ(Text("SBHauptArtikel"), "Alle Artikel");
    EXPECT_EQ(Text("LAAktArtikel"), " Alle");
    EXPECT_FALSE(An("ACAnsichtNaeArtikel"));
    EXPECT_FALSE(An("ACAnsichtVorhArtikel"));
    // Das Blättern ist auch im Einfügemodus frei.
    Ausloesen("ACAnsichtSumme");
    Ausloesen("ACEinfuegenQuelle");
    EXPECT_TRUE(An("ACAnsichtVorhArtikel"));
}

TEST_F(TFHaupt, DruckenLeertDieAuswahlAuchBeimAbbrechen) {
    Fenster();
    Oeffnen("Wassernetz.TSR");
    for (const char* aktion : {"ACDateiDrucken", "ACDateiDruckvorschau"}) {
        SCOPED_TRACE(aktion);
        Ausloesen("ACBearbeitenAllesAuswaehlen");
        ASSERT_FALSE(Modell()->FOListe.Auswahl().empty());
        bool dialogGesehen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            dialogGesehen = d != nullptr;
            if (d != nullptr) d->reject();
        });
        Ausloesen(aktion);
        EXPECT_TRUE(dialogGesehen);
        EXPECT_TRUE(Modell()->FOListe.Auswahl().empty());
        EXPECT_TRUE(Skript.Meldungen.empty());
    }
    Ausloesen("ACEinfuegenQuelle");
    EXPECT_FALSE(An("ACDateiDrucken"));
    EXPECT_FALSE(An("ACDateiDruckvorschau"));
}

TEST_F(TFHaupt, PruefenUndNeuberechnenMitTasten) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TFMHaupt& f = Fenster();
    Oeffnen("Recyclinganlage.TSR");
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.AktionenAktualisieren();
    QTest::keyClick(&f, Qt::Key_F4);
    EXPECT_EQ(Log(), "Daten OK");
    QTest::keyClick(&f, Qt::Key_F5);
    EXPECT_TRUE(Log().startsWith("Daten OK, Berechnung gestartet\n")) << Log().toStdString();
    EXPECT_TRUE(Log().endsWith("Berechnung OK"));
    EXPECT_EQ(Text("SBHauptMaxStrom"), "Max. Strom berechnet : 18,0");
    // LogAnfang markiert das erste Zeichen und zeigt so die erste Zeile.
    const QTextCursor anfang = f.findChild<QPlainTextEdit*>("MELog")->textCursor();
    EXPECT_EQ(anfang.selectionStart(), 0);
    EXPECT_EQ(anfang.selectionEnd(), 1);
    EXPECT_TRUE(Skript.Meldungen.empty());
}

// Ein Modell, das neu erscheint, zeigt nichts vom vorigen: kein Protokoll, den
// eigenen größten Strom, und die Fläche beginnt oben links.
TEST_F(TFHaupt, NeuesModellOhneAlteErgebnisseUndOhneAlteRollstellung) {
    TFMHaupt& f = Fenster();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    auto* box = f.findChild<QScrollArea*>("SBoxHaupt");
    const auto berechnenUndRollen = [&] {
        Ausloesen("ACBearbeitenNeuberechnen");
        ASSERT_TRUE(Log().endsWith("Berechnung OK"));
        ASSERT_TRUE(Text("SBHauptMaxStrom").startsWith("Max. Strom berechnet : "));
        box->horizontalScrollBar()->setValue(300);
        box->verticalScrollBar()->setValue(900);
        ASSERT_EQ(box->verticalScrollBar()->value(), 900);
    };
    const auto frisch = [&](const char* wie) {
        SCOPED_TRACE(wie);
        EXPECT_EQ(Log(), "");
        EXPECT_EQ(Text("SBHauptMaxStrom"), "Max. Strom berechnet : " + QtAusAnsi(Modell()->WertText(-1.0)));
        EXPECT_EQ(box->horizontalScrollBar()->value(), 0);
        EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    };
    Oeffnen("Recyclinganlage.TSR");
    berechnenUndRollen();
    Oeffnen("Wassernetz.TSR");
    frisch("Öffnen");
    berechnenUndRollen();
    Skript.Antworten.push_back(TAntwort::Nein); // falls die Berechnung als Änderung gilt
    Ausloesen("ACDateiNeu");
    frisch("Neu");
}

// Auch die Datei der Befehlszeile zeigt gleich ihren eigenen größten Strom.
TEST_F(TFHaupt, DateiDerBefehlszeileZeigtIhrenGroesstenStrom) {
    TFMHaupt start(Beispiele + "/Wassernetz.TSR", std::make_unique<TSkriptDateiwahl>());
    ASSERT_NE(start.Modell(), nullptr);
    EXPECT_EQ(start.findChild<QLabel*>("SBHauptMaxStrom")->text(),
              "Max. Strom berechnet : " + QtAusAnsi(start.Modell()->WertText(-1.0)));
}

// Bildschirmleser lesen Titel und Feldtexte; die Rolle steht in der Beschreibung.
TEST_F(TFHaupt, ZugaenglicheNamenSindDieSichtbarenTexte) {
    TFMHaupt& f = Fenster();
    const auto name = [](QObject* o) { return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name); };
    const auto beschreibung = [](QObject* o) {
        return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Description);
    };
    EXPECT_EQ(name(&f), "Tessomir");
    Oeffnen("Recyclinganlage.TSR");
    Ausloesen("ACBearbeitenNeuberechnen");
    EXPECT_EQ(name(&f), "Tessomir - [Recyclinganlage.TSR]");
    EXPECT_EQ(beschreibung(&f), "Hauptfenster");
    for (const char* panel : {"SBHauptArtikel", "SBHauptMaxStrom", "LAAktArtikel"}) {
        auto* l = f.findChild<QLabel*>(panel);
        EXPECT_EQ(name(l), l->text()) << panel;
        EXPECT_FALSE(beschreibung(l).isEmpty()) << panel;
    }
    EXPECT_EQ(name(f.findChild<QLabel*>("SBHauptArtikel")), "Artikel : Papier");
    EXPECT_TRUE(name(f.findChild<QLabel*>("SBHauptMaxStrom")).startsWith("Max. Strom berechnet : 18"));
    Ausloesen("ACBearbeitenAllesAuswaehlen");
    Ausloesen("ACBearbeitenLoeschen");
    f.findChild<TZeichenfeld*>("PBHaupt")->repaint(); // das Feld zeigt den Stand nach dem Malen
    EXPECT_EQ(name(f.findChild<QLabel*>("SBHauptModifiziert")), "Modifiziert");
}

// Die Datei der Befehlszeile geht denselben Weg.
TEST_F(TFHaupt, FehlerhafteDateiHinterlaesstKeinModell) {
    TFMHaupt& f = Fenster();
    f.ModellLaden(Beispiele + "/fehlt.TSR");
    ASSERT_EQ(Skript.Meldungen.size(), 1u);
    EXPECT_EQ(Skript.Meldungen[0].Text, "Die Datei fehlt.TSR kann nicht ge\xF6" "ffnet werden.\n"
                                        "Die Datei oder ein Ordner ihres Pfads existiert nicht");
    EXPECT_EQ(Modell(), nullptr);
    EXPECT_EQ(f.windowTitle(), "Tessomir");
}

TEST_F(TFHaupt, SpeicherfrageMitJedeAntwort) {
    TFMHaupt& f = Fenster();
    Ausloesen("ACDateiNeu");
    TModell* alt = Modell();
    alt->Modifiziert = true;
    Skript.Antworten = {TAntwort::Abbrechen};
    Ausloesen("ACDateiNeu");
    ASSERT_EQ(Modell(), alt);
    EXPECT_TRUE(alt->Modifiziert);
    EXPECT_EQ(Skript.Meldungen.back().Text, "Wollen Sie die \xC4nderungen speichern ?");

    // Ja bei einem neuen Modell fragt nach dem Namen; abgebrochen bleibt alles.
    Skript.Antworten = {TAntwort::Ja};
    Ausloesen("ACDateiSchliessen");
    EXPECT_EQ(Wahl->Vorgaben, QStringList{"NEU.TSR"});
    ASSERT_EQ(Modell(), alt);
    EXPECT_TRUE(alt->Modifiziert);

    Skript.Antworten = {TAntwort::Ja};
    f.show();
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(Modell(), alt);

    Skript.Antworten = {TAntwort::Nein};
    Ausloesen("ACDateiSchliessen");
    EXPECT_EQ(Modell(), nullptr);
    EXPECT_EQ(Text("SBHauptArtikel"), "Artikel : ---");
    EXPECT_EQ(Text("SBHauptMaxStrom"), "Max. Strom : ---");
    EXPECT_EQ(Wahl->Vorgaben.size(), 2);
}

TEST_F(TFHaupt, SpeichernUnterUndWiederLesen) {
    QTemporaryDir ordner;
    TFMHaupt& f = Fenster();
    Oeffnen("Wassernetz.TSR");
    Modell()->ArtikelListe.back() = "Sp\xFClwasser";
    Modell()->Modifiziert = true;
    const QString ziel = ordner.filePath("Kopie ä.TSR");
    Wahl->Antworten.push_back(ziel);
    Ausloesen("ACDateiSpeichernUnter");
    EXPECT_EQ(f.windowTitle(), "Tessomir - [Kopie ä.TSR]");
    EXPECT_FALSE(Modell()->Modifiziert);
    EXPECT_EQ(Text("SBHauptModifiziert"), "");
    TOeffnenErgebnis gelesen = ModellOeffnen(QFile::encodeName(ziel).toStdString());
    ASSERT_NE(gelesen.Modell, nullptr) << gelesen.Grund;
    EXPECT_EQ(gelesen.Modell->ArtikelListe.back(), "Sp\xFClwasser");
    gelesen.Modell.reset();

    // Ein geladenes Modell speichert ohne Dialog in seine Datei.
    Ausloesen("ACDateiSchliessen");
    Wahl->Antworten.push_back(ziel);
    Ausloesen("ACDateiOeffnen");
    Modell()->Modifiziert = true;
    Ausloesen("ACDateiSpeichern");
    EXPECT_EQ(Wahl->Vorgaben.size(), 1);
    EXPECT_FALSE(Modell()->Modifiziert);
}

// Hat ein anderes Programm die Datei seit dem Öffnen geändert, fragt Speichern;
// Nein lässt die fremde Fassung stehen. Ein Name, der kein UTF-8 ist, öffnet
// und speichert über seine Bytes.
TEST_F(TFHaupt, FremdGeaenderteDateiUndNameOhneUtf8) {
    QTemporaryDir ordner;
    TFMHaupt& f = Fenster();
    const std::string pfad = QFile::encodeName(ordner.path()).toStdString() + "/M\xE4ngel.TSR"; // Latin-1
    ASSERT_TRUE(DateiSichern(pfad, DateiInhalt((Beispiele + "/Wassernetz.TSR").toStdString())).Ok);
    f.ModellLadenPfad(pfad);
    ASSERT_NE(Modell(), nullptr);
    EXPECT_TRUE(Skript.Meldungen.empty());
    EXPECT_EQ(Modell()->DateiName, pfad);

    ASSERT_TRUE(DateiSichern(pfad, "fremd").Ok); // ein anderes Programm schreibt
    Modell()->Modifiziert = true;
    Skript.Antworten = {TAntwort::Nein};
    Ausloesen("ACDateiSpeichern");
    ASSERT_EQ(Skript.Meldungen.size(), 1u);
    EXPECT_EQ(Skript.Meldungen[0].Text, "Die Datei M?ngel.TSR wurde seit dem \xD6" "ffnen ver\xE4ndert. Trotzdem speichern?");
    EXPECT_EQ(DateiInhalt(pfad), "fremd");
    EXPECT_TRUE(Modell()->Modifiziert);

    Skript.Antworten = {TAntwort::Ja};
    Ausloesen("ACDateiSpeichern");
    EXPECT_FALSE(Modell()->Modifiziert);
    EXPECT_NE(DateiInhalt(pfad), "fremd");
    // Danach gilt der eigene Stand: kein weiteres Fragen.
    Modell()->Modifiziert = true;
    Ausloesen("ACDateiSpeichern");
    EXPECT_EQ(Skript.Meldungen.size(), 2u);
    EXPECT_FALSE(Modell()->Modifiziert);
}

// Meldungsfenster zeigen Namen aus fremden Dateien als Text, nie als HTML.
TEST_F(TFHaupt, MeldungsfensterZeigtHtmlAlsText) {
    QPlainTextEdit log;
    TQtPlattform plattform(nullptr, &log);
    QString gezeigt;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        gezeigt = box->text();
        format = box->textFormat();
        box->accept();
    });
    Plattform().Meldungen->Fehler("Die Datei <b>Angebot</b>.TSR kann nicht ge\xF6" "ffnet werden.\n<h1>Objekt</h1>");
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(gezeigt, QString::fromUtf8("Die Datei <b>Angebot</b>.TSR kann nicht geöffnet werden.\n<h1>Objekt</h1>"));
}

// Eine Kopie, die ein abgestürztes Tessomir hinterließ: Ja öffnet sie geändert
// unter ihrem alten Namen, Nein löscht sie, Später lässt sie liegen. Die eigene
// Kopie entsteht, solange das Modell geändert ist, und geht beim Speichern.
TEST_F(TFHaupt, WiederherstellungNachAbsturz) {
    TFMHaupt& f = Fenster();
    const std::string ordner = WiederherstellungsOrdner();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(ordner)));
    const pid_t kind = ::fork();
    if (kind == 0) ::_exit(0);
    ::waitpid(kind, nullptr, 0);
    // Was ein abgestürzter Prozess mit einem bearbeiteten Modell hinterlassen
    // hätte; zurück kommt der Text, den Speichern damals geschrieben hätte.
    std::string text;
    const auto hinterlassen = [&](const std::string& stamm, const std::string& original) {
        {
            TOeffnenErgebnis a = ModellOeffnen((Beispiele + "/Wassernetz.TSR").toStdString());
            ASSERT_NE(a.Modell, nullptr);
            a.Modell->DateiName = original;
            a.Modell->FOListe.Alle().front()->Name = "Umbenannt";
            TWiederherstellung fremd(ordner);
            ASSERT_TRUE(fremd.Sichern(*a.Modell));
            ASSERT_EQ(::rename(fremd.Kopie().c_str(), (ordner + "/" + stamm + ".TSR").c_str()), 0);
            fremd.Verwerfen(); // seine Ortsdatei; die Kopie trägt jetzt den fremden Namen
            ASSERT_TRUE(DateiSichern(ordner + "/" + stamm + ".ort", "Tessomir Wiederherstellung\n" +
                                                                         std::to_string(kind) + "\n" + original + "\n")
                            .Ok);
            TZeilenSchreiber aus;
            Schreiben(*a.Modell, aus);
            text = aus.Text();
        }
    };
    QTemporaryDir daten;
    const std::string original = QFile::encodeName(daten.filePath("Netz.TSR")).toStdString();
    hinterlassen("a", original);
    Skript.Antworten = {TAntwort::Abbrechen}; // Später
    f.WiederherstellungAnbieten();
    EXPECT_EQ(Modell(), nullptr);
    ASSERT_EQ(Skript.Meldungen.size(), 1u);
    EXPECT_EQ(Skript.Meldungen[0].Text, "Tessomir wurde nicht ordnungsgem\xE4\xDF beendet. Ungespeicherte "
                                        "\xC4nderungen an Netz.TSR wiederherstellen?");
    EXPECT_EQ(f.Wiederherstellung().Finden().size(), 1u);

    Skript.Antworten = {TAntwort::Ja};
    f.WiederherstellungAnbieten();
    ASSERT_NE(Modell(), nullptr);
    EXPECT_EQ(Modell()->DateiName, original);
    EXPECT_TRUE(Modell()->Modifiziert);
    EXPECT_EQ(f.windowTitle(), "Tessomir - [Netz.TSR]");
    EXPECT_TRUE(f.Wiederherstellung().Finden().empty()); // die fremde ist übernommen
    EXPECT_TRUE(f.Wiederherstellung().HatKopie());

    // Speichern macht die eigene Kopie überflüssig.
    Ausloesen("ACDateiSpeichern");
    EXPECT_EQ(DateiInhalt(original), text);
    EXPECT_FALSE(f.Wiederherstellung().HatKopie());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(f.Wiederherstellung().Kopie())));
    Modell()->Modifiziert = true;
    f.WiederherstellungSichern();
    EXPECT_TRUE(f.Wiederherstellung().HatKopie());
    Modell()->Modifiziert = false; // etwa nach Rückgängig bis zum gesicherten Stand
    f.WiederherstellungSichern();
    EXPECT_FALSE(f.Wiederherstellung().HatKopie());

    hinterlassen("b", original);
    Skript.Antworten = {TAntwort::Nein};
    f.WiederherstellungAnbieten();
    EXPECT_TRUE(f.Wiederherstellung().Finden().empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(ordner + "/b.TSR")));
}

TEST_F(TFHaupt, SchreibfehlerHaeltModellUndFenster) {
    QTemporaryDir ordner;
    TFMHaupt& f = Fenster();
    Ausloesen("ACDateiNeu");
    Modell()->Modifiziert = true;
    Skript.Antworten = {TAntwort::Ja};
    Wahl->Antworten.push_back(ordner.filePath("fehlt/x.TSR"));
    f.show();
    EXPECT_FALSE(f.close());
    ASSERT_NE(Modell(), nullptr);
    EXPECT_TRUE(Modell()->Modifiziert);
    ASSERT_EQ(Skript.Meldungen.size(), 2u);
    EXPECT_NE(Skript.Meldungen[1].Text.find("x.TSR kann nicht geschrieben werden.\n"), std::string::npos);
}

TEST_F(TFHaupt, ZeichnenZoomUndBereichsfehler) {
    TFMHaupt& f = Fenster();
    Oeffnen("Getreidemuehle.TSR");
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    auto* pb = f.findChild<TZeichenfeld*>("PBHaupt");
    pb->repaint();
    EXPECT_EQ(Text("SBHauptModifiziert"), "");
    const QImage leer = [&] {
        QImage b(pb->Bild().size(), QImage::Format_RGB32);
        b.fill(pb->palette().color(QPalette::Base));
        return b;
    }();
    EXPECT_NE(pb->Bild(), leer);

    for (int i = 0; i < 20; ++i) Ausloesen("ACAnsichtGroesser");
    EXPECT_GT(pb->width(), 2000); // die Fläche wächst mit der Zeichnung
    for (int i = 0; i < 120; ++i) Ausloesen("ACAnsichtGroesser");
    pb->repaint();
    pb->Neuzeichnen();
    pb->repaint();
    EXPECT_EQ(Log().count("Massstab"), 1);
    for (int i = 0; i < 140; ++i) Ausloesen("ACAnsichtKleiner");
    pb->repaint();
    EXPECT_NE(pb->Bild(), leer);
}

TEST_F(TFHaupt, RegelnLaufenVorDemWarten) {
    Fenster();
    A("ACDateiNeu")->trigger();
    EXPECT_FALSE(A("ACDateiSpeichern")->isEnabled());
    emit QAbstractEventDispatcher::instance()->aboutToBlock();
    EXPECT_TRUE(A("ACDateiSpeichern")->isEnabled());
}

// ---------------------------------------------------------------- Fensterlage

QVariant Gespeichert(const char* name) { return QSettings("Belcorra", "TessomirV20").value(QString("Groesse/") + name); }

TEST_F(TFHaupt, LageVorgabenUndSchreiben) {
    QSettings("Belcorra", "TessomirV20").setValue("Groesse/BREITE", "abc");
    TFMHaupt& f = Fenster();
    f.show();
    EXPECT_EQ(f.pos(), QPoint(0, 0));
    EXPECT_EQ(f.size(), QSize(700, 650));
    EXPECT_EQ(f.findChild<QScrollArea*>("SBoxHaupt")->height(), 325);
    f.move(40, 30);
    f.resize(640, 500);
    EXPECT_TRUE(f.close());
    EXPECT_EQ(Gespeichert("MAXIMIERT").toInt(), 0);
    EXPECT_EQ(Gespeichert("LINKS").toInt(), 40);
    EXPECT_EQ(Gespeichert("OBEN").toInt(), 30);
    EXPECT_EQ(Gespeichert("BREITE").toInt(), 640);
    EXPECT_EQ(Gespeichert("HOEHE").toInt(), 500);
    EXPECT_GE(Gespeichert("SBOXHOEHE").toInt(), 50);
}

TEST_F(TFHaupt, ZeichenbereichLaesstDemProtokollPlatz) {
    QSettings("Belcorra", "TessomirV20").setValue("Groesse/SBOXHOEHE", 5000);
    TFMHaupt& f = Fenster();
    f.show();
    EXPECT_LE(f.findChild<QScrollArea*>("SBoxHaupt")->height(), 650 - 100);
    EXPECT_GE(f.findChild<QPlainTextEdit*>("MELog")->height(), 50);
}

TEST_F(TFHaupt, MaximiertBleibtMaximiert) {
    QSettings("Belcorra", "TessomirV20").setValue("Groesse/MAXIMIERT", 1);
    TFMHaupt& f = Fenster();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_TRUE(f.isMaximized());
    const QRect lage = f.geometry();
    EXPECT_TRUE(f.close());
    EXPECT_EQ(Gespeichert("MAXIMIERT").toInt(), 1);
    EXPECT_EQ(Gespeichert("BREITE").toInt(), lage.width());
}

// Die echten Dialoge: geprüft, sobald sie modal stehen, dann abgebrochen.
QFileDialog* Pruefen(const QString& titel, QFileDialog::AcceptMode art) {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    EXPECT_NE(d, nullptr);
    if (d == nullptr) return nullptr;
    EXPECT_EQ(d->windowTitle(), titel);
    EXPECT_EQ(d->nameFilters(), QStringList{"Tessomirdatei (*.TSR)"});
    EXPECT_EQ(d->defaultSuffix(), "TSR");
    EXPECT_EQ(d->acceptMode(), art);
    EXPECT_EQ(d->directory().absolutePath(), QDir::currentPath());
    EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
    QTimer::singleShot(0, d, &QDialog::reject);
    return d;
}

TEST(Dateiwahl, DialogeBeginnenImAktuellenOrdner) {
    TQtDateiwahl wahl;
    QString vorgabe;
    QTimer::singleShot(0, [&] {
        if (QFileDialog* d = Pruefen("Datei speichern unter", QFileDialog::AcceptSave))
            vorgabe = d->selectedFiles().value(0);
    });
    EXPECT_EQ(wahl.SpeichernUnter(nullptr, "NEU.TSR"), std::nullopt);
    EXPECT_EQ(QFileInfo(vorgabe).fileName(), "NEU.TSR");
    QTimer::singleShot(0, [&] {
        if (QFileDialog* d = Pruefen("Datei öffnen", QFileDialog::AcceptOpen)) {
            EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        }
    });
    EXPECT_EQ(wahl.Oeffnen(nullptr), std::nullopt);
}

TEST(DeutscheTexte, KnoepfeSprechenDeutsch) {
    ASSERT_TRUE(DeutscheQtTexteLaden(*QCoreApplication::instance()));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "Ja");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&'), "Nein");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), "Abbrechen");
}

} // namespace
} // namespace tessomir
