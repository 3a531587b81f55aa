#include "console/script/RowsetPrinter.h"

#include "console/script/ColumnWidth.h"
#include "console/script/ConsoleText.h"
#include "dataaccess/ErrorText.h"
#include "dataaccess/Spool.h"
#include "dataaccess/SpoolFile.h"
#include "dataaccess/SpoolRowset.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace qb::console {
namespace {

const QString& spaces()
{
    static const QString s(qsizetype(kMaxColumnWidth) + 64, u' ');
    return s;
}

void appendSpaces(QString& line, qsizetype count)
{
    while (count > 0) {
        const qsizetype n = std::min(count, spaces().size());
        line.append(QStringView(spaces()).first(n));
        count -= n;
    }
}

class RepaintHold {
public:
    RepaintHold(ResultWriter& writer, bool hold) : m_writer(writer), m_hold(hold)
    {
        if (m_hold)
            m_writer.holdRepaint();
    }
    ~RepaintHold()
    {
        if (m_hold)
            m_writer.releaseRepaint();
    }
    RepaintHold(const RepaintHold&) = delete;
    RepaintHold& operator=(const RepaintHold&) = delete;

private:
    ResultWriter& m_writer;
    bool m_hold;
};

Brelib::exception spoolFailure(const data::SpoolError& e)
{
    return data::actionError(kTextExecuteFailed, e);
}

} // namespace

struct RowsetPrinter::Column {
    QString name;
    uint32_t width = 0;      // characters fetched
    uint32_t tableWidth = 0; // characters printed: the width, or the name when that is longer
    size_t valueOffset = 0;
    size_t statusOffset = 0;
    qsizetype lineOffset = 0; // where the field starts in a row line
};

RowsetPrinter::RowsetPrinter(ResultWriter& writer, RunFeedback& feedback, const StopSignal& stop,
                             bool rowsShownDuringExecution)
    : m_writer(writer),
      m_feedback(feedback),
      m_stop(stop),
      m_stopCheck(stop, writer),
      m_rowsShownDuringExecution(rowsShownDuringExecution)
{
}

void RowsetPrinter::print(data::Rowset& statement)
{
    // Counting copies the rows to a spool and the table is printed from it, so the statement
    // runs once, also one that changes data as it returns rows.
    data::SpoolRowset rowset(std::make_shared<data::Spool>(statement));
    std::vector<Column> columns = describeColumns(rowset);
    RepaintHold hold(m_writer, !m_rowsShownDuringExecution);
    writeHeader(columns);
    bind(rowset, columns);
    m_feedback.progressPosition(8);

    const uint64_t counted = countRows(rowset);
    m_feedback.progressPosition(9);
    m_progress = 9;

    uint64_t shown = 0;
    if (m_stop.isSet()) {
        m_stopCheck.isStopRequested(); // stopped while counting: no rows are printed
    } else {
        // A stop request fails the fetch it lands in or the next one, which reads as the stop
        // below, just as the poll would.
        for (Fetch f = fetch(rowset, columns, true); f == Fetch::Row;) {
            appendRow(columns);
            setRowProgress(++shown, counted);
            if (m_stopCheck.isStopRequested())
                break;
            f = fetch(rowset, columns, false);
            if (f == Fetch::Failed && m_stopCheck.isStopRequested())
                break;
        }
    }
    m_writer.appendResultText(loadString(kTextRowsSummary).arg(shown).arg(counted), ResultTextCategory::OtherText);
}

std::vector<RowsetPrinter::Column> RowsetPrinter::describeColumns(data::Rowset& rowset)
{
    std::vector<data::ColumnInfo> infos;
    try {
        infos = rowset.columns();
    } catch (const data::ProviderError& e) {
        throw data::actionError(kTextColumnInfoFailed, e);
    }
    std::vector<Column> columns;
    columns.reserve(infos.size());
    for (const data::ColumnInfo& info : infos) {
        Column c;
        c.width = columnWidth(info);
        // A provider that knows no size for a text column: nothing fits in a field of width 0.
        // Refused before the header, so the window gets the error line alone.
        if (c.width == 0)
            throw Brelib::exception(loadString(kTextUnknownFieldSize));
        c.name = info.name;
        c.tableWidth = std::max<uint32_t>(c.width, uint32_t(c.name.size()));
        columns.push_back(std::move(c));
    }
    return columns;
}

void RowsetPrinter::writeHeader(std::vector<Column>& columns)
{
    QString header;
    m_blankRow.clear();
    for (Column& c : columns) {
        header += c.name;
        appendSpaces(header, qsizetype(c.tableWidth) - c.name.size());
        header += QLatin1StringView(" | ");
        c.lineOffset = m_blankRow.size();
        appendSpaces(m_blankRow, c.tableWidth);
        m_blankRow += QLatin1StringView(" | ");
    }
    header += QLatin1StringView("\r\n");
    m_blankRow += QLatin1StringView("\r\n");
    m_writer.appendResultText(header, ResultTextCategory::ExecutionResults);
}

void RowsetPrinter::bind(data::Rowset& rowset, std::vector<Column>& columns)
{
    // Per column: the value as zero-terminated wide text of up to width characters, then its
    // length and status; sized in characters so a value as wide as its column prints whole.
    std::vector<data::Binding> bindings;
    size_t offset = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        Column& c = columns[i];
        data::Binding b;
        b.ordinal = uint32_t(i + 1);
        b.type = data::DBTYPE_WSTR;
        b.maxLength = (c.width + 1) * sizeof(char16_t);
        b.valueOffset = offset;
        offset += (b.maxLength + 3) & ~size_t(3);
        b.lengthOffset = offset;
        b.statusOffset = offset + sizeof(uint32_t);
        offset += 2 * sizeof(uint32_t);
        c.valueOffset = b.valueOffset;
        c.statusOffset = b.statusOffset;
        bindings.push_back(b);
    }
    m_rowBuffer.assign(offset, std::byte{0});
    try {
        rowset.setBindings(std::move(bindings));
    } catch (const data::ProviderError& e) {
        throw data::actionError(kTextBindingFailed, e);
    }
}

uint64_t RowsetPrinter::countRows(data::Rowset& rowset)
{
    uint64_t counted = 0;
    try {
        rowset.restart();
        while (rowset.next()) // a stop request fails the fetch in flight or the next one
            ++counted;
    } catch (const data::SpoolError& e) {
        throw spoolFailure(e); // rows lost on the way must not pass for the end of the table
    } catch (const data::ProviderError&) {
        // The count is what could be counted.
        m_failed = m_failed || !m_stop.isSet();
    }
    return counted;
}

RowsetPrinter::Fetch RowsetPrinter::fetch(data::Rowset& rowset, const std::vector<Column>& columns, bool first)
{
    try {
        if (first)
            rowset.restart();
        if (!rowset.next())
            return Fetch::End;
        // A value the provider leaves untouched must not show the previous row's.
        for (const Column& c : columns)
            std::memset(m_rowBuffer.data() + c.valueOffset, 0, sizeof(char16_t));
        rowset.getData(m_rowBuffer.data());
        return Fetch::Row;
    } catch (const data::SpoolError& e) {
        throw spoolFailure(e);
    } catch (const data::ProviderError&) {
        m_failed = m_failed || !m_stop.isSet();
        return Fetch::Failed;
    }
}

void RowsetPrinter::appendRow(const std::vector<Column>& columns)
{
    // Every line has the same layout: start from the blank one and copy the values in. The
    // buffer is reused unless the window kept the previous line.
    if (m_line.size() != m_blankRow.size())
        m_line = QString(m_blankRow.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(m_line.data());
    std::memcpy(out, m_blankRow.utf16(), size_t(m_blankRow.size()) * sizeof(char16_t));
    for (const Column& c : columns) {
        uint32_t status = 0;
        std::memcpy(&status, m_rowBuffer.data() + c.statusOffset, sizeof status);
        if (status == data::DBSTATUS_S_ISNULL)
            continue;
        const auto* value = reinterpret_cast<const char16_t*>(m_rowBuffer.data() + c.valueOffset);
        const size_t length = std::u16string_view(value, c.width + 1).find(u'\0'); // zero-terminated
        std::memcpy(out + c.lineOffset, value, std::min<size_t>(length, c.width) * sizeof(char16_t));
    }
    m_writer.appendPlainText(m_line);
}

void RowsetPrinter::setRowProgress(uint64_t shown, uint64_t counted)
{
    // More rows than counted (none counted, or rows added between the passes) stay just short
    // of the end rather than dividing by zero or running past it.
    const int position = int(counted == 0 ? 99 : std::min<uint64_t>(99, 9 + shown * 90 / counted));
    if (position != m_progress) // at most 91 updates however many rows
        m_feedback.progressPosition(position);
    m_progress = position;
}

} // namespace qb::console
