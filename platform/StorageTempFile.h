#pragma once
// One nameless temporary file: the bytes of one storage element.
//
// The file is made with O_TMPFILE, so it never has a name: it exists only as long as a
// descriptor refers to it, and the kernel frees it when the last one closes, also when the
// process is killed. Nothing can be left behind in the temporary folder. On a file system
// without O_TMPFILE the file is made with a unique name and unlinked at once; only a kill in
// the microseconds between those two calls could leave it behind.
//
// The data lives in the file, not in memory, so values of any size pass through (on a tmpfs
// folder the kernel's page cache holds them, and can swap them out).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qb {

class StorageTempFile {
public:
    enum class Kind {
        Nameless,       // O_TMPFILE, falling back to UnlinkedAtOnce where unsupported
        UnlinkedAtOnce, // the fallback on its own
    };

    // A new empty file in the folder (folderFd opened on folderPath). Raises Brelib::exception
    // with the system's text on failure.
    static std::unique_ptr<StorageTempFile> create(int folderFd, const std::string& folderPath,
                                                   Kind kind = Kind::Nameless);
    ~StorageTempFile();
    StorageTempFile(const StorageTempFile&) = delete;
    StorageTempFile& operator=(const StorageTempFile&) = delete;

    // The calls below answer 0 or an errno value, and always set *done (bytes moved so far).
    // Reads until size bytes or the end of the file.
    int readAt(uint64_t offset, void* buffer, size_t size, size_t* done) const;
    // Writes all bytes or fails.
    int writeAt(uint64_t offset, const void* buffer, size_t size, size_t* done);
    int size(uint64_t* bytes) const;

private:
    explicit StorageTempFile(int fd) : m_fd(fd) {}
    int m_fd;
};

} // namespace qb
