#include "platform/ProfileTextReader.h"

namespace qb {
namespace {

constexpr qint64 ChunkBytes = 256 * 1024;

QStringConverter::Encoding detectEncoding(const QByteArray& head)
{
    const auto byte = [&](int i) { return i < head.size() ? uchar(head[i]) : 0x100; };
    if (byte(0) == 0xFF && byte(1) == 0xFE)
        return QStringConverter::Utf16LE;
    if (byte(0) == 0xFE && byte(1) == 0xFF)
        return QStringConverter::Utf16BE;
    if (byte(0) != 0 && byte(0) < 0x80 && byte(1) == 0)
        return QStringConverter::Utf16LE;
    return QStringConverter::Utf8; // a UTF-8 mark is dropped by the decoder like the others
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

} // namespace

ProfileTextReader::ProfileTextReader(const QString& path) : m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_atEnd = true;
        return;
    }
    m_encoding = detectEncoding(m_file.peek(2));
    m_decoder = QStringDecoder(m_encoding);
}

bool ProfileTextReader::decodeNextChunk()
{
    if (m_atEnd)
        return false;
    const QByteArray bytes = m_file.read(ChunkBytes);
    if (bytes.isEmpty()) { // end of file or a read error: either way nothing more to parse
        m_atEnd = true;
        return false;
    }
    m_text = m_decoder.decode(bytes);
    m_pos = 0;
    return true;
}

bool ProfileTextReader::nextLine(QString& line)
{
    line.clear();
    for (;;) {
        if (m_pos >= m_text.size()) {
            if (!decodeNextChunk())
                return !line.isEmpty(); // last line without a line end
            continue;
        }
        const QChar* data = m_text.constData();
        const qsizetype size = m_text.size();
        qsizetype end = m_pos;
        while (end < size && !isLineEnd(data[end]))
            ++end;
        const qsizetype room = MaxLineLength - line.size();
        line.append(data + m_pos, std::min(end - m_pos, room));
        if (end == size) {
            m_pos = end;
            continue;
        }
        m_pos = end + 1;
        if (!line.isEmpty())
            return true;
    }
}

} // namespace qb
