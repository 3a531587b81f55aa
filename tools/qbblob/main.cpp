// qbblob: one cell of a query handed to the viewer plug-ins exactly as the data list hands it
// (the plug-ins of the plugins folder beside this program, and the text viewer). For trying
// viewers, and plug-ins under development, without a main window.
//   qbblob -constr "Provider=...;..." -sql "SELECT ..." [-row N] [-column C] [-viewer "menu text"]
//   qbblob -plugins                      the Plug-ins dialog
// Without -viewer the viewer menu opens below the cell; row and column count from 0 and 1.
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/TableData.h"
#include "explorer/browser/ConsoleReportSink.h"
#include "explorer/plugins/BlobStorage.h"
#include "explorer/plugins/PluginHost.h"
#include "explorer/plugins/ui/PluginMenuPopup.h"
#include "explorer/plugins/ui/PluginStartup.h"
#include "explorer/plugins/ui/PluginsDialog.h"
#include "platform/StringTable.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <cstdio>

namespace {

using namespace qb;

QString option(const QStringList& args, const QString& name, const QString& fallback = {})
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

int pluginsDialog()
{
    plugins::PluginsDialog dialog(plugins::mainWindowElementKinds());
    dialog.exec();
    return 0;
}

int openCell(const QStringList& args)
{
    ConsoleReportSink sink("qbblob");
    auto source = data::createDataSource(option(args, QStringLiteral("-constr")));
    source->initialize();
    data::TableData table;
    if (table.loadUserSql(source->createSession(), option(args, QStringLiteral("-sql")), false, sink) !=
        data::TableData::LoadResult::Loaded)
        return 1;
    const int row = option(args, QStringLiteral("-row"), QStringLiteral("0")).toInt();
    const int column = option(args, QStringLiteral("-column"), QStringLiteral("1")).toInt();
    plugins::BlobStorage storage(table, sink);

    QWidget window;
    window.setWindowTitle(QStringLiteral("qbblob"));
    auto* cell = new QLabel(table.cellText(row, column), &window);
    cell->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(cell);
    layout->addStretch();
    window.resize(360, 120);
    window.show();

    const QString viewer = option(args, QStringLiteral("-viewer"));
    if (viewer.isEmpty()) {
        plugins::openPluginMenu(cell, cell->rect(), storage, row, column);
        return 0;
    }
    const auto menu = plugins::PluginHost::instance()->buildMenu(storage, row, column);
    if (!menu)
        return 1;
    for (const plugins::PluginMenuItem& item : menu->items())
        if (item.kind == plugins::PluginMenuItem::Kind::Command && item.text == viewer) {
            const plugins::ShowOutcome outcome = menu->run(item.id, &window);
            if (outcome.warning)
                plugins::showPluginWarning(&window, *outcome.warning);
            return 0;
        }
    std::fprintf(stderr, "qbblob: no viewer \"%s\" offers itself for this cell\n", qPrintable(viewer));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    plugins::startPlugins();
    int code = 2;
    try {
        if (args.contains(QStringLiteral("-plugins")))
            code = pluginsDialog();
        else if (args.contains(QStringLiteral("-constr")) && args.contains(QStringLiteral("-sql")))
            code = openCell(args);
        else
            std::fprintf(stderr, "usage: qbblob -constr CONNECTION -sql SQL [-row N] [-column C] [-viewer TEXT] | -plugins\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qbblob: %s\n", e.what());
        code = 1;
    }
    plugins::stopPlugins();
    return code;
}
