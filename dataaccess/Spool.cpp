#include "dataaccess/Spool.h"

#include "dataaccess/SpoolFile.h"
#include "dataaccess/SpoolRecord.h"

#include <cstring>

namespace qb::data {
namespace {

// The capture buffer holds one slot per column: the pointer (by-reference value or stream),
// then the length and the status.
constexpr size_t kSlotBytes = 16;
constexpr size_t kSlotLength = 8;
constexpr size_t kSlotStatus = 12;
// Values larger than this go to the file directly rather than through the row's bytes.
constexpr size_t kDirectBytes = 64 * 1024;
// The block in which a long value is copied from its stream.
constexpr size_t kStreamBlock = 64 * 1024;

bool isLongValue(const ColumnInfo& c)
{
    const bool textOrBytes = c.type == DBTYPE_WSTR || c.type == DBTYPE_STR || c.type == DBTYPE_BYTES;
    return (textOrBytes && isUnboundedSize(c.columnSize)) || c.type == DBTYPE_IUNKNOWN || c.type == DBTYPE_IDISPATCH;
}

// What the bytes a bytes binding gave for a value are: the form its provider holds it in, where
// the provider tells, else the column's own.
uint8_t heldKindOf(const Rowset& source, size_t column, uint8_t declaredKind)
{
    const std::optional<HeldKind> held = source.currentValueKind(uint32_t(column + 1));
    if (!held)
        return declaredKind;
    switch (*held) {
    case HeldKind::Text:
        return spool::kText;
    case HeldKind::WideText:
        return spool::kWideText;
    case HeldKind::Bytes:
        break;
    }
    return spool::kBytes;
}

uint32_t get32(const std::byte* p)
{
    uint32_t v = 0;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void* getPointer(const std::byte* p)
{
    void* v = nullptr;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

// How the source is bound for the copy, and the row it writes into.
struct Spool::Capture {
    struct Column {
        bool stream = false; // a long value, read from its stream
        uint8_t kind = spool::kText;
    };
    std::vector<Column> columns;
    std::vector<std::byte> row;
    std::vector<std::byte> block; // a long value on its way from its stream to the file

    std::byte* slot(size_t c) { return row.data() + c * kSlotBytes; }

    // Gives back the streams of the row that were not copied (a failure broke the row off).
    void releaseStreams()
    {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (!columns[c].stream || get32(slot(c) + kSlotStatus) == DBSTATUS_S_ISNULL)
                continue;
            if (auto* s = static_cast<SequentialStream*>(getPointer(slot(c))))
                s->release();
            std::memset(slot(c), 0, sizeof(void*));
        }
    }
};

Spool::Spool(std::unique_ptr<Rowset> source) : m_owned(std::move(source)), m_source(m_owned.get())
{
}

Spool::Spool(Rowset& source) : m_source(&source)
{
}

Spool::~Spool() = default;

const std::vector<ColumnInfo>& Spool::columns()
{
    if (!m_columns) {
        if (!m_source)
            throw ProviderError(E_UNEXPECTED, QStringLiteral("The statement's rows are no longer there."));
        m_columns = m_source->columns();
    }
    return *m_columns;
}

void Spool::bindSource()
{
    if (m_capture || !m_source)
        return;
    const std::vector<ColumnInfo>& infos = columns();
    auto capture = std::make_unique<Capture>();
    std::vector<Binding> bindings;
    const bool streams = !m_source->holdsRowsWhole();
    for (size_t c = 0; c < infos.size(); ++c) {
        const ColumnInfo& info = infos[c];
        Capture::Column column;
        column.stream = streams && isLongValue(info);
        column.kind = spool::kindOfDeclaredType(info.type);
        capture->columns.push_back(column);
        Binding b;
        b.ordinal = uint32_t(c + 1);
        b.valueOffset = c * kSlotBytes;
        b.lengthOffset = c * kSlotBytes + kSlotLength;
        b.statusOffset = c * kSlotBytes + kSlotStatus;
        // A long value through its stream, in the column's declared representation, unless the
        // provider has it in memory anyway; any other value whole, as the bytes the provider
        // holds (a number as its text), so that every later binding converts from what the
        // provider converts from.
        b.type = column.stream ? DBTYPE(DBTYPE_IUNKNOWN) : DBTYPE(DBTYPE_BYTES | DBTYPE_BYREF);
        bindings.push_back(b);
    }
    capture->row.assign(infos.size() * kSlotBytes, std::byte{0});
    m_source->setBindings(std::move(bindings));
    m_capture = std::move(capture);
}

uint64_t Spool::hold(uint64_t rows)
{
    while (m_rows < rows && copyRow()) {
    }
    return m_rows;
}

bool Spool::copyRow()
{
    if (!m_source)
        return false;
    try {
        bindSource();
        if (!m_file)
            m_file = std::make_shared<SpoolFile>();
        if (!m_source->next()) {
            finish();
            return false;
        }
        if (!m_capture->row.empty()) // a rowset may have no columns; memset takes no null pointer
            std::memset(m_capture->row.data(), 0, m_capture->row.size());
        struct Release {
            Capture& capture;
            ~Release() { capture.releaseStreams(); }
        } release{*m_capture};
        m_source->getData(m_capture->row.data());
        writeRow();
        return true;
    } catch (...) {
        // Neither a failing source nor a failing file gives more rows: what is held stays.
        m_rowBytes.clear();
        finish();
        throw;
    }
}

void Spool::writeRow()
{
    const uint64_t start = m_end;
    Capture& capture = *m_capture;
    for (size_t c = 0; c < capture.columns.size(); ++c) {
        const std::byte* slot = capture.slot(c);
        const DBSTATUS status = get32(slot + kSlotStatus);
        if (status == DBSTATUS_S_ISNULL) {
            m_rowBytes.push_back(std::byte{spool::kNull});
            continue;
        }
        if (status != DBSTATUS_S_OK && status != DBSTATUS_S_TRUNCATED) {
            putHeader(spool::kStatus, status);
            continue;
        }
        uint8_t kind = capture.columns[c].kind;
        // A stream gives the declared representation, which for bytes columns is the held one.
        if (!capture.columns[c].stream || kind == spool::kBytes)
            kind = heldKindOf(*m_source, c, kind);
        if (capture.columns[c].stream) {
            writeStream(c, kind);
            continue;
        }
        const uint32_t length = get32(slot + kSlotLength);
        putHeader(kind, length);
        put(getPointer(slot), length);
    }
    flushRowBytes();
    if (m_rows % kPageRows == 0)
        m_pageOffsets.push_back(start);
    m_lastRowOffset = start;
    m_bytesHeld = m_end;
    ++m_rows;
}

void Spool::writeStream(size_t column, uint8_t kind)
{
    std::byte* slot = m_capture->slot(column);
    auto* stream = static_cast<SequentialStream*>(getPointer(slot));
    std::memset(slot, 0, sizeof(void*)); // ours now
    struct Release {
        SequentialStream* s;
        ~Release()
        {
            if (s)
                s->release();
        }
    } release{stream};

    m_rowBytes.push_back(std::byte(kind | spool::kFixedLength));
    const uint64_t lengthAt = m_end + m_rowBytes.size();
    m_rowBytes.resize(m_rowBytes.size() + spool::kFixedLengthBytes, std::byte{0});
    if (spool::alignsToEven(kind) && (lengthAt + spool::kFixedLengthBytes) % 2 != 0)
        m_rowBytes.push_back(std::byte{0});
    flushRowBytes();
    uint64_t total = 0;
    if (stream) {
        std::vector<std::byte>& block = m_capture->block;
        block.resize(kStreamBlock);
        // To an empty read: a stream may return less than asked before its end.
        while (const size_t n = stream->read(block.data(), block.size())) {
            m_file->append(block.data(), n);
            m_end += n;
            total += n;
        }
    }
    m_file->patch(lengthAt, &total, sizeof total);
}

void Spool::putHeader(uint8_t tag, uint64_t length)
{
    std::byte header[spool::kMaxHeaderBytes];
    header[0] = std::byte(tag);
    const size_t n = 1 + spool::putVarint(header + 1, length);
    m_rowBytes.insert(m_rowBytes.end(), header, header + n);
    if (spool::alignsToEven(tag) && (m_end + m_rowBytes.size()) % 2 != 0)
        m_rowBytes.push_back(std::byte{0});
}

void Spool::put(const void* bytes, size_t count)
{
    if (count == 0)
        return;
    if (count > kDirectBytes) {
        flushRowBytes();
        m_file->append(bytes, count);
        m_end += count;
        return;
    }
    const auto* p = static_cast<const std::byte*>(bytes);
    m_rowBytes.insert(m_rowBytes.end(), p, p + count);
}

void Spool::flushRowBytes()
{
    if (m_rowBytes.empty())
        return;
    m_file->append(m_rowBytes.data(), m_rowBytes.size());
    m_end += m_rowBytes.size();
    m_rowBytes.clear();
}

void Spool::finish()
{
    if (!m_source)
        return;
    try {
        columns(); // readers may still ask for them
    } catch (const ProviderError&) {
        // nothing was read, so nobody asks
    }
    m_source = nullptr;
    m_owned.reset();
}

} // namespace qb::data
