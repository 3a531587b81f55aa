#include "console/ui/SqlEditor.h"

#include "common/ui/SqlHighlighter.h"
#include "console/ui/CategoryFormats.h"

#include <QTextCursor>
#include <QTextDocument>

namespace qb::console::ui {

SqlEditor::SqlEditor(QWidget* parent) : ConsoleTextView(parent)
{
    const ConsoleSettings defaults = ConsoleSettings::defaults();
    setColouring({defaults.categories[0], defaults.categories[1], defaults.categories[2], defaults.categories[3]},
                 defaults.keywords);
}

void SqlEditor::setColouring(const std::array<TextCategory, 4>& categories, const QString& keywords)
{
    qb::ui::SqlHighlighter::Formats formats;
    formats.keyword = categoryFormat(categories[kSqlKeywords]);
    formats.comment = categoryFormat(categories[kSqlComment]);
    formats.string = categoryFormat(categories[kSqlString]);
    formats.other = categoryFormat(categories[kSqlOther]);
    // The window's own font is the other-text one, so the caret and empty lines match it.
    setFont(formats.other.font());
    QPalette pal = palette();
    pal.setColor(QPalette::Text, categoryColor(categories[kSqlOther]));
    setPalette(pal);
    delete m_highlighter;
    m_highlighter = new qb::ui::SqlHighlighter(document(), keywords, formats);
}

void SqlEditor::setUndoSize(uint32_t size)
{
    m_undo = size > 0;
    document()->setUndoRedoEnabled(m_undo);
}

void SqlEditor::resetText(const QString& text)
{
    document()->setUndoRedoEnabled(false);
    setPlainText(text);
    document()->setUndoRedoEnabled(m_undo);
    document()->setModified(false);
}

void SqlEditor::appendUndoless(const QString& text)
{
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    document()->setUndoRedoEnabled(m_undo);
}

} // namespace qb::console::ui
