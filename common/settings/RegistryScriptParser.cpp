#include "common/settings/RegistryScriptParser.h"

#include "platform/BrelibException.h"
#include "platform/Registry.h"

#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

namespace qb::settings {
namespace {

using namespace qb::reg;
using Kind = RegistryScriptEntry::Kind;

[[noreturn]] void fail(int line, const QString& what)
{
    throw Brelib::exception(QStringLiteral("line %1: %2").arg(line).arg(what));
}

struct Line {
    int number = 0;
    QString text;
};

std::vector<Line> splitLines(const QByteArray& bytes)
{
    std::vector<Line> lines;
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int number = 1;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder(QByteArrayView(bytes).sliced(pos, end - pos));
        if (decoder.hasError())
            fail(number, QStringLiteral("the text is not valid UTF-8"));
        lines.push_back(Line{number++, std::move(text)});
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        pos = end + 1;
    }
    return lines;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QByteArray stringData(const QString& text)
{
    QByteArray data((text.size() + 1) * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), data.data() + 2 * i);
    return data;
}

// One physical line read from left to right.
class Cursor {
public:
    Cursor(const Line& line) : m_text(line.text), m_line(line.number) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void skip(qsizetype n = 1) { m_pos += n; }
    void skipBlanks()
    {
        while (!atEnd() && isBlank(peek()))
            ++m_pos;
    }
    QString rest() const { return m_text.mid(m_pos); }
    int line() const { return m_line; }

    // A double-quoted text at the cursor, with the escapes \\ and \".
    QString quoted(const QString& what)
    {
        skip(); // the opening quote
        QString out;
        while (!atEnd()) {
            const QChar c = m_text[m_pos++];
            if (c == u'"')
                return out;
            if (c != u'\\') {
                out += c;
                continue;
            }
            if (atEnd())
                break;
            const QChar escaped = m_text[m_pos++];
            if (escaped != u'\\' && escaped != u'"')
                fail(m_line, QStringLiteral("unknown escape \"\\%1\" in the %2").arg(escaped).arg(what));
            out += escaped;
        }
        fail(m_line, QStringLiteral("the %1 has no closing quote").arg(what));
    }

private:
    const QString& m_text;
    int m_line;
    qsizetype m_pos = 0;
};

class Parser {
public:
    explicit Parser(std::vector<Line> lines) : m_lines(std::move(lines)) {}

    ParsedRegistryScript run()
    {
        header();
        while (m_next < m_lines.size()) {
            const Line& line = m_lines[m_next++];
            const QString text = line.text.trimmed();
            if (text.isEmpty() || text.startsWith(u';'))
                continue;
            if (text.startsWith(u'['))
                keyLine(line.number, text);
            else if (text.startsWith(u'"') || text.startsWith(u'@'))
                valueLine(line);
            else if (text == QLatin1String("Error"))
                fail(line.number, QStringLiteral("the script marks a key whose subtree could not be exported (\"Error\")"));
            else
                fail(line.number, QStringLiteral("not a key, value or comment line: \"%1\"").arg(text.left(40)));
        }
        return std::move(m_script);
    }

private:
    void header()
    {
        while (m_next < m_lines.size() && m_lines[m_next].text.trimmed().isEmpty())
            ++m_next;
        if (m_next == m_lines.size())
            fail(m_lines.empty() ? 1 : m_lines.back().number, QStringLiteral("the script is empty; it must start with \"REGEDIT4\""));
        const Line& first = m_lines[m_next++];
        if (first.text.trimmed() != QLatin1String("REGEDIT4"))
            fail(first.number, QStringLiteral("not a REGEDIT4 script: the first line must be \"REGEDIT4\""));
    }

    void keyLine(int number, const QString& text)
    {
        if (!text.endsWith(u']'))
            fail(number, QStringLiteral("the key line has no closing \"]\""));
        QString inner = text.mid(1, text.size() - 2);
        const bool remove = inner.startsWith(u'-');
        if (remove)
            inner.remove(0, 1);
        const qsizetype slash = inner.indexOf(u'\\');
        RegistryScriptEntry entry;
        entry.kind = remove ? Kind::RemoveKey : Kind::Key;
        entry.line = number;
        entry.rootName = slash < 0 ? inner : inner.left(slash);
        entry.keyPath = slash < 0 ? QString() : inner.mid(slash + 1);
        const HKEY root = rootByName(entry.rootName);
        if (!root)
            fail(number, QStringLiteral("unknown root key \"%1\"").arg(entry.rootName.left(40)));
        if (hiveFilePath(root).isEmpty())
            fail(number, QStringLiteral("the root key %1 holds nothing here and cannot be written").arg(entry.rootName));
        if (slash >= 0)
            checkKeyPath(number, entry.keyPath);
        if (remove && entry.keyPath.isEmpty())
            fail(number, QStringLiteral("a root key cannot be removed"));
        m_script.entries.push_back(std::move(entry));
        m_valuesAllowed = !remove;
    }

    // What the registry would refuse when the key is created, found before anything is written.
    static void checkKeyPath(int number, const QString& path)
    {
        int depth = 0;
        for (QStringView name : QStringView(path).tokenize(u'\\')) {
            if (name.isEmpty())
                fail(number, QStringLiteral("the key path has an empty key name"));
            if (name.size() > kMaxKeyNameLength)
                fail(number, QStringLiteral("a key name is longer than %1 characters").arg(kMaxKeyNameLength));
            if (++depth > kMaxKeyDepth)
                fail(number, QStringLiteral("the key path is deeper than %1 keys").arg(kMaxKeyDepth));
        }
        if (!isValidKeyPath(path))
            fail(number, QStringLiteral("a key name holds a character the registry cannot store (NUL, U+FFFE or U+FFFF)"));
    }

    void valueLine(const Line& line)
    {
        if (!m_valuesAllowed)
            fail(line.number, m_script.entries.empty() ? QStringLiteral("a value line before the first key line")
                                                       : QStringLiteral("a value line under a key removal"));
        const RegistryScriptEntry& key = m_script.entries.back();
        RegistryScriptEntry entry;
        entry.kind = Kind::Value;
        entry.line = line.number;
        entry.rootName = key.rootName;
        entry.keyPath = key.keyPath;

        Cursor c(line);
        c.skipBlanks();
        if (c.peek() == u'@')
            c.skip();
        else
            entry.valueName = c.quoted(QStringLiteral("value name"));
        if (entry.valueName.size() > kMaxValueNameLength)
            fail(line.number, QStringLiteral("the value name is longer than %1 characters").arg(kMaxValueNameLength));
        if (!isValidValueName(entry.valueName))
            fail(line.number, QStringLiteral("the value name holds a character the registry cannot store (NUL, U+FFFE or U+FFFF)"));
        c.skipBlanks();
        if (c.peek() != u'=')
            fail(line.number, QStringLiteral("\"=\" expected after the value name"));
        c.skip();
        c.skipBlanks();
        data(c, entry);
        m_script.entries.push_back(std::move(entry));
    }

    void data(Cursor& c, RegistryScriptEntry& entry)
    {
        const QString rest = c.rest().trimmed();
        if (rest.startsWith(u'"')) {
            const QString text = c.quoted(QStringLiteral("string"));
            c.skipBlanks();
            if (!c.atEnd())
                fail(c.line(), QStringLiteral("unexpected text after the closing quote"));
            entry.type = REG_SZ;
            entry.data = stringData(text);
        } else if (rest == QLatin1String("-")) {
            entry.kind = Kind::RemoveValue;
        } else if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const QString digits = rest.mid(6).trimmed();
            bool ok = digits.size() >= 1 && digits.size() <= 8;
            const uint32_t value = ok ? digits.toUInt(&ok, 16) : 0;
            if (!ok || digits.startsWith(u'+') || digits.startsWith(u'-'))
                fail(c.line(), QStringLiteral("\"dword:\" needs 1 to 8 hexadecimal digits"));
            entry.type = REG_DWORD;
            entry.data.resize(4);
            qToLittleEndian<quint32>(value, entry.data.data());
        } else if (rest.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
            entry.type = REG_BINARY;
            entry.data = byteList(rest.mid(4), c.line());
        } else if (rest.startsWith(QLatin1String("hex("), Qt::CaseInsensitive)) {
            const qsizetype close = rest.indexOf(QLatin1String("):"));
            if (close < 0)
                fail(c.line(), QStringLiteral("\"hex(\" needs a type number followed by \"):\""));
            entry.type = typeNumber(rest.mid(4, close - 4), c.line());
            entry.data = byteList(rest.mid(close + 2), c.line());
        } else {
            fail(c.line(), QStringLiteral("unknown value data \"%1\"").arg(rest.left(40)));
        }
    }

    static uint32_t typeNumber(const QString& text, int line)
    {
        // Our writer gives the type in decimal; other writers in hexadecimal, which only shows
        // when a letter appears. Digits alone are read as decimal.
        bool ok = !text.isEmpty() && !text.startsWith(u'+') && !text.startsWith(u'-');
        uint32_t type = 0;
        if (ok) {
            bool letters = false;
            for (const QChar ch : text)
                letters = letters || (ch.toLower() >= u'a' && ch.toLower() <= u'f');
            type = text.toUInt(&ok, letters ? 16 : 10);
        }
        if (!ok)
            fail(line, QStringLiteral("\"%1\" is not a value type number").arg(text.left(20)));
        return type;
    }

    // The bytes of a hex list, following continuation lines (a trailing backslash). An empty
    // line after a backslash ends the list: our writer leaves one when the bytes fill the last line.
    // Read in place, item by item: a list of millions of bytes costs its bytes, not a text each.
    QByteArray byteList(QString segment, int line)
    {
        QByteArray bytes;
        for (;;) {
            QStringView text = QStringView(segment).trimmed();
            const bool continued = text.endsWith(u'\\');
            if (continued)
                text.chop(1);
            for (qsizetype pos = 0;;) {
                const qsizetype comma = text.indexOf(u',', pos);
                const bool last = comma < 0;
                const QStringView item = text.sliced(pos, (last ? text.size() : comma) - pos).trimmed();
                if (item.isEmpty() && !last)
                    fail(line, QStringLiteral("an empty byte in the list"));
                if (!item.isEmpty()) // else a trailing comma, or nothing at all
                    bytes.append(byteOf(item, line));
                if (last)
                    break;
                pos = comma + 1;
            }
            if (!continued)
                return bytes;
            if (m_next >= m_lines.size())
                fail(line, QStringLiteral("the byte list continues past the end of the script"));
            const Line& next = m_lines[m_next++];
            if (next.text.trimmed().isEmpty())
                return bytes;
            segment = next.text;
            line = next.number;
        }
    }

    static char byteOf(QStringView item, int line)
    {
        bool ok = item.size() <= 2 && !item.startsWith(u'+') && !item.startsWith(u'-');
        const uint value = ok ? item.toUInt(&ok, 16) : 0;
        if (!ok)
            fail(line, QStringLiteral("\"%1\" is not a byte in hexadecimal").arg(item.left(20)));
        return char(value);
    }

    std::vector<Line> m_lines;
    size_t m_next = 0;
    ParsedRegistryScript m_script;
    bool m_valuesAllowed = false;
};

} // namespace

ParsedRegistryScript parseRegistryScript(const QByteArray& bytes)
{
    if (bytes.size() > kMaxRegistryScriptSize)
        throw Brelib::exception(QStringLiteral("the script is larger than %1 MB: not a settings script")
                                    .arg(kMaxRegistryScriptSize >> 20));
    return Parser(splitLines(bytes)).run();
}

ImportCounts importRegistryScript(const ParsedRegistryScript& script)
{
    ImportCounts counts;
    KeyGuard current;
    for (const RegistryScriptEntry& e : script.entries) {
        const HKEY root = rootByName(e.rootName);
        const QString keyName = e.keyPath.isEmpty() ? e.rootName : e.rootName + u'\\' + e.keyPath;
        long rc = ERROR_SUCCESS;
        switch (e.kind) {
        case Kind::Key:
            rc = RegCreateKeyEx(root, e.keyPath, current.out());
            if (rc != ERROR_SUCCESS)
                fail(e.line, QStringLiteral("cannot create the key %1 (registry error %2)").arg(keyName).arg(rc));
            ++counts.keys;
            break;
        case Kind::RemoveKey:
            current.reset();
            rc = RegDeleteTree(root, e.keyPath);
            if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
                fail(e.line, QStringLiteral("cannot remove the key %1 (registry error %2)").arg(keyName).arg(rc));
            break;
        case Kind::Value:
            rc = RegSetValueEx(current.get(), e.valueName, e.type, e.data.constData(), uint32_t(e.data.size()));
            if (rc != ERROR_SUCCESS)
                fail(e.line, QStringLiteral("cannot write a value of the key %1 (registry error %2)").arg(keyName).arg(rc));
            ++counts.values;
            break;
        case Kind::RemoveValue:
            rc = RegDeleteValue(current.get(), e.valueName);
            if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
                fail(e.line, QStringLiteral("cannot remove a value of the key %1 (registry error %2)").arg(keyName).arg(rc));
            break;
        }
    }
    return counts;
}

} // namespace qb::settings
