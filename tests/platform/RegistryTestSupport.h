#pragma once
// Small readers over the registry calls for the registry suites: they check the codes the
// enumerations end with, so each test can compare whole lists.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace qbtest {

// REG_SZ data as the settings code writes it: UTF-16LE text, then zeros up to size bytes.
inline QByteArray paddedText(const QString& text, int size)
{
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    data.append(QByteArray(size - data.size(), '\0'));
    return data;
}

struct RegValue {
    uint32_t type = 0;
    QByteArray data;
    bool operator==(const RegValue&) const = default;
};

inline std::optional<RegValue> readValue(qb::reg::HKEY key, const QString& name)
{
    uint32_t size = 0;
    RegValue value;
    if (qb::reg::RegQueryValueEx(key, name, &value.type, nullptr, &size) != qb::reg::ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (qb::reg::RegQueryValueEx(key, name, &value.type, value.data.data(), &size) != qb::reg::ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

inline long writeValue(qb::reg::HKEY key, const QString& name, uint32_t type, const QByteArray& data)
{
    return qb::reg::RegSetValueEx(key, name, type, data.constData(), uint32_t(data.size()));
}

inline QStringList subKeyNames(qb::reg::HKEY key)
{
    QStringList names;
    QString name;
    long rc;
    for (uint32_t i = 0; (rc = qb::reg::RegEnumKeyEx(key, i, &name)) == qb::reg::ERROR_SUCCESS; ++i)
        names << name;
    EXPECT_EQ(rc, qb::reg::ERROR_NO_MORE_ITEMS);
    return names;
}

inline QStringList valueNames(qb::reg::HKEY key)
{
    QStringList names;
    QString name;
    long rc;
    for (uint32_t i = 0; (rc = qb::reg::RegEnumValue(key, i, &name, nullptr, nullptr, nullptr)) == qb::reg::ERROR_SUCCESS; ++i)
        names << name;
    EXPECT_EQ(rc, qb::reg::ERROR_NO_MORE_ITEMS);
    return names;
}

} // namespace qbtest
