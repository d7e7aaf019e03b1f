#include "persistence/UWiederherstellung.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <signal.h>
#include <unistd.h>

#include "base/UFehler.h"
#include "persistence/UModellDatei.h"

namespace tessomir {
namespace {

namespace fs = std::filesystem;

constexpr const char* Kennung = "Tessomir Wiederherstellung";

bool ProzessLaeuft(long nummer) {
    if (nummer <= 0) return false;
    // EPERM: es gibt ihn, er gehört nur einem anderen.
    return ::kill(static_cast<pid_t>(nummer), 0) == 0 || errno == EPERM;
}

// Kennung, Prozessnummer und ursprünglicher Pfad, je eine Zeile.
bool OrtLesen(const std::string& datei, long& nummer, std::string& original) {
    std::string text;
    try {
        text = DateiInhalt(datei);
    } catch (const EFehler&) {
        return false;
    }
    const size_t z1 = text.find('\n');
    const size_t z2 = z1 == std::string::npos ? std::string::npos : text.find('\n', z1 + 1);
    if (z2 == std::string::npos || text.compare(0, z1, Kennung) != 0) return false;
    char* ende = nullptr;
    const std::string zahl = text.substr(z1 + 1, z2 - z1 - 1);
    nummer = std::strtol(zahl.c_str(), &ende, 10);
    if (zahl.empty() || ende == nullptr || *ende != '\0') return false;
    original = text.substr(z2 + 1);
    if (!original.empty() && original.back() == '\n') original.pop_back();
    return !original.empty();
}

} // namespace

std::string WiederherstellungsOrdner() {
    std::string basis;
    if (const char* daten = std::getenv("XDG_DATA_HOME"); daten != nullptr && daten[0] == '/') {
        basis = daten;
    } else if (const char* heim = std::getenv("HOME"); heim != nullptr && heim[0] != '\0') {
        basis = std::string(heim) + "/.local/share";
    } else {
        basis = "/tmp";
    }
    return basis + "/Belcorra/Tessomir/Wiederherstellung";
}

TWiederherstellung::TWiederherstellung(std::string ordner)
    : OrdnerPfad(ordner.empty() ? WiederherstellungsOrdner() : std::move(ordner)) {
    // Mehrere Fenster eines Prozesses (etwa in Tests) kommen sich nicht in die Quere.
    static std::atomic<unsigned> zaehler{0};
    Stamm = std::to_string(::getpid()) + "-" + std::to_string(zaehler++);
}

TWiederherstellung::~TWiederherstellung() = default;

std::string TWiederherstellung::Kopie() const { return OrdnerPfad + "/" + Stamm + ".TSR"; }

bool TWiederherstellung::Sichern(const TModell& modell) {
    std::error_code fehler;
    fs::create_directories(OrdnerPfad, fehler);
    fs::permissions(OrdnerPfad, fs::perms::owner_all, fs::perm_options::replace, fehler);
    try {
        // Stückweise wie beim Speichern: kein Puffer von der Größe der Datei.
        TDateiErsetzer datei(Kopie());
        TZeilenSchreiber aus([&datei](std::string_view teil) { datei.Schreiben(teil); }, 256 * 1024);
        SchreibenLesegleich(modell, aus);
        aus.Abschliessen();
        datei.Abschliessen();
        DateiErsetzen(OrdnerPfad + "/" + Stamm + ".ort",
                      std::string(Kennung) + "\n" + std::to_string(::getpid()) + "\n" + modell.DateiName + "\n");
    } catch (const std::exception&) {
        return false;
    }
    Geschrieben = true;
    return true;
}

void TWiederherstellung::Verwerfen() {
    if (!Geschrieben) return;
    ::unlink((OrdnerPfad + "/" + Stamm + ".ort").c_str());
    ::unlink(Kopie().c_str());
    Geschrieben = false;
}

std::vector<TWiederherstellungsFund> TWiederherstellung::Finden() const {
    std::vector<std::pair<fs::file_time_type, TWiederherstellungsFund>> funde;
    std::error_code fehler;
    for (fs::directory_iterator it(OrdnerPfad, fehler), ende; !fehler && it != ende; it.increment(fehler)) {
        const fs::path& p = it->path();
        // Eigene Kopien fallen weg, weil dieser Prozess läuft.
        if (p.extension() != ".ort") continue;
        long nummer = 0;
        TWiederherstellungsFund fund;
        fund.Ort = p.string();
        fund.Kopie = (p.parent_path() / (p.stem().string() + ".TSR")).string();
        std::error_code egal;
        if (!OrtLesen(fund.Ort, nummer, fund.Original) || ProzessLaeuft(nummer) || !fs::is_regular_file(fund.Kopie, egal))
            continue;
        funde.push_back({fs::last_write_time(fund.Kopie, egal), std::move(fund)});
    }
    std::stable_sort(funde.begin(), funde.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TWiederherstellungsFund> ergebnis;
    for (auto& f : funde) ergebnis.push_back(std::move(f.second));
    return ergebnis;
}

std::unique_ptr<TModell> TWiederherstellung::Oeffnen(const TWiederherstellungsFund& fund, std::string& grund) {
    TOeffnenErgebnis geoeffnet = ModellOeffnen(fund.Kopie);
    if (!geoeffnet.Modell) {
        grund = geoeffnet.Grund;
        return nullptr;
    }
    geoeffnet.Modell->DateiName = fund.Original;
    geoeffnet.Modell->Modifiziert = true;
    return std::move(geoeffnet.Modell);
}

void TWiederherstellung::Entfernen(const TWiederherstellungsFund& fund) {
    ::unlink(fund.Ort.c_str());
    ::unlink(fund.Kopie.c_str());
}

} // namespace tessomir
