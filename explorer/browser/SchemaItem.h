#pragma once
// One item of a schema folder: the texts of its list columns, in column order, and for tables and
// views the object it opens.
#include "dataaccess/ObjectName.h"

#include <QString>
#include <vector>

namespace qb::browser {

struct SchemaItem {
    std::vector<QString> fields;
    data::ObjectName object;
};

} // namespace qb::browser
