// Proves the path every GUI suite relies on: a main window under the offscreen platform, a key
// sent with Qt Test, a result checked.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>

TEST(GuiSmoke, MainWindowTakesKeysAndShortcuts)
{
    QMainWindow window;
    auto* edit = new QLineEdit(&window);
    window.setCentralWidget(edit);
    int triggered = 0;
    auto* action = new QAction("&Refresh", &window);
    action->setShortcut(QKeySequence("Ctrl+R"));
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    edit->setFocus();

    QTest::keyClicks(edit, "select 1");
    QTest::keyClick(edit, Qt::Key_R, Qt::ControlModifier);

    EXPECT_EQ(edit->text(), "select 1");
    EXPECT_EQ(triggered, 1);
    EXPECT_FALSE(window.grab().isNull());
}

int main(int argc, char** argv)
{
    // Discovery runs without the test's environment; a QApplication without a display aborts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
