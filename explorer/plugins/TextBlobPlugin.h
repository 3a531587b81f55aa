#pragma once
// The viewer compiled into qorvex: 8-bit and UTF-16 text values as plain text. It always holds
// the first command id and comes first in the menu and in the Plug-ins dialog.
//
// Presenting the text is left to a function the window layer gives (a dialog), so this part has
// no widgets.
#include "explorer/plugins/BlobPlugin.h"

#include <functional>

namespace qb::plugins {

class TextBlobPlugin final : public BlobPlugin {
public:
    // Shows the text, modally over parent, and returns when the user closed it.
    using Presenter = std::function<void(QbWindow parent, const QString& text)>;

    explicit TextBlobPlugin(Presenter present);

    void getDescription(PluginDescription* out) override;
    std::optional<QString> lastErrorText() override;
    // Always true: a type it cannot read is shown as a text saying so.
    bool show(QbWindow parent, int reserved, BlobValue* value) override;
    // Text types only (8-bit and UTF-16).
    bool test(const BlobValue* value) override;
    std::optional<QString> menuItemName() override { return m_menuText; }
    bool isInternal() const override { return true; }

private:
    Presenter m_present;
    QString m_menuText;
    QString m_errorText;
};

// The text of an 8-bit (UTF-8) or UTF-16 value, read from the start of its stream in 4096-byte
// blocks. A zero byte (or unit) ends the text of its block; reading goes on with the next block.
// A failing read ends the reading with what was read so far.
QString readBlobText(const BlobValue& value);

} // namespace qb::plugins
