#include "console/ui/ResultText.h"

#include <algorithm>

namespace qb::console::ui {

ResultText::ResultText()
{
    clear();
}

void ResultText::clear()
{
    m_latin1 = QByteArray();
    m_utf16 = QString();
    m_wide = false;
    m_lineStarts.assign(1, 0);
    m_runs.clear();
    m_longest = 0;
    m_longestLength = 0;
}

qsizetype ResultText::lineEnd(qsizetype line) const
{
    return line + 1 < lineCount() ? m_lineStarts[size_t(line) + 1] - 1 : size();
}

QString ResultText::mid(qsizetype position, qsizetype length) const
{
    if (m_wide)
        return m_utf16.mid(position, length);
    position = std::clamp<qsizetype>(position, 0, m_latin1.size());
    length = std::clamp<qsizetype>(length, 0, m_latin1.size() - position);
    return QString::fromLatin1(m_latin1.constData() + position, length);
}

QChar ResultText::at(qsizetype position) const
{
    return m_wide ? m_utf16[position] : QChar(uchar(m_latin1[position]));
}

QString ResultText::lineText(qsizetype line) const
{
    return mid(lineStart(line), lineLength(line));
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
    const qsizetype length = lineLength(line);
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
            if (!m_runs.empty() && m_runs.back().start == size())
                m_runs.back().format = index;
            else
                m_runs.push_back({size(), index});
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
        appendCharacters(QStringView(units + segment, i - segment));
        noteLength(lineCount() - 1);
        appendLineBreak();
        m_lineStarts.push_back(size());
        if (c == u'\r' && i + 1 < n && units[i + 1] == u'\n')
            ++i;
        segment = i + 1;
    }
    appendCharacters(QStringView(units + segment, n - segment));
    // The last line may have grown without ending.
    noteLength(lineCount() - 1);
}

void ResultText::appendCharacters(QStringView characters)
{
    if (m_wide) {
        m_utf16.append(characters);
        return;
    }
    const qsizetype old = m_latin1.size();
    const qsizetype needed = old + characters.size();
    // Room ahead, so that a text growing a line at a time is not copied a line at a time.
    if (needed > m_latin1.capacity())
        m_latin1.reserve(std::max(needed, m_latin1.capacity() * 2));
    m_latin1.resize(needed);
    // Narrowed in a loop the compiler vectorizes; whether all fitted is checked once after it.
    const char16_t* __restrict in = characters.utf16();
    char* __restrict out = m_latin1.data() + old;
    unsigned all = 0;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        all |= in[i];
        out[i] = char(in[i]);
    }
    if (all < 0x100)
        return;
    m_latin1.truncate(old);
    m_utf16 = QString::fromLatin1(m_latin1);
    m_latin1 = QByteArray();
    m_wide = true;
    m_utf16.append(characters);
}

void ResultText::appendLineBreak()
{
    if (m_wide)
        m_utf16.append(QChar(u'\n'));
    else
        m_latin1.append('\n');
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
    const qsizetype total = size();
    const auto wordEdge = [&](qsizetype i) { return i < 0 || i >= total || !at(i).isLetterOrNumber(); };
    const auto scan = [&](auto haystack) -> qsizetype {
        qsizetype next = search.down ? from : from - 1;
        while (next >= 0 && next <= total) {
            const qsizetype hit = search.down ? haystack.indexOf(needle, next, cs) : haystack.lastIndexOf(needle, next, cs);
            if (hit < 0)
                return -1;
            if (!search.wholeWord || (wordEdge(hit - 1) && wordEdge(hit + needle.size())))
                return hit;
            next = search.down ? hit + 1 : hit - 1;
        }
        return -1;
    };
    return m_wide ? scan(QStringView(m_utf16)) : scan(QLatin1StringView(m_latin1));
}

} // namespace qb::console::ui
