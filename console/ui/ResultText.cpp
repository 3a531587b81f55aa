#include "console/ui/ResultText.h"

#include <algorithm>

namespace qb::console::ui {

ResultText::ResultText()
{
    clear();
}

void ResultText::clear()
{
    m_text.clear();
    m_lineStarts.assign(1, 0);
    m_runs.clear();
    m_longest = 0;
    m_longestLength = 0;
}

qsizetype ResultText::lineEnd(qsizetype line) const
{
    return line + 1 < lineCount() ? m_lineStarts[size_t(line) + 1] - 1 : m_text.size();
}

QStringView ResultText::lineText(qsizetype line) const
{
    const qsizetype start = lineStart(line);
    return QStringView(m_text).mid(start, lineEnd(line) - start);
}

qsizetype ResultText::lineAt(qsizetype position) const
{
    const auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
    return qsizetype(it - m_lineStarts.begin()) - 1;
}

int ResultText::formatIndex(const QTextCharFormat& format)
{
    // Appends mostly repeat the format before them; there are only a few in all.
    if (!m_runs.empty() && m_runs.back().format >= 0 && m_formats[size_t(m_runs.back().format)] == format)
        return m_runs.back().format;
    const auto it = std::find(m_formats.begin(), m_formats.end(), format);
    if (it != m_formats.end())
        return int(it - m_formats.begin());
    m_formats.push_back(format);
    return int(m_formats.size()) - 1;
}

void ResultText::noteLength(qsizetype line)
{
    const qsizetype length = lineEnd(line) - lineStart(line);
    if (length > m_longestLength) {
        m_longest = line;
        m_longestLength = length;
    }
}

void ResultText::append(QStringView text, const QTextCharFormat* format)
{
    if (format) {
        const int index = formatIndex(*format);
        if (m_runs.empty() || m_runs.back().format != index) {
            if (!m_runs.empty() && m_runs.back().start == m_text.size())
                m_runs.back().format = index;
            else
                m_runs.push_back({m_text.size(), index});
        }
    }
    // Line by line: each line's characters in one piece, its break as one LF.
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    qsizetype segment = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = units[i];
        if (c != u'\r' && c != u'\n')
            continue;
        m_text.append(QStringView(units + segment, i - segment));
        noteLength(lineCount() - 1);
        m_text.append(QChar(u'\n'));
        m_lineStarts.push_back(m_text.size());
        if (c == u'\r' && i + 1 < n && units[i + 1] == u'\n')
            ++i;
        segment = i + 1;
    }
    m_text.append(QStringView(units + segment, n - segment));
    // The last line may have grown without ending.
    noteLength(lineCount() - 1);
}

QList<QTextLayout::FormatRange> ResultText::lineFormats(qsizetype line) const
{
    QList<QTextLayout::FormatRange> ranges;
    const qsizetype start = lineStart(line);
    const qsizetype end = lineEnd(line);
    // The run in force at the line's start, then those that begin inside it.
    auto it = std::upper_bound(m_runs.begin(), m_runs.end(), start, [](qsizetype p, const Run& r) { return p < r.start; });
    if (it != m_runs.begin())
        --it;
    for (; it != m_runs.end() && it->start < end; ++it) {
        const qsizetype from = std::max(it->start, start);
        const qsizetype to = std::min(it + 1 != m_runs.end() ? (it + 1)->start : end, end);
        if (it->format < 0 || to <= from)
            continue;
        ranges.append({int(from - start), int(to - from), m_formats[size_t(it->format)]});
    }
    return ranges;
}

qsizetype ResultText::find(const TextSearch& search, qsizetype from) const
{
    const QString& needle = search.text;
    if (needle.isEmpty() || needle.contains(u'\n') || needle.contains(u'\r'))
        return -1;
    const Qt::CaseSensitivity cs = search.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const auto wordEdge = [&](qsizetype i) { return i < 0 || i >= m_text.size() || !m_text[i].isLetterOrNumber(); };
    qsizetype at = search.down ? from : from - 1;
    while (at >= 0 && at <= m_text.size()) {
        const qsizetype hit = search.down ? m_text.indexOf(needle, at, cs) : m_text.lastIndexOf(needle, at, cs);
        if (hit < 0)
            return -1;
        if (!search.wholeWord || (wordEdge(hit - 1) && wordEdge(hit + needle.size())))
            return hit;
        at = search.down ? hit + 1 : hit - 1;
    }
    return -1;
}

} // namespace qb::console::ui
