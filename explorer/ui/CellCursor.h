#pragma once
// The data list's cell cursor: a current row (within the current page for tables) and a current
// column, moved by the keys. A move past the page edge asks for a page turn; the view loads the
// page and then tells the cursor how many rows the new page has.
namespace qb::ui {

class CellCursor {
public:
    struct Extent {
        int items = 0;        // rows of the list (of the current page)
        int columns = 0;
        int visibleRows = 1;  // rows one screen of the list shows
        bool hasNextPage = false;
        bool hasPreviousPage = false;
    };
    enum class PageTurn { None, Next, Previous };
    struct Outcome {
        bool moved = false;
        PageTurn turn = PageTurn::None;
    };

    int row() const { return m_row; }
    int column() const { return m_column; }

    // Up, Down, Page Up, Page Down, Left and Right (Qt key codes); other keys do nothing. With no
    // items the cursor keys do nothing at all.
    Outcome key(int qtKey, const Extent& extent);
    // After the page asked for was loaded: Down keeps the cursor on the last row (the old count
    // minus one, clamped to the new page), Up on the first.
    void afterPageTurn(PageTurn turn, int oldItems, int newItems);
    // A click or a new content: the cursor moves there, kept inside the list.
    bool moveTo(int row, int column, int items, int columns);
    // A reload with fewer rows or columns keeps the cursor inside them.
    bool clamp(int items, int columns);
    void reset() { m_row = 0; m_column = 0; }

private:
    int m_row = 0;
    int m_column = 0;
};

} // namespace qb::ui
