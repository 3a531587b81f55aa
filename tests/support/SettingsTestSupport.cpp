#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>

namespace qbtest {

using namespace qb::reg;

QByteArray regSz(const QString& text)
{
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    data.append(2, '\0');
    return data;
}

QByteArray dwordData(uint32_t value)
{
    QByteArray data(4, '\0');
    qToLittleEndian<quint32>(value, data.data());
    return data;
}

void setValue(const QString& keyPath, const QString& name, uint32_t type, const QByteArray& data)
{
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, keyPath, key.out()), ERROR_SUCCESS) << keyPath.toStdString();
    ASSERT_EQ(RegSetValueEx(key.get(), name, type, data.constData(), uint32_t(data.size())), ERROR_SUCCESS);
}

std::optional<StoredValue> getValue(const QString& keyPath, const QString& name)
{
    KeyGuard key;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, key.out()) != ERROR_SUCCESS)
        return std::nullopt;
    StoredValue value;
    value.name = name;
    uint32_t size = 0;
    if (RegQueryValueEx(key.get(), name, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueEx(key.get(), name, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool keyExists(const QString& keyPath)
{
    KeyGuard key;
    return RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, key.out()) == ERROR_SUCCESS;
}

namespace {

void dumpKey(HKEY key, const QString& path, std::vector<StoredKey>& out)
{
    StoredKey stored{path, {}};
    for (uint32_t i = 0;; ++i) {
        StoredValue value;
        uint32_t size = 0;
        if (RegEnumValue(key, i, &value.name, &value.type, nullptr, &size) != ERROR_SUCCESS)
            break;
        value.data.resize(size);
        EXPECT_EQ(RegEnumValue(key, i, &value.name, &value.type, value.data.data(), &size), ERROR_SUCCESS);
        stored.values.push_back(value);
    }
    out.push_back(stored);
    for (uint32_t i = 0;; ++i) {
        QString name;
        if (RegEnumKeyEx(key, i, &name) != ERROR_SUCCESS)
            break;
        KeyGuard child;
        EXPECT_EQ(RegOpenKeyEx(key, name, child.out()), ERROR_SUCCESS);
        dumpKey(child.get(), path.isEmpty() ? name : path + u'\\' + name, out);
    }
}

} // namespace

std::vector<StoredKey> dumpTree(HKEY root, const QString& keyPath)
{
    std::vector<StoredKey> out;
    KeyGuard key;
    if (RegOpenKeyEx(root, keyPath, key.out()) == ERROR_SUCCESS)
        dumpKey(key.get(), QString(), out);
    return out;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace qbtest
