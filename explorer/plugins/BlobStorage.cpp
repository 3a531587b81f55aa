#include "explorer/plugins/BlobStorage.h"

#include "common/ReportSink.h"
#include "dataaccess/ErrorText.h"
#include "dataaccess/TableData.h"
#include "platform/BrelibException.h"
#include "platform/Storage.h"
#include "platform/StorageError.h"
#include "platform/StringTable.h"

#include <algorithm>
#include <vector>

namespace qb::plugins {
namespace {

// Collects what the provider hands over in small blocks and writes it to the stream a megabyte at
// a time: a value of a hundred megabytes is then a hundred writes, not tens of thousands. Blocks
// of a megabyte or more go to the stream as they are, without a copy through the buffer.
class StreamWriter {
public:
    explicit StreamWriter(QbStream* stream) : m_stream(stream) { m_buffer.reserve(kChunk); }
    void add(const std::byte* bytes, size_t size)
    {
        if (m_buffer.empty() && size >= kChunk) {
            write(bytes, size);
            return;
        }
        while (size > 0) {
            const size_t n = std::min(size, kChunk - m_buffer.size());
            m_buffer.insert(m_buffer.end(), bytes, bytes + n);
            bytes += n;
            size -= n;
            if (m_buffer.size() == kChunk)
                flush();
        }
    }
    // Writes what is collected; raises the stream's failure as the user's message.
    void flush()
    {
        if (m_buffer.empty())
            return;
        write(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

private:
    void write(const std::byte* bytes, size_t size)
    {
        while (size > 0) {
            const auto n = uint32_t(std::min<size_t>(size, kChunk));
            uint32_t done = 0;
            const QbResult r = m_stream->table->write(m_stream, bytes, n, &done);
            if (QB_FAILED(r))
                throw Brelib::exception(data::composeMessage(loadString(data::kActionFieldData), streamResultText(r)));
            bytes += n;
            size -= n;
        }
    }

    static constexpr size_t kChunk = 1 << 20;
    QbStream* m_stream;
    std::vector<std::byte> m_buffer;
};

} // namespace

QString BlobStorage::streamName()
{
    return QStringLiteral("PluginBLOB_StreamName");
}

int BlobStorage::streamCount() const
{
    return m_storage ? int(m_storage->elementNames().size()) : 0;
}

BlobStorage::BlobStorage(const data::TableData& data, ReportSink& sink) : m_data(data), m_sink(sink)
{
    try {
        m_storage = std::make_unique<Storage>();
    } catch (const Brelib::exception& e) {
        m_creationError = data::composeMessage(loadString(data::kStorageNotCreatedWarning), e.text());
    }
}

BlobStorage::~BlobStorage() = default;

bool BlobStorage::fillValue(int row, int column, BlobValue* value)
{
    if (!value || row < 0 || column < 1)
        return false;
    *value = BlobValue{nullptr, 0};
    if (!m_storage) {
        // Never a value without a stream: a plug-in would have nothing to read.
        m_sink.addError(loadString(data::kStorageNotCreated));
        return false;
    }
    QbStream* stream = nullptr;
    const auto discard = [&] {
        if (stream)
            stream->table->release(stream);
        m_storage->destroyElement(streamName());
    };
    try {
        stream = m_storage->createStream(streamName());
        StreamWriter writer(stream);
        const std::optional<data::DBTYPE> type =
            m_data.copyCellValue(row, column, [&](const std::byte* bytes, size_t size) { writer.add(bytes, size); });
        writer.flush();
        if (!type) {
            discard(); // NULL: nothing to show
            return false;
        }
        value->stream = stream;
        value->type = uint32_t(*type);
        return true;
    } catch (const Brelib::exception& e) {
        m_sink.addError(e.text());
    } catch (...) {
        m_sink.addError(loadString(data::kUnknownError));
    }
    discard();
    return false;
}

void BlobStorage::releaseValue(BlobValue* value)
{
    if (!value || !value->stream)
        return;
    // Reverting first: a plug-in that kept a reference of its own gets "reverted" answers from
    // its stream object, which stays valid until it lets go.
    if (m_storage)
        m_storage->destroyElement(streamName());
    value->stream->table->release(value->stream);
    value->stream = nullptr;
}

} // namespace qb::plugins
