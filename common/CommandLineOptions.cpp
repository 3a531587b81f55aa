#include "common/CommandLineOptions.h"

namespace qb {

bool CommandLineOptions::isOptionName(const QString& argument)
{
    // ASCII digits only: a fullwidth or Arabic-Indic digit after "-" is no negative number.
    return argument.size() > 1 && argument[0] == u'-' && !(argument[1] >= u'0' && argument[1] <= u'9');
}

CommandLineOptions::CommandLineOptions(const QStringList& arguments)
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

QString CommandLineOptions::value(const QString& option) const
{
    const auto it = m_options.find(option);
    return it == m_options.end() || it->second.isEmpty() ? QString() : it->second.first();
}

QStringList CommandLineOptions::values(const QString& option) const
{
    const auto it = m_options.find(option);
    return it == m_options.end() ? QStringList() : it->second;
}

QStringList CommandLineOptions::optionNames() const
{
    QStringList names;
    for (const auto& [name, values] : m_options)
        names.append(name);
    return names;
}

} // namespace qb
