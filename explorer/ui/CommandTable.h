#pragma once
// What each command of the main window looks like: its menu text, key and picture. One table, so
// menus, toolbars and tests agree.
#include <QString>
#include <span>

namespace qb::ui {

struct CommandSpec {
    int id;
    const char16_t* text;     // the menu text, with its "&" mnemonic
    const char* key = nullptr; // QKeySequence text, or none
    const char* themeIcon = nullptr; // freedesktop icon name tried first
    const char* ownIcon = nullptr;   // our SVG in :/icons/, used when the theme has none
    bool checkable = false;
};

std::span<const CommandSpec> commandTable();
const CommandSpec* findCommand(int id);

} // namespace qb::ui
