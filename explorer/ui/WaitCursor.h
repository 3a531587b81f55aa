#pragma once
// The wait cursor over every window of the process for the blocking part of a command; restored
// on every way out. A dialog shown in the middle suspends it, so the user gets the normal
// pointer there.
#include <QApplication>

namespace qb::ui {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    class Suspended {
    public:
        Suspended() { QApplication::restoreOverrideCursor(); }
        ~Suspended() { QApplication::setOverrideCursor(Qt::WaitCursor); }
        Suspended(const Suspended&) = delete;
        Suspended& operator=(const Suspended&) = delete;
    };
};

} // namespace qb::ui
