#pragma once
// Finding the plug-in libraries below the plugins folder.
//
// The walk is depth first: a sub-folder is walked where its name falls among its siblings' names.
// Names are taken in byte order, so the menu order does not depend on how the file system happens
// to list a folder. Symbolic links are not followed (neither to files nor to folders), so a link
// can neither bring in a library from elsewhere nor make the walk go round in circles, and the
// depth is bounded all the same. A folder that cannot be read is passed over.
#include <filesystem>
#include <vector>

namespace qb::plugins {

// How many folder levels below the plugins folder are still walked (1: its direct sub-folders).
constexpr int kMaxPluginFolderDepth = 8;

// Regular files whose names end in ".blob" (exactly, lower case), in walking order.
std::vector<std::filesystem::path> findPluginFiles(const std::filesystem::path& folder,
                                                   int maxDepth = kMaxPluginFolderDepth);

} // namespace qb::plugins
