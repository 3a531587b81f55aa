#pragma once
// The history's bound as the window last took it from its General options. The loader's jobs
// co-own it, so it stays valid for a job that outlives the window; the window updates it after
// the options dialog applied the General page.
#include "explorer/browser/BackupPointsBound.h"

#include <atomic>

namespace qb::ui {

class WindowBackupBound : public browser::BackupPointsBound {
public:
    explicit WindowBackupBound(int bound) : m_bound(bound) {}
    void set(int bound) { m_bound.store(bound); }
    std::optional<int> maxBackupPoints() const override { return m_bound.load(); }

private:
    std::atomic<int> m_bound;
};

} // namespace qb::ui
