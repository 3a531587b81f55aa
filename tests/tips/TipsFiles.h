#pragma once
// Tips files for the suites, written as the shipped one is: UTF-16LE with a byte-order mark.
#include <QFile>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace qbtest {

inline void writeUtf16File(const QString& path, const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the tips file");
}

// [info] with the count (and a caption when not empty), then one section per tip.
inline void writeTipsFile(const QString& path, int count, const QStringList& tips, const QString& caption = {})
{
    QString text = QStringLiteral("[info]\r\n");
    if (!caption.isEmpty())
        text += QStringLiteral("caption=%1\r\n").arg(caption);
    text += QStringLiteral("tips=%1\r\n").arg(count);
    for (qsizetype i = 0; i < tips.size(); ++i)
        text += QStringLiteral("[tip%1]\r\ntext=%2\r\n").arg(i).arg(tips[i]);
    writeUtf16File(path, text);
}

} // namespace qbtest
