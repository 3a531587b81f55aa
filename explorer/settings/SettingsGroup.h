#pragma once
// A settings group: an object with one field per registry value and one operation with three
// modes. Each concrete group describes its keys and values once, in describe(); the modes walk
// that description. The root is HKEY_CURRENT_USER\<root path> (the explorer's root by default;
// tests and other programs give their own).
#include "explorer/settings/LockedSetting.h"
#include "explorer/settings/SettingsVisitor.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace qb::settings {

class SettingsGroup {
public:
    enum Mode { SetDefaults = 0, Read = 1, Write = 2 };

    virtual ~SettingsGroup() = default;
    SettingsGroup(const SettingsGroup&) = delete;
    SettingsGroup& operator=(const SettingsGroup&) = delete;

    // 0 sets the defaults, 1 reads, 2 writes. Answers 0, the registry error that ended the pass
    // (a key that could not be opened or created leaves the fields untouched), or -1 for an
    // unknown mode. Missing or unreadable values keep the field as it was.
    long loadSave(int mode);

    const QString& rootPath() const { return m_rootPath; }

    // The field stored under this value name (without regard to case), or nullptr. The options
    // pages reach their fields through it.
    LockedSetting* field(const QString& valueName);

    // Whether a value differs from what the group last read from or wrote to the registry (or,
    // before either, from its defaults). A window writes only the groups it changed, so closing
    // it never puts its old copy over what another window saved in the meantime.
    bool changed();
    uint32_t value(const QString& valueName);
    void setValue(const QString& valueName, uint32_t value);

protected:
    explicit SettingsGroup(QString rootPath);
    virtual void describe(SettingsVisitor& visitor) = 0;

private:
    std::vector<uint32_t> values();

    QString m_rootPath;
    std::vector<uint32_t> m_stored; // the values as last read or written
    bool m_hasStored = false;
};

} // namespace qb::settings
