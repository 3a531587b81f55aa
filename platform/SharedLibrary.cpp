#include "platform/SharedLibrary.h"

#include <QDir>
#include <QFile>

#include <dlfcn.h>

namespace qb {
namespace {

QString lastLoaderError()
{
    const char* text = ::dlerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}

} // namespace

SharedLibrary::SharedLibrary(const QString& fullPath)
{
    if (fullPath.isEmpty() || QDir::isRelativePath(fullPath)) {
        m_error = QStringLiteral("\"%1\": a library is loaded by its full path only").arg(fullPath);
        return;
    }
    ::dlerror();
    m_handle = ::dlopen(QFile::encodeName(fullPath).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!m_handle)
        m_error = lastLoaderError();
}

SharedLibrary::~SharedLibrary()
{
    if (m_handle)
        ::dlclose(m_handle);
}

void* SharedLibrary::symbol(const char* name)
{
    if (!m_handle)
        return nullptr;
    ::dlerror();
    void* address = ::dlsym(m_handle, name);
    m_error = address ? QString() : lastLoaderError();
    return address;
}

} // namespace qb
