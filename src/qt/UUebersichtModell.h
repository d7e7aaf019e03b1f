#pragma once
// Die Übersicht als Qt-Tabellenmodell über der Objektliste des Modells: die
// Zeilen sind Zeiger in die Liste (gefiltert und sortiert), die Zellen werden
// beim Zeigen gelesen, nicht kopiert.
#include <QAbstractTableModel>
#include <vector>

#include "editing/UUebersicht.h"

namespace tessomir {

class TUebersichtModell final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TUebersichtModell(QObject* eltern = nullptr);

    // Neues Modell (nullptr: keins): alle Zeilen neu.
    void ModellSetzen(const TModell* modell, bool berechnet);
    // Nach jeder Änderung: dieselben Objekte behalten ihre Zeilen und zeigen
    // die neuen Werte (eine Sortierung nach Werten gilt neu); sonst neu aufgebaut.
    void Aktualisieren(bool berechnet);
    // Dieselbe Regel wie die Suche; leer zeigt alle.
    void FilterSetzen(const QString& text);

    TFO* Objekt(int zeile) const;
    // Zeile eines Objekts oder -1 (ausgefiltert oder nicht in der Liste).
    int Zeile(const TFO* objekt) const;
    const std::vector<TFO*>& Zeilen() const { return ZeilenListe; }
    TUebersichtSicht Sicht() const;
    // Die Zeilen gelten, solange die Objektliste sich nicht geändert hat.
    bool Gueltig() const;

    int rowCount(const QModelIndex& eltern = QModelIndex()) const override;
    int columnCount(const QModelIndex& eltern = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;
    void sort(int spalte, Qt::SortOrder folge = Qt::AscendingOrder) override;

signals:
    // Die Objektliste hat sich geändert, bevor jemand Aktualisieren rief.
    void Veraltet();

private:
    void Aufbauen();
    void Sortieren(std::vector<TFO*>& zeilen) const;
    // Neue Reihenfolge derselben Zeilen; ausgewählte Zeilen wandern mit.
    void ZeilenErsetzen(std::vector<TFO*> neu);

    const TModell* Modell = nullptr;
    bool Berechnet = false;
    TSuche Filter{""};
    int Sortierspalte = -1;
    Qt::SortOrder Folge = Qt::AscendingOrder;
    std::vector<TFO*> ZeilenListe;
    // Stand der Objektliste beim letzten Aufbau.
    uint64_t Stand = 0;
    mutable bool VeraltetGemeldet = false;
};

} // namespace tessomir
