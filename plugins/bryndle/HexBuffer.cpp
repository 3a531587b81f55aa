#include "HexBuffer.h"

#include <cstring>

namespace bryndle {

bool MemoryHexBuffer::read(uint64_t offset, void* out, size_t size)
{
    if (!rangeWithin(offset, size, length()))
        return false;
    if (size)
        std::memcpy(out, m_bytes.constData() + offset, size);
    return true;
}

bool MemoryHexBuffer::write(uint64_t offset, const void* in, size_t size)
{
    if (!rangeWithin(offset, size, length()))
        return false;
    if (size)
        std::memcpy(m_bytes.data() + offset, in, size);
    return true;
}

} // namespace bryndle
