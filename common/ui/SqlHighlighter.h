#pragma once
// The SQL colouring engine applied to a Qt text document: every block takes the "other text"
// format, then the keyword, string and comment ranges the engine finds get theirs. The formats
// are display-only (QTextLayout formats), so colouring never touches the text, the undo stack or
// the document's modified flag.
//
// The engine works on the whole text (a block comment or an unterminated string runs on over
// line ends), so the ranges are computed once per document revision; each block then takes the
// ranges that cross it. A block's state is what its last character leaves open (a comment or a
// string, and its opening character), so Qt recolours the following blocks exactly while that
// changes.
#include "common/SqlColorizer.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>
#include <vector>

namespace qb::ui {

class SqlHighlighter : public QSyntaxHighlighter {
public:
    struct Formats {
        QTextCharFormat other;
        QTextCharFormat keyword;
        QTextCharFormat string;
        QTextCharFormat comment;
    };

    SqlHighlighter(QTextDocument* document, const QString& keywordList, const Formats& formats);

    // The ranges of the whole text as last computed (for tests and tools).
    const std::vector<SqlColourRange>& ranges();

protected:
    void highlightBlock(const QString& text) override;

private:
    void refreshRanges();
    const QTextCharFormat& formatOf(SqlTextCategory category) const;

    SqlColorizer m_colorizer;
    Formats m_formats;
    std::vector<SqlColourRange> m_ranges;
    int m_revision = -1;
    qsizetype m_length = -1;
};

} // namespace qb::ui
