// Infodialog: die Version aus der Programmdatei oder der Hinweis ohne sie.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTemporaryFile>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "dialogs/FVersion.h"

namespace tessomir {
namespace {

TEST(Version, EigeneProgrammdateiUndDateiOhneNotiz) {
    const TFMVersion eigenes; // das Testprogramm trägt die Notiz wie das Programm
    EXPECT_EQ(eigenes.windowTitle(), "Information");
    EXPECT_EQ(eigenes.LAPrgName->text(), "Tessomir");
    EXPECT_EQ(eigenes.LAVersionsAnzeige->text(), TESSOMIR_VERSION);
    EXPECT_EQ(eigenes.size(), QSize(340, 211));
    EXPECT_EQ(eigenes.MEHersteller->toPlainText().count('\n'), 3);

    QTemporaryFile skript;
    ASSERT_TRUE(skript.open());
    skript.write("#!/bin/sh\n");
    skript.close();
    for (const QString& pfad : {skript.fileName(), QStringLiteral("/gibt/es/nicht")}) {
        const TFMVersion ohne(nullptr, pfad.toStdString());
        EXPECT_EQ(ohne.LAVersionsAnzeige->text(), "Keine Versionsinformation");
    }
}

// Alle vier Zeilen von Hersteller und Kontakt stehen im sichtbaren Feld.
TEST(Version, VierteZeileSichtbar) {
    TFMVersion d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QTextEdit& text = *d.MEHersteller;
    EXPECT_LE(text.document()->size().height(), text.viewport()->height());
    QTextCursor ende(text.document());
    ende.movePosition(QTextCursor::End);
    EXPECT_EQ(ende.block().text(), "tessomir@belcorra.de");
    EXPECT_LE(text.cursorRect(ende).bottom(), text.viewport()->rect().bottom());
    EXPECT_EQ(text.verticalScrollBar()->value(), 0);
}

} // namespace
} // namespace tessomir
