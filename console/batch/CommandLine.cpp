#include "console/batch/CommandLine.h"

namespace qb::console {

bool CommandLine::isOptionName(const QString& argument)
{
    return argument.size() > 1 && argument[0] == u'-' && !argument[1].isDigit();
}

CommandLine::CommandLine(const QStringList& arguments)
{
    QStringList* current = nullptr; // the values of the option being read; null: ignored
    for (const QString& argument : arguments) {
        if (isOptionName(argument)) {
            const auto [it, inserted] = m_options.try_emplace(argument);
            current = inserted ? &it->second : nullptr;
        } else if (current) {
            current->append(argument);
        }
    }
}

QString CommandLine::value(const QString& option) const
{
    const auto it = m_options.find(option);
    return it == m_options.end() || it->second.isEmpty() ? QString() : it->second.first();
}

QStringList CommandLine::values(const QString& option) const
{
    const auto it = m_options.find(option);
    return it == m_options.end() ? QStringList() : it->second;
}

QStringList CommandLine::optionNames() const
{
    QStringList names;
    for (const auto& [name, values] : m_options)
        names.append(name);
    return names;
}

} // namespace qb::console
