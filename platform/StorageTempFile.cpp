#include "platform/StorageTempFile.h"

#include "platform/StorageError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

// The kernel or file system does not do O_TMPFILE (EISDIR: kernels that predate it and take
// the flag for O_DIRECTORY).
bool tmpfileUnsupported(int err)
{
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL;
}

int createUnlinkedAtOnce(const std::string& folderPath)
{
    std::string name = folderPath + "/.qb-storage-XXXXXX";
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (unlink(name.c_str()) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

constexpr uint64_t MaxOffset = uint64_t(LLONG_MAX);

} // namespace

std::unique_ptr<StorageTempFile> StorageTempFile::create(int folderFd, const std::string& folderPath, Kind kind)
{
    int fd = -1;
    if (kind == Kind::Nameless) {
        fd = openat(folderFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0 && tmpfileUnsupported(errno))
            kind = Kind::UnlinkedAtOnce;
    }
    if (kind == Kind::UnlinkedAtOnce)
        fd = createUnlinkedAtOnce(folderPath);
    if (fd < 0)
        throwStorageError(errno);
    return std::unique_ptr<StorageTempFile>(new StorageTempFile(fd));
}

StorageTempFile::~StorageTempFile()
{
    ::close(m_fd);
}

int StorageTempFile::readAt(uint64_t offset, void* buffer, size_t size, size_t* done) const
{
    *done = 0;
    auto* out = static_cast<char*>(buffer);
    while (*done < size) {
        if (offset + *done > MaxOffset)
            return 0; // nothing can lie beyond the largest offset
        const ssize_t n = pread(m_fd, out + *done, size - *done, off_t(offset + *done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0; // end of file
        *done += size_t(n);
    }
    return 0;
}

int StorageTempFile::writeAt(uint64_t offset, const void* buffer, size_t size, size_t* done)
{
    *done = 0;
    const auto* in = static_cast<const char*>(buffer);
    if (size > 0 && (offset > MaxOffset || size - 1 > MaxOffset - offset))
        return EFBIG;
    while (*done < size) {
        const ssize_t n = pwrite(m_fd, in + *done, size - *done, off_t(offset + *done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO; // no progress and no reason: do not spin
        *done += size_t(n);
    }
    return 0;
}

int StorageTempFile::size(uint64_t* bytes) const
{
    struct stat info {};
    if (fstat(m_fd, &info) != 0) {
        *bytes = 0;
        return errno;
    }
    *bytes = uint64_t(info.st_size);
    return 0;
}

} // namespace qb
