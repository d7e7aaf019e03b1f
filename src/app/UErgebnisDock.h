#pragma once
// Ein Ergebnis einer Studie neben dem Diagramm (Vergleich, Empfindlichkeit,
// Herkunft): eine Kopfzeile, wahlweise ein Bild darüber, eine Tabelle, deren
// Zeilen Objekte nennen (Doppelklick zeigt sie), und "Als CSV speichern...".
#include <QDockWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace tessomir {

class TErgebnisDock final : public QDockWidget {
public:
    TErgebnisDock(const QString& titel, const char* name, const QString& rolle, QWidget* eltern);

    void KopfSetzen(const QString& text);
    // Ein Bild über der Tabelle (gehört danach dem Dock); nullptr entfernt es.
    void BildSetzen(QWidget* bild);
    // 'rechts' je Spalte: Zahlen rechtsbündig. 'nummern' je Zeile das Objekt (0: keins).
    void Fuellen(const QStringList& kopf, const std::vector<QStringList>& zeilen, const std::vector<uint32_t>& nummern,
                 const std::vector<bool>& rechts);

    QTableWidget& Tabelle() const { return *SG; }
    QLabel& Kopf() const { return *LA; }
    std::function<void(uint32_t)> ObjektZeigen;
    std::function<void(int)> ZeileGewaehlt;
    std::function<void()> CsvSpeichern;

private:
    QVBoxLayout* Rahmen = nullptr;
    QLabel* LA = nullptr;
    QWidget* Bild = nullptr;
    QTableWidget* SG = nullptr;
    QPushButton* BTCsv = nullptr;
    std::vector<uint32_t> Nummern;
};

} // namespace tessomir
