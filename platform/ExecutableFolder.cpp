#include "platform/ExecutableFolder.h"

#include <QFileInfo>

namespace qb {

QString executableFolder()
{
    static const QString folder =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    return folder;
}

} // namespace qb
