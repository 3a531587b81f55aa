#pragma once
// The rows of one execution of a statement, copied once into temporary storage, so that counting
// them, showing them and every later page read what that one execution returned. SQL the user
// typed goes through one: running it again would repeat what it does (an insert or update with
// "returning", a sequence's next value). Statements the program builds (the plain scan of a
// table) do not need one and may run again.
//
// The copy is made on demand: readers (SpoolRowset) ask for rows, and rows not yet held are
// fetched from the source and written as they go by. The source is never restarted. When it has
// no more rows, or fails, a source the spool owns is released at once, and with it the
// provider's cursor and what the database holds for it (SQLite's read lock).
//
// Each value is copied whole (SpoolRecord.h): a long value through its stream, in blocks and in
// its column's declared representation, so it is never held whole here; any other as the bytes
// the provider holds, with their kind where the provider's columns mix kinds (SQLite), so that a
// later binding converts from what the provider would have converted from. Memory stays bounded: the write buffer, one row's capture, and the offset of
// every 100th row (8 bytes a page), which makes reaching a page a seek and at most 99 rows read.
//
// Threads: one thread at a time, like a rowset. The bytes (SpoolFile) may be read from any thread.
#include "dataaccess/Provider.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace qb::data {

class SpoolFile;

class Spool {
public:
    static constexpr uint64_t kPageRows = 100;

    // Takes the rowset of a statement that has just run, before its first row.
    explicit Spool(std::unique_ptr<Rowset> source);
    // Borrows it: the caller keeps it alive as long as the spool may still fetch from it.
    explicit Spool(Rowset& source);
    ~Spool();
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;

    // The source's columns, asked once. Throws ProviderError.
    const std::vector<ColumnInfo>& columns();
    // Binds the source for the copy, the first time. Throws ProviderError when it refuses.
    void bindSource();

    // Fetches and writes rows until `rows` are held or the source has no more; returns the rows
    // held. Throws the source's ProviderError, after which the source counts as finished and the
    // rows before the failure stay held; throws SpoolError when the rows cannot be written.
    uint64_t hold(uint64_t rows);
    uint64_t rowsHeld() const { return m_rows; }
    // Every row the source will give is held.
    bool finished() const { return m_source == nullptr; }
    // Asks the source for nothing more and releases it: the rows held are all there will be.
    void stopFetching() { finish(); }

    // Where row 0 of page p starts in the file (p < pages held).
    uint64_t pageOffset(uint64_t page) const { return m_pageOffsets.at(size_t(page)); }
    // Where the last row held starts, and where the rows held end (a row being written, or cut
    // off by a failure, lies beyond).
    uint64_t lastRowOffset() const { return m_lastRowOffset; }
    uint64_t bytesHeld() const { return m_bytesHeld; }
    // The bytes; null before the first row was asked for.
    const std::shared_ptr<SpoolFile>& file() const { return m_file; }

private:
    struct Capture;
    bool copyRow();
    void writeRow();
    void writeStream(size_t column, uint8_t tag);
    void put(const void* bytes, size_t count);
    void putHeader(uint8_t tag, uint64_t length);
    void flushRowBytes();
    void finish();

    std::unique_ptr<Rowset> m_owned;
    Rowset* m_source; // null once finished
    std::optional<std::vector<ColumnInfo>> m_columns;
    std::unique_ptr<Capture> m_capture; // set once the source is bound
    std::shared_ptr<SpoolFile> m_file;
    uint64_t m_end = 0;               // bytes appended to the file
    std::vector<std::byte> m_rowBytes; // the row being written, not yet appended
    uint64_t m_rows = 0;
    uint64_t m_lastRowOffset = 0;
    uint64_t m_bytesHeld = 0;
    std::vector<uint64_t> m_pageOffsets;
};

} // namespace qb::data
