#include "shellext/ContextMenu.h"

#include "shellext/CommandArguments.h"
#include "shellext/CorePath.h"
#include "shellext/DetachedProcess.h"
#include "shellext/ExtensionTable.h"
#include "shellext/ShellExtKeys.h"

namespace qb::shellext {

QByteArray programName(Command command)
{
    return command == Command::Explore ? QByteArrayLiteral("qorvex") : QByteArrayLiteral("tessmar");
}

int32_t ContextMenu::initialize(const QList<QByteArray>& paths)
{
    m_arguments.clear();
    m_error.clear();
    const std::optional<std::vector<ExtensionEntry>> table = readExtensionTable();
    if (!table)
        return fail(QStringLiteral("the table of file types is not in the registry"));
    for (const QByteArray& selected : paths) {
        const QByteArray path = absolutePath(selected);
        const QString extension = fileExtension(path);
        if (extension.isEmpty())
            continue;
        if (const ExtensionEntry* entry = findEntry(*table, extension))
            m_arguments.push_back(buildArguments(entry->argumentTemplate, path));
    }
    if (m_arguments.empty())
        return fail(QStringLiteral("no file of a registered type was given"));
    return kOk;
}

std::vector<MenuItem> ContextMenu::menuItems(uint32_t flags) const
{
    if (m_arguments.empty())
        return {};
    const bool normal = (flags & 0xF) == kMenuNormal;
    if (!normal && !(flags & (kMenuVerbsOnly | kMenuExplore)))
        return {};
    return {{Command::Explore, exploreItemText()}, {Command::Execute, executeItemText()}};
}

int32_t ContextMenu::invokeCommand(uint32_t offset)
{
    m_error.clear();
    if (offset > uint32_t(Command::Execute))
        return kInvalidArgument;
    if (m_arguments.empty())
        return fail(QStringLiteral("no file of a registered type was given"));
    QString why;
    const std::optional<QByteArray> folder = readCorePath(&why);
    if (!folder)
        return fail(why);
    QList<QByteArray> arguments = m_arguments.front();
    arguments << QByteArrayLiteral("-dontsavelayout");
    const QString failure = startDetached(*folder + programName(Command(offset)), arguments);
    return failure.isEmpty() ? kOk : fail(failure);
}

int32_t ContextMenu::fail(const QString& text)
{
    m_error = text;
    return kFail;
}

} // namespace qb::shellext
