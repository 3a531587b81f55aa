#pragma once
// Settings kept together under one registry root, each held in a field of its own. A concrete
// group lists its keys and values once, in describe(); setting the defaults, reading, writing and
// finding a field by name are visitors walking that list, so no value can be added to one of them
// and forgotten in another. The root is HKEY_CURRENT_USER\<root path>, given by the program (and
// by tests, which keep their own).
#include "common/settings/LockedSetting.h"
#include "common/settings/SettingsVisitor.h"

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

    // SetDefaults, Read or Write. Answers 0, the registry error that ended the pass (fields
    // below a key that could not be opened or created stay as they were), or -1 for a mode it
    // does not know. A value that is missing or cannot be read leaves its field alone.
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
