#include "shellext/CommandArguments.h"

#include <climits>
#include <unistd.h>

namespace qb::shellext {

QStringList splitTemplate(const QString& argumentTemplate)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (const QChar c : argumentTemplate) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QList<QByteArray> buildArguments(const QString& argumentTemplate, const QByteArray& path)
{
    const qsizetype lastSlash = path.lastIndexOf('/');
    const bool hasFolder = lastSlash >= 0;
    const QByteArray folder = path.left(lastSlash + 1);
    QList<QByteArray> arguments;
    for (const QString& word : splitTemplate(argumentTemplate)) {
        const QByteArray text = word.toUtf8();
        QByteArray argument;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char next = i + 1 < text.size() ? text[i + 1] : '\0';
            if (text[i] == '%' && next == '1') {
                argument += path;
                ++i;
            } else if (text[i] == '%' && next == '0' && hasFolder) {
                argument += folder;
                ++i;
            } else {
                argument += text[i];
            }
        }
        arguments << argument;
    }
    return arguments;
}

QString fileExtension(const QByteArray& path)
{
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : QString::fromUtf8(name.mid(dot));
}

QByteArray absolutePath(const QByteArray& path)
{
    if (path.startsWith('/'))
        return path;
    // getcwd keeps the folder's bytes, which a QString would not for a name that is not UTF-8.
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return "./" + path; // the folder is gone or too deep: still relative, but never an option
    QByteArray folder(buffer);
    if (!folder.endsWith('/'))
        folder += '/';
    return folder + path;
}

} // namespace qb::shellext
