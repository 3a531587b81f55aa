#include "dataaccess/DataLinkFile.h"

#include "dataaccess/ConnectionString.h"
#include "dataaccess/ErrorText.h"
#include "dataaccess/Provider.h"
#include "platform/PrivateFile.h"
#include "platform/Profile.h"
#include "platform/ProfileTextReader.h"
#include "platform/SystemErrorText.h"

#include <QFileInfo>


namespace qb::data {
namespace {

const QString kSection = QStringLiteral("oledb");
const QString kComment = QStringLiteral("; Everything after this line is an OLE DB initstring");

[[noreturn]] void fail(HRESULT hr, const QString& path, const QString& why)
{
    throw ProviderError(hr, QStringLiteral("The data link file \"%1\" %2").arg(path, why));
}

bool isSectionHeader(const QString& line, QString* name)
{
    if (!line.startsWith(u'['))
        return false;
    const qsizetype close = line.indexOf(u']');
    if (close < 0)
        return false;
    *name = line.mid(1, close - 1).trimmed();
    return true;
}

} // namespace

QString readDataLinkFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        fail(STG_E_FILENOTFOUND, path, QStringLiteral("does not exist."));
    if (info.isDir())
        fail(E_FAIL, path, QStringLiteral("is a folder."));
    if (info.size() > kMaxDataLinkFileSize)
        fail(E_FAIL, path,
             QStringLiteral("is too large (%1 bytes) to be a data link file.").arg(info.size()));
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            fail(E_FAIL, path, QStringLiteral("cannot be read: %1").arg(probe.errorString()));
    }

    ProfileTextReader reader(path);
    // UTF-16 is two bytes a character: an odd byte count is a file cut short, whose last line
    // would otherwise read as a shorter string that looks whole.
    if (reader.encoding() != QStringConverter::Utf8 && info.size() % 2 != 0)
        fail(E_FAIL, path, QStringLiteral("is damaged: its UTF-16 text ends in half a character."));
    QString line;
    bool inSection = false;
    bool sawSection = false;
    while (reader.nextLine(line)) {
        const QString trimmed = line.trimmed();
        QString name;
        if (isSectionHeader(trimmed, &name)) {
            inSection = name.compare(kSection, Qt::CaseInsensitive) == 0;
            sawSection = sawSection || inSection;
            continue;
        }
        if (!inSection || trimmed.isEmpty() || trimmed.startsWith(u';'))
            continue;
        return trimmed;
    }
    if (!sawSection)
        fail(E_FAIL, path, QStringLiteral("has no [oledb] section: it is not a data link file."));
    fail(E_FAIL, path, QStringLiteral("holds no initialization string."));
}

QString readDataLinkProvider(const QString& path)
{
    // The profile value runs to the end of the line ("SQLite;Data Source=..."): the provider is
    // its first pair.
    const QString value = Profile(path).readString(kSection, QStringLiteral("Provider"), QString(), 5120);
    try {
        return ConnectionString::parse(QStringLiteral("Provider=") + value).value(QStringLiteral("Provider"));
    } catch (const ProviderError&) {
        return value;
    }
}

void writeDataLinkFile(const QString& path, const QString& initString)
{
    if (initString.contains(u'\n') || initString.contains(u'\r'))
        throw ProviderError(E_INVALIDARG, QStringLiteral("An initialization string cannot span lines."));
    const QString text = QStringLiteral("[oledb]\n") + kComment + u'\n' + initString + u'\n';
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        bytes.append(char(u & 0xFF));
        bytes.append(char(u >> 8));
    }
    // It may hold a password: private, and never seen half-written.
    if (const int error = writeFileReplacing(path, bytes))
        fail(E_FAIL, path, QStringLiteral("cannot be written: %1").arg(qb::systemErrorText(error)));
}

} // namespace qb::data
