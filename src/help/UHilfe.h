#pragma once
// Zugang zur Hilfe: bildet die Adresse eines Themas der Hilfedatei
// Tessomir.chm neben dem Programm und übergibt sie dem eingesetzten
// Hilfebetrachter. Ohne Qt. Pfade bleiben in der Kodierung des Dateisystems,
// Themennamen sind ASCII.
#include <string>

namespace tessomir {

inline constexpr const char* HilfeDateiname = "Tessomir.chm";
inline constexpr const char* HilfeVorgabethema = "Allgemeines\\Anfang.htm";

// Zeigt eine Adresse Datei + "::" + "/" + Thema. Falsch, wenn die Datei nicht
// lesbar ist oder das Thema nicht enthält; dann piept HilfeZeigen.
class IHilfeBetrachter {
public:
    virtual ~IHilfeBetrachter() = default;
    virtual bool AdresseZeigen(const std::string& adresse) = 0;
};

// Der eingesetzte Betrachter oder nullptr; der Aufrufer behält das Eigentum.
IHilfeBetrachter* HilfeBetrachter();
void HilfeBetrachterSetzen(IHilfeBetrachter* betrachter);

// Ordner des laufenden Programms mit "/" am Ende; leer, wenn er nicht zu
// ermitteln ist.
std::string ProgrammVerzeichnis();

// "%20" wird zum Leerzeichen, Leerzeichen vorn und hinten fallen weg; im
// Thema werden "\" zu "/", vorn steht genau ein "/". Leeres Thema: nur die
// Datei. Ein Fenstername folgt mit ">".
std::string HilfeAdresse(const std::string& datei, const std::string& thema, const std::string& fenster = {});

// Die Umkehrung für den Betrachter: Datei und Thema ("/..." oder leer).
struct THilfeZiel {
    std::string Datei;
    std::string Thema;
    std::string Fenster;
};
THilfeZiel HilfeAdresseZerlegen(const std::string& adresse);

// "/debug" oder "-debug" in beliebiger Schreibung: ein Schalter für eine
// Hilfediagnose, die das Programm nicht hat; niemals eine Modelldatei.
bool IstHilfeSchalter(const std::string& parameter);

// Zeigt das Thema (leer: das Vorgabethema) oder gibt den Warnton, wenn kein
// Betrachter da ist oder er es nicht zeigen kann. Es gibt keine Meldung.
void HilfeZeigen(const std::string& thema);

} // namespace tessomir
