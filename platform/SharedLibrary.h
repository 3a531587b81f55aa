#pragma once
// A library loaded at run time by its full path, its exports bound by name.
//
// Libraries are always loaded with RTLD_NODELETE: ours use Qt, and a Qt object, timer or
// clipboard content of theirs may outlive the call that made it; with the code kept mapped such
// leftovers never point into unmapped memory. RTLD_LOCAL keeps the library's symbols out of
// the program's namespace; RTLD_NOW reports a missing dependency at load time, not at the first
// call.
#include <QString>

namespace qb {

class SharedLibrary {
public:
    // Loads the library; check isLoaded() and errorText(). A relative or empty path is refused:
    // the dynamic loader would search for it.
    explicit SharedLibrary(const QString& fullPath);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool isLoaded() const { return m_handle != nullptr; }
    // The loader's reason for the last failure (dlerror), empty when there was none.
    const QString& errorText() const { return m_error; }

    // The export's address, or nullptr (errorText says why).
    void* symbol(const char* name);
    template <typename F>
    F function(const char* name)
    {
        return reinterpret_cast<F>(symbol(name));
    }

private:
    void* m_handle = nullptr;
    QString m_error;
};

} // namespace qb
