#pragma once
// The wait cursor for a GUI thread that is stuck in one event: when handling an event has taken
// longer than about 375 ms (15 ticks of 25 ms) without the thread starting another event or going
// idle, the wait cursor goes over the process's windows; the next event or idle moment gives the
// windows their own cursors back.
//
// Threads: the GUI thread cannot change a cursor while it is stuck, so a watcher thread counts the
// ticks and puts the wait cursor up through a WaitCursorSurface of its own (on X11 a connection
// of its own to the display). Taking it down again is the GUI thread's job: only Qt knows which
// cursor each window had. Neither thread ever waits for the other; the lock below is held for a
// counter check and one display request at most.
#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace qb::app {

class WaitCursorSurface {
public:
    virtual ~WaitCursorSurface() = default;
    // GUI thread, whenever it goes idle: the windows there are now.
    virtual void refreshWindows() = 0;
    // Watcher thread: puts the wait cursor up over those windows.
    virtual void showWait() = 0;
    // GUI thread: the windows' own cursors again.
    virtual void restore() = 0;
};

class BusyCursorWatch : public QObject {
public:
    static constexpr int kTicks = 15;
    static constexpr int kTickMs = 25;

    // With `runThread` false nothing ticks by itself (tests call tick()).
    explicit BusyCursorWatch(std::unique_ptr<WaitCursorSurface> surface, bool runThread = true);
    ~BusyCursorWatch() override;

    // Watches the application's GUI thread: every event starts the count again, going idle
    // stops it. Call once, on the GUI thread, after the application object exists.
    void install();

    // GUI thread: an event starts / the thread is about to wait for events.
    void eventStarted();
    void wentIdle();
    // Watcher thread: one tick.
    void tick();

    bool waitCursorShown() const { return m_shown.load(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeDown();

    std::unique_ptr<WaitCursorSurface> m_surface;
    std::atomic<int> m_ticks{0};
    std::atomic<bool> m_shown{false};
    std::mutex m_mutex; // orders showWait against takeDown
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The surface for the running platform: X11 (a display connection of the watcher's own), or
// nothing where the platform has no such means (offscreen, Wayland).
std::unique_ptr<WaitCursorSurface> platformWaitCursorSurface();

} // namespace qb::app
