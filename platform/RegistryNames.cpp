#include "platform/RegistryNames.h"

#include <QStringView>

namespace qb::reg::detail {

namespace {

QByteArray bigEndianUnits(const QString& text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        bytes[2 * i] = char(unit >> 8);
        bytes[2 * i + 1] = char(unit & 0xff);
    }
    return bytes;
}

// Names cross the C interfaces as NUL-terminated text and are stored as UTF-8, so a NUL or a lone
// surrogate could not come back as written: refuse them. The same holds for U+FFFE and U+FFFF,
// which SQLite hands back as U+FFFD: such a name would enumerate as one that finds nothing.
bool isStorableText(const QString& name)
{
    return QStringView(name).isValidUtf16() && !name.contains(QChar(0)) && !name.contains(QChar(0xFFFE))
        && !name.contains(QChar(0xFFFF));
}

} // namespace

QByteArray nameIdentity(const QString& name)
{
    return bigEndianUnits(name.toCaseFolded());
}

QByteArray nameOrder(const QString& name)
{
    return bigEndianUnits(name.toCaseFolded().toUpper());
}

bool splitKeyPath(const QString& path, QStringList* names)
{
    names->clear();
    for (const QString& part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part.size() > kMaxKeyNameLength || !isStorableText(part) || names->size() == kMaxKeyDepth)
            return false;
        names->append(part);
    }
    return true;
}

bool isStorableValueName(const QString& name)
{
    return name.size() <= kMaxValueNameLength && isStorableText(name);
}

} // namespace qb::reg::detail
