#pragma once
// Die Legende der Sankey-Ansicht über der linken unteren Ecke des sichtbaren
// Diagramms: sie rollt nicht mit, Klicks gehen durch sie hindurch aufs Diagramm.
#include <QWidget>

namespace tessomir {

class TAnsicht;
class TModell;

class TSankeyLegende final : public QWidget {
public:
    // 'eltern' ist der Sichtbereich der Rollfläche; die Ansicht überlebt die Legende.
    TSankeyLegende(TAnsicht& ansicht, QWidget* eltern);
    // Nach jedem Malen des Diagramms: zeigen oder verbergen, Grösse und Ort.
    void Aktualisieren(const TModell* modell);

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Platzieren();

    TAnsicht& Ansicht;
    const TModell* Modell = nullptr;
    QSize Groesse;
};

} // namespace tessomir
