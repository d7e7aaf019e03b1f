#include "app/UQtDrucker.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "base/UFehler.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "persistence/UModellDatei.h"
#include "qt/UQtText.h"

namespace tessomir {

TQtDrucker::TQtDrucker(QPrinter& drucker) : Drucker(drucker) {}

TQtDrucker::~TQtDrucker() {
    if (!Maler.isActive()) return;
    if (!Beendet) Drucker.abort();
    Flaeche.reset();
    Maler.end();
}

void TQtDrucker::Beginnen() {
    if (Maler.isActive()) return;
    if (!Maler.begin(&Drucker)) throw EFCreateError("Der Drucker l\xE4sst sich nicht ansprechen.");
    Flaeche.emplace(Maler);
    Flaeche->SchriftskalaSetzen(static_cast<double>(Drucker.resolution()) / BildschirmPunkteJeZoll);
}

// Gemessen wird schon vor dem ersten Strich, auf der Fläche des Druckers.
IZeichenflaeche& TQtDrucker::Zeichenflaeche() {
    Beginnen();
    return *Flaeche;
}

int32_t TQtDrucker::Seitenbreite() const { return Drucker.pageLayout().paintRectPixels(Drucker.resolution()).width(); }

int32_t TQtDrucker::Seitenhoehe() const {
    return Drucker.pageLayout().paintRectPixels(Drucker.resolution()).height();
}

int32_t TQtDrucker::PunkteJeZoll() const { return BildschirmPunkteJeZoll; }

void TQtDrucker::AuftragsTitelSetzen(const std::string& titel) { Drucker.setDocName(QtAusAnsi(titel)); }

void TQtDrucker::DokumentBeginnen() { Beginnen(); }

void TQtDrucker::NeueSeite() {
    if (!Drucker.newPage()) throw EFCreateError("Der Drucker nimmt keine neue Seite an.");
    if (Flaeche) Flaeche->MalerGeaendert();
}

void TQtDrucker::DokumentBeenden() {
    Beendet = true;
    Flaeche.reset();
    Maler.end();
}

bool AufDruckerDrucken(QPrinter& drucker, const TModell* modell, TAnsicht& ansicht) {
    const bool alle = drucker.printRange() != QPrinter::PageRange;
    try {
        TQtDrucker auftrag(drucker);
        ModellDrucken(modell, ansicht, auftrag, alle, drucker.fromPage(), drucker.toPage());
        return true;
    } catch (const std::exception& e) {
        Plattform().Meldungen->Fehler(MeldungMitGrund("Der Druck wurde abgebrochen.", GrundVon(e)));
        return false;
    }
}

namespace {

void AuswahlLeeren(TModell* modell) {
    if (modell != nullptr) modell->FOListe.AuswahlLeeren();
}

} // namespace

void DruckMitDialog(QWidget* eltern, TModell* modell, TAnsicht& ansicht) {
    AuswahlLeeren(modell);
    QPrinter drucker(QPrinter::HighResolution);
    drucker.setFromTo(1, 100);
    QPrintDialog dialog(&drucker, eltern);
    dialog.setMinMax(1, 100);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) return;
    AufDruckerDrucken(drucker, modell, ansicht);
}

void DruckVorschau(QWidget* eltern, TModell* modell, TAnsicht& ansicht) {
    AuswahlLeeren(modell);
    QPrinter drucker(QPrinter::HighResolution);
    QPrintPreviewDialog vorschau(&drucker, eltern);
    vorschau.setWindowTitle("Druckvorschau");
    QObject::connect(&vorschau, &QPrintPreviewDialog::paintRequested, &vorschau,
                     [&](QPrinter* p) { AufDruckerDrucken(*p, modell, ansicht); });
    vorschau.exec();
}

} // namespace tessomir
