#pragma once
// Sanduhr als Mauszeiger für die Dauer eines Blocks, auch wenn er mit einer
// Ausnahme endet.
#include <QApplication>

namespace tessomir {

class TSanduhr {
public:
    TSanduhr() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TSanduhr() { QApplication::restoreOverrideCursor(); }
    TSanduhr(const TSanduhr&) = delete;
    TSanduhr& operator=(const TSanduhr&) = delete;
};

} // namespace tessomir
