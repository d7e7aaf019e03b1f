#include "help/UHilfe.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "base/UPlattform.h"

namespace tessomir {
namespace {

IHilfeBetrachter* EingesetzterBetrachter = nullptr;

std::string Bereinigt(const std::string& roh) {
    // Zeichenweise statt replace(): GCC 12 warnt dort fälschlich (-Wrestrict).
    std::string text;
    text.reserve(roh.size());
    for (size_t i = 0; i < roh.size(); ++i) {
        if (roh.compare(i, 3, "%20") == 0) {
            text += ' ';
            i += 2;
        } else {
            text += roh[i];
        }
    }
    const size_t anfang = text.find_first_not_of(' ');
    if (anfang == std::string::npos) return {};
    const size_t ende = text.find_last_not_of(' ');
    return text.substr(anfang, ende - anfang + 1);
}

} // namespace

IHilfeBetrachter* HilfeBetrachter() { return EingesetzterBetrachter; }
void HilfeBetrachterSetzen(IHilfeBetrachter* betrachter) { EingesetzterBetrachter = betrachter; }

std::string ProgrammVerzeichnis() {
    std::error_code fehler;
    const std::filesystem::path programm = std::filesystem::read_symlink("/proc/self/exe", fehler);
    if (fehler || programm.empty()) return {};
    std::string ordner = programm.parent_path().native();
    if (ordner.empty() || ordner.back() != '/') ordner += '/';
    return ordner;
}

std::string HilfeAdresse(const std::string& datei, const std::string& thema, const std::string& fenster) {
    std::string adresse = Bereinigt(datei);
    std::string t = Bereinigt(thema);
    if (!t.empty()) {
        for (char& z : t)
            if (z == '\\') z = '/';
        if (t.front() != '/') t.insert(t.begin(), '/');
        adresse += "::" + t;
    }
    const std::string f = Bereinigt(fenster);
    if (!f.empty()) adresse += ">" + f;
    return adresse;
}

THilfeZiel HilfeAdresseZerlegen(const std::string& adresse) {
    THilfeZiel ziel;
    // Die Datei endet beim letzten "::"; Themen enthalten keines.
    const size_t trenner = adresse.rfind("::");
    const size_t fenster = adresse.find('>', trenner == std::string::npos ? 0 : trenner);
    const size_t dateiEnde = trenner != std::string::npos ? trenner : fenster;
    ziel.Datei = adresse.substr(0, dateiEnde);
    if (trenner != std::string::npos)
        ziel.Thema = adresse.substr(trenner + 2, fenster == std::string::npos ? std::string::npos : fenster - trenner - 2);
    if (fenster != std::string::npos) ziel.Fenster = adresse.substr(fenster + 1);
    return ziel;
}

bool IstHilfeSchalter(const std::string& parameter) {
    if (parameter.size() != 6 || (parameter[0] != '/' && parameter[0] != '-')) return false;
    std::string rest = parameter.substr(1);
    for (char& z : rest) z = static_cast<char>(std::tolower(static_cast<unsigned char>(z)));
    return rest == "debug";
}

void HilfeZeigen(const std::string& thema) {
    const std::string datei = ProgrammVerzeichnis() + HilfeDateiname;
    const std::string adresse = HilfeAdresse(datei, thema.empty() ? std::string(HilfeVorgabethema) : thema);
    IHilfeBetrachter* betrachter = HilfeBetrachter();
    if (betrachter == nullptr || !betrachter->AdresseZeigen(adresse)) Plattform().Signalton->Piep();
}

} // namespace tessomir
