#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace qbtest {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qbtest-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info && info->result() && info->result()->Failed()) {
        std::fprintf(stderr, "kept for inspection: %s\n", m_path.c_str());
        return;
    }
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

ScopedRegistryDir::ScopedRegistryDir()
    : m_previous(qgetenv("QUILLBASE_REGISTRY_DIR")), m_hadPrevious(qEnvironmentVariableIsSet("QUILLBASE_REGISTRY_DIR"))
{
    qputenv("QUILLBASE_REGISTRY_DIR", m_dir.qpath().toUtf8());
}

ScopedRegistryDir::~ScopedRegistryDir()
{
    if (m_hadPrevious)
        qputenv("QUILLBASE_REGISTRY_DIR", m_previous);
    else
        qunsetenv("QUILLBASE_REGISTRY_DIR");
}

} // namespace qbtest
