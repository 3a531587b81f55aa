#pragma once
// Everything of one main window that a loader job touches: the elements, the history, the idle
// state, the current element, the window and its ReportSink. The window and every job it starts
// share ownership of it, so a job that the window gave up on (or that outlives the window) still
// works on live objects; it reaches the window itself only through objects it co-owns.
#include "explorer/browser/ElementSet.h"
#include "explorer/browser/IdleState.h"
#include "explorer/browser/JobReportSink.h"
#include "explorer/browser/NavigationHistory.h"
#include "explorer/browser/SessionSource.h"

#include <QString>
#include <memory>
#include <mutex>

namespace qb::browser {

class BackupPointsBound;
class BrowserWindow;
class ShowStarter;
class xElement;

class BrowserState {
public:
    struct Parts {
        std::shared_ptr<ReportSink> sink;     // the window's ReportSink
        std::shared_ptr<BrowserWindow> window;
        SessionSource session;                // the open connection's session
        QString settingsRoot;                 // below HKEY_CURRENT_USER
        std::shared_ptr<const BackupPointsBound> bound; // may be null: the bound is unavailable
    };

    BrowserState(Parts parts, ShowStarter& starter);
    BrowserState(const BrowserState&) = delete;
    BrowserState& operator=(const BrowserState&) = delete;

    // The sink the elements and the jobs report through.
    ReportSink& sink() { return m_sink; }
    BrowserWindow& window() { return *m_window; }
    ElementSet& elements() { return m_elements; }
    NavigationHistory& history() { return m_history; }
    IdleState& idle() { return m_idle; }

    // The element the window shows (0: none).
    int currentIndex() const;
    xElement* currentElement() const;
    void setCurrentIndex(int index);

private:
    std::shared_ptr<BrowserWindow> m_window;
    std::shared_ptr<const BackupPointsBound> m_bound;
    JobReportSink m_sink;
    ElementSet m_elements;
    NavigationHistory m_history;
    IdleState m_idle;

    mutable std::mutex m_currentMutex;
    int m_currentIndex = kNoElement;
};

} // namespace qb::browser
