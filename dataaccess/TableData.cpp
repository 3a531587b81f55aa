#include "dataaccess/TableData.h"

#include "dataaccess/BindingRules.h"
#include "dataaccess/ErrorText.h"
#include "dataaccess/LoadSink.h"
#include "dataaccess/RowCache.h"
#include "dataaccess/RowidPages.h"
#include "dataaccess/ServerCount.h"
#include "dataaccess/Spool.h"
#include "dataaccess/SpoolRowset.h"
#include "dataaccess/ValueConversion.h"
#include "dataaccess/ValueFormat.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

#include <algorithm>
#include <cstring>

namespace qb::data {
namespace {

constexpr int kNoCapacityLimit = -1;
constexpr size_t kRecordSize = sizeof(ColumnBinding);

} // namespace

// Everything a load builds; published whole under the cache lock.
struct TableData::Content {
    std::shared_ptr<Session> session;
    std::shared_ptr<Spool> spool; // SQL the user typed: its rows, which `rowset` reads
    std::unique_ptr<Rowset> rowset;
    std::optional<RowidPages> rowidPages; // a table with row ids: later pages are read by row id
    // Other objects, where the provider has one: a cursor the server positions on a page's first
    // row. Opened at the first page move (a table that is only looked at holds nothing on the
    // server); dropped for good when it fails, and pages are read by restart-and-skip instead.
    std::unique_ptr<Rowset> pageCursor;
    bool pageCursorTried = false;
    std::vector<ColumnInfo> columns;
    std::vector<ColumnBinding> rowBuffer; // one record per column, bound by `bindings`
    std::vector<Binding> bindings;
    RowCache cache;
    QString query;
    QString quotedObject; // the plain scan's object; empty for SQL the user typed

    std::byte* buffer() { return reinterpret_cast<std::byte*>(rowBuffer.data()); }

    // The positioned cursor over the program's own scan, opened on first use; nullptr where there
    // is none. A cursor that cannot be opened (no second connection allowed, say) is not an error:
    // the pages are then read as before.
    Rowset* cursorForPages()
    {
        if (pageCursorTried || rowidPages || spool)
            return pageCursor.get();
        pageCursorTried = true;
        try {
            pageCursor = session->executePositioned(query);
            if (pageCursor)
                pageCursor->setBindings(bindings);
        } catch (const ProviderError&) {
            pageCursor.reset();
        }
        return pageCursor.get();
    }

    // Releases the streams of the row just read and zeroes every value area, terminator and pointer.
    void clearRowBuffer()
    {
        for (ColumnBinding& b : rowBuffer) {
            if (b.boundType == DBTYPE_IUNKNOWN && !b.boundByDeclaredType && b.pointer && b.status != DBSTATUS_S_ISNULL)
                static_cast<SequentialStream*>(b.pointer)->release();
            std::memset(b.value, 0, sizeof b.value + sizeof b.terminator);
            b.pointer = nullptr;
        }
    }

    // Copies the row buffer into cache row r, bringing the first bytes of by-reference and stream
    // values into the value area. Never copies more than the value area holds, nor more than the
    // provider's value has, and never cuts inside a character.
    void copyRowToCache(int r)
    {
        ColumnBinding* target = cache.row(r);
        for (size_t c = 0; c < rowBuffer.size(); ++c) {
            ColumnBinding& b = rowBuffer[c];
            const DBTYPE declared = columns[c].type;
            const bool byRef = (b.boundType & DBTYPE_BYREF) != 0;
            const bool stream = b.boundType == DBTYPE_IUNKNOWN && !b.boundByDeclaredType;
            if ((byRef || stream) && b.status != DBSTATUS_S_ISNULL && b.pointer) {
                size_t n = 0;
                if (byRef) {
                    n = std::min<size_t>(b.length, ColumnBinding::kValueCapacity);
                    std::memcpy(b.value, b.pointer, n);
                } else {
                    n = static_cast<SequentialStream*>(b.pointer)->read(b.value, ColumnBinding::kValueCapacity);
                }
                const size_t keep = declared == DBTYPE_WSTR
                                        ? 2 * utf16CutLength(reinterpret_cast<const char16_t*>(b.value), n / 2, n / 2)
                                    : declared == DBTYPE_BYTES ? n
                                                               : utf8CutLength(reinterpret_cast<const char*>(b.value), n, n);
                std::memset(b.value + keep, 0, ColumnBinding::kValueCapacity - keep);
            }
            target[c] = b;
            target[c].pointer = nullptr; // the provider's memory and the stream do not outlive the row
        }
    }

    // Reads at most `limit` rows (a page, or what the row count leaves for the last one) into the
    // cache: rows the count did not see are not shown, so the page never disagrees with the count.
    void fillPage(Rowset& source, bool haveRow, int limit, int* rowsCopied, const std::function<void(int)>& perRow)
    {
        int rows = 0;
        while (haveRow && rows < limit) {
            source.getData(buffer());
            copyRowToCache(rows);
            clearRowBuffer();
            ++rows;
            *rowsCopied = rows;
            if (perRow)
                perRow(rows);
            if (rows < limit)
                haveRow = source.next();
        }
    }

    // Row `row` of page `page` again, bound by `binding` alone, handed to `read`: from the spool,
    // from the page's row id, by the page cursor (which gets the page's bindings back afterwards),
    // or by restart-and-skip.
    void readRowAgain(int page, int row, const Binding& binding, const std::function<void(Rowset&)>& read)
    {
        const uint64_t absolute = uint64_t(page) * RowCache::kPageSize + uint64_t(row);
        if (Rowset* cursor = spool ? nullptr : cursorForPages()) {
            struct Rebind {
                Rowset& rows;
                const std::vector<Binding>& bindings;
                ~Rebind()
                {
                    try {
                        rows.setBindings(bindings);
                    } catch (const ProviderError&) {
                        // accepted for the pages before, so accepted again
                    }
                }
            } rebind{*cursor, bindings};
            cursor->setBindings({binding});
            if (!cursor->moveTo(absolute))
                throw ProviderError(E_UNEXPECTED, QStringLiteral("The row is no longer there."));
            read(*cursor);
            return;
        }
        uint64_t skip = absolute;
        std::unique_ptr<Rowset> rows;
        if (spool) {
            rows = std::make_unique<SpoolRowset>(spool);
        } else if (rowidPages) {
            rows = rowidPages->rowsOfPage(*session, page, RowCache::kPageSize);
            skip = uint64_t(row);
        } else {
            rows = session->execute(query);
        }
        if (!rows)
            throw ProviderError(E_UNEXPECTED, QStringLiteral("The query no longer returns rows."));
        rows->setBindings({binding});
        if (!rows->next(skip))
            throw ProviderError(E_UNEXPECTED, QStringLiteral("The row is no longer there."));
        read(*rows);
    }

    // One seek to the page's first row id; the statement ends with the page (no lock kept).
    void readPageByRowid(int page, int limit, int* rowsCopied)
    {
        std::unique_ptr<Rowset> rows = rowidPages->rowsOfPage(*session, page, RowCache::kPageSize);
        if (!rows)
            return;
        rows->setBindings(bindings);
        fillPage(*rows, rows->next(), limit, rowsCopied, nullptr);
    }

    // False where there is no positioned cursor, or it failed (the server ended it, say): the
    // page is then still to be read, and so are the next ones, by the other way.
    bool readPageByCursor(uint64_t first, int limit, int* rowsCopied)
    {
        Rowset* cursor = cursorForPages();
        if (!cursor)
            return false;
        try {
            fillPage(*cursor, cursor->moveTo(first), limit, rowsCopied, nullptr);
            return true;
        } catch (const ProviderError&) {
            clearRowBuffer();
            pageCursor.reset();
            *rowsCopied = 0;
            return false;
        }
    }

    // The scan from its start again, skipping the rows before the page; no lock kept afterwards.
    void readPageBySkipping(uint64_t first, int limit, int* rowsCopied)
    {
        rowset->restart();
        bool haveRow = rowset->next();
        if (haveRow && first != 0) {
            clearRowBuffer();
            haveRow = rowset->next(first - 1);
        }
        fillPage(*rowset, haveRow, limit, rowsCopied, nullptr);
        rowset->suspend();
    }
};

TableData::TableData() = default;

TableData::~TableData() = default;

TableData::LoadResult TableData::loadObject(const std::shared_ptr<Session>& session, const ObjectName& object,
                                            bool redraw, LoadSink& sink)
{
    return load(session, Origin::ObjectScan, object, QString(), redraw, sink);
}

TableData::LoadResult TableData::loadUserSql(const std::shared_ptr<Session>& session, const QString& sqlText,
                                             bool redraw, LoadSink& sink)
{
    return load(session, Origin::UserSql, ObjectName(), sqlText, redraw, sink);
}

TableData::LoadResult TableData::load(const std::shared_ptr<Session>& session, Origin origin, const ObjectName& object,
                                      const QString& sqlText, bool redraw, LoadSink& sink)
{
    struct Finish {
        LoadSink& sink;
        ~Finish()
        {
            sink.progress({LoadStage::Finished, 100});
        }
    } finish{sink};

    clearData();
    sink.progress({LoadStage::Started, 1});

    sink.progress({LoadStage::Preparing, 2});
    if (!session) {
        sink.error(composeMessage(loadString(kActionColumnInfo), QStringLiteral("No connection is open.")));
        return LoadResult::Failed;
    }
    const QString quotedObject = origin == Origin::UserSql ? QString()
                                                           : quoteObjectName(object, session->identifierQuoteOpen(),
                                                                             session->identifierQuoteClose());
    const QString query = origin == Origin::UserSql ? sqlText : QStringLiteral("select * from ") + quotedObject;
    {
        std::lock_guard lock(m_queryMutex);
        m_queryText = query;
    }

    auto content = std::make_unique<Content>();
    content->session = session;
    content->query = query;
    content->quotedObject = quotedObject;
    bool publishPartial = false;
    try {
        // The user's statement runs once: its rows are spooled as they are counted, and the pages
        // read the spool. The program's scan is read again from its start for each pass.
        sink.progress({LoadStage::ReadingColumns, 5});
        try {
            content->rowset = session->execute(query);
            if (!content->rowset)
                return LoadResult::NoRowset;
            if (origin == Origin::UserSql) {
                content->spool = std::make_shared<Spool>(std::move(content->rowset));
                content->rowset = std::make_unique<SpoolRowset>(content->spool);
            }
            content->columns = content->rowset->columns();
        } catch (const ProviderError& e) {
            throw actionError(kActionColumnInfo, e);
        }

        sink.progress({LoadStage::Binding, 15});
        const size_t columnCount = content->columns.size();
        content->rowBuffer.resize(columnCount);
        for (size_t c = 0; c < columnCount; ++c)
            content->rowBuffer[c] = bindingRecordFor(content->columns[c]);
        sink.progress({LoadStage::Binding, 20});
        for (size_t c = 0; c < columnCount; ++c)
            content->bindings.push_back(providerBindingFor(content->rowBuffer[c], content->columns[c], c * kRecordSize));

        sink.progress({LoadStage::ShowingColumns, 25});
        if (redraw)
            sink.columnsRead(content->columns);

        sink.progress({LoadStage::ReadingRows, 30});
        try {
            content->rowset->setBindings(content->bindings);
        } catch (const ProviderError& e) {
            throw actionError(kActionTableData, e);
        }
        publishPartial = true;

        // The program's own scan is counted by the engine, and its one execution then reads only
        // the first page. The user's statement (or a source that refuses the count) is walked.
        sink.progress({LoadStage::ReadingRows, 45});
        std::optional<uint64_t> rows;
        try {
            if (origin == Origin::ObjectScan) {
                rows = countOnServer(*session, quotedObject);
                content->rowidPages = RowidPages::open(*session, quotedObject, content->columns);
            }
            if (!rows) {
                rows = 0;
                content->rowset->restart();
                while (content->rowset->next())
                    ++*rows;
            }
        } catch (const ProviderError& e) {
            throw actionError(kActionTableData, e);
        }

        sink.progress({LoadStage::CreatingCache, 50});
        content->cache = RowCache(int(columnCount));

        sink.progress({LoadStage::ReadingFirstPage, 55});
        int copied = 0;
        try {
            content->rowset->restart();
            const int limit = int(std::min<uint64_t>(*rows, RowCache::kPageSize));
            content->fillPage(*content->rowset, content->rowset->next(), limit, &copied, [&](int n) {
                sink.progress({LoadStage::ReadingFirstPage, 80, n});
            });
        } catch (const ProviderError& e) {
            content->cache.setRowsHeld(copied);
            throw actionError(kActionTableData, e);
        }
        content->cache.setRowsHeld(copied);
        content->cache.setRowCount(*rows);
        content->rowset->suspend();

        publish(std::move(content));
        sink.progress({LoadStage::Loaded, 95});
        return LoadResult::Loaded;
    } catch (const Brelib::exception& e) {
        // The element stays as far as it got: with a rowset, loaded with its columns but no rows.
        if (publishPartial) {
            try {
                content->rowset->suspend();
            } catch (const ProviderError&) {
                // the load's own error is the one to report
            }
            content->cache = RowCache(int(content->columns.size()));
            publish(std::move(content));
        }
        sink.error(e.text());
        return LoadResult::Failed;
    }
}

void TableData::publish(std::unique_ptr<Content> content)
{
    std::scoped_lock lock(m_pageMutex, m_cacheMutex);
    m_content = std::move(content);
    m_currentPage = 0;
}

void TableData::loadPage(int page)
{
    std::scoped_lock lock(m_pageMutex, m_cacheMutex);
    if (!m_content || page < 0 || page == m_currentPage || page >= m_content->cache.pageCount())
        return;
    Content& c = *m_content;
    m_currentPage = page;
    int copied = 0;
    c.cache.setRowsHeld(0);
    const uint64_t first = uint64_t(page) * RowCache::kPageSize;
    const int limit = int(std::min<uint64_t>(c.cache.rowCount() - first, RowCache::kPageSize));
    try {
        if (c.rowidPages)
            c.readPageByRowid(page, limit, &copied);
        else if (!c.readPageByCursor(first, limit, &copied))
            c.readPageBySkipping(first, limit, &copied);
    } catch (const ProviderError& e) {
        c.clearRowBuffer();
        c.cache.setRowsHeld(copied);
        throw actionError(kActionFieldData, e);
    }
    c.cache.setRowsHeld(copied);
}

const ColumnBinding* TableData::cellLocked(int row, int column) const
{
    if (!m_content || row < 0 || row >= m_content->cache.rowsHeld() || column < 1 ||
        column > int(m_content->columns.size()))
        return nullptr;
    return m_content->cache.cell(row, column - 1);
}

QString TableData::cellText(int row, int column) const
{
    std::lock_guard lock(m_cacheMutex);
    const ColumnBinding* cell = cellLocked(row, column);
    if (!cell)
        return {};
    if (cell->status == DBSTATUS_S_ISNULL)
        return QString::fromUtf16(kNullText);
    return qb::data::formatValue(cell->boundType, m_content->columns[size_t(column - 1)].type, cell->value,
                                 kNoCapacityLimit);
}

QString TableData::cellDescription(int row, int column) const
{
    std::lock_guard lock(m_cacheMutex);
    const ColumnBinding* cell = cellLocked(row, column);
    if (!cell)
        return {};
    if (cell->status == DBSTATUS_S_ISNULL)
        return QString::fromUtf16(kEmptyText);
    return describeValue(m_content->columns[size_t(column - 1)].type, cell->value);
}

QString TableData::formatValue(int c, const std::byte* valueArea, int capacity) const
{
    std::lock_guard lock(m_cacheMutex);
    if (!m_content || c < 0 || c >= int(m_content->columns.size()))
        return {};
    return qb::data::formatValue(m_content->rowBuffer[size_t(c)].boundType, m_content->columns[size_t(c)].type,
                                 valueArea, capacity);
}

std::optional<DBTYPE> TableData::copyCellValue(int row, int column,
                                               const std::function<void(const std::byte*, size_t)>& write) const
{
    std::scoped_lock lock(m_pageMutex, m_cacheMutex);
    const ColumnBinding* cell = cellLocked(row, column);
    if (!cell)
        throw Brelib::exception(composeMessage(loadString(kActionFieldData), QStringLiteral("There is no such cell.")));
    if (cell->status == DBSTATUS_S_ISNULL)
        return std::nullopt;
    const ColumnInfo& info = m_content->columns[size_t(column - 1)];
    // An inline value that did not fit (a driver whose declared size understates the values) is
    // read whole too, so the viewer never gets a cut value.
    const bool whole = (cell->boundType & DBTYPE_BYREF) || cell->boundType == DBTYPE_IUNKNOWN ||
                       cell->status == DBSTATUS_S_TRUNCATED;
    if (!whole) {
        // The value's own bytes: a viewer must not see the rest of the inline area as data.
        write(cell->value, std::min<size_t>(cell->length, ColumnBinding::kValueCapacity));
        return cell->boundType;
    }
    // The cache holds only the first bytes: read the value again, whole, as a stream.
    try {
        // Read to an empty read, not to the first short one: the value is copied whole even from
        // a stream that returns less than asked before its end. Large blocks: the hand-off writes
        // them on without gathering them first.
        const auto copyStream = [&](SequentialStream* stream) {
            struct Release {
                SequentialStream* s;
                ~Release() { s->release(); }
            } release{stream};
            std::vector<std::byte> block(size_t(1) << 20);
            while (const size_t n = stream->read(block.data(), block.size()))
                write(block.data(), n);
        };
        // A blob of a table the provider reads by its row id straight from the table's pages.
        if (!m_content->spool && m_content->rowidPages && cell->boundType == DBTYPE_IUNKNOWN &&
            info.type == DBTYPE_BYTES) {
            if (const std::optional<SequentialStream*> blob = m_content->rowidPages->openBlob(
                    *m_content->session, m_currentPage, row, RowCache::kPageSize, info.name)) {
                copyStream(*blob);
                return info.type;
            }
        }
        // A long value of a table, where the provider can read it in pieces by the row: else
        // reading the row again would bring the whole row into the driver's memory.
        if (!m_content->spool && !m_content->quotedObject.isEmpty() && cell->boundType == DBTYPE_IUNKNOWN) {
            const uint64_t absolute = uint64_t(m_currentPage) * RowCache::kPageSize + uint64_t(row);
            if (const std::optional<SequentialStream*> pieces =
                    m_content->session->openValueInPieces(m_content->quotedObject, info.name, info.type, absolute)) {
                if (!*pieces)
                    return std::nullopt;
                copyStream(*pieces);
                return info.type;
            }
        }
        ColumnBinding record{};
        Binding b;
        b.ordinal = info.ordinal;
        b.type = DBTYPE_IUNKNOWN;
        b.valueOffset = binding_offsets::kPointer;
        b.lengthOffset = binding_offsets::kLength;
        b.statusOffset = binding_offsets::kStatus;
        std::optional<DBTYPE> type = info.type;
        m_content->readRowAgain(m_currentPage, row, b, [&](Rowset& rows) {
            rows.getData(reinterpret_cast<std::byte*>(&record));
            if (record.status == DBSTATUS_S_ISNULL) {
                type = std::nullopt;
                return;
            }
            if (record.status != DBSTATUS_S_OK || !record.pointer)
                throw ProviderError(DB_E_CANTCONVERTVALUE, QStringLiteral("The value cannot be read as a stream."));
            copyStream(static_cast<SequentialStream*>(record.pointer));
        });
        return type;
    } catch (const ProviderError& e) {
        throw actionError(kActionFieldData, e);
    }
}

void TableData::clearData()
{
    std::unique_ptr<Content> old;
    {
        std::scoped_lock lock(m_pageMutex, m_cacheMutex);
        old = std::move(m_content);
        m_currentPage = 0;
    }
    if (old)
        old->clearRowBuffer();
    // `old` (rowset, page memory) goes here, outside the locks.
}

bool TableData::isLoaded() const
{
    std::lock_guard lock(m_cacheMutex);
    return m_content != nullptr;
}

uint64_t TableData::rowCount() const
{
    std::lock_guard lock(m_cacheMutex);
    return m_content ? m_content->cache.rowCount() : 0;
}

int TableData::pageCount() const
{
    std::lock_guard lock(m_cacheMutex);
    return m_content ? m_content->cache.pageCount() : 0;
}

int TableData::currentPage() const
{
    std::lock_guard lock(m_pageMutex);
    return m_currentPage;
}

int TableData::rowsOnCurrentPage() const
{
    std::lock_guard lock(m_cacheMutex);
    return m_content ? m_content->cache.rowsHeld() : 0;
}

int TableData::columnCount() const
{
    std::lock_guard lock(m_cacheMutex);
    return m_content ? int(m_content->columns.size()) : 0;
}

std::vector<ColumnInfo> TableData::columns() const
{
    std::lock_guard lock(m_cacheMutex);
    return m_content ? m_content->columns : std::vector<ColumnInfo>{};
}

std::optional<ColumnBinding> TableData::columnBinding(int c) const
{
    std::lock_guard lock(m_cacheMutex);
    if (!m_content || c < 0 || c >= int(m_content->rowBuffer.size()))
        return std::nullopt;
    ColumnBinding record = m_content->rowBuffer[size_t(c)];
    std::memset(record.value, 0, sizeof record.value);
    record.pointer = nullptr;
    return record;
}

QString TableData::queryText() const
{
    std::lock_guard lock(m_queryMutex);
    return m_queryText;
}

} // namespace qb::data
