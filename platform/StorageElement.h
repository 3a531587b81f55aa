#pragma once
// The bytes of one named element of a Storage and the lock over them. The storage and every
// stream object opened on the element share it; reverting it (the element was destroyed or
// replaced, or the storage released) drops the bytes at once, while stream objects that still
// hold it stay valid and answer "reverted".
#include "platform/StorageTempFile.h"

#include <memory>
#include <mutex>

namespace qb {

class StorageElement {
public:
    explicit StorageElement(std::unique_ptr<StorageTempFile> file) : m_file(std::move(file)) {}

    std::mutex& mutex() { return m_mutex; }
    // The caller holds mutex(). Null once reverted.
    StorageTempFile* fileLocked() { return m_file.get(); }

    void revert()
    {
        std::unique_ptr<StorageTempFile> dropped;
        std::lock_guard lock(m_mutex);
        dropped = std::move(m_file);
    }

private:
    std::mutex m_mutex;
    std::unique_ptr<StorageTempFile> m_file;
};

} // namespace qb
