#include "dataaccess/MemoryRowset.h"

#include "dataaccess/InterruptToken.h"

namespace qb::data {

MemoryRowset::MemoryRowset(std::vector<ColumnInfo> columns, std::vector<Row> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

void MemoryRowset::setBindings(std::vector<Binding> bindings)
{
    validateBindings(bindings, m_columns.size());
    m_bindings = std::move(bindings);
    m_byRef.reset(m_bindings.size());
}

void MemoryRowset::restart()
{
    InterruptToken::checkArmed();
    m_position = -1;
}

bool MemoryRowset::next(uint64_t skip)
{
    InterruptToken::checkArmed();
    m_byRef.clear();
    const uint64_t target = uint64_t(m_position + 1) + skip;
    if (target >= m_rows.size()) {
        m_position = int64_t(m_rows.size());
        return false;
    }
    m_position = int64_t(target);
    return true;
}

void MemoryRowset::getData(std::byte* rowBuffer)
{
    InterruptToken::checkArmed();
    if (m_position < 0 || m_position >= int64_t(m_rows.size()))
        throw ProviderError(E_UNEXPECTED, QStringLiteral("There is no current row to read."));
    const Row& row = m_rows[size_t(m_position)];
    for (size_t i = 0; i < m_bindings.size(); ++i) {
        const Binding& b = m_bindings[i];
        const QVariant& v = row.at(b.ordinal - 1);
        CellValue value;
        QByteArray holder;
        QString text;
        if (v.isNull()) {
            value = CellValue::null();
        } else if (v.typeId() == QMetaType::QString) {
            text = v.toString();
            value = CellValue::fromWideText(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
        } else if (v.typeId() == QMetaType::QByteArray) {
            holder = v.toByteArray();
            value = CellValue::fromBytes(holder.constData(), size_t(holder.size()));
        } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            value = CellValue::fromReal(v.toDouble());
        } else {
            value = CellValue::fromInteger(v.toLongLong());
        }
        writeBoundValue(value, b, m_columns[b.ordinal - 1].type, rowBuffer, m_byRef.at(i));
    }
}

std::optional<HeldKind> MemoryRowset::currentValueKind(uint32_t ordinal) const
{
    if (m_position < 0 || m_position >= int64_t(m_rows.size()) || ordinal < 1 || ordinal > m_columns.size())
        return std::nullopt;
    const QVariant& v = m_rows[size_t(m_position)].at(ordinal - 1);
    if (v.isNull())
        return std::nullopt;
    if (v.typeId() == QMetaType::QByteArray)
        return HeldKind::Bytes;
    return v.typeId() == QMetaType::QString ? HeldKind::WideText : HeldKind::Text;
}

} // namespace qb::data
