#pragma once
// The report sink of programs without windows (tools, benchmarks), for the elements' reports and
// for table loads alike: errors and report-log entries go to the standard error stream with the
// program's name; progress, stages and list columns go nowhere.
#include "common/ReportSink.h"
#include "dataaccess/LoadSink.h"

#include <cstdio>

namespace qb {

class ConsoleReportSink final : public ReportSink, public data::LoadSink {
public:
    explicit ConsoleReportSink(const char* program) : m_program(program) {}
    void setProgressRange(int, int) override {}
    void setProgressPos(int) override {}
    void hideProgress() override {}
    void postText(const QString&, int) override {}
    void clearListColumns() override {}
    void addListColumn(const QString&, int, int, int) override {}
    void setColumnWidth(int, int) override {}
    void addError(const QString& text) override { print(text); }
    void addInformation(const QString& text) override { print(text); }

    void progress(const data::LoadProgress&) override {}
    void columnsRead(const std::vector<data::ColumnInfo>&) override {}
    void error(const QString& message) override { print(message); }

private:
    void print(const QString& text) const { std::fprintf(stderr, "%s: %s\n", m_program, qPrintable(text)); }

    const char* m_program;
};

} // namespace qb
