// Rückgängig und Wiederholen: jeder Schritt stellt die Modelldatei Byte für
// Byte wieder her (vorher nach Rückgängig, nachher nach Wiederholen).
#include <gtest/gtest.h>

#include <functional>

#include "gemeinsam/TAufzeichnendeFlaeche.h"
#include "gemeinsam/TAufzeichnung.h"
#include "gemeinsam/TModellBau.h"
#include "editing/UArtikelBearbeitung.h"
#include "base/UFehler.h"
#include "editing/USchritte.h"
#include "editing/UEditor.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

using K = TMausknopf;
using T = TTaste;

class TStilleFlaeche final : public IEditorFlaeche {
public:
    void Neuzeichnen() override {}
    void ModellUeberzeichnen() override {}
    void Gummi(const std::function<void()>& zeichnen) override { zeichnen(); }
    void PopupOeffnen(TBildpunkt) override {}
};

TPunkt Ort(int x, int y) { return TPunkt{static_cast<double>(x), static_cast<double>(-y)}; }

std::string Datei(const TModell& m) {
    TZeilenSchreiber aus;
    Schreiben(m, aus);
    return aus.Text();
}

// Jede Zelle anders, damit eine Scheibe an falscher Stelle auffällt.
void Fuellen(TModell& m) {
    double w = 1.5;
    for (TKnoten* k : m.FOListe.Knoten()) {
        TDyn3DMatrix& x = k->Matrix();
        for (size_t i = 0; i < x.AnzahlZellen(); ++i) x.Daten()[i] = (w += 1.25);
    }
}

// Quelle -> Verzweigung -> drei Senken, zwei Artikel, ein Wandler daneben.
void Netz(test::TModellBau& bau) {
    bau.M().ArtikelEinfuegen("Glas");
    auto& q = bau.Knoten<TQuelle>("Q", Ort(20, 20));
    auto& v = bau.Knoten<TVerzweigung>("V", Ort(120, 20));
    auto& s1 = bau.Knoten<TSenke>("S1", Ort(220, 20));
    auto& s2 = bau.Knoten<TSenke>("S2", Ort(220, 120));
    auto& s3 = bau.Knoten<TSenke>("S3", Ort(220, 220));
    bau.Knoten<TWandler>("W", Ort(120, 220));
    bau.Knoten<TQuelle>("Q2", Ort(20, 220));
    bau.Weg(q, v, "Zulauf");
    bau.Weg(v, s1, "A1");
    bau.Weg(v, s2, "A2");
    bau.Weg(v, s3, "A3");
    Fuellen(bau.M());
}

struct VerlaufTest : ::testing::Test {
    test::TAufzeichnung plattform;
    test::TModellBau bau;
    test::TAufzeichnendeFlaeche flaeche;
    TAnsicht ansicht{&flaeche};
    TStilleFlaeche ober;
    TEditor editor{ansicht, ober};
    TVerlauf verlauf;
    TModell& m = bau.M();

    void SetUp() override {
        Netz(bau);
        editor.ModellSetzen(&m);
        editor.VerlaufSetzen(&verlauf);
    }
    void Ziehen(int modus, TBildpunkt von, TBildpunkt nach) {
        editor.Druecken(modus, K::Links, {T::Links}, von);
        editor.Bewegen(modus, {T::Links}, von);
        editor.Bewegen(modus, {T::Links}, nach);
        editor.Loslassen(modus, K::Links, {}, nach);
    }
    TFO& Objekt(const std::string& name) {
        for (const auto& o : m.FOListe.Alle())
            if (o->Name == name) return *o;
        throw std::runtime_error(name);
    }
    void Waehlen(std::initializer_list<const char*> namen) {
        m.FOListe.AuswahlLeeren();
        for (const char* n : namen) m.FOListe.Auswaehlen(&Objekt(n), false);
    }
    // Ändert, nimmt zurück, wiederholt, zweimal, und vergleicht die Dateien.
    void Pruefen(const std::string& name, const std::function<void()>& aendern) {
        SCOPED_TRACE(name);
        const std::string vorher = Datei(m);
        const size_t schritte = verlauf.Anzahl();
        aendern();
        const std::string nachher = Datei(m);
        ASSERT_EQ(verlauf.Anzahl(), schritte + 1);
        EXPECT_EQ(verlauf.RueckgaengigName(), name);
        EXPECT_NE(nachher, vorher);
        for (int runde = 0; runde < 2; ++runde) {
            verlauf.Rueckgaengig(m);
            EXPECT_EQ(Datei(m), vorher);
            EXPECT_EQ(verlauf.WiederholenName(), name);
            verlauf.Wiederholen(m);
            EXPECT_EQ(Datei(m), nachher);
        }
    }
};

TEST_F(VerlaufTest, SchritteDesEditorsUndDerKapazitaet) {
    Pruefen("Verzweigung einf\xFCgen", [&] { editor.Druecken(Verzweigung, K::Links, {T::Links}, {320, 20}); });
    // Ein weiterer Ausgang der Verzweigung und der erste einer frischen Quelle.
    Pruefen("Weg zeichnen", [&] { Ziehen(Weg, {120, 20}, {320, 20}); });
    Pruefen("Weg zeichnen", [&] { Ziehen(Weg, {20, 220}, {120, 220}); });
    Waehlen({"V", "S2"});
    Pruefen("Verschieben", [&] { Ziehen(Deaktiviert, {120, 20}, {150, 60}); });
    Waehlen({"A2", "V", "Q"});
    Pruefen("Vorgabekapazit\xE4t", [&] { ASSERT_EQ(VorgabekapazitaetSetzen(m, "250", '.', &verlauf), ""); });

    // Ein abgewiesener Weg bleibt ohne Schritt.
    const size_t schritte = verlauf.Anzahl();
    Ziehen(Weg, {150, 60}, {150, 60}); // V, verschoben, auf sich selbst
    EXPECT_EQ(verlauf.Anzahl(), schritte);
    EXPECT_EQ(plattform.Pieptoene, 1);
}

TEST_F(VerlaufTest, LoeschenMitVerlaufWieOhneUndKommtGanzZurueck) {
    const std::string anfang = Datei(m);
    const std::vector<std::vector<const char*>> auswahlen = {
        {"A2"}, {"V"}, {"S1", "A3", "Zulauf"}, {"Q", "V", "S1", "S2", "S3", "W", "Q2", "A1", "A2", "A3", "Zulauf"}};
    for (const auto& namen : auswahlen) {
        // Dasselbe Modell noch einmal gebaut, gelöscht ohne Verlauf.
        std::string erwartet;
        {
            test::TModellBau zwilling;
            Netz(zwilling);
            for (const char* n : namen) {
                for (const auto& o : zwilling.M().FOListe.Alle())
                    if (o->Name == n) zwilling.M().FOListe.Auswaehlen(o.get(), false);
            }
            AuswahlLoeschen(zwilling.M(), nullptr);
            erwartet = Datei(zwilling.M());
        }
        verlauf.Leeren();
        m.FOListe.AuswahlLeeren();
        for (const char* n : namen) m.FOListe.Auswaehlen(&Objekt(n), false);
        Pruefen("L\xF6schen", [&] { AuswahlLoeschen(m, &verlauf); });
        verlauf.Wiederholen(m);
        EXPECT_EQ(Datei(m), erwartet);
        verlauf.Rueckgaengig(m);
        EXPECT_EQ(Datei(m), anfang);
        EXPECT_TRUE(m.FOListe.Auswahl().empty());
    }
}

TEST_F(VerlaufTest, MatrixArtikelUndEinstellungen) {
    auto& v = static_cast<TKnoten&>(Objekt("V"));
    Pruefen("Matrix", [&] {
        TDyn3DMatrix neu = v.Matrix();
        neu.ZelleSetzen(1, 1, 2, 42.0);
        ASSERT_TRUE(MatrixAendern(v, neu, &verlauf));
    });
    m.ArtikelEinfuegen("Holz");
    Fuellen(m);
    Pruefen("Artikel einf\xFCgen", [&] { ArtikelHinzufuegen(m, "Metall", &verlauf); });
    Pruefen("Artikel umbenennen", [&] { ArtikelUmbenennen(m, 0, "Papier", &verlauf); });
    // Der mittlere Artikel: Zeilen und Wandlerspalten aus der Mitte.
    Pruefen("Artikel l\xF6schen", [&] { ArtikelEntfernen(m, 1, &verlauf); });
    m.AktArtikel = 3;
    verlauf.Rueckgaengig(m); // Artikel 3 fällt mit dem Löschen weg ...
    verlauf.Rueckgaengig(m);
    verlauf.Rueckgaengig(m);
    EXPECT_EQ(m.AktArtikel, 2); // ... die Anzeige bleibt im Bereich
    verlauf.Wiederholen(m);
    verlauf.Wiederholen(m);
    verlauf.Wiederholen(m);
    Pruefen("Einstellungen", [&] {
        const TModellEinstellungen alt = TModellEinstellungen::Aus(m);
        TModellEinstellungen neu = alt;
        neu.Schrift.Name = "Courier";
        neu.MaxStromBer = false;
        neu.MaxStrom = 12.5;
        neu.SymbolGroesse = 7;
        Ausfuehren(m, &verlauf, EinstellungenSchritt(alt, neu));
    });
}

// Ausfuehren ist der einzige Weg in den Verlauf: ein Schritt, dessen
// Ausführen wirft, wird nicht aufgenommen und setzt Modifiziert nicht.
TEST_F(VerlaufTest, AusfuehrenNimmtNurAusgefuehrteSchritteAuf) {
    class TScheitert final : public TSchritt {
    public:
        std::string Name() const override { return "Scheitert"; }
        void Rueckgaengig(TModell&) override {}
        void Wiederholen(TModell&) override { throw ERangeError("geht nicht"); }
        size_t Speicherbedarf() const override { return sizeof(*this); }
    };
    m.Modifiziert = false;
    EXPECT_THROW(Ausfuehren(m, &verlauf, std::make_unique<TScheitert>()), ERangeError);
    EXPECT_FALSE(verlauf.KannRueckgaengig());
    EXPECT_FALSE(m.Modifiziert);
    // Ohne Verlauf wird nur ausgeführt.
    auto& v = static_cast<TKnoten&>(Objekt("V"));
    const TPunkt alt = v.Refpunkt;
    Ausfuehren(m, nullptr, VerschiebenSchritt({{&v, alt, {alt.X + 5, alt.Y}}}));
    EXPECT_EQ(v.Refpunkt.X, alt.X + 5);
    EXPECT_TRUE(m.Modifiziert);
    EXPECT_FALSE(verlauf.KannRueckgaengig());
}

TEST_F(VerlaufTest, ModifiziertFolgtDerSicherungsmarke) {
    m.Modifiziert = false;
    editor.Druecken(Senke, K::Links, {T::Links}, {320, 20});
    EXPECT_TRUE(m.Modifiziert);
    verlauf.Rueckgaengig(m);
    EXPECT_FALSE(m.Modifiziert);
    verlauf.Wiederholen(m);
    EXPECT_TRUE(m.Modifiziert);
    verlauf.GesichertMarkieren(); // gespeichert
    m.Modifiziert = false;
    editor.Druecken(Senke, K::Links, {T::Links}, {320, 120});
    verlauf.Rueckgaengig(m);
    EXPECT_FALSE(m.Modifiziert);
    verlauf.Rueckgaengig(m);
    EXPECT_TRUE(m.Modifiziert);
    // Ein neuer Schritt unter der Marke: der gespeicherte Stand kommt nie wieder.
    editor.Druecken(Senke, K::Links, {T::Links}, {320, 220});
    verlauf.Rueckgaengig(m);
    EXPECT_TRUE(m.Modifiziert);
    EXPECT_FALSE(verlauf.KannWiederholen() && verlauf.AmGesichertenStand());

    verlauf.Leeren();
    EXPECT_FALSE(verlauf.KannRueckgaengig());
    for (int i = 0; i < 250; ++i) editor.Druecken(Quelle, K::Links, {T::Links}, {400, 20 + i});
    EXPECT_EQ(verlauf.Anzahl(), TVerlauf::Hoechstzahl);
    const std::string voll = Datei(m);
    while (verlauf.KannRueckgaengig()) verlauf.Rueckgaengig(m);
    EXPECT_EQ(m.FOListe.Knoten().size(), 7u + 50u);
    EXPECT_TRUE(m.Modifiziert); // die Marke fiel mit dem ältesten Schritt heraus
    while (verlauf.KannWiederholen()) verlauf.Wiederholen(m);
    EXPECT_EQ(Datei(m), voll);
}

} // namespace
} // namespace tessomir
