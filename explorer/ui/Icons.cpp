#include "explorer/ui/Icons.h"

#include "explorer/browser/ElementId.h"

#include <QString>

// Q_INIT_RESOURCE must be called outside any namespace.
static void initIconResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(qorvex);
        return true;
    }();
    (void)done;
}

namespace qb::ui {

QIcon themedIcon(const char* themeName, const char* ownName)
{
    initIconResources();
    const QIcon own = ownName ? QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(ownName))) : QIcon();
    if (themeName && QIcon::hasThemeIcon(QLatin1String(themeName)))
        return QIcon::fromTheme(QLatin1String(themeName), own);
    return own;
}

QIcon elementIcon(int imageIndex)
{
    using namespace qb::browser;
    switch (imageIndex) {
    case kDatabaseImage:
        return themedIcon(nullptr, "database");
    case kTablesFolderImage:
        return themedIcon(nullptr, "folder-tables");
    case kProceduresFolderImage:
        return themedIcon(nullptr, "folder-procedures");
    case kViewsFolderImage:
        return themedIcon(nullptr, "folder-views");
    case kTableImage:
        return themedIcon(nullptr, "table");
    case kViewImage:
        return themedIcon(nullptr, "view");
    case kProcedureImage:
        return themedIcon(nullptr, "procedure");
    default:
        return QIcon();
    }
}

QIcon reportKindIcon(int kind)
{
    switch (kind) {
    case 0:
        return themedIcon("dialog-error", "error");
    case 1:
        return themedIcon("dialog-information", "information");
    default:
        return QIcon();
    }
}

QIcon programIcon()
{
    return themedIcon(nullptr, "qorvex");
}

} // namespace qb::ui
