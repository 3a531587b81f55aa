#include "explorer/plugins/PluginText.h"

#include <algorithm>

namespace qb::plugins {

std::optional<QString> copyPluginText(const char16_t* text, size_t maxUnits)
{
    if (!text)
        return std::nullopt;
    return fieldText(text, maxUnits);
}

QString fieldText(const char16_t* field, size_t capacity)
{
    size_t n = 0;
    while (n < capacity && field[n] != 0)
        ++n;
    return QString::fromUtf16(field, qsizetype(n));
}

void setFieldText(char16_t* field, size_t capacity, const QString& text)
{
    if (capacity == 0)
        return;
    size_t n = std::min(size_t(text.size()), capacity - 1);
    if (n > 0 && n < size_t(text.size()) && text.at(qsizetype(n - 1)).isHighSurrogate())
        --n; // never half a character
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), n, field);
    field[n] = 0;
}

PluginInfo readDescription(const PluginDescription& d)
{
    return {fieldText(d.name, QB_DESCRIPTION_NAME_UNITS), fieldText(d.version, QB_DESCRIPTION_VERSION_UNITS),
            fieldText(d.copyright, QB_DESCRIPTION_COPYRIGHT_UNITS), fieldText(d.description, QB_DESCRIPTION_TEXT_UNITS),
            fieldText(d.languages, QB_DESCRIPTION_LANGUAGES_UNITS)};
}

} // namespace qb::plugins
