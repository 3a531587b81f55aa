// The spool against the rowset it copies: every binding a provider honours gives the same value,
// length and status from the copy as from the source; pages are reached from anywhere; the source
// is read once, never restarted, and released when it ends or fails.
#include "dataaccess/MemoryRowset.h"
#include "dataaccess/Spool.h"
#include "dataaccess/SpoolFile.h"
#include "dataaccess/SpoolRowset.h"

#include <gtest/gtest.h>

#include <QString>
#include <cstring>
#include <memory>

using namespace qb::data;

namespace {

using Row = MemoryRowset::Row;

// A MemoryRowset that counts what is asked of it and can fail after some rows. Unlike a
// MemoryRowset it does not say it holds its rows whole, so the spool reads long values from it
// as streams, as from an ODBC driver.
class CountingRowset : public Rowset {
public:
    CountingRowset(std::vector<ColumnInfo> columns, std::vector<Row> rows, int failAfter = -1, int* alive = nullptr)
        : m_rows(std::move(columns), std::move(rows)), m_failAfter(failAfter), m_alive(alive)
    {
        if (m_alive)
            ++*m_alive;
    }
    ~CountingRowset() override
    {
        if (m_alive)
            --*m_alive;
    }
    std::vector<ColumnInfo> columns() const override { return m_rows.columns(); }
    void setBindings(std::vector<Binding> bindings) override { m_rows.setBindings(std::move(bindings)); }
    void restart() override
    {
        ++restarts;
        m_rows.restart();
    }
    bool next(uint64_t skip = 0) override
    {
        if (m_failAfter >= 0 && fetches >= m_failAfter)
            throw ProviderError(E_FAIL, QStringLiteral("connection lost"));
        ++fetches;
        return m_rows.next(skip);
    }
    void getData(std::byte* row) override { m_rows.getData(row); }
    std::optional<qb::data::HeldKind> currentValueKind(uint32_t ordinal) const override { return m_rows.currentValueKind(ordinal); }

    int restarts = 0;
    int fetches = 0;

private:
    MemoryRowset m_rows;
    int m_failAfter;
    int* m_alive;
};

const std::vector<ColumnInfo> kColumns = {
    {QStringLiteral("n"), 1, 8, DBTYPE_I8},
    {QStringLiteral("r"), 2, 8, DBTYPE_R8},
    {QStringLiteral("w"), 3, 40, DBTYPE_WSTR},
    {QStringLiteral("b"), 4, 16, DBTYPE_BYTES},
    {QStringLiteral("lw"), 5, kLongValueSize, DBTYPE_WSTR},
    {QStringLiteral("lb"), 6, kLongValueSize, DBTYPE_BYTES},
    {QStringLiteral("ls"), 7, kLongValueSize, DBTYPE_STR},
};

QString longText(int n)
{
    QString s;
    for (int i = 0; s.size() < n; ++i)
        s += QStringLiteral("Grüße 😀 %1 ").arg(i);
    return s.left(n);
}

QByteArray longBytes(int n)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char(i * 31 + 7);
    return b;
}

// Rows with every kind of value in every kind of column: numbers, text (non-ASCII, surrogate
// pairs, empty), bytes, NULL, text in a bytes column and a number in a text column (as SQLite
// columns may hold), and every `bigEvery` rows long values far larger than the reader's window.
std::vector<Row> sampleRows(int count, int bigEvery = 50)
{
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        Row r;
        r.push_back(i % 7 == 3 ? QVariant() : QVariant(qlonglong(i) * (i % 2 ? -1 : 1) * 1000003));
        r.push_back(i % 5 == 1 ? QVariant(QStringLiteral("not a number")) : QVariant(i * 0.1));
        r.push_back(i % 4 == 0   ? QVariant(QStringLiteral("Žofie %1 😀").arg(i))
                    : i % 4 == 1 ? QVariant(qlonglong(i))
                    : i % 4 == 2 ? QVariant(QString())
                                 : QVariant());
        r.push_back(i % 3 == 0 ? QVariant(longBytes(i % 20)) : i % 3 == 1 ? QVariant(QStringLiteral("text %1").arg(i)) : QVariant());
        r.push_back(i % bigEvery == 7 ? QVariant(longText(100000 + i)) : QVariant(longText(i)));
        r.push_back(i % bigEvery == 9 ? QVariant(longBytes(300000 + i)) : i % 2 ? QVariant(longBytes(i)) : QVariant());
        r.push_back(i % bigEvery == 11 ? QVariant(longText(90000)) : QVariant(QStringLiteral("s%1").arg(i)));
        rows.push_back(std::move(r));
    }
    return rows;
}

// One binding per column (or the columns listed) of the given type and maximum length, 16-byte
// aligned slots.
std::vector<Binding> bindAll(DBTYPE type, uint32_t maxLength, std::vector<uint32_t> ordinals = {})
{
    if (ordinals.empty())
        for (uint32_t c = 1; c <= kColumns.size(); ++c)
            ordinals.push_back(c);
    std::vector<Binding> bindings;
    size_t offset = 0;
    for (uint32_t c : ordinals) {
        Binding b;
        b.ordinal = c;
        b.type = type;
        b.maxLength = maxLength;
        b.valueOffset = offset;
        offset += (std::max<size_t>(maxLength, 8) + 15) & ~size_t(15);
        b.lengthOffset = offset;
        b.statusOffset = offset + 4;
        offset += 16;
        bindings.push_back(b);
    }
    return bindings;
}

size_t rowSize(const std::vector<Binding>& bindings)
{
    return bindings.back().statusOffset + 4;
}

// What a binding put in the row, comparable across rowsets: status, length and the value's bytes
// (inline, behind the pointer, or read from the stream, which is released).
QByteArray rendered(const std::vector<Binding>& bindings, const std::byte* row)
{
    QByteArray out;
    for (const Binding& b : bindings) {
        uint32_t length = 0;
        uint32_t status = 0;
        std::memcpy(&length, row + b.lengthOffset, 4);
        std::memcpy(&status, row + b.statusOffset, 4);
        out += QByteArray::number(status) + '/' + QByteArray::number(length) + ':';
        if (status != DBSTATUS_S_OK && status != DBSTATUS_S_TRUNCATED) {
            out += '|';
            continue;
        }
        const void* p = nullptr;
        std::memcpy(&p, row + b.valueOffset, sizeof p);
        if (b.type == DBTYPE_IUNKNOWN) {
            auto* stream = static_cast<SequentialStream*>(const_cast<void*>(p));
            char block[5000];
            while (const size_t n = stream->read(block, sizeof block))
                out.append(block, qsizetype(n));
            stream->release();
        } else if (b.type & DBTYPE_BYREF) {
            out.append(static_cast<const char*>(p), qsizetype(length));
        } else {
            const size_t size = b.type == DBTYPE_WSTR || b.type == DBTYPE_STR || b.type == DBTYPE_BYTES ? b.maxLength : 8;
            out.append(reinterpret_cast<const char*>(row + b.valueOffset), qsizetype(size));
        }
        out += '|';
    }
    return out;
}

// Every row as the bindings render it; the rowset is at its start.
std::vector<QByteArray> readAll(Rowset& rowset, const std::vector<Binding>& bindings)
{
    std::vector<QByteArray> rows;
    std::vector<std::byte> buffer(rowSize(bindings));
    rowset.restart();
    while (rowset.next()) {
        std::fill(buffer.begin(), buffer.end(), std::byte{0});
        rowset.getData(buffer.data());
        rows.push_back(rendered(bindings, buffer.data()));
    }
    return rows;
}

TEST(Spool, EveryBindingGivesWhatTheSourceGives)
{
    struct Case {
        DBTYPE type;
        uint32_t maxLength;
    } cases[] = {
        {DBTYPE_WSTR, 22}, {DBTYPE_WSTR, 514}, {DBTYPE_STR, 10}, {DBTYPE_STR, 513}, {DBTYPE_BYTES, 6},
        {DBTYPE_BYTES, 512}, {DBTYPE(DBTYPE_WSTR | DBTYPE_BYREF), 0}, {DBTYPE(DBTYPE_STR | DBTYPE_BYREF), 0},
        {DBTYPE_IUNKNOWN, 0}, {DBTYPE_I4, 0}, {DBTYPE_I8, 0}, {DBTYPE_R8, 0}, {DBTYPE_BOOL, 0}, {DBTYPE_CY, 0},
        {DBTYPE_DBTIMESTAMP, 0},
    };
    const std::vector<Row> rows = sampleRows(160);
    // A source that holds its rows whole gives long values by reference; another through streams.
    auto whole = std::make_shared<Spool>(std::make_unique<MemoryRowset>(kColumns, rows));
    auto streamed = std::make_shared<Spool>(std::make_unique<CountingRowset>(kColumns, rows));
    for (const auto& [spool, c] : [&] {
             std::vector<std::pair<std::shared_ptr<Spool>, Case>> all;
             for (const Case& c : cases)
                 for (const auto& s : {whole, streamed})
                     all.emplace_back(s, c);
             return all;
         }()) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " max " << c.maxLength << (spool == whole ? " whole" : " streamed"));
        // Known difference: a streamed long value is copied in its column's declared
        // representation, so a bytes binding on a long text column gives those bytes (checked
        // below), not the form the source happened to hold the text in.
        const bool bytes = (c.type & ~DBTYPE_BYREF) == DBTYPE_BYTES;
        const std::vector<Binding> bindings =
            bytes && spool == streamed ? bindAll(c.type, c.maxLength, {1, 2, 3, 4, 6}) : bindAll(c.type, c.maxLength);
        MemoryRowset source(kColumns, rows);
        source.setBindings(bindings);
        // A new reader on the same spool each time: the first one copies, the others read the copy.
        SpoolRowset copy(spool);
        copy.setBindings(bindings);
        const auto expected = readAll(source, bindings);
        const auto got = readAll(copy, bindings);
        ASSERT_EQ(got.size(), expected.size());
        for (size_t r = 0; r < got.size(); ++r) {
            if (got[r] == expected[r])
                continue;
            qsizetype at = 0;
            while (at < got[r].size() && at < expected[r].size() && got[r][at] == expected[r][at])
                ++at;
            FAIL() << "row " << r << " differs from byte " << at << ": got " << got[r].mid(at, 60).toHex().constData()
                   << ", expected " << expected[r].mid(at, 60).toHex().constData();
        }
    }
}

TEST(Spool, ABytesBindingOnAStreamedLongTextColumnGivesItsDeclaredRepresentation)
{
    const QString text = QStringLiteral("Grüße");
    auto spool = std::make_shared<Spool>(std::make_unique<CountingRowset>(
        std::vector<ColumnInfo>{{QStringLiteral("lw"), 1, kLongValueSize, DBTYPE_WSTR}, {QStringLiteral("ls"), 2, kLongValueSize, DBTYPE_STR}},
        std::vector<Row>{Row{text, text}}));
    SpoolRowset copy(spool);
    const std::vector<Binding> bindings = {
        {1, 0, 64, 68, 64, DBTYPE(DBTYPE_BYTES | DBTYPE_BYREF)}, {2, 80, 144, 148, 64, DBTYPE(DBTYPE_BYTES | DBTYPE_BYREF)}};
    copy.setBindings(bindings);
    ASSERT_TRUE(copy.next());
    std::byte row[160] = {};
    copy.getData(row);
    const QByteArray wide(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    EXPECT_EQ(rendered(bindings, row), "0/10:" + wide + "|0/7:" + text.toUtf8() + "|");
}

TEST(Spool, PagesAreReachedFromAnywhereAndTheSourceIsReadOnceWithoutRestarting)
{
    const std::vector<Row> rows = sampleRows(1234, 600);
    int alive = 0;
    auto owned = std::make_unique<CountingRowset>(kColumns, rows, -1, &alive);
    auto spool = std::make_shared<Spool>(std::move(owned));
    SpoolRowset copy(spool);
    const std::vector<Binding> bindings = bindAll(DBTYPE_WSTR, 40);
    copy.setBindings(bindings);
    MemoryRowset reference(kColumns, rows);
    reference.setBindings(bindings);
    std::vector<std::byte> a(rowSize(bindings)), b(rowSize(bindings));
    const auto rowAt = [&](Rowset& r) -> QByteArray {
        std::vector<std::byte>& buffer = &r == &copy ? a : b;
        std::fill(buffer.begin(), buffer.end(), std::byte{0});
        r.getData(buffer.data());
        return rendered(bindings, buffer.data());
    };

    // Forward with skips (into rows not copied yet), then back to earlier pages from a restart,
    // the way the table data pages: restart, next, next(first - 1).
    const std::vector<std::pair<bool, uint64_t>> moves = {
        {false, 0}, {false, 5}, {false, 299}, {false, 0}, {true, 0}, {false, 999}, {true, 0}, {false, 99},
        {true, 0}, {false, 1232}, {false, 0}, {true, 0}, {false, 1199}, {false, 33}, {true, 0}, {false, 150},
    };
    for (const auto& [restart, skip] : moves) {
        SCOPED_TRACE(testing::Message() << "restart " << restart << " skip " << skip);
        if (restart) {
            copy.restart();
            reference.restart();
        }
        const bool there = reference.next(skip);
        ASSERT_EQ(copy.next(skip), there);
        if (there) {
            ASSERT_EQ(rowAt(copy), rowAt(reference));
        }
    }
    EXPECT_FALSE(copy.next(5000));
    EXPECT_EQ(spool->rowsHeld(), 1234u);
    EXPECT_TRUE(spool->finished());
    EXPECT_EQ(alive, 0) << "the source goes as soon as it has given its last row";
}

TEST(Spool, CountingThenReadingAsksTheSourceForEachRowOnce)
{
    int alive = 0;
    CountingRowset source(kColumns, sampleRows(250), -1, &alive);
    auto spool = std::make_shared<Spool>(source);
    SpoolRowset copy(spool);
    copy.setBindings(bindAll(DBTYPE_STR, 40));
    for (int pass = 0; pass < 3; ++pass) {
        copy.restart();
        int n = 0;
        while (copy.next())
            ++n;
        EXPECT_EQ(n, 250);
    }
    EXPECT_EQ(source.restarts, 0);
    EXPECT_EQ(source.fetches, 251) << "each row once, and once to learn the end";
    EXPECT_EQ(alive, 1) << "a borrowed source stays its owner's";
}

// Prior to the fix an empty row buffer handed a null pointer to memset (undefined behaviour,
// reported by the sanitizer) for every row of a rowset without columns.
TEST(Spool, RowsWithoutColumnsAreCountedAndRead)
{
    auto spool = std::make_shared<Spool>(std::make_unique<MemoryRowset>(std::vector<ColumnInfo>{}, std::vector<Row>(3)));
    SpoolRowset copy(spool);
    copy.setBindings({});
    copy.restart();
    int n = 0;
    while (copy.next()) {
        copy.getData(nullptr);
        ++n;
    }
    EXPECT_EQ(n, 3);
}

TEST(Spool, AFailingSourceEndsTheRowsAfterTheOnesBeforeIt)
{
    int alive = 0;
    auto spool = std::make_shared<Spool>(std::make_unique<CountingRowset>(kColumns, sampleRows(250), 120, &alive));
    SpoolRowset copy(spool);
    const std::vector<Binding> bindings = bindAll(DBTYPE_WSTR, 40);
    copy.setBindings(bindings);
    int n = 0;
    try {
        while (copy.next())
            ++n;
        ADD_FAILURE() << "the failure does not pass for the end of the rows";
    } catch (const SpoolError&) {
        ADD_FAILURE() << "the source's failure is not the spool's";
    } catch (const ProviderError& e) {
        EXPECT_EQ(e.description(), u"connection lost");
    }
    EXPECT_EQ(n, 120);
    EXPECT_EQ(alive, 0);
    // What was copied stays readable; the end comes where the failure was.
    MemoryRowset reference(kColumns, sampleRows(120));
    reference.setBindings(bindings);
    EXPECT_EQ(readAll(copy, bindings), readAll(reference, bindings));
}

TEST(Spool, WholeValuesOfAPageStayReadableFromAnotherReader)
{
    const std::vector<Row> rows = sampleRows(260);
    auto spool = std::make_shared<Spool>(std::make_unique<CountingRowset>(kColumns, rows));
    SpoolRowset pages(spool);
    pages.setBindings(bindAll(DBTYPE_WSTR, 514));
    while (pages.next()) {
    }
    // As the table data hands a cell to a plug-in: a reader of its own, one stream binding.
    SpoolRowset cell(spool);
    Binding b;
    b.ordinal = 6;
    b.type = DBTYPE_IUNKNOWN;
    b.valueOffset = 0;
    b.lengthOffset = 8;
    b.statusOffset = 12;
    cell.setBindings({b});
    ASSERT_TRUE(cell.next(209));
    std::byte record[16] = {};
    cell.getData(record);
    SequentialStream* stream = nullptr;
    std::memcpy(&stream, record, sizeof stream);
    ASSERT_NE(stream, nullptr);
    cell.restart(); // the stream outlives the row
    QByteArray value;
    char block[777];
    while (const size_t n = stream->read(block, sizeof block))
        value.append(block, qsizetype(n));
    stream->release();
    EXPECT_EQ(value, rows[209][5].toByteArray());
    EXPECT_EQ(value.size(), 300209);
}

} // namespace
