#pragma once
// Browser suites run against every test backend: a fresh database, a session on it through the
// code under test (wrapped so a test can make it misbehave), and a private registry.
#include "ScriptedSession.h"

#include "explorer/browser/SessionSource.h"
#include "explorer/settings/SettingsKeys.h"
#include "support/BackendFixture.h"

namespace qbtest {

class BrowserBackendTest : public BackendFixture {
protected:
    void SetUp() override
    {
        BackendFixture::SetUp();
        session = std::make_shared<ScriptedSession>(dataSource->createSession());
    }

    qb::browser::SessionSource sessionSource()
    {
        return [s = session] { return std::static_pointer_cast<qb::data::Session>(s); };
    }
    // The name the tables folder shows for a table made by setup SQL.
    QString displayName(const QString& table) const
    {
        const QString schema = backend->defaultSchema();
        return schema.isEmpty() ? table : schema + QLatin1Char('.') + table;
    }

    ScopedRegistryDir registry;
    std::shared_ptr<ScriptedSession> session;
};

} // namespace qbtest
