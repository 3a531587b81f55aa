// The console's command-line table: what is an option name, which values belong to it, and
// which occurrence counts.
#include "console/batch/CommandLine.h"

#include <gtest/gtest.h>

namespace qb::console {
namespace {

TEST(CommandLineTest, ANegativeNumberIsAValueNotAnOption)
{
    const CommandLine line(QStringList{"-constr", "-5", "-execute"});
    EXPECT_EQ(line.value("-constr"), "-5");
    EXPECT_TRUE(line.has("-execute"));
    EXPECT_FALSE(line.has("-5"));
    EXPECT_FALSE(CommandLine::isOptionName("-"));
    EXPECT_TRUE(CommandLine::isOptionName("-x"));
}

TEST(CommandLineTest, FurtherArgumentsJoinTheLatestOptionAndOnlyTheFirstValueCounts)
{
    const CommandLine line(QStringList{"stray", "-udl", "/q/one.udl", "/q/two.udl", "-cmd", "select 1;"});
    EXPECT_EQ(line.values("-udl"), (QStringList{"/q/one.udl", "/q/two.udl"}));
    EXPECT_EQ(line.value("-udl"), "/q/one.udl");
    EXPECT_EQ(line.value("-cmd"), "select 1;");
    EXPECT_FALSE(line.has("stray"));
    EXPECT_EQ(line.optionNames(), (QStringList{"-cmd", "-udl"}));
}

TEST(CommandLineTest, ARepeatedOptionKeepsItsFirstOccurrenceAndDropsTheLatersValues)
{
    const CommandLine line(QStringList{"-sql", "a.sql", "-sql", "b.sql", "c.sql", "-execute"});
    EXPECT_EQ(line.values("-sql"), (QStringList{"a.sql"}));
    EXPECT_TRUE(line.has("-execute"));
}

TEST(CommandLineTest, OptionNamesAreCaseSensitiveAndMayGoWithoutValues)
{
    const CommandLine line(QStringList{"-UDL", "x.udl", "-execute"});
    EXPECT_FALSE(line.has("-udl"));
    EXPECT_EQ(line.value("-UDL"), "x.udl");
    EXPECT_TRUE(line.values("-execute").isEmpty());
    EXPECT_EQ(line.value("-execute"), QString());
}

} // namespace
} // namespace qb::console
