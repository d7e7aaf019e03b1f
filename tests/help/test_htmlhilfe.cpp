// Die gebaute Tessomir.chm und das Hilfefenster auf der Plattform "offscreen".
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>
#include <regex>

#include "app/FHaupt.h"
#include "gemeinsam/TAufzeichnung.h"
#include "help/UHtmlHilfe.h"

namespace tessomir {
namespace {

// Jedes Thema, das Programm und Dialoge aufrufen.
const char* const Themen[] = {"Allgemeines\\Anfang.htm", "uebersicht.htm",     "artikelbearbeiten.htm",
                              "einstellungen.htm",       "quellenmatrix.htm",  "verzweigungsmatrix.htm",
                              "senkenmatrix.htm",        "wandlermatrix.htm",  "engpaesse.htm"};

std::string Datei() { return ProgrammVerzeichnis() + HilfeDateiname; }

std::string Pfad(const QTextBrowser& b) { return b.source().path().toStdString(); }

TEST(Chm, JedesAufgerufeneThemaIstEineSeite) {
    const auto chm = TChmDatei::Oeffnen(Datei());
    ASSERT_NE(chm, nullptr) << Datei();
    for (const char* thema : Themen) {
        const std::optional<std::string> seite = chm->Lesen(HilfeAdresseZerlegen(HilfeAdresse("x", thema)).Thema);
        ASSERT_TRUE(seite) << thema;
        EXPECT_NE(seite->find("charset=utf-8"), std::string::npos) << thema;
        EXPECT_NE(seite->find("<h1>"), std::string::npos) << thema;
    }
    EXPECT_EQ(chm->Startseite(), "/Allgemeines/Anfang.htm");
}

// Verweise, Stilvorlagen und Bilder jeder Seite des Inhalts zeigen in die Datei.
TEST(Chm, AlleVerweiseFuehrenInDieDatei) {
    const auto chm = TChmDatei::Oeffnen(Datei());
    ASSERT_NE(chm, nullptr);
    const std::vector<TSitemapEintrag> inhalt = SitemapLesen(chm->Lesen(chm->Inhaltsdatei()).value_or(""));
    const std::vector<TSitemapEintrag> index = SitemapLesen(chm->Lesen(chm->Indexdatei()).value_or(""));
    ASSERT_GE(inhalt.size(), 15u);
    ASSERT_GE(index.size(), 40u);
    const std::regex verweis(R"((?:href|src)="([^"#:]+)[^"]*")");
    int geprueft = 0;
    for (const TSitemapEintrag& e : inhalt) {
        if (e.Seite.empty()) continue;
        const std::string seite = chm->Lesen(e.Seite).value_or("");
        ASSERT_FALSE(seite.empty()) << e.Seite;
        const std::string ordner = e.Seite.substr(0, e.Seite.rfind('/') + 1);
        for (std::sregex_iterator it(seite.begin(), seite.end(), verweis), ende; it != ende; ++it, ++geprueft)
            EXPECT_TRUE(chm->Enthaelt(ChmPfad(ordner + (*it)[1].str()))) << e.Seite << " -> " << (*it)[1];
    }
    EXPECT_GT(geprueft, 80);
    for (const TSitemapEintrag& e : index) EXPECT_TRUE(chm->Enthaelt(e.Seite)) << e.Name;
}

TEST(Chm, SitemapUndPfade) {
    const auto eintraege = SitemapLesen(R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Matrizen">
        </OBJECT><UL><LI><object type="text/sitemap"><PARAM NAME="Name" VALUE="Pr&uuml;fen &amp; mehr">
        <param name="Local" value="a\b.htm"></object></UL></UL>)");
    ASSERT_EQ(eintraege.size(), 2u);
    EXPECT_EQ(eintraege[0].Tiefe, 0);
    EXPECT_EQ(eintraege[1].Name, "Pr\xC3\xBC" "fen & mehr");
    EXPECT_EQ(eintraege[1].Seite, "/a/b.htm");
    EXPECT_EQ(eintraege[1].Tiefe, 1);
    EXPECT_EQ(ChmPfad("/Allgemeines/../uebersicht.htm#oben"), "/uebersicht.htm");
    EXPECT_EQ(ChmPfad("ms-its:Tessomir.chm::/x/y.htm"), "/x/y.htm");
    EXPECT_EQ(TChmDatei::Oeffnen("/nirgends/Tessomir.chm"), nullptr);
    EXPECT_EQ(TChmDatei::Oeffnen(TESSOMIR_BEISPIELE "/Wassernetz.TSR"), nullptr);
}

class THilfefensterTest : public ::testing::Test {
protected:
    test::TAufzeichnung Plattform;
    THtmlHilfe Hilfe;
};

TEST_F(THilfefensterTest, EinFensterFuerAlleThemen) {
    HilfeZeigen("uebersicht.htm");
    THilfefenster* fenster = Hilfe.Fenster();
    ASSERT_NE(fenster, nullptr);
    EXPECT_TRUE(fenster->isVisible());
    EXPECT_EQ(Pfad(*fenster->Browser()), "/uebersicht.htm");
    EXPECT_EQ(fenster->windowTitle(), QStringLiteral("Tessomir Hilfe - Das Programmfenster"));
    EXPECT_TRUE(fenster->Browser()->toPlainText().contains(QStringLiteral("Statusleiste")));
    HilfeZeigen("");
    EXPECT_EQ(Hilfe.Fenster(), fenster);
    EXPECT_EQ(Pfad(*fenster->Browser()), "/Allgemeines/Anfang.htm");
    EXPECT_EQ(Plattform.Pieptoene, 0);
    // Stilvorlage und Bild kommen aus der Datei.
    THilfeBrowser& b = *fenster->Browser();
    EXPECT_TRUE(b.loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("../tessomir.css")))
                    .toString()
                    .contains(QStringLiteral("h1")));
    const QImage bild = b.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("../bilder/wassernetz.png")))
                            .value<QImage>();
    EXPECT_GT(bild.width(), 100);
}

TEST_F(THilfefensterTest, FehlendesThemaOderFehlendeDateiPiepen) {
    HilfeZeigen("gibtesnicht.htm");
    EXPECT_EQ(Plattform.Pieptoene, 1);
    EXPECT_FALSE(Hilfe.AdresseZeigen("/nirgends/Tessomir.chm::/uebersicht.htm"));
    EXPECT_FALSE(Hilfe.AdresseZeigen(TESSOMIR_BEISPIELE "/Wassernetz.TSR::/uebersicht.htm"));
    EXPECT_TRUE(Plattform.Meldungen.empty());
}

// Klickt auf den ersten Verweis der Seite mit diesem Ziel.
void VerweisKlicken(QTextBrowser& b, const QString& ziel) {
    for (QTextBlock block = b.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorHref() == ziel) {
                QTextCursor c(b.document());
                c.setPosition(it.fragment().position() + 1);
                b.ensureCursorVisible();
                b.setTextCursor(c);
                b.ensureCursorVisible();
                QTest::mouseClick(b.viewport(), Qt::LeftButton, {}, b.cursorRect(c).center());
                return;
            }
    ADD_FAILURE() << "kein Verweis auf " << ziel.toStdString();
}

TEST_F(THilfefensterTest, VerweisInhaltIndexUndZurueck) {
    HilfeZeigen("");
    THilfefenster& f = *Hilfe.Fenster();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    VerweisKlicken(*f.Browser(), QStringLiteral("../pruefen.htm"));
    EXPECT_EQ(Pfad(*f.Browser()), "/pruefen.htm");
    auto* zurueck = f.findChild<QAction*>(QStringLiteral("ACZurueck"));
    ASSERT_TRUE(zurueck->isEnabled());
    zurueck->trigger();
    EXPECT_EQ(Pfad(*f.Browser()), "/Allgemeines/Anfang.htm");
    EXPECT_TRUE(f.findChild<QAction*>(QStringLiteral("ACVor"))->isEnabled());

    auto* baum = f.findChild<QTreeWidget*>(QStringLiteral("TVInhalt"));
    const auto treffer = baum->findItems(QStringLiteral("Wandler"), Qt::MatchRecursive);
    ASSERT_EQ(treffer.size(), 1);
    QTest::mouseClick(baum->viewport(), Qt::LeftButton, {}, baum->visualItemRect(treffer[0]).center());
    EXPECT_EQ(Pfad(*f.Browser()), "/wandlermatrix.htm");

    auto* suchen = f.findChild<QLineEdit*>(QStringLiteral("EDSuchen"));
    QTest::keyClicks(suchen, QStringLiteral("Kolonnen"));
    QTest::keyClick(suchen, Qt::Key_Return);
    EXPECT_EQ(Pfad(*f.Browser()), "/pruefen.htm");
}

TEST_F(THilfefensterTest, F1ImHauptfensterZeigtDieUebersicht) {
    TFMHaupt haupt;
    haupt.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&haupt));
    QTest::keyClick(&haupt, Qt::Key_F1);
    ASSERT_NE(Hilfe.Fenster(), nullptr);
    EXPECT_EQ(Pfad(*Hilfe.Fenster()->Browser()), "/uebersicht.htm");
    EXPECT_EQ(Plattform.Pieptoene, 0);
}

} // namespace
} // namespace tessomir
