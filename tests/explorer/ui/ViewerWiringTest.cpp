// The main window hands long values to the viewers: Enter on a "(TEXT)" cell opens the plug-in
// menu below it and the text viewer shows the whole value; the plug-in commands reach the cell
// under the cursor; the Plug-ins dialog lists the window's element kinds; a viewer storage that
// could not be made is reported once.
#include "explorer/plugins/ui/PluginsDialog.h"
#include "explorer/plugins/ui/TextViewerDialog.h"
#include "explorer/ui/ReportLog.h"
#include "explorer/ui/WindowFixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTreeWidget>

using namespace qb::ui;

namespace {

constexpr int kFirstViewerCommand = 0xD000; // the text viewer, the first internal plug-in

class ViewerWiringTest : public qbtest::WindowFixture {
protected:
    void SetUp() override
    {
        m_db = qbtest::makeBackend("sqlite", m_scratch);
        m_db->exec("CREATE TABLE notes (id INTEGER, body TEXT)");
        m_db->exec("INSERT INTO notes VALUES (1, 'first line\nsecond\tline <b>as is</b>')");
        m_db->exec("CREATE TABLE other (id INTEGER, body TEXT)");
    }

    void openWindowOnDatabase()
    {
        m_window = openWindow();
        m_window->resize(1000, 700);
        connectTo(*m_window, m_db->connectionString());
    }

    std::unique_ptr<qbtest::Backend> m_db;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(ViewerWiringTest, EnterOnALongTextOpensTheMenuBelowTheCellAndTheTextViewerShowsItWhole)
{
    openWindowOnDatabase();
    MainWindow& w = *m_window;
    openTable(w, "notes");
    const QModelIndex body = w.dataList().model().index(0, 2);
    QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, Qt::NoModifier, grid(w)->visualRect(body).center() + QPoint(20, 0));
    ASSERT_EQ(w.dataList().model().cellText(0, 2), "(TEXT)");

    QStringList items;
    QPoint menuAt;
    QString shown;
    qbtest::whenUp<QMenu>([&](QMenu* menu) {
        for (const QAction* a : menu->actions())
            items << a->text();
        menuAt = menu->pos();
        qbtest::whenUp<qb::plugins::TextViewerDialog>([&](qb::plugins::TextViewerDialog* dialog) {
            shown = dialog->textBox()->toPlainText();
            dialog->reject();
        });
        menu->setActiveAction(menu->actions().first());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    key(w, Qt::Key_Return);
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.first(), "Show as a simple text");
    const QRect cell = grid(w)->visualRect(body);
    EXPECT_EQ(menuAt, grid(w)->viewport()->mapToGlobal(QPoint(cell.left(), cell.bottom() + 1)));
    EXPECT_EQ(shown, "first line\nsecond\tline <b>as is</b>");

    // The menu's commands, sent to the window, show the cell under the cursor.
    shown.clear();
    qbtest::whenUp<qb::plugins::TextViewerDialog>([&](qb::plugins::TextViewerDialog* dialog) {
        shown = dialog->textBox()->toPlainText();
        dialog->reject();
    });
    w.runCommand(kFirstViewerCommand);
    EXPECT_EQ(shown, "first line\nsecond\tline <b>as is</b>");
}

TEST_F(ViewerWiringTest, ThePlugInsDialogListsTheWindowsElementKinds)
{
    openWindowOnDatabase();
    MainWindow& w = *m_window;
    w.updateCommandStates();
    ASSERT_TRUE(w.action(kCmdPlugins)->isEnabled());
    // It sits in the Help menu, over the empty "About Plug-ins" menu.
    const QList<QAction*> menus = w.menuBar()->actions();
    QMenu* help = menus.last()->menu();
    ASSERT_EQ(menus.last()->text(), "&Help");
    const qsizetype at = help->actions().indexOf(w.action(kCmdPlugins));
    ASSERT_GE(at, 0);
    ASSERT_NE(help->actions().at(at + 1)->menu(), nullptr);
    EXPECT_EQ(help->actions().at(at + 1)->text(), "About Plug-ins");
    EXPECT_FALSE(help->actions().at(at + 1)->menu()->actions().first()->isEnabled());
    QStringList roots;
    qbtest::whenUp<qb::plugins::PluginsDialog>([&](qb::plugins::PluginsDialog* dialog) {
        for (int i = 0; i < dialog->tree()->topLevelItemCount(); ++i)
            roots << dialog->tree()->topLevelItem(i)->text(0);
        dialog->reject();
    });
    w.runCommand(kCmdPlugins);
    EXPECT_EQ(roots, (QStringList{"Data Base", "Tables", "Store Procedures", "Table views", "Table", "View"}));
}

TEST_F(ViewerWiringTest, AViewerStorageThatCouldNotBeMadeIsReportedOncePerConnection)
{
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", "/nonexistent/quillbase-test");
    openWindowOnDatabase();
    qputenv("TMPDIR", previous);
    MainWindow& w = *m_window;
    ReportModel& log = w.report().log();
    const int before = log.rowCount();
    openTable(w, "notes");
    ASSERT_EQ(log.rowCount(), before + 1);
    EXPECT_TRUE(log.data(log.index(0, 2), Qt::DisplayRole).toString().startsWith("Can't create the storage file."));
    openTable(w, "other");
    EXPECT_EQ(log.rowCount(), before + 1);
}

} // namespace
