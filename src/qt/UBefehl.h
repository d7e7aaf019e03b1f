#pragma once
// Der eine Schutz um jeden Ereignisbehandler von Fenster und Dialogen: keine
// Ausnahme verlässt ihn, jede wird deutsch gemeldet ('meldung' und darunter
// der Grund), das Modell bleibt, wie der Befehl es ließ.
// Dazu, was die Behandler sonst melden: die Fehlertexte, die der Kern
// zurückgibt, erscheinen hier im Meldungsfenster der Plattform.
#include <functional>
#include <string>
#include <string_view>

namespace tessomir {

// 'meldung' in Windows-1252, etwa "Der Befehl konnte nicht ausgeführt werden.".
void SicherAusfuehren(const std::string& meldung, const std::function<void()>& befehl) noexcept;

// Prüft eine eingegebene Zahl gegen [min, max] (EingabeFehler) und zeigt,
// was falsch ist, als Information; true, wenn sie passt.
bool PruefeEingabe(std::string_view text, std::string_view bezeichnung, double min, double max, char trenner);
// Zeigt 'fehler' als Fehlermeldung, wenn er nicht leer ist; true, wenn er leer ist.
bool FehlerMelden(const std::string& fehler);

} // namespace tessomir
