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
    const QTextDocument* doc = document();
    if (!doc)
        return m_ranges;
    // The revision alone is not enough: formats applied by Qt do not count as a revision, but
    // every edit changes it; the length guards the first pass.
    if (doc->revision() != m_revision || doc->characterCount() != m_length) {
        m_revision = doc->revision();
        m_length = doc->characterCount();
        // Blocks are joined with U+2029, which the engine takes as a line end like the editor does.
        m_ranges = m_colorizer.colour(doc->toRawText());
    }
    return m_ranges;
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
    // Qt stores -1 for a block it has not coloured yet; the first block starts with nothing open.
    const int entry = std::max(previousBlockState(), 0);
    int exit = 0;
    const std::vector<SqlColourRange> ranges = m_colorizer.colourLine(text, entry, &exit);
    setFormat(0, int(text.size()), m_formats.other);
    for (const SqlColourRange& r : ranges)
        setFormat(int(r.start), int(r.length), formatOf(r.category));
    setCurrentBlockState(exit);
}

} // namespace qb::ui
