#include "console/script/SqlFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace qb::console {

QString normalizeLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

SqlFileResult readSqlFile(const QString& path)
{
    SqlFileResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    // One decoder for the whole file: it keeps the first bytes of a character split between blocks.
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text;
    char block[64 * 1024];
    for (;;) {
        const qint64 n = file.read(block, sizeof block);
        if (n < 0) {
            result.error = file.errorString();
            return result;
        }
        if (n == 0)
            break;
        text += decoder.decode(QByteArrayView(block, n));
    }
    text += decoder.decode(QByteArrayView()); // a character cut off by the end of the file
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    result.text = normalizeLineBreaks(std::move(text));
    result.ok = true;
    return result;
}

SqlFileResult writeSqlFile(const QString& path, const QString& text)
{
    SqlFileResult result;
    QString plain = text;
    plain.replace(QChar(0x2029), u'\n');
    plain = normalizeLineBreaks(std::move(plain));
    const QByteArray bytes = plain.toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.write(bytes) != bytes.size()) {
        result.error = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace qb::console
