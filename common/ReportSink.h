#pragma once
// What an element (or any loading job) tells the views of its main window: the progress bar, the
// status-bar text, the data list's columns and the report log. The main window implements it.
//
// Threads: loader jobs call it from the window's worker thread, and the GUI thread calls it as
// well: Stop and stop-by-user report there, a tree node expanded for the first time loads its
// element there, an element already loaded redraws its columns there. So the implementation runs
// a call that comes from the GUI thread directly, and carries a worker's call over to the GUI
// thread (waiting until it ran, so the texts keep their order and a job never runs ahead of what
// the user sees). It never makes a caller on the GUI thread wait for the window itself (a lock,
// a queue or an event that only the GUI thread would serve): that thread is the one waiting.
#include "platform/StringTable.h"

#include <QString>

namespace qb {

class ReportSink {
public:
    virtual ~ReportSink() = default;

    virtual void setProgressRange(int minimum, int maximum) = 0;
    virtual void setProgressPos(int pos) = 0;
    virtual void hideProgress() = 0;

    // A status-bar text with the progress position that belongs to it: one call, so the bar and
    // the text never show different stages.
    virtual void postText(const QString& text, int pos) = 0;
    // The same with the text looked up by its string-table id.
    virtual void postStage(int stringId, int pos) { postText(loadString(stringId), pos); }

    virtual void clearListColumns() = 0;
    virtual void addListColumn(const QString& text, int index, int width, int format) = 0;
    virtual void setColumnWidth(int index, int width) = 0;

    // Report-log entries.
    virtual void addError(const QString& text) = 0;
    virtual void addInformation(const QString& text) = 0;
};

} // namespace qb
