#include "HexClipboard.h"

#include <QMimeData>
#include <QtEndian>
#include <algorithm>

namespace bryndle {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

QByteArray encodeBinaryData(const QByteArray& bytes)
{
    QByteArray block(4, '\0');
    qToLittleEndian<quint32>(quint32(bytes.size()), block.data());
    block += bytes;
    return block;
}

std::optional<QByteArray> decodeBinaryData(const QByteArray& block)
{
    if (block.size() < 4)
        return std::nullopt;
    const quint32 count = qFromLittleEndian<quint32>(block.constData());
    const qsizetype real = std::min<qsizetype>(qsizetype(count), block.size() - 4);
    return block.mid(4, real);
}

QByteArray hexText(const QByteArray& bytes, uint64_t first, int n)
{
    QByteArray text;
    if (bytes.isEmpty() || n < 1)
        return text;
    const uint64_t last = first + uint64_t(bytes.size()) - 1;
    // Long selections keep the view's columns; short ones start their lines at the selection.
    const bool viewColumns = last - first > uint64_t(n);
    int column = viewColumns ? int(first % uint64_t(n)) : 0;
    text.reserve(bytes.size() * 3 + column * 3 + 1);
    text.append(QByteArray(3 * column, ' '));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text.append(kDigits[b >> 4]);
        text.append(kDigits[b & 0xF]);
        if (++column == n || i + 1 == bytes.size()) {
            text.append('\n');
            column = 0;
        } else {
            text.append(' ');
        }
    }
    return text;
}

std::optional<QByteArray> parseHexText(const QString& text)
{
    QByteArray bytes;
    int high = -1;
    for (const QChar c : text) {
        if (c.isSpace()) {
            if (high >= 0)
                return std::nullopt; // half a byte
            continue;
        }
        const int v = hexValue(c);
        if (v < 0)
            return std::nullopt;
        if (high < 0) {
            high = v;
        } else {
            bytes.append(char(high << 4 | v));
            high = -1;
        }
    }
    if (high >= 0 || bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

QMimeData* makeMimeData(const QByteArray& bytes, uint64_t first, int bytesPerLine)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kBinaryDataMimeType), encodeBinaryData(bytes));
    data->setText(QString::fromLatin1(hexText(bytes, first, bytesPerLine)));
    return data;
}

std::optional<QByteArray> pastedBytes(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    const QString binary = QString::fromLatin1(kBinaryDataMimeType);
    if (data->hasFormat(binary))
        return decodeBinaryData(data->data(binary));
    if (data->hasText())
        return parseHexText(data->text());
    return std::nullopt;
}

} // namespace bryndle
