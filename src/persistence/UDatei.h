#pragma once
// Dateien ohne Dateiformat: Namen für Meldungen, deutsche Gründe zu
// Systemfehlern, sicheres Lesen (nie blockierend, nur gewöhnliche Dateien) in
// einen Puffer mit großen Seiten und sicheres Ersetzen über eine Hilfsdatei.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "base/UFehler.h"

namespace tessomir {

// Dateiname ohne Ordner, wie das Dateisystem ihn hat (Bytes, meist UTF-8).
std::string DateinameOhneOrdner(const std::string& pfad);
// Dateiname ohne Ordner als Windows-1252-Text für Meldungen, Titel und
// Druckkopf; Zeichen, die Windows-1252 nicht kennt, werden zu '?'.
std::string DateinameFuerAnzeige(const std::string& pfad);

// Puffer für einen Dateitext, der vor dem Lesen nicht mit Nullen gefüllt wird.
// Ab 'abbildenAb' Bytes ist er eine eigene Speicherabbildung mit großen
// Seiten (ein Seitenfehler je 2 MiB statt je 4 KiB); geht das nicht, kommt
// er vom Heap.
class TTextPuffer {
public:
    static constexpr size_t AbbildenAbVorgabe = size_t{4} << 20;
    explicit TTextPuffer(size_t abbildenAb = AbbildenAbVorgabe) : AbbildenAb(abbildenAb) {}
    ~TTextPuffer() { Freigeben(); }
    TTextPuffer(const TTextPuffer&) = delete;
    TTextPuffer& operator=(const TTextPuffer&) = delete;

    // Platz für mindestens 'kapazitaet' Bytes; der Inhalt bleibt. std::bad_alloc,
    // wenn der Speicher nicht reicht.
    void Reservieren(size_t kapazitaet);
    char* Daten() { return Anfang; }
    size_t Groesse() const { return Belegt; }
    // Höchstens bis zur Kapazität; die Bytes dahinter sind ungültig.
    void GroesseSetzen(size_t groesse) { Belegt = groesse; }
    size_t Kapazitaet() const { return Platz; }
    bool Abgebildet() const { return Abbildung; }
    std::string_view Text() const { return {Anfang, Belegt}; }
    // Gibt den Speicher zurück; der Puffer ist danach leer.
    void Freigeben();

private:

    size_t AbbildenAb;
    char* Anfang = nullptr;
    size_t Belegt = 0;
    size_t Platz = 0;
    bool Abbildung = false;
};

// Eine gewöhnliche Datei zum Lesen. Öffnen blockiert nie; Ordner, Pipes,
// Geräte und Sockets sind mit deutschem Grund abgewiesen (EFOpenError).
class TLeseDatei {
public:
    explicit TLeseDatei(const std::string& dateiName);
    ~TLeseDatei();
    TLeseDatei(const TLeseDatei&) = delete;
    TLeseDatei& operator=(const TLeseDatei&) = delete;

    uint64_t Groesse() const { return DateiGroesse; }
    // Hängt höchstens so viele Bytes an 'ziel' an; hört am Dateiende und nach
    // einem Nullbyte auf, denn dort endet der Text.
    void Lesen(TTextPuffer& ziel, uint64_t hoechstens);
    bool AmEnde() const { return Ende; }
    // Ob ein gelesenes Stück ein Nullbyte enthielt.
    bool NulGelesen() const { return Nul; }

private:
    std::string Name;
    int Fd = -1;
    uint64_t DateiGroesse = 0;
    uint64_t Gelesen = 0;
    bool Ende = false;
    bool Nul = false;
};

// Liest eine Datei ganz, bis zu einem Nullbyte; EFOpenError, wenn das nicht geht.
std::string DateiInhalt(const std::string& dateiName);
// Eine vorhandene Datei ohne Schreibrecht: sie wird nicht ersetzt.
class ESchreibgeschuetzt : public EFCreateError {
public:
    explicit ESchreibgeschuetzt(const std::string& dateiName);
};

// Schreibt über eine Hilfsdatei im selben Ordner (eindeutiger Name, exklusiv
// angelegt), die auf die Platte gebracht erst am Ende die alte Datei ersetzt;
// EFCreateError mit deutschem Grund, wenn das nicht geht (die alte Datei
// bleibt). Ein Ziel, das keine gewöhnliche Datei ist, bleibt unberührt, eine
// schreibgeschützte ebenso (ESchreibgeschuetzt). Hat die Datei mehrere Namen
// (harte Verknüpfungen), wird sie nach einer Sicherung daneben an Ort und
// Stelle geschrieben, damit jeder Name das neue Modell zeigt.
void DateiErsetzen(const std::string& dateiName, const std::string& inhalt);
// Dasselbe in Stücken: Schreiben hängt an die Hilfsdatei an, Abschliessen
// ersetzt die Datei. Ohne Abschliessen (etwa nach einer Ausnahme) verschwindet
// die Hilfsdatei, und die alte Datei bleibt.
class TDateiErsetzer {
public:
    explicit TDateiErsetzer(const std::string& dateiName);
    ~TDateiErsetzer();
    TDateiErsetzer(const TDateiErsetzer&) = delete;
    TDateiErsetzer& operator=(const TDateiErsetzer&) = delete;
    void Schreiben(std::string_view daten);
    void Abschliessen();

private:
    [[noreturn]] void Aufgeben(int fehler);
    std::string Name;  // wie der Aufrufer sie nannte, für Meldungen
    std::string Ziel;  // die Datei, die ersetzt wird (Ziel einer Verknüpfung)
    std::string Hilfs;
    std::string Sicherung; // nur beim Schreiben an Ort und Stelle
    int Fd = -1;
};
// Größe und Änderungszeit einer Datei, um zu sehen, ob ein anderes Programm sie
// seit dem Öffnen oder Speichern geändert hat.
struct TDateiStand {
    bool Vorhanden = false;
    int64_t Groesse = 0;
    int64_t Sekunden = 0;
    int64_t Nanosekunden = 0;
    bool operator==(const TDateiStand&) const = default;
};
TDateiStand DateiStandLesen(const std::string& dateiName);

// Deutscher Text zu einem errno-Wert.
std::string SystemGrund(int fehler);
// Was ein Anwender als Grund eines Fehlers liest: Ort und Grund, deutsch.
std::string GrundVon(const std::exception& e);

} // namespace tessomir
