#pragma once
// A private temporary storage of named streams, the stand-in for a temporary compound file
// deleted on release.
//
// Each element's bytes live in a nameless temporary file (StorageTempFile) in the temporary
// folder ($TMPDIR, else /tmp), so the storage has no name anyone could open, large values stay
// out of memory, and nothing remains in the folder once the storage is released or the process
// dies, however it dies.
//
// Element names compare without regard to case. Streams are handed out as QbStream objects
// (quillbase/qbstream.h) carrying one reference for the caller. Replacing or destroying an
// element, or releasing the storage, reverts the stream objects still open on it: they stay
// valid until their last release but answer QB_STG_E_REVERTED, and their bytes are gone at once.
//
// All calls may come from any thread.
#include "platform/StorageElement.h"

#include <quillbase/qbstream.h>

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace qb {

class Storage {
public:
    // A new empty storage in the temporary folder. Raises Brelib::exception with the system's
    // text when the folder cannot hold one (missing, not writable).
    Storage();
    explicit Storage(StorageTempFile::Kind fileKind);
    ~Storage();
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;

    // A new empty stream under the name, replacing an element of that name. Raises
    // Brelib::exception (system text) on failure, leaving an existing element as it was.
    QbStream* createStream(const QString& name);
    // A new stream object on the existing element, positioned at its start; null when the
    // storage has no element of that name.
    QbStream* openStream(const QString& name);
    // Removes the element; false when there was none.
    bool destroyElement(const QString& name);

    // Element names as created, in case-insensitive order.
    QStringList elementNames() const;

private:
    struct Entry {
        QString name;
        std::shared_ptr<StorageElement> element;
    };

    const StorageTempFile::Kind m_fileKind;
    std::string m_folder;
    int m_folderFd = -1;
    mutable std::mutex m_mutex;
    std::map<QString, Entry> m_elements; // by case-folded name
};

} // namespace qb
