#pragma once
// One setting value with a lock of its own: the views read appearance flags from loader threads
// while the options dialog changes them on the window's thread, so every read and write of one
// value goes through its own mutex. No lock is ever held while another is taken.
#include <cstdint>
#include <mutex>

namespace qb::settings {

class LockedSetting {
public:
    LockedSetting() = default;
    LockedSetting(const LockedSetting&) = delete;
    LockedSetting& operator=(const LockedSetting&) = delete;

    uint32_t get() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_value;
    }
    void set(uint32_t value)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_value = value;
    }

private:
    mutable std::mutex m_lock;
    uint32_t m_value = 0;
};

} // namespace qb::settings
