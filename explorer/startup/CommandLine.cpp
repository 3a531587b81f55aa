#include "explorer/startup/CommandLine.h"

namespace qb::explorer {
namespace {

PaneSwitch paneSwitch(const std::map<QString, QStringList>& options, const char* show, const char* hide)
{
    if (options.count(QString::fromLatin1(show)))
        return PaneSwitch::Show;
    return options.count(QString::fromLatin1(hide)) ? PaneSwitch::Hide : PaneSwitch::Keep;
}

QString firstValue(const std::map<QString, QStringList>& options, const char* name)
{
    const auto it = options.find(QString::fromLatin1(name));
    return it == options.end() || it->second.isEmpty() ? QString() : it->second.constFirst();
}

} // namespace

bool isOption(const QString& argument)
{
    return argument.size() > 1 && argument[0] == u'-' && !(argument[1] >= u'0' && argument[1] <= u'9');
}

std::map<QString, QStringList> parseOptions(const QStringList& arguments)
{
    std::map<QString, QStringList> options;
    QStringList* current = nullptr; // the values of the most recent option, when it is the kept entry
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!isOption(argument)) {
            if (current)
                current->append(argument);
            continue;
        }
        const auto [it, inserted] = options.try_emplace(argument);
        current = inserted ? &it->second : nullptr;
        if (i + 1 < arguments.size() && !isOption(arguments[i + 1])) {
            ++i;
            if (current)
                current->append(arguments[i]);
        }
    }
    return options;
}

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
    const auto options = parseOptions(arguments);
    line.dataLinkFile = firstValue(options, "-udl");
    if (line.dataLinkFile.isEmpty())
        line.connectionString = firstValue(options, "-constr");
    line.dontSaveLayout = options.count(QStringLiteral("-dontsavelayout")) > 0;
    line.quickViewBar = paneSwitch(options, "-show_dbqbar", "-hide_dbqbar");
    line.report = paneSwitch(options, "-show_report", "-hide_report");
    line.databaseTree = paneSwitch(options, "-show_dbtree", "-hide_dbtree");
    return line;
}

} // namespace qb::explorer
