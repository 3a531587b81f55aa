#pragma once
// What the providers' data sources share: the connection ("link") made by initialize(), dropped
// by uninitialize(), and handed to each new session. Sessions and rowsets co-own the link, so a
// data source uninitialized under a running job leaves that job's connection alive until it ends.
#include "dataaccess/ConnectionString.h"
#include "dataaccess/Provider.h"

#include <memory>
#include <mutex>

namespace qb::data {

template <class Link>
class LinkedDataSource : public DataSource {
public:
    explicit LinkedDataSource(ConnectionString properties) : m_properties(std::move(properties)) {}

    void initialize() override
    {
        std::shared_ptr<Link> link = connect(m_properties); // outside the lock: connecting may take long
        std::lock_guard lock(m_mutex);
        m_link = std::move(link);
    }

    void uninitialize() override
    {
        std::lock_guard lock(m_mutex);
        m_link.reset();
    }

    bool isInitialized() const override
    {
        std::lock_guard lock(m_mutex);
        return m_link != nullptr;
    }

    std::shared_ptr<Session> createSession() override
    {
        std::shared_ptr<Link> link;
        {
            std::lock_guard lock(m_mutex);
            link = m_link;
        }
        if (!link)
            throw ProviderError(E_UNEXPECTED, QStringLiteral("The data source is not initialized."));
        return makeSession(std::move(link));
    }

protected:
    // Connects by the initialization string's keys. Throws ProviderError.
    virtual std::shared_ptr<Link> connect(const ConnectionString& properties) = 0;
    virtual std::shared_ptr<Session> makeSession(std::shared_ptr<Link> link) = 0;

private:
    const ConnectionString m_properties;
    mutable std::mutex m_mutex;
    std::shared_ptr<Link> m_link;
};

} // namespace qb::data
