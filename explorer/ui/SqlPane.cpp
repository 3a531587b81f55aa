#include "explorer/ui/SqlPane.h"

#include "common/ui/SqlHighlighter.h"

#include <QFontDatabase>
#include <QTextCursor>

namespace qb::ui {
namespace {

SqlHighlighter::Formats paneFormats(const QFont& font)
{
    SqlHighlighter::Formats f;
    f.other.setFont(font);
    f.other.setForeground(QColor(0, 0, 0));
    f.keyword = f.other;
    f.keyword.setForeground(QColor(0, 0, 255));
    f.string.setForeground(QColor(55, 0, 200));
    f.comment.setForeground(QColor(0, 170, 0));
    return f;
}

} // namespace

QString SqlPane::keywordList()
{
    return QStringLiteral(
        "alter,database,dbarea,password,stogroup,table,audit,message,check,index,comment,on,commit,create,event,"
        "synonym,trigger,view,deinstall,delete,drop,grant,insert,install,label,load,lock,procedure,revoke,rollback,"
        "rowcount,savepoint,select,set,default,start,stop,unload,unlock,update,statistics,from,into,order,where,"
        "like,set,by");
}

SqlPane::SqlPane(QWidget* parent) : QPlainTextEdit(parent)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    // The text is black on the base colour whatever the desktop's palette says.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    m_highlighter = new SqlHighlighter(document(), keywordList(), paneFormats(font));
}

void SqlPane::replaceText(const QString& text)
{
    if (text == toPlainText())
        return;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    if (text.isEmpty())
        cursor.removeSelectedText();
    else
        cursor.insertText(text);
    cursor.endEditBlock();
    moveCursor(QTextCursor::Start);
}

} // namespace qb::ui
