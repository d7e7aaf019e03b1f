#include "editing/UDokument.h"

namespace tessomir {

TDokument::~TDokument() { VerlaufObjekt.Leeren(); }

void TDokument::Einsetzen(std::unique_ptr<TModell> modell) {
    VerlaufObjekt.Leeren();
    ModellObjekt = std::move(modell);
    BerechnetFlag = false;
    Dateistand = ModellObjekt != nullptr && !ModellObjekt->IstNeu() ? DateiStandLesen(ModellObjekt->DateiName)
                                                                     : TDateiStand{};
}

bool TDokument::FremdGeaendert(const std::string& pfad) const {
    const TDateiStand jetzt = DateiStandLesen(pfad);
    return jetzt.Vorhanden && jetzt != Dateistand;
}

TSpeichernErgebnis TDokument::Speichern(const std::string& pfad) {
    if (ModellObjekt == nullptr) return {};
    TSpeichernErgebnis ergebnis = ModellSichern(*ModellObjekt, pfad);
    if (ergebnis.Ok) {
        VerlaufObjekt.GesichertMarkieren();
        Dateistand = DateiStandLesen(pfad);
        ModellObjekt->Modifiziert = false;
    }
    return ergebnis;
}

TBerechnungsErgebnis TDokument::Neuberechnen(const std::function<void()>& maxStromAnzeigen) {
    if (ModellObjekt == nullptr) return TBerechnungsErgebnis::PruefungFehlerhaft;
    const TBerechnungsErgebnis ergebnis = ModellNeuberechnen(*ModellObjekt, maxStromAnzeigen);
    BerechnetFlag = ergebnis != TBerechnungsErgebnis::PruefungFehlerhaft;
    BerechneterStand = VerlaufObjekt.Aenderungen();
    return ergebnis;
}

void TDokument::Rueckgaengig() {
    if (ModellObjekt != nullptr) VerlaufObjekt.Rueckgaengig(*ModellObjekt);
}

void TDokument::Wiederholen() {
    if (ModellObjekt != nullptr) VerlaufObjekt.Wiederholen(*ModellObjekt);
}

} // namespace tessomir
