#include "explorer/plugins/ui/PluginStartup.h"

#include "explorer/plugins/PluginHost.h"
#include "explorer/plugins/TextBlobPlugin.h"
#include "explorer/plugins/ui/TextViewerDialog.h"

#include <QCoreApplication>

namespace qb::plugins {

QString pluginsFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins/");
}

std::vector<std::unique_ptr<BlobPlugin>> makeInternalPlugins()
{
    std::vector<std::unique_ptr<BlobPlugin>> plugins;
    plugins.push_back(std::make_unique<TextBlobPlugin>([](QbWindow parent, const QString& text) {
        TextViewerDialog dialog(text, static_cast<QWidget*>(parent));
        dialog.exec();
    }));
    return plugins;
}

void startPlugins()
{
    PluginHost::init(pluginsFolder(), makeInternalPlugins);
}

void stopPlugins()
{
    PluginHost::term();
}

} // namespace qb::plugins
