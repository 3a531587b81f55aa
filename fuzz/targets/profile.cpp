// The profile (INI) reader over any bytes as a file, and over the input's text written in each
// encoding the reader detects. Properties: every key that keys() lists reads back through
// readString as the first of its entries, quotes removed; readString stays within its buffer;
// the same text reads the same in UTF-8 (with and without a mark) and in UTF-16LE and UTF-16BE
// with a mark.
#include "platform/Profile.h"
#include "support/FuzzSupport.h"

#include <QStringEncoder>

namespace {

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Everything the reader makes of the file, checked for consistency on the way.
QString readAll(const QString& path)
{
    const qb::Profile profile(path);
    QString digest;
    const QStringList sections = profile.sectionNames();
    for (const QString& section : sections.mid(0, 4)) {
        digest += u'[' + section + QStringLiteral("]\n");
        const QList<qb::ProfileEntry> entries = profile.entries(section);
        for (const qb::ProfileEntry& e : entries)
            digest += e.key + u'=' + e.value + u'\n';
        const QStringList keys = profile.keys(section);
        for (const QString& key : keys.mid(0, 4)) {
            const QString value = profile.readString(section, key, QStringLiteral("\x01missing"), 1 << 20);
            qsizetype first = 0;
            while (first < entries.size() && entries[first].key.compare(key, Qt::CaseInsensitive) != 0)
                ++first;
            QBFUZZ_CHECK(first < entries.size(), QStringLiteral("key \"%1\" of [%2] is among no entry").arg(key, section));
            QBFUZZ_CHECK(value == unquoted(entries[first].value),
                         QStringLiteral("[%1] %2 reads \"%3\", its first entry says \"%4\"").arg(section, key, value, entries[first].value));
            const QString cut = profile.readString(section, key, QString(), 4);
            QBFUZZ_CHECK(cut == value.left(3), QStringLiteral("a 4-character buffer gave \"%1\"").arg(cut));
            digest += QString::number(profile.readInt(section, key, -7)) + u'\n';
        }
    }
    QBFUZZ_CHECK(profile.readString(QStringLiteral("\x01none"), QStringLiteral("k"), QStringLiteral("dflt  "), 80) == QLatin1String("dflt"),
                 QStringLiteral("the default of a missing section"));
    return digest;
}

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding, bool withMark)
{
    QStringEncoder encoder(encoding, withMark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    readAll(qbfuzz::writeScratchFile(QStringLiteral("raw.ini"), bytes));

    // The same text in each encoding. A text with NUL characters is left out: "a" NUL in UTF-8
    // without a mark is what an unmarked UTF-16LE file looks like, and reads as one by design.
    QString text = QString::fromUtf8(bytes);
    while (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1); // a mark of its own would read as the file's mark
    if (text.contains(QChar(0)))
        return 0;
    const QString utf8 = readAll(qbfuzz::writeScratchFile(QStringLiteral("utf8.ini"), encoded(text, QStringConverter::Utf8, false)));
    const struct {
        QStringConverter::Encoding encoding;
        bool mark;
        const char* name;
    } others[] = {{QStringConverter::Utf8, true, "UTF-8 with a mark"},
                  {QStringConverter::Utf16LE, true, "UTF-16LE"},
                  {QStringConverter::Utf16BE, true, "UTF-16BE"}};
    for (const auto& other : others) {
        const QString read = readAll(qbfuzz::writeScratchFile(QStringLiteral("other.ini"), encoded(text, other.encoding, other.mark)));
        QBFUZZ_CHECK(read == utf8, QStringLiteral("%1 reads differently from UTF-8").arg(QLatin1String(other.name)));
    }
    return 0;
}
