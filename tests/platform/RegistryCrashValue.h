#pragma once
// The large value that the crash test's writer rewrites: every 32-bit word holds the generation, so
// a value torn between two writes shows as mixed words.
#include <QByteArray>
#include <cstdint>
#include <cstring>
#include <optional>

namespace qbtest {

constexpr int crashValueWords = 256 * 1024; // 1 MiB: a write takes long enough to be cut into

inline QByteArray crashValue(uint32_t generation)
{
    QByteArray data(crashValueWords * 4, Qt::Uninitialized);
    for (int i = 0; i < crashValueWords; ++i)
        std::memcpy(data.data() + 4 * i, &generation, 4);
    return data;
}

// The generation a stored value holds, or nothing when it is not one whole generation.
inline std::optional<uint32_t> crashValueGeneration(const QByteArray& data)
{
    if (data.size() != crashValueWords * 4)
        return std::nullopt;
    uint32_t first;
    std::memcpy(&first, data.constData(), 4);
    if (data != crashValue(first))
        return std::nullopt;
    return first;
}

} // namespace qbtest
