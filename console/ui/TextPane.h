#pragma once
// What the window's edit commands, Find and the caret panes need of either pane: the SQL window
// (an editable QPlainTextEdit) and the result window (a read-only view of its own). The commands
// that change text reach the SQL window's editor directly; the result window has none.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <utility>

class QFont;
class QPlainTextEdit;

namespace qb::console::ui {

struct TextSearch {
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;
};

class TextPane {
public:
    virtual ~TextPane() = default;

    // The editor behind the pane when its text can be edited at all; null for a read-only view.
    virtual QPlainTextEdit* editor() = 0;

    virtual bool hasText() const = 0;
    virtual bool hasSelection() const = 0;
    // Whether Clear may empty the pane now.
    virtual bool isClearable() const = 0;
    virtual void copy() = 0;
    virtual void selectAll() = 0;
    virtual void clearText() = 0;
    // Down from the end of the selection or up from its start, never around; a hit is selected
    // and scrolled into view. False when there is none (the selection stays).
    virtual bool findText(const TextSearch& search) = 0;
    // The caret's row and column, each from 1 (see tabbedColumn).
    virtual std::pair<int, int> caretRowColumn(uint32_t tabCount) const = 0;
};

// Pixels between tab stops: tabCount average characters of the font.
double tabStopDistance(uint32_t tabCount, const QFont& font);
// The 0-based column after `text`, a TAB moving to the next multiple of tabCount (one column
// with tab count 0).
int tabbedColumn(QStringView text, uint32_t tabCount);

} // namespace qb::console::ui
