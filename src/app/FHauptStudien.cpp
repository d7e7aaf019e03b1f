// Studien im Hauptfenster: mit einer Variante vergleichen (Differenzen im
// Diagramm und als Liste), die Empfindlichkeit eines Ziels (Tornado-Bild und
// Tabelle, in Fäden gerechnet mit Fortschritt und Abbrechen) und die Herkunft
// eines Stroms (Tabelle, die Wege eines Beitrags ausgewählt im Diagramm).
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTableWidget>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "analysis/UBerechnung.h"
#include "analysis/UBilanz.h"
#include "analysis/UEmpfindlichkeit.h"
#include "analysis/UHerkunft.h"
#include "analysis/UVergleich.h"
#include "app/FHaupt.h"
#include "app/UErgebnisDock.h"
#include "app/UTornado.h"
#include "app/UZeichenfeld.h"
#include "base/UFehler.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "base/UWerte.h"
#include "persistence/UModellDatei.h"
#include "qt/UQtText.h"
#include "view/UVergleichsanzeige.h"

namespace tessomir {
namespace {

// Sammelt das Protokoll der Variante, damit es nicht in das des Modells läuft.
class TGesammelt final : public IProtokoll {
public:
    void LogLeeren() override { Zeilen.clear(); }
    void LogZeile(const std::string& zeile) override { Zeilen += zeile + "\n"; }
    std::string Zeilen;
};

QString Zahl(const TModell& m, double wert) { return QtAusAnsi(m.WertText(wert)); }

QString Prozenttext(double p) { return QLocale().toString(p, 'f', 1); }

} // namespace

void TFMHaupt::StudienAnlegen() {
    const QKeySequence keine;
    ACDateiVergleichen = Aktion("ACDateiVergleichen", "Vergleichen mit...", "Mit einer Variante vergleichen", keine,
                                -1, &TFMHaupt::ACDateiVergleichenExecute);
    ACDateiVergleichBeenden = Aktion("ACDateiVergleichBeenden", "Vergleich beenden", "", keine, -1,
                                     &TFMHaupt::ACDateiVergleichBeendenExecute);
    ACAnsichtEmpfindlichkeit = Aktion("ACAnsichtEmpfindlichkeit", "Empfindlichkeit...",
                                      "Empfindlichkeit des gewählten Wegs, der Verzweigung oder Senke", keine, -1,
                                      &TFMHaupt::ACAnsichtEmpfindlichkeitExecute);
    ACAnsichtHerkunft = Aktion("ACAnsichtHerkunft", "Herkunft...", "Woher der Strom kommt (bei einer Quelle: wohin)",
                               keine, -1, &TFMHaupt::ACAnsichtHerkunftExecute);
    if (QMenu* datei = menuBar()->findChild<QMenu*>(QStringLiteral("UMDatei")); datei != nullptr) {
        const QList<QAction*> aktionen = datei->actions();
        const qsizetype i = aktionen.indexOf(ACDateiWerteSchreiben);
        QAction* davor = i >= 0 && i + 1 < aktionen.size() ? aktionen[i + 1] : nullptr;
        datei->insertActions(davor, {ACDateiVergleichen, ACDateiVergleichBeenden});
    }
    if (QMenu* ansicht = menuBar()->findChild<QMenu*>(QStringLiteral("UMAnsicht")); ansicht != nullptr)
        ansicht->insertActions(ACAnsichtEinstellungen, {ACAnsichtEmpfindlichkeit, ACAnsichtHerkunft});
    PU->addSeparator();
    PU->addAction(ACAnsichtHerkunft);

    const auto dock = [this](const QString& titel, const char* name, const QString& rolle) {
        auto* d = new TErgebnisDock(titel, name, rolle, this);
        addDockWidget(Qt::BottomDockWidgetArea, d);
        d->hide();
        d->ObjektZeigen = [this](uint32_t nr) {
            Befehl([this, nr] {
                if (Modell() != nullptr) ObjektZeigen(Modell()->FOListe.NrSuchen(nr));
            });
        };
        return d;
    };
    DKVergleich = dock(QStringLiteral("Vergleich"), "DKVergleich", QStringLiteral("Differenzen zur Variante"));
    DKEmpfindlichkeit = dock(QStringLiteral("Empfindlichkeit"), "DKEmpfindlichkeit",
                             QStringLiteral("Wirkung jeder Eingabe auf das Ziel"));
    DKHerkunft = dock(QStringLiteral("Herkunft"), "DKHerkunft", QStringLiteral("Anteile der Quellen am Strom"));
    // Übereinander als Reiter: jede Liste behält die volle Breite.
    tabifyDockWidget(DKVergleich, DKEmpfindlichkeit);
    tabifyDockWidget(DKEmpfindlichkeit, DKHerkunft);
    // Schliesst der Benutzer die Liste des Vergleichs, endet der Vergleich;
    // hinter einem anderen Reiter bleibt er (dann ist sie nur verdeckt).
    connect(DKVergleich, &QDockWidget::visibilityChanged, this, [this](bool sichtbar) {
        if (!sichtbar && DKVergleich->isHidden() && isVisible() && Vergleichsbild)
            Befehl([this] { ACDateiVergleichBeendenExecute(); });
    });
}

// "Als CSV speichern..." einer Ergebnisliste: fragt nach der Datei und schreibt 'csv'.
std::function<void()> TFMHaupt::CsvAnbieten(std::string csv, const QString& vorgabe) {
    return [this, csv = std::move(csv), vorgabe] {
        Befehl([this, &csv, &vorgabe] {
            const std::optional<QString> ziel = Dateiwahl->CsvSpeichern(this, vorgabe);
            if (!ziel) return;
            const TSpeichernErgebnis e = DateiSichern(Pfad(*ziel), csv);
            if (!e.Ok) Plattform().Meldungen->Fehler(MeldungMitGrund(e.Meldung, e.Grund));
        });
    };
}

// ---------------------------------------------------------------- Vergleich

void TFMHaupt::ACDateiVergleichenExecute() {
    if (Modell() == nullptr) return;
    const std::optional<QString> pfad = Dateiwahl->Oeffnen(this);
    if (!pfad) return;
    TOeffnenErgebnis variante = ModellOeffnen(Pfad(*pfad));
    if (!variante.Modell) {
        Plattform().Meldungen->Fehler(MeldungMitGrund(variante.Meldung, variante.Grund));
        return;
    }
    TGesammelt protokoll;
    variante.Modell->Protokoll = &protokoll;
    const std::string name = DateinameFuerAnzeige(Pfad(*pfad));
    if (Dokument.Neuberechnen([this] { MaxStromAnzeigen(); }) != TBerechnungsErgebnis::BerechnungOK) {
        Neuzeichnen();
        Plattform().Meldungen->Fehler("Das Modell l\xE4sst sich nicht berechnen; ohne Ergebnis kein Vergleich.");
        return;
    }
    if (ModellNeuberechnen(*variante.Modell) != TBerechnungsErgebnis::BerechnungOK) {
        Neuzeichnen();
        Plattform().Meldungen->Fehler("Die Variante " + name + " l\xE4sst sich nicht berechnen:\n" + protokoll.Zeilen);
        return;
    }
    variante.Modell->Protokoll = nullptr;
    Variante = std::move(variante.Modell);
    VariantenName = name;
    VergleichAktualisieren();
    DKVergleich->show();
    DKVergleich->raise();
}

void TFMHaupt::VergleichAktualisieren() {
    if (!Variante || Modell() == nullptr) return;
    const TVergleich jeArtikel = Vergleichen(*Modell(), *Variante, false);
    const TVergleich summe = Vergleichen(*Modell(), *Variante, true);
    Vergleichsbild = std::make_unique<TVergleichsanzeige>(jeArtikel, summe);
    AnsichtObjekt->Vergleich = Vergleichsbild.get();
    // Die Liste folgt dem angezeigten Artikel oder der Summe, grösste Differenz zuerst.
    const int artikel = AnzeigeArtikel(*Modell());
    VergleichsArtikel = artikel;
    const TVergleich& v = artikel == SummeArtikel ? summe : jeArtikel;
    std::vector<QStringList> zeilen;
    std::vector<uint32_t> nummern;
    for (const TVergleichsZeile* z : NachGroesse(v)) {
        if (z->Artikel != artikel) continue;
        const std::optional<double> p = z->Prozent();
        zeilen.push_back({QString::number(z->FONr), QtAusAnsi(z->Name), QtAusAnsi(z->ArtikelName),
                          Zahl(*Modell(), z->StromA), Zahl(*Modell(), z->StromB), Zahl(*Modell(), z->Differenz()),
                          p ? Prozenttext(*p) : QString()});
        nummern.push_back(z->FONr);
    }
    DKVergleich->Fuellen({QStringLiteral("Nr."), QStringLiteral("Name"), QStringLiteral("Artikel"),
                          QStringLiteral("Strom A"), QStringLiteral("Strom B"), QStringLiteral("Differenz"),
                          QStringLiteral("%")},
                         zeilen, nummern, {true, false, false, true, true, true, true});
    std::string kopf = "A: dieses Modell, B: " + VariantenName + ". Blau mehr in B, orange weniger.";
    for (const std::string& s : v.NurInA) kopf += "\nNur in A: " + s;
    for (const std::string& s : v.NurInB) kopf += "\nNur in B: " + s;
    for (const std::string& s : v.Abweichungen) kopf += "\n" + s;
    DKVergleich->KopfSetzen(QtAusAnsi(kopf));
    DKVergleich->CsvSpeichern = CsvAnbieten(VergleichAlsCsv(v), QStringLiteral("vergleich.csv"));
    PBHaupt->Neuzeichnen();
}

void TFMHaupt::ACDateiVergleichBeendenExecute() {
    AnsichtObjekt->Vergleich = nullptr;
    Vergleichsbild.reset();
    Variante.reset();
    if (DKVergleich->isVisible()) DKVergleich->hide();
    Neuzeichnen();
}

// ---------------------------------------------------------------- Empfindlichkeit

const TFO* TFMHaupt::EinzelnesZiel() const {
    if (Modell() == nullptr || Modell()->FOListe.Auswahl().size() != 1) return nullptr;
    const TFO* o = Modell()->FOListe.Auswahl().front().Objekt;
    return o != nullptr && ZielWert(*o, 0) ? o : nullptr;
}

void TFMHaupt::ACAnsichtEmpfindlichkeitExecute() {
    const TFO* ziel = EinzelnesZiel();
    if (ziel == nullptr) {
        Plattform().Meldungen->Info("Bitte zuerst das Ziel w\xE4hlen: einen Weg, eine Verzweigung oder eine Senke.");
        return;
    }
    bool ok = false;
    const double prozent = QInputDialog::getDouble(this, QStringLiteral("Empfindlichkeit"),
                                                   QStringLiteral("Jede Eingabe senken und heben um (%):"), 10.0, 0.1,
                                                   99.0, 1, &ok);
    if (!ok) return;
    TEmpfindlichkeitsAuftrag auftrag;
    auftrag.ZielFONr = ziel->FONr;
    auftrag.Artikel = AnzeigeArtikel(*Modell());
    auftrag.Prozent = prozent;
    auftrag.Faeden = std::max(1U, std::thread::hardware_concurrency());
    std::atomic<bool> abbrechen{false};
    std::atomic<size_t> fertig{0}, gesamt{1};
    auftrag.Abbrechen = &abbrechen;
    auftrag.Fortschritt = [&](size_t f, size_t g) {
        fertig = f;
        gesamt = g;
    };
    // Die Fäden lesen eine eigene Kopie: das Fenster bleibt bedienbar, ohne dass sie etwas ändert.
    const std::shared_ptr<const TModell> kopie = ModellKopie(*Modell());
    std::future<TEmpfindlichkeit> rechnung =
        std::async(std::launch::async, [kopie, &auftrag] { return EmpfindlichkeitBerechnen(*kopie, auftrag); });
    QProgressDialog fortschritt(QStringLiteral("Empfindlichkeit wird berechnet..."), QStringLiteral("Abbrechen"), 0, 1000,
                                this);
    fortschritt.setObjectName(QStringLiteral("PDEmpfindlichkeit"));
    fortschritt.setWindowModality(Qt::WindowModal);
    fortschritt.setMinimumDuration(300);
    while (rechnung.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        fortschritt.setValue(static_cast<int>(1000 * fertig / std::max<size_t>(1, gesamt)));
        QApplication::processEvents();
        if (fortschritt.wasCanceled()) abbrechen = true;
    }
    fortschritt.reset();
    TEmpfindlichkeit e;
    try {
        e = rechnung.get();
    } catch (const EFehler& x) {
        Plattform().Meldungen->Fehler(std::string("Die Empfindlichkeit l\xE4sst sich nicht berechnen: ") + x.what() + ".");
        return;
    }
    if (e.Abgebrochen) {
        StatusMelden(QStringLiteral("Empfindlichkeit abgebrochen"));
        return;
    }
    const TModell& m = *Modell();
    std::vector<QStringList> zeilen;
    std::vector<uint32_t> nummern;
    std::vector<TTornadoBalken> balken;
    for (const TEmpfindlichkeitsZeile& z : e.Zeilen) {
        const TWertZeile& w = z.Eingabe;
        const auto zahl = [&](const std::optional<double>& x) { return x ? Zahl(m, *x) : QStringLiteral("-"); };
        zeilen.push_back({QtAusAnsi(w.Objekt), QtAusAnsi(w.Groesse), QtAusAnsi(w.Artikel), QtAusAnsi(w.Von),
                          QtAusAnsi(w.Nach), QtAusAnsi(TextAusFloat(w.Wert, m.Anzeigetrenner)), zahl(z.ZielMinus),
                          zahl(z.ZielPlus), z.Gescheitert() ? QtAusAnsi(z.Grund) : Zahl(m, z.Wirkung())});
        nummern.push_back(w.FONr);
        // Das Bild zeigt die grössten Wirkungen; die Tabelle alle.
        if (!z.Gescheitert() && balken.size() < 10 && z.Wirkung() > 0.0)
            balken.push_back({QtAusAnsi(w.Objekt + " " + w.Groesse + " " + w.Artikel +
                                        (w.Von.empty() ? std::string() : " von " + w.Von) +
                                        (w.Nach.empty() ? std::string() : " nach " + w.Nach)),
                              *z.ZielMinus, *z.ZielPlus});
    }
    DKEmpfindlichkeit->Fuellen({QStringLiteral("Objekt"), QStringLiteral("Grösse"), QStringLiteral("Artikel"),
                                QStringLiteral("Von"), QStringLiteral("Nach"), QStringLiteral("Wert"),
                                QStringLiteral("Ziel −"), QStringLiteral("Ziel +"), QStringLiteral("Wirkung")},
                               zeilen, nummern, {false, false, false, false, false, true, true, true, true});
    DKEmpfindlichkeit->BildSetzen(new TTornado(e.ZielBasis, std::move(balken)));
    const TFO* zielJetzt = Modell()->FOListe.NrSuchen(auftrag.ZielFONr);
    DKEmpfindlichkeit->KopfSetzen(QtAusAnsi(
        "Ziel " + (zielJetzt != nullptr ? zielJetzt->Titel() : std::string()) + ", " +
        (auftrag.Artikel == SummeArtikel ? std::string("Summe aller Artikel")
                                         : m.ArtikelListe[static_cast<size_t>(auftrag.Artikel)]) +
        ": " + m.WertText(e.ZielBasis) +
        ", jede Eingabe um " + TextAusFloat(prozent, m.Anzeigetrenner) +
        " % gesenkt (orange) und gehoben (blau); ein Anteil wird von den anderen seines Eingangs ausgeglichen."));
    DKEmpfindlichkeit->CsvSpeichern = CsvAnbieten(EmpfindlichkeitAlsCsv(e), QStringLiteral("empfindlichkeit.csv"));
    DKEmpfindlichkeit->show();
    DKEmpfindlichkeit->raise();
}

// ---------------------------------------------------------------- Herkunft

void TFMHaupt::ACAnsichtHerkunftExecute() {
    if (Modell() == nullptr || Modell()->FOListe.Auswahl().size() != 1) return;
    const TFO* o = Modell()->FOListe.Auswahl().front().Objekt;
    THerkunft h;
    try {
        h = HerkunftBerechnen(*Modell(), o->FONr);
    } catch (const EFehler& x) {
        Plattform().Meldungen->Info(std::string("Keine Herkunft: ") + x.what() + ".");
        return;
    }
    if (!h.Ok) {
        Plattform().Meldungen->Fehler("Die Herkunft l\xE4sst sich nicht bestimmen: " + h.Grund + ".");
        return;
    }
    std::vector<QStringList> zeilen;
    std::vector<uint32_t> nummern;
    for (const THerkunftsZeile& z : h.Zeilen) {
        zeilen.push_back({QtAusAnsi(z.ArtikelName), QtAusAnsi("[ " + Gekuerzt(z.Name) + " ] #" + std::to_string(z.FONr)),
                          Prozenttext(z.Anteil), Zahl(*Modell(), z.Strom)});
        nummern.push_back(z.FONr);
    }
    DKHerkunft->Fuellen({QStringLiteral("Artikel"), h.VonQuelle ? QStringLiteral("Senke") : QStringLiteral("Quelle"),
                         QStringLiteral("Anteil %"), QStringLiteral("Strom")},
                        zeilen, nummern, {false, false, true, true});
    DKHerkunft->KopfSetzen(QtAusAnsi(
        (h.VonQuelle ? "Wohin die Str\xF6me von " : "Woher der Strom von ") + o->Titel() +
        (h.VonQuelle ? " gehen, je Senke." : " kommt, je Quelle.") +
        " Eine Zeile w\xE4hlt die Wege, die ihr Beitrag nimmt."));
    // Eine Zeile wählt die Wege, die der Beitrag ihrer Quelle zum Ziel nimmt.
    DKHerkunft->ZeileGewaehlt = [this, h](int zeile) {
        Befehl([this, &h, zeile] {
            if (Modell() == nullptr || zeile < 0) return;
            Modell()->FOListe.AuswahlLeeren();
            for (const uint32_t nr : WegeDesBeitrags(*Modell(), h, static_cast<size_t>(zeile)))
                if (TFO* w = Modell()->FOListe.NrSuchen(nr); w != nullptr) Modell()->FOListe.Auswaehlen(w, true);
            Neuzeichnen();
        });
    };
    DKHerkunft->CsvSpeichern = CsvAnbieten(HerkunftAlsCsv(h), QStringLiteral("herkunft.csv"));
    DKHerkunft->show();
    DKHerkunft->raise();
}

} // namespace tessomir
