#include "support/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qbfuzz {

void fail(const char* file, int line, const QString& what)
{
    std::fprintf(stderr, "\n%s:%d: property failed: %s\n", file, line, what.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QString textOf(const uint8_t* data, size_t size)
{
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        QString text(qsizetype((size - 2) / 2), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(data[2 + 2 * i] | data[3 + 2 * i] << 8));
        return text;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

uint8_t FuzzInput::byte()
{
    return m_pos < m_size ? m_data[m_pos++] : 0;
}

uint16_t FuzzInput::u16()
{
    const uint16_t low = byte();
    return uint16_t(low | byte() << 8);
}

uint32_t FuzzInput::u32()
{
    const uint32_t low = u16();
    return low | uint32_t(u16()) << 16;
}

uint64_t FuzzInput::u64()
{
    const uint64_t low = u32();
    return low | uint64_t(u32()) << 32;
}

QByteArray FuzzInput::bytes(size_t maxBytes)
{
    const size_t wanted = maxBytes ? u32() % (maxBytes + 1) : 0;
    const size_t n = std::min(wanted, remaining());
    QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(n));
    m_pos += n;
    return out;
}

QString FuzzInput::units(size_t maxUnits)
{
    const size_t wanted = maxUnits ? u16() % (maxUnits + 1) : 0;
    const size_t n = std::min(wanted, remaining() / 2);
    QString out(qsizetype(n), Qt::Uninitialized);
    for (size_t i = 0; i < n; ++i)
        out[qsizetype(i)] = QChar(u16());
    return out;
}

QByteArray FuzzInput::rest()
{
    QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(remaining()));
    m_pos = m_size;
    return out;
}

QString scratchFolder()
{
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/qbfuzz-XXXXXX"));
        if (!dir->isValid()) {
            std::fprintf(stderr, "cannot make a scratch folder in %s\n", qPrintable(QDir::tempPath()));
            std::exit(2);
        }
        return dir;
    }();
    return folder->path();
}

QString writeScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = scratchFolder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
    return path;
}

void usePrivateRegistry()
{
    static const bool done = [] {
        const QString folder = scratchFolder() + QStringLiteral("/registry");
        QDir().mkpath(folder);
        return qputenv("QUILLBASE_REGISTRY_DIR", QFile::encodeName(folder));
    }();
    (void)done;
}

} // namespace qbfuzz
