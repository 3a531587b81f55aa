#pragma once
// What makes the three schema folders differ: which schema rowset they open, which of its columns
// they read, how a row becomes an item, and the list columns that show the items.
#include "explorer/browser/ListColumns.h"
#include "explorer/browser/SchemaItem.h"
#include "explorer/browser/SchemaRow.h"

#include <memory>
#include <span>
#include <vector>

namespace qb::browser {

class SchemaItemReader {
public:
    virtual ~SchemaItemReader() = default;
    // Throws data::ProviderError.
    virtual std::unique_ptr<data::Rowset> open(data::Session& session) const = 0;
    virtual std::vector<SchemaRow::Column> rowColumns() const = 0;
    virtual SchemaItem makeItem(const SchemaRow& row) const = 0;
    virtual std::span<const ListColumnSpec> listColumns() const = 0;
    virtual int itemImage() const = 0;
};

} // namespace qb::browser
