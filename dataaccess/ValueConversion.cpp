#include "dataaccess/ValueConversion.h"

#include "dataaccess/BufferStream.h"

#include <QString>
#include <QStringDecoder>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

namespace qb::data {
namespace {

void put32(std::byte* row, size_t offset, uint32_t v)
{
    std::memcpy(row + offset, &v, sizeof v);
}

void setResult(std::byte* row, const Binding& b, uint32_t length, DBSTATUS status)
{
    put32(row, b.lengthOffset, length);
    put32(row, b.statusOffset, status);
}

// Units a local buffer holds: more than any inline width the suite binds (the console's widest
// column is 600 characters, its UTF-8 prefix at most 1804 bytes), so a row is converted without
// touching the heap; wider bindings go through a QString.
constexpr size_t kLocalUnits = 2048;

// The text of a number: the provider's own rendering where it gave one, else ours in `digits`.
std::string_view numberChars(const CellValue& v, char (&digits)[64])
{
    if (v.data)
        return {static_cast<const char*>(v.data), v.size};
    const auto r = v.kind == CellValue::Kind::Integer ? std::to_chars(digits, digits + sizeof digits, v.integer)
                                                      : std::to_chars(digits, digits + sizeof digits, v.real);
    return {digits, size_t(r.ptr - digits)};
}

QByteArray hexText(const void* data, size_t size)
{
    return QByteArray(static_cast<const char*>(data), qsizetype(size)).toHex().toUpper();
}

// The value as UTF-8 text (numbers rendered, bytes as hexadecimal digits), without a copy where it
// is text or a number already; `holder` keeps a converted text alive.
std::string_view utf8View(const CellValue& v, char (&digits)[64], QByteArray& holder)
{
    switch (v.kind) {
    case CellValue::Kind::Integer:
    case CellValue::Kind::Real:
        return numberChars(v, digits);
    case CellValue::Kind::Text:
        return {static_cast<const char*>(v.data), v.size};
    case CellValue::Kind::WideText:
        holder = QString::fromUtf16(static_cast<const char16_t*>(v.data), qsizetype(v.size / 2)).toUtf8();
        return {holder.constData(), size_t(holder.size())};
    case CellValue::Kind::Bytes:
        holder = hexText(v.data, v.size);
        return {holder.constData(), size_t(holder.size())};
    case CellValue::Kind::Null:
    case CellValue::Kind::Unavailable:
        break;
    }
    return {};
}

QByteArray utf8Of(const CellValue& v)
{
    char digits[64];
    QByteArray holder;
    const std::string_view text = utf8View(v, digits, holder);
    if (text.data() == holder.constData())
        return holder;
    return QByteArray(text.data(), qsizetype(text.size()));
}

// The value as UTF-16 text, as bytes in host order.
QByteArray utf16Of(const CellValue& v)
{
    if (v.kind == CellValue::Kind::WideText)
        return QByteArray(static_cast<const char*>(v.data), qsizetype(v.size));
    const QString s = v.kind == CellValue::Kind::Text
                          ? QString::fromUtf8(static_cast<const char*>(v.data), qsizetype(v.size))
                          : QString::fromLatin1(utf8Of(v));
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

// What a bytes binding gives: text and bytes as they are, a number as its text.
std::string_view bytesView(const CellValue& v, char (&digits)[64])
{
    if (v.kind == CellValue::Kind::Text || v.kind == CellValue::Kind::WideText || v.kind == CellValue::Kind::Bytes)
        return {static_cast<const char*>(v.data), v.size};
    return numberChars(v, digits);
}

QByteArray bytesOf(const CellValue& v)
{
    char digits[64];
    const std::string_view bytes = bytesView(v, digits);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

// Widens the ASCII bytes at the start of text, at most n of them, into out; returns how many.
size_t widenAsciiPrefix(const char* text, size_t n, char16_t* out)
{
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80)
            return i;
        out[i] = c;
    }
    return n;
}

// UTF-16 units of UTF-8 text, as QString::fromUtf8 makes them (invalid bytes included).
size_t utf16LengthOfUtf8(const char* text, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return size_t(QString::fromUtf8(text, qsizetype(size)).size()); // rare: a long non-ASCII value cut
    return size;
}

// Decodes size bytes of UTF-8 into out (room for size units); returns the units written. The
// same conversion as QString::fromUtf8.
size_t decodeUtf8(const char* text, size_t size, char16_t* out)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QChar* const begin = reinterpret_cast<QChar*>(out);
    return size_t(decoder.appendToBuffer(begin, QByteArrayView(text, qsizetype(size))) - begin);
}

size_t wideCapacity(const Binding& b)
{
    return b.maxLength >= 2 ? (b.maxLength - 2) / 2 : 0;
}

// Writes the first units (cut at the capacity, never inside a surrogate pair) and the terminator;
// fullUnits is the length of the whole value.
void putWide(std::byte* row, const Binding& b, const char16_t* units, size_t count, size_t fullUnits)
{
    if (b.maxLength < 2) {
        setResult(row, b, uint32_t(std::min<size_t>(fullUnits * 2, UINT32_MAX)),
                  fullUnits ? DBSTATUS_S_TRUNCATED : DBSTATUS_S_OK);
        return;
    }
    const size_t n = utf16CutLength(units, count, wideCapacity(b));
    std::memcpy(row + b.valueOffset, units, n * 2);
    std::memset(row + b.valueOffset + n * 2, 0, 2);
    setResult(row, b, uint32_t(std::min<size_t>(fullUnits * 2, UINT32_MAX)),
              n < fullUnits ? DBSTATUS_S_TRUNCATED : DBSTATUS_S_OK);
}

// UTF-8 text as wide text inline, converting no more of a long value than fits.
void writeUtf8AsWide(const char* text, size_t size, const Binding& b, std::byte* row)
{
    const size_t maxUnits = wideCapacity(b);
    // A UTF-16 unit never takes more than 3 bytes of UTF-8, so this prefix covers maxUnits + 1.
    const size_t take = utf8CutLength(text, size, std::min(size, maxUnits * 3 + 4));
    if (maxUnits < kLocalUnits) {
        char16_t local[kLocalUnits];
        const size_t limit = std::min(size, maxUnits);
        const size_t ascii = widenAsciiPrefix(text, limit, local);
        if (ascii == limit) {
            putWide(row, b, local, ascii, limit == size ? size : utf16LengthOfUtf8(text, size));
            return;
        }
        if (take <= kLocalUnits) {
            const size_t count = decodeUtf8(text, take, local);
            putWide(row, b, local, count, take == size ? count : utf16LengthOfUtf8(text, size));
            return;
        }
    }
    const QString prefix = QString::fromUtf8(text, qsizetype(take));
    putWide(row, b, reinterpret_cast<const char16_t*>(prefix.utf16()), size_t(prefix.size()),
            take == size ? size_t(prefix.size()) : utf16LengthOfUtf8(text, size));
}

// Bytes as hexadecimal digits inline.
void writeHexAsWide(const void* data, size_t size, const Binding& b, std::byte* row)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    const size_t digits = std::min(size * 2, wideCapacity(b));
    if (digits >= kLocalUnits) {
        const QString hex = QString::fromLatin1(hexText(data, size));
        putWide(row, b, reinterpret_cast<const char16_t*>(hex.utf16()), size_t(hex.size()), size * 2);
        return;
    }
    char16_t local[kLocalUnits];
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < digits; ++i)
        local[i] = kDigits[i % 2 == 0 ? bytes[i / 2] >> 4 : bytes[i / 2] & 0xF];
    putWide(row, b, local, digits, size * 2);
}

void writeWideInline(const CellValue& v, const Binding& b, std::byte* row)
{
    switch (v.kind) {
    case CellValue::Kind::WideText: {
        const auto* units = static_cast<const char16_t*>(v.data);
        putWide(row, b, units, v.size / 2, v.size / 2);
        return;
    }
    case CellValue::Kind::Bytes:
        writeHexAsWide(v.data, v.size, b, row);
        return;
    default: {
        char digits[64];
        QByteArray holder;
        const std::string_view text = utf8View(v, digits, holder);
        writeUtf8AsWide(text.data(), text.size(), b, row);
    }
    }
}

void writeNarrowInline(const CellValue& v, const Binding& b, std::byte* row)
{
    char digits[64];
    QByteArray holder;
    const std::string_view text = utf8View(v, digits, holder);
    const auto length = uint32_t(std::min<size_t>(text.size(), UINT32_MAX));
    if (b.maxLength < 1) {
        setResult(row, b, length, text.empty() ? DBSTATUS_S_OK : DBSTATUS_S_TRUNCATED);
        return;
    }
    const size_t n = utf8CutLength(text.data(), text.size(), b.maxLength - 1);
    if (n)
        std::memcpy(row + b.valueOffset, text.data(), n);
    row[b.valueOffset + n] = std::byte{0};
    setResult(row, b, length, n < text.size() ? DBSTATUS_S_TRUNCATED : DBSTATUS_S_OK);
}

void writeBytesInline(std::string_view bytes, const Binding& b, std::byte* row)
{
    const size_t n = std::min<size_t>(bytes.size(), b.maxLength);
    if (n)
        std::memcpy(row + b.valueOffset, bytes.data(), n);
    setResult(row, b, uint32_t(bytes.size()), n < bytes.size() ? DBSTATUS_S_TRUNCATED : DBSTATUS_S_OK);
}

// Where a stream's representation of the value is the value's own memory, unconverted.
std::optional<std::string_view> unconvertedStreamBytes(const CellValue& v, DBTYPE declaredType)
{
    const bool raw = declaredType == DBTYPE_WSTR ? v.kind == CellValue::Kind::WideText
                     : declaredType == DBTYPE_BYTES || declaredType == DBTYPE_IUNKNOWN
                         ? v.kind == CellValue::Kind::Text || v.kind == CellValue::Kind::WideText ||
                               v.kind == CellValue::Kind::Bytes
                         : v.kind == CellValue::Kind::Text;
    if (!raw)
        return std::nullopt;
    return std::string_view(static_cast<const char*>(v.data), v.size);
}

void writeByRef(QByteArray representation, bool terminate, const Binding& b, std::byte* row, QByteArray& slot)
{
    const uint32_t length = uint32_t(representation.size());
    slot = std::move(representation);
    if (terminate)
        slot.append('\0').append('\0'); // room for a UTF-16 terminator too
    const void* p = slot.constData();
    std::memcpy(row + b.valueOffset, &p, sizeof p);
    setResult(row, b, length, DBSTATUS_S_OK);
}

// The value as a number: an integer when it is one exactly, else a double. False when it is not
// a number at all.
bool numberOf(const CellValue& v, bool* isInteger, int64_t* i, double* d)
{
    switch (v.kind) {
    case CellValue::Kind::Integer:
        *isInteger = true;
        *i = v.integer;
        return true;
    case CellValue::Kind::Real:
        *isInteger = false;
        *d = v.real;
        return true;
    case CellValue::Kind::Text:
    case CellValue::Kind::WideText: {
        const QByteArray t = utf8Of(v).trimmed();
        bool ok = false;
        *i = t.toLongLong(&ok);
        if (ok) {
            *isInteger = true;
            return true;
        }
        *d = t.toDouble(&ok);
        *isInteger = false;
        return ok;
    }
    default:
        return false;
    }
}

template <typename T>
void putNumber(std::byte* row, const Binding& b, T value)
{
    std::memcpy(row + b.valueOffset, &value, sizeof value);
    setResult(row, b, sizeof value, DBSTATUS_S_OK);
}

template <typename T>
void putInteger(std::byte* row, const Binding& b, bool isInteger, int64_t i, double d)
{
    if (!isInteger) {
        if (!std::isfinite(d) || d < double(std::numeric_limits<T>::lowest()) ||
            d >= double(std::numeric_limits<T>::max()) + 1.0) {
            setResult(row, b, 0, d < 0 && std::is_unsigned_v<T> ? DBSTATUS_E_SIGNMISMATCH : DBSTATUS_E_DATAOVERFLOW);
            return;
        }
        putNumber<T>(row, b, T(d));
        return;
    }
    if constexpr (std::is_unsigned_v<T>) {
        if (i < 0) {
            setResult(row, b, 0, DBSTATUS_E_SIGNMISMATCH);
            return;
        }
        if (uint64_t(i) > std::numeric_limits<T>::max()) {
            setResult(row, b, 0, DBSTATUS_E_DATAOVERFLOW);
            return;
        }
    } else if (i < int64_t(std::numeric_limits<T>::min()) || i > int64_t(std::numeric_limits<T>::max())) {
        setResult(row, b, 0, DBSTATUS_E_DATAOVERFLOW);
        return;
    }
    putNumber<T>(row, b, T(i));
}

void writeNumber(const CellValue& v, const Binding& b, std::byte* row)
{
    bool isInteger = false;
    int64_t i = 0;
    double d = 0;
    if (!numberOf(v, &isInteger, &i, &d)) {
        setResult(row, b, 0, DBSTATUS_E_CANTCONVERTVALUE);
        return;
    }
    switch (b.type) {
    case DBTYPE_I2: putInteger<int16_t>(row, b, isInteger, i, d); break;
    case DBTYPE_I4: putInteger<int32_t>(row, b, isInteger, i, d); break;
    case DBTYPE_I8: putInteger<int64_t>(row, b, isInteger, i, d); break;
    case DBTYPE_UI2: putInteger<uint16_t>(row, b, isInteger, i, d); break;
    case DBTYPE_UI4: putInteger<uint32_t>(row, b, isInteger, i, d); break;
    case DBTYPE_UI8: putInteger<uint64_t>(row, b, isInteger, i, d); break;
    case DBTYPE_R4: putNumber<float>(row, b, float(isInteger ? double(i) : d)); break;
    case DBTYPE_R8: putNumber<double>(row, b, isInteger ? double(i) : d); break;
    case DBTYPE_BOOL: putNumber<int16_t>(row, b, (isInteger ? i != 0 : d != 0) ? int16_t(-1) : int16_t(0)); break;
    case DBTYPE_CY: {
        const double scaled = (isInteger ? double(i) : d) * 10000.0;
        if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18) {
            setResult(row, b, 0, DBSTATUS_E_DATAOVERFLOW);
            return;
        }
        putNumber<int64_t>(row, b, isInteger && std::fabs(double(i)) < 9.2e14 ? i * 10000 : int64_t(std::llround(scaled)));
        break;
    }
    default:
        setResult(row, b, 0, DBSTATUS_E_CANTCONVERTVALUE);
    }
}

bool isNumericType(DBTYPE t)
{
    switch (t) {
    case DBTYPE_I2: case DBTYPE_I4: case DBTYPE_I8: case DBTYPE_UI2: case DBTYPE_UI4: case DBTYPE_UI8:
    case DBTYPE_R4: case DBTYPE_R8: case DBTYPE_CY: case DBTYPE_BOOL:
        return true;
    default:
        return false;
    }
}

} // namespace

size_t utf16CutLength(const char16_t* units, size_t count, size_t maxUnits)
{
    if (count <= maxUnits)
        return count;
    size_t n = maxUnits;
    if (n > 0 && QChar::isHighSurrogate(units[n - 1]))
        --n;
    return n;
}

size_t utf8CutLength(const char* bytes, size_t size, size_t maxBytes)
{
    if (size <= maxBytes)
        return size;
    size_t n = maxBytes;
    // Step back over continuation bytes to the start of the sequence that does not fit.
    size_t back = n;
    while (back > 0 && (static_cast<unsigned char>(bytes[back]) & 0xC0) == 0x80)
        --back;
    return back;
}

void writeBoundValue(const CellValue& value, const Binding& b, DBTYPE declaredType, std::byte* row,
                     QByteArray& byRefSlot, InPlaceValues* inPlace)
{
    if (value.kind == CellValue::Kind::Null) {
        setResult(row, b, 0, DBSTATUS_S_ISNULL);
        return;
    }
    if (value.kind == CellValue::Kind::Unavailable) {
        setResult(row, b, 0, DBSTATUS_E_UNAVAILABLE);
        return;
    }
    switch (b.type) {
    case DBTYPE_WSTR:
        writeWideInline(value, b, row);
        return;
    case DBTYPE_STR:
        writeNarrowInline(value, b, row);
        return;
    case DBTYPE_BYTES: {
        // A view: the start of a long value is all that fits, no copy of the whole is needed.
        char digits[64];
        writeBytesInline(bytesView(value, digits), b, row);
        return;
    }
    case DBTYPE_WSTR | DBTYPE_BYREF:
        writeByRef(utf16Of(value), true, b, row, byRefSlot);
        return;
    case DBTYPE_STR | DBTYPE_BYREF:
        writeByRef(utf8Of(value), true, b, row, byRefSlot);
        return;
    case DBTYPE_BYTES | DBTYPE_BYREF: {
        char digits[64];
        const std::string_view bytes = bytesView(value, digits);
        if (inPlace && bytes.data() != digits) {
            const void* p = bytes.data();
            std::memcpy(row + b.valueOffset, &p, sizeof p);
            setResult(row, b, uint32_t(bytes.size()), DBSTATUS_S_OK);
            return;
        }
        // Copied into the slot's own memory, which the store keeps from row to row.
        byRefSlot.resize(qsizetype(bytes.size()));
        if (!bytes.empty())
            std::memcpy(byRefSlot.data(), bytes.data(), bytes.size());
        const void* p = byRefSlot.constData();
        std::memcpy(row + b.valueOffset, &p, sizeof p);
        setResult(row, b, uint32_t(bytes.size()), DBSTATUS_S_OK);
        return;
    }
    case DBTYPE_IUNKNOWN: {
        if (const auto raw = inPlace ? unconvertedStreamBytes(value, declaredType) : std::nullopt) {
            SequentialStream* stream = inPlace->openStream(raw->data(), raw->size());
            std::memcpy(row + b.valueOffset, &stream, sizeof stream);
            setResult(row, b, uint32_t(std::min<size_t>(raw->size(), UINT32_MAX)), DBSTATUS_S_OK);
            return;
        }
        const QByteArray bytes = declaredType == DBTYPE_WSTR ? utf16Of(value)
                                 : declaredType == DBTYPE_BYTES || declaredType == DBTYPE_IUNKNOWN ? bytesOf(value)
                                                                                                   : utf8Of(value);
        SequentialStream* stream = new BufferStream(bytes);
        std::memcpy(row + b.valueOffset, &stream, sizeof stream);
        setResult(row, b, uint32_t(bytes.size()), DBSTATUS_S_OK);
        return;
    }
    default:
        if (isNumericType(b.type)) {
            writeNumber(value, b, row);
            return;
        }
        setResult(row, b, 0, DBSTATUS_E_CANTCONVERTVALUE);
    }
}

void validateBindings(const std::vector<Binding>& bindings, size_t columnCount)
{
    for (size_t i = 0; i < bindings.size(); ++i) {
        const Binding& b = bindings[i];
        if (b.ordinal < 1 || b.ordinal > columnCount)
            throw ProviderError(DB_E_BADACCESSORHANDLE,
                                QStringLiteral("Binding %1 names column %2, but the result has %3 columns.")
                                    .arg(i + 1).arg(b.ordinal).arg(columnCount));
        if (b.lengthOffset == b.statusOffset)
            throw ProviderError(E_INVALIDARG, QStringLiteral("Binding %1 puts length and status at the same offset.").arg(i + 1));
        if ((b.type & DBTYPE_BYREF) && (b.type & ~DBTYPE_BYREF) != DBTYPE_WSTR && (b.type & ~DBTYPE_BYREF) != DBTYPE_STR &&
            (b.type & ~DBTYPE_BYREF) != DBTYPE_BYTES)
            throw ProviderError(E_INVALIDARG, QStringLiteral("Binding %1 asks for type %2 by reference, which is not supported.")
                                                  .arg(i + 1).arg(b.type & ~DBTYPE_BYREF));
    }
}

} // namespace qb::data
