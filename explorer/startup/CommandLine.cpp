#include "explorer/startup/CommandLine.h"

namespace qb::explorer {
namespace {

PaneSwitch paneSwitch(const CommandLineOptions& options, const char* show, const char* hide)
{
    if (options.has(QString::fromLatin1(show)))
        return PaneSwitch::Show;
    return options.has(QString::fromLatin1(hide)) ? PaneSwitch::Hide : PaneSwitch::Keep;
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments)
{
    CommandLine line;
    if (arguments.size() == 1) {
        const QString& whole = arguments.constFirst();
        if (whole == u"-newudl")
            line.start = StartCommand::NewDataLink;
        else if (whole == u"-newcstr")
            line.start = StartCommand::NewConnectionString;
        else if (whole == u"-openudl")
            line.start = StartCommand::OpenDataLink;
        if (line.start != StartCommand::None)
            return line;
    }
    const CommandLineOptions options(arguments);
    line.dataLinkFile = options.value(QStringLiteral("-udl"));
    if (line.dataLinkFile.isEmpty())
        line.connectionString = options.value(QStringLiteral("-constr"));
    line.dontSaveLayout = options.has(QStringLiteral("-dontsavelayout"));
    line.quickViewBar = paneSwitch(options, "-show_dbqbar", "-hide_dbqbar");
    line.report = paneSwitch(options, "-show_report", "-hide_report");
    line.databaseTree = paneSwitch(options, "-show_dbtree", "-hide_dbtree");
    return line;
}

} // namespace qb::explorer
