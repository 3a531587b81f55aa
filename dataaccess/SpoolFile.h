#pragma once
// The bytes of one spool (Spool.h): an element of a private temporary storage, so they live in a
// nameless file that vanishes with the object (or the process), never in memory beyond a buffer.
//
// Appends collect in a buffer that goes to the file when full; reads see the file and the buffer
// alike, so a reader never waits for a flush. Calls may come from any thread; they are short
// and serialized by one lock (the streams a spool hands out read on the consumer's thread).
#include "dataaccess/Provider.h"

#include <quillbase/qbstream.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace qb {
class Storage;
}

namespace qb::data {

// A spool could not be written or read back (a full disk, most likely). A ProviderError, so a
// load reports it like any failure of reading the rows; callers that take a failing source
// quietly (the console's count) tell it apart, because losing rows here must never go unseen.
class SpoolError : public ProviderError {
public:
    using ProviderError::ProviderError;
};

class SpoolFile {
public:
    // A new empty file in the temporary folder. Throws SpoolError.
    SpoolFile();
    ~SpoolFile();
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    // Bytes appended so far.
    uint64_t size() const;
    // Throws SpoolError when the bytes cannot be written.
    void append(const void* bytes, size_t count);
    // Overwrites bytes appended earlier (a length known only after its value).
    void patch(uint64_t offset, const void* bytes, size_t count);
    // Copies up to `count` bytes from `offset`; fewer only at the end. Throws SpoolError.
    size_t readAt(uint64_t offset, void* out, size_t count) const;

private:
    void flushLocked();
    void writeLocked(uint64_t offset, const void* bytes, size_t count);

    std::unique_ptr<Storage> m_storage;
    QbStream* m_stream = nullptr;
    mutable std::mutex m_mutex;
    std::vector<std::byte> m_buffer; // the bytes after m_flushed, not yet in the file
    uint64_t m_flushed = 0;
};

} // namespace qb::data
