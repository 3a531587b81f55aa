// The result window on its own: appended text keeps its line breaks, and the window follows the
// end once the appends of a turn of the event loop are done, unless the user scrolled away.
#include "console/ui/ResultView.h"

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

    ResultView view;
};

TEST_F(ResultViewTest, CrLfALoneCrAndLfEachBreakTheLineOnce)
{
    view.append(QStringLiteral("a\r\nb\rc\nd"), nullptr);
    EXPECT_EQ(view.document()->blockCount(), 4);
    EXPECT_EQ(view.toPlainText(), "a\nb\nc\nd");
}

TEST_F(ResultViewTest, TheWindowFollowsTheEndOnceTheAppendsOfATurnAreDone)
{
    for (int i = 0; i < 10; ++i)
        view.append(lines(i * 100, 100), nullptr);
    QCoreApplication::processEvents();
    ASSERT_GT(bar().maximum(), 0);
    EXPECT_EQ(bar().value(), bar().maximum());
    view.append(lines(1000, 100), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar().value(), bar().maximum()) << "it keeps following";
}

TEST_F(ResultViewTest, AWindowScrolledAwayStaysWhereTheUserLeftIt)
{
    view.append(lines(0, 1000), nullptr);
    QCoreApplication::processEvents();
    bar().setValue(10);
    view.append(lines(1000, 1000), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar().value(), 10);
}

TEST_F(ResultViewTest, HeldRepaintScrollsToTheEndOnlyWhenReleased)
{
    view.holdRepaint();
    view.append(lines(0, 1000), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar().value(), 0);
    view.releaseRepaint();
    EXPECT_EQ(bar().value(), bar().maximum());
    EXPECT_GT(bar().maximum(), 0);
}

} // namespace
