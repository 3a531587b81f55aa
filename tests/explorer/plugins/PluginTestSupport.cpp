#include "PluginTestSupport.h"

#include "explorer/plugins/TextBlobPlugin.h"

#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>

namespace qbtest {

using namespace qb::plugins;

std::string PluginFolder::add(const char* builtLibrary, const std::string& relative)
{
    const std::filesystem::path target = m_dir.file(relative);
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy_file(builtLibrary, target, std::filesystem::copy_options::overwrite_existing);
    return target.string();
}

RecordedPlugin::RecordedPlugin(const std::string& loadedPath)
    : m_handle(dlopen(loadedPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD))
{
}

RecordedPlugin::~RecordedPlugin()
{
    if (m_handle)
        dlclose(m_handle);
}

template <class F>
static F exportOf(void* handle, const char* name)
{
    if (!handle)
        throw std::runtime_error("the library is not loaded");
    void* f = dlsym(handle, name);
    if (!f)
        throw std::runtime_error(std::string("no test export ") + name);
    return reinterpret_cast<F>(f);
}

QStringList RecordedPlugin::calls() const
{
    const char* log = exportOf<const char* (*)()>(m_handle, "qbtest_log")();
    return QString::fromUtf8(log).split(u'\n', Qt::SkipEmptyParts);
}

void RecordedPlugin::reset()
{
    exportOf<void (*)()>(m_handle, "qbtest_reset")();
}

QByteArray RecordedPlugin::lastValue() const
{
    size_t size = 0;
    const unsigned char* bytes = exportOf<const unsigned char* (*)(size_t*)>(m_handle, "qbtest_value")(&size);
    return QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size));
}

QbResult RecordedPlugin::readKept()
{
    return exportOf<QbResult (*)()>(m_handle, "qbtest_read_kept")();
}

void FixedCellSource::set(std::optional<QByteArray> bytes, uint32_t type)
{
    m_bytes = std::move(bytes);
    m_type = type;
}

bool FixedCellSource::fillValue(int, int, BlobValue* value)
{
    ++fills;
    if (!m_bytes)
        return false;
    QbStream* stream = m_storage.createStream(QStringLiteral("value"));
    uint32_t done = 0;
    if (!m_bytes->isEmpty() && QB_FAILED(stream->table->write(stream, m_bytes->constData(), uint32_t(m_bytes->size()), &done)))
        throw std::runtime_error("writing the test value failed");
    *value = BlobValue{stream, m_type};
    return true;
}

void FixedCellSource::releaseValue(BlobValue* value)
{
    ++releases;
    m_storage.destroyElement(QStringLiteral("value"));
    value->stream->table->release(value->stream);
    value->stream = nullptr;
}

HostInUse::HostInUse(const QString& folder)
{
    shownTexts().clear();
    PluginHost::init(folder, [] {
        std::vector<std::unique_ptr<BlobPlugin>> internal;
        internal.push_back(std::make_unique<TextBlobPlugin>([](QbWindow, const QString& text) { shownTexts() << text; }));
        return internal;
    });
}

HostInUse::~HostInUse()
{
    PluginHost::term();
}

QStringList& HostInUse::shownTexts()
{
    static QStringList texts;
    return texts;
}

QStringList menuLabels(const PluginMenu& menu)
{
    QStringList labels;
    for (const PluginMenuItem& item : menu.items()) {
        switch (item.kind) {
        case PluginMenuItem::Kind::Separator:
            labels << QStringLiteral("---");
            break;
        case PluginMenuItem::Kind::Empty:
            labels << QStringLiteral("[disabled] ") + item.text;
            break;
        case PluginMenuItem::Kind::Command:
            labels << item.text;
            break;
        }
    }
    return labels;
}

} // namespace qbtest
