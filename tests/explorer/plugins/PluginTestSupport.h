#pragma once
// Helpers of the plug-in suites: a plugins folder made of copies of the built test libraries,
// the recording plug-in's own account of the calls it got, a cell source of fixed values over a
// real storage, and a host in use for the length of a scope.
#include "explorer/plugins/CellValueSource.h"
#include "explorer/plugins/PluginHost.h"
#include "platform/Storage.h"
#include "support/QStringPrinting.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QStringList>
#include <optional>
#include <string>

namespace qbtest {

class PluginFolder {
public:
    // Copies a built library to `relative` below the folder (sub-folders made as needed).
    std::string add(const char* builtLibrary, const std::string& relative);
    QString path() const { return m_dir.qpath() + QStringLiteral("/"); }
    const TempDir& dir() const { return m_dir; }

private:
    TempDir m_dir;
};

// A library the host loaded, through the recording plug-in's qbtest_* exports.
class RecordedPlugin {
public:
    explicit RecordedPlugin(const std::string& loadedPath);
    ~RecordedPlugin();
    bool isLoaded() const { return m_handle != nullptr; }
    QStringList calls() const;
    void reset();
    QByteArray lastValue() const;
    // Reads from the stream the keeper variant kept, then releases it.
    QbResult readKept();

private:
    void* m_handle;
};

// Cells of fixed content (row and column ignored), handed off through a real storage stream.
class FixedCellSource : public qb::plugins::CellValueSource {
public:
    void set(std::optional<QByteArray> bytes, uint32_t type);
    bool fillValue(int row, int column, BlobValue* value) override;
    void releaseValue(BlobValue* value) override;

    int fills = 0;
    int releases = 0;

private:
    qb::Storage m_storage;
    std::optional<QByteArray> m_bytes;
    uint32_t m_type = QB_TYPE_BYTES;
};

// The host in use from construction to destruction, with the text viewer as its internal plug-in
// (whose shown texts land in `shownTexts`).
class HostInUse {
public:
    explicit HostInUse(const QString& folder);
    ~HostInUse();
    qb::plugins::PluginHost& host() const { return *qb::plugins::PluginHost::instance(); }
    static QStringList& shownTexts();
};

// Labels of a menu, one per item: the text, "---" for a separator, "[disabled] text" for the empty item.
QStringList menuLabels(const qb::plugins::PluginMenu& menu);

} // namespace qbtest
