#pragma once
// Registry helpers for the settings suites: set and read single values below HKEY_CURRENT_USER
// and take a whole subtree apart for comparison.
#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace qbtest {

struct StoredValue {
    QString name;
    uint32_t type = 0;
    QByteArray data;
    bool operator==(const StoredValue&) const = default;
};

struct StoredKey {
    QString path; // relative to the dumped key, "" for the key itself
    std::vector<StoredValue> values;
    bool operator==(const StoredKey&) const = default;
};

// UTF-16LE text with its terminator, as REG_SZ data.
QByteArray regSz(const QString& text);
QByteArray dwordData(uint32_t value);

void setValue(const QString& keyPath, const QString& name, uint32_t type, const QByteArray& data);
std::optional<StoredValue> getValue(const QString& keyPath, const QString& name);
bool keyExists(const QString& keyPath);

// Every key of the subtree, depth first in enumeration order, with its values in order.
std::vector<StoredKey> dumpTree(qb::reg::HKEY root, const QString& keyPath);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace qbtest
