// The registry's calls with arbitrary names, types and sizes: a program of operations read from
// the input, run against a key of a private registry. Properties: a value written reads back
// with its type and bytes (under any case of its name) until it is deleted or replaced; a buffer
// too small gets ERROR_MORE_DATA and the size needed, and nothing written into it; enumeration
// and the key's information agree; every call answers one of the documented codes.
#include "platform/Registry.h"
#include "support/FuzzSupport.h"

#include <QStringList>

#include <cstring>
#include <map>

namespace {

using namespace qb::reg;

struct Stored {
    uint32_t type;
    QByteArray data;
};

bool isKnownResult(long rc)
{
    switch (rc) {
    case ERROR_SUCCESS:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_PARAMETER:
    case ERROR_MORE_DATA:
    case ERROR_NO_MORE_ITEMS:
    case ERROR_KEY_DELETED:
        return true;
    default:
        return false;
    }
}

QString nameOf(qbfuzz::FuzzInput& in, const std::map<QString, QString>& known)
{
    // Often a name used before, as written or case-folded, so the same value is met again.
    if (!known.empty() && in.byte() % 2) {
        auto it = known.begin();
        std::advance(it, in.below(uint32_t(known.size())));
        return in.byte() % 2 ? it->first : it->second;
    }
    // Mostly short; now and then past the limits (255 for keys, 16383 for values).
    const uint8_t length = in.byte();
    if (length == 0xFF)
        return QString(16384, QChar(u'v'));
    if (length == 0xFE)
        return QString(256, QChar(u'k'));
    return in.units(length % 24);
}

class Program {
public:
    explicit Program(qbfuzz::FuzzInput& in) : m_in(in) {}

    void run()
    {
        KeyGuard key;
        QBFUZZ_CHECK(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Fuzz"), key.out()) == ERROR_SUCCESS, QString());
        m_key = key.get();
        for (int steps = 0; steps < 64 && !m_in.atEnd(); ++steps)
            step();
        RegDeleteTree(HKEY_CURRENT_USER, QStringLiteral("Fuzz"));
    }

private:
    void step()
    {
        switch (m_in.byte() % 8) {
        case 0:
        case 1:
            setValue();
            break;
        case 2:
            queryValue();
            break;
        case 3:
            deleteValue();
            break;
        case 4:
            enumerate();
            break;
        case 5:
            subKey();
            break;
        case 6:
            enumKeys();
            break;
        case 7:
            bogusCalls();
            break;
        }
    }

    void setValue()
    {
        const QString name = nameOf(m_in, m_names);
        const uint32_t type = m_in.byte() % 4 ? m_in.byte() % 12 : m_in.u32();
        QByteArray data = m_in.bytes(256);
        if (m_in.byte() == 0xFF)
            data = QByteArray(qsizetype(1) << 20, '\x5a'); // a large value now and then
        const long rc = RegSetValueEx(m_key, name, type, data.isEmpty() && m_in.byte() % 2 ? nullptr : data.constData(), uint32_t(data.size()));
        QBFUZZ_CHECK(isKnownResult(rc), QString::number(rc));
        if (rc != ERROR_SUCCESS)
            return;
        const QString folded = name.toCaseFolded();
        if (!m_names.count(folded))
            m_names[folded] = name;
        m_values[folded] = Stored{type, data};
        expectValue(name);
    }

    void expectValue(const QString& name)
    {
        const auto it = m_values.find(name.toCaseFolded());
        uint32_t type = 0xdead;
        uint32_t size = 0;
        long rc = RegQueryValueEx(m_key, name, &type, nullptr, &size);
        if (it == m_values.end()) {
            QBFUZZ_CHECK(rc == ERROR_FILE_NOT_FOUND || rc == ERROR_INVALID_PARAMETER, QString::number(rc));
            return;
        }
        QBFUZZ_CHECK(rc == ERROR_SUCCESS, QString::number(rc));
        QBFUZZ_CHECK(type == it->second.type && size == uint32_t(it->second.data.size()),
                     QStringLiteral("type %1 size %2 for %3 %4").arg(type).arg(size).arg(it->second.type).arg(it->second.data.size()));
        // A buffer of some size, guarded at its end.
        const uint32_t offered = m_in.byte() % 2 ? size : m_in.below(size + 8);
        QByteArray buffer(qsizetype(offered) + 4, '\xEE');
        uint32_t got = offered;
        rc = RegQueryValueEx(m_key, name, &type, buffer.data(), &got);
        QBFUZZ_CHECK(buffer.right(4) == QByteArray(4, '\xEE'), QStringLiteral("written past the buffer"));
        if (offered < size) {
            QBFUZZ_CHECK(rc == ERROR_MORE_DATA && got == size, QString::number(rc));
            QBFUZZ_CHECK(buffer.left(offered) == QByteArray(qsizetype(offered), '\xEE'), QStringLiteral("a short buffer was written"));
        } else {
            QBFUZZ_CHECK(rc == ERROR_SUCCESS && got == size, QString::number(rc));
            QBFUZZ_CHECK(buffer.left(size) == it->second.data, QStringLiteral("the bytes changed"));
        }
    }

    void queryValue() { expectValue(nameOf(m_in, m_names)); }

    void deleteValue()
    {
        const QString name = nameOf(m_in, m_names);
        const long rc = RegDeleteValue(m_key, name);
        QBFUZZ_CHECK(isKnownResult(rc), QString::number(rc));
        const bool existed = m_values.erase(name.toCaseFolded()) == 1;
        QBFUZZ_CHECK(existed == (rc == ERROR_SUCCESS), QStringLiteral("delete answered %1").arg(rc));
        expectValue(name);
    }

    void enumerate()
    {
        KeyInfo info;
        QBFUZZ_CHECK(RegQueryInfoKey(m_key, &info) == ERROR_SUCCESS, QString());
        QBFUZZ_CHECK(info.values == m_values.size(), QStringLiteral("%1 values, %2 written").arg(info.values).arg(m_values.size()));
        uint32_t index = 0;
        for (;; ++index) {
            QString name;
            uint32_t type = 0;
            QByteArray buffer(qsizetype(info.maxValueLen) + 1, '\0');
            uint32_t size = uint32_t(buffer.size());
            const long rc = RegEnumValue(m_key, index, &name, &type, buffer.data(), &size);
            if (rc == ERROR_NO_MORE_ITEMS)
                break;
            QBFUZZ_CHECK(rc == ERROR_SUCCESS, QString::number(rc));
            const auto it = m_values.find(name.toCaseFolded());
            QBFUZZ_CHECK(it != m_values.end(), QStringLiteral("an unknown value \"%1\"").arg(name));
            QBFUZZ_CHECK(it->second.type == type && it->second.data == buffer.left(size), name);
            QBFUZZ_CHECK(uint32_t(name.size()) <= info.maxValueNameLen && size <= info.maxValueLen, name);
        }
        QBFUZZ_CHECK(index == info.values, QStringLiteral("enumerated %1 of %2").arg(index).arg(info.values));
    }

    void subKey()
    {
        // One read after the other: the order of operands of "+" is the compiler's choice.
        QString path = nameOf(m_in, m_keys);
        if (m_in.byte() % 4 == 0)
            path += u'\\' + nameOf(m_in, m_keys);
        const QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
        KeyGuard sub;
        long rc = m_in.byte() % 2 ? RegCreateKeyEx(m_key, path, sub.out()) : RegOpenKeyEx(m_key, path, sub.out());
        QBFUZZ_CHECK(isKnownResult(rc), QString::number(rc));
        if (rc != ERROR_SUCCESS)
            return;
        for (const QString& part : parts)
            m_keys.emplace(part.toCaseFolded(), part);
        if (m_in.byte() % 3 != 0)
            return;
        QBFUZZ_CHECK(RegDeleteTree(m_key, path) == ERROR_SUCCESS, path);
        if (parts.isEmpty()) {
            m_values.clear(); // an empty path empties the key itself
            return;
        }
        // Deleted under an open handle: the handle then answers that its key is gone.
        rc = RegSetValueEx(sub.get(), QString(), REG_SZ, "", 0);
        QBFUZZ_CHECK(rc == ERROR_KEY_DELETED, QString::number(rc));
    }

    void enumKeys()
    {
        KeyInfo info;
        QBFUZZ_CHECK(RegQueryInfoKey(m_key, &info) == ERROR_SUCCESS, QString());
        uint32_t index = 0;
        for (QString name; RegEnumKeyEx(m_key, index, &name) == ERROR_SUCCESS; ++index)
            QBFUZZ_CHECK(uint32_t(name.size()) <= info.maxSubKeyLen, name);
        QBFUZZ_CHECK(index == info.subKeys, QStringLiteral("enumerated %1 of %2 subkeys").arg(index).arg(info.subKeys));
    }

    void bogusCalls()
    {
        uint32_t size = 4;
        char buffer[4];
        QBFUZZ_CHECK(RegQueryValueEx(m_key, QString(), nullptr, buffer, nullptr) == ERROR_INVALID_PARAMETER, QString());
        QBFUZZ_CHECK(RegSetValueEx(m_key, QString(), REG_BINARY, nullptr, 4) == ERROR_INVALID_PARAMETER, QString());
        QBFUZZ_CHECK(RegQueryValueEx(nullptr, QString(), nullptr, buffer, &size) == ERROR_INVALID_HANDLE, QString());
        QBFUZZ_CHECK(RegCloseKey(reinterpret_cast<HKEY>(buffer)) == ERROR_INVALID_HANDLE, QString());
    }

    qbfuzz::FuzzInput& m_in;
    HKEY m_key = nullptr;
    std::map<QString, Stored> m_values;  // by case folding
    std::map<QString, QString> m_names;  // case folding -> a spelling written
    std::map<QString, QString> m_keys;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qbfuzz::usePrivateRegistry();
    qbfuzz::FuzzInput in(data, size);
    Program(in).run();
    return 0;
}
