#pragma once
// Writes a rowset into the result window as a text table (PrintRowset):
//
//   id                   | name                                     |
//   1                    | Ann                                      |
//                        | Bob                                      |      <- NULL id: blanks
//   Selected 2 rows from 2
//
// Every field is left-aligned in its column's width (ColumnWidth.h, widened to a longer column
// name) and closed by " | "; values are fetched as wide text, at most the width in characters.
// The rows are counted in a pass of their own before they are printed, for the summary and the
// progress bar (9 to 99 while printing). That pass copies them to a spool (Spool.h), from which
// they are printed: the statement runs once. A stop request ends the table after the current row.
#include "console/script/ResultWriter.h"
#include "console/script/RunFeedback.h"
#include "console/script/StopCheck.h"
#include "console/script/StopSignal.h"
#include "dataaccess/Provider.h"

namespace qb::console {

class RowsetPrinter {
public:
    // rowsShownDuringExecution: "show data during SQL query execution"; when off, the window
    // does not repaint until the table is complete.
    // The caller has armed the stop's token for the print (ScriptExecutor).
    RowsetPrinter(ResultWriter& writer, RunFeedback& feedback, const StopSignal& stop, bool rowsShownDuringExecution);

    // Throws Brelib::exception when the columns cannot be read or bound, or the rows cannot be
    // spooled; what was written by then stays. A failure of the statement while its rows are
    // fetched ends the table silently after the rows before it; the summary still follows.
    // `statement` has just been executed and is read once, from its first row.
    void print(data::Rowset& statement);
    // A fetch failed for another reason than a stop, so the table (or its count) ended early.
    bool endedByFailure() const { return m_failed; }

private:
    struct Column;
    enum class Fetch { Row, End, Failed };

    std::vector<Column> describeColumns(data::Rowset& rowset);
    void writeHeader(std::vector<Column>& columns);
    void bind(data::Rowset& rowset, std::vector<Column>& columns);
    uint64_t countRows(data::Rowset& rowset);
    Fetch fetch(data::Rowset& rowset, const std::vector<Column>& columns, bool first);
    void appendRow(const std::vector<Column>& columns);
    void setRowProgress(uint64_t shown, uint64_t counted);

    ResultWriter& m_writer;
    RunFeedback& m_feedback;
    const StopSignal& m_stop;
    StopCheck m_stopCheck;
    bool m_rowsShownDuringExecution;
    std::vector<std::byte> m_rowBuffer;
    QString m_blankRow; // a row line of blank fields
    QString m_line;
    int m_progress = 0; // the last position shown
    bool m_failed = false;
};

} // namespace qb::console
