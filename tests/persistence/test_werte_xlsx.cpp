// XLSX: geschrieben und unverändert zurückgelesen ändert nichts; eine von Hand
// gebaute Mappe wie aus einer Tabellenkalkulation (gemeinsame und eingebettete
// Texte, Formeln mit gespeichertem Wert, Zahlen als Text, ein anderes erstes
// Blatt) liest sich mit den geänderten Werten; Kaputtes wird abgelehnt.
#include <gtest/gtest.h>

#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gemeinsam/TModellBau.h"
#include "model/UZeilen.h"
#include "persistence/UModellDatei.h"
#include "persistence/UWerteXlsx.h"

namespace tessomir {
namespace {

using test::Anteile;
using test::Menge;
using test::TModellBau;

std::string Text(const TModell& m) {
    TZeilenSchreiber aus;
    Schreiben(m, aus);
    return aus.Text();
}

// Eine ZIP-Datei aus (Name, Inhalt), mit libzip gebaut und als Bytes gelesen.
std::string Zip(const std::vector<std::pair<std::string, std::string>>& teile) {
    const std::string pfad = (std::filesystem::temp_directory_path() / "tessomir_test_mappe.xlsx").string();
    int fehler = 0;
    zip_t* z = zip_open(pfad.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    EXPECT_NE(z, nullptr);
    for (const auto& [name, inhalt] : teile) {
        zip_source_t* q = zip_source_buffer(z, inhalt.data(), inhalt.size(), 0);
        EXPECT_GE(zip_file_add(z, name.c_str(), q, ZIP_FL_OVERWRITE), 0);
    }
    EXPECT_EQ(zip_close(z), 0);
    const std::string bytes = DateiBytes(pfad);
    std::remove(pfad.c_str());
    return bytes;
}

struct TNetz {
    TModellBau Bau;
    TModellBau::TVerteilung V = Bau.Verteilung("Quelle", "M\xFChle", "S1", "S2");
    TNetz() {
        Menge(V.Q, 0, 1.0 / 3.0);
        Anteile(V.V, 0, 1, {60, 40});
        V.Ein.Kapazitaet = 1234;
    }
};

TEST(WerteXlsx, UnveraendertZurueckGelesenAendertNichts) {
    for (const bool stroeme : {false, true}) {
        TNetz n;
        const std::string vorher = Text(n.Bau.M());
        const TGeleseneTabelle t = XlsxTabelleLesen(WerteAlsXlsx(n.Bau.M(), stroeme));
        EXPECT_TRUE(t.Tabellenkalkulation);
        ASSERT_EQ(t.Anzahl(), WerteZeilen(n.Bau.M()).size());
        EXPECT_EQ(t.Feld(0, 1), n.V.Aus2.Name); // Wege zuerst, Namen als Text
        EXPECT_EQ(t.Dateizeilen.front(), 2U);
        const TWertePruefung p = WertePruefen(n.Bau.M(), t);
        EXPECT_TRUE(p.Probleme.empty()) << PruefungsZeilen(p).front();
        EXPECT_TRUE(p.Aenderungen.empty());
        WerteSetzen(n.Bau.M(), p.Aenderungen, true);
        EXPECT_EQ(Text(n.Bau.M()), vorher);
    }
}

// Jedes Beispiel und jede ladbare Datei des Fuzz-Korpus: in allen drei Formen
// geschrieben und zurückgelesen, ändert sich kein Byte des Modells.
TEST(WerteXlsx, RundreiseAufBeispielenUndKorpusInAllenFormen) {
    std::vector<std::filesystem::path> dateien;
    for (const char* ordner : {TESSOMIR_BEISPIELE, TESSOMIR_FUZZKORPUS})
        for (const auto& e : std::filesystem::directory_iterator(ordner)) dateien.push_back(e.path());
    int geprueft = 0;
    for (const auto& pfad : dateien) {
        TModell m;
        try {
            if (!DateiLaden(m, pfad.string())) continue;
        } catch (const EFehler&) {
            continue; // nicht ladbar: kein Fall für die Rundreise
        }
        const std::string vorher = Text(m);
        for (const char* form : {"csv", "csv deutsch", "xlsx"}) {
            const std::string f = form;
            const TGeleseneTabelle tabelle =
                f == "xlsx" ? XlsxTabelleLesen(WerteAlsXlsx(m, true))
                            : CsvTabelleLesen(WerteAlsCsv(m, f == "csv" ? TTabellenform::Standard : TTabellenform::Deutsch));
            const TWertePruefung p = WertePruefen(m, tabelle);
            EXPECT_TRUE(p.Probleme.empty()) << pfad << " " << form << ": " << PruefungsZeilen(p).front();
            EXPECT_TRUE(p.Aenderungen.empty()) << pfad << " " << form;
            WerteSetzen(m, p.Aenderungen, true);
            EXPECT_EQ(Text(m), vorher) << pfad << " " << form;
        }
        ++geprueft;
    }
    EXPECT_GE(geprueft, 6);
}

TEST(WerteXlsx, MappeEinerTabellenkalkulation) {
    TNetz n;
    const std::string q = std::to_string(n.V.Q.FONr);
    const std::string ein = std::to_string(n.V.Ein.FONr);
    const std::string v = std::to_string(n.V.V.FONr);
    const std::string von = n.V.Ein.Name + " #" + ein;
    const std::string nach1 = WegBezeichnung(n.V.Aus1), nach2 = WegBezeichnung(n.V.Aus2);
    const auto is = [](const char* ref, const std::string& t) {
        return std::string("<c r=\"") + ref + "\" t=\"inlineStr\"><is><t>" + t + "</t></is></c>";
    };
    const auto sst = [](const char* ref, int i) {
        return std::string("<c r=\"") + ref + "\" t=\"s\"><v>" + std::to_string(i) + "</v></c>";
    };
    const auto num = [](const char* ref, const std::string& wert) {
        return std::string("<c r=\"") + ref + "\"><v>" + wert + "</v></c>";
    };
    // Gemeinsame Texte: 0 Quelle (in zwei Läufen, mit Lautschrift), 1 Liefermenge, 2 Artikel1, 3 "1,5" als Text.
    const std::string texte =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><r><t>Quel</t></r><r><rPr><b/></rPr><t>le</t></r><rPh><t>X</t></rPh></si><si><t>Liefermenge</t></si>"
        "<si><t>Artikel1</t></si><si><t>1,5</t></si></sst>";
    const std::string zeilen =
        "<row r=\"1\">" + is("A1", "FONr") + is("B1", "Objekt") + is("C1", "Art") + is("D1", "Groesse") +
        is("E1", "Artikel") + is("F1", "Von") + is("G1", "Nach") + is("H1", "Wert") + "</row>" +
        // Liefermenge als Formel mit gespeichertem Wert; die Formel zählt nicht.
        "<row r=\"3\">" + num("A3", q) + sst("B3", 0) + sst("C3", 0) +
        "<c r=\"D3\" t=\"str\"><f>\"Liefer\"&amp;\"menge\"</f><v>Liefermenge</v></c>" + sst("E3", 2) +
        "<c r=\"H3\"><f>10+2.5</f><v>12.5</v></c></row>" +
        // Kapazität als Text mit Dezimalkomma.
        "<row r=\"4\">" + num("A4", ein) + is("B4", n.V.Ein.Name) + is("C4", "Weg") + is("D4", "Kapazitaet") +
        sst("H4", 3) + "</row>" +
        // Anteile: eine Zahlenzelle "70" und eine "1.234"-artige Zahl, die als Zahl eindeutig ist.
        "<row r=\"5\">" + num("A5", v) + is("B5", "M\xC3\xBChle") + is("C5", "Verzweigung") + is("D5", "Anteil") +
        sst("E5", 2) + is("F5", von) + is("G5", nach1) + num("H5", "70") + "</row>" +
        "<row r=\"6\">" + num("A6", v) + is("B6", "M\xC3\xBChle") + is("C6", "Verzweigung") + is("D6", "Anteil") +
        sst("E6", 2) + is("F6", von) + is("G6", nach2) + num("H6", "30.000") + "</row>";
    const std::string blatt = "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/"
                              "spreadsheetml/2006/main\"><sheetData>" + zeilen + "</sheetData></worksheet>";
    const std::string mappe =
        "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"Notizen\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Werte\" sheetId=\"2\" r:id=\"rId2\"/>"
        "</sheets></workbook>";
    const std::string bezuege =
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Target=\"/xl/worksheets/werte.xml\"/></Relationships>";
    const std::string notizen = "<?xml version=\"1.0\"?><worksheet><sheetData><row r=\"1\">" + is("A1", "x") +
                                "</row></sheetData></worksheet>";
    const std::string bytes = Zip({{"xl/workbook.xml", mappe},
                                   {"xl/_rels/workbook.xml.rels", bezuege},
                                   {"xl/sharedStrings.xml", texte},
                                   {"xl/worksheets/sheet1.xml", notizen},
                                   {"xl/worksheets/werte.xml", blatt}});
    const TGeleseneTabelle t = XlsxTabelleLesen(bytes);
    ASSERT_EQ(t.Anzahl(), 4U);
    EXPECT_EQ(t.Feld(0, 1), "Quelle");
    EXPECT_EQ(t.Dateizeilen, (std::vector<size_t>{3, 4, 5, 6}));
    n.Bau.M().FOListe.NrSuchen(n.V.Q.FONr)->Name = "Quelle";
    const TWertePruefung p = WertePruefen(n.Bau.M(), t);
    ASSERT_TRUE(p.Probleme.empty()) << PruefungsZeilen(p).front();
    EXPECT_EQ(p.Aenderungen.size(), 4U);
    WerteSetzen(n.Bau.M(), p.Aenderungen, true);
    EXPECT_EQ(n.V.Q.Matrix().W(0, 0, 1), 12.5);
    EXPECT_EQ(n.V.Ein.Kapazitaet, 1.5);
    EXPECT_EQ(n.V.V.Matrix().W(0, 1, 1), 70);
    EXPECT_EQ(n.V.V.Matrix().W(0, 1, 2), 30);

    // Als Text ist "1.234" mehrdeutig, als Zahlenzelle nicht.
    std::string mehrdeutig = blatt;
    mehrdeutig.replace(mehrdeutig.find("<c r=\"H4\" t=\"s\"><v>3</v></c>"), 27,
                       "<c r=\"H4\" t=\"inlineStr\"><is><t>1.234</t></is></c>");
    const TWertePruefung m = WertePruefen(
        n.Bau.M(), XlsxTabelleLesen(Zip({{"xl/workbook.xml", mappe},
                                         {"xl/_rels/workbook.xml.rels", bezuege},
                                         {"xl/sharedStrings.xml", texte},
                                         {"xl/worksheets/werte.xml", mehrdeutig}})));
    ASSERT_EQ(m.Probleme.size(), 1U);
    EXPECT_EQ(m.Probleme[0].Zeile, 4U);
    EXPECT_EQ(m.Probleme[0].Grund, "mehrdeutig: 1.234 (Tausender oder Dezimalpunkt?)");
}

TEST(WerteXlsx, KaputteDateienWerdenAbgelehnt) {
    EXPECT_THROW(XlsxTabelleLesen("kein zip"), EModellErzeugen);
    EXPECT_THROW(XlsxTabelleLesen(Zip({{"a.txt", "x"}})), EModellErzeugen);
    EXPECT_THROW(XlsxTabelleLesen(Zip({{"xl/workbook.xml", "<workbook><sheets>"}})), EModellErzeugen);
    const std::string mappe = "<workbook><sheets><sheet name=\"Werte\" r:id=\"rId1\" xmlns:r=\"x\"/></sheets></workbook>";
    const std::string bezuege = "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/s.xml\"/></Relationships>";
    // Ein Verweis auf einen gemeinsamen Text, den es nicht gibt.
    EXPECT_THROW(XlsxTabelleLesen(Zip({{"xl/workbook.xml", mappe},
                                       {"xl/_rels/workbook.xml.rels", bezuege},
                                       {"xl/worksheets/s.xml", "<worksheet><sheetData><row><c t=\"s\"><v>7</v></c>"
                                                               "</row></sheetData></worksheet>"}})),
                 EModellErzeugen);
    // Eine Zelle jenseits der letzten Spalte einer Tabellenkalkulation.
    EXPECT_THROW(XlsxTabelleLesen(Zip({{"xl/workbook.xml", mappe},
                                       {"xl/_rels/workbook.xml.rels", bezuege},
                                       {"xl/worksheets/s.xml", "<worksheet><sheetData><row><c r=\"ZZZZZZZ1\"><v>1</v></c>"
                                                               "</row></sheetData></worksheet>"}})),
                 EModellErzeugen);
    // Das Blatt fehlt.
    EXPECT_THROW(XlsxTabelleLesen(Zip({{"xl/workbook.xml", mappe}, {"xl/_rels/workbook.xml.rels", bezuege}})),
                 EModellErzeugen);
    EXPECT_TRUE(IstXlsx("a.XLSX"));
    EXPECT_FALSE(IstXlsx("a.xls"));
}

} // namespace
} // namespace tessomir
