#pragma once
// An owned ODBC handle (environment, connection or statement), freed with the object.
#include <sql.h>
#include <utility>

namespace qb::data::odbc {

class OdbcHandle {
public:
    OdbcHandle() = default;
    // Allocates a handle of `type` under `parent`; throws ProviderError with the parent's
    // diagnostics on failure.
    static OdbcHandle allocate(SQLSMALLINT type, SQLSMALLINT parentType, SQLHANDLE parent);

    ~OdbcHandle() { reset(); }
    OdbcHandle(OdbcHandle&& other) noexcept
        : m_type(other.m_type), m_handle(std::exchange(other.m_handle, SQLHANDLE(nullptr))) {}
    OdbcHandle& operator=(OdbcHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_type = other.m_type;
            m_handle = std::exchange(other.m_handle, SQLHANDLE(nullptr));
        }
        return *this;
    }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const { return m_handle; }
    SQLSMALLINT type() const { return m_type; }
    explicit operator bool() const { return m_handle != SQL_NULL_HANDLE; }
    void reset();

private:
    OdbcHandle(SQLSMALLINT type, SQLHANDLE handle) : m_type(type), m_handle(handle) {}

    SQLSMALLINT m_type = 0;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

} // namespace qb::data::odbc
