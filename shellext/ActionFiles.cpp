#include "shellext/ActionFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qb::shellext {

const std::vector<ActionFile>& actionFiles()
{
    static const std::vector<ActionFile> files = {
        {"paskel.desktop.in", "applications/quillbase-paskel.desktop", false},
        {"paskel-servicemenu.desktop.in", "kio/servicemenus/quillbase-paskel.desktop", true},
        {"paskel-explore.nemo_action.in", "nemo/actions/quillbase-paskel-explore.nemo_action", false},
        {"paskel-execute.nemo_action.in", "nemo/actions/quillbase-paskel-execute.nemo_action", false},
    };
    return files;
}

QString execWord(const QString& program)
{
    static const QString safe = QStringLiteral("_./+,@%=:-");
    bool plain = true;
    for (const QChar c : program)
        plain = plain && ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || safe.contains(c));
    QString word;
    if (plain) {
        word = program;
    } else {
        word = QStringLiteral("\"");
        for (const QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                word += u'\\';
            word += c;
        }
        word += u'"';
    }
    return word.replace(QStringLiteral("\\"), QStringLiteral("\\\\")).replace(QStringLiteral("%"), QStringLiteral("%%"));
}

QString writeActionFiles(const QString& templateFolder, const QString& dataFolder, const QString& command)
{
    const QDir data(dataFolder);
    for (const ActionFile& file : actionFiles()) {
        QFile source(QDir(templateFolder).filePath(QString::fromLatin1(file.templateName)));
        if (!source.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot read %1: %2").arg(source.fileName(), source.errorString());
        QString text = QString::fromUtf8(source.readAll());
        text.replace(QStringLiteral("@PASKEL@"), execWord(command));

        const QString path = data.filePath(QString::fromLatin1(file.destination));
        if (!QDir().mkpath(QFileInfo(path).path()))
            return QStringLiteral("cannot create the folder %1").arg(QFileInfo(path).path());
        QSaveFile target(path);
        if (!target.open(QIODevice::WriteOnly) || target.write(text.toUtf8()) < 0
            || !target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                      | QFileDevice::ReadOther
                                      | (file.executable ? QFileDevice::ExeOwner | QFileDevice::ExeGroup
                                                               | QFileDevice::ExeOther
                                                         : QFileDevice::Permissions()))
            || !target.commit())
            return QStringLiteral("cannot write %1: %2").arg(path, target.errorString());
    }
    return {};
}

QString removeActionFiles(const QString& dataFolder)
{
    const QDir data(dataFolder);
    QString failure;
    for (const ActionFile& file : actionFiles()) {
        const QString path = data.filePath(QString::fromLatin1(file.destination));
        if (QFileInfo::exists(path) && !QFile::remove(path) && failure.isEmpty())
            failure = QStringLiteral("cannot remove %1").arg(path);
        // Folders of the one manager that were made for these files go again when empty;
        // rmdir leaves a folder with anything else in it alone.
        QString folder = QFileInfo(path).path();
        while (QFileInfo(folder).fileName() != QLatin1String("applications") && folder != data.absolutePath()
               && folder.startsWith(data.absolutePath()) && data.rmdir(folder))
            folder = QFileInfo(folder).path();
    }
    return failure;
}

} // namespace qb::shellext
