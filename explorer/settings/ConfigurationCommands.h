#pragma once
// "&Save the Configuration" (32826) and "&Export the Configuration..." (32828) without widgets:
// the window hands in its layout save and a UserPrompts for the questions and messages.
#include "explorer/settings/SettingsKeys.h"

#include <QString>
#include <functional>

namespace qb::settings {

class OptionsGroups;
class UserPrompts;

// Runs the layout save exactly as at close (the window's save-layout flag applies inside it, the
// recent document list is written in any case; it answers 0 or the first registry error), writes
// every option group, then tells the user: that it is complete, or that a registry write failed.
// Answers whether everything was written.
bool saveConfiguration(const std::function<long()>& saveLayout, OptionsGroups& groups, UserPrompts& prompts);

// Asks whether to save first (Yes runs saveConfig, No goes on, Cancel stops), lets the user choose
// a .reg file, and writes HKEY_CURRENT_USER\<root>\1.6 to it. The recent document list lies
// outside that tree and is not exported. Answers whether a file was written.
bool exportConfiguration(UserPrompts& prompts, const std::function<void()>& saveConfig,
                         const QString& rootPath = explorerRootPath());

} // namespace qb::settings
