#pragma once
// Streams over values that a provider holds in its own memory for the current row (SQLite's
// column values), read where they are instead of from a copy: a long value is then held once.
//
// That memory lasts only while the rowset stays on the row, but a stream may be read after the
// rowset moved on. So the rowset calls detach() before it moves (next, restart, destruction), and
// each stream still open then copies the bytes it has not handed out yet. Callers that read the
// value while the row is current, as the plug-in hand-off does, never pay for that copy.
//
// Threads: the rowset's calls come from its one thread; a stream may be read on another, and its
// state is guarded against a detach that runs meanwhile.
#include "dataaccess/Provider.h"

#include <memory>
#include <vector>

namespace qb::data {

class InPlaceValues {
public:
    InPlaceValues() = default;
    ~InPlaceValues() { detach(); }
    InPlaceValues(const InPlaceValues&) = delete;
    InPlaceValues& operator=(const InPlaceValues&) = delete;

    // A stream over [data, data + size), which the caller keeps valid until its next detach().
    // The caller owns the one reference.
    SequentialStream* openStream(const void* data, size_t size);
    // The memory is about to go: the streams still open take what they have not read yet.
    void detach();

    struct Value; // the state a stream and this list share

private:
    std::vector<std::weak_ptr<Value>> m_open;
};

} // namespace qb::data
