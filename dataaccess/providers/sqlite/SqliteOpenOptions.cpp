#include "dataaccess/providers/sqlite/SqliteOpenOptions.h"

#include "dataaccess/Provider.h"

namespace qb::data::sqlite {
namespace {

bool isOneOf(const QString& value, std::initializer_list<const char16_t*> names)
{
    for (const char16_t* name : names)
        if (value.compare(QStringView(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

[[noreturn]] void badValue(const QString& key, const QString& value, const QString& accepted)
{
    throw ProviderError(E_INVALIDARG, QStringLiteral("The SQLite provider does not know the value \"%1\" of \"%2\"; it takes %3.")
                                          .arg(value, key, accepted));
}

} // namespace

SqliteOpenOptions SqliteOpenOptions::from(const ConnectionString& properties)
{
    SqliteOpenOptions options;
    options.path = properties.value(QString::fromUtf16(kDataSourceKey));

    const QString mode = properties.value(QString::fromUtf16(kModeKey)).trimmed();
    if (isOneOf(mode, {kModeReadOnly, u"Read"}))
        options.readOnly = true;
    else if (!mode.isEmpty() && !isOneOf(mode, {kModeReadWrite}))
        badValue(QString::fromUtf16(kModeKey), mode, QStringLiteral("ReadOnly or ReadWrite"));

    const QString immutable = properties.value(QString::fromUtf16(kImmutableKey)).trimmed();
    if (const auto flag = parseBoolean(immutable))
        options.immutable = *flag;
    else if (!immutable.isEmpty())
        badValue(QString::fromUtf16(kImmutableKey), immutable, QStringLiteral("True or False"));
    return options;
}

} // namespace qb::data::sqlite
