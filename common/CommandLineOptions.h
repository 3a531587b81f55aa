#pragma once
// A program's command line as a table: option name -> values. Both programs read their
// arguments by these rules.
//
// - An argument is an option name when it has more than one character, starts with "-" and its
//   second character is not a decimal digit ("-5" is a value).
// - Names compare exactly. An option given twice keeps its first occurrence; the later one and
//   the values that follow it are ignored.
// - The arguments after an option, up to the next option name, are its values; arguments before
//   the first option are ignored.
#include <QStringList>
#include <map>

namespace qb {

class CommandLineOptions {
public:
    CommandLineOptions() = default;
    // The arguments without the program name.
    explicit CommandLineOptions(const QStringList& arguments);

    static bool isOptionName(const QString& argument);

    bool has(const QString& option) const { return m_options.count(option) != 0; }
    // The option's first value, or empty.
    QString value(const QString& option) const;
    QStringList values(const QString& option) const;
    // Every option given, in name order.
    QStringList optionNames() const;

private:
    std::map<QString, QStringList> m_options;
};

} // namespace qb
