#include "explorer/browser/TableLoadReport.h"

#include "common/ReportSink.h"
#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/ListColumns.h"
#include "platform/StringTable.h"

namespace qb::browser {

using data::LoadStage;

namespace {

int stageText(LoadStage stage)
{
    switch (stage) {
    case LoadStage::Preparing:
        return kStagePrepare;
    case LoadStage::ReadingColumns:
        return kStageColumns;
    case LoadStage::Binding:
        return kStageAccessor;
    case LoadStage::ShowingColumns:
        return kStageRedraw;
    case LoadStage::ReadingRows:
        return kStageLoad;
    case LoadStage::CreatingCache:
        return kStageCache;
    case LoadStage::ReadingFirstPage:
        return kStageEnumerate;
    case LoadStage::Started:
    case LoadStage::Loaded:
    case LoadStage::Finished:
        break;
    }
    return 0;
}

} // namespace

void TableLoadReport::progress(const data::LoadProgress& p)
{
    switch (p.stage) {
    case LoadStage::Started:
        m_sink.setProgressRange(0, 100);
        m_sink.setProgressPos(p.position);
        return;
    case LoadStage::Loaded:
        m_sink.postText(QString(), p.position);
        return;
    case LoadStage::Finished:
        m_sink.postText(QString(), p.position);
        m_sink.hideProgress();
        return;
    case LoadStage::ReadingFirstPage:
        if (p.row > 0) {
            m_sink.postText(loadString(kStageEnumerate) + QStringLiteral(" [ row number %1 ]").arg(p.row), p.position);
            return;
        }
        break;
    default:
        break;
    }
    m_sink.postStage(stageText(p.stage), p.position);
}

void TableLoadReport::columnsRead(const std::vector<data::ColumnInfo>& columns)
{
    rebuildResultColumns(m_sink, columns);
}

void TableLoadReport::error(const QString& message)
{
    m_sink.addError(message);
}

} // namespace qb::browser
