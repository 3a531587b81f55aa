#pragma once
// The current row of a schema rowset, bound by column name: texts as wide text of up to 128
// characters, numbers as 16-bit integers. A column the provider does not report reads as empty
// (or 0), so a provider with fewer schema columns still lists its objects.
#include "dataaccess/Provider.h"

#include <QString>
#include <cstddef>
#include <vector>

namespace qb::browser {

class SchemaRow {
public:
    enum class Kind { Text, Number };
    struct Column {
        const char* name;
        Kind kind;
    };

    static constexpr int kTextCapacity = 128; // characters

    // Binds the rowset's columns named like `columns` (without regard to case). Throws
    // data::ProviderError when the provider refuses the bindings.
    SchemaRow(data::Rowset& rowset, const std::vector<Column>& columns);

    // Reads the rowset's current row.
    void fetch();
    // Column i of the list given to the constructor.
    QString text(size_t i) const;
    int number(size_t i) const;

private:
    struct Slot {
        bool bound = false;
        size_t offset = 0;
    };
    // Each slot: the value, then its length and status at aligned offsets.
    static constexpr size_t kValueBytes = (kTextCapacity + 1) * 2;
    static constexpr size_t kLengthOffset = (kValueBytes + 7) / 8 * 8;
    static constexpr size_t kStatusOffset = kLengthOffset + sizeof(uint32_t);
    static constexpr size_t kSlotBytes = kStatusOffset + sizeof(uint32_t);

    uint32_t statusAt(const Slot& slot) const;

    data::Rowset& m_rowset;
    std::vector<Slot> m_slots;
    std::vector<std::byte> m_buffer;
};

} // namespace qb::browser
