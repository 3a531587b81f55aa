#include "explorer/browser/xElement_DB.h"

#include "common/ReportSink.h"
#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/ListColumns.h"
#include "platform/StringTable.h"

namespace qb::browser {

namespace {

constexpr ListColumnSpec kColumns[] = {{kTextName, 300}};

} // namespace

xElement_DB::xElement_DB(ReportSink& sink)
    : xElement({kDatabaseElement, kTextDataBase, kDatabaseImage, kNoRelative, kNoRelative}, sink)
    , m_folders{{
          {loadString(kTextTables), kTablesFolderImage, kTablesFolder},
          {loadString(kTextStoreProcedures), kProceduresFolderImage, kProceduresFolder},
          {loadString(kTextTableViews), kViewsFolderImage, kViewsFolder},
      }}
{
}

void xElement_DB::show_data(const ShowRequest& request)
{
    ReportSink& out = sink();
    out.setProgressRange(0, 100);
    out.setProgressPos(1);
    if (request.redraw)
        rebuildListColumns(out, kColumns);
    out.postText(QString(), 100);
    out.hideProgress();
}

QString xElement_DB::cellText(int item, int column) const
{
    if (item < 0 || item >= itemCount() || column != 0)
        return {};
    return m_folders[static_cast<size_t>(item)].caption;
}

int xElement_DB::itemImage(int item, int) const
{
    if (item < 0 || item >= itemCount())
        return kNoImage;
    return m_folders[static_cast<size_t>(item)].imageIndex;
}

int xElement_DB::childKind(int item) const
{
    if (item < 0 || item >= itemCount())
        return kNoRelative;
    return m_folders[static_cast<size_t>(item)].childId;
}

} // namespace qb::browser
