#pragma once
// The SQL colouring engine applied to a Qt text document: every block takes the "other text"
// format, then the keyword, string and comment ranges the engine finds get theirs. The formats
// are display-only (QTextLayout formats), so colouring never touches the text, the undo stack or
// the document's modified flag.
//
// Each block is coloured on its own from what the blocks before it left open (a string or a
// comment), which is its block state; Qt recolours the edited block and goes on with the next
// ones only while their entry state changes, so a keystroke in a long script costs about a line,
// with the same result as colouring the whole text.
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

    // The ranges of the whole text (for tests and tools), computed when the text has changed.
    const std::vector<SqlColourRange>& ranges();

protected:
    void highlightBlock(const QString& text) override;

private:
    const QTextCharFormat& formatOf(SqlTextCategory category) const;

    SqlColorizer m_colorizer;
    Formats m_formats;
    std::vector<SqlColourRange> m_ranges;
    int m_revision = -1;
    qsizetype m_length = -1;
};

} // namespace qb::ui
