// A careless C++ plug-in whose exports let exceptions escape: the host must catch them.
#include <quillbase/qbplugin.h>

#include <stdexcept>

namespace {
[[noreturn]] void fail()
{
    throw std::runtime_error("escaped from the plug-in");
}
} // namespace

QB_PLUGIN_EXPORT const char* GetLastErrorTextA() { fail(); }
QB_PLUGIN_EXPORT const char16_t* GetLastErrorTextW() { fail(); }
QB_PLUGIN_EXPORT QbBool ShowBLOB(QbWindow, int, BlobValue*) { fail(); }
QB_PLUGIN_EXPORT const char* GetMenuItemNameA() { fail(); }
QB_PLUGIN_EXPORT const char16_t* GetMenuItemNameW() { fail(); }
QB_PLUGIN_EXPORT QbBool TestBLOB(const BlobValue*) { fail(); }
QB_PLUGIN_EXPORT QbBool GetModuleDescriptionW(PluginDescription*) { fail(); }
