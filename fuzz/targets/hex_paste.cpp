// The hex view's clipboard formats over any input: the private "BinaryData" block and pasted hex
// text. Properties: a block yields at most the bytes it holds; bytes written as a block or as
// hex text (at any offset and line width) read back the same; hex text that parses writes back
// to text that parses to the same bytes.
#include "HexClipboard.h"
#include "support/FuzzSupport.h"

#include <QMimeData>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto block = bryndle::decodeBinaryData(input))
        QBFUZZ_CHECK(block->size() <= input.size() - 4, QString::number(block->size()));
    else
        QBFUZZ_CHECK(input.size() < 4, QStringLiteral("a block of %1 bytes refused").arg(input.size()));

    qbfuzz::FuzzInput in(data, size);
    const uint64_t first = in.u64();
    const int perLine = 1 + in.byte() % 64;
    const QByteArray bytes = in.rest();
    QBFUZZ_CHECK(bryndle::decodeBinaryData(bryndle::encodeBinaryData(bytes)) == bytes, QStringLiteral("a block round trip"));
    const QByteArray text = bryndle::hexText(bytes, first, perLine);
    QBFUZZ_CHECK(text.isEmpty() == bytes.isEmpty(), QString::fromLatin1(text));
    if (!bytes.isEmpty())
        QBFUZZ_CHECK(bryndle::parseHexText(QString::fromLatin1(text)) == bytes, QString::fromLatin1(text));

    // Pasted text of any kind.
    const QString pasted = qbfuzz::textOf(data, size);
    if (const auto parsed = bryndle::parseHexText(pasted)) {
        QBFUZZ_CHECK(!parsed->isEmpty(), pasted);
        QBFUZZ_CHECK(bryndle::parseHexText(QString::fromLatin1(bryndle::hexText(*parsed, first, perLine))) == parsed, pasted);
    }
    QMimeData mime;
    mime.setText(pasted);
    QBFUZZ_CHECK(bryndle::pastedBytes(&mime) == bryndle::parseHexText(pasted), pasted);
    mime.setData(QString::fromLatin1(bryndle::kBinaryDataMimeType), input);
    QBFUZZ_CHECK(bryndle::pastedBytes(&mime) == bryndle::decodeBinaryData(input), QStringLiteral("the block goes first"));
    return 0;
}
