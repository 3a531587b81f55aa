#include "console/script/StatementScanner.h"

namespace qb::console {
namespace {

bool isWhiteSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// A character that is statement text as it stands wherever it comes outside quotes and comments.
bool isOrdinary(QChar c)
{
    return !isWhiteSpace(c) && c != u';' && c != u'\'' && c != u'"' && c != u'-' && c != u'/';
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Position after one or more repetitions of the (lower-case ASCII) word at pos, or pos itself.
qsizetype skipRepeatedWord(QStringView text, qsizetype pos, QLatin1StringView word)
{
    while (pos + word.size() <= text.size()
           && text.sliced(pos, word.size()).compare(word, Qt::CaseInsensitive) == 0)
        pos += word.size();
    return pos;
}

// Length of the transaction token ("start transaction;", "commit;", "rollback;") at pos, or 0.
qsizetype matchTransactionToken(QStringView text, qsizetype pos, StatementKind* kind)
{
    auto endsWithDelimiter = [&](qsizetype end) { return end < text.size() && text[end] == u';'; };

    qsizetype end = skipRepeatedWord(text, pos, QLatin1StringView("commit"));
    if (end > pos && endsWithDelimiter(end)) {
        *kind = StatementKind::Commit;
        return end + 1 - pos;
    }
    end = skipRepeatedWord(text, pos, QLatin1StringView("rollback"));
    if (end > pos && endsWithDelimiter(end)) {
        *kind = StatementKind::Rollback;
        return end + 1 - pos;
    }
    end = skipRepeatedWord(text, pos, QLatin1StringView("start"));
    if (end == pos)
        return 0;
    const qsizetype wordsEnd = end;
    while (end < text.size() && isWhiteSpace(text[end]))
        ++end;
    if (end == wordsEnd)
        return 0;
    const qsizetype transactionStart = end;
    end = skipRepeatedWord(text, end, QLatin1StringView("transaction"));
    if (end > transactionStart && endsWithDelimiter(end)) {
        *kind = StatementKind::StartTransaction;
        return end + 1 - pos;
    }
    return 0;
}

// Appends text with its line ends made LF (CR LF and a lone CR both become one LF).
void appendNormalisingLineEnds(QString& out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += text[i];
        }
    }
}

class Scan {
public:
    Scan(QStringView text, StatementSink& sink) : m_text(text), m_sink(sink) {}

    void run()
    {
        const qsizetype n = m_text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QChar c = m_text[i];
            switch (m_mode) {
            case Mode::SingleQuoted:
            case Mode::DoubleQuoted: {
                const QChar quote = m_mode == Mode::SingleQuoted ? u'\'' : u'"';
                // The quoted text up to its closing quote or a CR goes over in one piece.
                const qsizetype stop = appendRun(i, [quote](QChar t) { return t != quote && t != u'\r'; });
                if (stop == n)
                    return;
                i = appendVerbatim(stop);
                if (m_text[stop] == quote)
                    m_mode = Mode::Plain; // a doubled quote re-enters at once: same text either way
                break;
            }
            case Mode::BlockComment:
                if (c == u'*' && i + 1 < n && m_text[i + 1] == u'/') {
                    m_statement += QLatin1StringView("*/");
                    ++i;
                    m_mode = Mode::Plain;
                } else {
                    i = appendVerbatim(i);
                }
                break;
            case Mode::Plain:
                i = plain(i);
                break;
            }
        }
        // Whatever follows the last ";" is not a statement.
    }

private:
    enum class Mode { Plain, SingleQuoted, DoubleQuoted, BlockComment };

    // One character (or line end) inside quotes or a block comment; returns its last position.
    qsizetype appendVerbatim(qsizetype i)
    {
        if (m_text[i] != u'\r') {
            m_statement += m_text[i];
            return i;
        }
        m_statement += u'\n';
        return i + 1 < m_text.size() && m_text[i + 1] == u'\n' ? i + 1 : i;
    }

    // One character outside quotes and comments; returns the last position it consumed.
    qsizetype plain(qsizetype i)
    {
        const QChar c = m_text[i];
        if (isWhiteSpace(c)) {
            m_pendingSpace = !m_statement.isEmpty();
            return i;
        }
        if ((c == u'-' || c == u'/') && i + 1 < m_text.size() && m_text[i + 1] == c) {
            const qsizetype lineEnd = nextLineEnd(i + 2);
            if (lineEnd < m_text.size()) {
                m_pendingSpace = !m_statement.isEmpty();
                return lineEnd;
            }
            // Without a line break after it, it is statement text.
        }
        if (m_statement.isEmpty()) {
            StatementKind kind = StatementKind::Ordinary;
            if (const qsizetype length = matchTransactionToken(m_text, i, &kind)) {
                QString token;
                appendNormalisingLineEnds(token, m_text.sliced(i, length));
                m_sink.onStatement(token, kind);
                return i + length - 1;
            }
        }
        if (m_pendingSpace) {
            m_statement += u' ';
            m_pendingSpace = false;
        }
        if (c == u';') {
            m_sink.onStatement(m_statement, StatementKind::Ordinary);
            m_statement.resize(0); // keeps the buffer for the next statement (clear() would free it)
            return i;
        }
        if (isOrdinary(c))
            return appendRun(i, isOrdinary) - 1; // the rest of a word or number in one piece
        m_statement += c;
        if (c == u'\'') {
            m_mode = Mode::SingleQuoted;
        } else if (c == u'"') {
            m_mode = Mode::DoubleQuoted;
        } else if (c == u'/' && i + 1 < m_text.size() && m_text[i + 1] == u'*') {
            m_statement += u'*';
            m_mode = Mode::BlockComment;
            return i + 1;
        }
        return i;
    }

    // Appends the characters from `from` on while `keep` holds; returns where it stopped.
    template <typename Keep>
    qsizetype appendRun(qsizetype from, Keep keep)
    {
        qsizetype end = from;
        while (end < m_text.size() && keep(m_text[end]))
            ++end;
        m_statement += m_text.sliced(from, end - from);
        return end;
    }

    // Position of the first line end at or after from (the text size when none). Remembered, so
    // many line-comment markers on one long line cost one search.
    qsizetype nextLineEnd(qsizetype from)
    {
        if (m_lineEnd < from) {
            m_lineEnd = from;
            while (m_lineEnd < m_text.size() && !isLineEnd(m_text[m_lineEnd]))
                ++m_lineEnd;
        }
        return m_lineEnd;
    }

    QStringView m_text;
    StatementSink& m_sink;
    Mode m_mode = Mode::Plain;
    QString m_statement;
    bool m_pendingSpace = false;
    qsizetype m_lineEnd = -1;
};

} // namespace

void StatementScanner::scan(QStringView text, StatementSink& sink)
{
    Scan(text, sink).run();
}

} // namespace qb::console
