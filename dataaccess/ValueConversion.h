#pragma once
// What a provider's getData does with one value: converts it to the bound type and writes value,
// length and status into the caller's row buffer, by the rules stated on Binding in Provider.h.
// Shared by the providers so every provider converts alike.
#include "dataaccess/InPlaceValues.h"
#include "dataaccess/Provider.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qb::data {

// One value as the provider holds it. Text and bytes are borrowed for the duration of the call.
struct CellValue {
    // Unavailable: the provider holds a value it cannot give (its driver could not read it).
    enum class Kind { Null, Integer, Real, Text, WideText, Bytes, Unavailable };
    Kind kind = Kind::Null;
    int64_t integer = 0;
    double real = 0;
    // Text: UTF-8 bytes; WideText: UTF-16 code units (size counts bytes); Bytes: the bytes.
    // For Integer and Real a provider may give its own text rendering here (else one is made).
    const void* data = nullptr;
    size_t size = 0;

    static CellValue null() { return {}; }
    static CellValue unavailable() { CellValue c; c.kind = Kind::Unavailable; return c; }
    static CellValue fromInteger(int64_t v) { CellValue c; c.kind = Kind::Integer; c.integer = v; return c; }
    static CellValue fromReal(double v, const char* text = nullptr, size_t size = 0)
    {
        CellValue c; c.kind = Kind::Real; c.real = v; c.data = text; c.size = size; return c;
    }
    static CellValue fromText(const char* utf8, size_t size) { CellValue c; c.kind = Kind::Text; c.data = utf8; c.size = size; return c; }
    static CellValue fromWideText(const char16_t* units, size_t count)
    {
        CellValue c; c.kind = Kind::WideText; c.data = units; c.size = count * 2; return c;
    }
    static CellValue fromBytes(const void* bytes, size_t size) { CellValue c; c.kind = Kind::Bytes; c.data = bytes; c.size = size; return c; }
};

// Memory for by-reference values of the current row, one buffer per binding; valid until the
// rowset clears it at the next fetch, restart or destruction.
class ByRefStore {
public:
    void reset(size_t bindings) { m_buffers.assign(bindings, QByteArray()); }
    QByteArray& at(size_t i) { return m_buffers.at(i); }
    // The values are no longer needed: a large one's memory goes, a small buffer stays for the
    // next row's value.
    void clear()
    {
        for (QByteArray& b : m_buffers)
            if (b.capacity() > kKeptCapacity)
                b = QByteArray();
    }

private:
    static constexpr qsizetype kKeptCapacity = 4096;
    std::vector<QByteArray> m_buffers;
};

// Writes `value` by `binding` into `row`. `declaredType` is the column's type from its column
// information (it decides the representation of a stream). `byRefSlot` is the binding's buffer
// in the rowset's ByRefStore. `inPlace`, when given, says that the value's memory is the
// provider's own and lasts until the rowset moves on: bytes by reference then point into it and
// a stream that needs no conversion reads it there, so a long value is not copied.
void writeBoundValue(const CellValue& value, const Binding& binding, DBTYPE declaredType, std::byte* row,
                     QByteArray& byRefSlot, InPlaceValues* inPlace = nullptr);

// Checks bindings before a rowset accepts them; throws ProviderError (E_INVALIDARG or
// DB_E_BADACCESSORHANDLE) naming the first binding that cannot be honoured.
void validateBindings(const std::vector<Binding>& bindings, size_t columnCount);

// Longest prefix of UTF-16 units no longer than maxUnits that does not end inside a surrogate pair.
size_t utf16CutLength(const char16_t* units, size_t count, size_t maxUnits);
// Longest prefix of UTF-8 bytes no longer than maxBytes that does not end inside a sequence.
size_t utf8CutLength(const char* bytes, size_t size, size_t maxBytes);

} // namespace qb::data
