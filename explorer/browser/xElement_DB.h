#pragma once
// The database element: its items are its three folders (tables, stored procedures, table views),
// always present, so showing it loads nothing.
#include "explorer/browser/xElement.h"

#include <array>

namespace qb::browser {

class xElement_DB : public xElement {
public:
    explicit xElement_DB(ReportSink& sink);

    void show_data(const ShowRequest& request) override;
    void clear() override {}
    bool isLoaded() const override { return true; }
    int itemCount() const override { return static_cast<int>(m_folders.size()); }
    QString cellText(int item, int column) const override;
    int itemImage(int item, int column) const override;
    int childKind(int item) const override;

private:
    struct FolderItem {
        QString caption;
        int imageIndex;
        int childId;
    };
    std::array<FolderItem, 3> m_folders;
};

} // namespace qb::browser
