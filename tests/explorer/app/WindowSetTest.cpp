// The process's windows on real widgets (offscreen) with a private registry: start commands and
// their failure path, the new-window rule of a connected window, the 63-window limit, the pane
// switches, the tip of the day at start, what a second process's hand-over does.
#include "common/RecentDocumentList.h"
#include "dataaccess/DataLinkFile.h"
#include "datalinks/ModalDriver.h"
#include "datalinks/SqliteFile.h"
#include "explorer/app/QorvexProgram.h"
#include "explorer/app/WindowSet.h"
#include "explorer/browser/LoaderThread.h"
#include "explorer/settings/SettingsKeys.h"
#include "common/settings/SettingsNumber.h"
#include "explorer/ui/CommandIds.h"
#include "support/TempDir.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

using namespace qb;
using qbtest::ModalDriver;

namespace {

using qbtest::waitUntil;

const QString kVersionKey = settings::explorerRootPath() + settings::versionKey();

void setTipFlag(uint32_t value)
{
    ASSERT_EQ(settings::writeDwordSetting(kVersionKey, QStringLiteral("ShowTipOfTheDay"), value), 0);
}

// Steps for ModalDriver.
ModalDriver::Step chooseFile(const QString& path)
{
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    };
}
ModalDriver::Step cancel()
{
    return [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); };
}
struct SeenBox {
    QString title;
    QString text;
};
ModalDriver::Step readAndClose(SeenBox& seen)
{
    return [&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << modal->metaObject()->className();
        seen = {box->windowTitle(), box->text()};
        box->accept();
    };
}

class WindowSetTest : public ::testing::Test {
protected:
    WindowSetTest()
    {
        setTipFlag(0);
        base.tipsFolder = QStringLiteral(QB_BIN_DIR);
        // Stands in for the datalink program: writes `m_editorBody` output, nothing means cancel.
        base.dataLinkEditor = {QStringLiteral("/bin/sh"),
                               {QStringLiteral("-c"), QStringLiteral("sh \"$0.body\" \"$1\""), dir.qfile("editor")}};
        setEditorSaves(QString());
    }

    void setEditorSaves(const QString& initString)
    {
        QFile body(dir.qfile("editor.body"));
        ASSERT_TRUE(body.open(QIODevice::WriteOnly));
        if (!initString.isEmpty())
            body.write(QStringLiteral("printf '[oledb]\\n; Everything after this line is an OLE DB initstring\\n%s\\n' '%1' > \"$1\"\n")
                           .arg(initString)
                           .toUtf8());
    }

    QString sqliteLink(const std::string& name)
    {
        const QString database = dir.qfile(name + ".db");
        if (!QFile::exists(database))
            qbtest::makeSqliteFile(database);
        const QString udl = dir.qfile(name + ".udl");
        data::writeDataLinkFile(udl, QStringLiteral("Provider=SQLite;Data Source=") + database);
        return udl;
    }

    static void waitIdle(ui::MainWindow& w)
    {
        ASSERT_TRUE(waitUntil([&] { return w.isIdle() && !w.loader().hasJob(); }));
    }

    static QString caption(const QString& udl) { return QStringLiteral("Vexa@Qorvex - [") + udl + "]"; }

    QStringList filesIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden);
    }

    qbtest::ScopedRegistryDir registry;
    qbtest::TempDir dir;
    ui::MainWindowOptions base;
};

TEST_F(WindowSetTest, OpenUdlCancelledClosesTheOnlyWindowAndTheProcessEndsWithOne)
{
    app::WindowSet set(base);
    QSignalSpy emptied(&set, &app::WindowSet::emptied);
    ModalDriver driver({cancel()});
    set.startFirstWindow(explorer::readCommandLine({QStringLiteral("-openudl")}));
    EXPECT_EQ(driver.stepsLeft(), 0u);
    ASSERT_TRUE(waitUntil([&] { return emptied.count() == 1; }));
    EXPECT_EQ(set.count(), 0);
    EXPECT_EQ(set.exitCode(), 1);
}

TEST_F(WindowSetTest, OpenUdlOpensTheChosenFileAndAPathWithSpacesShowsInTheCaptionAsItIs)
{
    const QString udl = sqliteLink("my shop [old]");
    app::WindowSet set(base);
    QSignalSpy emptied(&set, &app::WindowSet::emptied);
    ModalDriver driver({chooseFile(udl)});
    set.startFirstWindow(explorer::readCommandLine({QStringLiteral("-openudl")}));
    ASSERT_EQ(set.count(), 1);
    ui::MainWindow& w = *set.window(0);
    EXPECT_TRUE(w.isConnected());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), caption(udl));
    waitIdle(w);
    w.close();
    ASSERT_TRUE(waitUntil([&] { return emptied.count() == 1; }));
    EXPECT_EQ(set.exitCode(), 0);
}

TEST_F(WindowSetTest, ANewConnectionCommandOfAConnectedWindowOpensItInASecondWindow)
{
    const QString first = sqliteLink("first");
    const QString second = sqliteLink("second");
    app::WindowSet set(base);
    set.startFirstWindow(explorer::readCommandLine({QStringLiteral("-udl"), first}));
    ASSERT_EQ(set.count(), 1);
    ui::MainWindow& one = *set.window(0);
    ASSERT_TRUE(one.isConnected());
    waitIdle(one);

    ModalDriver driver({chooseFile(second)});
    one.runCommand(ui::kCmdOpenDataLink);
    ASSERT_TRUE(waitUntil([&] { return set.count() == 2 && set.window(1)->isConnected(); }));
    EXPECT_EQ(one.windowTitle(), caption(first));
    EXPECT_EQ(set.window(1)->windowTitle(), caption(second));
    EXPECT_EQ(set.firstLiveWindow(), &one);
    // Both come from the same saved place; the second does not hide the first.
    EXPECT_NE(set.window(1)->pos(), one.pos());
    waitIdle(*set.window(1));

    // Without a connection the window opens the file itself.
    set.window(1)->runCommand(ui::kCmdCloseConnection);
    ModalDriver again({chooseFile(first)});
    set.window(1)->runCommand(ui::kCmdOpenDataLink);
    EXPECT_EQ(again.stepsLeft(), 0u);
    EXPECT_EQ(set.count(), 2);
    EXPECT_EQ(set.window(1)->windowTitle(), caption(first));
    waitIdle(*set.window(1));
}

TEST_F(WindowSetTest, ASixtyFourthWindowIsRefusedWithTheMessageAndAClosedOneMakesRoom)
{
    app::WindowSet set(base);
    for (int i = 0; i < app::WindowSet::kMaxWindows; ++i)
        ASSERT_NE(set.startWindow({}), nullptr) << i;
    SeenBox seen;
    {
        ModalDriver driver({readAndClose(seen)});
        EXPECT_EQ(set.startWindow({}), nullptr);
        EXPECT_EQ(driver.stepsLeft(), 0u);
    }
    EXPECT_EQ(seen.title, "qorvex");
    EXPECT_EQ(seen.text, "ERROR: Cannot create ANY MORE threads!!!");
    EXPECT_EQ(set.count(), 63);

    set.window(0)->close();
    ASSERT_TRUE(waitUntil([&] { return set.count() == 62; }));
    EXPECT_NE(set.startWindow({}), nullptr);
}

TEST_F(WindowSetTest, NewDataLinkCancelledInTheEditorLeavesNoFileAndClosesTheWindow)
{
    const QString target = dir.qfile("new link.udl");
    app::WindowSet set(base);
    QSignalSpy emptied(&set, &app::WindowSet::emptied);
    const QStringList before = filesIn(dir.qpath());
    ModalDriver driver({chooseFile(target)});
    set.startFirstWindow(explorer::readCommandLine({QStringLiteral("-newudl")}));
    EXPECT_EQ(driver.stepsLeft(), 0u);
    ASSERT_TRUE(waitUntil([&] { return emptied.count() == 1; }));
    EXPECT_EQ(set.exitCode(), 1);
    EXPECT_EQ(filesIn(dir.qpath()), before);
}

TEST_F(WindowSetTest, NewDataLinkSavedConnectsTheWindowAndJoinsTheRecentList)
{
    const QString database = dir.qfile("shop.db");
    qbtest::makeSqliteFile(database);
    setEditorSaves(QStringLiteral("Provider=SQLite;Data Source=") + database);
    const QString target = dir.qfile("new link.udl");
    app::WindowSet set(base);
    ModalDriver driver({chooseFile(target)});
    set.startFirstWindow(explorer::readCommandLine({QStringLiteral("-newudl")}));
    ASSERT_EQ(set.count(), 1);
    ui::MainWindow& w = *set.window(0);
    EXPECT_TRUE(w.isConnected());
    EXPECT_EQ(w.windowTitle(), caption(target));
    EXPECT_EQ(w.recentList().entries(), QStringList{target});
    EXPECT_EQ(data::readDataLinkProvider(target), "SQLite");
    waitIdle(w);
    EXPECT_EQ(set.exitCode(), 0);
}

TEST_F(WindowSetTest, NewConnectionStringCancelledClosesTheWindow)
{
    app::WindowSet set(base);
    QSignalSpy emptied(&set, &app::WindowSet::emptied);
    ModalDriver driver({cancel()});
    set.startFirstWindow(explorer::readCommandLine({QStringLiteral("-newcstr")}));
    EXPECT_EQ(driver.stepsLeft(), 0u);
    ASSERT_TRUE(waitUntil([&] { return emptied.count() == 1; }));
    EXPECT_EQ(set.exitCode(), 1);
}

TEST_F(WindowSetTest, AFileWhoseProviderCannotStartKeepsThePreviousConnectionAndSaysWhy)
{
    const QString good = sqliteLink("good");
    const QString bad = dir.qfile("bad.udl");
    data::writeDataLinkFile(bad, QStringLiteral("Provider=SQLite;Data Source=") + dir.qfile("no folder/x.db") +
                                     QStringLiteral(";Mode=ReadOnly"));
    app::WindowSet set(base);
    set.startFirstWindow(explorer::readCommandLine({QStringLiteral("-udl"), good}));
    ui::MainWindow& w = *set.window(0);
    waitIdle(w);
    SeenBox seen;
    ModalDriver driver({readAndClose(seen)});
    EXPECT_TRUE(w.openConnection(bad, true));
    const QString prefix = QStringLiteral("The new connection has been interrupted: ");
    EXPECT_TRUE(seen.text.startsWith(prefix)) << seen.text.toStdString();
    EXPECT_GT(seen.text.size(), prefix.size() + 5) << seen.text.toStdString();
    EXPECT_EQ(w.windowTitle(), caption(good));
    EXPECT_EQ(w.recentList().entries(), QStringList{good});
}

TEST_F(WindowSetTest, AReopenedFileMovesToTheNewestPlaceOfTheRecentList)
{
    const QString a = sqliteLink("a");
    const QString b = sqliteLink("b");
    app::WindowSet set(base);
    set.startFirstWindow({});
    ui::MainWindow& w = *set.window(0);
    for (const QString& udl : {a, b, a}) {
        ASSERT_TRUE(w.openConnection(udl, true));
        waitIdle(w);
    }
    EXPECT_EQ(w.recentList().entries(), (QStringList{b, a}));
    EXPECT_EQ(w.recentList().pathForCommand(RecentDocumentList::kFirstCommand), a);
}

TEST_F(WindowSetTest, PaneSwitchesGoOverTheSavedLayoutAndDontSaveLayoutWritesNoLayout)
{
    app::WindowSet set(base);
    set.startFirstWindow(explorer::readCommandLine(
        {QStringLiteral("-show_report"), QStringLiteral("-hide_report"), QStringLiteral("-hide_dbtree"),
         QStringLiteral("-dontsavelayout")}));
    ui::MainWindow& w = *set.window(0);
    EXPECT_FALSE(w.pane(ui::MainWindow::ReportPane)->isHidden());
    EXPECT_TRUE(w.pane(ui::MainWindow::TreePane)->isHidden());
    EXPECT_FALSE(w.pane(ui::MainWindow::QuickViewPane)->isHidden());
    w.resize(777, 555);
    w.close();
    ASSERT_TRUE(waitUntil([&] { return set.count() == 0; }));
    const QString view = settings::explorerRootPath() + settings::viewKey();
    EXPECT_EQ(settings::readDwordSetting(view, QStringLiteral("right"), 12345), 12345u);

    // Without the switch the window's layout is kept.
    set.startWindow(explorer::readCommandLine({QStringLiteral("-hide_dbtree")}));
    set.window(0)->close();
    ASSERT_TRUE(waitUntil([&] { return set.count() == 0; }));
    EXPECT_NE(settings::readDwordSetting(view, QStringLiteral("right"), 12345), 12345u);
}

TEST_F(WindowSetTest, AMissingTipFlagShowsTheTipAtStartAndIsWrittenThen)
{
    ASSERT_EQ(settings::readDwordSetting(kVersionKey, QStringLiteral("ShowTipOfTheDay"), 7), 0u);
    qb::reg::KeyGuard key;
    ASSERT_EQ(qb::reg::RegOpenKeyEx(qb::reg::HKEY_CURRENT_USER, kVersionKey, key.out()), qb::reg::ERROR_SUCCESS);
    ASSERT_EQ(qb::reg::RegDeleteValue(key.get(), QStringLiteral("ShowTipOfTheDay")), qb::reg::ERROR_SUCCESS);

    QString shownTitle;
    app::WindowSet set(base);
    ModalDriver driver({[&](QWidget* modal) {
        shownTitle = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    }});
    set.startFirstWindow({});
    EXPECT_EQ(shownTitle, "Tip of the Day");
    EXPECT_EQ(settings::readDwordSetting(kVersionKey, QStringLiteral("ShowTipOfTheDay"), 7), 1u);

    // Help > Tip of the Day shows it whatever the flag says.
    setTipFlag(0);
    shownTitle.clear();
    ModalDriver help({[&](QWidget* modal) {
        shownTitle = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    }});
    set.window(0)->runCommand(ui::kCmdTipOfTheDay);
    EXPECT_EQ(shownTitle, "Tip of the Day");
}

TEST_F(WindowSetTest, AMissingTipsLibraryIsNamedInAnErrorBoxAndTheWindowStillStarts)
{
    setTipFlag(1);
    qbtest::TempDir empty;
    base.tipsFolder = empty.qpath();
    app::WindowSet set(base);
    SeenBox seen;
    ModalDriver driver({readAndClose(seen)});
    set.startFirstWindow({});
    EXPECT_EQ(seen.title, "Vexa@Qorvex: Error message");
    EXPECT_EQ(seen.text, "Program can't load the \"liboltiva.so\" library. Please, reinstall this software.");
    ASSERT_EQ(set.count(), 1);
    EXPECT_TRUE(set.window(0)->isVisible());
    EXPECT_EQ(set.exitCode(), 0);
}

TEST_F(WindowSetTest, AHandOverOpensItsFileInANewWindowOrBringsTheFirstLiveWindowForward)
{
    const QString udl = sqliteLink("handed");
    app::WindowSet set(base);
    set.startWindow({});
    set.startWindow({});
    set.window(1)->setWindowTitle(QStringLiteral("the second"));
    set.window(0)->close();
    ASSERT_TRUE(waitUntil([&] { return set.count() == 1; }));
    // The window that closed is not the one brought forward.
    const QString raised = app::answerHandOver(set, {});
    EXPECT_TRUE(raised.contains("\"the second\" was brought forward")) << raised.toStdString();

    QDir::setCurrent(dir.qpath());
    const QStringList request = app::handOverRequest({QStringLiteral("-udl"), QStringLiteral("handed.udl")});
    EXPECT_EQ(request, (QStringList{"-udl", udl}));
    const QString opened = app::answerHandOver(set, request);
    EXPECT_TRUE(opened.endsWith("opens " + udl + " in a new window")) << opened.toStdString();
    ASSERT_TRUE(waitUntil([&] { return set.count() == 2 && set.window(1)->isConnected(); }));
    EXPECT_EQ(set.window(1)->windowTitle(), caption(udl));
    waitIdle(*set.window(1));
}

} // namespace
