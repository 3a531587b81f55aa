#include "dataaccess/ValueFormat.h"

#include "dataaccess/ValueConversion.h"

#include <cstring>

namespace qb::data {
namespace {

template <typename T>
T load(const std::byte* area)
{
    T v;
    std::memcpy(&v, area, sizeof v);
    return v;
}

// Wide text of the area up to its terminator (the area is followed by the record's terminator).
QString wideText(const std::byte* area)
{
    constexpr size_t kMaxUnits = ColumnBinding::kInlineBuffer / 2;
    char16_t units[kMaxUnits];
    std::memcpy(units, area, sizeof units);
    size_t n = 0;
    while (n < kMaxUnits && units[n] != 0)
        ++n;
    return QString::fromUtf16(units, qsizetype(n));
}

QString narrowText(const std::byte* area)
{
    const char* text = reinterpret_cast<const char*>(area);
    return QString::fromUtf8(text, qsizetype(strnlen(text, ColumnBinding::kInlineBuffer)));
}

QString cut(QString text, int capacity)
{
    if (capacity < 0 || text.size() <= capacity)
        return text;
    const size_t n = utf16CutLength(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()), size_t(capacity));
    text.truncate(qsizetype(n));
    return text;
}

} // namespace

QString formatValue(DBTYPE boundType, DBTYPE declaredType, const std::byte* v, int capacity)
{
    QString text;
    if (boundType & DBTYPE_BYREF)
        return cut((boundType & ~DBTYPE_BYREF) == DBTYPE_BYTES ? QString::fromUtf16(kBlobMarker) : QString::fromUtf16(kTextMarker), capacity);
    switch (boundType) {
    case DBTYPE_I2:
        text = QString::asprintf("%i", int(load<int16_t>(v)));
        break;
    case DBTYPE_I4:
        text = QString::asprintf("%i", int(load<int32_t>(v)));
        break;
    case DBTYPE_R4:
        text = QString::asprintf("%g", double(load<float>(v)));
        break;
    case DBTYPE_R8:
        text = QString::asprintf("%g", load<double>(v));
        break;
    case DBTYPE_CY:
    case DBTYPE_I8:
        text = QString::asprintf("%lld", static_cast<long long>(load<int64_t>(v)));
        break;
    case DBTYPE_BSTR:
        text = QString::fromUtf16(kTextMarker);
        break;
    case DBTYPE_IDISPATCH:
    case DBTYPE_IUNKNOWN:
        if (declaredType == DBTYPE_BYTES)
            text = QString::fromUtf16(kBlobMarker);
        else if (declaredType == DBTYPE_STR || declaredType == DBTYPE_WSTR)
            text = QString::fromUtf16(kTextMarker);
        break;
    case DBTYPE_UI2:
        text = QString::asprintf("%u", unsigned(load<uint16_t>(v)));
        break;
    case DBTYPE_UI4:
        text = QString::asprintf("%u", unsigned(load<uint32_t>(v)));
        break;
    case DBTYPE_UI8:
        text = QString::asprintf("%llu", static_cast<unsigned long long>(load<uint64_t>(v)));
        break;
    case DBTYPE_BYTES:
        text = QString::fromUtf16(kBlobMarker);
        break;
    case DBTYPE_STR:
        text = narrowText(v);
        break;
    case DBTYPE_WSTR:
        text = wideText(v);
        break;
    default:
        text = QString::fromUtf16(kUnknownMarker);
    }
    return cut(std::move(text), capacity);
}

QString describeValue(DBTYPE declaredType, const std::byte* area)
{
    if (declaredType == DBTYPE_WSTR)
        return wideText(area);
    if (declaredType == DBTYPE_BYTES)
        return QString::fromUtf16(kBinaryDataText);
    return narrowText(area);
}

} // namespace qb::data
