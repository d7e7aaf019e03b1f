#include "cli/UExport.h"

#include <QGuiApplication>
#include <charconv>
#include <memory>
#include <ostream>

#include "analysis/UBerechnung.h"
#include "cli/UBefehlshilfe.h"
#include "cli/UKonsolenPlattform.h"
#include "base/UFehler.h"
#include "base/UPlattform.h"
#include "base/UText.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

// Ohne Bildschirm zeichnet Qt auf der Plattform "offscreen".
std::unique_ptr<QGuiApplication> AnwendungSicherstellen() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt verlangt, dass argc und argv die Anwendung überleben.
    static int argc = 1;
    static char name[] = "tessomir-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

std::vector<TZusatzbefehl> Zusatzbefehle() { return {{"exportieren", &Exportieren}}; }

int Exportieren(const std::vector<std::string>& arg, std::ostream& aus, std::ostream& fehler) {
    std::vector<std::string> dateien;
    bool berechnen = false, summe = false;
    std::optional<int> artikel;
    double massstab = 1.0;
    std::optional<TSankey> sankey;
    std::optional<double> sankeyMassstab, sankeyBreite;
    for (size_t i = 1; i < arg.size(); ++i) {
        const std::string& a = arg[i];
        if (a == "--berechnen") {
            berechnen = true;
        } else if (a == "--sankey") {
            sankey = TSankey{};
        } else if (a == "--massstab" || a == "--breite") {
            if (i + 1 >= arg.size()) return Aufruffehler(a + " erwartet einen Wert.", fehler);
            const std::string& w = arg[++i];
            const std::optional<double> z = ZahlAusText(w);
            if (!z || !std::isfinite(*z) || *z <= 0)
                return Aufruffehler(a + " erwartet eine positive Zahl, nicht " + w + ".", fehler);
            (a == "--massstab" ? sankeyMassstab : sankeyBreite) = *z;
        } else if (a == "--summe") {
            summe = true;
        } else if (a == "--artikel" || a == "--zoom") {
            if (i + 1 >= arg.size()) return Aufruffehler(a + " erwartet einen Wert.", fehler);
            const std::string& w = arg[++i];
            if (a == "--artikel") {
                artikel = GanzzahlAusText(w);
                if (!artikel) return Aufruffehler("--artikel erwartet eine ganze Zahl, nicht " + w + ".", fehler);
            } else {
                const std::optional<double> z = ZahlAusText(w);
                if (!z || !std::isfinite(*z) || *z <= 0) {
                    return Aufruffehler("--zoom erwartet eine positive Zahl, nicht " + w + ".", fehler);
                }
                massstab = *z;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return Aufruffehler("unbekannte Option " + a + ".", fehler);
        } else {
            dateien.push_back(a);
        }
    }
    if (dateien.size() != 2) return Aufruffehler("exportieren erwartet eine Modelldatei und eine Bilddatei.", fehler);
    if ((sankeyMassstab || sankeyBreite) && !sankey)
        return Aufruffehler("--massstab und --breite gelten nur mit --sankey.", fehler);
    if (sankey) {
        if (sankeyMassstab) sankey->MengeJePunkt = *sankeyMassstab;
        if (sankeyBreite) sankey->Breite = *sankeyBreite;
    }
    const std::optional<TBildformat> format = BildformatAusName(dateien[1]);
    if (!format) {
        return Aufruffehler("unbekanntes Bildformat f\xC3\xBCr " + dateien[1] + " (m\xC3\xB6glich sind .png, .svg und .pdf).",
                            fehler);
    }

    const std::unique_ptr<QGuiApplication> anwendung = AnwendungSicherstellen();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        fehler << "tessomir-cli: Zum Zeichnen fehlt die grafische Qt-Anwendung.\n";
        return 2;
    }

    TKonsolenPlattform plattform(aus, fehler);
    TOeffnenErgebnis geoeffnet = ModellOeffnen(dateien[0]);
    if (!geoeffnet.Modell) {
        fehler << Utf8AusAnsi(geoeffnet.Meldung) << '\n' << Utf8AusAnsi(geoeffnet.Grund) << '\n';
        return 2;
    }
    TModell& modell = *geoeffnet.Modell;
    if (artikel && (*artikel < 0 || *artikel >= modell.AnzahlArtikel())) {
        fehler << "tessomir-cli: Artikel " << *artikel << " gibt es nicht; das Modell hat " << modell.AnzahlArtikel()
               << " Artikel (0 bis " << modell.AnzahlArtikel() - 1 << ").\n";
        return 2;
    }
    modell.SummeAllerArtikel = summe;
    if (artikel) modell.ArtikelSetzen(*artikel);

    bool rechnungOk = true;
    if (berechnen) {
        const TBerechnungsErgebnis ergebnis = ModellNeuberechnen(modell);
        rechnungOk = ergebnis == TBerechnungsErgebnis::BerechnungOK;
        if (!rechnungOk) Plattform().Meldungen->Fehler(ErgebnisMeldung(ergebnis));
        aus << "Max. Strom berechnet : " << Utf8AusAnsi(modell.WertText(modell.MaxStromBerechnet)) << '\n';
    }

    std::string bild;
    try {
        bild = ModellAlsBild(modell, massstab, *format, sankey);
    } catch (const std::exception& e) {
        fehler << Utf8AusAnsi(GrundVon(e)) << '\n';
        return 2;
    }
    const TSpeichernErgebnis gesichert = DateiSichern(dateien[1], bild);
    if (!gesichert.Ok) {
        fehler << Utf8AusAnsi(gesichert.Meldung) << '\n' << Utf8AusAnsi(gesichert.Grund) << '\n';
        return 2;
    }
    return rechnungOk ? 0 : 1;
}

} // namespace tessomir
