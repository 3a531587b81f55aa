#pragma once
// The SQL window: the script being edited, coloured as the user types by the shared colouring
// engine (common/ui/SqlHighlighter). The colours are display formats only, so an edit and its
// colouring are one step on the undo stack, and colouring never marks the file modified.
#include "console/ui/ConsoleTextView.h"

#include <array>

namespace qb::ui {
class SqlHighlighter;
}

namespace qb::console::ui {

class SqlEditor : public ConsoleTextView {
public:
    explicit SqlEditor(QWidget* parent = nullptr);

    // The four SQL-window categories (keywords, comment, string, other) and the keyword list.
    // Rebuilds the colouring at once.
    void setColouring(const std::array<TextCategory, 4>& categories, const QString& keywords);
    qb::ui::SqlHighlighter& highlighter() { return *m_highlighter; }

    // The undo size of the settings: 0 turns undo off. Qt's text document keeps every step it
    // has otherwise.
    void setUndoSize(uint32_t size);

    // Replaces the whole text, outside the undo history (a file just opened, a new file).
    void resetText(const QString& text);
    // Appends at the end, outside the undo history (the -cmd text of the command line).
    void appendUndoless(const QString& text);

private:
    qb::ui::SqlHighlighter* m_highlighter = nullptr;
    bool m_undo = true;
};

} // namespace qb::console::ui
