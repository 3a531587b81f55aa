#pragma once
// The data list: the current element's items in one of four view modes (a table for the report
// mode, an item view for the icon, small icon and list modes) over one virtual model, with the
// cell cursor and its keys, page turns at the edges of a table's cached page, the description
// tooltip, and the viewer notification on cells of long values.
#include "explorer/ui/CellCursor.h"
#include "explorer/ui/DataCellDelegate.h"

#include <QWidget>
#include <functional>

class QAbstractItemView;
class QListView;
class QStackedWidget;
class QTableView;

namespace qb::ui {

class DataListModel;
class DescriptionTip;

class DataListView : public QWidget {
    Q_OBJECT
public:
    // The mode values a list style keeps: 0 icons, 1 report, 2 small icons, 3 list.
    enum Mode : int { IconsMode = 0, ReportMode = 1, SmallIconsMode = 2, ListMode = 3 };

    struct Options {
        bool showGrid = true;
        bool fullRow = true;
        bool tipOnClick = false;      // left button alone
        bool tipOnShiftClick = true;  // left button with Shift
    };

    explicit DataListView(QWidget* parent = nullptr);

    DataListModel& model() { return *m_model; }
    // Whether the list may ask the element and turn pages (idle and connected).
    void setGate(std::function<bool()> gate);

    void setMode(int mode);
    int mode() const { return m_mode; }
    void setOptions(const Options& options);
    const Options& options() const { return m_options; }

    QTableView* tableView() const { return m_table; }
    QListView* itemView() const { return m_items; }
    QAbstractItemView* activeView() const;
    DescriptionTip* descriptionTip() const { return m_tip; }

    int cursorRow() const { return m_cursor.row(); }
    int cursorColumn() const { return m_cursor.column(); }
    // Sends a cursor key as if typed (the "previous row" and "next row" commands).
    void pressCursorKey(int qtKey);
    // After the item count or the columns changed: the cursor stays inside the list.
    void contentChanged();
    // A new element is shown: the cursor goes back to the first cell.
    void resetCursor();

signals:
    // Every change of the cursor: row within the list, column.
    void cursorChanged(int row, int column);
    // Enter, or a click on the triangle, on a cell showing "(BLOB)" or "(TEXT)".
    void viewerRequested(int row, int column);
    // Double click, or Enter on an item that is not a long value.
    void itemActivated(int row);
    // A page could not be loaded: the error's text.
    void pageFailed(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void handlePress(QAbstractItemView* view, const QPoint& pos, Qt::MouseButton button);
    void handleTipClick(QAbstractItemView* view, const QPoint& pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void turnPage(CellCursor::PageTurn turn);
    CellCursor::Extent extent() const;
    void cursorMoved();
    bool mayAsk() const;

    DataListModel* m_model;
    QStackedWidget* m_stack;
    QTableView* m_table;
    QListView* m_items;
    DataCellDelegate* m_delegate;
    DescriptionTip* m_tip;
    std::function<bool()> m_gate;
    CellCursor m_cursor;
    Options m_options;
    int m_mode = ReportMode;
};

} // namespace qb::ui
