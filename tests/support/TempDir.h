#pragma once
// A fresh folder under the system's temporary folder, removed with the object unless the test
// failed (then it is kept and its path printed, to look at what went wrong).
#include <QString>
#include <filesystem>

namespace qbtest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    QString qpath() const { return QString::fromStdString(m_path.string()); }
    std::filesystem::path file(const std::string& name) const { return m_path / name; }
    QString qfile(const std::string& name) const { return QString::fromStdString(file(name).string()); }

private:
    std::filesystem::path m_path;
};

// Points QUILLBASE_REGISTRY_DIR at a fresh folder for the life of the object.
class ScopedRegistryDir {
public:
    ScopedRegistryDir();
    ~ScopedRegistryDir();
    const TempDir& dir() const { return m_dir; }

private:
    TempDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

} // namespace qbtest
