#pragma once
// The table element and the view element: the rows of one table or view (or of the SQL pane's
// text), over the data access layer's TableData with its 100-row page cache. There is one such
// element per kind, holding whichever object was opened last.
//
// Showing loads again whenever what is asked for differs from what is loaded (another object,
// another SQL text), so opening a second table never shows the first one's rows.
#include "dataaccess/ObjectName.h"
#include "explorer/browser/SessionSource.h"
#include "explorer/browser/xElement.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace qb::plugins {
class BlobStorage;
}

namespace qb::browser {

class xElement_Table : public xElement {
public:
    static constexpr int kPageSize = 100;

    xElement_Table(const Kind& kind, ReportSink& sink, SessionSource session);
    ~xElement_Table() override;

    void show_data(const ShowRequest& request) override;
    // The request last shown; without its SQL text when that text returned no rows (a statement
    // that changes data), so that neither a history step nor a refresh runs it again.
    std::optional<ShowRequest> currentShowRequest() const override;
    void clear() override;
    bool isLoaded() const override;
    // The table's total row count.
    int itemCount() const override;
    // The rows of the current page: at most the page size.
    int listItemCount() const override;
    // Row within the current page; column 0 is the untitled first column and has no text.
    QString cellText(int item, int column) const override;
    QString cellDescription(int item, int column) const override;
    int itemImage(int item, int column) const override;
    data::TableData* tableData() override;
    plugins::CellValueSource* cellValueSource() override;
    // Why the temporary storage of the plug-in hand-off could not be made ("" when it was):
    // the window tells the user once, and the element is usable without plug-ins.
    const QString& blobStorageError() const;
    std::optional<QString> queryText() const override;
    bool acceptsSql() const override { return true; }
    QString name() const override;
    std::optional<data::ObjectName> object() const override;

    // The table or view that the generated query reads.
    data::ObjectName objectName() const;
    void setObjectName(const data::ObjectName& object);


private:
    struct LoadedKey {
        data::ObjectName object;
        QString sql;
    };
    void get_data(const ShowRequest& request, const data::ObjectName& object, uint64_t generation);

    SessionSource m_session;
    std::unique_ptr<data::TableData> m_data;
    std::unique_ptr<plugins::BlobStorage> m_blobStorage;

    std::mutex m_loadMutex; // one load at a time (see lockForLoad)

    mutable std::mutex m_stateMutex; // object, last request, what is loaded, generation
    data::ObjectName m_object;
    std::optional<ShowRequest> m_lastRequest;
    bool m_lastSqlGaveNoRows = false;
    std::optional<LoadedKey> m_loaded;
    uint64_t m_generation = 0;
};

} // namespace qb::browser
