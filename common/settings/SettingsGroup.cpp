#include "common/settings/SettingsGroup.h"

#include "common/settings/SettingsNumber.h"
#include "platform/Registry.h"

namespace qb::settings {
namespace {

using namespace qb::reg;

class DefaultsVisitor : public SettingsVisitor {
public:
    void key(const QString&) override {}
    void number(const QString&, LockedSetting& field, uint32_t defaultValue) override { field.set(defaultValue); }
    void dword(const QString&, LockedSetting& field, uint32_t defaultValue) override { field.set(defaultValue); }
};

// Reading and writing share the key handling: the first registry error ends the pass, so later
// keys and values are left alone.
class RegistryVisitor : public SettingsVisitor {
public:
    explicit RegistryVisitor(const QString& rootPath) : m_rootPath(rootPath) {}
    long result() const { return m_result; }

    void key(const QString& relativePath) override
    {
        if (m_result != ERROR_SUCCESS)
            return;
        m_result = RegCreateKeyEx(HKEY_CURRENT_USER, m_rootPath + relativePath, m_key.out());
    }

protected:
    bool usable() const { return m_result == ERROR_SUCCESS && m_key; }
    HKEY handle() const { return m_key.get(); }
    void fail(long rc) { m_result = rc; }

private:
    QString m_rootPath;
    KeyGuard m_key;
    long m_result = ERROR_SUCCESS;
};

class ReadVisitor : public RegistryVisitor {
public:
    using RegistryVisitor::RegistryVisitor;
    void number(const QString& name, LockedSetting& field, uint32_t) override
    {
        if (usable())
            if (const auto v = readNumberValue(handle(), name))
                field.set(*v);
    }
    void dword(const QString& name, LockedSetting& field, uint32_t) override
    {
        if (usable())
            if (const auto v = readDwordValue(handle(), name))
                field.set(*v);
    }
};

class WriteVisitor : public RegistryVisitor {
public:
    using RegistryVisitor::RegistryVisitor;
    void number(const QString& name, LockedSetting& field, uint32_t) override
    {
        if (usable())
            if (const long rc = writeNumberValue(handle(), name, field.get()); rc != ERROR_SUCCESS)
                fail(rc);
    }
    void dword(const QString& name, LockedSetting& field, uint32_t) override
    {
        if (usable())
            if (const long rc = writeDwordValue(handle(), name, field.get()); rc != ERROR_SUCCESS)
                fail(rc);
    }
};

class FindVisitor : public SettingsVisitor {
public:
    explicit FindVisitor(const QString& name) : m_name(name) {}
    LockedSetting* found() const { return m_found; }
    void key(const QString&) override {}
    void number(const QString& name, LockedSetting& field, uint32_t) override { match(name, field); }
    void dword(const QString& name, LockedSetting& field, uint32_t) override { match(name, field); }

private:
    void match(const QString& name, LockedSetting& field)
    {
        if (!m_found && name.compare(m_name, Qt::CaseInsensitive) == 0)
            m_found = &field;
    }
    QString m_name;
    LockedSetting* m_found = nullptr;
};

class ValuesVisitor : public SettingsVisitor {
public:
    std::vector<uint32_t> values;
    void key(const QString&) override {}
    void number(const QString&, LockedSetting& field, uint32_t) override { values.push_back(field.get()); }
    void dword(const QString&, LockedSetting& field, uint32_t) override { values.push_back(field.get()); }
};

} // namespace

SettingsGroup::SettingsGroup(QString rootPath) : m_rootPath(std::move(rootPath)) {}

long SettingsGroup::loadSave(int mode)
{
    switch (mode) {
    case SetDefaults: {
        DefaultsVisitor visitor;
        describe(visitor);
        if (!m_hasStored) {
            m_stored = values();
            m_hasStored = true;
        }
        return ERROR_SUCCESS;
    }
    case Read: {
        ReadVisitor visitor(m_rootPath);
        describe(visitor);
        m_stored = values();
        m_hasStored = true;
        return visitor.result();
    }
    case Write: {
        WriteVisitor visitor(m_rootPath);
        describe(visitor);
        if (visitor.result() == ERROR_SUCCESS) {
            m_stored = values();
            m_hasStored = true;
        }
        return visitor.result();
    }
    default:
        return -1;
    }
}

std::vector<uint32_t> SettingsGroup::values()
{
    ValuesVisitor visitor;
    describe(visitor);
    return std::move(visitor.values);
}

bool SettingsGroup::changed()
{
    return !m_hasStored || values() != m_stored;
}

LockedSetting* SettingsGroup::field(const QString& valueName)
{
    FindVisitor visitor(valueName);
    describe(visitor);
    return visitor.found();
}

uint32_t SettingsGroup::value(const QString& valueName)
{
    LockedSetting* f = field(valueName);
    return f ? f->get() : 0;
}

void SettingsGroup::setValue(const QString& valueName, uint32_t value)
{
    if (LockedSetting* f = field(valueName))
        f->set(value);
}

} // namespace qb::settings
