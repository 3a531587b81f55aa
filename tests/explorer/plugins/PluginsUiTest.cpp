// The plug-in host's widgets offscreen: the popup menu of a cell and the viewer chosen from it,
// a plug-in's warning, the text viewer's dialog and the Plug-ins dialog.
#include "PluginTestSupport.h"

#include "explorer/plugins/ui/PluginMenuPopup.h"
#include "explorer/plugins/ui/PluginStartup.h"
#include "explorer/plugins/ui/PluginsDialog.h"
#include "explorer/plugins/ui/TextViewerDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace qb::plugins;

namespace qbtest {
namespace {

// Runs `act` on the next modal widget or popup once it is up (it blocks the caller until closed).
void whenUp(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        act(w);
    });
}

QStringList actionTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* a : menu.actions())
        texts << (a->isSeparator() ? QStringLiteral("---") : a->text() + (a->isEnabled() ? QString() : QStringLiteral(" [off]")));
    return texts;
}

TEST(PluginPopup, OpensBelowTheCellAndShowsTheValueWithTheViewerChosen)
{
    PluginFolder folder;
    const std::string path = folder.add(QBTEST_RECORDER, "recorder.blob");
    HostInUse use(folder.path());
    RecordedPlugin recorder(path);
    recorder.reset();
    FixedCellSource cell;
    cell.set(QByteArray("a & b"), QB_TYPE_STR);
    QWidget list;
    list.resize(300, 200);
    list.show();
    QPoint shownAt;
    QStringList texts;
    whenUp([&](QWidget* w) {
        auto* menu = qobject_cast<QMenu*>(w);
        ASSERT_NE(menu, nullptr);
        texts = actionTexts(*menu);
        shownAt = menu->pos();
        menu->setActiveAction(menu->actions().at(2));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    EXPECT_TRUE(openPluginMenu(&list, QRect(40, 20, 100, 18), cell, 0, 1));
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Show as a simple text"), QStringLiteral("---"), QStringLiteral("Recorder")}));
    EXPECT_EQ(shownAt, list.mapToGlobal(QPoint(40, 38)));
    EXPECT_EQ(recorder.lastValue(), QByteArray("a & b"));
    EXPECT_TRUE(recorder.calls().contains(QStringLiteral("ShowBLOB parent=set reserved=0")));
    EXPECT_EQ(cell.fills, 1);
    EXPECT_EQ(cell.releases, 1);

    cell.set(std::nullopt, QB_TYPE_STR);
    EXPECT_FALSE(openPluginMenu(&list, QRect(), cell, 0, 1)) << "a NULL cell opens no menu";
}

TEST(PluginPopup, TheEmptyItemIsDisabledAndAmpersandsInPluginNamesShowAsTheyAre)
{
    HostInUse use{QString()};
    FixedCellSource cell;
    cell.set(QByteArray("\x01", 1), QB_TYPE_BYTES);
    auto menu = use.host().buildMenu(cell, 0, 1);
    EXPECT_EQ(actionTexts(*makePluginPopup(*menu)), QStringList{QStringLiteral("(empty) [off]")});
    EXPECT_EQ(makePluginPopup(*menu)->actions().at(0)->data().toInt(), 1);
}

TEST(PluginPopup, APluginsWarningIsShownAsPlainTextUnderTheErrorCaption)
{
    PluginFolder folder;
    folder.add(QBTEST_RECORDER_FAILS, "fails.blob");
    HostInUse use(folder.path());
    FixedCellSource cell;
    cell.set(QByteArray("x"), QB_TYPE_BYTES);
    QWidget window;
    QString title, text;
    Qt::TextFormat format = Qt::RichText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenUp([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        icon = box->icon();
        box->accept();
    });
    runPluginCommand(0xD011, cell, 0, 1, &window);
    EXPECT_EQ(title, QStringLiteral("Vexa@Qorvex: Error message"));
    EXPECT_EQ(text, QStringLiteral("Only 50% done: %s %n %1"));
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_TRUE(isPluginCommand(0xD000));
    EXPECT_TRUE(isPluginCommand(0xD100));
    EXPECT_FALSE(isPluginCommand(0xD101));
    EXPECT_FALSE(isPluginCommand(0xCFFF));
}

TEST(TextViewer, ShowsTheTextResizesNoSmallerThanItOpenedAndClosesWithEscape)
{
    const QString text = QStringLiteral("first line\nsecond line ") + QString(3000, u'w');
    TextViewerDialog dialog(text);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Showing data as plain text"));
    EXPECT_EQ(dialog.textBox()->toPlainText(), text);
    EXPECT_FALSE(dialog.textBox()->isReadOnly());
    EXPECT_EQ(dialog.textBox()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QSize opened = dialog.size();
    EXPECT_EQ(dialog.minimumSize(), opened);
    dialog.resize(opened + QSize(200, 100));
    EXPECT_EQ(dialog.size(), opened + QSize(200, 100));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(TextViewer, TheInternalPluginShowsItsDialogOverTheParent)
{
    startPlugins(); // the test program's own folder has no plugins folder: the text viewer only
    ASSERT_EQ(PluginHost::count(), 1);
    FixedCellSource cell;
    cell.set(QStringLiteral("wide \u00e9").toUtf8(), QB_TYPE_STR);
    QWidget window;
    QString shown;
    QWidget* owner = nullptr;
    whenUp([&](QWidget* w) {
        auto* dialog = qobject_cast<TextViewerDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->textBox()->toPlainText();
        owner = dialog->parentWidget();
        dialog->accept();
    });
    runPluginCommand(0xD000, cell, 0, 1, &window);
    stopPlugins();
    EXPECT_EQ(shown, QStringLiteral("wide \u00e9"));
    EXPECT_EQ(owner, &window);
}

TEST(PluginsDialog, ListsEveryKindsPluginsAndCallsAboutAndConfigureWhereAPluginHasThem)
{
    PluginFolder folder;
    const std::string path = folder.add(QBTEST_RECORDER, "a-recorder.blob");
    folder.add(QBTEST_BRYNDLE, "bryndle.blob");
    HostInUse use(folder.path());
    RecordedPlugin recorder(path);
    recorder.reset();
    PluginsDialog dialog({{QStringLiteral("Data Base"), false}, {QStringLiteral("Table"), true}});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Plug-ins"));
    QTreeWidget* tree = dialog.tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Data Base"));
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("(empty)"));
    QTreeWidgetItem* table = tree->topLevelItem(1);
    ASSERT_EQ(table->childCount(), 3);
    EXPECT_EQ(table->child(0)->text(0), QStringLiteral("Simple text viewer ["));
    EXPECT_EQ(table->child(1)->text(0), QStringLiteral("Recorder plug-in"));
    EXPECT_EQ(table->child(2)->text(0), QStringLiteral("Bryndle hex viewer"));
    EXPECT_EQ(tree->currentItem(), table->child(0)) << "the first plug-in is shown on opening";

    tree->setCurrentItem(table->child(0));
    EXPECT_EQ(dialog.details(), (QStringList{QStringLiteral("Internal plug-in"), QStringLiteral("Simple text viewer ["),
                                             QStringLiteral("1.6.0"), QStringLiteral("Copyright (C) Marrowind. All rights reserved."),
                                             QStringLiteral("English"), QStringLiteral("Uses the BLOB or TEXT field as a simple text")}));
    EXPECT_FALSE(dialog.aboutButton()->isEnabled());

    tree->setCurrentItem(table->child(1));
    EXPECT_TRUE(dialog.details()[0].startsWith(QStringLiteral("External plug-in (")));
    EXPECT_EQ(dialog.details()[2], QString(11, u'9'));
    ASSERT_TRUE(dialog.aboutButton()->isEnabled());
    ASSERT_TRUE(dialog.configureButton()->isEnabled());
    QTest::mouseClick(dialog.aboutButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.configureButton(), Qt::LeftButton);
    EXPECT_TRUE(recorder.calls().contains(QStringLiteral("ShowAboutBox parent=set")));
    EXPECT_TRUE(recorder.calls().contains(QStringLiteral("ShowConfigurateWnd parent=set")));

    tree->setCurrentItem(table->child(2));
    EXPECT_TRUE(dialog.aboutButton()->isEnabled());
    EXPECT_FALSE(dialog.configureButton()->isEnabled());
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    EXPECT_EQ(dialog.details()[0], QStringLiteral("(empty)"));
    EXPECT_FALSE(dialog.aboutButton()->isEnabled());
}

} // namespace
} // namespace qbtest

int main(int argc, char** argv)
{
    // Discovery runs without the test's environment; a QApplication without a display aborts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
