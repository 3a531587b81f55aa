#pragma once
// A stream object over one storage element, behind the C stream table of the plug-in ABI
// (quillbase/qbstream.h). Each object keeps its own seek position; objects on the same element
// share its bytes. Every table function catches everything: nothing throws across the ABI.
#include "platform/StorageElement.h"

#include <quillbase/qbstream.h>

#include <atomic>
#include <memory>

namespace qb {

class StorageStream final : public QbStream {
public:
    // A new object on the element, holding one reference for the caller, positioned at 0.
    static QbStream* open(std::shared_ptr<StorageElement> element);

    StorageStream(const StorageStream&) = delete;
    StorageStream& operator=(const StorageStream&) = delete;

private:
    explicit StorageStream(std::shared_ptr<StorageElement> element);
    ~StorageStream() = default;

    static uint32_t addRef(QbStream* self);
    static uint32_t release(QbStream* self);
    static QbResult read(QbStream* self, void* buffer, uint32_t size, uint32_t* done);
    static QbResult write(QbStream* self, const void* buffer, uint32_t size, uint32_t* done);
    static QbResult seek(QbStream* self, int64_t offset, uint32_t origin, uint64_t* position);
    static QbResult stat(QbStream* self, QbStreamStat* out);

    // Runs op(file) under the element's lock, or answers "reverted" once its bytes are gone;
    // catches everything, as the table functions stand at the ABI. *position, when given,
    // receives the seek position as the call leaves it, whatever the outcome.
    template <class Op>
    QbResult withFile(Op op, uint64_t* position = nullptr);
    // read and write: checks the arguments, then move(file, at, &moved) answers 0 or an errno
    // value, which failure turns into the result; the position advances past what moved.
    template <class Move>
    static QbResult transfer(QbStream* self, const void* buffer, uint32_t size, uint32_t* done,
                             QbResult (*failure)(int), Move move);

    static const QbStreamTable s_table;

    std::atomic<uint32_t> m_references{1};
    const std::shared_ptr<StorageElement> m_element;
    uint64_t m_position = 0; // guarded by the element's mutex
};

} // namespace qb
