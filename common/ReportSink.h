#pragma once
// What an element (or any loading job) uses to talk to the views of its main window: the progress
// bar, the status-bar stage text, the data list's columns and the report log. The main window
// implements it and marshals every call to the GUI thread; jobs call it from the worker thread.
#include "platform/StringTable.h"

#include <QString>

namespace qb {

class ReportSink {
public:
    virtual ~ReportSink() = default;

    virtual void setProgressRange(int minimum, int maximum) = 0;
    virtual void setProgressPos(int pos) = 0;
    virtual void hideProgress() = 0;

    // The text goes into the first status-bar pane, the position into the progress bar.
    virtual void postText(const QString& text, int pos) = 0;
    // A stage text by string-table id.
    virtual void postStage(int stringId, int pos) { postText(loadString(stringId), pos); }

    virtual void clearListColumns() = 0;
    virtual void addListColumn(const QString& text, int index, int width, int format) = 0;
    virtual void setColumnWidth(int index, int width) = 0;

    // Report-log entries.
    virtual void addError(const QString& text) = 0;
    virtual void addInformation(const QString& text) = 0;
};

} // namespace qb
