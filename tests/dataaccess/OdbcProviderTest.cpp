// The ODBC provider against both ODBC test backends (the SQLite ODBC driver on a file, psqlODBC on
// the private PostgreSQL server): column types, value conversions, long values by reference and
// as streams, paging moves, schema rowsets, transactions, errors and interrupt between rows.
// Known driver differences are asserted per driver.
#include "dataaccess/InterruptToken.h"
#include "dataaccess/providers/odbc/OdbcProvider.h"
#include "dataaccess/providers/odbc/OdbcTypeMapping.h"
#include "support/BackendsOdbc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <sqlext.h>
#include <sqlucode.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

using namespace qb::data;

namespace qbtest {
namespace {

class OdbcProviderTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        backend = makeOdbcBackend(GetParam(), scratch);
        ASSERT_TRUE(backend);
        session = connect();
    }
    bool isPostgres() const { return GetParam() == "postgres"; }

    std::shared_ptr<Session> connect()
    {
        auto source = createOdbcDataSource(backend->connectionString());
        source->initialize();
        return source->createSession();
    }

    struct Cell {
        DBSTATUS status;
        uint32_t length;
        alignas(8) std::byte value[600];
    };
    static Binding bindingOf(uint32_t ordinal, DBTYPE type, uint32_t maxLength = 600)
    {
        return {ordinal, offsetof(Cell, value), offsetof(Cell, length), offsetof(Cell, status), maxLength, type};
    }
    // Column `ordinal` of the first row of `sql`, bound as `type`.
    Cell readAs(const QString& sql, uint32_t ordinal, DBTYPE type, uint32_t maxLength = 600)
    {
        auto rowset = session->execute(sql);
        EXPECT_TRUE(rowset);
        Cell cell{};
        if (!rowset)
            return cell;
        rowset->setBindings({bindingOf(ordinal, type, maxLength)});
        EXPECT_TRUE(rowset->next());
        rowset->getData(reinterpret_cast<std::byte*>(&cell));
        return cell;
    }
    static QString wideOf(const Cell& c) { return QString::fromUtf16(reinterpret_cast<const char16_t*>(c.value)); }
    static QString narrowOf(const Cell& c) { return QString::fromUtf8(reinterpret_cast<const char*>(c.value)); }
    template <typename T>
    static T numberOf(const Cell& c)
    {
        T v;
        std::memcpy(&v, c.value, sizeof v);
        return v;
    }
    static QByteArray readAll(SequentialStream* stream, size_t block)
    {
        QByteArray all;
        QByteArray buffer(qsizetype(block), '\0');
        size_t n;
        do {
            n = stream->read(buffer.data(), block);
            all.append(buffer.constData(), qsizetype(n));
        } while (n == block);
        stream->release();
        return all;
    }
    void makeNumbers(int n)
    {
        backend->exec(QStringLiteral("CREATE TABLE nums (id INTEGER, name VARCHAR(20))"));
        backend->exec(QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < %1) "
                                     "INSERT INTO nums SELECT i, 'row ' || i FROM c")
                          .arg(n));
    }
    int64_t idOfCurrentRow(Rowset& rowset)
    {
        Cell cell{};
        rowset.setBindings({bindingOf(1, DBTYPE_I8)});
        rowset.getData(reinterpret_cast<std::byte*>(&cell));
        return numberOf<int64_t>(cell);
    }

    TempDir scratch;
    std::unique_ptr<Backend> backend;
    std::shared_ptr<Session> session;
};

TEST_P(OdbcProviderTest, ColumnTypesFollowTheProviderTypeMapping)
{
    backend->exec(QStringLiteral("CREATE TABLE k (i INTEGER, s SMALLINT, big BIGINT, d DOUBLE PRECISION, v VARCHAR(40), "
                                 "t %1, b %2, n NUMERIC(10,2), day DATE)")
                      .arg(backend->textType(), backend->blobType()));
    const auto cols = session->execute(QStringLiteral("select * from k"))->columns();
    ASSERT_EQ(cols.size(), 9u);
    const std::vector<std::pair<DBTYPE, uint32_t>> expected = {
        {DBTYPE_I4, 4}, {DBTYPE_I2, 2}, {DBTYPE_I8, 8}, {DBTYPE_R8, 8}, {DBTYPE_WSTR, 40}, {DBTYPE_WSTR, kLongValueSize},
        {DBTYPE_BYTES, isPostgres() ? kLongValueSize : 255u}, // the SQLite ODBC driver calls BLOB a SQL_BINARY(255)
        isPostgres() ? std::pair<DBTYPE, uint32_t>{DBTYPE_NUMERIC, 10} : std::pair<DBTYPE, uint32_t>{DBTYPE_R8, 8}, // SQL_DOUBLE there
        {DBTYPE_DBDATE, 10}};
    for (size_t i = 0; i < cols.size(); ++i) {
        EXPECT_EQ(cols[i].type, expected[i].first) << cols[i].name.toStdString();
        EXPECT_EQ(cols[i].columnSize, expected[i].second) << cols[i].name.toStdString();
        EXPECT_EQ(cols[i].ordinal, i + 1);
    }
    EXPECT_EQ(cols[4].name.toLower(), u"v");
}

TEST_P(OdbcProviderTest, ValuesConvertToEveryBoundKind)
{
    backend->exec(QStringLiteral("CREATE TABLE v (i INTEGER, big BIGINT, d DOUBLE PRECISION, w VARCHAR(40), n NUMERIC(10,2))"));
    backend->exec(QStringLiteral("INSERT INTO v VALUES (-42, 9000000000, 2.5, 'Grüße 😀', 12.5)"));
    const QString sql = QStringLiteral("select * from v");
    EXPECT_EQ(numberOf<int32_t>(readAs(sql, 1, DBTYPE_I4)), -42);
    EXPECT_EQ(numberOf<int16_t>(readAs(sql, 1, DBTYPE_I2)), -42);
    EXPECT_EQ(numberOf<int64_t>(readAs(sql, 2, DBTYPE_I8)), 9000000000LL);
    EXPECT_EQ(readAs(sql, 2, DBTYPE_I4).status, DBSTATUS_E_DATAOVERFLOW);
    EXPECT_DOUBLE_EQ(numberOf<double>(readAs(sql, 3, DBTYPE_R8)), 2.5);
    // Narrow text is what the row cache binds numbers, dates and decimals as.
    EXPECT_EQ(narrowOf(readAs(sql, 1, DBTYPE_STR)), u"-42");
    EXPECT_EQ(narrowOf(readAs(sql, 5, DBTYPE_STR)).toDouble(), 12.5);
    const Cell wide = readAs(sql, 4, DBTYPE_WSTR);
    EXPECT_EQ(wideOf(wide), QStringLiteral("Grüße 😀"));
    EXPECT_EQ(wide.length, uint32_t(QStringLiteral("Grüße 😀").size() * 2));
    EXPECT_EQ(narrowOf(readAs(sql, 4, DBTYPE_STR)), QStringLiteral("Grüße 😀"));
    EXPECT_EQ(readAs(sql, 4, DBTYPE_I4).status, DBSTATUS_E_CANTCONVERTVALUE);
}

TEST_P(OdbcProviderTest, NullGivesTheNullStatusForEveryKind)
{
    backend->exec(QStringLiteral("CREATE TABLE z (i INTEGER, t %1, b %2)").arg(backend->textType(), backend->blobType()));
    backend->exec(QStringLiteral("INSERT INTO z VALUES (NULL, NULL, NULL)"));
    const QString sql = QStringLiteral("select * from z");
    for (DBTYPE type : std::initializer_list<DBTYPE>{DBTYPE_I4, DBTYPE_STR, DBTYPE_WSTR, DBTYPE(DBTYPE_WSTR | DBTYPE_BYREF), DBTYPE_IUNKNOWN})
        for (uint32_t column : {1u, 2u, 3u}) {
            const Cell c = readAs(sql, column, type);
            EXPECT_EQ(c.status, DBSTATUS_S_ISNULL) << "type " << type << " column " << column;
            EXPECT_EQ(c.length, 0u);
        }
}

TEST_P(OdbcProviderTest, LongValuesComeWholeByReferenceAndAsStreamsAndCutInline)
{
    QString text;
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("ü%1 ").arg(i % 10);
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.append(char(i * 7));
    backend->exec(QStringLiteral("CREATE TABLE l (id INTEGER, t %1, b %2, after VARCHAR(10))").arg(backend->textType(), backend->blobType()));
    backend->exec(QStringLiteral("INSERT INTO l VALUES (1, '%1', %2, 'tail')").arg(text, backend->blobLiteral(bytes)));
    backend->exec(QStringLiteral("INSERT INTO l VALUES (2, '%1', %2, 'tail')").arg(text, backend->blobLiteral(bytes)));
    const QString sql = QStringLiteral("select * from l");
    const qsizetype textBytes = text.size() * 2;

    // Inline: the first characters, the full length and the truncated status.
    const Cell cut = readAs(sql, 2, DBTYPE_WSTR, 514);
    EXPECT_EQ(cut.status, DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(cut.length, uint32_t(textBytes));
    EXPECT_EQ(wideOf(cut), text.left(256));
    const Cell cutBytes = readAs(sql, 3, DBTYPE_BYTES, 512);
    EXPECT_EQ(cutBytes.status, DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(cutBytes.length, uint32_t(bytes.size()));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(cutBytes.value), 512), bytes.left(512));

    // By reference: the whole value in provider memory.
    auto rowset = session->execute(sql);
    struct Refs {
        DBSTATUS textStatus, bytesStatus;
        uint32_t textLength, bytesLength;
        const char16_t* textValue;
        const char* bytesValue;
    } refs{};
    rowset->setBindings({{2, offsetof(Refs, textValue), offsetof(Refs, textLength), offsetof(Refs, textStatus), 0,
                          DBTYPE(DBTYPE_WSTR | DBTYPE_BYREF)},
                         {3, offsetof(Refs, bytesValue), offsetof(Refs, bytesLength), offsetof(Refs, bytesStatus), 0,
                          DBTYPE(DBTYPE_BYTES | DBTYPE_BYREF)}});
    ASSERT_TRUE(rowset->next());
    rowset->getData(reinterpret_cast<std::byte*>(&refs));
    EXPECT_EQ(QString::fromUtf16(refs.textValue), text);
    EXPECT_EQ(refs.textLength, uint32_t(textBytes));
    EXPECT_EQ(QByteArray(refs.bytesValue, refs.bytesLength), bytes);

    // Streams, read after getData has moved on to the next column, in odd block sizes.
    rowset = session->execute(sql);
    struct Streams {
        DBSTATUS textStatus, bytesStatus, tailStatus;
        uint32_t textLength, bytesLength, tailLength;
        SequentialStream* text;
        SequentialStream* bytes;
        char16_t tail[20];
    } streams{};
    rowset->setBindings({{2, offsetof(Streams, text), offsetof(Streams, textLength), offsetof(Streams, textStatus), 0, DBTYPE_IUNKNOWN},
                         {3, offsetof(Streams, bytes), offsetof(Streams, bytesLength), offsetof(Streams, bytesStatus), 0, DBTYPE_IUNKNOWN},
                         {4, offsetof(Streams, tail), offsetof(Streams, tailLength), offsetof(Streams, tailStatus), 40, DBTYPE_WSTR}});
    // Both rows: from the second on, the short column comes from a bound buffer.
    for (int r = 0; r < 2; ++r) {
        ASSERT_TRUE(rowset->next());
        rowset->getData(reinterpret_cast<std::byte*>(&streams));
        ASSERT_EQ(streams.textStatus, DBSTATUS_S_OK);
        ASSERT_EQ(streams.bytesStatus, DBSTATUS_S_OK);
        EXPECT_EQ(QString::fromUtf16(streams.tail), u"tail");
        const QByteArray streamedBytes = readAll(streams.bytes, 777);
        const QByteArray streamedText = readAll(streams.text, 5001);
        EXPECT_EQ(streamedBytes, bytes) << "row " << r;
        EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(streamedText.constData()), streamedText.size() / 2), text)
            << "row " << r;
    }
}

TEST_P(OdbcProviderTest, RowsReadOneAfterAnotherKeepEveryValueWhole)
{
    // From the second row on, short columns come from buffers the driver fills while fetching.
    backend->exec(QStringLiteral("CREATE TABLE r (id INTEGER, code VARCHAR(10), price DOUBLE PRECISION, note %1)").arg(backend->textType()));
    // SQLite does not hold a value to its declared size: a long one must still come whole.
    const QString overlong = isPostgres() ? QStringLiteral("ten chars!") : QString(3000, u'L');
    backend->exec(QStringLiteral("INSERT INTO r VALUES (1, 'ä', 0.5, 'n1'), (2, NULL, NULL, NULL), (3, '%1', -2.25, 'n3'), "
                                 "(4, '😀', 1e300, '')").arg(overlong));
    auto rowset = session->execute(QStringLiteral("select * from r order by id"));
    struct Row {
        DBSTATUS s1, s2, s3, s4;
        uint32_t l1, l2, l3, l4;
        int32_t id;
        const char16_t* code;
        char price[64];
        char16_t note[40];
    } row{};
    rowset->setBindings({{1, offsetof(Row, id), offsetof(Row, l1), offsetof(Row, s1), 4, DBTYPE_I4},
                         {2, offsetof(Row, code), offsetof(Row, l2), offsetof(Row, s2), 0, DBTYPE(DBTYPE_WSTR | DBTYPE_BYREF)},
                         {3, offsetof(Row, price), offsetof(Row, l3), offsetof(Row, s3), 64, DBTYPE_STR},
                         {4, offsetof(Row, note), offsetof(Row, l4), offsetof(Row, s4), 80, DBTYPE_WSTR}});
    QStringList seen;
    while (rowset->next()) {
        rowset->getData(reinterpret_cast<std::byte*>(&row));
        const QString code = row.s2 == DBSTATUS_S_ISNULL ? QStringLiteral("NULL") : QString::fromUtf16(row.code);
        const QString price = row.s3 == DBSTATUS_S_ISNULL ? QStringLiteral("NULL") : QString::number(QByteArray(row.price).toDouble());
        const QString note = row.s4 == DBSTATUS_S_ISNULL ? QStringLiteral("NULL") : QString::fromUtf16(row.note);
        seen << QStringLiteral("%1|%2|%3|%4").arg(row.id).arg(code, price, note);
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("1|ä|0.5|n1"), QStringLiteral("2|NULL|NULL|NULL"),
                                 QStringLiteral("3|%1|-2.25|n3").arg(overlong), QStringLiteral("4|😀|1e+300|")}));
}

TEST_P(OdbcProviderTest, AStreamReadAfterItsRowIsGoneFailsInsteadOfReadingAnotherRow)
{
    backend->exec(QStringLiteral("CREATE TABLE s (t %1)").arg(backend->textType()));
    const QString big(10000, u'x');
    backend->exec(QStringLiteral("INSERT INTO s VALUES ('%1'), ('%2')").arg(big, QString(10000, u'y')));
    auto rowset = session->execute(QStringLiteral("select t from s"));
    Cell cell{};
    rowset->setBindings({bindingOf(1, DBTYPE_IUNKNOWN)});
    ASSERT_TRUE(rowset->next());
    rowset->getData(reinterpret_cast<std::byte*>(&cell));
    SequentialStream* stream;
    std::memcpy(&stream, cell.value, sizeof stream);
    char block[16];
    EXPECT_EQ(stream->read(block, sizeof block), sizeof block); // the first block is read ahead
    ASSERT_TRUE(rowset->next());
    std::vector<char> rest(100000);
    EXPECT_THROW(stream->read(rest.data(), rest.size()), ProviderError);
    stream->release();
}

TEST_P(OdbcProviderTest, NextSkipsRestartStartsOverAndSuspendLetsGo)
{
    makeNumbers(250);
    auto rowset = session->execute(QStringLiteral("select id from nums order by id"));
    ASSERT_TRUE(rowset->next(4));
    EXPECT_EQ(idOfCurrentRow(*rowset), 5);
    ASSERT_TRUE(rowset->next(100));
    EXPECT_EQ(idOfCurrentRow(*rowset), 106);
    EXPECT_FALSE(rowset->next(1000));
    EXPECT_FALSE(rowset->next());
    rowset->restart();
    ASSERT_TRUE(rowset->next());
    EXPECT_EQ(idOfCurrentRow(*rowset), 1);
    // Suspended, the rowset holds nothing on the database: another connection can change the table.
    rowset->suspend();
    backend->exec(QStringLiteral("DELETE FROM nums WHERE id <= 10"));
    rowset->restart();
    ASSERT_TRUE(rowset->next());
    EXPECT_EQ(idOfCurrentRow(*rowset), 11);
    uint64_t count = 1;
    while (rowset->next())
        ++count;
    EXPECT_EQ(count, 240u);
}

TEST_P(OdbcProviderTest, StatementsWithoutRowsReportRowsAffected)
{
    makeNumbers(20);
    int64_t affected = -7;
    EXPECT_EQ(session->execute(QStringLiteral("UPDATE nums SET name = 'x' WHERE id > 15"), &affected), nullptr);
    EXPECT_EQ(affected, 5);
    EXPECT_EQ(session->execute(QStringLiteral("DELETE FROM nums WHERE id > 100"), &affected), nullptr);
    EXPECT_EQ(affected, 0);
    EXPECT_NE(session->execute(QStringLiteral("select * from nums"), &affected), nullptr);
    EXPECT_EQ(affected, -1);
}

TEST_P(OdbcProviderTest, ErrorsCarryTheSqlStateAndTheDriversMessage)
{
    try {
        session->execute(QStringLiteral("select * from no_such_table"));
        FAIL() << "no error";
    } catch (const ProviderError& e) {
        EXPECT_TRUE(e.description().contains(u"no_such_table")) << e.what();
        EXPECT_TRUE(e.description().startsWith(u"[")) << e.what();
        if (isPostgres()) {
            EXPECT_EQ(e.hr(), DB_E_NOTABLE) << e.what(); // 42P01; the SQLite driver says only HY000
        }
    }
    EXPECT_THROW(session->execute(QStringLiteral("selec 1")), ProviderError);
    // The session stays usable after failures.
    EXPECT_NE(session->execute(QStringLiteral("select 1")), nullptr);
}

TEST_P(OdbcProviderTest, SchemaRowsetsListTablesAndViewsInTheirFixedShape)
{
    backend->exec(QStringLiteral("CREATE TABLE alpha (id INTEGER)"));
    backend->exec(QStringLiteral("CREATE VIEW beta AS SELECT id FROM alpha"));
    auto readNames = [&](const QString& type) {
        auto rowset = session->tablesSchema(type);
        const auto cols = rowset->columns();
        EXPECT_EQ(cols.size(), 5u);
        QStringList names;
        for (const ColumnInfo& c : cols)
            names << c.name;
        EXPECT_EQ(names.join(u','), u"TABLE_CATALOG,TABLE_SCHEMA,TABLE_NAME,TABLE_TYPE,DESCRIPTION");
        struct Row {
            DBSTATUS s2, s3, s4;
            uint32_t l2, l3, l4;
            char16_t schema[130], name[130], kind[130];
        } row{};
        rowset->setBindings({{2, offsetof(Row, schema), offsetof(Row, l2), offsetof(Row, s2), 260, DBTYPE_WSTR},
                             {3, offsetof(Row, name), offsetof(Row, l3), offsetof(Row, s3), 260, DBTYPE_WSTR},
                             {4, offsetof(Row, kind), offsetof(Row, l4), offsetof(Row, s4), 260, DBTYPE_WSTR}});
        QStringList found;
        while (rowset->next()) {
            rowset->getData(reinterpret_cast<std::byte*>(&row));
            const QString schema = row.s2 == DBSTATUS_S_ISNULL ? QString() : QString::fromUtf16(row.schema);
            found << schema + u'.' + QString::fromUtf16(row.name) + u':' + QString::fromUtf16(row.kind);
        }
        return found;
    };
    const QString schema = backend->defaultSchema();
    EXPECT_EQ(readNames(QStringLiteral("TABLE")), QStringList{schema + QStringLiteral(".alpha:TABLE")});
    EXPECT_EQ(readNames(QStringLiteral("VIEW")), QStringList{schema + QStringLiteral(".beta:VIEW")});
    EXPECT_EQ(readNames(QString()).size(), 2);
    const auto procedures = session->proceduresSchema();
    ASSERT_EQ(procedures->columns().size(), 6u);
    EXPECT_EQ(procedures->columns()[3].type, DBTYPE_I2);
}

TEST_P(OdbcProviderTest, AnUncommittedInsertIsInvisibleToASecondConnectionUntilCommit)
{
    ASSERT_TRUE(session->supportsTransactions());
    backend->exec(QStringLiteral("CREATE TABLE tx (id INTEGER)"));
    auto other = connect();
    auto countRows = [&] {
        auto rowset = other->execute(QStringLiteral("select count(*) from tx"));
        Cell cell{};
        rowset->setBindings({bindingOf(1, DBTYPE_I8)});
        EXPECT_TRUE(rowset->next());
        rowset->getData(reinterpret_cast<std::byte*>(&cell));
        return numberOf<int64_t>(cell);
    };
    session->startTransaction();
    session->execute(QStringLiteral("INSERT INTO tx VALUES (1)"));
    EXPECT_EQ(countRows(), 0);
    session->commit();
    EXPECT_EQ(countRows(), 1);

    session->startTransaction();
    session->execute(QStringLiteral("INSERT INTO tx VALUES (2)"));
    session->abort();
    EXPECT_EQ(countRows(), 1);
    // Autocommit is back: a plain insert is seen at once.
    session->execute(QStringLiteral("INSERT INTO tx VALUES (3)"));
    EXPECT_EQ(countRows(), 2);
}

TEST_P(OdbcProviderTest, IdentifiersAreQuotedWithTheDriversQuote)
{
    EXPECT_EQ(session->identifierQuoteOpen(), u"\"");
    EXPECT_EQ(session->identifierQuoteClose(), u"\"");
    backend->exec(QStringLiteral("CREATE TABLE \"with space\" (id INTEGER)"));
    EXPECT_NE(session->execute(QStringLiteral("select * from \"with space\"")), nullptr);
}

TEST_P(OdbcProviderTest, AnArmedTokenEndsAWalkOverRowsAndOnlyTheArmedThreadsCalls)
{
    makeNumbers(2000);
    auto idle = session->execute(QStringLiteral("select id from nums order by id"));
    ASSERT_TRUE(idle->next());
    InterruptToken token;
    token.interrupt(); // set, but armed on no thread that reads `idle`: changes nothing
    EXPECT_TRUE(idle->next());
    EXPECT_EQ(idOfCurrentRow(*idle), 2);
    {
        InterruptToken::Armed armed(token);
        EXPECT_THROW(idle->next(), ProviderError) << "armed here: refused";
    }
    EXPECT_TRUE(idle->next()) << "the refusal left the rowset where it was";
    EXPECT_EQ(idOfCurrentRow(*idle), 3);
    idle.reset(); // with it open, the SQLite ODBC driver would load the whole walk below at once

    // A walk over rows that only a stop ends, on an armed thread, stopped once from here: before
    // it starts, during a fetch or between two fetches, it ends.
    token.reset();
    auto walk = session->execute(QStringLiteral("with recursive c(i) as (select 1 union all select i + 1 from c) select i from c"));
    HRESULT hr = S_OK;
    std::thread walker([&] {
        InterruptToken::Armed armed(token);
        try {
            walk->next(4'000'000'000);
        } catch (const ProviderError& e) {
            hr = e.hr();
        }
    });
    token.interrupt();
    walker.join();
    EXPECT_EQ(hr, DB_E_CANCELED);
    {
        InterruptToken::Armed armed(token);
        EXPECT_THROW(walk->next(), ProviderError) << "refused for as long as the token is set";
        EXPECT_THROW(walk->restart(), ProviderError);
    }
    // Once its owner resets the token, the rowset starts over and works.
    token.reset();
    InterruptToken::Armed armed(token);
    walk->restart();
    EXPECT_TRUE(walk->next());
}

TEST(OdbcTypeMapping, LongTypesAreUnboundedAndAnUnstatedSizeStaysUnknown)
{
    using odbc::mapColumnType;
    // Whatever size a driver states for a long type, the value is unbounded.
    EXPECT_EQ(mapColumnType(SQL_LONGVARCHAR, 65536, false).size, kLongValueSize);
    EXPECT_EQ(mapColumnType(SQL_WLONGVARCHAR, 8190, false).size, kLongValueSize);
    EXPECT_EQ(mapColumnType(SQL_LONGVARBINARY, 0, false).size, kLongValueSize);
    EXPECT_EQ(mapColumnType(SQL_LONGVARBINARY, 0, false).type, DBTYPE_BYTES);
    // Larger than any declared size can be: unbounded, not wrapped or cut.
    EXPECT_EQ(mapColumnType(SQL_WVARCHAR, SQLULEN(0xFFFFFFFFu), false).size, kLongValueSize);
    EXPECT_EQ(mapColumnType(SQL_VARCHAR, 40, false).size, 40u);
    // A driver that states no size: the provider does not know it either.
    EXPECT_EQ(mapColumnType(SQL_VARCHAR, 0, false).size, 0u);
    EXPECT_EQ(mapColumnType(SQL_VARBINARY, 0, false).size, 0u);
}

INSTANTIATE_TEST_SUITE_P(Odbc, OdbcProviderTest, ::testing::Values("sqliteodbc", "postgres"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace qbtest
