#pragma once
// The menu object a file manager asks, one per context menu: initialise it with the selected
// files, ask it for its items, invoke one of them.
//
// For every selected file whose extension is in the extension table it keeps one argument (the
// table's template for that file); the items apply when there is at least one. Only the first
// file's argument is ever used. Each command starts a program from the folder the installation
// registered ("core path"), with that argument and "-dontsavelayout", and never waits for it.
//
// The object shows nothing: every failure comes back as a result code, with a text for the
// caller's log.
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

namespace qb::shellext {

// Result codes, as the extension's callers have always read them.
enum : int32_t {
    kOk = 0,
    kFail = int32_t(0x80004005),
    kInvalidArgument = int32_t(0x80070057),
    kAccessDenied = int32_t(0x80070005),
};

// Flags of a menu query: what kind of menu the file manager builds.
enum : uint32_t {
    kMenuNormal = 0x0,
    kMenuDefaultOnly = 0x1, // only the default item is wanted: the extension has none
    kMenuVerbsOnly = 0x2,
    kMenuExplore = 0x4,
};

enum class Command : uint32_t { Explore = 0, Execute = 1 };

struct MenuItem {
    Command command;
    QString text;
};

class ContextMenu {
public:
    // Reads the extension table and builds the arguments of the selected files, in selection
    // order. kOk when at least one file is of a listed type; kFail otherwise, and when the table
    // cannot be read (no items then).
    int32_t initialize(const QList<QByteArray>& paths);

    // The items for a menu of that kind: both commands, or none when no file applies or the flags
    // ask for the default item only (or for a kind of menu the extension does not join).
    std::vector<MenuItem> menuItems(uint32_t flags) const;

    // Starts the program of the command offset (0 explore, 1 execute) on the first file's argument.
    // kOk when it was started; kInvalidArgument for another offset; kFail when there is no file,
    // no registered installation folder, or the program could not be started (errorText says why).
    int32_t invokeCommand(uint32_t offset);

    const QString& errorText() const { return m_error; }
    const std::vector<QList<QByteArray>>& arguments() const { return m_arguments; }

private:
    int32_t fail(const QString& text);

    std::vector<QList<QByteArray>> m_arguments;
    QString m_error;
};

// The program a command starts: qorvex or tessmar.
QByteArray programName(Command command);

} // namespace qb::shellext
