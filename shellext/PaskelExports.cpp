// The library's exports over the menu object and the registration. Everything else is hidden
// (-fvisibility=hidden, and the static libraries linked in are excluded from the export list).
#include "quillbase/qbpaskel.h"

#include "shellext/ContextMenu.h"
#include "shellext/ServerRegistration.h"
#include "shellext/ShellExtKeys.h"

#include <atomic>

struct QbPaskelMenu {
    qb::shellext::ContextMenu menu;
    QByteArray error;
};

namespace {

std::atomic<int> liveMenus{0};
thread_local QByteArray registrationError;

struct ItemText {
    QString wide;
    QByteArray utf8;
};

// The texts live as long as the library, so callers may keep the pointers.
const ItemText& itemText(const qb::shellext::MenuItem& item)
{
    static const ItemText explore{qb::shellext::exploreItemText(), qb::shellext::exploreItemText().toUtf8()};
    static const ItemText execute{qb::shellext::executeItemText(), qb::shellext::executeItemText().toUtf8()};
    return item.command == qb::shellext::Command::Explore ? explore : execute;
}

// Keeps the menu's error text for PaskelGetLastErrorTextA.
QbPaskelResult answer(QbPaskelMenu* menu, QbPaskelResult result)
{
    menu->error = result == QB_PASKEL_OK ? QByteArray() : menu->menu.errorText().toUtf8();
    return result;
}

template <typename F>
QbPaskelResult guarded(F call)
{
    try {
        return call();
    } catch (...) {
        return QB_PASKEL_FAIL; // nothing crosses the boundary
    }
}

QbPaskelResult registration(int32_t (*operation)(const qb::shellext::RegistrationPlaces&, QString*))
{
    return guarded([&] {
        QString why;
        const int32_t result = operation(qb::shellext::installedPlaces(), &why);
        registrationError = result == QB_PASKEL_OK ? QByteArray() : why.toUtf8();
        return result;
    });
}

} // namespace

extern "C" {

QB_PASKEL_EXPORT QbPaskelMenu* PaskelCreateMenu(void)
{
    try {
        auto* menu = new QbPaskelMenu;
        ++liveMenus;
        return menu;
    } catch (...) {
        return nullptr;
    }
}

QB_PASKEL_EXPORT void PaskelReleaseMenu(QbPaskelMenu* menu)
{
    if (!menu)
        return;
    delete menu;
    --liveMenus;
}

QB_PASKEL_EXPORT QbPaskelResult PaskelInitialize(QbPaskelMenu* menu, const char* const* paths, uint32_t count)
{
    if (!menu || (!paths && count > 0))
        return QB_PASKEL_INVALIDARG;
    return guarded([&] {
        QList<QByteArray> selection;
        for (uint32_t i = 0; i < count; ++i)
            if (paths[i])
                selection << QByteArray(paths[i]);
        return answer(menu, menu->menu.initialize(selection));
    });
}

QB_PASKEL_EXPORT QbPaskelResult PaskelQueryContextMenu(QbPaskelMenu* menu, uint32_t flags, QbPaskelMenuItem* items,
                                                       uint32_t capacity)
{
    if (!menu || (!items && capacity > 0))
        return QB_PASKEL_INVALIDARG;
    return guarded([&] {
        const std::vector<qb::shellext::MenuItem> applying = menu->menu.menuItems(flags);
        for (uint32_t i = 0; i < applying.size() && i < capacity; ++i) {
            const ItemText& text = itemText(applying[i]);
            items[i] = {uint32_t(applying[i].command), reinterpret_cast<const char16_t*>(text.wide.utf16()),
                        text.utf8.constData()};
        }
        return QbPaskelResult(applying.size());
    });
}

QB_PASKEL_EXPORT QbPaskelResult PaskelInvokeCommand(QbPaskelMenu* menu, uint32_t commandOffset)
{
    if (!menu)
        return QB_PASKEL_INVALIDARG;
    return guarded([&] { return answer(menu, menu->menu.invokeCommand(commandOffset)); });
}

QB_PASKEL_EXPORT const char* PaskelGetLastErrorTextA(const QbPaskelMenu* menu)
{
    return menu ? menu->error.constData() : registrationError.constData();
}

QB_PASKEL_EXPORT QbPaskelResult DllRegisterServer(void)
{
    return registration(&qb::shellext::registerServer);
}

QB_PASKEL_EXPORT QbPaskelResult DllUnregisterServer(void)
{
    return registration(&qb::shellext::unregisterServer);
}

QB_PASKEL_EXPORT QbPaskelResult DllCanUnloadNow(void)
{
    return liveMenus == 0 ? QB_PASKEL_OK : QB_PASKEL_FALSE;
}

} // extern "C"
