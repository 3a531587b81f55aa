#pragma once
// A table or view as the tables schema names it, and the text that names it in a query.
#include <QString>

namespace qb::data {

struct ObjectName {
    QString schema; // empty for the default schema
    QString name;

    // What the lists show: the name, or schema + "." + name when there is a schema.
    QString displayName() const { return schema.isEmpty() ? name : schema + QLatin1Char('.') + name; }
    bool operator==(const ObjectName&) const = default;
};

// One part of a name as it may stand in SQL: unchanged when it is a plain identifier (a letter or
// "_" first, then letters, digits or "_"), otherwise between the provider's quotes with a closing
// quote inside doubled.
QString quoteIdentifierPart(const QString& part, const QString& open, const QString& close);

// The object's name for a query: each part quoted separately where it needs it.
QString quoteObjectName(const ObjectName& object, const QString& open, const QString& close);

} // namespace qb::data
