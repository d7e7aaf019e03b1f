// Werte schreiben und einlesen im echten Fenster: Tabelle hin und zurück,
// Rückfrage, ein Schritt "Werte einlesen", Fehler ohne Übernahme.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/FHaupt.h"
#include "gemeinsam/TAufzeichnung.h"
#include "model/UKnoten.h"
#include "editing/UVerlauf.h"

namespace tessomir {
namespace {

class TTabellenWahl final : public IDateiwahl {
public:
    std::optional<QString> Oeffnen(QWidget*) override { return std::nullopt; }
    std::optional<QString> SpeichernUnter(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> TabelleOeffnen(QWidget*) override { return Quelle; }
    std::optional<TExportziel> TabelleSpeichern(QWidget*, const QString& vorgabe) override {
        Vorgabe = vorgabe;
        return TExportziel{Ziel, Deutsch};
    }
    QString Quelle, Ziel, Vorgabe;
    bool Deutsch = false;
};

QByteArray Lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Schreiben(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

TEST(WerteFenster, SchreibenAendernEinlesenRueckgaengig) {
    QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear();
    test::TAufzeichnung platt;
    QTemporaryDir ordner;
    auto wahl = std::make_unique<TTabellenWahl>();
    TTabellenWahl& w = *wahl;
    TFMHaupt f(QString(), std::move(wahl));
    Plattform().Meldungen = &platt;
    f.ModellLaden(QStringLiteral(TESSOMIR_BEISPIELE "/Recyclinganlage.TSR"));
    const auto a = [&](const char* name) {
        f.AktionenAktualisieren();
        return f.findChild<QAction*>(name);
    };
    w.Ziel = ordner.filePath(QStringLiteral("werte.csv"));
    w.Deutsch = true;
    a("ACDateiWerteSchreiben")->trigger();
    EXPECT_EQ(w.Vorgabe, QStringLiteral("Recyclinganlage_werte.csv"));
    QByteArray tabelle = Lesen(w.Ziel);
    ASSERT_TRUE(tabelle.startsWith("\xEF\xBB\xBF" "FONr;Objekt;Art;Groesse;Artikel;Von;Nach;Wert\r\n"));

    // Unverändert eingelesen: eine Meldung, nichts geändert.
    w.Quelle = w.Ziel;
    a("ACDateiWerteEinlesen")->trigger();
    ASSERT_EQ(platt.Meldungen.size(), 1U);
    EXPECT_EQ(platt.Meldungen[0].Art, test::TMeldung::Info);
    EXPECT_FALSE(f.Modell()->Modifiziert);
    EXPECT_FALSE(f.Verlauf().KannRueckgaengig());

    // Eine Liefermenge geändert: Rückfrage, Ja, ein Schritt.
    const int zeile = tabelle.indexOf(";Liefermenge;Papier;;;");
    ASSERT_GE(zeile, 0);
    const int ende = tabelle.indexOf('\r', zeile);
    tabelle.replace(zeile + 22, ende - zeile - 22, "1.234,5");
    Schreiben(w.Quelle, tabelle);
    const TQuelle* q = nullptr;
    for (const TKnoten* k : f.Modell()->FOListe.Knoten())
        if (q == nullptr && k->Art() == TKnotenArt::Quelle) q = static_cast<const TQuelle*>(k);
    ASSERT_NE(q, nullptr);
    const double vorher = q->Matrix().W(0, 0, 1);
    platt.Meldungen.clear();
    platt.Antworten = {TAntwort::Ja};
    a("ACDateiWerteEinlesen")->trigger();
    ASSERT_EQ(platt.Meldungen.size(), 1U);
    EXPECT_NE(platt.Meldungen[0].Text.find("1 Wert w\xFCrde sich \xE4ndern."), std::string::npos);
    EXPECT_EQ(q->Matrix().W(0, 0, 1), 1234.5);
    EXPECT_TRUE(f.Modell()->Modifiziert);
    EXPECT_TRUE(f.StatusMeldung().startsWith(QStringLiteral("1 Wert übernommen aus "))) << f.StatusMeldung().toStdString();
    EXPECT_EQ(a("ACBearbeitenRueckgaengig")->text(), QStringLiteral("Rückgängig: Werte einlesen"));
    a("ACBearbeitenRueckgaengig")->trigger();
    EXPECT_EQ(q->Matrix().W(0, 0, 1), vorher);

    // "Nein" lässt alles; eine fehlerhafte Tabelle wird nicht übernommen.
    platt.Antworten = {TAntwort::Nein};
    a("ACDateiWerteEinlesen")->trigger();
    EXPECT_EQ(q->Matrix().W(0, 0, 1), vorher);
    tabelle.replace(tabelle.indexOf("1.234,5"), 7, "1.234");
    Schreiben(w.Quelle, tabelle);
    platt.Meldungen.clear();
    a("ACDateiWerteEinlesen")->trigger();
    ASSERT_EQ(platt.Meldungen.size(), 1U);
    EXPECT_EQ(platt.Meldungen[0].Art, test::TMeldung::Fehler);
    EXPECT_NE(platt.Meldungen[0].Text.find("mehrdeutig: 1.234"), std::string::npos) << platt.Meldungen[0].Text;
    EXPECT_NE(platt.Meldungen[0].Text.find("Es wurde nichts \xFC" "bernommen."), std::string::npos);
    EXPECT_EQ(q->Matrix().W(0, 0, 1), vorher);

    // Als XLSX (nach einer Berechnung mit dem Blatt "Stroeme") hin und zurück: nichts ändert sich.
    a("ACBearbeitenNeuberechnen")->trigger();
    w.Ziel = ordner.filePath(QStringLiteral("werte.xlsx"));
    w.Deutsch = false;
    a("ACDateiWerteSchreiben")->trigger();
    EXPECT_TRUE(Lesen(w.Ziel).contains("xl/worksheets/sheet2.xml"));
    w.Quelle = w.Ziel;
    platt.Meldungen.clear();
    const bool geaendert = f.Modell()->Modifiziert;
    a("ACDateiWerteEinlesen")->trigger();
    ASSERT_EQ(platt.Meldungen.size(), 1U);
    EXPECT_EQ(platt.Meldungen[0].Art, test::TMeldung::Info);
    EXPECT_NE(platt.Meldungen[0].Text.find(" 0 Werte w\xFCrden sich \xE4ndern."), std::string::npos);
    EXPECT_EQ(f.Modell()->Modifiziert, geaendert);
    // Nach einer Änderung passen die Ströme nicht mehr zu den Werten: kein Blatt "Stroeme".
    f.AktionenAktualisieren();
    ASSERT_TRUE(a("ACBearbeitenWiederholen")->isEnabled());
    a("ACBearbeitenWiederholen")->trigger();
    a("ACDateiWerteSchreiben")->trigger();
    EXPECT_FALSE(Lesen(w.Ziel).contains("xl/worksheets/sheet2.xml"));
    EXPECT_TRUE(f.StatusMeldung().endsWith(QStringLiteral("(ohne Ströme: das Modell wurde seit der Berechnung geändert)")))
        << f.StatusMeldung().toStdString();
    QSettings(QStringLiteral("Belcorra"), QStringLiteral("TessomirV20")).clear();
}

} // namespace
} // namespace tessomir
