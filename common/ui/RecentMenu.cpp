#include "common/ui/RecentMenu.h"

#include <QAction>
#include <QMenu>

namespace qb::ui {

RecentMenu::RecentMenu(QMenu* menu, std::function<void(int)> open) : m_menu(menu), m_open(std::move(open)) {}

int RecentMenu::itemCount() const
{
    return int(m_menu->actions().size());
}

int RecentMenu::commandAt(int position) const
{
    const QList<QAction*> actions = m_menu->actions();
    return position >= 0 && position < actions.size() ? actions[position]->data().toInt() : 0;
}

QString RecentMenu::textAt(int position) const
{
    const QList<QAction*> actions = m_menu->actions();
    return position >= 0 && position < actions.size() ? actions[position]->text() : QString();
}

void RecentMenu::insertItem(int position, int command, const QString& text, bool enabled)
{
    const QList<QAction*> actions = m_menu->actions();
    auto* action = new QAction(text, m_menu);
    action->setData(command);
    action->setEnabled(enabled);
    QObject::connect(action, &QAction::triggered, m_menu, [this, command] { m_open(command); });
    m_menu->insertAction(position >= 0 && position < actions.size() ? actions[position] : nullptr, action);
}

void RecentMenu::removeItem(int position)
{
    const QList<QAction*> actions = m_menu->actions();
    if (position < 0 || position >= actions.size())
        return;
    QAction* action = actions[position];
    m_menu->removeAction(action);
    if (action->parent() == m_menu)
        delete action;
}

} // namespace qb::ui
