#include "platform/Profile.h"

#include "platform/ProfileTextReader.h"

#include <QSet>

#include <algorithm>
#include <climits>
#include <optional>

namespace qb {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QStringView trimmed(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

QStringView withoutTrailingBlanks(QStringView s)
{
    qsizetype end = s.size();
    while (end > 0 && isBlank(s[end - 1]))
        --end;
    return s.first(end);
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct ParsedLine {
    enum Kind { Nothing, Section, Entry } kind = Nothing;
    QStringView name;
    QStringView value;
};

ParsedLine parseLine(QStringView line)
{
    const QStringView text = trimmed(line);
    if (text.isEmpty() || text.front() == u';')
        return {};
    if (text.front() == u'[') {
        const qsizetype close = text.indexOf(u']');
        const QStringView name = close < 0 ? text.sliced(1) : text.sliced(1, close - 1);
        return {ParsedLine::Section, trimmed(name), {}};
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return {};
    const QStringView key = trimmed(text.first(equals));
    if (key.isEmpty())
        return {};
    return {ParsedLine::Entry, key, trimmed(text.sliced(equals + 1))};
}

// Calls onEntry(key, value) for every entry of the section, in file order, until it returns false.
template <class OnEntry>
void scanSection(const QString& path, QStringView section, OnEntry&& onEntry)
{
    ProfileTextReader reader(path);
    QString line;
    bool inside = false;
    while (reader.nextLine(line)) {
        const ParsedLine parsed = parseLine(line);
        if (parsed.kind == ParsedLine::Section)
            inside = sameName(parsed.name, section);
        else if (parsed.kind == ParsedLine::Entry && inside && !onEntry(parsed.name, parsed.value))
            return;
    }
}

std::optional<QString> findValue(const QString& path, QStringView section, QStringView key)
{
    std::optional<QString> found;
    scanSection(path, section, [&](QStringView name, QStringView value) {
        if (!sameName(name, key))
            return true;
        found = unquoted(value).toString();
        return false;
    });
    return found;
}

int parseDecimal(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (magnitude <= INT_MAX) // past that the clamp below decides; keeps the sum in range
            magnitude = magnitude * 10 + (text[i].unicode() - u'0');
    }
    const long long value = negative ? -magnitude : magnitude;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Collects names in first-seen order, each once without regard to case; a set keeps a file
// with a great many names linear.
class UniqueNames {
public:
    void add(QStringView name)
    {
        QString folded = name.toString().toCaseFolded();
        if (m_seen.contains(folded))
            return;
        m_seen.insert(std::move(folded));
        m_names.append(name.toString());
    }
    QStringList take() { return std::move(m_names); }

private:
    QSet<QString> m_seen;
    QStringList m_names;
};

} // namespace

QString Profile::readString(const QString& section, const QString& key, const QString& defaultValue,
                            qsizetype bufferSize) const
{
    if (bufferSize < 1)
        return {};
    std::optional<QString> value = findValue(m_path, section, key);
    QString result = value ? std::move(*value) : withoutTrailingBlanks(defaultValue).toString();
    result.truncate(bufferSize - 1);
    return result;
}

int Profile::readInt(const QString& section, const QString& key, int defaultValue) const
{
    const std::optional<QString> value = findValue(m_path, section, key);
    if (!value || value->isEmpty())
        return defaultValue;
    return parseDecimal(*value);
}

QStringList Profile::sectionNames() const
{
    UniqueNames names;
    ProfileTextReader reader(m_path);
    QString line;
    while (reader.nextLine(line)) {
        const ParsedLine parsed = parseLine(line);
        if (parsed.kind == ParsedLine::Section)
            names.add(parsed.name);
    }
    return names.take();
}

QStringList Profile::keys(const QString& section) const
{
    UniqueNames names;
    scanSection(m_path, section, [&](QStringView name, QStringView) {
        names.add(name);
        return true;
    });
    return names.take();
}

QList<ProfileEntry> Profile::entries(const QString& section) const
{
    QList<ProfileEntry> result;
    scanSection(m_path, section, [&](QStringView name, QStringView value) {
        result.append({name.toString(), value.toString()});
        return true;
    });
    return result;
}

} // namespace qb
