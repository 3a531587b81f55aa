// Both programs' command lines over any arguments (NUL bytes split the input into arguments).
// Properties: the table holds exactly the option names given; each option's values are the
// arguments between its first occurrence and the next option name; qorvex's start commands
// come only from a command line of one argument, and a data link file leaves the connection
// string unread.
#include "common/CommandLineOptions.h"
#include "explorer/startup/CommandLine.h"
#include "support/FuzzSupport.h"

namespace {

using qb::CommandLineOptions;

void checkTable(const QStringList& arguments)
{
    const CommandLineOptions options(arguments);
    QStringList given;
    for (const QString& argument : arguments)
        if (CommandLineOptions::isOptionName(argument) && !given.contains(argument))
            given.append(argument);
    QBFUZZ_CHECK(options.optionNames().size() == given.size(),
                 QStringLiteral("%1 names for %2 given").arg(options.optionNames().size()).arg(given.size()));

    for (const QString& name : given) {
        QBFUZZ_CHECK(options.has(name), name);
        QStringList expected;
        for (qsizetype i = arguments.indexOf(name) + 1; i < arguments.size() && !CommandLineOptions::isOptionName(arguments[i]); ++i)
            expected.append(arguments[i]);
        QBFUZZ_CHECK(options.values(name) == expected, QStringLiteral("the values of %1").arg(name));
        QBFUZZ_CHECK(options.value(name) == (expected.isEmpty() ? QString() : expected.first()), name);
    }
}

void checkExplorer(const QStringList& arguments)
{
    const qb::explorer::CommandLine line = qb::explorer::readCommandLine(arguments);
    if (line.start != qb::explorer::StartCommand::None)
        QBFUZZ_CHECK(arguments.size() == 1 && !line.opensConnection(), arguments.join(u' '));
    if (!line.dataLinkFile.isEmpty())
        QBFUZZ_CHECK(line.connectionString.isEmpty(), line.connectionString);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList arguments = qbfuzz::textOf(data, size).split(QChar(u'\0'));
    checkTable(arguments);
    checkExplorer(arguments);
    return 0;
}
