#pragma once
// Das Tornado-Bild der Empfindlichkeit: je Eingabe ein waagrechter Balken vom
// Zielwert bei gesenkter bis zu dem bei gehobener Eingabe, um den Zielwert
// der Rechnung herum, grösste Wirkung oben.
#include <QWidget>
#include <vector>

namespace tessomir {

struct TTornadoBalken {
    QString Name;
    double Minus = 0.0, Plus = 0.0;
};

class TTornado final : public QWidget {
public:
    TTornado(double basis, std::vector<TTornadoBalken> balken, QWidget* eltern = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* ereignis) override;

private:
    double Basis;
    std::vector<TTornadoBalken> Balken;
};

} // namespace tessomir
