// The text-table printer over a scripted rowset: columns with any declared type, size and name,
// rows of any values (null, text, bytes, integers, reals). Properties: the statement is printed
// or refused with a Brelib::exception before anything is written; every row line has the
// header's layout (same length, fields closed by " | " at the same places, CR LF at the end);
// all rows are shown and counted; the progress stays within 0 to 100.
#include "platform/BrelibException.h"
#include "console/script/ColumnWidth.h"
#include "console/script/RowsetPrinter.h"
#include "dataaccess/MemoryRowset.h"
#include "support/FuzzSupport.h"

#include <cstring>

namespace {

using namespace qb;

class Window : public console::ResultWriter, public console::RunFeedback {
public:
    QString header;
    std::vector<QString> rows;
    QString summary;
    int holds = 0;

    void appendResultText(const QString& text, console::ResultTextCategory category) override
    {
        if (category == console::ResultTextCategory::ExecutionResults) {
            QBFUZZ_CHECK(header.isEmpty() && rows.empty(), QStringLiteral("a second header"));
            header = text;
        } else {
            summary += text;
        }
    }
    void appendPlainText(const QString& text) override { rows.push_back(text); }
    void holdRepaint() override { ++holds; }
    void releaseRepaint() override { --holds; }
    void runStarted() override {}
    void runFinished() override {}
    void progressStarted() override {}
    void progressPosition(int position) override
    {
        QBFUZZ_CHECK(position >= 0 && position <= 100, QString::number(position));
    }
    void progressFinished() override {}
    void showError(const QString&) override {}
};

data::DBTYPE typeOf(qbfuzz::FuzzInput& in)
{
    static const data::DBTYPE kTypes[] = {
        data::DBTYPE_WSTR, data::DBTYPE_STR, data::DBTYPE_BYTES, data::DBTYPE_I2, data::DBTYPE_I4, data::DBTYPE_I8,
        data::DBTYPE_UI1, data::DBTYPE_UI8, data::DBTYPE_R4, data::DBTYPE_R8, data::DBTYPE_CY, data::DBTYPE_BOOL,
        data::DBTYPE_NUMERIC, data::DBTYPE_DBDATE, data::DBTYPE_DBTIME, data::DBTYPE_DBTIMESTAMP, data::DBTYPE_GUID,
        data::DBTYPE_DECIMAL, data::DBTYPE_DATE, data::DBTYPE_IUNKNOWN, data::DBTYPE_VARIANT, data::DBTYPE_EMPTY};
    const uint8_t pick = in.byte();
    if (pick == 0xFF)
        return in.u16();
    return kTypes[pick % std::size(kTypes)];
}

uint32_t sizeOf(qbfuzz::FuzzInput& in)
{
    switch (in.byte() % 4) {
    case 0:
        return in.u32(); // anything, the unbounded sizes and 0 included
    case 1:
        return data::kUnboundedSizes[in.byte() % std::size(data::kUnboundedSizes)];
    default:
        return in.byte();
    }
}

QVariant valueOf(qbfuzz::FuzzInput& in)
{
    switch (in.byte() % 6) {
    case 0:
        return QVariant();
    case 1:
        return QVariant(in.units(64));
    case 2:
        return QVariant(in.bytes(64));
    case 3:
        return QVariant(qlonglong(in.u64()));
    case 4: {
        const uint64_t bits = in.u64();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return QVariant(d);
    }
    default:
        return QVariant(QString::fromUtf8(in.bytes(32)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    qbfuzz::FuzzInput in(bytes, size);
    std::vector<data::ColumnInfo> columns(in.byte() % 9);
    for (size_t i = 0; i < columns.size(); ++i) {
        columns[i].ordinal = uint32_t(i + 1);
        columns[i].type = typeOf(in);
        columns[i].columnSize = sizeOf(in);
        columns[i].name = in.byte() == 0xFF ? QString(700, QChar(u'n')) : in.units(24);
    }
    std::vector<data::MemoryRowset::Row> rows(in.byte() % 12);
    for (auto& row : rows)
        for (size_t i = 0; i < columns.size(); ++i)
            row.push_back(valueOf(in));
    const bool shownDuringExecution = in.byte() % 2;

    data::MemoryRowset rowset(columns, rows);
    Window window;
    console::StopSignal stop;
    console::RowsetPrinter printer(window, window, stop, shownDuringExecution);
    try {
        printer.print(rowset);
    } catch (const Brelib::exception& e) {
        QBFUZZ_CHECK(window.header.isEmpty() && window.rows.empty(), e.text());
        return 0;
    }
    QBFUZZ_CHECK(window.holds == 0, QStringLiteral("repaint held %1 times too often").arg(window.holds));
    QBFUZZ_CHECK(window.header.endsWith(QLatin1String(" | \r\n")) || columns.empty(), window.header);
    QBFUZZ_CHECK(window.rows.size() == rows.size(), QStringLiteral("%1 of %2 rows").arg(window.rows.size()).arg(rows.size()));
    for (const QString& line : window.rows) {
        QBFUZZ_CHECK(line.size() == window.header.size(), QStringLiteral("a row line of %1 characters under a header of %2").arg(line.size()).arg(window.header.size()));
        qsizetype bar = 0;
        for (const data::ColumnInfo& c : columns) {
            bar += std::max<qsizetype>(console::columnWidth(c), c.name.size());
            QBFUZZ_CHECK(line.mid(bar, 3) == QLatin1String(" | "), QStringLiteral("no bar at %1 of \"%2\"").arg(bar).arg(line));
            bar += 3;
        }
        QBFUZZ_CHECK(line.endsWith(QLatin1String("\r\n")), line.right(8));
    }
    const QString expected = QStringLiteral("Selected %1 rows from %1").arg(rows.size());
    QBFUZZ_CHECK(window.summary.startsWith(expected), window.summary);
    return 0;
}
