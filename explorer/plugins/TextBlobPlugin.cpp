#include "explorer/plugins/TextBlobPlugin.h"

#include "explorer/plugins/PluginText.h"
#include "platform/StringTable.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace qb::plugins {
namespace {

enum : int {
    kMenuText = 63000,
    kUnsupportedType = 63001,
    kName = 63002,
    kVersion = 63003,
    kCopyright = 63004,
    kDescription = 63005,
    kLanguages = 63006,
};

constexpr uint32_t kBlock = 4096;

bool isText(uint32_t type)
{
    return type == QB_TYPE_STR || type == QB_TYPE_WSTR;
}

// Bytes of the block before its first zero byte (8-bit) or zero unit (UTF-16).
size_t textBytes(const std::array<char, kBlock>& block, size_t size, bool wide)
{
    if (!wide)
        return size_t(std::find(block.begin(), block.begin() + size, '\0') - block.begin());
    size_t i = 0;
    while (i + 1 < size && !(block[i] == 0 && block[i + 1] == 0))
        i += 2;
    return std::min(i, size);
}

} // namespace

TextBlobPlugin::TextBlobPlugin(Presenter present) : m_present(std::move(present)), m_menuText(loadString(kMenuText)) {}

void TextBlobPlugin::getDescription(PluginDescription* out)
{
    BlobPlugin::getDescription(out);
    setFieldText(out->name, QB_DESCRIPTION_NAME_UNITS, loadString(kName));
    setFieldText(out->version, QB_DESCRIPTION_VERSION_UNITS, loadString(kVersion));
    setFieldText(out->copyright, QB_DESCRIPTION_COPYRIGHT_UNITS, loadString(kCopyright));
    setFieldText(out->description, QB_DESCRIPTION_TEXT_UNITS, loadString(kDescription));
    setFieldText(out->languages, QB_DESCRIPTION_LANGUAGES_UNITS, loadString(kLanguages));
}

std::optional<QString> TextBlobPlugin::lastErrorText()
{
    if (m_errorText.isEmpty())
        return std::nullopt;
    return m_errorText;
}

bool TextBlobPlugin::test(const BlobValue* value)
{
    m_errorText.clear();
    return value && isText(value->type);
}

bool TextBlobPlugin::show(QbWindow parent, int /*reserved*/, BlobValue* value)
{
    m_errorText.clear();
    QString text;
    if (value && value->stream && isText(value->type)) {
        text = readBlobText(*value);
    } else {
        const long long type = value ? (long long)int32_t(value->type) : 0;
        text = loadString(kUnsupportedType) + QStringLiteral(" (%1)").arg(type);
        m_errorText = text;
    }
    if (m_present)
        m_present(parent, text);
    return true;
}

QString readBlobText(const BlobValue& value)
{
    QbStream* stream = value.stream;
    const bool wide = value.type == QB_TYPE_WSTR;
    QString text;
    QbStreamStat stat{sizeof(QbStreamStat), 0, 0};
    if (QB_SUCCEEDED(stream->table->stat(stream, &stat)))
        text.reserve(qsizetype(std::min<uint64_t>(wide ? stat.size / 2 : stat.size, 0x3FFFFFFF)));
    uint64_t position = 0;
    if (QB_FAILED(stream->table->seek(stream, 0, QB_STREAM_SEEK_SET, &position)))
        return text;
    // The decoder keeps a character split between two blocks whole.
    QStringDecoder decode(wide ? QStringConverter::Utf16LE : QStringConverter::Utf8);
    std::array<char, kBlock> block;
    for (;;) {
        block.fill(0);
        uint32_t done = 0;
        if (QB_FAILED(stream->table->read(stream, block.data(), kBlock, &done)))
            break;
        text += decode(QByteArrayView(block.data(), qsizetype(textBytes(block, done, wide))));
        if (done < kBlock)
            break;
    }
    return text;
}

} // namespace qb::plugins
