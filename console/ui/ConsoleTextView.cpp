#include "console/ui/ConsoleTextView.h"

#include <QFontMetricsF>
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
    const double average = QFontMetricsF(tabFont).averageCharWidth();
    setTabStopDistance(average * options.tabCount);
    setViewportMargins(int(options.leftMargin), 0, int(options.rightMargin), 0);
    viewport()->update();
}

std::pair<int, int> ConsoleTextView::caretRowColumn(uint32_t tabCount) const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const QString text = block.text();
    const int end = cursor.positionInBlock();
    int column = 0;
    for (int i = 0; i < end && i < text.size(); ++i) {
        if (text[i] == u'\t' && tabCount > 0)
            column = int((uint32_t(column) / tabCount + 1) * tabCount);
        else
            ++column;
    }
    return {block.blockNumber() + 1, column + 1};
}

} // namespace qb::console::ui
