#pragma once
// What a settings group shows of itself: its keys and, under each, its values in the order they
// are stored, each with its registry type and default. One description serves every mode:
// setting the defaults, reading, writing, and finding a field by its value name.
#include "common/settings/LockedSetting.h"

#include <QString>
#include <cstdint>

namespace qb::settings {

class SettingsVisitor {
public:
    virtual ~SettingsVisitor() = default;
    // The values that follow live in root + relativePath.
    virtual void key(const QString& relativePath) = 0;
    // A number stored as decimal REG_SZ text.
    virtual void number(const QString& name, LockedSetting& field, uint32_t defaultValue) = 0;
    // A number stored as REG_DWORD.
    virtual void dword(const QString& name, LockedSetting& field, uint32_t defaultValue) = 0;
};

} // namespace qb::settings
