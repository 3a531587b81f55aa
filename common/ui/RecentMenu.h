#pragma once
// The File menu as the recent document list sees it: items by position, each with the command id
// it carries. Entries the list inserts open their file when chosen.
#include "common/RecentDocumentMenu.h"

#include <functional>

class QMenu;

namespace qb::ui {

class RecentMenu : public RecentDocumentMenu {
public:
    RecentMenu(QMenu* menu, std::function<void(int command)> open);

    int itemCount() const override;
    int commandAt(int position) const override;
    QString textAt(int position) const override;
    void insertItem(int position, int command, const QString& text, bool enabled) override;
    void removeItem(int position) override;

private:
    QMenu* m_menu;
    std::function<void(int)> m_open;
};

} // namespace qb::ui
