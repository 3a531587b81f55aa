#include "common/ui/SqlHighlighter.h"

#include <QTextDocument>
#include <algorithm>

namespace qb::ui {

SqlHighlighter::SqlHighlighter(QTextDocument* document, const QString& keywordList, const Formats& formats)
    : QSyntaxHighlighter(document), m_formats(formats)
{
    m_colorizer.setKeywords(keywordList);
    rehighlight();
}

const std::vector<SqlColourRange>& SqlHighlighter::ranges()
{
    refreshRanges();
    return m_ranges;
}

void SqlHighlighter::refreshRanges()
{
    const QTextDocument* doc = document();
    if (!doc)
        return;
    // The revision alone is not enough: formats applied by Qt do not count as a revision, but
    // every edit changes it; the length guards the first pass.
    if (doc->revision() == m_revision && doc->characterCount() == m_length)
        return;
    m_revision = doc->revision();
    m_length = doc->characterCount();
    // Blocks are joined with U+2029, which the engine takes as a line end like the editor does.
    m_ranges = m_colorizer.colour(doc->toRawText());
}

const QTextCharFormat& SqlHighlighter::formatOf(SqlTextCategory category) const
{
    switch (category) {
    case SqlTextCategory::Keyword:
        return m_formats.keyword;
    case SqlTextCategory::String:
        return m_formats.string;
    case SqlTextCategory::Comment:
        return m_formats.comment;
    case SqlTextCategory::Other:
        break;
    }
    return m_formats.other;
}

void SqlHighlighter::highlightBlock(const QString& text)
{
    refreshRanges();
    const qsizetype blockStart = currentBlock().position();
    const qsizetype blockEnd = blockStart + text.size(); // the line end follows at blockEnd
    setFormat(0, int(text.size()), m_formats.other);

    // The first range that ends after the block starts.
    auto it = std::lower_bound(m_ranges.begin(), m_ranges.end(), blockStart,
                               [](const SqlColourRange& r, qsizetype pos) { return r.start + r.length <= pos; });
    int state = -1;
    for (; it != m_ranges.end() && it->start <= blockEnd; ++it) {
        const qsizetype from = std::max(it->start, blockStart);
        const qsizetype to = std::min(it->start + it->length, blockEnd);
        if (to > from)
            setFormat(int(from - blockStart), int(to - from), formatOf(it->category));
        if (it->start + it->length > blockEnd && it->category != SqlTextCategory::Keyword) {
            // Open at the line end: the next block starts inside this range.
            const QChar opener = document()->characterAt(int(it->start));
            state = int(it->category) << 16 | opener.unicode();
        }
    }
    setCurrentBlockState(state);
}

} // namespace qb::ui
