// The result window on its own: appended text keeps its line breaks, and the window follows the
// end once appended text is shown, unless the user scrolled away; while text streams in, it is
// shown at most once an interval.
#include "console/ui/ResultView.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QTextDocument>

namespace {

using qb::console::ui::ResultView;

QString lines(int from, int count)
{
    QString text;
    for (int i = from; i < from + count; ++i)
        text += QStringLiteral("row %1\r\n").arg(i);
    return text;
}

class ResultViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(400, 200);
        view.show();
        QCoreApplication::processEvents();
    }
    QScrollBar& bar() { return *view.verticalScrollBar(); }
    // Until the appended text is shown.
    bool refreshed() { return qbtest::waitUntil([&] { return !view.refreshPending(); }, 10000); }

    ResultView view;
};

TEST_F(ResultViewTest, CrLfALoneCrAndLfEachBreakTheLineOnce)
{
    view.append(QStringLiteral("a\r\nb\rc\nd"), nullptr);
    EXPECT_EQ(view.document()->blockCount(), 4);
    EXPECT_EQ(view.toPlainText(), "a\nb\nc\nd");
}

TEST_F(ResultViewTest, TheFirstAppendsAfterAQuietSpellShowAtTheEndOfTheirTurn)
{
    for (int i = 0; i < 10; ++i)
        view.append(lines(i * 100, 100), nullptr);
    EXPECT_TRUE(view.viewport()->updatesEnabled());
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.refreshPending());
    ASSERT_GT(bar().maximum(), 0);
    EXPECT_EQ(bar().value(), bar().maximum());
}

TEST_F(ResultViewTest, WhileTextStreamsInTheWindowKeepsFollowingTheEndAndIsRepaintedAgain)
{
    for (int i = 0; i < 50; ++i) {
        view.append(lines(i * 100, 100), nullptr);
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(refreshed());
    EXPECT_TRUE(view.viewport()->updatesEnabled()) << "never left without repaints";
    EXPECT_EQ(bar().value(), bar().maximum());
    EXPECT_EQ(view.document()->blockCount(), 5001);
}

TEST_F(ResultViewTest, AWindowScrolledAwayStaysWhereTheUserLeftIt)
{
    view.append(lines(0, 1000), nullptr);
    ASSERT_TRUE(refreshed());
    bar().setValue(10);
    view.append(lines(1000, 1000), nullptr);
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(bar().value(), 10);
}

TEST_F(ResultViewTest, HeldRepaintScrollsToTheEndOnlyWhenReleased)
{
    view.holdRepaint();
    view.append(lines(0, 1000), nullptr);
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(bar().value(), 0);
    EXPECT_FALSE(view.viewport()->updatesEnabled());
    view.releaseRepaint();
    EXPECT_EQ(bar().value(), bar().maximum());
    EXPECT_GT(bar().maximum(), 0);
}

} // namespace
