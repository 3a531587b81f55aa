#include "explorer/plugins/ui/PluginMenuPopup.h"

#include "explorer/plugins/PluginHost.h"
#include "platform/StringTable.h"

#include <QMenu>
#include <QMessageBox>
#include <QWidget>

namespace qb::plugins {
namespace {

constexpr int kErrorCaption = 60000;

void present(const ShowOutcome& outcome, QWidget* parent)
{
    if (outcome.warning)
        showPluginWarning(parent, *outcome.warning);
}

} // namespace

std::unique_ptr<QMenu> makePluginPopup(const PluginMenu& menu)
{
    auto popup = std::make_unique<QMenu>();
    for (const PluginMenuItem& item : menu.items()) {
        switch (item.kind) {
        case PluginMenuItem::Kind::Separator:
            popup->addSeparator();
            break;
        case PluginMenuItem::Kind::Empty:
        case PluginMenuItem::Kind::Command: {
            // A menu text from a plug-in may hold "&": it shows as it is, without a mnemonic.
            QString text = item.text;
            if (item.kind == PluginMenuItem::Kind::Command)
                text.replace(u'&', QStringLiteral("&&"));
            QAction* action = popup->addAction(text);
            action->setData(item.id);
            action->setEnabled(item.kind == PluginMenuItem::Kind::Command);
            break;
        }
        }
    }
    return popup;
}

bool openPluginMenu(QWidget* list, const QRect& cell, CellValueSource& source, int row, int column)
{
    PluginHost* host = PluginHost::instance();
    if (!host || !list)
        return false;
    std::unique_ptr<PluginMenu> menu = host->buildMenu(source, row, column);
    if (!menu)
        return false;
    std::unique_ptr<QMenu> popup = makePluginPopup(*menu);
    QPoint at = list->mapToGlobal(QPoint(cell.left(), cell.bottom() + 1));
    at.setX(std::max(0, at.x()));
    const QAction* chosen = popup->exec(at);
    const int id = chosen ? chosen->data().toInt() : 0;
    popup.reset(); // gone before the viewer opens
    if (id)
        present(menu->run(id, list->window()), list->window());
    return true;
}

bool isPluginCommand(int id)
{
    return id >= PluginHost::kFirstInternalId && id <= PluginHost::kLastRoutedId;
}

void runPluginCommand(int id, CellValueSource& source, int row, int column, QWidget* parent)
{
    const PluginHost* host = PluginHost::instance();
    if (!host || !isPluginCommand(id))
        return;
    present(host->run(id, source, row, column, parent), parent);
}

void showPluginWarning(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, loadString(kErrorCaption), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace qb::plugins
