// Ohne Qt gebaut: keine Zusatzbefehle; "exportieren" meldet, dass es fehlt.
#include "cli/UKommandozeile.h"

namespace tessomir {

std::vector<TZusatzbefehl> Zusatzbefehle() { return {}; }

} // namespace tessomir
