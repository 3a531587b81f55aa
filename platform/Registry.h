#pragma once
// Our registry: a tree of keys holding typed values, kept in SQLite hive files, one hive per root
// (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT; the other predefined roots exist by
// name and hold nothing). The calls take handles and answer numbered result codes, the shape our
// settings code, exported registry scripts and the shell extension's registration are written in.
//
// A name matches whatever its case, and a key or value keeps the spelling it was created with;
// subkeys list in case-blind name order and values in the order they were created, so an export
// comes out the same on every run. Values come back with the type number and the bytes they were
// written with. Each write is atomic and durable, also when other processes write the same hive.
//
// HKEY_CURRENT_USER lives in $XDG_CONFIG_HOME/quillbase/registry (~/.config/...), the machine roots
// in <prefix>/etc/quillbase/registry next to the installation; QUILLBASE_REGISTRY_DIR moves every
// hive into one folder. A user who may not write a hive reads it and gets ERROR_ACCESS_DENIED on
// writes (RegCreateKeyEx still opens keys that exist). Handles may be used from several threads.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace qb::reg {

// Result codes. Their numbers are fixed: callers compare them and plug-ins receive them.
enum : long {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_ACCESS_DENIED = 5,
    ERROR_INVALID_HANDLE = 6,
    ERROR_INVALID_PARAMETER = 87,
    ERROR_BUSY = 170,   // another process held the hive locked for too long
    ERROR_MORE_DATA = 234,
    ERROR_NO_MORE_ITEMS = 259,
    ERROR_BADDB = 1009, // the hive could not be read or written
    ERROR_KEY_DELETED = 1018, // the handle's key was deleted since it was opened
};

// Value types.
enum : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_LINK = 6,
    REG_MULTI_SZ = 7,
    REG_QWORD = 11,
};

// Dispositions reported by RegCreateKeyEx.
enum : uint32_t { REG_CREATED_NEW_KEY = 1, REG_OPENED_EXISTING_KEY = 2 };

struct KeyObject;
using HKEY = KeyObject*;

extern HKEY const HKEY_CLASSES_ROOT;
extern HKEY const HKEY_CURRENT_USER;
extern HKEY const HKEY_LOCAL_MACHINE;
extern HKEY const HKEY_USERS;
extern HKEY const HKEY_PERFORMANCE_DATA;
extern HKEY const HKEY_CURRENT_CONFIG;
extern HKEY const HKEY_DYN_DATA;

// Limits of names and of the tree. A name is valid UTF-16 without NUL, U+FFFE or U+FFFF (it could
// not be stored and read back as written otherwise); a key lies at most kMaxKeyDepth levels below its
// root, which keeps every key's path, and a script of the tree, of bounded size. Calls given more
// answer ERROR_INVALID_PARAMETER.
inline constexpr int kMaxKeyNameLength = 255;     // UTF-16 code units of one key name
inline constexpr int kMaxValueNameLength = 16383; // UTF-16 code units of one value name
inline constexpr int kMaxKeyDepth = 512;

// Whether the calls take the text as a key path (names split at "\", empty parts skipped, at most
// kMaxKeyDepth of them) or as a value name. The depth below the key a path starts from is checked
// when a key is created.
bool isValidKeyPath(const QString& path);
bool isValidValueName(const QString& name);

// "HKEY_CURRENT_USER" and so on; empty for a handle that is not a predefined root.
QString rootName(HKEY root);
// The predefined root with that name (without regard to case), or nullptr.
HKEY rootByName(const QString& name);

struct KeyInfo {
    uint32_t subKeys = 0;
    uint32_t maxSubKeyLen = 0;   // characters of the longest subkey name
    uint32_t values = 0;
    uint32_t maxValueNameLen = 0; // characters of the longest value name
    uint32_t maxValueLen = 0;     // bytes of the longest value data
};

// Sub key paths use "\" as separator; an empty path opens (a new handle to) the key itself.
long RegCreateKeyEx(HKEY parent, const QString& subKey, HKEY* result, uint32_t* disposition = nullptr);
long RegOpenKeyEx(HKEY parent, const QString& subKey, HKEY* result);
long RegCloseKey(HKEY key);

long RegSetValueEx(HKEY key, const QString& name, uint32_t type, const void* data, uint32_t size);
// data may be null to ask for the size. With a buffer too small the call answers ERROR_MORE_DATA
// and *size holds the size needed.
long RegQueryValueEx(HKEY key, const QString& name, uint32_t* type, void* data, uint32_t* size);
long RegDeleteValue(HKEY key, const QString& name);

// Enumeration by index until ERROR_NO_MORE_ITEMS.
long RegEnumKeyEx(HKEY key, uint32_t index, QString* name);
long RegEnumValue(HKEY key, uint32_t index, QString* name, uint32_t* type, void* data, uint32_t* size);

long RegQueryInfoKey(HKEY key, KeyInfo* info);
// Deletes the subkey with all its subkeys and values; an empty path empties the key itself.
long RegDeleteTree(HKEY key, const QString& subKey);

// The hive file that holds a predefined root, as it would be opened now; empty for the roots that
// hold nothing (and for anything that is not a predefined root).
QString hiveFilePath(HKEY root);

// A hive file that could not be used: it was set aside under a new name (setAsideAs; empty when
// even that failed) and the program went on with an empty hive. Each case is reported once: on
// stderr, to the handler if one is set, and kept as the last report.
struct HiveReport {
    QString rootName;
    QString file;
    QString setAsideAs;
    QString reason;
};
std::optional<HiveReport> lastHiveReport();
// The handler is called on the thread that found the damage, outside the registry's locks.
void setHiveReportHandler(std::function<void(const HiveReport&)> handler);

// Closes the handle when it goes out of scope.
class KeyGuard {
public:
    KeyGuard() = default;
    explicit KeyGuard(HKEY key) : m_key(key) {}
    ~KeyGuard() { reset(); }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    HKEY get() const { return m_key; }
    HKEY* out() { reset(); return &m_key; }
    void reset() { if (m_key) RegCloseKey(m_key); m_key = nullptr; }
    explicit operator bool() const { return m_key != nullptr; }

private:
    HKEY m_key = nullptr;
};

} // namespace qb::reg
