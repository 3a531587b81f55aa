#include "common/settings/SettingsNumber.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>

namespace qb::settings {

using namespace qb::reg;

uint32_t parseLeadingNumber(QStringView text)
{
    qsizetype i = 0;
    // The C locale's white space, as atoi skips it.
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10u + uint32_t(text[i].unicode() - u'0'); // wraps modulo 2^32 on purpose (see the header)
    return negative ? 0u - value : value;
}

QString textOfStringData(const QByteArray& data)
{
    const qsizetype units = data.size() / 2;
    QString text;
    text.reserve(units);
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = qFromLittleEndian<quint16>(data.constData() + 2 * i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

std::optional<uint32_t> readNumberValue(HKEY key, const QString& name)
{
    QByteArray data(kNumberReadLimit, '\0');
    uint32_t type = REG_NONE;
    uint32_t size = kNumberReadLimit;
    if (RegQueryValueEx(key, name, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt; // missing, or more than the read limit
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    data.truncate(size);
    const QString text = textOfStringData(data);
    if (text.toUtf8().size() + 1 > kNumberTextLimit)
        return std::nullopt;
    return parseLeadingNumber(text);
}

long writeNumberValue(HKEY key, const QString& name, uint32_t value)
{
    const QString text = QString::number(value);
    QByteArray data(kNumberDataSize, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), data.data() + 2 * i);
    return RegSetValueEx(key, name, REG_SZ, data.constData(), kNumberDataSize);
}

std::optional<uint32_t> readDwordValue(HKEY key, const QString& name)
{
    unsigned char data[4];
    uint32_t type = REG_NONE;
    uint32_t size = sizeof data;
    if (RegQueryValueEx(key, name, &type, data, &size) != ERROR_SUCCESS || type != REG_DWORD || size != 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(data);
}

long writeDwordValue(HKEY key, const QString& name, uint32_t value)
{
    unsigned char data[4];
    qToLittleEndian<quint32>(value, data);
    return RegSetValueEx(key, name, REG_DWORD, data, sizeof data);
}

uint32_t readDwordSetting(const QString& keyPath, const QString& name, uint32_t defaultValue)
{
    KeyGuard key;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, key.out()) != ERROR_SUCCESS)
        return defaultValue;
    return readDwordValue(key.get(), name).value_or(defaultValue);
}

long writeDwordSetting(const QString& keyPath, const QString& name, uint32_t value)
{
    KeyGuard key;
    if (const long rc = RegCreateKeyEx(HKEY_CURRENT_USER, keyPath, key.out()); rc != ERROR_SUCCESS)
        return rc;
    return writeDwordValue(key.get(), name, value);
}

} // namespace qb::settings
