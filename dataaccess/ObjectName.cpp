#include "dataaccess/ObjectName.h"

#include <sqlite3.h>

namespace qb::data {
namespace {

bool isPlainIdentifier(const QString& part)
{
    if (part.isEmpty())
        return false;
    for (qsizetype i = 0; i < part.size(); ++i) {
        const char16_t c = part.at(i).unicode();
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
        const bool digit = c >= u'0' && c <= u'9';
        if (!(letter || (digit && i > 0)))
            return false;
    }
    // A keyword cannot stand as a name (a table called "order"); SQLite's list covers the
    // common SQL keywords.
    const QByteArray latin = part.toLatin1();
    return !sqlite3_keyword_check(latin.constData(), int(latin.size()));
}

} // namespace

QString quoteIdentifierPart(const QString& part, const QString& open, const QString& close)
{
    // Brackets belong to engines that keep the case of unquoted names, so a plain name may stay
    // bare there. Engines with standard quotes fold unquoted names (PostgreSQL to lower case),
    // and the catalogue's spelling is only found again when quoted.
    if (open == u"[" && isPlainIdentifier(part))
        return part;
    if (open.isEmpty() || open == u" ")
        return part; // the provider has no quoting
    // SQLite ends a bracketed name at the first "]", with no way to double it: such a name takes
    // the standard quotes, which every engine that offers brackets reads as well.
    if (open == u"[" && part.contains(u']'))
        return quoteIdentifierPart(part, QStringLiteral("\""), QStringLiteral("\""));
    QString inner = part;
    if (!close.isEmpty())
        inner.replace(close, close + close);
    return open + inner + close;
}

QString quoteObjectName(const ObjectName& object, const QString& open, const QString& close)
{
    const QString name = quoteIdentifierPart(object.name, open, close);
    if (object.schema.isEmpty())
        return name;
    return quoteIdentifierPart(object.schema, open, close) + QLatin1Char('.') + name;
}

} // namespace qb::data
