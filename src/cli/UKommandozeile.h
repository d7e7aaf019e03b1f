#pragma once
// tessomir-cli: Prüfen, Berechnen und Exportieren ohne Fenster.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tessomir {

// Ein Befehl, den eine höhere Schicht beisteuert: "exportieren" kommt aus
// der Qt-Schicht und gibt es nur, wo das Programm sie bindet.
struct TZusatzbefehl {
    std::string Name;
    std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)> Ausfuehren;
};

// Rückgabe: 0 in Ordnung, 1 Prüfung oder Berechnung fehlerhaft, 2 Datei- oder Aufruffehler.
int KommandozeileAusfuehren(const std::vector<std::string>& argumente, std::ostream& aus, std::ostream& fehler,
                            const std::vector<TZusatzbefehl>& zusatz = {});

// Die Zusatzbefehle dieses Programms (ohne Qt gebaut: keine).
std::vector<TZusatzbefehl> Zusatzbefehle();

} // namespace tessomir
