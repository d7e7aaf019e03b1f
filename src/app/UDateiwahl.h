#pragma once
// Auswahl der Modelldatei beim Öffnen und Speichern unter. Das Programm
// zeigt die Dateidialoge; Tests setzen eine Auswahl mit festen Antworten ein.
#include <QString>
#include <optional>

class QWidget;

namespace tessomir {

// Ziel eines Exports; CsvDeutsch: als Filter war "CSV (Excel, deutsch)" gewählt.
struct TExportziel {
    QString Pfad;
    bool CsvDeutsch = false;
};

class IDateiwahl {
public:
    virtual ~IDateiwahl() = default;
    // Pfad einer vorhandenen Datei oder nichts, wenn abgebrochen wurde.
    virtual std::optional<QString> Oeffnen(QWidget* eltern) = 0;
    // 'vorgabe' ist der bisherige Dateiname (ohne Ordner: im aktuellen Ordner).
    virtual std::optional<QString> SpeichernUnter(QWidget* eltern, const QString& vorgabe) = 0;
    // Ziel des Exports (PNG, SVG, PDF oder CSV, nach der Endung); ohne eigene
    // Antwort abgebrochen, damit Auswahlen, die nur Modelle kennen, gelten.
    virtual std::optional<TExportziel> Exportieren(QWidget* eltern, const QString& vorgabe);
    // Ziel einer Tabelle als CSV ("Als CSV speichern..."); ohne eigene Antwort abgebrochen.
    virtual std::optional<QString> CsvSpeichern(QWidget* eltern, const QString& vorgabe);
    // Eine Werte-Tabelle zum Einlesen und das Ziel von "Werte schreiben..."
    // (CsvDeutsch: die deutsche Form gewählt); ohne eigene Antwort abgebrochen.
    virtual std::optional<QString> TabelleOeffnen(QWidget* eltern);
    virtual std::optional<TExportziel> TabelleSpeichern(QWidget* eltern, const QString& vorgabe);
};

// Die Qt-eigenen Dateidialoge, damit sie mit den Übersetzungen des
// Programms deutsch sprechen, gleich welche Arbeitsoberfläche läuft.
class TQtDateiwahl final : public IDateiwahl {
public:
    std::optional<QString> Oeffnen(QWidget* eltern) override;
    std::optional<QString> SpeichernUnter(QWidget* eltern, const QString& vorgabe) override;
    std::optional<TExportziel> Exportieren(QWidget* eltern, const QString& vorgabe) override;
    std::optional<QString> CsvSpeichern(QWidget* eltern, const QString& vorgabe) override;
    std::optional<QString> TabelleOeffnen(QWidget* eltern) override;
    std::optional<TExportziel> TabelleSpeichern(QWidget* eltern, const QString& vorgabe) override;
};

} // namespace tessomir
