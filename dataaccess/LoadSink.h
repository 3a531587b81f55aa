#pragma once
// Where a table load tells how it goes, as values only: which stage it is in and how far it has
// come, the columns of its result, and a failure's message. The program decides what the user
// sees of it (stage texts, the progress bar, list column widths), so the data layer holds no
// stage texts and no pixel widths. Called on the thread that runs the load.
#include "dataaccess/Provider.h"

#include <QString>
#include <vector>

namespace qb::data {

enum class LoadStage {
    Started,          // the load begins
    Preparing,        // the query text is put together
    ReadingColumns,   // the statement runs and its column information is read
    Binding,          // the row buffer and the provider's bindings are made
    ShowingColumns,   // the result's columns are about to be handed over (columnsRead)
    ReadingRows,      // the rowset is bound, then its rows are counted
    CreatingCache,    // the page cache is made
    ReadingFirstPage, // the first page is read into the cache, row by row
    Loaded,           // the content is in place
    Finished,         // the load is over, whatever its outcome
};

struct LoadProgress {
    LoadStage stage = LoadStage::Started;
    int position = 0; // how far the load has come, 0 to 100
    int row = 0;      // ReadingFirstPage: rows of the first page read so far
    bool operator==(const LoadProgress&) const = default;
};

class LoadSink {
public:
    virtual ~LoadSink() = default;
    virtual void progress(const LoadProgress& progress) = 0;
    // The result's columns, for a load that was asked to show them.
    virtual void columnsRead(const std::vector<ColumnInfo>& columns) = 0;
    // The complete message of the failure that ended the load.
    virtual void error(const QString& message) = 0;
};

} // namespace qb::data
