#pragma once
// The SQL window's text pane: plain text without word wrap, black on white, the editor options
// of the settings (tab stops, margins), and the commands the window runs on either pane.
#include "console/settings/ConsoleSettings.h"
#include "console/ui/TextPane.h"

#include <QPlainTextEdit>

namespace qb::console::ui {

class ConsoleTextView : public QPlainTextEdit, public TextPane {
public:
    explicit ConsoleTextView(QWidget* parent = nullptr);

    // Tab stops every tabCount average characters of tabFont (the keyword category's font), the
    // left and right margins in pixels. The undo size is the window's own business.
    void applyEditorOptions(const EditorOptions& options, const QFont& tabFont);
    const EditorOptions& editorOptions() const { return m_options; }

    // TextPane.
    QPlainTextEdit* editor() override { return this; }
    bool hasText() const override;
    bool hasSelection() const override;
    bool isClearable() const override;
    void copy() override { QPlainTextEdit::copy(); }
    void selectAll() override { QPlainTextEdit::selectAll(); }
    void clearText() override;
    bool findText(const TextSearch& search) override;
    std::pair<int, int> caretRowColumn(uint32_t tabCount) const override;

private:
    EditorOptions m_options;
};

} // namespace qb::console::ui
