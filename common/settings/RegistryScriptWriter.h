#pragma once
// Writes a registry key and everything below it as a REGEDIT4 script: the header, then a section
// per key, a parent always before its children and the children in the registry's own order
// (depth first), and in each section a line per value in the order the key lists them; CR LF line
// ends; UTF-8 text. The order is the registry's, so the same tree always gives the same bytes.
//
// Data forms: REG_SZ as quoted text (backslash and double quote escaped), REG_DWORD as
// "dword:%08x", REG_BINARY as "hex:" and every other type as "hex(<type in decimal>):" followed
// by the bytes, 22 on the first line and 21 on each continuation line. Types the format has no
// form for (REG_NONE, REG_DWORD_BIG_ENDIAN, REG_LINK, REG_QWORD, unknown numbers) take the
// "hex(n):" form too, so nothing is lost; so do the two values the quoted and dword forms cannot
// carry: text containing a line break, and REG_DWORD data that is not four bytes.
// A key whose subkeys cannot be enumerated gets an "Error" line in place of its subtree.
#include <QByteArray>
#include <QString>
#include <functional>

namespace qb::settings {

struct RegistryScriptText {
    QByteArray text;
    int errorLines = 0; // keys whose subtree could not be read ("Error" lines)
};

// The script of rootName\keyPath (keyPath may be empty for the whole root). An unknown root name
// or a missing start key gives the header, the start key's path line and "Error".
RegistryScriptText buildRegistryScript(const QString& rootName, const QString& keyPath);

using ExportMessage = std::function<void(const QString& caption, const QString& text)>;

// Writes the script to fileName (replaced as a whole only once written completely). When the file
// cannot be created or written, reports "Error while creating the file" (caption "Registry
// export") through report and answers false; no file is left behind then.
bool writeRegistryScript(const QString& rootName, const QString& keyPath, const QString& fileName,
                         const ExportMessage& report, int* errorLines = nullptr);

} // namespace qb::settings
