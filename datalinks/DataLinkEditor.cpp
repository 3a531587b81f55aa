#include "datalinks/DataLinkEditor.h"

#include "platform/ExecutableFolder.h"
#include "platform/SystemErrorText.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <unistd.h>

namespace qb::datalinks {

DataLinkEditor DataLinkEditor::standard()
{
    return {executableFolder() + QStringLiteral("/datalink"), {}};
}

QString DataLinkEditor::run(const QString& file) const
{
    // QProcess words a failed start its own way; asking the system first gives its reason for
    // the usual cases (missing, not executable, a folder).
    if (::access(QFile::encodeName(program).constData(), X_OK) != 0)
        return qb::systemErrorText(errno);
    if (QFileInfo(program).isDir())
        return qb::systemErrorText(EISDIR);

    QProcess editor;
    editor.setProgram(program);
    editor.setArguments(arguments + QStringList{file});
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.setInputChannelMode(QProcess::ForwardedInputChannel);
    editor.start();
    if (!editor.waitForStarted(-1))
        return editor.errorString();

    QEventLoop loop;
    QObject::connect(&editor, &QProcess::finished, &loop, &QEventLoop::quit);
    if (editor.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return {};
}

} // namespace qb::datalinks
