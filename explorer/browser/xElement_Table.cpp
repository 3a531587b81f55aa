#include "explorer/browser/xElement_Table.h"

#include "common/ReportSink.h"
#include "dataaccess/ErrorText.h"
#include "dataaccess/TableData.h"
#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/ListColumns.h"
#include "explorer/browser/TableLoadReport.h"
#include "explorer/plugins/BlobStorage.h"
#include "platform/StringTable.h"

#include <algorithm>
#include <limits>

namespace qb::browser {

using namespace qb::data;

xElement_Table::xElement_Table(const Kind& kind, ReportSink& sink, SessionSource session)
    : xElement(kind, sink), m_session(std::move(session)), m_data(std::make_unique<TableData>()),
      m_blobStorage(std::make_unique<plugins::BlobStorage>(*m_data, sink))
{
}

xElement_Table::~xElement_Table() = default;

plugins::CellValueSource* xElement_Table::cellValueSource()
{
    return m_blobStorage.get();
}

const QString& xElement_Table::blobStorageError() const
{
    return m_blobStorage->creationError();
}

void xElement_Table::show_data(const ShowRequest& request)
{
    std::unique_lock<std::mutex> loadGuard = lockForLoad(m_loadMutex);
    if (!loadGuard.owns_lock())
        return; // a load is running; its end shows the rows
    if (request.refresh)
        clear();
    ObjectName object;
    uint64_t generation = 0;
    bool loadedAsAsked = false;
    {
        std::lock_guard<std::mutex> guard(m_stateMutex);
        m_lastRequest = request;
        m_lastSqlGaveNoRows = false;
        object = m_object;
        generation = m_generation;
        loadedAsAsked = m_loaded && m_loaded->object == object && m_loaded->sql == request.sql;
    }
    if (loadedAsAsked && m_data->isLoaded()) {
        if (request.redraw)
            rebuildResultColumns(sink(), m_data->columns());
        return;
    }
    if (!loadStopRequested())
        get_data(request, object, generation);
}

void xElement_Table::get_data(const ShowRequest& request, const ObjectName& object, uint64_t generation)
{
    std::shared_ptr<Session> session = m_session ? m_session() : nullptr;
    if (!session) {
        ReportSink& out = sink();
        out.addError(composeMessage(loadString(kActionTableData), loadString(kTextNoConnection)));
        out.postText(QString(), 100);
        out.hideProgress();
        return;
    }
    // Blank SQL text shows the object itself.
    TableLoadReport report(sink());
    const TableData::LoadResult result = request.sql.trimmed().isEmpty()
                                             ? m_data->loadObject(session, object, request.redraw, report)
                                             : m_data->loadUserSql(session, request.sql, request.redraw, report);

    std::lock_guard<std::mutex> guard(m_stateMutex);
    m_lastSqlGaveNoRows = result == TableData::LoadResult::NoRowset && !request.sql.isEmpty();
    if (generation != m_generation) {
        // Closed while loading: these rows belong to a connection that is gone.
        m_data->clearData();
        return;
    }
    m_loaded = LoadedKey{object, request.sql};
}

std::optional<ShowRequest> xElement_Table::currentShowRequest() const
{
    std::lock_guard<std::mutex> guard(m_stateMutex);
    std::optional<ShowRequest> request = m_lastRequest;
    if (request && m_lastSqlGaveNoRows)
        request->sql.clear();
    return request;
}

void xElement_Table::clear()
{
    {
        std::lock_guard<std::mutex> guard(m_stateMutex);
        m_loaded.reset();
        ++m_generation;
    }
    m_data->clearData();
}

bool xElement_Table::isLoaded() const
{
    return m_data->isLoaded();
}

int xElement_Table::itemCount() const
{
    const uint64_t rows = m_data->rowCount();
    return static_cast<int>(std::min<uint64_t>(rows, std::numeric_limits<int>::max()));
}

int xElement_Table::listItemCount() const
{
    return m_data->isLoaded() ? std::min(m_data->rowsOnCurrentPage(), kPageSize) : 0;
}

QString xElement_Table::cellText(int item, int column) const
{
    return m_data->cellText(item, column);
}

QString xElement_Table::cellDescription(int item, int column) const
{
    return m_data->cellDescription(item, column);
}

int xElement_Table::itemImage(int item, int column) const
{
    return column == 0 && item >= 0 && item < listItemCount() ? imageIndex() : kNoImage;
}

TableData* xElement_Table::tableData()
{
    return m_data.get();
}

std::optional<QString> xElement_Table::queryText() const
{
    return m_data->queryText();
}

QString xElement_Table::name() const
{
    return objectName().displayName();
}

std::optional<ObjectName> xElement_Table::object() const
{
    return objectName();
}

ObjectName xElement_Table::objectName() const
{
    std::lock_guard<std::mutex> guard(m_stateMutex);
    return m_object;
}

void xElement_Table::setObjectName(const ObjectName& object)
{
    std::lock_guard<std::mutex> guard(m_stateMutex);
    m_object = object;
}

} // namespace qb::browser
