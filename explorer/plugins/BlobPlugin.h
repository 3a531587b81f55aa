#pragma once
// One viewer as the host sees it: the text viewer compiled into qorvex, or a ".blob" library
// (ExternalBlobPlugin). The host owns every plug-in object and calls it on the GUI thread only.
//
// Texts come back as copies (std::nullopt where the plug-in answered "no text"), so nothing the
// host keeps points into a plug-in's memory.
#include <quillbase/qbplugin.h>

#include <QString>
#include <cstring>
#include <optional>

namespace qb::plugins {

class BlobPlugin {
public:
    virtual ~BlobPlugin() = default;
    BlobPlugin() = default;
    BlobPlugin(const BlobPlugin&) = delete;
    BlobPlugin& operator=(const BlobPlugin&) = delete;

    // Fills the whole record; the default leaves it zeroed.
    virtual void getDescription(PluginDescription* out) { std::memset(out, 0, sizeof *out); }
    virtual bool hasAbout() const { return false; }
    virtual void showAbout(QbWindow /*parent*/) {}
    virtual bool hasConfigure() const { return false; }
    virtual void showConfigure(QbWindow /*parent*/) {}

    // Why the last show answered false.
    virtual std::optional<QString> lastErrorText() = 0;
    // Shows the value; false when it could not.
    virtual bool show(QbWindow parent, int reserved, BlobValue* value) = 0;
    // Whether the plug-in offers itself for this value.
    virtual bool test(const BlobValue* value) = 0;
    virtual std::optional<QString> menuItemName() = 0;
    // Compiled into qorvex (the Plug-ins dialog tells the two kinds apart).
    virtual bool isInternal() const = 0;
};

} // namespace qb::plugins
