// qorvex's command line as a person types it.
#include "explorer/startup/CommandLine.h"

#include <gtest/gtest.h>

using namespace qb::explorer;

namespace {

CommandLine read(std::initializer_list<const char*> args)
{
    QStringList list;
    for (const char* a : args)
        list << QString::fromUtf8(a);
    return readCommandLine(list);
}

} // namespace

TEST(CommandLine, TheDataLinkFileWinsAndAnEmptyOneLeavesTheConnectionString)
{
    CommandLine both = read({"-udl", "/data/shop.udl", "-constr", "Provider=SQLite;Data Source=/x.db"});
    EXPECT_EQ(both.dataLinkFile, "/data/shop.udl");
    EXPECT_TRUE(both.connectionString.isEmpty());

    // -udl without a value: the next argument is an option, so -constr's string is used.
    CommandLine noFile = read({"-udl", "-constr", "Provider=SQLite;Data Source=/x.db"});
    EXPECT_TRUE(noFile.dataLinkFile.isEmpty());
    EXPECT_EQ(noFile.connectionString, "Provider=SQLite;Data Source=/x.db");
    EXPECT_TRUE(noFile.opensConnection());

    EXPECT_FALSE(read({"-udl"}).opensConnection());
}

TEST(CommandLine, ANegativeNumberIsAValueAndOnlyTheFirstValueCounts)
{
    EXPECT_EQ(read({"-constr", "-5"}).connectionString, "-5");
    EXPECT_EQ(read({"-udl", "a.udl", "b.udl"}).dataLinkFile, "a.udl");
    // Given twice: the first entry stays.
    EXPECT_EQ(read({"-udl", "first.udl", "-udl", "second.udl"}).dataLinkFile, "first.udl");
    // A stray word before any option belongs to nothing.
    EXPECT_EQ(read({"stray", "-udl", "x.udl"}).dataLinkFile, "x.udl");
}

TEST(CommandLine, PaneSwitchesShowWinsAndNamesAreCaseSensitive)
{
    CommandLine line = read({"-show_report", "-hide_report", "-hide_dbtree", "-HIDE_DBQBAR"});
    EXPECT_EQ(line.report, PaneSwitch::Show);
    EXPECT_EQ(line.databaseTree, PaneSwitch::Hide);
    EXPECT_EQ(line.quickViewBar, PaneSwitch::Keep);
    EXPECT_EQ(read({"-hide_report", "-show_report"}).report, PaneSwitch::Show);
    EXPECT_EQ(read({"-show_dbqbar"}).quickViewBar, PaneSwitch::Show);
    EXPECT_TRUE(read({"-udl", "x.udl", "-dontsavelayout"}).dontSaveLayout);
    EXPECT_FALSE(read({"-DontSaveLayout"}).dontSaveLayout);
}

TEST(CommandLine, StartCommandsOnlyAsTheWholeLineAndUnknownOptionsAreIgnored)
{
    EXPECT_EQ(read({"-newudl"}).start, StartCommand::NewDataLink);
    EXPECT_EQ(read({"-newcstr"}).start, StartCommand::NewConnectionString);
    EXPECT_EQ(read({"-openudl"}).start, StartCommand::OpenDataLink);

    CommandLine withMore = read({"-openudl", "-dontsavelayout"});
    EXPECT_EQ(withMore.start, StartCommand::None);
    EXPECT_TRUE(withMore.dontSaveLayout);
    EXPECT_EQ(read({"-newudl", "x"}).start, StartCommand::None);

    for (const char* help : {"-?", "-help", "-h", "--version"}) {
        CommandLine line = read({help});
        EXPECT_EQ(line.start, StartCommand::None) << help;
        EXPECT_FALSE(line.opensConnection()) << help;
    }
    EXPECT_EQ(read({}).start, StartCommand::None);
}
