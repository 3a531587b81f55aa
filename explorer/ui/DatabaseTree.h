#pragma once
// The database tree: the root "Data Base", its folders and their tables and views, filled as the
// user expands nodes. Drawn in the classic way, with plus and minus buttons and dotted lines that
// the Data Tree options switch on and off, full-row selection and hot tracking.
#include "explorer/browser/TreeExpansion.h"

#include <QTreeWidget>
#include <optional>
#include <vector>

namespace qb::ui {

class DatabaseTree : public QTreeWidget {
public:
    struct Styles {
        bool hasButtons = true;
        bool hasLines = true;
        bool fullRow = false;
        bool hotTrack = false;
    };

    explicit DatabaseTree(QWidget* parent = nullptr);

    void setStyles(const Styles& styles);
    const Styles& styles() const { return m_styles; }

    // After connecting: the tree holds only its root, with an expand button.
    void resetRoot(const QString& caption);
    void fillChildren(QTreeWidgetItem* node, const std::vector<browser::TreeChild>& children);
    // The text of a node and of its parent (none for the root).
    static std::optional<QString> parentText(const QTreeWidgetItem* node);
    bool showsButton(const QModelIndex& index) const;

protected:
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Styles m_styles;
};

} // namespace qb::ui
