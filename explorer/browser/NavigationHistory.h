#pragma once
// Back, forward and up through the elements a main window has shown, like a browser.
//
// Two stacks with the newest point at the end, each behind its own lock; when both are needed
// the back lock is taken first. No lock is held while a show is started: starting may stop a
// running job, and that job may be recording a point at the same moment.
#include "explorer/browser/HistoryPoint.h"

#include <mutex>
#include <optional>
#include <vector>

namespace qb::browser {

class BackupPointsBound;
class ShowStarter;

class NavigationHistory {
public:
    static constexpr int kUnavailableBound = 100;
    static constexpr int kMaxBound = 500;

    // bound may be null: the bound is then unavailable.
    NavigationHistory(ShowStarter& starter, const BackupPointsBound* bound);
    NavigationHistory(const NavigationHistory&) = delete;
    NavigationHistory& operator=(const NavigationHistory&) = delete;

    // Pushes the element that was left onto the back stack and trims it to the bound. Elements
    // numbered 0 or less (nothing shown yet) are not recorded.
    void recordPoint(HistoryPoint point);
    // The same with the bound read beforehand (bound()), for a caller that records under a lock
    // of its own and keeps the settings read out of it.
    void recordPoint(HistoryPoint point, int bound);

    // `left` is the element current when the command is given, with its show request (taken by
    // value: starting the show may change what the caller calls current). When the show cannot
    // be started, the step's target stays on its stack, nothing else changes, and the error
    // propagates to the command, whose handler reports it.
    void goBack(HistoryPoint left);
    void goForward(HistoryPoint left);
    // Shows the parent as an ordinary selection (so the current element becomes a back point).
    void goUp(int parentId);

    bool canGoBack() const;
    bool canGoForward() const;
    bool backEnabled(bool idle) const { return idle && canGoBack(); }
    bool forwardEnabled(bool idle) const { return idle && canGoForward(); }
    static bool upEnabled(bool connected, bool idle, int currentElement);

    // Empties both stacks (closing the connection).
    void clear();

    // The bound in effect: MaxBackupPoints cut to 0..500, 100 when it cannot be obtained.
    int bound() const;

    std::vector<HistoryPoint> backPoints() const;
    std::vector<HistoryPoint> forwardPoints() const;

private:
    // Takes the newest point off `stack`; nullopt when it is empty.
    static std::optional<HistoryPoint> pop(std::mutex& lock, std::vector<HistoryPoint>& stack);
    // Shows `target` as a history step; when that cannot start, `target` goes back onto `stack`
    // and the error propagates.
    void startStep(HistoryPoint target, std::mutex& lock, std::vector<HistoryPoint>& stack);

    ShowStarter& m_starter;
    const BackupPointsBound* m_bound;
    mutable std::mutex m_backLock;
    mutable std::mutex m_forwardLock;
    std::vector<HistoryPoint> m_back;
    std::vector<HistoryPoint> m_forward;
};

} // namespace qb::browser
