// The menu object against a private registry: which selections get the items, the arguments built
// from the templates, and the programs it starts, seen through a stand-in that reports its argv.
#include "ShellExtFixture.h"
#include "shellext/CommandArguments.h"
#include "shellext/ContextMenu.h"

#include <QDir>

using namespace qb::shellext;
using Args = QList<QByteArray>;

namespace {

class ContextMenuTest : public qbtest::ShellExtFixture {
protected:
    void SetUp() override
    {
        ShellExtFixture::SetUp();
        setTemplate(QStringLiteral(".udl"), QStringLiteral("-udl \"%1\""));
        setCorePath(corePath());
    }

    QByteArray core(const char* program) const { return (corePath() + QLatin1String(program)).toUtf8(); }
};

std::vector<Command> commandsOf(const std::vector<MenuItem>& items)
{
    std::vector<Command> commands;
    for (const MenuItem& item : items)
        commands.push_back(item.command);
    return commands;
}

TEST_F(ContextMenuTest, SelectionWithOneRegisteredFileGetsOneArgumentFromItAndBothItems)
{
    ContextMenu menu;
    ASSERT_EQ(menu.initialize({"/data/a.txt", "/data/b.UDL"}), kOk);
    ASSERT_EQ(menu.arguments().size(), 1u);
    EXPECT_EQ(menu.arguments()[0], (Args{"-udl", "/data/b.UDL"}));
    const std::vector<MenuItem> items = menu.menuItems(kMenuNormal);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].command, Command::Explore);
    EXPECT_EQ(items[0].text, QStringLiteral("Explore data base"));
    EXPECT_EQ(items[1].command, Command::Execute);
    EXPECT_EQ(items[1].text, QStringLiteral("Execute SQL query"));
}

TEST_F(ContextMenuTest, OnlyMenusThatAskForMoreThanTheDefaultItemGetTheItems)
{
    ContextMenu menu;
    ASSERT_EQ(menu.initialize({"/data/x.udl"}), kOk);
    EXPECT_TRUE(menu.menuItems(kMenuDefaultOnly).empty());
    EXPECT_TRUE(menu.menuItems(0x8).empty()); // a kind of menu the extension does not join
    EXPECT_EQ(commandsOf(menu.menuItems(kMenuVerbsOnly)), (std::vector{Command::Explore, Command::Execute}));
    EXPECT_EQ(commandsOf(menu.menuItems(kMenuExplore | kMenuDefaultOnly)), (std::vector{Command::Explore, Command::Execute}));
    EXPECT_EQ(commandsOf(menu.menuItems(0x10)), (std::vector{Command::Explore, Command::Execute})); // above the low four bits
}

TEST_F(ContextMenuTest, SelectionsWithoutARegisteredFileGetNoItems)
{
    ContextMenu menu;
    EXPECT_EQ(menu.initialize({"/data/a.txt", "/data/noextension", "/data/x.udl.bak"}), kFail);
    EXPECT_TRUE(menu.menuItems(kMenuNormal).empty());
    // The extension is the file name's: a dot in a folder's name does not count.
    EXPECT_EQ(menu.initialize({"/data/set.udl/readme", "/data.udl/x"}), kFail);
    EXPECT_EQ(menu.initialize({}), kFail);
}

TEST_F(ContextMenuTest, WithoutTheTableKeyNoFileGetsTheItems)
{
    ASSERT_EQ(qb::reg::RegDeleteTree(qb::reg::HKEY_LOCAL_MACHINE, extensionTableKey()), qb::reg::ERROR_SUCCESS);
    ContextMenu menu;
    EXPECT_EQ(menu.initialize({"/data/x.udl"}), kFail);
    EXPECT_TRUE(menu.menuItems(kMenuNormal).empty());
}

TEST_F(ContextMenuTest, TheFirstMatchingEntryWinsAndEntriesWithoutATemplateAreSkipped)
{
    setTemplate(QStringLiteral(".sql"), QStringLiteral("-sql %1"));
    setText(extensionTableKey() + QStringLiteral("\\.db"), QStringLiteral("other value"), QStringLiteral("-udl %1"));
    ContextMenu menu;
    EXPECT_EQ(menu.initialize({"/q/a.db", "/q/b.SQL", "/q/c.Udl"}), kOk);
    ASSERT_EQ(menu.arguments().size(), 2u);
    EXPECT_EQ(menu.arguments()[0], (Args{"-sql", "/q/b.SQL"}));
    EXPECT_EQ(menu.arguments()[1], (Args{"-udl", "/q/c.Udl"}));
}

TEST(ArgumentTemplate, PlaceholdersGetThePathAndItsFolderWithTheTrailingSlash)
{
    EXPECT_EQ(buildArguments(QStringLiteral("-udl %1"), "/data/x.udl"), (Args{"-udl", "/data/x.udl"}));
    EXPECT_EQ(buildArguments(QStringLiteral("-dir %0 -udl %1"), "/data/x.udl"), (Args{"-dir", "/data/", "-udl", "/data/x.udl"}));
    EXPECT_EQ(buildArguments(QStringLiteral("%1 --again=%1"), "/d/x.udl"), (Args{"/d/x.udl", "--again=/d/x.udl"}));
    EXPECT_EQ(buildArguments(QStringLiteral("-udl \"%0copy of %1\" \"\""), "/d/x.udl"), (Args{"-udl", "/d/copy of /d/x.udl", ""}));
    // Without a folder in the path "%0" stays as it is; "%2" and a lone "%" are no placeholders.
    EXPECT_EQ(buildArguments(QStringLiteral("%0 %2 100% %"), "x.udl"), (Args{"%0", "%2", "100%", "%"}));
}

TEST(ArgumentTemplate, APathHoldingPlaceholdersIsNotSubstitutedAgain)
{
    EXPECT_EQ(buildArguments(QStringLiteral("%1 %0"), "/a%0b/%1.udl"), (Args{"/a%0b/%1.udl", "/a%0b/"}));
}

TEST(ArgumentTemplate, LongPathsAreNotCut)
{
    const QByteArray path = "/" + QByteArray(300, 'f') + "/" + QByteArray(1500, 'n') + ".udl";
    const QString longTemplate = QStringLiteral("-udl %1 ") + QString(1100, u'x');
    const Args arguments = buildArguments(longTemplate, path);
    ASSERT_EQ(arguments.size(), 3);
    EXPECT_EQ(arguments[1], path);
    EXPECT_EQ(arguments[2].size(), 1100);
    EXPECT_EQ(fileExtension(path), QStringLiteral(".udl"));
}

TEST(ArgumentTemplate, RelativePathsAreMadeFullAgainstTheCurrentFolder)
{
    const QByteArray here = QDir::currentPath().toUtf8();
    EXPECT_EQ(absolutePath("-x.udl"), here + "/-x.udl");
    EXPECT_EQ(absolutePath("/abs/x.udl"), "/abs/x.udl");
}

TEST_F(ContextMenuTest, ExecuteStartsTessmarFromTheCorePathWithTheArgumentAndDontSaveLayout)
{
    ContextMenu menu;
    ASSERT_EQ(menu.initialize({"/data/first.udl", "/data/second.udl"}), kOk);
    ASSERT_EQ(menu.invokeCommand(uint32_t(Command::Execute)), kOk) << menu.errorText().toStdString();
    EXPECT_EQ(nextRecordedArgv(), (Args{core("tessmar"), "-udl", "/data/first.udl", "-dontsavelayout"}));

    ASSERT_EQ(menu.invokeCommand(uint32_t(Command::Explore)), kOk) << menu.errorText().toStdString();
    EXPECT_EQ(nextRecordedArgv(), (Args{core("qorvex"), "-udl", "/data/first.udl", "-dontsavelayout"}));
}

TEST_F(ContextMenuTest, HostileFileNamesArriveAsExactlyOneArgument)
{
    const QList<QByteArray> names = {
        "my data.udl",         "it's \"quoted\".udl", "a;rm -rf x;.udl", "$(touch pwned).udl",
        "`id` && echo.udl",    "-evil.udl",           "tab\tand\nline.udl", "\xff\xfe not utf-8.udl",
        "--help.udl",
    };
    for (const QByteArray& name : names) {
        const QByteArray path = "/data/" + name;
        ContextMenu menu;
        ASSERT_EQ(menu.initialize({path}), kOk) << name.toStdString();
        ASSERT_EQ(menu.invokeCommand(uint32_t(Command::Explore)), kOk) << menu.errorText().toStdString();
        EXPECT_EQ(nextRecordedArgv(), (Args{core("qorvex"), "-udl", path, "-dontsavelayout"})) << name.toStdString();
    }
    // A leading "-" in a relative name cannot pass for an option either: the path is made full.
    ContextMenu menu;
    ASSERT_EQ(menu.initialize({"-evil.udl"}), kOk);
    ASSERT_EQ(menu.invokeCommand(uint32_t(Command::Execute)), kOk) << menu.errorText().toStdString();
    EXPECT_EQ(nextRecordedArgv(), (Args{core("tessmar"), "-udl", absolutePath("-evil.udl"), "-dontsavelayout"}));
}

TEST_F(ContextMenuTest, ACorePathWithoutItsTrailingSlashStillNamesTheFolder)
{
    setCorePath(m_core.qfile("core"));
    ContextMenu menu;
    ASSERT_EQ(menu.initialize({"/data/x.udl"}), kOk);
    ASSERT_EQ(menu.invokeCommand(uint32_t(Command::Execute)), kOk) << menu.errorText().toStdString();
    EXPECT_EQ(nextRecordedArgv().value(0), core("tessmar"));
}

TEST_F(ContextMenuTest, CommandsThatCannotStartSayWhy)
{
    ContextMenu menu;
    ASSERT_EQ(menu.initialize({"/data/x.udl"}), kOk);
    EXPECT_EQ(menu.invokeCommand(2), kInvalidArgument);

    ASSERT_TRUE(QFile::remove(corePath() + QStringLiteral("tessmar")));
    EXPECT_EQ(menu.invokeCommand(uint32_t(Command::Execute)), kFail);
    EXPECT_EQ(menu.errorText(), QStringLiteral("cannot start %1tessmar: No such file or directory").arg(corePath()));

    // Nothing else is searched: a relative core path is refused, not looked up from here.
    setCorePath(QStringLiteral("core/"));
    EXPECT_EQ(menu.invokeCommand(uint32_t(Command::Explore)), kFail);
    EXPECT_EQ(menu.errorText(), QStringLiteral("the installation folder \"core/\" is not an absolute path"));

    ASSERT_EQ(qb::reg::RegDeleteTree(qb::reg::HKEY_LOCAL_MACHINE, installationKey()), qb::reg::ERROR_SUCCESS);
    EXPECT_EQ(menu.invokeCommand(uint32_t(Command::Explore)), kFail);
    EXPECT_EQ(menu.errorText(), QStringLiteral("the installation folder (\"core path\") is not in the registry"));

    ContextMenu empty;
    EXPECT_EQ(empty.invokeCommand(uint32_t(Command::Explore)), kFail);
}

} // namespace
