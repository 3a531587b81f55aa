#pragma once
// What the plug-in host needs of whatever shows cells (the table element): a cell's value put
// into a fresh hand-off stream, and that stream given back.
#include <quillbase/qbstream.h>

namespace qb::plugins {

class CellValueSource {
public:
    virtual ~CellValueSource() = default;
    // Fills `value` with a new stream holding the whole value of the cell (row of the data list,
    // column from 1) and its type. False, with the value left empty, for a NULL cell and on any
    // failure; failures are reported by the source itself (its report log).
    virtual bool fillValue(int row, int column, BlobValue* value) = 0;
    // Gives back a value that fillValue filled: its stream is reverted (a plug-in that kept a
    // reference gets "reverted" answers from then on) and the host's own reference released.
    virtual void releaseValue(BlobValue* value) = 0;
};

// A filled value for the length of one scope: released however the scope ends.
class FilledValue {
public:
    FilledValue(CellValueSource& source, int row, int column) : m_source(source)
    {
        m_filled = source.fillValue(row, column, &m_value);
    }
    ~FilledValue()
    {
        if (m_filled)
            m_source.releaseValue(&m_value);
    }
    FilledValue(const FilledValue&) = delete;
    FilledValue& operator=(const FilledValue&) = delete;

    bool filled() const { return m_filled; }
    // A copy for one call into a plug-in, its stream positioned at the end of the data as
    // plug-ins expect: whatever an earlier plug-in did with the position or with its copy of the
    // record, the next one starts from the same state and the host keeps its own pointer.
    BlobValue handOff() const
    {
        if (m_value.stream) {
            uint64_t position = 0;
            m_value.stream->table->seek(m_value.stream, 0, QB_STREAM_SEEK_END, &position);
        }
        return m_value;
    }

private:
    CellValueSource& m_source;
    BlobValue m_value{nullptr, 0};
    bool m_filled = false;
};

} // namespace qb::plugins
