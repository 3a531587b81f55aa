#pragma once
// A ".blob" library as a plug-in: its bound exports, its full path and its handle.
//
// Every call into the library is guarded: an exception that escapes an export (a C++ plug-in
// that does not catch its own) is caught here and turned into the answer of an absent export,
// so it never unwinds through the host.
#include "explorer/plugins/BlobPlugin.h"

#include <QString>
#include <memory>
#include <string>

namespace qb::plugins {

class ExternalBlobPlugin final : public BlobPlugin {
public:
    // Loads the library by full path (now, local, never unmapped: nothing of the library's, a
    // Qt object or clipboard data say, can outlive its code) and binds its exports. nullptr when
    // it does not load or lacks one of the required exports; *whyNot then says which.
    static std::unique_ptr<ExternalBlobPlugin> load(const std::string& path, QString* whyNot);
    ~ExternalBlobPlugin() override;

    void getDescription(PluginDescription* out) override;
    bool hasAbout() const override { return m_showAboutBox != nullptr; }
    void showAbout(QbWindow parent) override;
    bool hasConfigure() const override { return m_showConfigurateWnd != nullptr; }
    void showConfigure(QbWindow parent) override;
    std::optional<QString> lastErrorText() override;
    bool show(QbWindow parent, int reserved, BlobValue* value) override;
    bool test(const BlobValue* value) override;
    std::optional<QString> menuItemName() override;
    bool isInternal() const override { return false; }

    const std::string& path() const { return m_path; }
    bool hasTest() const { return m_testBLOB != nullptr; }

private:
    ExternalBlobPlugin(std::string path, void* handle);

    std::string m_path;
    void* m_handle;
    QbGetLastErrorTextAFn m_getLastErrorTextA = nullptr;
    QbGetLastErrorTextWFn m_getLastErrorTextW = nullptr;
    QbShowBLOBFn m_showBLOB = nullptr;
    QbGetMenuItemNameAFn m_getMenuItemNameA = nullptr;
    QbGetMenuItemNameWFn m_getMenuItemNameW = nullptr;
    QbTestBLOBFn m_testBLOB = nullptr;
    QbGetModuleDescriptionAFn m_getModuleDescriptionA = nullptr;
    QbGetModuleDescriptionWFn m_getModuleDescriptionW = nullptr;
    QbShowAboutBoxFn m_showAboutBox = nullptr;
    QbShowConfigurateWndFn m_showConfigurateWnd = nullptr;
};

} // namespace qb::plugins
