#pragma once
// A ReportSink for programs without windows (tools, benchmarks): report-log entries go to the
// standard error stream with the program's name; progress and list columns go nowhere.
#include "common/ReportSink.h"

#include <cstdio>

namespace qb {

class ConsoleReportSink final : public ReportSink {
public:
    explicit ConsoleReportSink(const char* program) : m_program(program) {}
    void setProgressRange(int, int) override {}
    void setProgressPos(int) override {}
    void hideProgress() override {}
    void postText(const QString&, int) override {}
    void clearListColumns() override {}
    void addListColumn(const QString&, int, int, int) override {}
    void setColumnWidth(int, int) override {}
    void addError(const QString& text) override { std::fprintf(stderr, "%s: %s\n", m_program, qPrintable(text)); }
    void addInformation(const QString& text) override { std::fprintf(stderr, "%s: %s\n", m_program, qPrintable(text)); }

private:
    const char* m_program;
};

} // namespace qb
