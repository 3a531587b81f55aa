#include "console/ui/ConsoleTextView.h"

#include <QTextBlock>

namespace qb::console::ui {

ConsoleTextView::ConsoleTextView(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
}

void ConsoleTextView::applyEditorOptions(const EditorOptions& options, const QFont& tabFont)
{
    m_options = options;
    setTabStopDistance(ui::tabStopDistance(options.tabCount, tabFont));
    setViewportMargins(int(options.leftMargin), 0, int(options.rightMargin), 0);
    viewport()->update();
}

bool ConsoleTextView::hasText() const
{
    return !document()->isEmpty();
}

bool ConsoleTextView::hasSelection() const
{
    return textCursor().hasSelection();
}

bool ConsoleTextView::isClearable() const
{
    return !isReadOnly();
}

void ConsoleTextView::clearText()
{
    if (isReadOnly())
        return;
    // Through a cursor, so Clear is one step that Undo takes back.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
}

bool ConsoleTextView::findText(const TextSearch& search)
{
    QTextDocument::FindFlags flags;
    if (search.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (search.wholeWord)
        flags |= QTextDocument::FindWholeWords;
    const QTextCursor current = textCursor();
    QTextCursor from(document());
    if (search.down) {
        from.setPosition(current.selectionEnd());
    } else {
        from.setPosition(current.selectionStart());
        flags |= QTextDocument::FindBackward;
    }
    const QTextCursor hit = document()->find(search.text, from, flags);
    if (hit.isNull())
        return false;
    setTextCursor(hit);
    return true;
}

std::pair<int, int> ConsoleTextView::caretRowColumn(uint32_t tabCount) const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const int column = tabbedColumn(QStringView(block.text()).left(cursor.positionInBlock()), tabCount);
    return {block.blockNumber() + 1, column + 1};
}

} // namespace qb::console::ui
