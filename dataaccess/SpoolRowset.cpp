#include "dataaccess/SpoolRowset.h"

#include "dataaccess/InterruptToken.h"
#include "dataaccess/Spool.h"
#include "dataaccess/SpoolFile.h"
#include "dataaccess/SpoolRecord.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qb::data {
namespace {

constexpr size_t kWindowBytes = 64 * 1024;
// Values up to this size are read whole; larger ones only as far as an inline binding needs.
constexpr uint64_t kWholeValueBytes = 64 * 1024;

[[noreturn]] void damaged()
{
    throw SpoolError(E_UNEXPECTED, QStringLiteral("The rows in temporary storage are damaged."));
}

void put32(std::byte* row, size_t offset, uint32_t v)
{
    std::memcpy(row + offset, &v, sizeof v);
}

uint32_t clamp32(uint64_t v)
{
    return uint32_t(std::min<uint64_t>(v, std::numeric_limits<uint32_t>::max()));
}

CellValue cellOf(uint8_t kind, const std::byte* bytes, size_t size)
{
    switch (kind) {
    case spool::kWideText:
        return CellValue::fromWideText(reinterpret_cast<const char16_t*>(bytes), size / 2);
    case spool::kBytes:
        return CellValue::fromBytes(bytes, size);
    default:
        return CellValue::fromText(reinterpret_cast<const char*>(bytes), size);
    }
}

// A long value read from the spool's file as the caller asks; it keeps the file alive, so it may
// outlive the rowset and the spool.
class SpoolStream final : public SequentialStream {
public:
    SpoolStream(std::shared_ptr<SpoolFile> file, uint64_t offset, uint64_t length)
        : m_file(std::move(file)), m_offset(offset), m_left(length)
    {
    }
    size_t read(void* buffer, size_t size) override
    {
        InterruptToken::checkArmed();
        const size_t want = size_t(std::min<uint64_t>(size, m_left));
        const size_t got = want ? m_file->readAt(m_offset, buffer, want) : 0;
        m_offset += got;
        m_left -= got;
        return got;
    }

private:
    std::shared_ptr<SpoolFile> m_file;
    uint64_t m_offset;
    uint64_t m_left;
};

// For a large value and an inline binding that shows only its start: how many of its bytes to
// convert, and the length the whole value has in the bound type. 0 when the whole value is needed
// to know that length (a conversion between narrow and wide text).
size_t prefixFor(uint8_t kind, uint64_t length, const Binding& b, uint64_t* fullLength)
{
    const size_t room = size_t(b.maxLength) + 4; // a little more than fits, so the cut shows
    switch (b.type) {
    case DBTYPE_WSTR:
        if (kind == spool::kWideText) {
            *fullLength = length;
            return (room + 1) & ~size_t(1);
        }
        if (kind == spool::kBytes) {
            *fullLength = length * 4; // two hexadecimal digits a byte, two bytes a digit
            return room / 4 + 4;
        }
        return 0;
    case DBTYPE_STR:
        if (kind == spool::kText) {
            *fullLength = length;
            return room;
        }
        return 0;
    case DBTYPE_BYTES:
        *fullLength = length; // every kind is bound as its bytes
        return room;
    default:
        return 0;
    }
}

} // namespace

SpoolRowset::SpoolRowset(std::shared_ptr<Spool> spool) : m_spool(std::move(spool))
{
}

SpoolRowset::~SpoolRowset() = default;

std::vector<ColumnInfo> SpoolRowset::columns() const
{
    return m_spool->columns();
}

void SpoolRowset::setBindings(std::vector<Binding> bindings)
{
    const std::vector<ColumnInfo>& infos = m_spool->columns();
    validateBindings(bindings, infos.size());
    m_spool->bindSource();
    m_columns = infos;
    m_bindings = std::move(bindings);
    m_byRef.reset(m_bindings.size());
    m_spill.assign(m_bindings.size(), QByteArray());
}

void SpoolRowset::restart()
{
    InterruptToken::checkArmed();
    m_byRef.clear();
    m_state = State::BeforeFirst;
}

bool SpoolRowset::next(uint64_t skip)
{
    InterruptToken::checkArmed();
    m_byRef.clear();
    if (m_state == State::AtEnd)
        return false;
    const uint64_t first = m_state == State::BeforeFirst ? 0 : m_row + 1;
    m_state = State::AtEnd;
    if (skip >= std::numeric_limits<uint64_t>::max() - first)
        return false;
    const uint64_t target = first + skip;
    if (target >= m_spool->rowsHeld() && m_spool->hold(target + 1) <= target)
        return false;
    m_row = target;
    m_state = State::OnRow;
    return true;
}

void SpoolRowset::getData(std::byte* rowBuffer)
{
    InterruptToken::checkArmed();
    if (m_state != State::OnRow)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("There is no current row to read."));
    readCurrentRow();
    for (size_t i = 0; i < m_bindings.size(); ++i)
        writeValue(m_values[m_bindings[i].ordinal - 1], m_bindings[i], i, rowBuffer);
}

void SpoolRowset::suspend()
{
    m_spool->stopFetching();
}

void SpoolRowset::readCurrentRow()
{
    if (m_valuesRow == m_row)
        return;
    if (!m_file)
        m_file = m_spool->file();
    if (!m_window)
        m_window = std::make_unique<char16_t[]>(kWindowBytes / sizeof(char16_t));
    // From the nearest known row start: the row's page, a row read before on that page, or the
    // last row held (while the rows are still being copied, that is the one asked for).
    const uint64_t page = m_row / Spool::kPageRows;
    uint64_t row = page * Spool::kPageRows;
    uint64_t offset = m_spool->pageOffset(page);
    if (m_knownRow <= m_row && m_knownRow > row) {
        row = m_knownRow;
        offset = m_knownOffset;
    }
    if (m_row + 1 == m_spool->rowsHeld() && row < m_row) {
        row = m_row;
        offset = m_spool->lastRowOffset();
    }
    for (; row < m_row; ++row)
        offset = readRow(offset, false);
    m_knownOffset = readRow(offset, true);
    m_knownRow = m_row + 1;
    m_valuesRow = m_row;
}

uint64_t SpoolRowset::readRow(uint64_t offset, bool keep)
{
    if (keep)
        m_values.assign(m_columns.size(), Value());
    const uint64_t end = m_spool->bytesHeld();
    QByteArray unused;
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (offset >= end)
            damaged();
        const size_t headerBytes = size_t(std::min<uint64_t>(spool::kMaxHeaderBytes, end - offset));
        const std::byte* header = bytesAt(offset, headerBytes, unused);
        const auto tag = uint8_t(header[0]);
        Value v;
        v.kind = tag & spool::kKindMask;
        if (v.kind > spool::kStatus)
            damaged();
        size_t used = 1;
        if (v.kind != spool::kNull) {
            uint64_t length = 0;
            if (tag & spool::kFixedLength) {
                if (headerBytes < 1 + spool::kFixedLengthBytes)
                    damaged();
                std::memcpy(&length, header + 1, sizeof length);
                used += spool::kFixedLengthBytes;
            } else {
                const size_t n = spool::getVarint(header + 1, headerBytes - 1, &length);
                if (n == 0)
                    damaged();
                used += n;
            }
            if (v.kind == spool::kStatus) {
                v.status = uint32_t(length);
            } else {
                v.offset = offset + used;
                if (spool::alignsToEven(v.kind) && v.offset % 2 != 0)
                    ++v.offset;
                v.length = length;
                used = size_t(v.offset - offset);
                if (length > end - v.offset)
                    damaged();
            }
        }
        offset += used + v.length;
        if (keep)
            m_values[c] = v;
    }
    return offset;
}

const std::byte* SpoolRowset::bytesAt(uint64_t offset, size_t count, QByteArray& spill)
{
    auto* window = reinterpret_cast<std::byte*>(m_window.get());
    if (offset >= m_windowStart && offset + count <= m_windowStart + m_windowBytes)
        return window + (offset - m_windowStart);
    if (count <= kWindowBytes / 2) {
        // Only rows already held: the bytes after them may still change (a length patched in).
        m_windowStart = offset & ~uint64_t(1);
        const uint64_t held = m_spool->bytesHeld();
        const size_t want = size_t(std::min<uint64_t>(kWindowBytes, held > m_windowStart ? held - m_windowStart : 0));
        m_windowBytes = m_file->readAt(m_windowStart, window, want);
        if (offset + count > m_windowStart + m_windowBytes)
            damaged();
        return window + (offset - m_windowStart);
    }
    spill.resize(qsizetype(count));
    if (m_file->readAt(offset, spill.data(), count) < count)
        damaged();
    return reinterpret_cast<const std::byte*>(spill.constData());
}

void SpoolRowset::writeValue(const Value& v, const Binding& b, size_t bindingIndex, std::byte* row)
{
    if (v.kind == spool::kNull || v.kind == spool::kStatus) {
        put32(row, b.lengthOffset, 0);
        put32(row, b.statusOffset, v.kind == spool::kNull ? DBSTATUS_S_ISNULL : v.status);
        return;
    }
    const DBTYPE declared = m_columns[b.ordinal - 1].type;
    // A stream gives the declared representation: the bytes as they are where they have it (long
    // values always), else converted below.
    const uint8_t streamKind = spool::kindOfDeclaredType(declared);
    if (b.type == DBTYPE_IUNKNOWN && (streamKind == spool::kBytes || v.kind == streamKind)) {
        SequentialStream* stream = new SpoolStream(m_file, v.offset, v.length);
        std::memcpy(row + b.valueOffset, &stream, sizeof stream);
        put32(row, b.lengthOffset, clamp32(v.length));
        put32(row, b.statusOffset, DBSTATUS_S_OK);
        return;
    }
    QByteArray& spill = m_spill[bindingIndex];
    uint64_t fullLength = 0;
    const size_t prefix = v.length > kWholeValueBytes ? prefixFor(v.kind, v.length, b, &fullLength) : 0;
    if (prefix > 0 && prefix < v.length) {
        writeBoundValue(cellOf(v.kind, bytesAt(v.offset, prefix, spill), prefix), b, declared, row,
                        m_byRef.at(bindingIndex));
        put32(row, b.lengthOffset, clamp32(fullLength));
        put32(row, b.statusOffset, DBSTATUS_S_TRUNCATED);
    } else {
        if (v.length > std::numeric_limits<qsizetype>::max())
            throw ProviderError(E_OUTOFMEMORY, QStringLiteral("The value is too large to be read whole."));
        const auto size = size_t(v.length);
        writeBoundValue(cellOf(v.kind, bytesAt(v.offset, size, spill), size), b, declared, row,
                        m_byRef.at(bindingIndex));
    }
    if (spill.size() > qsizetype(kWindowBytes))
        spill = QByteArray(); // a large value is not kept once converted
}

} // namespace qb::data
