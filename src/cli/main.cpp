#include <iostream>
#include <string>
#include <vector>

#include "cli/UKommandozeile.h"

int main(int argc, char** argv) {
    std::vector<std::string> argumente(argv + 1, argv + argc);
    return tessomir::KommandozeileAusfuehren(argumente, std::cout, std::cerr, tessomir::Zusatzbefehle());
}
