#include "explorer/plugins/PluginFolderScan.h"

#include <quillbase/qbplugin.h>

#include <algorithm>
#include <string_view>

namespace qb::plugins {
namespace fs = std::filesystem;
namespace {

bool hasPluginSuffix(const std::string& name)
{
    constexpr std::string_view suffix = QB_PLUGIN_SUFFIX;
    return name.size() >= suffix.size() && std::string_view(name).substr(name.size() - suffix.size()) == suffix;
}

void walk(const fs::path& folder, int depth, int maxDepth, std::vector<fs::path>& found)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    if (ec && names.empty())
        return;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const fs::path path = folder / name;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (ec)
            continue;
        if (fs::is_directory(status)) {
            if (depth < maxDepth)
                walk(path, depth + 1, maxDepth, found);
        } else if (fs::is_regular_file(status) && hasPluginSuffix(name)) {
            found.push_back(path);
        }
    }
}

} // namespace

std::vector<fs::path> findPluginFiles(const fs::path& folder, int maxDepth)
{
    std::vector<fs::path> found;
    std::error_code ec;
    // The plugins folder itself may be a link (an installation may place it elsewhere).
    if (!fs::is_directory(fs::status(folder, ec)))
        return found;
    walk(folder, 0, maxDepth, found);
    return found;
}

} // namespace qb::plugins
