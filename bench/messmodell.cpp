// Schreibt das Messmodell der Benchmarks als Datei, etwa für den Spitzenbedarf
// an Speicher von tessomir-cli: messmodell KNOTEN DATEI
#include <cstdio>
#include <cstdlib>

#include "UModellGenerator.h"
#include "persistence/UModellDatei.h"

int main(int argc, char** argv) {
    using namespace tessomir;
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: messmodell KNOTEN DATEI\n");
        return 2;
    }
    bench::TStillePlattform still;
    auto modell = bench::ModellErzeugen(std::strtoul(argv[1], nullptr, 10), 10);
    bench::Durchrechnen(*modell);
    const TSpeichernErgebnis e = ModellSichern(*modell, argv[2]);
    if (!e.Ok) {
        std::fprintf(stderr, "%s %s\n", e.Meldung.c_str(), e.Grund.c_str());
        return 2;
    }
    return 0;
}
