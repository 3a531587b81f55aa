#include "common/SqlColorizer.h"

#include <algorithm>

namespace qb {
namespace {

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;

bool isLineEnd(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == kLineSeparator || c == kParagraphSeparator;
}

// Characters that may stand around a keyword. Not ",", "." or operators: "select," stays plain.
bool isDelimiter(char16_t c)
{
    switch (c) {
    case u'\0':
    case u'\t':
    case u' ':
    case u';':
    case u'(':
    case u')':
    case u'*':
    case u'[':
    case u']':
    case u'{':
    case u'}':
        return true;
    default:
        return isLineEnd(c);
    }
}

enum class State { Normal, DoubleQuoted, SingleQuoted, LineComment, BlockComment };

SqlTextCategory categoryOf(State state)
{
    return state == State::DoubleQuoted || state == State::SingleQuoted ? SqlTextCategory::String
                                                                        : SqlTextCategory::Comment;
}

} // namespace

QString SqlColorizer::defaultKeywordList()
{
    return QStringLiteral("alter,database,dbarea,password,stogroup,table,audit,message,check,index,"
                          "comment,on,commit,create,event,synonym,trigger,view,deinstall,delete,drop,"
                          "grant,insert,install,label,load,lock,procedure,revoke,rollback,rowcount,"
                          "savepoint,select,set,default,start,stop,unload,unlock,update,statistics,"
                          "from,into,order,where,like,set,by");
}

SqlColorizer::SqlColorizer() : m_normalClass(0x10000, NoClass)
{
    m_normalClass[u'"'] = DoubleQuoteStart;
    m_normalClass[u'\''] = SingleQuoteStart;
    m_normalClass[u'/'] = Slash;
}

void SqlColorizer::setKeywords(QStringView commaSeparated)
{
    for (const QString& k : m_keywords)
        m_normalClass[k.at(0).unicode()] = NoClass;
    m_normalClass[u'"'] = DoubleQuoteStart;
    m_normalClass[u'\''] = SingleQuoteStart;
    m_normalClass[u'/'] = Slash;
    m_keywords.clear();

    for (QStringView piece : commaSeparated.tokenize(u',', Qt::SkipEmptyParts))
        m_keywords.push_back(piece.toString());
    std::sort(m_keywords.begin(), m_keywords.end());
    m_keywords.erase(std::unique(m_keywords.begin(), m_keywords.end()), m_keywords.end());

    for (const QString& k : m_keywords)
        m_normalClass[k.at(0).unicode()] = KeywordStart;
}

qsizetype SqlColorizer::matchKeyword(QStringView text, qsizetype pos, bool* isRem) const
{
    if (pos > 0 && !isDelimiter(text[pos - 1].unicode()))
        return 0;
    const QChar first = text[pos];
    auto it = std::lower_bound(m_keywords.begin(), m_keywords.end(), first,
                               [](const QString& k, QChar c) { return k.at(0) < c; });
    for (; it != m_keywords.end() && it->at(0) == first; ++it) {
        const qsizetype end = pos + it->size();
        if (end > text.size() || text.sliced(pos, it->size()) != *it)
            continue;
        if (end < text.size() && !isDelimiter(text[end].unicode()))
            continue;
        *isRem = it->compare(u"rem", Qt::CaseInsensitive) == 0;
        return it->size();
    }
    return 0;
}

std::vector<SqlColourRange> SqlColorizer::colour(QStringView text) const
{
    int end = 0;
    return scan(text, int(State::Normal), &end);
}

std::vector<SqlColourRange> SqlColorizer::colourLine(QStringView line, LineState entry, LineState* exit) const
{
    int end = 0;
    std::vector<SqlColourRange> ranges = scan(line, entry & 0xFF, &end);
    const qsizetype n = line.size();
    State state = State(end);
    if (state == State::LineComment) {
        // The character two before this line's end decides, as in the whole text; for an empty
        // line that is the last character of the line before.
        const bool continues = n >= 2 ? line[n - 2] == u'\\' : n == 0 && (entry & kEndsWithBackslash) != 0;
        if (!continues)
            state = State::Normal;
    }
    *exit = int(state) | (n > 0 && line[n - 1] == u'\\' ? kEndsWithBackslash : 0);
    return ranges;
}

std::vector<SqlColourRange> SqlColorizer::scan(QStringView text, int entry, int* end) const
{
    std::vector<SqlColourRange> ranges;
    const qsizetype n = text.size();
    const QChar* s = text.data();
    State state = State(entry);
    qsizetype start = 0; // a string or comment open at the entry began before this text

    auto close = [&](qsizetype last, SqlTextCategory category) {
        ranges.push_back({start, last - start + 1, category});
        state = State::Normal;
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        switch (state) {
        case State::Normal:
            switch (m_normalClass[c]) {
            case DoubleQuoteStart:
                state = State::DoubleQuoted;
                start = i;
                break;
            case SingleQuoteStart:
                state = State::SingleQuoted;
                start = i;
                break;
            case Slash:
                if (i + 1 < n && (s[i + 1] == u'/' || s[i + 1] == u'*')) {
                    state = s[i + 1] == u'/' ? State::LineComment : State::BlockComment;
                    start = i;
                    ++i;
                }
                break;
            case KeywordStart: {
                bool isRem = false;
                const qsizetype length = matchKeyword(text, i, &isRem);
                if (length == 0)
                    break;
                if (isRem) {
                    state = State::LineComment;
                    start = i;
                } else {
                    ranges.push_back({i, length, SqlTextCategory::Keyword});
                }
                i += length - 1;
                break;
            }
            default:
                break;
            }
            break;
        case State::DoubleQuoted:
            if (c == u'"')
                close(i, SqlTextCategory::String);
            break;
        case State::SingleQuoted:
            // A quote after a backslash that another quote follows belongs to the string.
            if (c == u'\'' && !(i > 0 && s[i - 1] == u'\\' && i + 1 < n && s[i + 1] == u'\''))
                close(i, SqlTextCategory::String);
            break;
        case State::LineComment:
            // A backslash two characters before the line end continues the comment.
            if (isLineEnd(c) && !(i >= 2 && s[i - 2] == u'\\'))
                close(i, SqlTextCategory::Comment);
            break;
        case State::BlockComment:
            if (c == u'*' && i + 1 < n && s[i + 1] == u'/') {
                close(i + 1, SqlTextCategory::Comment);
                ++i;
            }
            break;
        }
    }
    if (state != State::Normal)
        ranges.push_back({start, n - start, categoryOf(state)});
    *end = int(state);
    return ranges;
}

} // namespace qb
