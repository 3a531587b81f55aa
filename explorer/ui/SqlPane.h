#pragma once
// The SQL pane's editor: plain text in a fixed-pitch face, coloured as the user types (keywords
// blue, strings violet, comments green). A text shown by the window replaces the editor's text as
// one undoable edit, so what the user typed comes back with Ctrl+Z.
#include <QPlainTextEdit>

namespace qb::ui {

class SqlHighlighter;

class SqlPane : public QPlainTextEdit {
public:
    explicit SqlPane(QWidget* parent = nullptr);

    // The keyword list of the explorer's SQL pane (47 words once "set" is counted once).
    static QString keywordList();

    // Replaces the whole text as one edit on the undo stack; nothing when it is the same text.
    void replaceText(const QString& text);
    SqlHighlighter& highlighter() { return *m_highlighter; }

private:
    SqlHighlighter* m_highlighter;
};

} // namespace qb::ui
