#pragma once
// A value read from a stream of the plug-in ABI as the view asks for it, never held whole: a few
// pages read on demand and kept in a small cache, and the pages the user changed kept apart (edits
// stay with the viewer and never reach the stream).
//
// The stream must stay valid while the buffer is used (the host's value lives for the whole call
// that shows it).
#include "HexBuffer.h"

#include <quillbase/qbstream.h>

#include <list>
#include <map>

namespace bryndle {

class StreamHexBuffer final : public HexBuffer {
public:
    static constexpr size_t kPageSize = 64 * 1024;
    static constexpr size_t kCachedPages = 8;

    // Takes the length from the stream's statistics; *result receives the stream's answer
    // (a failure leaves the buffer empty).
    StreamHexBuffer(QbStream* stream, QbResult* result);

    uint64_t length() const override { return m_length; }
    bool read(uint64_t offset, void* out, size_t size) override;
    bool write(uint64_t offset, const void* in, size_t size) override;

    // The stream's answer to the last failing read (QB_S_OK while none failed).
    QbResult lastFailure() const { return m_lastFailure; }

private:
    // The page's bytes (a full page, or the tail of the value), or nullptr when it cannot be read.
    const QByteArray* page(uint64_t index);
    QByteArray* editablePage(uint64_t index);
    bool load(uint64_t index, QByteArray& into);

    QbStream* m_stream;
    uint64_t m_length = 0;
    QbResult m_lastFailure = QB_S_OK;
    std::list<std::pair<uint64_t, QByteArray>> m_cache; // most recent first
    std::map<uint64_t, QByteArray> m_edited;
};

} // namespace bryndle
