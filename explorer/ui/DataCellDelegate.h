#pragma once
// Paints the data list's cells: the cursor cell in the highlight colour, the rest of the cursor
// row lightly tinted, and the cells of long values ("(BLOB)", "(TEXT)") with a small downward
// triangle before their text, the sign that Enter opens a viewer on them.
#include <QStyledItemDelegate>

namespace qb::ui {

class DataCellDelegate : public QStyledItemDelegate {
public:
    struct Cursor {
        int row = -1;
        int column = -1;
        bool fullRow = true; // the whole cursor row is tinted, not only its cursor cell
        bool rowsOnly = false; // icon and list modes: the cursor is a whole item
    };

    explicit DataCellDelegate(QObject* parent = nullptr);

    void setCursor(const Cursor& cursor) { m_cursor = cursor; }
    const Cursor& cursor() const { return m_cursor; }

    static bool isLongValueText(const QString& text);
    // The system highlight colour moved towards white by f (0: the highlight, 1: white).
    static QColor blended(const QColor& highlight, double f);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Cursor m_cursor;
};

} // namespace qb::ui
