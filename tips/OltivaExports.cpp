// The library's two exports. Everything else is hidden (-fvisibility=hidden, and the static
// libraries linked in are excluded from the export list).
#include "quillbase/qbtips.h"

#include "tips/TipsDialog.h"

#include <QApplication>
#include <QPointer>

namespace {

uint8_t showTips(QbWindow owner, const QString& path, int32_t showAtStartup)
{
    const uint8_t unchanged = showAtStartup == 1 ? 1 : 0;
    try {
        // A library uses its host's application object; without one there is nothing to show on.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return unchanged;
        QWidget* centreOver = static_cast<QWidget*>(owner);
        QWidget* parent = QApplication::activeWindow();
        if (!parent && centreOver)
            parent = centreOver->window();
        qb::tips::TipsDialog dialog(path, showAtStartup, centreOver, parent);
        return dialog.run() ? 1 : 0;
    } catch (...) {
        // Nothing crosses the boundary; the user's choice stays as it was.
        return unchanged;
    }
}

} // namespace

extern "C" QB_TIPS_EXPORT uint8_t ShowTipsDialogW(QbWindow owner, const char16_t* tipsFilePath, int32_t showAtStartup)
{
    return showTips(owner, tipsFilePath ? QString::fromUtf16(tipsFilePath) : QString(), showAtStartup);
}

extern "C" QB_TIPS_EXPORT uint8_t ShowTipsDialogA(QbWindow owner, const char* tipsFilePath, int32_t showAtStartup)
{
    return showTips(owner, tipsFilePath ? QString::fromUtf8(tipsFilePath) : QString(), showAtStartup);
}
