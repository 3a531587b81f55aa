#pragma once
// What the window shows of a table load: the data layer reports stages, positions and columns as
// values (dataaccess/LoadSink.h); this turns them into the status-bar stage texts, the progress bar
// and the data list's columns of the element's ReportSink.
#include "dataaccess/LoadSink.h"

namespace qb {
class ReportSink;
}

namespace qb::browser {

class TableLoadReport : public data::LoadSink {
public:
    explicit TableLoadReport(ReportSink& sink) : m_sink(sink) {}

    void progress(const data::LoadProgress& progress) override;
    void columnsRead(const std::vector<data::ColumnInfo>& columns) override;
    void error(const QString& message) override;

private:
    ReportSink& m_sink;
};

} // namespace qb::browser
