#include "dataaccess/ConnectionString.h"

#include "dataaccess/Provider.h"

#include <algorithm>

namespace qb::data {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

[[noreturn]] void fail(const QString& what, qsizetype pos)
{
    throw ProviderError(E_INVALIDARG,
                        QStringLiteral("The connection string is malformed at character %1: %2").arg(pos + 1).arg(what));
}

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    ConnectionString run()
    {
        ConnectionString result;
        while (true) {
            skipBlanks();
            if (atEnd())
                break;
            if (peek() == u';') {
                ++m_pos;
                continue;
            }
            const qsizetype keyStart = m_pos;
            const QString key = readKey();
            if (key.isEmpty())
                fail(QStringLiteral("a value without a key"), keyStart);
            result.set(key, readValue());
        }
        return result;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return m_text.at(m_pos); }
    void skipBlanks()
    {
        while (!atEnd() && isBlank(peek()))
            ++m_pos;
    }

    QString readKey()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() != u'=') {
            if (peek() == u';')
                fail(QStringLiteral("\"%1\" has no \"=\"").arg(excerptOf(m_text.mid(start, m_pos - start).trimmed())), start);
            ++m_pos;
        }
        if (atEnd())
            fail(QStringLiteral("\"%1\" has no \"=\"").arg(excerptOf(m_text.mid(start).trimmed())), start);
        const QString key = m_text.mid(start, m_pos - start).trimmed();
        ++m_pos; // "="
        return key;
    }

    QString readValue()
    {
        skipBlanks();
        if (atEnd())
            return {};
        const QChar first = peek();
        QString value;
        if (first == u'"' || first == u'\'')
            value = readQuoted(first, first, false);
        else if (first == u'{')
            value = readQuoted(u'{', u'}', true);
        else {
            const qsizetype start = m_pos;
            while (!atEnd() && peek() != u';')
                ++m_pos;
            return m_text.mid(start, m_pos - start).trimmed();
        }
        skipBlanks();
        if (!atEnd() && peek() != u';')
            fail(QStringLiteral("text after the closing quote"), m_pos);
        return value;
    }

    // From an opening quote to its closing quote; a doubled closing quote stands for one.
    QString readQuoted(QChar open, QChar close, bool keepQuotes)
    {
        const qsizetype start = m_pos;
        ++m_pos;
        QString value;
        if (keepQuotes)
            value += open;
        while (true) {
            if (atEnd())
                fail(QStringLiteral("the quote that starts here is never closed"), start);
            const QChar c = peek();
            ++m_pos;
            if (c != close) {
                value += c;
                continue;
            }
            if (!atEnd() && peek() == close) {
                value += c;
                if (keepQuotes)
                    value += c;
                ++m_pos;
                continue;
            }
            break;
        }
        if (keepQuotes)
            value += close;
        return value;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

bool needsQuotes(const QString& value)
{
    if (value.isEmpty())
        return false;
    if (isBracedValue(value))
        return false; // braces already protect it
    // A first character that opens a quote or a brace would be read as one; white space at either
    // end (any the trimming of a plain value removes: form feeds, no-break spaces too) would be lost.
    return value.contains(u';') || value.front() == u'"' || value.front() == u'\'' || value.front() == u'{' ||
           value.front().isSpace() || value.back().isSpace();
}

} // namespace

ConnectionString ConnectionString::parse(const QString& text)
{
    return Parser(text).run();
}

std::optional<QString> ConnectionString::find(const QString& key) const
{
    const QString k = key.trimmed();
    for (const Entry& e : m_entries)
        if (e.key.compare(k, Qt::CaseInsensitive) == 0)
            return e.value;
    return std::nullopt;
}

bool ConnectionString::contains(const QString& key) const
{
    return find(key).has_value();
}

QString ConnectionString::value(const QString& key) const
{
    return find(key).value_or(QString());
}

void ConnectionString::set(const QString& key, const QString& value)
{
    const QString k = key.trimmed();
    for (Entry& e : m_entries)
        if (e.key.compare(k, Qt::CaseInsensitive) == 0) {
            e.value = value;
            return;
        }
    m_entries.push_back({k, value});
}

void ConnectionString::remove(const QString& key)
{
    const QString k = key.trimmed();
    std::erase_if(m_entries, [&](const Entry& e) { return e.key.compare(k, Qt::CaseInsensitive) == 0; });
}

QString ConnectionString::toString() const
{
    QString out;
    for (const Entry& e : m_entries) {
        if (!out.isEmpty())
            out += u';';
        out += e.key;
        out += u'=';
        if (needsQuotes(e.value)) {
            QString doubled = e.value;
            doubled.replace(u'"', QStringLiteral("\"\""));
            out += u'"' + doubled + u'"';
        } else {
            out += e.value;
        }
    }
    return out;
}

bool isBracedValue(const QString& v)
{
    if (v.size() < 2 || !v.startsWith(u'{') || !v.endsWith(u'}'))
        return false;
    for (qsizetype i = 1; i < v.size() - 1; ++i) {
        if (v[i] == u'}') {
            if (i + 1 >= v.size() - 1 || v[i + 1] != u'}')
                return false;
            ++i;
        }
    }
    return true;
}

QString excerptOf(const QString& text)
{
    constexpr qsizetype kLength = 40;
    return text.size() <= kLength ? text : text.left(kLength) + QStringLiteral("...");
}

std::optional<bool> parseBoolean(const QString& value)
{
    const QString v = value.trimmed();
    for (const char16_t* yes : {u"True", u"Yes", u"1"})
        if (v.compare(QStringView(yes), Qt::CaseInsensitive) == 0)
            return true;
    for (const char16_t* no : {u"False", u"No", u"0"})
        if (v.compare(QStringView(no), Qt::CaseInsensitive) == 0)
            return false;
    return std::nullopt;
}

} // namespace qb::data
