#pragma once
// Der eine Schutz um jeden Ereignisbehandler von Fenster und Dialogen: keine
// Ausnahme verlässt ihn, jede wird deutsch gemeldet ('meldung' und darunter
// der Grund), das Modell bleibt, wie der Befehl es ließ.
#include <functional>
#include <string>

namespace tessomir {

// 'meldung' in Windows-1252, etwa "Der Befehl konnte nicht ausgeführt werden.".
void SicherAusfuehren(const std::string& meldung, const std::function<void()>& befehl) noexcept;

} // namespace tessomir
