#pragma once
// Sanduhr als Mauszeiger für die Dauer eines Blocks, auch wenn er mit einer
// Ausnahme endet.
#include <QGuiApplication>

namespace tessomir {

class TSanduhr {
public:
    TSanduhr() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TSanduhr() { QGuiApplication::restoreOverrideCursor(); }
    TSanduhr(const TSanduhr&) = delete;
    TSanduhr& operator=(const TSanduhr&) = delete;
};

} // namespace tessomir
