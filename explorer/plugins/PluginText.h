#pragma once
// Texts crossing the plug-in boundary. Whatever a plug-in hands over is read no further than a
// fixed bound and copied at once, so an unterminated field or a text freed by the plug-in's next
// call never reaches the host's own data.
#include <quillbase/qbplugin.h>

#include <QString>
#include <cstddef>
#include <optional>

namespace qb::plugins {

// Longest menu item and error text taken from a plug-in, in UTF-16 units.
constexpr size_t kMaxMenuItemUnits = 256;
constexpr size_t kMaxErrorTextUnits = 4096;

// A copy of a returned text, up to its terminator or maxUnits units; nullopt for a null pointer.
std::optional<QString> copyPluginText(const char16_t* text, size_t maxUnits);

// The text of a description field: up to its terminator, at most the field's capacity.
QString fieldText(const char16_t* field, size_t capacity);
// Writes text into a field, cut to capacity - 1 units and terminated.
void setFieldText(char16_t* field, size_t capacity, const QString& text);

// The five texts of a description, each read within its field.
struct PluginInfo {
    QString name;
    QString version;
    QString copyright;
    QString description;
    QString languages;
};
PluginInfo readDescription(const PluginDescription& description);

} // namespace qb::plugins
