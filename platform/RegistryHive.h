#pragma once
// One hive: the tree of keys and values of one predefined root, in an SQLite database, and the one
// connection this process keeps to it. Keys are rows numbered for good (a deleted key's number is
// never handed out again, so a handle to it can tell it is gone); values keep their type and bytes
// and enumerate in the order they were first written.
//
// Every call is one transaction: writes begin IMMEDIATE so two processes never interleave, and a
// hive locked by another process is waited for (busy timeout, then retries) up to half a minute.
// Calls from several threads are serialised on the hive's own lock.
#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace qb::reg::detail {

struct StoredValue {
    QString name;
    uint32_t type = REG_NONE;
    QByteArray data;
};

class RegistryHive {
public:
    static constexpr int64_t rootKey = 1;

    // Takes over an open connection to a checked hive (see RegistryHiveFile). A read-only hive
    // answers writes with ERROR_ACCESS_DENIED.
    RegistryHive(sqlite3* db, QString path, bool readOnly);
    ~RegistryHive();
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    // A read-only hive that holds nothing but its root key: for roots without a file and for hive
    // files that cannot be read.
    static std::shared_ptr<RegistryHive> makeEmpty(const QString& path);
    // A hive that could not be opened for a passing reason: every call answers result, so that
    // callers do not take a hive they cannot read for an empty one.
    static std::shared_ptr<RegistryHive> makeUnavailable(const QString& path, long result);
    // Creates the tables of a new hive on a connection; false when that failed.
    static bool createSchema(sqlite3* db);
    // True when the connection holds a hive of ours (tables and root key present).
    static bool hasSchema(sqlite3* db);

    const QString& path() const { return m_path; }
    // Ends the connection; afterwards every call answers ERROR_INVALID_HANDLE (or the result of an
    // unavailable hive).
    void close();

    long openKey(int64_t from, const QStringList& names, int64_t* key);
    // ERROR_INVALID_PARAMETER when a key to be made would lie deeper than kMaxKeyDepth.
    long createKey(int64_t from, const QStringList& names, int64_t* key, bool* created);
    long setValue(int64_t key, const QString& name, uint32_t type, const void* data, uint32_t size);
    long queryValue(int64_t key, const QString& name, StoredValue* value);
    long deleteValue(int64_t key, const QString& name);
    long enumKey(int64_t key, uint32_t index, QString* name);
    long enumValue(int64_t key, uint32_t index, StoredValue* value);
    long queryInfo(int64_t key, KeyInfo* info);
    // Deletes the key at names below key with its subtree; with no names, empties key itself.
    long deleteTree(int64_t key, const QStringList& names);

private:
    enum class Access { Read, Write };
    class Query;

    template <class Body>
    long transaction(Access access, Body&& body);
    // The helpers below expect m_mutex held and a transaction open; they throw SqliteFailure.
    Query query(const char* sql);
    void execute(const char* sql);
    bool keyExists(int64_t key);
    int64_t findSubKey(int64_t parent, const QString& name); // 0 when missing
    bool findValue(int64_t key, const QString& name, StoredValue* value);
    void deleteBelow(int64_t key);
    int64_t depthOf(int64_t key); // levels below the root: 0 for the root itself

    std::mutex m_mutex;
    sqlite3* m_db;
    QString m_path;
    bool m_readOnly;
    long m_unavailable = ERROR_INVALID_HANDLE; // what calls answer without a connection
    std::unordered_map<const char*, sqlite3_stmt*> m_statements; // prepared once, by SQL text
};

} // namespace qb::reg::detail
