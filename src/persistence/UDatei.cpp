#include "persistence/UDatei.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/USpeicherblock.h"
#include "base/UText.h"

namespace tessomir {

// ---------------------------------------------------------------- Dateien

std::string DateinameOhneOrdner(const std::string& pfad) {
    return std::filesystem::path(pfad).filename().string();
}

std::string DateinameFuerAnzeige(const std::string& pfad) {
    return Gekuerzt(AnsiAusUtf8(DateinameOhneOrdner(pfad)));
}

std::string SystemGrund(int fehler) {
    switch (fehler) {
    case ENOENT: return "die Datei oder ein Ordner ihres Pfads existiert nicht";
    case EACCES:
    case EPERM: return "keine Berechtigung f\xFC" "r die Datei oder ihren Ordner";
    case EISDIR: return "der Pfad ist ein Ordner, keine Datei";
    case ENOTDIR: return "ein Teil des Pfads ist kein Ordner";
    case ENOSPC: return "der Datentr\xE4" "ger ist voll";
    case EDQUOT: return "das Speicherkontingent auf dem Datentr\xE4" "ger ist ersch\xF6" "pft";
    case EFBIG: return "die Datei w\xE4" "re gr\xF6\xDF" "er, als das System erlaubt";
    case EROFS: return "das Dateisystem ist schreibgesch\xFC" "tzt";
    case ELOOP: return "zu viele symbolische Verkn\xFC" "pfungen im Pfad";
    case ENAMETOOLONG: return "der Name ist zu lang";
    case EIO: return "Ein-/Ausgabefehler des Datentr\xE4" "gers";
    case EMFILE:
    case ENFILE: return "zu viele offene Dateien";
    case EBUSY:
    case ETXTBSY: return "die Datei ist belegt";
    case ENOMEM: return "zu wenig Arbeitsspeicher";
    default: return "Systemfehler " + std::to_string(fehler);
    }
}

namespace {

// Warum ein Pfad, der keine gewöhnliche Datei ist, kein Modell sein kann.
std::string ArtGrund(mode_t art) {
    if (S_ISDIR(art)) return "der Pfad ist ein Ordner, keine Datei";
    if (S_ISFIFO(art)) return "der Pfad ist eine benannte Pipe (FIFO), keine Datei";
    if (S_ISCHR(art) || S_ISBLK(art)) return "der Pfad ist ein Ger\xE4" "t, keine Datei";
    if (S_ISSOCK(art)) return "der Pfad ist ein Socket, keine Datei";
    return "der Pfad ist keine gew\xF6" "hnliche Datei";
}

[[noreturn]] void NichtZuOeffnen(const std::string& dateiName, const std::string& grund) {
    throw EFOpenError("Die Datei " + DateinameFuerAnzeige(dateiName) + " kann nicht ge\xF6" "ffnet werden: " + grund,
                      grund);
}

[[noreturn]] void NichtZuSchreiben(const std::string& dateiName, const std::string& grund) {
    throw EFCreateError("Die Datei " + DateinameFuerAnzeige(dateiName) + " kann nicht geschrieben werden: " + grund,
                        grund);
}

} // namespace

// Öffnet ohne zu blockieren (eine Pipe ohne Schreiber hielte sonst das
// Programm an) und nimmt nur gewöhnliche Dateien an.
TLeseDatei::TLeseDatei(const std::string& dateiName) : Name(dateiName) {
    Fd = ::open(dateiName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (Fd < 0) NichtZuOeffnen(dateiName, SystemGrund(errno));
    struct stat st {};
    if (::fstat(Fd, &st) != 0) {
        const int fehler = errno;
        ::close(Fd);
        NichtZuOeffnen(dateiName, SystemGrund(fehler));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(Fd);
        NichtZuOeffnen(dateiName, ArtGrund(st.st_mode));
    }
    DateiGroesse = static_cast<uint64_t>(st.st_size);
}

TLeseDatei::~TLeseDatei() { ::close(Fd); }

void TLeseDatei::Lesen(TTextPuffer& ziel, uint64_t hoechstens) {
    // Ein Nullbyte beendet den Text: was danach kommt, wird nie gelesen.
    constexpr size_t Stueck = size_t{8} << 20;
    // Platz für den Rest der Datei und das letzte read(), das ihr Ende meldet.
    const uint64_t restDatei = (Gelesen < DateiGroesse ? DateiGroesse - Gelesen : 0) + 4096;
    const uint64_t erwartet = std::min(hoechstens, restDatei);
    if (erwartet <= SIZE_MAX - ziel.Groesse()) ziel.Reservieren(ziel.Groesse() + static_cast<size_t>(erwartet));
    uint64_t rest = hoechstens;
    while (rest > 0 && !Ende) {
        const size_t alt = ziel.Groesse();
        // Nicht mehr Platz als die Datei braucht; hinter ihrer Größe nur kleine
        // Stücke, bis read() das Ende meldet.
        const uint64_t erwartet = Gelesen < DateiGroesse ? DateiGroesse - Gelesen : 4096;
        const size_t n = static_cast<size_t>(std::min({rest, uint64_t{Stueck}, erwartet}));
        if (n > SIZE_MAX - alt) throw std::bad_alloc();
        if (alt + n > ziel.Kapazitaet()) ziel.Reservieren(std::max(alt + n, alt + alt / 2));
        ssize_t gelesen = 0;
        do {
            gelesen = ::read(Fd, ziel.Daten() + alt, n);
        } while (gelesen < 0 && errno == EINTR);
        if (gelesen < 0) NichtZuOeffnen(Name, SystemGrund(errno));
        ziel.GroesseSetzen(alt + static_cast<size_t>(gelesen));
        if (gelesen == 0) Ende = true;
        if (std::memchr(ziel.Daten() + alt, '\0', static_cast<size_t>(gelesen)) != nullptr) Ende = Nul = true;
        rest -= static_cast<uint64_t>(gelesen);
        Gelesen += static_cast<uint64_t>(gelesen);
    }
}

// ---------------------------------------------------------------- Textpuffer

void TTextPuffer::Reservieren(size_t kapazitaet) {
    if (kapazitaet <= Platz) return;
    TSpeicherblock block;
    if (kapazitaet >= AbbildenAb) block = GrossSeitigAnfordern(kapazitaet);
    char* neu = block.Anfang;
    if (neu != nullptr) kapazitaet = block.Laenge;
    else neu = new char[kapazitaet];
    if (Belegt > 0) std::memcpy(neu, Anfang, Belegt);
    const size_t belegt = Belegt;
    Freigeben();
    Anfang = neu;
    Platz = kapazitaet;
    Belegt = belegt;
    Abbildung = block.Anfang != nullptr;
}

void TTextPuffer::Freigeben() {
    if (Abbildung) GrossSeitigFreigeben({Anfang, Platz});
    else delete[] Anfang;
    Anfang = nullptr;
    Platz = 0;
    Belegt = 0;
    Abbildung = false;
}

std::string DateiInhalt(const std::string& dateiName) {
    TLeseDatei datei(dateiName);
    TTextPuffer inhalt;
    datei.Lesen(inhalt, datei.Groesse() + 1);
    return std::string(inhalt.Text());
}

namespace {

// Rechte einer neuen Datei: 0666 ohne die Bits der umask, wie open(2) sie setzt.
mode_t NeueRechte() {
    const mode_t maske = ::umask(022);
    ::umask(maske);
    return 0666 & ~maske;
}

// Eine Hilfsdatei neben 'ziel' mit eindeutigem Namen, exklusiv angelegt: wer
// im Ordner vorher eine gleichnamige Datei oder Verknüpfung anlegt, bekommt
// nichts ab und hält das Speichern nicht auf.
int HilfsdateiAnlegen(const std::string& ziel, std::string& name) {
    name = ziel + ".~tsrXXXXXX";
    return ::mkostemp(name.data(), O_CLOEXEC);
}

// Bringt einen Ordner auf die Platte, damit ein Umbenennen darin einen
// Stromausfall übersteht; Fehler zählen hier nicht mehr (die Datei ist ersetzt).
void OrdnerSichern(const std::string& datei) {
    std::string ordner = datei;
    const size_t strich = ordner.find_last_of('/');
    ordner = strich == std::string::npos ? "." : strich == 0 ? "/" : ordner.substr(0, strich);
    const int fd = ::open(ordner.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Kopiert 'von' nach 'nach' (offen zum Schreiben) und bringt die Kopie auf die Platte.
int Kopieren(const std::string& von, int nach) {
    const int quelle = ::open(von.c_str(), O_RDONLY | O_CLOEXEC);
    if (quelle < 0) return errno;
    char puffer[1 << 16];
    int fehler = 0;
    for (;;) {
        const ssize_t n = ::read(quelle, puffer, sizeof puffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fehler = errno;
        if (n <= 0) break;
        for (ssize_t geschrieben = 0; geschrieben < n && fehler == 0;) {
            const ssize_t w = ::write(nach, puffer + geschrieben, static_cast<size_t>(n - geschrieben));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) fehler = w < 0 ? errno : EIO;
            else geschrieben += w;
        }
        if (fehler != 0) break;
    }
    ::close(quelle);
    if (fehler == 0 && ::fsync(nach) != 0) fehler = errno;
    return fehler;
}

} // namespace

TDateiStand DateiStandLesen(const std::string& dateiName) {
    struct stat st {};
    if (::stat(dateiName.c_str(), &st) != 0) return {};
    return {true, static_cast<int64_t>(st.st_size), static_cast<int64_t>(st.st_mtim.tv_sec),
            static_cast<int64_t>(st.st_mtim.tv_nsec)};
}

ESchreibgeschuetzt::ESchreibgeschuetzt(const std::string& dateiName)
    : EFCreateError("Die Datei " + DateinameFuerAnzeige(dateiName) + " ist schreibgesch\xFCtzt.",
                    "Sie bleibt unver\xE4ndert; speichern Sie das Modell unter einem anderen Namen.") {}

TDateiErsetzer::TDateiErsetzer(const std::string& dateiName) : Name(dateiName) {
    std::string ziel = dateiName;
    struct stat st {};
    // Eine Verknüpfung bleibt stehen; ersetzt wird die Datei, auf die sie zeigt.
    if (::lstat(ziel.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* echt = ::realpath(ziel.c_str(), nullptr)) {
            ziel = echt;
            std::free(echt);
        }
    }
    const bool vorhanden = ::stat(ziel.c_str(), &st) == 0;
    if (vorhanden && !S_ISREG(st.st_mode)) NichtZuSchreiben(dateiName, ArtGrund(st.st_mode));
    // Der Schreibschutz des Anwenders gilt auch dort, wo der Ordner das Ersetzen
    // erlaubte, und auch für root: ohne Schreibrecht des Besitzers kein Speichern.
    if (vorhanden && ((st.st_mode & S_IWUSR) == 0 || ::access(ziel.c_str(), W_OK) != 0))
        throw ESchreibgeschuetzt(dateiName);
    Ziel = ziel;

    if (vorhanden && st.st_nlink > 1) {
        // Mehrere Namen für dieselbe Datei: ein Umbenennen trennte sie. Erst eine
        // Sicherung daneben, dann an Ort und Stelle schreiben; scheitert das,
        // bleibt die Sicherung.
        const int sicherung = HilfsdateiAnlegen(ziel, Sicherung);
        if (sicherung < 0) NichtZuSchreiben(dateiName, SystemGrund(errno));
        int fehler = ::fchmod(sicherung, st.st_mode & 07777) != 0 ? errno : Kopieren(ziel, sicherung);
        if (::close(sicherung) != 0 && fehler == 0) fehler = errno;
        if (fehler != 0) {
            ::unlink(Sicherung.c_str());
            NichtZuSchreiben(dateiName, SystemGrund(fehler));
        }
        OrdnerSichern(Sicherung);
        Fd = ::open(ziel.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
        if (Fd < 0) {
            const int fehler = errno; // die Datei ist unberührt, die Sicherung überflüssig
            ::unlink(Sicherung.c_str());
            NichtZuSchreiben(dateiName, SystemGrund(fehler));
        }
        return;
    }
    Fd = HilfsdateiAnlegen(ziel, Hilfs);
    if (Fd < 0) NichtZuSchreiben(dateiName, SystemGrund(errno));
    // Die neue Datei behält die Rechte der alten; eine neue bekommt, was open(2) gäbe.
    if (::fchmod(Fd, vorhanden ? st.st_mode & 07777 : NeueRechte()) != 0) Aufgeben(errno);
}

TDateiErsetzer::~TDateiErsetzer() {
    if (Fd < 0) return;
    ::close(Fd);
    // An Ort und Stelle ist die Datei schon angebrochen: die Sicherung bleibt.
    if (Sicherung.empty()) ::unlink(Hilfs.c_str());
}

void TDateiErsetzer::Aufgeben(int fehler) {
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
    if (!Sicherung.empty()) {
        NichtZuSchreiben(Name, SystemGrund(fehler) + "; die alte Fassung liegt in " +
                                   DateinameFuerAnzeige(Sicherung));
    }
    ::unlink(Hilfs.c_str());
    NichtZuSchreiben(Name, SystemGrund(fehler));
}

void TDateiErsetzer::Schreiben(std::string_view daten) {
    size_t geschrieben = 0;
    while (geschrieben < daten.size()) {
        const ssize_t n = ::write(Fd, daten.data() + geschrieben, daten.size() - geschrieben);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Aufgeben(n < 0 ? errno : EIO);
        geschrieben += static_cast<size_t>(n);
    }
}

void TDateiErsetzer::Abschliessen() {
    // Erst auf die Platte, dann umbenennen: sonst kann nach einem Stromausfall
    // eine leere Datei unter dem alten Namen stehen. Selbst schließen, damit ein
    // Fehler beim Schließen (volle Platte über Netz) gemeldet wird.
    if (::fsync(Fd) != 0 && errno != EINVAL) Aufgeben(errno);
    const int fd = Fd;
    Fd = -1;
    if (::close(fd) != 0) Aufgeben(errno);
    if (!Sicherung.empty()) {
        ::unlink(Sicherung.c_str());
        OrdnerSichern(Ziel);
        return;
    }
    if (::rename(Hilfs.c_str(), Ziel.c_str()) != 0) Aufgeben(errno);
    OrdnerSichern(Ziel);
}

void DateiErsetzen(const std::string& dateiName, const std::string& inhalt) {
    TDateiErsetzer datei(dateiName);
    datei.Schreiben(inhalt);
    datei.Abschliessen();
}

std::string GrundVon(const std::exception& e) {
    if (const auto* f = dynamic_cast<const EFehler*>(&e)) return f->OrtUndGrund();
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr || dynamic_cast<const std::length_error*>(&e) != nullptr) {
        return "zu wenig Arbeitsspeicher";
    }
    return e.what();
}

} // namespace tessomir
