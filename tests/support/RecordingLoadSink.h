#pragma once
// A LoadSink that records every call, for tests of the table data. Thread-safe: loads run on workers.
#include "dataaccess/LoadSink.h"

#include <QStringList>
#include <mutex>
#include <vector>

namespace qbtest {

class RecordingLoadSink : public qb::data::LoadSink {
public:
    void progress(const qb::data::LoadProgress& p) override { std::lock_guard l(m); steps.push_back(p); }
    void columnsRead(const std::vector<qb::data::ColumnInfo>& columns) override
    {
        std::lock_guard l(m);
        QStringList names;
        for (const auto& c : columns)
            names << c.name;
        columnReads.push_back(names);
    }
    void error(const QString& message) override { std::lock_guard l(m); errors << message; }

    QStringList errorList() const { std::lock_guard l(m); return errors; }
    std::vector<qb::data::LoadProgress> progressList() const { std::lock_guard l(m); return steps; }
    // The column names of each columnsRead call.
    std::vector<QStringList> columnReadList() const { std::lock_guard l(m); return columnReads; }

    mutable std::mutex m;
    std::vector<qb::data::LoadProgress> steps;
    std::vector<QStringList> columnReads;
    QStringList errors;
};

} // namespace qbtest
