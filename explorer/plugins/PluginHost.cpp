#include "explorer/plugins/PluginHost.h"

#include "explorer/plugins/ExternalBlobPlugin.h"
#include "explorer/plugins/PluginFolderScan.h"

#include <filesystem>
#include <mutex>

namespace qb::plugins {
namespace {

// Guards the host's creation, its use count and its destruction.
std::mutex& hostLock()
{
    static std::mutex lock;
    return lock;
}
PluginHost* g_host = nullptr;
int g_users = 0;

} // namespace

void PluginHost::init(const QString& folder, const InternalFactory& makeInternal)
{
    std::lock_guard guard(hostLock());
    ++g_users;
    if (g_host)
        return;
    std::unique_ptr<PluginHost> host(new PluginHost);
    host->load(folder, makeInternal);
    g_host = host.release();
}

void PluginHost::term()
{
    std::unique_ptr<PluginHost> last;
    {
        std::lock_guard guard(hostLock());
        if (g_users <= 0 || !g_host)
            return;
        if (--g_users > 0)
            return;
        last.reset(g_host);
        g_host = nullptr;
    }
    // Destroyed outside the lock: a library's clean-up must not be able to wait on it.
}

PluginHost* PluginHost::instance()
{
    return g_host;
}

int PluginHost::count()
{
    const PluginHost* host = instance();
    return host ? host->internalCount() + host->externalCount() : 0;
}

BlobPlugin* PluginHost::pluginAt(int index)
{
    const PluginHost* host = instance();
    return host ? host->pluginById(host->idAt(index)) : nullptr;
}

PluginHost::~PluginHost()
{
    // Internal plug-ins first, then the libraries, each in id order.
    while (!m_internal.empty())
        m_internal.erase(m_internal.begin());
    while (!m_external.empty())
        m_external.erase(m_external.begin());
}

void PluginHost::load(const QString& folder, const InternalFactory& makeInternal)
{
    if (makeInternal)
        for (std::unique_ptr<BlobPlugin>& plugin : makeInternal())
            if (plugin)
                m_internal.emplace(m_nextInternalId++, std::move(plugin));
    if (folder.isEmpty())
        return;
    for (const std::filesystem::path& file : findPluginFiles(std::filesystem::path(folder.toStdString()))) {
        QString whyNot;
        std::unique_ptr<ExternalBlobPlugin> plugin = ExternalBlobPlugin::load(file.string(), &whyNot);
        if (!plugin) {
            m_skipped << QString::fromStdString(file.string()) + QStringLiteral(": ") + whyNot;
            continue;
        }
        m_external.emplace(m_nextExternalId++, std::move(plugin));
    }
}

BlobPlugin* PluginHost::pluginById(int id) const
{
    const auto find = [id](const std::map<int, std::unique_ptr<BlobPlugin>>& plugins) -> BlobPlugin* {
        const auto it = plugins.find(id);
        return it == plugins.end() ? nullptr : it->second.get();
    };
    if (id >= kFirstInternalId && id < m_nextInternalId)
        return find(m_internal);
    if (id >= kFirstExternalId && id < m_nextExternalId)
        return find(m_external);
    return nullptr;
}

int PluginHost::idAt(int index) const
{
    if (index < 0)
        return 0;
    if (index < internalCount())
        return std::next(m_internal.begin(), index)->first;
    index -= internalCount();
    if (index < externalCount())
        return std::next(m_external.begin(), index)->first;
    return 0;
}

QString PluginHost::menuText(int id, BlobPlugin& plugin) const
{
    if (std::optional<QString> name = plugin.menuItemName())
        return *name;
    // A library that names no item still gets one the user can tell apart.
    const auto it = m_external.find(id);
    if (it != m_external.end())
        return QString::fromStdString(
            std::filesystem::path(static_cast<ExternalBlobPlugin&>(*it->second).path()).filename().string());
    return {};
}

std::unique_ptr<PluginMenu> PluginHost::buildMenu(CellValueSource& source, int row, int column) const
{
    auto value = std::make_unique<FilledValue>(source, row, column);
    if (!value->filled())
        return nullptr;
    std::unique_ptr<PluginMenu> menu(new PluginMenu(*this, std::move(value)));
    std::vector<PluginMenuItem>& items = menu->m_items;
    const auto offer = [&](int id, BlobPlugin& plugin) {
        const BlobValue handed = menu->m_value->handOff();
        if (plugin.test(&handed))
            items.push_back({PluginMenuItem::Kind::Command, id, menuText(id, plugin)});
    };
    for (const auto& [id, plugin] : m_internal)
        offer(id, *plugin);
    if (!items.empty() && !m_external.empty())
        items.push_back({PluginMenuItem::Kind::Separator, 0, {}});
    for (const auto& [id, plugin] : m_external)
        offer(id, *plugin);
    if (items.empty())
        items.push_back({PluginMenuItem::Kind::Empty, kEmptyItemId, QStringLiteral("(empty)")});
    return menu;
}

ShowOutcome PluginHost::show(int id, const FilledValue& value, QbWindow parent) const
{
    BlobPlugin* plugin = pluginById(id);
    if (!plugin)
        return {};
    ShowOutcome outcome;
    outcome.called = true;
    BlobValue handed = value.handOff();
    if (!plugin->show(parent, 0, &handed))
        outcome.warning = plugin->lastErrorText();
    return outcome;
}

ShowOutcome PluginHost::run(int id, CellValueSource& source, int row, int column, QbWindow parent) const
{
    if (!pluginById(id))
        return {};
    const FilledValue value(source, row, column);
    if (!value.filled())
        return {};
    return show(id, value, parent);
}

ShowOutcome PluginMenu::run(int id, QbWindow parent)
{
    for (const PluginMenuItem& item : m_items)
        if (item.kind == PluginMenuItem::Kind::Command && item.id == id)
            return m_host.show(id, *m_value, parent);
    return {};
}

} // namespace qb::plugins
