#pragma once
// The popup menu that shows the recent document list, as the list sees it: items addressed by
// position, each with a command id and a text. The Qt menu of each program implements it; the
// list never touches a widget.
#include <QString>

namespace qb {

class RecentDocumentMenu {
public:
    virtual ~RecentDocumentMenu() = default;
    virtual int itemCount() const = 0;
    virtual int commandAt(int position) const = 0;
    virtual QString textAt(int position) const = 0;
    // Inserts before the item at position (at the end when position is the item count).
    virtual void insertItem(int position, int command, const QString& text, bool enabled) = 0;
    virtual void removeItem(int position) = 0;
};

} // namespace qb
