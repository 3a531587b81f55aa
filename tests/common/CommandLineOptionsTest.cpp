// The command-line table of both programs: what is an option name, which values belong to it,
// and which occurrence counts.
#include "common/CommandLineOptions.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(CommandLineOptions, ANegativeNumberIsAValueNotAnOption)
{
    const CommandLineOptions line(QStringList{"-constr", "-5", "-execute"});
    EXPECT_EQ(line.value("-constr"), "-5");
    EXPECT_TRUE(line.has("-execute"));
    EXPECT_FALSE(line.has("-5"));
    EXPECT_FALSE(CommandLineOptions::isOptionName("-"));
    EXPECT_TRUE(CommandLineOptions::isOptionName("-x"));
    EXPECT_TRUE(CommandLineOptions::isOptionName("-x5"));
    EXPECT_FALSE(CommandLineOptions::isOptionName("-0x"));
    // Only ASCII digits make a number: a fullwidth digit starts an option name.
    EXPECT_TRUE(CommandLineOptions::isOptionName(QString::fromUtf8("-\xef\xbc\x95")));
}

TEST(CommandLineOptions, FurtherArgumentsJoinTheLatestOptionAndOnlyTheFirstValueCounts)
{
    const CommandLineOptions line(QStringList{"stray", "-udl", "/q/one.udl", "/q/two.udl", "-cmd", "select 1;"});
    EXPECT_EQ(line.values("-udl"), (QStringList{"/q/one.udl", "/q/two.udl"}));
    EXPECT_EQ(line.value("-udl"), "/q/one.udl");
    EXPECT_EQ(line.value("-cmd"), "select 1;");
    EXPECT_FALSE(line.has("stray"));
    EXPECT_EQ(line.optionNames(), (QStringList{"-cmd", "-udl"}));
}

TEST(CommandLineOptions, ARepeatedOptionKeepsItsFirstOccurrenceAndDropsTheLatersValues)
{
    const CommandLineOptions line(QStringList{"-sql", "a.sql", "-sql", "b.sql", "c.sql", "-execute"});
    EXPECT_EQ(line.values("-sql"), (QStringList{"a.sql"}));
    EXPECT_TRUE(line.has("-execute"));
}

TEST(CommandLineOptions, OptionNamesAreCaseSensitiveAndMayGoWithoutValues)
{
    const CommandLineOptions line(QStringList{"-UDL", "x.udl", "-execute"});
    EXPECT_FALSE(line.has("-udl"));
    EXPECT_EQ(line.value("-UDL"), "x.udl");
    EXPECT_TRUE(line.values("-execute").isEmpty());
    EXPECT_EQ(line.value("-execute"), QString());
}

} // namespace
} // namespace qb
