// Das Hauptfenster, Teil Werte-Tabelle: "Werte schreiben..." und "Werte
// einlesen..." mit Probelauf, Rückfrage und einem Schritt "Werte einlesen".
#include <QFile>
#include <QFileInfo>

#include "app/FHaupt.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "editing/USchritte.h"
#include "persistence/UDatei.h"
#include "persistence/UModellDatei.h"
#include "persistence/UWerteTabelle.h"
#include "persistence/UWerteXlsx.h"
#include "qt/UQtText.h"
#include "qt/UQtText.h"

namespace tessomir {
namespace {

// So viele Problemzeilen zeigt das Meldungsfenster, der Rest wird gezählt.
constexpr size_t ZeilenHoechstens = 25;


} // namespace

void TFMHaupt::ACDateiWerteSchreibenExecute() {
    if (Modell() == nullptr) return;
    const QFileInfo modell(QFile::decodeName(QByteArray::fromStdString(Modell()->DateiName)));
    const std::optional<TExportziel> ziel =
        Dateiwahl->TabelleSpeichern(this, modell.completeBaseName() + QStringLiteral("_werte.csv"));
    if (!ziel) return;
    const std::string pfad = Pfad(ziel->Pfad);
    // Das Blatt "Stroeme" nur mit Strömen, die zu den Werten passen.
    const std::string inhalt =
        IstXlsx(pfad) ? WerteAlsXlsx(*Modell(), Dokument.StroemeAktuell())
                      : WerteAlsCsv(*Modell(), ziel->CsvDeutsch ? TTabellenform::Deutsch : TTabellenform::Standard);
    const TSpeichernErgebnis gesichert = DateiSichern(pfad, inhalt);
    if (!gesichert.Ok) {
        Plattform().Meldungen->Fehler(MeldungMitGrund(gesichert.Meldung, gesichert.Grund));
        return;
    }
    // Wer nach einer Änderung schreibt, soll wissen, warum die Ströme fehlen.
    const bool ohneStroeme = IstXlsx(pfad) && Dokument.Berechnet() && !Dokument.StroemeAktuell();
    StatusMelden(QStringLiteral("Werte geschrieben: ") + QtAusAnsi(DateinameFuerAnzeige(pfad)) +
                 (ohneStroeme ? QStringLiteral(" (ohne Ströme: das Modell wurde seit der Berechnung geändert)")
                              : QString()));
}

void TFMHaupt::ACDateiWerteEinlesenExecute() {
    if (Modell() == nullptr) return;
    const std::optional<QString> quelle = Dateiwahl->TabelleOeffnen(this);
    if (!quelle) return;
    const std::string name = DateinameFuerAnzeige(Pfad(*quelle));
    TWertePruefung pruefung;
    try {
        pruefung = WerteDateiPruefen(*Modell(), Pfad(*quelle));
    } catch (const EFehler& e) {
        Plattform().Meldungen->Fehler(MeldungMitGrund("Die Tabelle " + name + " kann nicht gelesen werden.", e.what()));
        return;
    }
    const std::vector<std::string> zeilen = PruefungsZeilen(pruefung);
    std::string text = "Werte aus " + name + ":\n";
    for (size_t i = 0; i < zeilen.size(); ++i) {
        // Die letzte Zeile (die Zählung) immer; davor höchstens ZeilenHoechstens Probleme.
        if (i + 1 < zeilen.size() && i >= ZeilenHoechstens) {
            if (i == ZeilenHoechstens) text += "\x85 und " + std::to_string(zeilen.size() - 1 - i) + " weitere\n";
            continue;
        }
        text += zeilen[i] + "\n";
    }
    if (!pruefung.Probleme.empty()) {
        Plattform().Meldungen->Fehler(text + "\nEs wurde nichts \xFC" "bernommen.");
        return;
    }
    if (pruefung.Aenderungen.empty()) {
        Plattform().Meldungen->Info(text);
        return;
    }
    if (!Plattform().Meldungen->WarnFrage(text + "\nWerte \xFC" "bernehmen?")) return;
    Ausfuehren(*Modell(), &Dokument.Verlauf(), WerteEinlesenSchritt(pruefung.Aenderungen));
    ModifiziertAnzeigen();
    Neuzeichnen();
    const size_t n = pruefung.Aenderungen.size();
    StatusMelden(QString::number(n) + (n == 1 ? QStringLiteral(" Wert") : QStringLiteral(" Werte")) +
                 QStringLiteral(" übernommen aus ") + QtAusAnsi(name));
}

} // namespace tessomir
