#pragma once
// The window suites' wait: the event loop runs until the condition holds or the time is up.
// Waits are on conditions; the time limit only ends a test that would otherwise hang.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <functional>

namespace qbtest {

inline bool waitUntil(const std::function<bool()>& done, int ms = 30000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
    return true;
}

} // namespace qbtest
