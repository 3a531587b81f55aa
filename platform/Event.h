#pragma once
// A manual-reset event: once set it stays set, waking every waiter, until reset.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qb {

class Event {
public:
    explicit Event(bool signalled = false) : m_signalled(signalled) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    bool isSet() const;
    // Returns true when the event is (or becomes) signalled within the timeout.
    bool wait(std::chrono::milliseconds timeout) const;
    void wait() const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_cond;
    bool m_signalled;
};

} // namespace qb
