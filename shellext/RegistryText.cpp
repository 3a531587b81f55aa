#include "shellext/RegistryText.h"

#include <QByteArray>

namespace qb::shellext {

std::optional<QString> readText(reg::HKEY key, const QString& name)
{
    uint32_t type = 0;
    uint32_t size = 0;
    if (reg::RegQueryValueEx(key, name, &type, nullptr, &size) != reg::ERROR_SUCCESS)
        return std::nullopt;
    if (type != reg::REG_SZ && type != reg::REG_EXPAND_SZ)
        return std::nullopt;
    QByteArray data(size, '\0');
    // The value may change between the two calls; a grown value answers ERROR_MORE_DATA and is
    // read as missing rather than cut.
    if (reg::RegQueryValueEx(key, name, &type, data.data(), &size) != reg::ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size & ~1u);
    QString text(reinterpret_cast<const QChar*>(data.constData()), data.size() / 2);
    const qsizetype end = text.indexOf(QChar(0));
    if (end >= 0)
        text.truncate(end);
    return text;
}

long writeText(reg::HKEY key, const QString& name, const QString& text)
{
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    data.append(2, '\0');
    return reg::RegSetValueEx(key, name, reg::REG_SZ, data.constData(), uint32_t(data.size()));
}

} // namespace qb::shellext
