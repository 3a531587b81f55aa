#include "explorer/browser/SchemaRow.h"

#include <cstring>

namespace qb::browser {

using namespace qb::data;

SchemaRow::SchemaRow(Rowset& rowset, const std::vector<Column>& columns)
    : m_rowset(rowset), m_slots(columns.size()), m_buffer(columns.size() * kSlotBytes)
{
    const std::vector<ColumnInfo> available = rowset.columns();
    std::vector<Binding> bindings;
    for (size_t i = 0; i < columns.size(); ++i) {
        for (const ColumnInfo& info : available) {
            if (info.name.compare(QLatin1String(columns[i].name), Qt::CaseInsensitive) != 0)
                continue;
            Slot& slot = m_slots[i];
            slot.bound = true;
            slot.offset = i * kSlotBytes;
            Binding b;
            b.ordinal = info.ordinal;
            b.valueOffset = slot.offset;
            b.lengthOffset = slot.offset + kLengthOffset;
            b.statusOffset = slot.offset + kStatusOffset;
            b.maxLength = static_cast<uint32_t>(kValueBytes);
            b.type = columns[i].kind == Kind::Text ? DBTYPE_WSTR : DBTYPE_I2;
            bindings.push_back(b);
            break;
        }
    }
    rowset.setBindings(std::move(bindings));
}

void SchemaRow::fetch()
{
    // Values the provider leaves alone (NULL) must not show the previous row's text.
    std::memset(m_buffer.data(), 0, m_buffer.size());
    m_rowset.getData(m_buffer.data());
}

uint32_t SchemaRow::statusAt(const Slot& slot) const
{
    uint32_t status = 0;
    std::memcpy(&status, m_buffer.data() + slot.offset + kStatusOffset, sizeof status);
    return status;
}

QString SchemaRow::text(size_t i) const
{
    const Slot& slot = m_slots.at(i);
    if (!slot.bound)
        return {};
    const uint32_t status = statusAt(slot);
    if (status != DBSTATUS_S_OK && status != DBSTATUS_S_TRUNCATED)
        return {};
    const auto* chars = reinterpret_cast<const char16_t*>(m_buffer.data() + slot.offset);
    qsizetype n = 0;
    while (n < kTextCapacity && chars[n] != u'\0')
        ++n;
    return QString::fromUtf16(chars, n);
}

int SchemaRow::number(size_t i) const
{
    const Slot& slot = m_slots.at(i);
    if (!slot.bound || statusAt(slot) != DBSTATUS_S_OK)
        return 0;
    int16_t value = 0;
    std::memcpy(&value, m_buffer.data() + slot.offset, sizeof value);
    return value;
}

} // namespace qb::browser
