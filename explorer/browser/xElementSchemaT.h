#pragma once
// A folder of the database: tables, stored procedures or table views, read from a schema rowset
// into a list of items. One class for the three folders; a SchemaItemReader says which schema,
// which restriction and which item record.
//
// A load reads the rows into a list of its own while it reports progress, and publishes the list
// at the end under the item lock; a load that fails or is stopped after some rows publishes the
// rows it read. Closing the connection (clear) while a load runs discards what that load reads.
#include "explorer/browser/SchemaItem.h"
#include "explorer/browser/SessionSource.h"
#include "explorer/browser/xElement.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace qb::browser {

class SchemaItemReader;

class xElementSchemaT : public xElement {
public:
    xElementSchemaT(const Kind& kind, ReportSink& sink, SessionSource session,
                    std::unique_ptr<SchemaItemReader> reader);
    ~xElementSchemaT() override;

    void show_data(const ShowRequest& request) override;
    void clear() override;
    bool isLoaded() const override;
    int itemCount() const override;
    // The item's field; "(EMPTY)" for an item that does not exist.
    QString cellText(int item, int column) const override;
    int itemImage(int item, int column) const override;

    // Text of an item's field (false when there is no such item or field).
    bool itemField(int item, int field, QString* text) const;
    // The item whose display text (field 0) equals `text`, for opening it.
    std::optional<SchemaItem> findItem(const QString& text) const;

private:
    // The rows read, also when reading ends early; nothing when the rowset could not be opened.
    std::optional<std::vector<SchemaItem>> load();
    void publish(std::vector<SchemaItem> items, uint64_t generation);

    SessionSource m_session;
    std::unique_ptr<SchemaItemReader> m_reader;

    std::mutex m_loadMutex; // one load at a time (see lockForLoad)

    mutable std::mutex m_itemsMutex; // items, loaded flag, generation
    std::vector<SchemaItem> m_items;
    bool m_loaded = false;
    uint64_t m_generation = 0;
};

} // namespace qb::browser
