#pragma once
// Bedienung des echten Hauptfensters in Tests: Aktionen auslösen, Maus-
// ereignisse mit ausdrücklichen Knöpfen und Umschalttasten an die
// Zeichenfläche schicken, modale Dialoge bedienen, sobald sie stehen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/FHaupt.h"
#include "app/UZeichenfeld.h"

namespace tessomir::test {

// Bedient den nächsten modalen Dialog, sobald er steht.
template <class TDialog> void Bedienen(std::function<void(TDialog&)> bedienen) {
    QTimer::singleShot(0, [bedienen] {
        auto* d = qobject_cast<TDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        bedienen(*d);
    });
}

class TFensterBedienung {
protected:
    QAction* A(const char* name) { return F->findChild<QAction*>(name); }
    void Ausloesen(const char* name) {
        F->AktionenAktualisieren();
        ASSERT_TRUE(A(name)->isEnabled()) << name;
        A(name)->trigger();
    }
    void Maus(QEvent::Type art, QPoint p, Qt::MouseButton knopf, Qt::MouseButtons gehalten,
              Qt::KeyboardModifiers tasten = {}) {
        QMouseEvent e(art, QPointF(p), PB->mapToGlobal(QPointF(p)), knopf, gehalten, tasten);
        QApplication::sendEvent(PB, &e);
    }
    void Klick(QPoint p, Qt::KeyboardModifiers tasten = {}, Qt::MouseButton knopf = Qt::LeftButton) {
        Maus(QEvent::MouseButtonPress, p, knopf, knopf, tasten);
        Maus(QEvent::MouseButtonRelease, p, knopf, Qt::NoButton, tasten);
    }
    // Wie Qt einen Doppelklick liefert: das zweite Drücken ist der Doppelklick.
    void Doppelklick(QPoint p) {
        Klick(p);
        Maus(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
        Maus(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    void Ziehen(QPoint von, QPoint nach) {
        Maus(QEvent::MouseButtonPress, von, Qt::LeftButton, Qt::LeftButton);
        Maus(QEvent::MouseMove, von + QPoint(1, 1), Qt::NoButton, Qt::LeftButton);
        Maus(QEvent::MouseMove, nach, Qt::NoButton, Qt::LeftButton);
        Maus(QEvent::MouseButtonRelease, nach, Qt::LeftButton, Qt::NoButton);
    }
    // Ein Knoten der Art der Aktion an p, danach wieder auswählen.
    void Einfuegen(const char* aktion, QPoint p) {
        Ausloesen(aktion);
        Klick(p);
        Ausloesen("ACEinfuegenDeaktiviert");
    }

    TModell* Modell() const { return F->Modell(); }

    std::unique_ptr<TFMHaupt> F;
    TZeichenfeld* PB = nullptr;
};

} // namespace tessomir::test
