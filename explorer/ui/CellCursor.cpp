#include "explorer/ui/CellCursor.h"

#include <Qt>
#include <algorithm>

namespace qb::ui {

CellCursor::Outcome CellCursor::key(int qtKey, const Extent& e)
{
    Outcome out;
    if (e.items <= 0)
        return out;
    const int oldRow = m_row;
    const int oldColumn = m_column;
    switch (qtKey) {
    case Qt::Key_PageUp:
        m_row = std::max(0, m_row - std::max(1, e.visibleRows));
        break;
    case Qt::Key_PageDown:
        m_row = std::min(e.items - 1, m_row + std::max(1, e.visibleRows));
        break;
    case Qt::Key_Left:
        m_column = std::max(0, m_column - 1);
        break;
    case Qt::Key_Right:
        m_column = std::min(std::max(0, e.columns - 1), m_column + 1);
        break;
    case Qt::Key_Up:
        if (m_row > 0)
            --m_row;
        else if (e.hasPreviousPage)
            out.turn = PageTurn::Previous;
        break;
    case Qt::Key_Down:
        if (m_row < e.items - 1)
            ++m_row;
        else if (e.hasNextPage)
            out.turn = PageTurn::Next;
        break;
    default:
        return out;
    }
    out.moved = m_row != oldRow || m_column != oldColumn;
    return out;
}

void CellCursor::afterPageTurn(PageTurn turn, int oldItems, int newItems)
{
    if (turn == PageTurn::Next)
        m_row = std::min(oldItems - 1, newItems - 1);
    else if (turn == PageTurn::Previous)
        m_row = 0;
    m_row = std::max(0, m_row);
}

bool CellCursor::moveTo(int row, int column, int items, int columns)
{
    const int oldRow = m_row;
    const int oldColumn = m_column;
    m_row = std::clamp(row, 0, std::max(0, items - 1));
    m_column = std::clamp(column, 0, std::max(0, columns - 1));
    return m_row != oldRow || m_column != oldColumn;
}

bool CellCursor::clamp(int items, int columns)
{
    return moveTo(m_row, m_column, items, columns);
}

} // namespace qb::ui
