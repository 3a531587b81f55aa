#include "explorer/browser/JobReportSink.h"

#include "explorer/browser/LoaderJobToken.h"

namespace qb::browser {

JobReportSink::JobReportSink(std::shared_ptr<ReportSink> target) : m_target(std::move(target)) {}

ReportSink* JobReportSink::target() const
{
    const LoaderJobToken* job = LoaderJobToken::current();
    return job && job->abandoned() ? nullptr : m_target.get();
}

void JobReportSink::setProgressRange(int minimum, int maximum)
{
    if (ReportSink* t = target())
        t->setProgressRange(minimum, maximum);
}

void JobReportSink::setProgressPos(int pos)
{
    if (ReportSink* t = target())
        t->setProgressPos(pos);
}

void JobReportSink::hideProgress()
{
    if (ReportSink* t = target())
        t->hideProgress();
}

void JobReportSink::postText(const QString& text, int pos)
{
    if (ReportSink* t = target())
        t->postText(text, pos);
}

void JobReportSink::postStage(int stringId, int pos)
{
    if (ReportSink* t = target())
        t->postStage(stringId, pos);
}

void JobReportSink::clearListColumns()
{
    if (ReportSink* t = target())
        t->clearListColumns();
}

void JobReportSink::addListColumn(const QString& text, int index, int width, int format)
{
    if (ReportSink* t = target())
        t->addListColumn(text, index, width, format);
}

void JobReportSink::setColumnWidth(int index, int width)
{
    if (ReportSink* t = target())
        t->setColumnWidth(index, width);
}

void JobReportSink::addError(const QString& text)
{
    if (ReportSink* t = target())
        t->addError(text);
}

void JobReportSink::addInformation(const QString& text)
{
    if (ReportSink* t = target())
        t->addInformation(text);
}

} // namespace qb::browser
