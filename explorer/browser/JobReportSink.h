#pragma once
// The ReportSink the elements of one window talk to: it forwards to the window's sink, except
// for calls from a loader job the owner has given up on (they are dropped, so a job that outlives
// its wait never writes into a window that moved on or is gone). It co-owns the window's sink.
#include "common/ReportSink.h"

#include <memory>

namespace qb::browser {

class JobReportSink : public ReportSink {
public:
    explicit JobReportSink(std::shared_ptr<ReportSink> target);

    void setProgressRange(int minimum, int maximum) override;
    void setProgressPos(int pos) override;
    void hideProgress() override;
    void postText(const QString& text, int pos) override;
    void postStage(int stringId, int pos) override;
    void clearListColumns() override;
    void addListColumn(const QString& text, int index, int width, int format) override;
    void setColumnWidth(int index, int width) override;
    void addError(const QString& text) override;
    void addInformation(const QString& text) override;

private:
    // The window's sink, or nullptr when the calling job was abandoned.
    ReportSink* target() const;

    std::shared_ptr<ReportSink> m_target;
};

} // namespace qb::browser
