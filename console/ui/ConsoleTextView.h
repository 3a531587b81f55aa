#pragma once
// What the SQL window and the result window share: plain text without word wrap, black on
// white, and the editor options of the settings (tab stops, margins).
#include "console/settings/ConsoleSettings.h"

#include <QPlainTextEdit>

namespace qb::console::ui {

class ConsoleTextView : public QPlainTextEdit {
public:
    explicit ConsoleTextView(QWidget* parent = nullptr);

    // Tab stops every tabCount average characters of tabFont (the keyword category's font), the
    // left and right margins in pixels. The undo size is the window's own business.
    void applyEditorOptions(const EditorOptions& options, const QFont& tabFont);
    const EditorOptions& editorOptions() const { return m_options; }

    // The caret's row and column, each from 1; a TAB moves the column to the next multiple of
    // the tab count (with tab count 0 it counts as one column).
    std::pair<int, int> caretRowColumn(uint32_t tabCount) const;

private:
    EditorOptions m_options;
};

} // namespace qb::console::ui
