#pragma once
// The result window as the script run writes into it. The run calls it on its worker thread;
// the window's implementation hands each call to the GUI thread. Text is only ever appended.
//
// Line ends arrive as the run writes them: CR LF after echo, error, header and row lines, two LF
// after the summary, none after "SQL Query was accomplished" (the next echo continues that line).
// The window shows CR LF, CR and LF each as one line break.
#include <QString>

namespace qb::console {

// The two text categories of the result window (fonts and colours come from the settings).
enum class ResultTextCategory {
    ExecutionResults = 0, // RsltWndTxtProp0: the header line of a rowset
    OtherText = 1,        // RsltWndTxtProp1: echoes, error lines, the interruption and summary lines
};

class ResultWriter {
public:
    virtual ~ResultWriter() = default;
    // Appends the text in the category's format.
    virtual void appendResultText(const QString& text, ResultTextCategory category) = 0;
    // Appends the text in the format of the character before it (the row lines of a table take
    // the header's format this way).
    virtual void appendPlainText(const QString& text) = 0;
    // Between these two the window need not repaint after each append: a rowset printed while
    // "show data during SQL query execution" is off. Always called in pairs.
    virtual void holdRepaint() = 0;
    virtual void releaseRepaint() = 0;
};

} // namespace qb::console
