#pragma once
// Hellcyan, der Grund aller Eingabefelder der Dialoge.
#include <QColor>
#include <QPalette>
#include <QWidget>

namespace tessomir {

inline void EingabefarbeSetzen(QWidget* feld) {
    QPalette p = feld->palette();
    p.setColor(QPalette::Base, QColor(213, 255, 255));
    feld->setPalette(p);
}

} // namespace tessomir
