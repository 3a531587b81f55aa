// The data list's cell cursor at the page edges and the commands' enabled states: pure rules,
// checked without a window.
#include "explorer/ui/CellCursor.h"
#include "explorer/ui/CommandIds.h"
#include "explorer/ui/CommandStates.h"
#include "explorer/ui/CommandTable.h"

#include <gtest/gtest.h>

#include <Qt>
#include <set>

using namespace qb::ui;
using Turn = CellCursor::PageTurn;

namespace {

CellCursor::Extent page(int items, bool next, bool previous)
{
    return CellCursor::Extent{items, 4, 10, next, previous};
}

} // namespace

TEST(CellCursorTest, DownOnTheLastRowTurnsThePageAndAShortLastPageClampsTheCursor)
{
    CellCursor c;
    ASSERT_TRUE(c.moveTo(99, 1, 100, 4));
    EXPECT_EQ(c.key(Qt::Key_Down, page(100, true, false)).turn, Turn::Next);
    c.afterPageTurn(Turn::Next, 100, 100);
    EXPECT_EQ(c.row(), 99);
    EXPECT_EQ(c.key(Qt::Key_Down, page(100, true, true)).turn, Turn::Next);
    // The last page holds 50 rows: the cursor lands on its last row, not beyond it.
    c.afterPageTurn(Turn::Next, 100, 50);
    EXPECT_EQ(c.row(), 49);
    EXPECT_EQ(c.key(Qt::Key_Down, page(50, false, true)).turn, Turn::None);
    EXPECT_EQ(c.row(), 49);
}

TEST(CellCursorTest, UpOnTheFirstRowTurnsBackAndStaysOnTop)
{
    CellCursor c;
    EXPECT_EQ(c.key(Qt::Key_Up, page(100, true, false)).turn, Turn::None);
    EXPECT_EQ(c.key(Qt::Key_Up, page(100, true, true)).turn, Turn::Previous);
    c.afterPageTurn(Turn::Previous, 100, 100);
    EXPECT_EQ(c.row(), 0);
}

TEST(CellCursorTest, KeysStayInsideTheListAndDoNothingWithoutItems)
{
    CellCursor c;
    EXPECT_FALSE(c.key(Qt::Key_Down, page(0, true, true)).moved);
    EXPECT_EQ(c.key(Qt::Key_Down, page(0, true, true)).turn, Turn::None);
    EXPECT_EQ(c.row(), 0);
    c.key(Qt::Key_PageDown, page(25, false, false));
    EXPECT_EQ(c.row(), 10);
    c.key(Qt::Key_PageDown, page(25, false, false));
    c.key(Qt::Key_PageDown, page(25, false, false));
    EXPECT_EQ(c.row(), 24);
    c.key(Qt::Key_PageUp, page(25, false, false));
    c.key(Qt::Key_PageUp, page(25, false, false));
    c.key(Qt::Key_PageUp, page(25, false, false));
    EXPECT_EQ(c.row(), 0);
    for (int i = 0; i < 9; ++i)
        c.key(Qt::Key_Right, page(25, false, false));
    EXPECT_EQ(c.column(), 3);
    EXPECT_TRUE(c.key(Qt::Key_Left, page(25, false, false)).moved);
    EXPECT_EQ(c.column(), 2);
    // A reload with fewer columns and rows.
    EXPECT_TRUE(c.clamp(5, 2));
    EXPECT_EQ(c.column(), 1);
}

TEST(CommandStatesTest, WhileATableLoadsOnlyStopTheTogglesTheOptionsAndHelpStayUsable)
{
    WindowSnapshot loading{true, false, 5, true, true, true, true};
    std::vector<int> enabled;
    for (const CommandSpec& command : commandTable())
        if (commandEnabled(command.id, loading))
            enabled.push_back(command.id);
    const std::vector<int> expected{kCmdExit, kCmdStandardButtons, kCmdDatabaseButtons, kCmdLockToolBars,
                                    kCmdStatusBar, kCmdQuickViewBar, kCmdDatabaseTree, kCmdReportWindow,
                                    kCmdSqlWindow, kCmdStop, kCmdConfiguration, kCmdSaveConfiguration,
                                    kCmdExportConfiguration, kCmdTipOfTheDay, kCmdPlugins, kCmdAbout, kCmdHelpHomePage, kCmdHelpMail,
                                    kCmdHelpQuillbasePage, kCmdHelpBugReport};
    EXPECT_EQ(enabled, expected);
}

TEST(CommandStatesTest, ConnectionElementAndPaneDecide)
{
    const WindowSnapshot none;
    for (int id : {kCmdNewDataLink, kCmdNewConnectionString, kCmdOpenDataLink, kCmdTipOfTheDay})
        EXPECT_TRUE(commandEnabled(id, none)) << id;
    for (int id : {kCmdCloseConnection, kCmdRefresh, kCmdStop, kCmdSqlWindow, kCmdExecuteSql, kCmdUp, kCmdBack,
                   kCmdIcons, kCmdPreviousRow})
        EXPECT_FALSE(commandEnabled(id, none)) << id;

    WindowSnapshot folder{true, true, 2, false, false, true, false};
    EXPECT_TRUE(commandEnabled(kCmdUp, folder));
    EXPECT_TRUE(commandEnabled(kCmdBack, folder));
    EXPECT_FALSE(commandEnabled(kCmdForward, folder));
    EXPECT_FALSE(commandEnabled(kCmdSqlWindow, folder));
    EXPECT_TRUE(commandEnabled(kCmdIcons, folder));

    WindowSnapshot database{true, true, 1, false, false, false, false};
    EXPECT_FALSE(commandEnabled(kCmdUp, database));

    WindowSnapshot table{true, true, 5, true, false, false, false};
    EXPECT_TRUE(commandEnabled(kCmdSqlWindow, table));
    EXPECT_FALSE(commandEnabled(kCmdExecuteSql, table));
    table.sqlPaneVisible = true;
    EXPECT_TRUE(commandEnabled(kCmdExecuteSql, table));
}

TEST(CommandTableTest, IdsAreUniqueAndKeysAsDocumented)
{
    std::set<int> ids;
    for (const CommandSpec& command : commandTable())
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
    auto key = [](int id) { return QString::fromLatin1(findCommand(id)->key); };
    EXPECT_EQ(key(kCmdRefresh), "Ctrl+R");
    EXPECT_EQ(key(kCmdExecuteSql), "F5");
    EXPECT_EQ(key(kCmdBack), "Alt+Left");
    EXPECT_EQ(key(kCmdAbout), "Shift+F1");
    EXPECT_EQ(QString::fromUtf16(findCommand(kCmdUp)->text), "&Up One level");
}
