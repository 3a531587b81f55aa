#include "explorer/browser/xElementSchemaT.h"

#include "common/ReportSink.h"
#include "dataaccess/ErrorText.h"
#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/SchemaItemReader.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

namespace qb::browser {

using namespace qb::data;

namespace {

const QString kEmptyItemText = QStringLiteral("(EMPTY)");

// The last two steps of every load, however it ends.
class LoadEnd {
public:
    explicit LoadEnd(ReportSink& sink) : m_sink(sink) {}
    ~LoadEnd()
    {
        m_sink.postText(QString(), 100);
        m_sink.hideProgress();
    }

private:
    ReportSink& m_sink;
};

} // namespace

xElementSchemaT::xElementSchemaT(const Kind& kind, ReportSink& sink, SessionSource session,
                                 std::unique_ptr<SchemaItemReader> reader)
    : xElement(kind, sink), m_session(std::move(session)), m_reader(std::move(reader))
{
}

xElementSchemaT::~xElementSchemaT() = default;

void xElementSchemaT::show_data(const ShowRequest& request)
{
    if (request.refresh)
        clear();
    ReportSink& out = sink();
    if (isLoaded()) {
        if (request.redraw)
            rebuildListColumns(out, m_reader->listColumns());
        return;
    }

    std::unique_lock<std::mutex> loadGuard = lockForLoad(m_loadMutex);
    if (!loadGuard.owns_lock())
        return; // a load is running; its end shows the items
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> guard(m_itemsMutex);
        if (m_loaded) // another load finished while this one waited
            return;
        generation = m_generation;
    }
    LoadEnd end(out);
    out.setProgressRange(0, 100);
    out.setProgressPos(1);
    out.postText(QString(), 1);
    if (request.redraw)
        rebuildListColumns(out, m_reader->listColumns());
    out.postStage(kStageLoadElementInfo, 10);
    if (std::optional<std::vector<SchemaItem>> items = load())
        publish(std::move(*items), generation);
}

std::optional<std::vector<SchemaItem>> xElementSchemaT::load()
{
    ReportSink& out = sink();
    std::shared_ptr<Session> session = m_session ? m_session() : nullptr;
    if (!session) {
        out.addError(composeMessage(loadString(kActionElementsInfo), loadString(kTextNoConnection)));
        return std::nullopt;
    }
    std::unique_ptr<Rowset> rowset;
    std::unique_ptr<SchemaRow> row;
    try {
        rowset = m_reader->open(*session);
        row = std::make_unique<SchemaRow>(*rowset, m_reader->rowColumns());
    } catch (const ProviderError& e) {
        if (!(loadStopRequested() && e.hr() == DB_E_CANCELED))
            out.addError(composeMessage(kActionElementsInfo, e));
        return std::nullopt;
    }

    std::vector<SchemaItem> items;
    const QString stage = loadString(kStageEnumerateElements);
    out.postText(stage, 30);
    try {
        while (rowset->next()) {
            row->fetch();
            items.push_back(m_reader->makeItem(*row));
            const QString& name = items.back().fields.front();
            out.postText(stage + QLatin1Char(' ') + QString::number(items.size()) + QLatin1String("/\"") + name +
                             QLatin1Char('"'),
                         30);
        }
    } catch (const ProviderError& e) {
        // A stop interrupts the statement; that is not a failure to report.
        if (!(loadStopRequested() && e.hr() == DB_E_CANCELED))
            out.addError(composeMessage(kActionElementInfo, e));
    }
    return items;
}

void xElementSchemaT::publish(std::vector<SchemaItem> items, uint64_t generation)
{
    std::lock_guard<std::mutex> guard(m_itemsMutex);
    if (generation != m_generation)
        return; // cleared while loading: the rows belong to a closed connection
    m_items = std::move(items);
    m_loaded = true;
}

void xElementSchemaT::clear()
{
    std::lock_guard<std::mutex> guard(m_itemsMutex);
    m_items.clear();
    m_loaded = false;
    ++m_generation;
}

bool xElementSchemaT::isLoaded() const
{
    std::lock_guard<std::mutex> guard(m_itemsMutex);
    return m_loaded;
}

int xElementSchemaT::itemCount() const
{
    std::lock_guard<std::mutex> guard(m_itemsMutex);
    return static_cast<int>(m_items.size());
}

bool xElementSchemaT::itemField(int item, int field, QString* text) const
{
    std::lock_guard<std::mutex> guard(m_itemsMutex);
    if (item < 0 || static_cast<size_t>(item) >= m_items.size())
        return false;
    const auto& fields = m_items[static_cast<size_t>(item)].fields;
    if (field < 0 || static_cast<size_t>(field) >= fields.size())
        return false;
    *text = fields[static_cast<size_t>(field)];
    return true;
}

QString xElementSchemaT::cellText(int item, int column) const
{
    QString text;
    if (itemField(item, column, &text))
        return text;
    return item >= 0 && item < itemCount() ? QString() : kEmptyItemText;
}

int xElementSchemaT::itemImage(int item, int) const
{
    return item >= 0 && item < itemCount() ? m_reader->itemImage() : kNoImage;
}

std::optional<SchemaItem> xElementSchemaT::findItem(const QString& text) const
{
    std::lock_guard<std::mutex> guard(m_itemsMutex);
    for (const SchemaItem& item : m_items)
        if (!item.fields.empty() && item.fields.front() == text)
            return item;
    return std::nullopt;
}

} // namespace qb::browser
