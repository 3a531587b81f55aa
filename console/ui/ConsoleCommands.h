#pragma once
// What each console command looks like: menu text, keys, status-bar help and picture. One table,
// so the menus, the toolbar and the tests agree.
#include <QString>
#include <span>

namespace qb::console::ui {

struct ConsoleCommandSpec {
    int id;
    const char16_t* text;             // the menu text with its "&" mnemonic
    const char* keys = nullptr;       // QKeySequence text; several separated by "; "
    const char16_t* help = nullptr;   // the command-help pane's text while the item is highlighted
    const char* icon = nullptr;       // our picture in :/icons/, or a standard one ("std:...")
};

std::span<const ConsoleCommandSpec> consoleCommands();
const ConsoleCommandSpec* findConsoleCommand(int id);

} // namespace qb::console::ui
