#pragma once
// A ReportSink that records every call, for tests. Thread-safe: jobs call it from workers.
#include "common/ReportSink.h"

#include <QString>
#include <QStringList>
#include <mutex>
#include <vector>

namespace qbtest {

class RecordingReportSink : public qb::ReportSink {
public:
    struct Text {
        QString text;
        int pos;
    };
    struct Column {
        QString text;
        int index;
        int width;
        int format;
    };

    void setProgressRange(int minimum, int maximum) override { std::lock_guard l(m); rangeMin = minimum; rangeMax = maximum; }
    void setProgressPos(int pos) override { std::lock_guard l(m); positions.push_back(pos); }
    void hideProgress() override { std::lock_guard l(m); ++hides; }
    void postText(const QString& text, int pos) override { std::lock_guard l(m); texts.push_back({text, pos}); }
    void clearListColumns() override { std::lock_guard l(m); columns.clear(); ++columnClears; }
    void addListColumn(const QString& text, int index, int width, int format) override
    {
        std::lock_guard l(m);
        columns.push_back({text, index, width, format});
    }
    void setColumnWidth(int index, int width) override
    {
        std::lock_guard l(m);
        for (auto& c : columns)
            if (c.index == index)
                c.width = width;
    }
    void addError(const QString& text) override { std::lock_guard l(m); errors << text; }
    void addInformation(const QString& text) override { std::lock_guard l(m); infos << text; }

    QStringList errorList() const { std::lock_guard l(m); return errors; }
    QStringList infoList() const { std::lock_guard l(m); return infos; }
    std::vector<Text> textList() const { std::lock_guard l(m); return texts; }
    std::vector<Column> columnList() const { std::lock_guard l(m); return columns; }

    mutable std::mutex m;
    int rangeMin = -1, rangeMax = -1, hides = 0, columnClears = 0;
    std::vector<int> positions;
    std::vector<Text> texts;
    std::vector<Column> columns;
    QStringList errors, infos;
};

} // namespace qbtest
