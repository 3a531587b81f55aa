#include "explorer/settings/LayoutStore.h"

#include "common/RecentDocumentList.h"
#include "common/settings/SettingsNumber.h"
#include "platform/Registry.h"


namespace qb::settings {
namespace {

using namespace qb::reg;

long writeRecord(HKEY key, const QString& name, const DockingRecord& record)
{
    return RegSetValueEx(key, name, REG_BINARY, record.data(), uint32_t(record.size()));
}

std::optional<DockingRecord> readRecord(HKEY key, const QString& name)
{
    DockingRecord record{};
    uint32_t type = REG_NONE;
    uint32_t size = uint32_t(record.size());
    if (RegQueryValueEx(key, name, &type, record.data(), &size) != ERROR_SUCCESS || type != REG_BINARY
        || size != record.size())
        return std::nullopt;
    return record;
}

} // namespace

long LayoutStore::save(ViewSettings& view, const WindowLayout& layout, bool saveLayoutFlag,
                       const RecentDocumentList& recent) const
{
    long result = ERROR_SUCCESS;
    if (saveLayoutFlag)
        result = saveView(view, layout);
    const long recentResult = recent.write(m_rootPath);
    return result != ERROR_SUCCESS ? result : recentResult;
}

long LayoutStore::saveView(ViewSettings& view, const WindowLayout& layout) const
{
    view.setFirstStart(false);
    if (const long rc = view.loadSave(SettingsGroup::Write); rc != ERROR_SUCCESS)
        return rc;
    KeyGuard key;
    if (const long rc = RegCreateKeyEx(HKEY_CURRENT_USER, m_rootPath + viewKey(), key.out()); rc != ERROR_SUCCESS)
        return rc;
    const WindowRect& r = layout.rect;
    const bool fullWindow = layout.maximized;
    long rc = writeDwordValue(key.get(), QStringLiteral("IsFullWnd"), fullWindow ? 1 : 0);
    if (!fullWindow) {
        // A maximised window keeps the normal rectangle saved before it was maximised.
        const std::pair<const char*, int> sides[] = {{"left", r.left}, {"top", r.top}, {"right", r.right}, {"bottom", r.bottom}};
        for (const auto& [name, side] : sides)
            if (rc == ERROR_SUCCESS)
                rc = writeDwordValue(key.get(), QString::fromLatin1(name), uint32_t(side));
    }
    for (const ToolbarBand& band : layout.bands)
        if (rc == ERROR_SUCCESS)
            rc = writeDwordValue(key.get(), QString::number(band.id), band.value);
    const std::pair<const char*, const DockingRecord*> records[] = {
        {"report", &layout.report}, {"dataquickview", &layout.dataQuickView},
        {"datatree", &layout.dataTree}, {"sqledt", &layout.sqlEdit}};
    for (const auto& [name, record] : records)
        if (rc == ERROR_SUCCESS)
            rc = writeRecord(key.get(), QString::fromLatin1(name), *record);
    return rc;
}

StoredLayout LayoutStore::read(int bandCount) const
{
    StoredLayout stored;
    KeyGuard key;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, m_rootPath + viewKey(), key.out()) != ERROR_SUCCESS)
        return stored;
    stored.fullWindow = readDwordValue(key.get(), QStringLiteral("IsFullWnd")).value_or(0) == 1;
    WindowRect& r = stored.rect;
    r.left = int(readDwordValue(key.get(), QStringLiteral("left")).value_or(uint32_t(r.left)));
    r.top = int(readDwordValue(key.get(), QStringLiteral("top")).value_or(uint32_t(r.top)));
    r.right = int(readDwordValue(key.get(), QStringLiteral("right")).value_or(uint32_t(r.right)));
    r.bottom = int(readDwordValue(key.get(), QStringLiteral("bottom")).value_or(uint32_t(r.bottom)));
    for (int i = 0; i < bandCount; ++i) {
        const uint32_t id = kFirstBandId + uint32_t(i);
        const auto value = readDwordValue(key.get(), QString::number(id));
        if (!value)
            break;
        stored.bands.push_back(ToolbarBand{id, *value});
    }
    stored.report = readRecord(key.get(), QStringLiteral("report"));
    stored.dataQuickView = readRecord(key.get(), QStringLiteral("dataquickview"));
    stored.dataTree = readRecord(key.get(), QStringLiteral("datatree"));
    stored.sqlEdit = readRecord(key.get(), QStringLiteral("sqledt"));
    return stored;
}

} // namespace qb::settings
