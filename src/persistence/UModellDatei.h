#pragma once
// Öffnen und Speichern von Modelldateien für Programm und Kommandozeile.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/UFehler.h"
#include "model/UModell.h"
#include "persistence/UDatei.h"

namespace tessomir {

// Die Modelldatei: Kopf- und Objektabschnitte.
void Schreiben(const TModell& modell, TZeilenSchreiber& aus);
// Nur der Kopf: Einstellungen und Artikel.
void KopfSchreiben(const TModell& modell, TZeilenSchreiber& aus);
// Ein Text, aus dem das Lesen genau dieses Modell macht (Wege stehen nach dem
// Lesen sonst in umgekehrter Folge); für die Kopie zur Wiederherstellung.
void SchreibenLesegleich(const TModell& modell, TZeilenSchreiber& aus);
// 'textGelesen' wird gerufen, sobald alle Objekte gelesen sind und der
// Text nicht mehr gebraucht wird (vor dem Verbinden der Wege): so muss
// eine große Datei nicht neben allem liegen, was das Verbinden anlegt.
void ModellLesen(TModell& modell, TZeilenLeser& ein, const std::function<void()>& textGelesen = {});
// Kopfabschnitt bis zu den Artikelnamen; Teil von ModellLesen.
void KopfLesen(TModell& modell, TZeilenLeser& ein);
// Liest den Kopf aus dem Anfang einer großen Datei, bevor der Rest gelesen
// wird; wirft, wenn schon der Anfang zeigt, dass sie kein Modell ist.
void KopfVorabPruefen(TModell& modell, std::string_view anfang);
bool DateiLaden(TModell& modell, const std::string& dateiName);
// Wie DateiLaden, nur aus einem Text im Speicher (ohne DateiName).
// 'ohneNul': der Text ist schon auf Nullbytes durchsucht und hat keins.
void TextLaden(TModell& modell, std::string_view text, const std::function<void()>& textGelesen = {},
               bool ohneNul = false);
void DateiSpeichern(TModell& modell, const std::string& dateiName);
// Eine Kopie über den Text, der genau dieses Modell wieder ergibt (Werte mit
// den Stellen der Datei); für Rechnungen, die das Original nicht anfassen.
std::unique_ptr<TModell> ModellKopie(const TModell& modell);

struct TOeffnenErgebnis {
    std::unique_ptr<TModell> Modell; // nullptr, wenn die Datei nicht gelesen werden konnte
    std::string Meldung;             // "Die Datei ... kann nicht geöffnet werden."
    std::string Grund;               // Text der Ausnahme
};

// Legt ein frisches Modell an und liest die Datei.
// Jeder Fehler hinterlässt kein halb gelesenes Modell; 'Modell' ist dann nullptr.
TOeffnenErgebnis ModellOeffnen(const std::string& dateiName);

struct TSpeichernErgebnis {
    bool Ok = false;
    std::string Meldung; // "Die Datei ... kann nicht geschrieben werden."
    std::string Grund;   // deutscher Grund, z. B. "der Datenträger ist voll"
};

// Speichert das Modell; bei einem Fehler bleibt die alte Datei unverändert,
// DateiName und Modifiziert ebenso.
TSpeichernErgebnis ModellSichern(TModell& modell, const std::string& dateiName);

// Wie ModellSichern, für einen fertigen Text.
TSpeichernErgebnis DateiSichern(const std::string& dateiName, const std::string& inhalt);

} // namespace tessomir
