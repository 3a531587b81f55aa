#include "explorer/plugins/ExternalBlobPlugin.h"

#include "explorer/plugins/PluginText.h"

#include <cstring>
#include <dlfcn.h>

namespace qb::plugins {
namespace {

QString dlErrorText()
{
    const char* e = dlerror();
    return e ? QString::fromUtf8(e) : QString();
}

// Runs a call into the library; what escapes it gives `fallback`.
template <class R, class Call>
R guarded(R fallback, Call call)
{
    try {
        return call();
    } catch (...) {
        return fallback;
    }
}

template <class Call>
void guardedVoid(Call call)
{
    try {
        call();
    } catch (...) {
    }
}

} // namespace

ExternalBlobPlugin::ExternalBlobPlugin(std::string path, void* handle) : m_path(std::move(path)), m_handle(handle) {}

std::unique_ptr<ExternalBlobPlugin> ExternalBlobPlugin::load(const std::string& path, QString* whyNot)
{
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        *whyNot = dlErrorText();
        return nullptr;
    }
    std::unique_ptr<ExternalBlobPlugin> plugin(new ExternalBlobPlugin(path, handle));
    // Required exports in a fixed order: the first one missing ends the load.
    const auto bind = [&](const char* name, auto& slot) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(handle, name));
        return slot != nullptr;
    };
    const auto require = [&](const char* name, auto& slot) {
        if (bind(name, slot))
            return true;
        *whyNot = QStringLiteral("the export %1 is missing").arg(QLatin1String(name));
        return false;
    };
    const bool complete = require(QB_EXPORT_GET_LAST_ERROR_TEXT_A, plugin->m_getLastErrorTextA) &&
                          require(QB_EXPORT_GET_LAST_ERROR_TEXT_W, plugin->m_getLastErrorTextW) &&
                          require(QB_EXPORT_SHOW_BLOB, plugin->m_showBLOB) &&
                          require(QB_EXPORT_GET_MENU_ITEM_NAME_A, plugin->m_getMenuItemNameA) &&
                          require(QB_EXPORT_GET_MENU_ITEM_NAME_W, plugin->m_getMenuItemNameW);
    if (!complete)
        return nullptr; // the destructor frees the library
    bind(QB_EXPORT_TEST_BLOB, plugin->m_testBLOB);
    bind(QB_EXPORT_GET_MODULE_DESCRIPTION_A, plugin->m_getModuleDescriptionA);
    bind(QB_EXPORT_GET_MODULE_DESCRIPTION_W, plugin->m_getModuleDescriptionW);
    bind(QB_EXPORT_SHOW_ABOUT_BOX, plugin->m_showAboutBox);
    bind(QB_EXPORT_SHOW_CONFIGURATE_WND, plugin->m_showConfigurateWnd);
    return plugin;
}

ExternalBlobPlugin::~ExternalBlobPlugin()
{
    if (m_handle)
        dlclose(m_handle);
}

void ExternalBlobPlugin::getDescription(PluginDescription* out)
{
    std::memset(out, 0, sizeof *out);
    setFieldText(out->name, QB_DESCRIPTION_NAME_UNITS, QStringLiteral("<Unknown>"));
    if (m_getModuleDescriptionW) {
        // Filled into a record of the host's own, so a plug-in that writes past a field's end
        // still stays inside the record; each field is then read within its capacity.
        guardedVoid([&] { m_getModuleDescriptionW(out); });
    }
}

void ExternalBlobPlugin::showAbout(QbWindow parent)
{
    if (m_showAboutBox)
        guardedVoid([&] { m_showAboutBox(parent); });
}

void ExternalBlobPlugin::showConfigure(QbWindow parent)
{
    if (m_showConfigurateWnd)
        guardedVoid([&] { m_showConfigurateWnd(parent); });
}

std::optional<QString> ExternalBlobPlugin::lastErrorText()
{
    return guarded(std::optional<QString>{}, [&] { return copyPluginText(m_getLastErrorTextW(), kMaxErrorTextUnits); });
}

bool ExternalBlobPlugin::show(QbWindow parent, int reserved, BlobValue* value)
{
    return guarded(false, [&] { return m_showBLOB(parent, reserved, value) != 0; });
}

bool ExternalBlobPlugin::test(const BlobValue* value)
{
    if (!m_testBLOB)
        return true;
    return guarded(true, [&] { return m_testBLOB(value) != 0; });
}

std::optional<QString> ExternalBlobPlugin::menuItemName()
{
    return guarded(std::optional<QString>{}, [&] { return copyPluginText(m_getMenuItemNameW(), kMaxMenuItemUnits); });
}

} // namespace qb::plugins
