#pragma once
// Reads a REGEDIT4 script: what our writer writes and what other writers of the format write.
//
//   REGEDIT4                       first line that is not blank
//   [HKEY_CURRENT_USER\Some\Key]   a key, created when imported
//   [-HKEY_CURRENT_USER\Some\Key]  a key removed with its whole subtree
//   "name"="text"  or  "name" = "text"   REG_SZ; inside quotes only \\ and \" are escapes
//   @="text"                       the key's default (unnamed) value
//   "name"=dword:0000002a          REG_DWORD from 1 to 8 hexadecimal digits
//   "name"=hex:01,02,\             REG_BINARY; a trailing backslash continues the list on the
//     03,04                        next line; a trailing comma is optional
//   "name"=hex(7):41,00,00,00      any type: digits only are read as decimal (what our writer
//                                  writes), with a letter a-f as hexadecimal (other writers)
//   "name"=-                       the value removed
//   ; comment
//
// Lines end with CR LF, LF or CR; the text is UTF-8 (a byte-order mark is skipped). The whole
// script is read before anything is imported: a script with any fault is rejected as a whole
// with a Brelib::exception naming the line, and nothing of it reaches the registry. Faults
// include what the registry would refuse half way through an import: a root that holds nothing
// here, names too long or holding a NUL, keys deeper than the registry allows.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace qb::settings {

struct RegistryScriptEntry {
    enum class Kind { Key, RemoveKey, Value, RemoveValue };
    Kind kind = Kind::Key;
    int line = 0;
    QString rootName;  // as written, e.g. "HKEY_CURRENT_USER"
    QString keyPath;   // below the root; empty for the root itself
    QString valueName; // empty for the default value
    uint32_t type = 0;
    QByteArray data;
};

struct ParsedRegistryScript {
    std::vector<RegistryScriptEntry> entries; // in script order; values follow their key
};

// A settings script is a few kilobytes; a larger one is refused before it is parsed, so a huge
// file costs no more than this much memory (read at most kMaxRegistryScriptSize + 1 bytes of it).
inline constexpr qsizetype kMaxRegistryScriptSize = qsizetype(16) << 20;

ParsedRegistryScript parseRegistryScript(const QByteArray& bytes);

struct ImportCounts {
    int keys = 0;
    int values = 0;
};

// Applies a parsed script to the registry in order. A registry failure (a root that cannot be
// written, access denied) raises a Brelib::exception naming the line; what was applied before
// it stays, as the registry has no transactions.
ImportCounts importRegistryScript(const ParsedRegistryScript& script);

} // namespace qb::settings
