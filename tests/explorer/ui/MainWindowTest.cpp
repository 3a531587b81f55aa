// The main window on a real SQLite database through the real loader: the tree, the data list with
// its cursor, pages, cell texts, tooltip and viewer notification, the report pane and the SQL pane.
#include "common/ui/SqlHighlighter.h"
#include "explorer/ui/DatabaseTree.h"
#include "explorer/ui/DescriptionTip.h"
#include "explorer/ui/QuickViewBar.h"
#include "explorer/ui/ReportLog.h"
#include "explorer/ui/SqlPane.h"
#include "explorer/ui/WindowFixture.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>

using namespace qb::ui;
using namespace qb::browser;

namespace {

class MainWindowTest : public qbtest::WindowFixture {
protected:
    void SetUp() override
    {
        m_db = qbtest::makeBackend("sqlite", m_scratch);
        m_db->exec("CREATE TABLE hundred (id INTEGER, name TEXT)");
        m_db->exec("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 100) "
                   "INSERT INTO hundred SELECT i, 'row ' || i FROM c");
        m_db->exec("CREATE TABLE pages (id INTEGER, name VARCHAR(20))");
        m_db->exec("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 250) "
                   "INSERT INTO pages SELECT i, 'row ' || i FROM c");
        m_db->exec("CREATE TABLE cells (id INTEGER, note VARCHAR(40), body TEXT, data BLOB)");
        m_db->exec("INSERT INTO cells VALUES (1, NULL, 'first line\nsecond\tline', X'00FF10')");
        m_db->exec("INSERT INTO cells VALUES (2, '', '<b>not bold</b>', NULL)");
        m_db->exec("CREATE TABLE empty (id INTEGER)");
        m_db->exec("CREATE VIEW evens AS SELECT id FROM pages WHERE id % 2 = 0");
        m_window = openWindow();
        m_window->resize(1200, 800);
        connectTo(*m_window, m_db->connectionString());
    }

    QString cell(int row, int column) { return m_window->dataList().model().cellText(row, column); }

    std::unique_ptr<qbtest::Backend> m_db;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowTest, ConnectingShowsTheDatabaseAndTheTreeExpandsAsTheNodeRule)
{
    MainWindow& w = *m_window;
    EXPECT_TRUE(w.windowTitle().startsWith("Vexa@Qorvex - ["));
    EXPECT_EQ(w.currentElementId(), kDatabaseElement);
    EXPECT_EQ(cell(0, 0), "Tables");
    EXPECT_EQ(cell(2, 0), "Table views");
    EXPECT_EQ(w.statusPane(2)->text(), "Object(s): 3");

    QAbstractItemModelTester treeTester(w.tree().model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QTreeWidgetItem* root = w.tree().topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "Data Base");
    EXPECT_TRUE(w.tree().showsButton(w.tree().model()->index(0, 0)));
    root->setExpanded(true);
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_NE(root->child(1)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator); // procedures
    EXPECT_EQ(root->child(2)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    root->child(0)->setExpanded(true);
    QStringList tables;
    for (int i = 0; i < root->child(0)->childCount(); ++i)
        tables << root->child(0)->child(i)->text(0);
    EXPECT_EQ(tables, (QStringList{"cells", "empty", "hundred", "pages"}));
    EXPECT_NE(root->child(0)->child(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

    // Selecting a table node shows the table: one page of rows, the full count in the status bar.
    w.tree().setCurrentItem(root->child(0)->child(3));
    waitIdle(w);
    EXPECT_EQ(w.currentElementId(), kTableElement);
    EXPECT_EQ(w.dataList().model().rowCount(), 100);
    EXPECT_EQ(w.statusPane(2)->text(), "Object(s): 250");
    EXPECT_EQ(w.statusPane(1)->text(), "Table");
}

TEST_F(MainWindowTest, DownAndUpAcrossThePagesOfA250RowTable)
{
    MainWindow& w = *m_window;
    openTable(w, "pages");
    grid(w)->setFocus();
    key(w, Qt::Key_Right);
    key(w, Qt::Key_Down, 99);
    EXPECT_EQ(absoluteRow(w), 99);
    EXPECT_EQ(w.statusPane(3)->text(), "Row 100 , Ln. 1");
    // Down on row 99 of page 0 shows page 1, the cursor on its last row.
    key(w, Qt::Key_Down);
    EXPECT_EQ(absoluteRow(w), 199);
    EXPECT_EQ(cell(0, 1), "101");
    EXPECT_EQ(w.statusPane(3)->text(), "Row 200 , Ln. 1");
    // Down onto the 50-row last page clamps the cursor to its last row.
    key(w, Qt::Key_Down);
    EXPECT_EQ(w.dataList().model().rowCount(), 50);
    EXPECT_EQ(absoluteRow(w), 249);
    EXPECT_EQ(cell(w.dataList().cursorRow(), 1), "250");
    key(w, Qt::Key_Down);
    EXPECT_EQ(absoluteRow(w), 249);
    // Back to page 1's first row, then Up shows page 0 with the cursor on row 0.
    key(w, Qt::Key_PageUp, 10);
    EXPECT_EQ(absoluteRow(w), 200);
    key(w, Qt::Key_Up);
    EXPECT_EQ(absoluteRow(w), 100);
    key(w, Qt::Key_Up);
    EXPECT_EQ(absoluteRow(w), 0);
    EXPECT_EQ(cell(0, 1), "1");
    // The commands send the same keys.
    w.runCommand(kCmdNextRow);
    EXPECT_EQ(absoluteRow(w), 1);
}

TEST_F(MainWindowTest, AHundredRowTableHasNoSecondPageAndAnEmptyOneIgnoresTheKeys)
{
    MainWindow& w = *m_window;
    openTable(w, "hundred");
    key(w, Qt::Key_Down, 105);
    EXPECT_EQ(absoluteRow(w), 99);
    EXPECT_EQ(cell(99, 1), "100");

    openTable(w, "empty");
    EXPECT_EQ(w.dataList().model().rowCount(), 0);
    key(w, Qt::Key_Down, 3);
    key(w, Qt::Key_Right, 3);
    EXPECT_EQ(w.dataList().cursorRow(), 0);
    EXPECT_EQ(w.statusPane(3)->text(), "");
}

TEST_F(MainWindowTest, NullEmptyLongValuesTooltipsAndTheViewerNotification)
{
    MainWindow& w = *m_window;
    openTable(w, "cells");
    EXPECT_EQ(cell(0, 2), "(NULL)");
    EXPECT_EQ(cell(1, 2), "");
    EXPECT_EQ(cell(0, 3), "(TEXT)");
    EXPECT_EQ(cell(0, 4), "(BLOB)");

    // Shift + click: the description, on one line, with the element's caption as its title.
    QTableView* view = grid(w);
    DescriptionTip* tip = w.dataList().descriptionTip();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, view->visualRect(w.dataList().model().index(0, 2)).center());
    ASSERT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->text(), "(EMPTY)");
    EXPECT_EQ(tip->title(), "Table");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, view->visualRect(w.dataList().model().index(0, 3)).center());
    EXPECT_EQ(tip->text(), "first line second line");
    // Outside text is shown as it is, never as markup.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, view->visualRect(w.dataList().model().index(1, 3)).center());
    EXPECT_EQ(tip->text(), "<b>not bold</b>");
    EXPECT_EQ(tip->findChildren<QLabel*>().last()->textFormat(), Qt::PlainText);
    // A click without Shift shows nothing with the defaults (ShowTT1 off).
    tip->hide();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(w.dataList().model().index(0, 2)).center());
    EXPECT_FALSE(tip->isVisible());

    // Enter on a number does nothing; on "(TEXT)" it asks for a viewer (the viewer suite goes on).
    QSignalSpy viewer(&w, &MainWindow::viewerRequested);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(w.dataList().model().index(1, 1)).center());
    key(w, Qt::Key_Return);
    EXPECT_EQ(viewer.count(), 0);
    key(w, Qt::Key_Up);
    key(w, Qt::Key_Right, 2);
    qbtest::whenUp<QMenu>([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); });
    key(w, Qt::Key_Return);
    ASSERT_EQ(viewer.count(), 1);
    EXPECT_EQ(viewer.first().at(1).toInt(), 3);

    // The long value cell is painted with its triangle in the text colour, 10 pixels down.
    w.dataList().resetCursor();
    const QRect blob = view->visualRect(w.dataList().model().index(0, 4));
    const QImage shot = view->viewport()->grab().toImage();
    const QColor text = view->palette().color(QPalette::Text);
    EXPECT_EQ(QColor(shot.pixel(blob.left() + 10, blob.top() + 10)).rgb(), text.rgb());
    EXPECT_EQ(QColor(shot.pixel(blob.left() + 10, blob.top() + 7)).rgb(), text.rgb());
    EXPECT_NE(QColor(shot.pixel(blob.left() + 5, blob.top() + 7)).rgb(), text.rgb());
}

TEST_F(MainWindowTest, ReportNewestFirstWithItsTimeFormatAndErrorsShowTheHiddenPane)
{
    MainWindow& w = *m_window;
    ReportModel& log = w.report().log();
    EXPECT_EQ(log.rowCount(), 0);
    QAbstractItemModelTester tester(&log, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QDockWidget* pane = w.pane(MainWindow::ReportPane);
    w.runCommand(kCmdReportWindow);
    ASSERT_TRUE(pane->isHidden());
    w.addInformation("one");
    w.addInformation("two");
    EXPECT_TRUE(pane->isHidden());
    w.addError("<i>three</i>");
    EXPECT_FALSE(pane->isHidden());
    EXPECT_TRUE(w.action(kCmdReportWindow)->isChecked() || (w.updateCommandStates(), w.action(kCmdReportWindow)->isChecked()));
    ASSERT_EQ(log.rowCount(), 3);
    EXPECT_EQ(log.data(log.index(0, 0), Qt::DisplayRole).toString(), "  Error:");
    EXPECT_EQ(log.data(log.index(0, 2), Qt::DisplayRole).toString(), "<i>three</i>");
    EXPECT_TRUE(log.data(log.index(0, 2), Qt::ToolTipRole).toString().contains("&lt;i&gt;three&lt;/i&gt;"));
    EXPECT_EQ(log.data(log.index(2, 2), Qt::DisplayRole).toString(), "one");
    EXPECT_EQ(log.data(log.index(1, 0), Qt::DisplayRole).toString(), "  Information:");
    const QRegularExpression time(R"(^\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d:\d{3}$)");
    EXPECT_TRUE(time.match(log.data(log.index(0, 1), Qt::DisplayRole).toString()).hasMatch());
    EXPECT_GE(log.data(log.index(0, 1), Qt::DisplayRole).toString(), log.data(log.index(2, 1), Qt::DisplayRole).toString());
    EXPECT_EQ(ReportModel::timeText(QDateTime(QDate(2002, 7, 21), QTime(14, 3, 9, 45))), "07.21.2002 14:03:09:045");
    // A kind other than error and information: no kind text, no icon.
    log.addEntry("other", 7);
    EXPECT_EQ(log.data(log.index(0, 0), Qt::DisplayRole).toString(), "");
    EXPECT_FALSE(log.data(log.index(0, 0), Qt::DecorationRole).isValid());
    EXPECT_TRUE(log.data(log.index(1, 0), Qt::DecorationRole).isValid());

    // A loader error lands there too: a table that is gone.
    m_db->exec("DROP TABLE empty");
    ShowOrder order;
    order.jobCode = kTableElement;
    order.object = qb::data::ObjectName{QString(), "empty"};
    w.loader().startShow(order);
    waitIdle(w);
    EXPECT_EQ(log.data(log.index(0, 0), Qt::DisplayRole).toString(), "  Error:");
    EXPECT_TRUE(log.data(log.index(0, 2), Qt::DisplayRole).toString().contains("no such table"));
}

TEST_F(MainWindowTest, F5FillsTheGridFromTheSqlPaneAndAShowCanBeUndone)
{
    MainWindow& w = *m_window;
    EXPECT_FALSE(w.action(kCmdSqlWindow)->isEnabled());
    openTable(w, "pages");
    w.updateCommandStates();
    ASSERT_TRUE(w.action(kCmdSqlWindow)->isEnabled());
    SqlPane& sql = w.sqlPane();
    EXPECT_TRUE(sql.toPlainText().contains("pages"));
    w.runCommand(kCmdSqlWindow);
    ASSERT_FALSE(w.pane(MainWindow::SqlPaneId)->isHidden());
    w.updateCommandStates();
    ASSERT_TRUE(w.action(kCmdExecuteSql)->isEnabled());

    sql.setFocus();
    sql.selectAll();
    QTest::keyClicks(&sql, "select id, name from pages where id <= 7");
    QTest::keyClick(&sql, Qt::Key_F5);
    waitIdle(w);
    EXPECT_EQ(w.dataList().model().rowCount(), 7);
    EXPECT_EQ(w.statusPane(2)->text(), "Object(s): 7");
    EXPECT_EQ(sql.toPlainText(), "select id, name from pages where id <= 7");

    // Opening another table replaces the text; Ctrl+Z brings the typed statement back.
    openTable(w, "hundred");
    EXPECT_TRUE(sql.toPlainText().contains("hundred"));
    sql.setFocus();
    QTest::keyClick(&sql, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(sql.toPlainText(), "select id, name from pages where id <= 7");

    // A folder takes no SQL: the pane goes and its commands are off.
    showFolder(w, kTablesFolder);
    w.updateCommandStates();
    EXPECT_TRUE(w.pane(MainWindow::SqlPaneId)->isHidden());
    EXPECT_FALSE(w.action(kCmdSqlWindow)->isEnabled());
    EXPECT_FALSE(w.action(kCmdExecuteSql)->isEnabled());
}

TEST_F(MainWindowTest, BackForwardAndUpThroughWhatWasShown)
{
    MainWindow& w = *m_window;
    openTable(w, "pages");
    w.updateCommandStates();
    ASSERT_TRUE(w.action(kCmdUp)->isEnabled());
    w.runCommand(kCmdUp);
    waitIdle(w);
    EXPECT_EQ(w.currentElementId(), kTablesFolder);
    w.runCommand(kCmdBack);
    waitIdle(w);
    EXPECT_EQ(w.currentElementId(), kTableElement);
    EXPECT_EQ(w.statusPane(2)->text(), "Object(s): 250");
    w.updateCommandStates();
    ASSERT_TRUE(w.action(kCmdForward)->isEnabled());
    w.runCommand(kCmdForward);
    waitIdle(w);
    EXPECT_EQ(w.currentElementId(), kTablesFolder);
    w.runCommand(kCmdUp);
    waitIdle(w);
    EXPECT_EQ(w.currentElementId(), kDatabaseElement);
    w.updateCommandStates();
    EXPECT_FALSE(w.action(kCmdUp)->isEnabled());
}

TEST_F(MainWindowTest, WhileALongLoadRunsOnlyStopTheTogglesAndOptionsWorkAndStopEndsIt)
{
    MainWindow& w = *m_window;
    openTable(w, "pages");
    w.runCommand(kCmdSqlWindow);
    w.sqlPane().setPlainText("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 500000000) "
                             "SELECT i FROM c");
    w.runCommand(kCmdExecuteSql);
    ASSERT_TRUE(qbtest::waitUntil([&] { return !w.isIdle(); }));
    w.updateCommandStates();
    for (int id : {kCmdOpenDataLink, kCmdCloseConnection, kCmdRefresh, kCmdBack, kCmdUp, kCmdExecuteSql, kCmdPreviousRow, kCmdReport})
        EXPECT_FALSE(w.action(id)->isEnabled()) << id;
    for (int id : {kCmdStop, kCmdReportWindow, kCmdStandardButtons, kCmdConfiguration, kCmdAbout})
        EXPECT_TRUE(w.action(id)->isEnabled()) << id;
    EXPECT_FALSE(w.quickView().isEnabled());
    // Selecting a tree node while it loads has no effect.
    w.tree().topLevelItem(0)->setExpanded(true);
    EXPECT_EQ(w.tree().topLevelItem(0)->childCount(), 0);
    w.runCommand(kCmdStop);
    waitIdle(w);
    QStringList entries;
    for (int r = 0; r < w.report().log().rowCount(); ++r)
        entries << w.report().log().data(w.report().log().index(r, 2), Qt::DisplayRole).toString();
    EXPECT_TRUE(entries.contains("The loading of the data has been stopped by the user.")) << entries.join('|').toStdString();
    w.updateCommandStates();
    EXPECT_TRUE(w.action(kCmdRefresh)->isEnabled());
    EXPECT_TRUE(w.quickView().isEnabled());
}

TEST_F(MainWindowTest, QuickViewItemsShowTheirFolders)
{
    MainWindow& w = *m_window;
    QListWidget* items = w.quickView().items();
    ASSERT_EQ(items->count(), 3);
    EXPECT_EQ(items->item(2)->text(), "Table views");
    QTest::mouseClick(items->viewport(), Qt::LeftButton, Qt::NoModifier, items->visualItemRect(items->item(2)).center());
    waitIdle(w);
    EXPECT_EQ(w.currentElementId(), kViewsFolder);
    EXPECT_EQ(cell(0, 0), "evens");
    EXPECT_TRUE(items->item(2)->isSelected());
}

TEST_F(MainWindowTest, ViewModesSwitchTheListAndAClosedConnectionEmptiesTheWindow)
{
    MainWindow& w = *m_window;
    w.runCommand(kCmdIcons);
    EXPECT_EQ(w.dataList().mode(), DataListView::IconsMode);
    EXPECT_EQ(w.dataList().activeView(), static_cast<QAbstractItemView*>(w.dataList().itemView()));
    w.updateCommandStates();
    EXPECT_TRUE(w.action(kCmdIcons)->isChecked());
    // The tables folder keeps nothing of its own yet: the window's mode goes on; it takes List.
    showFolder(w, kTablesFolder);
    EXPECT_EQ(w.dataList().mode(), DataListView::IconsMode);
    w.runCommand(kCmdList);
    w.runCommand(kCmdUp);
    waitIdle(w);
    EXPECT_EQ(w.dataList().mode(), DataListView::IconsMode); // the database's own
    w.runCommand(kCmdBack);
    waitIdle(w);
    EXPECT_EQ(w.dataList().mode(), DataListView::ListMode);

    w.runCommand(kCmdCloseConnection);
    EXPECT_FALSE(w.isConnected());
    EXPECT_EQ(w.dataList().model().rowCount(), 0);
    EXPECT_EQ(w.dataList().model().columnCount(), 0);
    EXPECT_EQ(w.tree().topLevelItemCount(), 0);
    EXPECT_TRUE(w.windowTitle().endsWith(" - no connection"));
    w.updateCommandStates();
    EXPECT_FALSE(w.quickView().isEnabled());
    EXPECT_FALSE(w.action(kCmdBack)->isEnabled());
}

// The colouring cases of the SQL pane, read from the editor's own formats.
class SqlColouringTest : public ::testing::Test {
protected:
    QColor colourAt(const QString& text, int pos)
    {
        m_pane.setPlainText(text);
        const QTextBlock block = m_pane.document()->findBlock(pos);
        for (const QTextLayout::FormatRange& r : block.layout()->formats())
            if (pos - block.position() >= r.start && pos - block.position() < r.start + r.length
                && r.format.hasProperty(QTextFormat::ForegroundBrush) && r.length > 0 && r.format.foreground().color() != Qt::black)
                return r.format.foreground().color();
        return Qt::black;
    }
    SqlPane m_pane;
};

TEST_F(SqlColouringTest, KeywordsStringsAndComments)
{
    const QColor blue(0, 0, 255), green(0, 170, 0), violet(55, 0, 200);
    EXPECT_EQ(colourAt("select a from b", 0), blue);
    EXPECT_EQ(colourAt("select a from b", 9), blue);
    EXPECT_EQ(colourAt("SELECT a FROM b", 0), Qt::black);
    EXPECT_EQ(colourAt("selected", 0), Qt::black);
    EXPECT_EQ(colourAt("(select)", 1), blue);
    EXPECT_EQ(colourAt("-- select", 3), blue); // two hyphens start nothing
    EXPECT_EQ(colourAt("a // select\nfrom", 5), green);
    EXPECT_EQ(colourAt("a // select\nfrom", 12), blue);
    EXPECT_EQ(colourAt("/* c */ from", 3), green);
    EXPECT_EQ(colourAt("/* c */ from", 8), blue);
    EXPECT_EQ(colourAt("x 'open\nselect", 10), violet);
    EXPECT_EQ(colourAt(R"(a 'x\'' select)", 6), violet);
    EXPECT_EQ(colourAt(R"(a 'x\'' select)", 8), blue);
    // Opening a block comment recolours the lines after it.
    m_pane.setPlainText("a\nselect\nfrom");
    QTextCursor c(m_pane.document());
    c.insertText("/*");
    const QTextBlock third = m_pane.document()->findBlockByNumber(2);
    ASSERT_FALSE(third.layout()->formats().isEmpty());
    EXPECT_EQ(third.layout()->formats().last().format.foreground().color(), green);
    EXPECT_EQ(m_pane.highlighter().ranges().size(), 1u);
    EXPECT_EQ(SqlPane::keywordList().count(','), 47);
}

} // namespace
