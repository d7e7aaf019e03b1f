#pragma once
// Der Drucker des Programms auf QPrinter: Druckdialog, Druckvorschau und
// die Druckerschnittstelle, über die der Kern die Seiten zeichnet.
#include <QPainter>
#include <optional>

#include "qt/UQtZeichenflaeche.h"
#include "view/UDruck.h"

class QPrinter;
class QWidget;

namespace tessomir {

class TQtDrucker final : public IDrucker {
public:
    // Schrifthöhen des Modells sind Bildschirmpunkte bei dieser Auflösung.
    static constexpr int BildschirmPunkteJeZoll = 96;

    // Der Drucker muss das Objekt überleben.
    explicit TQtDrucker(QPrinter& drucker);
    // Ein abgebrochener Auftrag wird verworfen, nicht halb ausgegeben.
    ~TQtDrucker() override;
    TQtDrucker(const TQtDrucker&) = delete;
    TQtDrucker& operator=(const TQtDrucker&) = delete;

    IZeichenflaeche& Zeichenflaeche() override;
    int32_t Seitenbreite() const override;
    int32_t Seitenhoehe() const override;
    int32_t PunkteJeZoll() const override;
    void AuftragsTitelSetzen(const std::string& titel) override;
    void DokumentBeginnen() override;
    void NeueSeite() override;
    void DokumentBeenden() override;

private:
    void Beginnen();

    QPrinter& Drucker;
    QPainter Maler;
    std::optional<TQtZeichenflaeche> Flaeche;
    bool Beendet = false;
};

// Leert die Auswahl, zeigt den Druckdialog (Seiten 1 bis 100) und druckt die
// gewählten Seiten. Ein Fehler bricht den Auftrag mit Meldung ab.
void DruckMitDialog(QWidget* eltern, TModell* modell, TAnsicht& ansicht);
// Dieselben Seiten in Qts Druckvorschau, aus der auch gedruckt werden kann.
void DruckVorschau(QWidget* eltern, TModell* modell, TAnsicht& ansicht);
// Druckt auf einen eingerichteten Drucker, im Seitenbereich des Druckers;
// false mit Meldung, wenn der Auftrag scheiterte.
bool AufDruckerDrucken(QPrinter& drucker, const TModell* modell, TAnsicht& ansicht);

} // namespace tessomir
