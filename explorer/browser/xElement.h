#pragma once
// The base of the elements a main window shows: the database, its three folders, and a table or
// view. An element loads its own content (on the loader thread), holds it, and answers the data
// list's questions about it (on the GUI thread).
//
// Locking rule for every element: a lock that the GUI thread takes (content, caption, object) is
// held only for a copy and never while calling the ReportSink or the provider. A load builds its
// content aside and publishes it at the end. Loads of one element are serialised by a load lock
// that the GUI thread never blocks on. So the GUI never waits for a loader that is itself waiting
// for the GUI.
#include "explorer/browser/ElementId.h"
#include "explorer/browser/ShowRequest.h"

#include <QString>
#include <mutex>
#include <optional>

namespace qb {
class ReportSink;
}

namespace qb::data {
class TableData;
struct ObjectName;
}

namespace qb::plugins {
class CellValueSource;
}

namespace qb::browser {

class xElement {
public:
    struct Kind {
        int id = kNoElement;
        int captionId = 0; // string-table id of the caption
        int imageIndex = kNoImage;
        int parentId = kNoRelative;
        int childId = kNoRelative; // what an item opens
    };

    xElement(const Kind& kind, ReportSink& sink);
    virtual ~xElement() = default;
    xElement(const xElement&) = delete;
    xElement& operator=(const xElement&) = delete;

    // Loads if needed and presents the content. Runs on the loader thread; a tree expansion runs
    // it on the GUI thread with neither redraw nor refresh.
    virtual void show_data(const ShowRequest& request) = 0;
    // What the element was last shown with, for the history to store with a back point (only the
    // table element remembers it).
    virtual std::optional<ShowRequest> currentShowRequest() const { return std::nullopt; }
    // Shows with the default request: empty text, redraw, no refresh.
    void show() { show_data(ShowRequest{}); }
    // Drops the loaded content (refresh, close).
    virtual void clear() = 0;
    virtual bool isLoaded() const = 0;
    // The full count (a table's total rows).
    virtual int itemCount() const = 0;
    // The data list's item count: the full count, for a table the rows of its current page.
    virtual int listItemCount() const { return itemCount(); }
    virtual QString cellText(int item, int column) const = 0;
    virtual QString cellDescription(int item, int column) const;
    virtual int itemImage(int item, int column) const;

    QString caption() const;
    void setCaption(const QString& caption);
    int id() const { return m_kind.id; }
    int imageIndex() const { return m_kind.imageIndex; }
    int parentId() const { return m_kind.parentId; }
    // What an item opens (the database answers per item with the folder id); kNoRelative: nothing.
    virtual int childKind(int item) const;

    // The rows of a table or view, for paging and the plug-in hand-off; nullptr for the others.
    virtual data::TableData* tableData() { return nullptr; }
    // What hands this element's cells to viewer plug-ins; nullptr for elements without cells.
    virtual plugins::CellValueSource* cellValueSource() { return nullptr; }
    // The query text the element last ran, for the SQL pane; nothing for elements without one.
    virtual std::optional<QString> queryText() const { return std::nullopt; }
    // Whether the SQL pane may run its text on this element.
    virtual bool acceptsSql() const { return false; }
    // The name a history point keeps.
    virtual QString name() const { return caption(); }
    // The table or view the element holds, for history points; nothing for the others.
    virtual std::optional<data::ObjectName> object() const;

protected:
    ReportSink& sink() const { return m_sink; }
    // True inside a loader job that is being stopped.
    static bool loadStopRequested();
    // The element's load lock: a loader job waits for it; the GUI thread (a tree expansion) only
    // tries, since the holder may be a job waiting for the GUI. Check owns_lock().
    static std::unique_lock<std::mutex> lockForLoad(std::mutex& loadMutex);
    const Kind& kind() const { return m_kind; }

private:
    const Kind m_kind;
    ReportSink& m_sink;
    mutable std::mutex m_captionMutex;
    QString m_caption;
};

} // namespace qb::browser
