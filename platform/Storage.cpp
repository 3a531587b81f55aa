#include "platform/Storage.h"

#include "platform/StorageError.h"
#include "platform/StorageStream.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace qb {
namespace {

std::string temporaryFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

QString keyOf(const QString& name)
{
    return name.toCaseFolded();
}

} // namespace

Storage::Storage() : Storage(StorageTempFile::Kind::Nameless)
{
}

Storage::Storage(StorageTempFile::Kind fileKind) : m_fileKind(fileKind), m_folder(temporaryFolder())
{
    m_folderFd = ::open(m_folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        throwStorageError(errno);
    try {
        // Fail here, where the caller expects it, rather than at the first stream.
        StorageTempFile::create(m_folderFd, m_folder, m_fileKind);
    } catch (...) {
        ::close(m_folderFd);
        throw;
    }
}

Storage::~Storage()
{
    for (auto& [key, entry] : m_elements)
        entry.element->revert();
    ::close(m_folderFd);
}

QbStream* Storage::createStream(const QString& name)
{
    if (name.isEmpty())
        throwStorageError(EINVAL);
    auto element = std::make_shared<StorageElement>(StorageTempFile::create(m_folderFd, m_folder, m_fileKind));
    std::shared_ptr<StorageElement> replaced;
    {
        std::lock_guard lock(m_mutex);
        Entry& entry = m_elements[keyOf(name)];
        replaced = std::exchange(entry.element, element);
        entry.name = name;
    }
    if (replaced)
        replaced->revert();
    return StorageStream::open(std::move(element));
}

QbStream* Storage::openStream(const QString& name)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_elements.find(keyOf(name));
    return it == m_elements.end() ? nullptr : StorageStream::open(it->second.element);
}

bool Storage::destroyElement(const QString& name)
{
    std::shared_ptr<StorageElement> destroyed;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_elements.find(keyOf(name));
        if (it == m_elements.end())
            return false;
        destroyed = std::move(it->second.element);
        m_elements.erase(it);
    }
    destroyed->revert();
    return true;
}

QStringList Storage::elementNames() const
{
    std::lock_guard lock(m_mutex);
    QStringList names;
    for (const auto& [key, entry] : m_elements)
        names.append(entry.name);
    return names;
}

} // namespace qb
