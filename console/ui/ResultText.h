#pragma once
// The result window's text: one string of every line joined by LF, the offset where each line
// starts, and the runs of formats. Text is only ever added at the end, and each addition either
// has a format of its own or continues the one before it, so a result of a million rows holds
// the characters, one offset a line and a handful of runs, and appending costs about a copy.
//
// Results are nearly always Latin-1 (mostly ASCII), so the characters are kept one byte each
// until the first one that does not fit; then the whole text turns into UTF-16 once.
#include "console/ui/TextPane.h"

#include <QTextCharFormat>
#include <QTextLayout>
#include <vector>

namespace qb::console::ui {

class ResultText {
public:
    ResultText();

    // CR LF, a lone CR and LF each end the line once. `format` null: the format of the text before.
    void append(QStringView text, const QTextCharFormat* format);
    void clear();

    // The whole text; a copy (use mid and lineText for parts).
    QString text() const { return mid(0, size()); }
    QString mid(qsizetype position, qsizetype length) const;
    QChar at(qsizetype position) const;
    qsizetype size() const { return m_wide ? m_utf16.size() : m_latin1.size(); }
    bool isEmpty() const { return size() == 0; }
    qsizetype lineCount() const { return qsizetype(m_lineStarts.size()); }
    qsizetype lineStart(qsizetype line) const { return m_lineStarts[size_t(line)]; }
    // Where the line ends, before its LF.
    qsizetype lineEnd(qsizetype line) const;
    QString lineText(qsizetype line) const;
    qsizetype lineLength(qsizetype line) const { return lineEnd(line) - lineStart(line); }
    // The line that holds position `position` (0 ... size()).
    qsizetype lineAt(qsizetype position) const;
    // The line with the most characters (the first of equals).
    qsizetype longestLine() const { return m_longest; }

    // Every distinct format appended so far (for the window's line height).
    const std::vector<QTextCharFormat>& formats() const { return m_formats; }
    // The format ranges of a line, relative to its start; text without a format has none.
    QList<QTextLayout::FormatRange> lineFormats(qsizetype line) const;

    // The first hit of the search from `from` (down: at or after it, up: starting before it),
    // or -1. A whole word has no letter or digit right before or after it; a hit never spans
    // lines.
    qsizetype find(const TextSearch& search, qsizetype from) const;

private:
    struct Run {
        qsizetype start;
        int format; // index into m_formats, -1 for none
    };
    int formatIndex(const QTextCharFormat& format);
    // Adds characters without line breaks.
    void appendCharacters(QStringView characters);
    void appendLineBreak();
    // Keeps the longest line up to date with `line`, whose text is all in.
    void noteLength(qsizetype line);

    QByteArray m_latin1;
    QString m_utf16;
    bool m_wide = false; // the text is in m_utf16
    std::vector<qsizetype> m_lineStarts;
    std::vector<Run> m_runs;
    std::vector<QTextCharFormat> m_formats;
    qsizetype m_longest = 0;
    qsizetype m_longestLength = 0;
};

} // namespace qb::console::ui
