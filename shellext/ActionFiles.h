#pragma once
// The files through which the file managers offer the two commands for data link files: a desktop
// entry with both as actions (menus of "Open With" and actions), a service menu, and one action
// file per command for the managers that read those. They are made from templates shipped with
// the suite, with "@PASKEL@" standing for the command that runs the menu.
#include <QString>
#include <vector>

namespace qb::shellext {

struct ActionFile {
    const char* templateName; // in the template folder
    const char* destination;  // below the data folder (<prefix>/share)
    bool executable;          // some managers run service menus only when they may be executed
};

const std::vector<ActionFile>& actionFiles();

// The program path as one word of an Exec line: as it is when it holds only characters that need
// no quoting, otherwise in double quotes with '"', '`', '$' and '\' escaped; then every '\'
// doubled, as the key files' own escape demands, and every '%' doubled so it is no field code.
QString execWord(const QString& program);

// Writes every action file below dataFolder from the templates, replacing "@PASKEL@" by the
// command. Empty when all were written; otherwise why not (files already written stay, for
// removeActionFiles to take away).
QString writeActionFiles(const QString& templateFolder, const QString& dataFolder, const QString& command);

// Removes the action files and then those of their folders that are left empty (not the data
// folder's "applications", which belongs to every program). Empty when nothing was left behind.
QString removeActionFiles(const QString& dataFolder);

} // namespace qb::shellext
