// The result window on its own: appended text keeps its line breaks, and the window follows the
// end once appended text is shown, unless the user scrolled away; while text streams in, it is
// shown at most once an interval. The user selects with keys and mouse, copies, searches and
// scrolls both ways; the lines in sight are painted in their formats.
#include "console/ui/ResultView.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

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
    // Just inside the left edge of character `column` of a line, on the viewport.
    QPoint pointOf(qsizetype line, int column)
    {
        const QString text = view.lineText(line);
        const QFontMetrics metrics(view.font());
        return view.lineOrigin(line) + QPoint(metrics.horizontalAdvance(text.left(column)) + 1, view.lineHeight() / 2);
    }
    void focus()
    {
        view.activateWindow();
        view.setFocus();
        QCoreApplication::processEvents();
    }
    // Until the appended text is shown.
    bool refreshed() { return qbtest::waitUntil([&] { return !view.refreshPending(); }, 10000); }

    ResultView view;
};

TEST_F(ResultViewTest, CrLfALoneCrAndLfEachBreakTheLineOnce)
{
    view.append(QStringLiteral("a\r\nb\rc\nd"), nullptr);
    EXPECT_EQ(view.lineCount(), 4);
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
    EXPECT_EQ(view.lineCount(), 5001);
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

TEST_F(ResultViewTest, KeysMoveTheCaretAndShiftSelectsWhatCtrlCCopies)
{
    QSignalSpy moved(&view, &ResultView::cursorPositionChanged);
    QSignalSpy selected(&view, &ResultView::selectionChanged);
    view.append(QStringLiteral("first line\r\n\tsecond\r\nthird"), nullptr);
    focus();
    EXPECT_EQ(view.caretRowColumn(4), std::make_pair(1, 1));
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.caretRowColumn(4), std::make_pair(2, 6)) << "the TAB to column 4, then s";
    EXPECT_EQ(view.caretRowColumn(0), std::make_pair(2, 3)) << "tab count 0: a TAB is one column";
    EXPECT_FALSE(view.hasSelection());
    EXPECT_EQ(moved.count(), 3);
    EXPECT_EQ(selected.count(), 0);
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), "econd\nthird");
    EXPECT_GE(selected.count(), 2);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "econd\nthird");
    QTest::keyClick(&view, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), "econd\n") << "the anchor stays where Shift began";
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_FALSE(view.hasSelection()) << "Left without Shift ends the selection at its start";
    EXPECT_EQ(view.caretPosition(), 13);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), "econd\n") << "Ctrl+Right to the next word, over the line break";
    QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(view.caretPosition(), 6) << "Ctrl+Left to the start of this word, then of the one before";
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.caretPosition(), view.toPlainText().size());
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), view.toPlainText());
}

TEST_F(ResultViewTest, SelectAllCopiesAMultiLineResultWithLfBreaks)
{
    view.append(QStringLiteral("id  name\r\n--  ----\r\n"), nullptr);
    view.append(QStringLiteral("1   Ann\r2   Bob\r\n"), nullptr);
    focus();
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "id  name\n--  ----\n1   Ann\n2   Bob\n");
}

TEST_F(ResultViewTest, PageDownMovesTheCaretAPageAndKeepsItInSight)
{
    view.append(lines(0, 300), nullptr);
    ASSERT_TRUE(refreshed());
    bar().setValue(0);
    focus();
    QTest::keyClick(&view, Qt::Key_PageDown);
    QTest::keyClick(&view, Qt::Key_PageDown);
    const qsizetype line = view.caretRowColumn(4).first - 1;
    EXPECT_EQ(line, 2 * bar().pageStep());
    EXPECT_GE(line, bar().value());
    EXPECT_LT(line, bar().value() + bar().pageStep());
    QTest::keyClick(&view, Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText().count(u'\n'), bar().pageStep());
}

TEST_F(ResultViewTest, TheMouseSelectsByDraggingByDoubleClickAndShiftClick)
{
    view.append(QStringLiteral("alpha beta gamma\r\nsecond line here\r\nthird"), nullptr);
    focus();
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, pointOf(0, 6));
    QMouseEvent move(QEvent::MouseMove, pointOf(1, 6), view.viewport()->mapToGlobal(pointOf(1, 6)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, pointOf(1, 6));
    EXPECT_EQ(view.selectedText(), "beta gamma\nsecond");
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, pointOf(2, 3));
    EXPECT_EQ(view.selectedText(), "beta gamma\nsecond line here\nthi") << "Shift+click extends from the anchor";
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointOf(1, 9));
    EXPECT_EQ(view.selectedText(), "line");
}

TEST_F(ResultViewTest, DraggingBelowTheWindowScrollsItAndExtendsTheSelection)
{
    view.append(lines(0, 200), nullptr);
    ASSERT_TRUE(refreshed());
    bar().setValue(0);
    focus();
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, pointOf(0, 0));
    const QPoint below(20, view.viewport()->height() + 30);
    QMouseEvent move(QEvent::MouseMove, below, view.viewport()->mapToGlobal(below), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    const int first = bar().value();
    ASSERT_TRUE(qbtest::waitUntil([&] { return bar().value() > first + 3; }, 10000)) << "scrolls while the button is down";
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, below);
    const int stopped = bar().value();
    QTest::qWait(200);
    EXPECT_EQ(bar().value(), stopped) << "and stops when it is let go";
    EXPECT_TRUE(view.selectedText().startsWith("row 0\nrow 1\n"));
    EXPECT_GE(view.selectedText().count(u'\n'), stopped);
}

TEST_F(ResultViewTest, FindSelectsTheHitInSightAndNeverWraps)
{
    view.append(lines(0, 500), nullptr);
    view.append(QStringLiteral("Row total: 500"), nullptr);
    ASSERT_TRUE(refreshed());
    bar().setValue(0);
    qb::console::ui::TextSearch search;
    search.text = "row 250";
    search.wholeWord = true;
    ASSERT_TRUE(view.findText(search));
    EXPECT_EQ(view.selectedText(), "row 250");
    const qsizetype line = view.caretRowColumn(4).first - 1;
    EXPECT_EQ(line, 250);
    EXPECT_GE(line, bar().value());
    EXPECT_LT(line, bar().value() + bar().pageStep());
    search.text = "row 25";
    EXPECT_FALSE(view.findText(search)) << "row 25 as a whole word is above";
    EXPECT_EQ(view.selectedText(), "row 250") << "a miss keeps the selection";
    search.down = false;
    ASSERT_TRUE(view.findText(search));
    EXPECT_EQ(view.selectionStart(), view.toPlainText().indexOf("row 25\n"));
    search.text = "ROW";
    search.matchCase = true;
    search.down = true;
    EXPECT_FALSE(view.findText(search));
    search.matchCase = false;
    ASSERT_TRUE(view.findText(search));
    EXPECT_EQ(view.selectionStart(), view.toPlainText().indexOf("row 26"));
    view.setSelection(view.toPlainText().size(), view.toPlainText().size());
    search.text = "Row total";
    EXPECT_FALSE(view.findText(search)) << "from the end, down finds nothing: no wrap";
}

TEST_F(ResultViewTest, ClearEmptiesTheWindowAndItsScrollRanges)
{
    QSignalSpy changed(&view, &ResultView::textChanged);
    view.append(lines(0, 500), nullptr);
    ASSERT_TRUE(refreshed());
    view.selectAll();
    view.clearText();
    EXPECT_FALSE(view.hasText());
    EXPECT_FALSE(view.hasSelection());
    EXPECT_EQ(view.lineCount(), 1);
    EXPECT_EQ(bar().maximum(), 0);
    EXPECT_EQ(view.caretRowColumn(4), std::make_pair(1, 1));
    EXPECT_EQ(changed.count(), 2);
    view.append(QStringLiteral("again"), nullptr);
    EXPECT_EQ(view.toPlainText(), "again");
}

TEST_F(ResultViewTest, TheHorizontalRangeCoversTheLongestLineWithItsTabs)
{
    const QString longLine = QStringLiteral("x\t").repeated(60) + "end";
    qb::console::EditorOptions options;
    options.tabCount = 4;
    options.leftMargin = 30;
    options.rightMargin = 20;
    view.applyEditorOptions(options, view.font());
    view.append(lines(0, 10) + longLine + "\r\n" + lines(10, 10), nullptr);
    ASSERT_TRUE(refreshed());
    QTextLayout layout(longLine, view.font());
    QTextOption option;
    option.setTabStopDistance(qb::console::ui::tabStopDistance(4, view.font()));
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const qreal width = layout.lineAt(0).naturalTextWidth();
    QScrollBar& horizontal = *view.horizontalScrollBar();
    ASSERT_GT(width, view.viewport()->width());
    EXPECT_EQ(view.viewport()->width(), view.width() - 2 * view.frameWidth() - 50 - view.verticalScrollBar()->width());
    EXPECT_GE(horizontal.maximum() + horizontal.pageStep(), width);
    EXPECT_LE(horizontal.maximum() + horizontal.pageStep(), width + 4 * qb::console::ui::ResultView::kInset);
    horizontal.setValue(horizontal.maximum());
    const QPoint end = view.lineOrigin(10) + QPoint(int(width), 0);
    EXPECT_LE(end.x(), view.viewport()->width()) << "the line's end is in sight at the far right";

    // A line too long to lay out on every append is estimated, never short.
    const QString value = QStringLiteral("W\tm").repeated(3000);
    view.append(value, nullptr);
    QTextLayout valueLayout(value, view.font());
    valueLayout.setTextOption(option);
    valueLayout.beginLayout();
    valueLayout.createLine();
    valueLayout.endLayout();
    EXPECT_GE(horizontal.maximum() + horizontal.pageStep(), valueLayout.lineAt(0).naturalTextWidth());
}

// Whether a band of the picture has a pixel near the colour (text is antialiased).
bool hasColour(const QImage& image, QRect band, QColor colour)
{
    band &= image.rect();
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 60)
                return true;
        }
    }
    return false;
}

TEST_F(ResultViewTest, VisibleLinesArePaintedInTheirFormatsColoursAndTheSelectionIsHighlighted)
{
    QTextCharFormat header;
    header.setForeground(QColor(200, 0, 0));
    QFont bold = view.font();
    bold.setBold(true);
    header.setFont(bold, QTextCharFormat::FontPropertiesAll);
    QTextCharFormat rows;
    rows.setForeground(QColor(0, 0, 200));
    view.append(QStringLiteral("HEADER MMMM WWWW\r\n"), &header);
    view.append(QStringLiteral("MMMM WWWW 1\r\n"), &rows);
    view.append(QStringLiteral("MMMM WWWW 2\r\n"), nullptr);
    ASSERT_TRUE(refreshed());
    const auto band = [&](qsizetype line) {
        return QRect(view.viewport()->mapTo(&view, view.lineOrigin(line)), QSize(view.viewport()->width(), view.lineHeight()));
    };
    QImage picture = view.grab().toImage();
    EXPECT_TRUE(hasColour(picture, band(0), QColor(200, 0, 0)));
    EXPECT_FALSE(hasColour(picture, band(0), QColor(0, 0, 200)));
    EXPECT_TRUE(hasColour(picture, band(1), QColor(0, 0, 200)));
    EXPECT_TRUE(hasColour(picture, band(2), QColor(0, 0, 200))) << "a plain append continues the format";
    EXPECT_FALSE(hasColour(picture, band(2), QColor(200, 0, 0)));
    EXPECT_EQ(picture.pixelColor(band(3).center()), QColor(Qt::white)) << "below the text";

    view.clearFocus();
    const QColor highlight = view.palette().color(QPalette::Inactive, QPalette::Highlight);
    EXPECT_FALSE(hasColour(picture, band(1), highlight));
    view.setSelection(view.toPlainText().indexOf("WWWW 1"), view.toPlainText().indexOf("WWWW 2"));
    picture = view.grab().toImage();
    EXPECT_FALSE(hasColour(picture, band(0), highlight));
    EXPECT_TRUE(hasColour(picture, band(1), highlight)) << "kept without the focus";
    EXPECT_TRUE(hasColour(picture, band(2), highlight));
}

} // namespace
