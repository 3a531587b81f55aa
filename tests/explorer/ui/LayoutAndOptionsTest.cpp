// What the window keeps between starts (panes, toolbars, the window itself, with the registry
// values in their formats), the options dialog and what the window applies after it, the recent
// documents, and the window on PostgreSQL through ODBC.
#include "explorer/settings/OptionsPages.h"
#include "explorer/settings/SettingsStrings.h"
#include "explorer/ui/DatabaseTree.h"
#include "explorer/ui/OptionsDialog.h"
#include "explorer/ui/OptionsPageWidget.h"
#include "explorer/ui/ReportLog.h"
#include "explorer/ui/WindowFixture.h"
#include "platform/Registry.h"
#include "explorer/settings/FakeUserPrompts.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QLabel>
#include <QToolBar>
#include <QApplication>
#include "common/WorkerThread.h"

using namespace qb::ui;
using namespace qb::browser;

namespace {

const QString kView = QStringLiteral("HKEY_CURRENT_USER\\Software\\Marrowind\\quillbase\\qorvex\\1.6\\view");

class LayoutTest : public qbtest::WindowFixture {
protected:
    // The view key as a registry script, through the registry tool.
    QString exportView()
    {
        const QString file = m_scratch.qfile("view.reg");
        QProcess tool;
        tool.start(QStringLiteral(QBREG_PATH), {QStringLiteral("export"), kView, file});
        EXPECT_TRUE(tool.waitForFinished(30000));
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(f.readAll());
    }
    static bool viewKeyExists()
    {
        qb::reg::KeyGuard key;
        return qb::reg::RegOpenKeyEx(qb::reg::HKEY_CURRENT_USER,
                                     QStringLiteral("Software\\Marrowind\\quillbase\\qorvex\\1.6\\view"), key.out())
               == qb::reg::ERROR_SUCCESS;
    }
};

TEST_F(LayoutTest, AFreshProfilePlacesTheWindowAndShowsEverythingUnlocked)
{
    auto w = openWindow();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_EQ(w->size(), QSize(400, 400));
    EXPECT_FALSE(w->toolbar(kBandStandard)->isHidden());
    EXPECT_FALSE(w->toolbar(kBandDatabase)->isHidden());
    EXPECT_TRUE(w->toolbar(kBandStandard)->isMovable());
    EXPECT_FALSE(w->statusBar()->isHidden());
    EXPECT_EQ(w->statusPane(0)->text(), "Ready");
    EXPECT_TRUE(w->windowTitle().endsWith(" - no connection"));
    EXPECT_TRUE(w->pane(MainWindow::SqlPaneId)->isHidden());
    EXPECT_EQ(w->report().log().rowCount(), 0);
    EXPECT_EQ(ReportView::emptyText(), "There are no items in report window");
    // The first start puts the SQL pane in the tree's box.
    EXPECT_TRUE(w->tabifiedDockWidgets(w->pane(MainWindow::TreePane)).contains(w->pane(MainWindow::SqlPaneId)));
}

TEST_F(LayoutTest, ArrangedPanesAndToolbarsComeBackAndTheValuesHaveTheirFormats)
{
    QRect floatingRect;
    {
        auto w = openWindow();
        w->move(30, 40);
        w->resize(900, 700);
        QDockWidget* report = w->pane(MainWindow::ReportPane);
        report->setFloating(true);
        report->setGeometry(500, 300, 320, 200);
        floatingRect = report->geometry();
        w->runCommand(kCmdDatabaseTree); // hidden
        w->addDockWidget(Qt::RightDockWidgetArea, w->pane(MainWindow::QuickViewPane));
        w->runCommand(kCmdDatabaseButtons);
        w->runCommand(kCmdLockToolBars);
        w->close();
    }
    const QString script = exportView();
    EXPECT_TRUE(script.contains("\"IsFullWnd\" = dword:00000000")) << script.toStdString();
    EXPECT_TRUE(script.contains("\"left\" = dword:0000001e"));
    EXPECT_TRUE(script.contains("\"right\" = dword:000003a2")); // 30 + 900
    EXPECT_TRUE(script.contains("\"IsLockRebarCtrl\" = \"1\""));
    EXPECT_TRUE(script.contains("\"IsDBTBVisible\" = \"0\""));
    EXPECT_TRUE(script.contains("\"60160\" = dword:"));
    EXPECT_TRUE(script.contains("\"60161\" = dword:01"));
    EXPECT_TRUE(script.contains("\"60162\" = dword:02"));
    // Each record is 60 bytes: 22 on the first line, 21 on the next, 17 on the last.
    const qsizetype at = script.indexOf("\"report\" = hex:");
    ASSERT_GE(at, 0);
    const QStringList lines = script.mid(at).split("\r\n");
    EXPECT_EQ(lines[0].count(','), 22);
    EXPECT_EQ(lines[1].count(','), 21);
    EXPECT_EQ(lines[2].count(','), 17);

    auto again = openWindow();
    QDockWidget* report = again->pane(MainWindow::ReportPane);
    EXPECT_TRUE(report->isFloating());
    EXPECT_EQ(report->geometry(), floatingRect);
    EXPECT_TRUE(again->pane(MainWindow::TreePane)->isHidden());
    EXPECT_EQ(again->dockWidgetArea(again->pane(MainWindow::QuickViewPane)), Qt::RightDockWidgetArea);
    EXPECT_TRUE(again->toolbar(kBandDatabase)->isHidden());
    EXPECT_FALSE(again->toolbar(kBandStandard)->isMovable());
    EXPECT_EQ(again->pos(), QPoint(30, 40));
    EXPECT_EQ(again->size(), QSize(900, 700));
    // The hidden tree comes back at its place.
    again->runCommand(kCmdDatabaseTree);
    EXPECT_FALSE(again->pane(MainWindow::TreePane)->isHidden());
    EXPECT_EQ(again->dockWidgetArea(again->pane(MainWindow::TreePane)), Qt::LeftDockWidgetArea);
}

TEST_F(LayoutTest, AHiddenReportPaneStaysHiddenAndComesBackAtItsPlace)
{
    {
        auto w = openWindow();
        w->resize(800, 600);
        w->addDockWidget(Qt::RightDockWidgetArea, w->pane(MainWindow::ReportPane));
        w->runCommand(kCmdReportWindow);
        w->close();
    }
    auto again = openWindow();
    QDockWidget* report = again->pane(MainWindow::ReportPane);
    EXPECT_TRUE(report->isHidden());
    again->updateCommandStates();
    EXPECT_FALSE(again->action(kCmdReportWindow)->isChecked());
    again->runCommand(kCmdReportWindow);
    EXPECT_FALSE(report->isHidden());
    EXPECT_FALSE(report->isFloating());
    EXPECT_EQ(again->dockWidgetArea(report), Qt::RightDockWidgetArea);
}

TEST_F(LayoutTest, AMaximisedWindowComesBackMaximisedWithItsNormalRectangle)
{
    {
        auto w = openWindow();
        w->move(50, 60);
        w->resize(640, 480);
        w->close();
    }
    {
        auto w = openWindow();
        w->showMaximized();
        ASSERT_TRUE(qbtest::waitUntil([&] { return w->isMaximized(); }));
        w->close();
    }
    const QString script = exportView();
    EXPECT_TRUE(script.contains("\"IsFullWnd\" = dword:00000001"));
    EXPECT_TRUE(script.contains("\"left\" = dword:00000032")); // kept from the save before
    auto again = openWindow();
    EXPECT_TRUE(again->isMaximized());
    EXPECT_EQ(again->normalGeometry().size(), QSize(640, 480));
}

TEST_F(LayoutTest, DontSaveLayoutLeavesTheSavedLayoutAlone)
{
    {
        MainWindowOptions options;
        options.saveLayout = false;
        auto w = openWindow(options);
        w->runCommand(kCmdReportWindow);
        w->runCommand(kCmdLockToolBars);
        w->close();
    }
    EXPECT_FALSE(exportView().contains("\"report\""));
    EXPECT_FALSE(exportView().contains("IsLockRebarCtrl"));
    auto again = openWindow();
    EXPECT_FALSE(again->pane(MainWindow::ReportPane)->isHidden());
    EXPECT_TRUE(again->toolbar(kBandStandard)->isMovable());
}

TEST_F(LayoutTest, TheLockRemovesEveryToolbarsHandle)
{
    auto w = openWindow();
    w->runCommand(kCmdLockToolBars);
    EXPECT_FALSE(w->toolbar(kBandStandard)->isMovable());
    EXPECT_FALSE(w->toolbar(kBandDatabase)->isMovable());
    w->updateCommandStates();
    EXPECT_TRUE(w->action(kCmdLockToolBars)->isChecked());
    w->runCommand(kCmdLockToolBars);
    EXPECT_TRUE(w->toolbar(kBandStandard)->isMovable());
    EXPECT_TRUE(w->toolbar(kBandDatabase)->isMovable());
}

TEST_F(LayoutTest, DamagedRecordsLeaveThePanesAtTheirDefaults)
{
    {
        qb::reg::KeyGuard key;
        ASSERT_EQ(qb::reg::RegCreateKeyEx(qb::reg::HKEY_CURRENT_USER,
                                          QStringLiteral("Software\\Marrowind\\quillbase\\qorvex\\1.6\\view"), key.out()),
                  qb::reg::ERROR_SUCCESS);
        QByteArray junk(60, '\x5a');
        qb::reg::RegSetValueEx(key.get(), "report", qb::reg::REG_BINARY, reinterpret_cast<const unsigned char*>(junk.data()), 60);
        QByteArray shortRecord(59, '\0');
        qb::reg::RegSetValueEx(key.get(), "datatree", qb::reg::REG_BINARY,
                               reinterpret_cast<const unsigned char*>(shortRecord.data()), 59);
    }
    auto w = openWindow();
    EXPECT_EQ(w->dockWidgetArea(w->pane(MainWindow::ReportPane)), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(w->pane(MainWindow::ReportPane)->isHidden());
    EXPECT_EQ(w->dockWidgetArea(w->pane(MainWindow::TreePane)), Qt::LeftDockWidgetArea);
}

TEST_F(LayoutTest, OptionsDialogValidatesAndTheWindowAppliesWhatChanged)
{
    auto w = openWindow();
    qb::settings::OptionsPages pages(w->optionsGroups());
    qbtest::FakeUserPrompts prompts;
    OptionsDialog dialog(pages, prompts, w.get());
    dialog.show();
    QPushButton* apply = dialog.buttons()->button(QDialogButtonBox::Apply);
    EXPECT_FALSE(apply->isEnabled());

    // General: 17 recent files is refused with the range message; the dialog stays open.
    OptionsPageWidget* general = dialog.pageWidget(qb::settings::strings::GeneralPage);
    QLineEdit* recent = general->numberField("RecentListMaxEnteries");
    ASSERT_NE(recent, nullptr);
    recent->selectAll();
    QTest::keyClicks(recent, "17");
    EXPECT_TRUE(apply->isEnabled());
    QTest::mouseClick(dialog.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(prompts.messages.last().endsWith("Please enter an integer value between 2 and 16"));
    recent->selectAll();
    QTest::keyClicks(recent, "3");

    // Data Tree: lines and full-row selection exclude each other.
    dialog.showPage(qb::settings::strings::DataTreePage);
    OptionsPageWidget* tree = dialog.pageWidget(qb::settings::strings::DataTreePage);
    EXPECT_TRUE(tree->checkBox("IsHasLines")->isChecked());
    EXPECT_FALSE(tree->checkBox("IsFullRowSel")->isEnabled());
    QTest::mouseClick(tree->checkBox("IsHasLines"), Qt::LeftButton, {}, QPoint(4, tree->checkBox("IsHasLines")->height() / 2));
    EXPECT_TRUE(tree->checkBox("IsFullRowSel")->isEnabled());

    // Data List: the grid goes.
    dialog.showPage(qb::settings::strings::DataListPage);
    OptionsPageWidget* list = dialog.pageWidget(qb::settings::strings::DataListPage);
    list->checkBox("IsShowGrid")->setChecked(false);
    QTest::mouseClick(dialog.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(pages.wasApplied(qb::settings::strings::GeneralPage));
    EXPECT_EQ(w->optionsGroups().general().recentListMaxEnteries(), 3u);
    EXPECT_FALSE(w->optionsGroups().dataList().showGrid());
    EXPECT_FALSE(w->optionsGroups().dataTree().hasLines());
}

TEST_F(LayoutTest, TheOptionsCommandAppliesTheDataListFlagsAfterOk)
{
    auto w = openWindow();
    ASSERT_TRUE(w->dataList().tableView()->showGrid());
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<OptionsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Vexa@Qorvex Properties");
        dialog->showPage(qb::settings::strings::DataListPage);
        dialog->pageWidget(qb::settings::strings::DataListPage)->checkBox("IsShowGrid")->setChecked(false);
        dialog->pageWidget(qb::settings::strings::DataListPage)->checkBox("ShowTT1")->setChecked(true);
        QTest::mouseClick(dialog->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    w->runCommand(kCmdConfiguration);
    EXPECT_FALSE(w->dataList().tableView()->showGrid());
    EXPECT_TRUE(w->dataList().options().tipOnClick);
}

TEST_F(LayoutTest, AnOpenedDataLinkFileJoinsTheRecentDocumentsInTheFileMenu)
{
    auto db = qbtest::makeBackend("sqlite", m_scratch);
    db->exec("CREATE TABLE t (id INTEGER)");
    const QString udl = m_scratch.qfile("shop & co.udl");
    {
        QFile f(udl);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n") + db->connectionString() + "\r\n";
        f.write("\xff\xfe");
        f.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    }
    auto w = openWindow();
    ASSERT_TRUE(w->openConnection(udl, true));
    waitIdle(*w);
    EXPECT_TRUE(w->windowTitle().contains(udl));
    QAction* entry = nullptr;
    for (QAction* a : w->fileMenu()->actions())
        if (a->data().toInt() == kCmdFirstRecent)
            entry = a;
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->text().startsWith("&1 "));
    EXPECT_TRUE(entry->text().contains("&&"));
    w->runCommand(kCmdCloseConnection);
    ASSERT_FALSE(w->isConnected());
    entry->trigger();
    waitIdle(*w);
    EXPECT_TRUE(w->isConnected());
}

// Opens what the Help menu's page items ask for, instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST_F(LayoutTest, HelpItemsOpenTheInstalledDocumentationAndTheAboutBoxNamesTheVersions)
{
    auto w = openWindow();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    w->runCommand(kCmdHelpHomePage);
    w->runCommand(kCmdHelpBugReport);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(catcher.urls[0].toLocalFile())) << catcher.urls[0].toString().toStdString();
    EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith("share/doc/quillbase/qorvex.html"));
    EXPECT_EQ(catcher.urls[1].fragment(), "problems");

    QString about;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        about = box->text();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->accept();
    });
    w->runCommand(kCmdAbout);
    EXPECT_TRUE(about.contains("Version 1.6")) << about.toStdString();
    EXPECT_TRUE(about.contains(QStringLiteral("Qt ") + qVersion()));
    EXPECT_TRUE(about.contains("SQLite 3."));
    EXPECT_TRUE(about.contains("unixODBC driver manager 0"));
}

// The same window on PostgreSQL through psqlODBC: schema-qualified names in the tree, a table
// opened and paged.
TEST_F(LayoutTest, PostgresTreeShowsSchemaQualifiedTablesAndATablePages)
{
    auto db = qbtest::makeBackend("postgres", m_scratch);
    db->exec("CREATE TABLE pages (id INTEGER, name VARCHAR(20))");
    db->exec("INSERT INTO pages SELECT i, 'row ' || i FROM generate_series(1, 250) AS s(i)");
    auto w = openWindow();
    connectTo(*w, db->connectionString());
    QTreeWidgetItem* root = w->tree().topLevelItem(0);
    root->setExpanded(true);
    root->child(0)->setExpanded(true);
    QTreeWidgetItem* node = nullptr;
    for (int i = 0; i < root->child(0)->childCount(); ++i)
        if (root->child(0)->child(i)->text(0) == "public.pages")
            node = root->child(0)->child(i);
    ASSERT_NE(node, nullptr);
    w->tree().setCurrentItem(node);
    waitIdle(*w);
    ASSERT_EQ(w->currentElementId(), kTableElement);
    EXPECT_EQ(w->statusPane(2)->text(), "Object(s): 250");
    grid(*w)->setFocus();
    key(*w, Qt::Key_Down, 100);
    EXPECT_EQ(absoluteRow(*w), 199);
    EXPECT_EQ(w->dataList().model().cellText(0, 1), "101");
    key(*w, Qt::Key_Down);
    EXPECT_EQ(absoluteRow(*w), 249);
}

TEST_F(LayoutTest, AWindowClosedWhileATableLoadsGoesAwayCleanly)
{
    auto db = qbtest::makeBackend("sqlite", m_scratch);
    db->exec("CREATE TABLE t (id INTEGER)");
    auto w = openWindow();
    connectTo(*w, db->connectionString());
    ShowOrder order;
    order.jobCode = kTableElement;
    order.request = ShowRequest{"WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 500000000) SELECT i FROM c", true, true};
    w->loader().startShow(order);
    ASSERT_TRUE(qbtest::waitUntil([&] { return !w->isIdle(); }));
    w->close();
    w.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(qb::WorkerThread::waitForAllThreads(std::chrono::seconds(10)));
}

} // namespace

#include "LayoutAndOptionsTest.moc"
