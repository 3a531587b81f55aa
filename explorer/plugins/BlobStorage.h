#pragma once
// The hand-off of a cell value to a viewer: a private temporary storage per table element, and in
// it one stream at a time that holds a copy of the cell's whole value.
//
// The value is copied in blocks from the provider into the stream, whose bytes live in a
// temporary file, so a value of any size passes without being held whole by the host. Each fill
// makes the stream anew: a menu build and the show that follows never see stale or appended bytes.
//
// GUI thread only (the table data's locks cover the copy against a running load).
#include "explorer/plugins/CellValueSource.h"

#include <QString>
#include <memory>

namespace qb {
class ReportSink;
class Storage;
}

namespace qb::data {
class TableData;
}

namespace qb::plugins {

class BlobStorage final : public CellValueSource {
public:
    // Creates the temporary storage. When that fails the element goes on without it:
    // creationError() then holds the message for the user, and every fill fails with a report.
    BlobStorage(const data::TableData& data, ReportSink& sink);
    ~BlobStorage() override;
    BlobStorage(const BlobStorage&) = delete;
    BlobStorage& operator=(const BlobStorage&) = delete;

    bool hasStorage() const { return m_storage != nullptr; }
    // Empty when the storage exists.
    const QString& creationError() const { return m_creationError; }

    // A NULL cell gives false without a report; failures give false and an error entry in the
    // report log; in every case no stream is left behind.
    bool fillValue(int row, int column, BlobValue* value) override;
    void releaseValue(BlobValue* value) override;

    static QString streamName();
    // Streams the storage holds now: 1 while a value is handed off, else 0.
    int streamCount() const;

private:
    const data::TableData& m_data;
    ReportSink& m_sink;
    std::unique_ptr<Storage> m_storage;
    QString m_creationError;
};

} // namespace qb::plugins
