// The tips dialog on real widgets (offscreen): paging through the tips, the missing file, the
// escapes and links in the text area, the check box in and out, and where the dialog appears.
#include "support/TempDir.h"
#include "tips/HyperTextControl.h"
#include "tips/TipsDialog.h"
#include "tips/TipsFiles.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace qb::tips;

namespace {

class TipsDialogTest : public ::testing::Test {
protected:
    QString tipsFile(int count, const QStringList& tips, const QString& caption = {})
    {
        const QString path = dir.qfile("test.tip");
        qbtest::writeTipsFile(path, count, tips, caption);
        return path;
    }

    qbtest::TempDir dir;
};

// Receives the links the desktop would open, instead of the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher()
    {
        for (const char* scheme : {"http", "https", "ftp", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlCatcher() override
    {
        for (const char* scheme : {"http", "https", "ftp", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST_F(TipsDialogTest, ThreeTipsAreShownInOrderOncePerDialog)
{
    TipsDialog dialog(tipsFile(3, {QStringLiteral("zero"), QStringLiteral("one"), QStringLiteral("two")}), 1, nullptr, nullptr);
    EXPECT_EQ(dialog.windowTitle(), u"Tip of the Day");
    EXPECT_EQ(dialog.textArea()->text(), u"zero");
    ASSERT_TRUE(dialog.nextButton()->isEnabled());
    QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.textArea()->text(), u"one");
    QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.textArea()->text(), u"two");
    EXPECT_FALSE(dialog.nextButton()->isEnabled());

    TipsDialog again(tipsFile(3, {QStringLiteral("zero"), QStringLiteral("one"), QStringLiteral("two")}), 1, nullptr, nullptr);
    EXPECT_EQ(again.textArea()->text(), u"zero") << "every dialog starts at the first tip";
}

TEST_F(TipsDialogTest, OneTipLeavesNextDisabledAndNoFileSaysSo)
{
    TipsDialog one(tipsFile(1, {QStringLiteral("only")}, QStringLiteral("Hints for you")), 1, nullptr, nullptr);
    EXPECT_EQ(one.textArea()->text(), u"only");
    EXPECT_FALSE(one.nextButton()->isEnabled());
    EXPECT_EQ(one.windowTitle(), u"Hints for you");

    TipsDialog none(dir.qfile("missing.tip"), 1, nullptr, nullptr);
    EXPECT_EQ(none.textArea()->text(), u"Tips file does not exist in the prescribed directory");
    EXPECT_FALSE(none.nextButton()->isEnabled());

    TipsDialog negative(tipsFile(-4, {QStringLiteral("hidden")}), 1, nullptr, nullptr);
    EXPECT_EQ(negative.textArea()->text(), u"Tips file does not exist in the prescribed directory");
}

TEST_F(TipsDialogTest, TheTextAreaBreaksLinesAtTheEscapeAndOpensLinks)
{
    TipsDialog dialog(tipsFile(2, {QStringLiteral("Line\\nNext"), QStringLiteral("Visit www.example.org, or write.")}), 1,
                      nullptr, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    HyperTextControl* text = dialog.textArea();
    ASSERT_EQ(text->lineCount(), 2);
    EXPECT_EQ(text->lineText(0), u"Line ");
    EXPECT_EQ(text->lineText(1), u"Next");

    QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
    ASSERT_EQ(text->links().size(), 1u);
    EXPECT_EQ(text->links()[0].target, u"http://www.example.org");

    UrlCatcher desktop;
    const QPoint onLink = text->linkPosition(0);
    QTest::mouseMove(text, onLink);
    EXPECT_EQ(text->hoveredLink(), 0);
    EXPECT_EQ(text->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(text, Qt::LeftButton, {}, onLink);
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl(QStringLiteral("http://www.example.org"))});

    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(text->width() - 2, text->height() - 2));
    EXPECT_EQ(desktop.opened.size(), 1) << "a click beside the text opens nothing";
}

// Closes the dialog the way a user would, once it is up.
void closeWhenShown(std::function<void(TipsDialog*)> action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<TipsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        action(dialog);
    });
}

TEST_F(TipsDialogTest, TheBoxStartsCheckedOnlyForOneAndItsStateAtClosingIsTheResult)
{
    const QString path = tipsFile(1, {QStringLiteral("tip")});
    for (const int value : {0, 2, -1})
        EXPECT_FALSE(TipsDialog(path, value, nullptr, nullptr).showAtStartup()) << value;

    TipsDialog escaped(path, 1, nullptr, nullptr);
    EXPECT_TRUE(escaped.showAtStartup());
    closeWhenShown([](TipsDialog* d) {
        QTest::mouseClick(d->showAtStartupBox(), Qt::LeftButton, {}, QPoint(4, d->showAtStartupBox()->height() / 2));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(escaped.run());

    TipsDialog closed(path, 0, nullptr, nullptr);
    closeWhenShown([](TipsDialog* d) {
        d->showAtStartupBox()->setChecked(true);
        QTest::keyClick(d, Qt::Key_Return); // Close is the default button
    });
    EXPECT_TRUE(closed.run());
}

TEST_F(TipsDialogTest, CentredOverTheOwnersWindowOrTheWorkArea)
{
    QMainWindow owner;
    owner.setGeometry(60, 80, 700, 500);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QString path = tipsFile(1, {QStringLiteral("tip")});

    TipsDialog over(path, 1, &owner, &owner);
    QPoint centre;
    closeWhenShown([&](TipsDialog* d) {
        centre = d->frameGeometry().center();
        d->reject();
    });
    over.run();
    EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 2);

    owner.hide();
    TipsDialog alone(path, 1, &owner, nullptr);
    closeWhenShown([&](TipsDialog* d) {
        centre = d->frameGeometry().center();
        d->reject();
    });
    alone.run();
    EXPECT_LE((centre - alone.screen()->availableGeometry().center()).manhattanLength(), 2)
        << "a hidden owner is no place to centre on";
}

} // namespace

#include "TipsDialogTest.moc"
