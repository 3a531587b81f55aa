// The options dialog's rules without its widgets: filling, validation of number fields, the
// General page's immediate SingleInstance write, Apply and OK, the tree page's exclusive boxes.
#include "FakeUserPrompts.h"

#include "common/settings/SettingsNumber.h"
#include "explorer/settings/OptionsGroups.h"
#include "explorer/settings/OptionsPageView.h"
#include "explorer/settings/OptionsPages.h"
#include "explorer/settings/SettingsStrings.h"
#include "platform/StringTable.h"
#include "support/SettingsTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QMap>

using namespace qb::settings;

namespace {

class FakePageView : public OptionsPageView {
public:
    QMap<QString, int> checks;
    QMap<QString, QString> texts;
    QMap<QString, bool> enabled;
    QString focused;

    int checkState(const QString& control) const override { return checks.value(control); }
    void setCheckState(const QString& control, int state) override { checks[control] = state; }
    void setControlEnabled(const QString& control, bool on) override { enabled[control] = on; }
    QString text(const QString& control) const override { return texts.value(control); }
    void setText(const QString& control, const QString& text) override { texts[control] = text; }
    void focus(const QString& control) override { focused = control; }
};

const QString kGeneralKey = explorerRootPath() + generalKey();
const QString kRecent = QStringLiteral("RecentListMaxEnteries");
const QString kBackup = QStringLiteral("MaxBackupPoints");

class OptionsPagesTest : public ::testing::Test {
protected:
    OptionsPage& page(int titleId) { return *m_pages.page(titleId); }

    qbtest::ScopedRegistryDir m_registry;
    OptionsGroups m_groups;
    OptionsPages m_pages{m_groups};
    qbtest::FakeUserPrompts m_prompts;
    FakePageView m_general;
};

TEST_F(OptionsPagesTest, PagesAndTreeStructure)
{
    QStringList titles;
    for (const auto& p : m_pages.pages())
        titles << p->title();
    EXPECT_EQ(titles, QStringList({"General", "Appearance", "Data List", "Data Tree", "Report Window"}));
    EXPECT_EQ(m_pages.parentTitleId(strings::DataTreePage), int(strings::AppearancePage));
    EXPECT_EQ(m_pages.parentTitleId(strings::GeneralPage), 0);
    const auto links = OptionsPages::appearanceLinks();
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(qb::loadString(links[2].buttonTextId), QStringLiteral("&Report view"));
    EXPECT_EQ(links[2].targetTitleId, int(strings::ReportWindowPage));
}

TEST_F(OptionsPagesTest, RecentCountOutOfRangeShowsTheMessageAndRestoresTheField)
{
    page(strings::GeneralPage).show(m_general);
    EXPECT_EQ(m_general.texts[kRecent], QStringLiteral("4"));
    m_general.texts[kRecent] = QStringLiteral("17");
    m_general.checks[QStringLiteral("SingleInstance")] = 0;
    m_pages.controlChanged(page(strings::GeneralPage), kRecent);
    EXPECT_TRUE(m_pages.applyEnabled());
    EXPECT_FALSE(m_pages.ok(m_prompts)); // the dialog stays open
    EXPECT_EQ(m_prompts.messages,
              QStringList{QStringLiteral("3|Vexa@Qorvex: Error message|Please enter an integer value between 2 and 16")});
    EXPECT_EQ(m_general.focused, kRecent);
    EXPECT_EQ(m_general.texts[kRecent], QStringLiteral("4"));
    EXPECT_EQ(m_groups.general().recentListMaxEnteries(), 4u);
    EXPECT_TRUE(m_pages.applyEnabled());
    EXPECT_FALSE(m_pages.wasApplied(strings::GeneralPage));
    // SingleInstance reached the registry although the page failed.
    EXPECT_EQ(readDwordSetting(kGeneralKey, QStringLiteral("SingleInstance"), 1), 0u);
}

TEST_F(OptionsPagesTest, ZeroBackPointsIsAcceptedAndApplyIsDisabledAgain)
{
    page(strings::GeneralPage).show(m_general);
    m_general.texts[kBackup] = QStringLiteral(" 0 ");
    m_general.texts[kRecent] = QStringLiteral("16");
    m_pages.controlChanged(page(strings::GeneralPage), kBackup);
    EXPECT_TRUE(m_pages.apply(m_prompts));
    EXPECT_FALSE(m_pages.applyEnabled());
    EXPECT_EQ(m_groups.general().maxBackupPoints(), 0);
    EXPECT_EQ(m_groups.general().recentListMaxEnteries(), 16u);
    EXPECT_TRUE(m_prompts.messages.isEmpty());
    EXPECT_TRUE(m_pages.wasApplied(strings::GeneralPage));
    EXPECT_FALSE(m_pages.wasApplied(strings::DataListPage)); // never shown: nothing taken
}

TEST_F(OptionsPagesTest, TextThatIsNotANumberBeepsAndFocuses)
{
    page(strings::GeneralPage).show(m_general);
    for (const char* text : {"abc", "", "12abc", "+5", "99999999999"}) {
        m_general.texts[kBackup] = QString::fromLatin1(text);
        m_general.focused.clear();
        EXPECT_FALSE(m_pages.apply(m_prompts)) << text;
        EXPECT_EQ(m_general.focused, kBackup);
    }
    EXPECT_EQ(m_prompts.beeps, 5);
    EXPECT_TRUE(m_prompts.messages.isEmpty());
    m_general.texts[kBackup] = QStringLiteral("-1");
    EXPECT_FALSE(m_pages.apply(m_prompts));
    EXPECT_EQ(m_prompts.messages.size(), 1);
    EXPECT_TRUE(m_prompts.messages[0].endsWith(QStringLiteral("between 0 and 500")));
}

TEST_F(OptionsPagesTest, ApplyStopsAtTheFirstFailingPage)
{
    FakePageView list;
    FakePageView report;
    page(strings::GeneralPage).show(m_general);
    page(strings::DataListPage).show(list);
    page(strings::ReportWindowPage).show(report);
    m_general.texts[kRecent] = QStringLiteral("1");
    list.checks[QStringLiteral("IsFlatSB")] = 1;
    report.checks[QStringLiteral("IsFlatSB")] = 1;
    EXPECT_FALSE(m_pages.apply(m_prompts));
    EXPECT_FALSE(m_groups.dataList().flatScrollBars());
    EXPECT_FALSE(m_groups.reportWindow().flatScrollBars());
    m_general.texts[kRecent] = QStringLiteral("5");
    EXPECT_TRUE(m_pages.apply(m_prompts));
    EXPECT_TRUE(m_groups.dataList().flatScrollBars());
    EXPECT_TRUE(m_groups.reportWindow().flatScrollBars());
}

TEST_F(OptionsPagesTest, CheckBoxOutsideZeroToTwoIsResetWhenShown)
{
    m_groups.reportWindow().setValue(QStringLiteral("IsShowGrid"), 3);
    m_groups.reportWindow().setValue(QStringLiteral("IsFlatSB"), 2);
    FakePageView report;
    page(strings::ReportWindowPage).show(report);
    EXPECT_EQ(report.checks[QStringLiteral("IsShowGrid")], 0);
    EXPECT_EQ(report.checks[QStringLiteral("IsFlatSB")], 2);
    EXPECT_EQ(m_groups.reportWindow().value(QStringLiteral("IsShowGrid")), 0u);
}

TEST_F(OptionsPagesTest, ShowingAPageAgainKeepsWhatWasTyped)
{
    page(strings::GeneralPage).show(m_general);
    m_general.texts[kBackup] = QStringLiteral("77");
    page(strings::GeneralPage).show(m_general);
    EXPECT_EQ(m_general.texts[kBackup], QStringLiteral("77"));
}

TEST_F(OptionsPagesTest, TreeLinesAndFullRowExcludeEachOther)
{
    FakePageView tree;
    OptionsPage& treePage = page(strings::DataTreePage);
    const QString lines = QStringLiteral("IsHasLines");
    const QString fullRow = QStringLiteral("IsFullRowSel");
    m_groups.dataTree().setValue(fullRow, 1);
    treePage.show(tree); // lines are on by default
    EXPECT_EQ(tree.checks[fullRow], 0);
    EXPECT_FALSE(tree.enabled.value(fullRow, true));

    tree.checks[lines] = 0;
    m_pages.controlChanged(treePage, lines);
    EXPECT_TRUE(tree.enabled[fullRow]);
    tree.checks[fullRow] = 1;
    m_pages.controlChanged(treePage, fullRow);
    EXPECT_EQ(tree.checks[lines], 0);
    EXPECT_FALSE(tree.enabled[lines]);
    tree.checks[fullRow] = 0;
    m_pages.controlChanged(treePage, fullRow);
    EXPECT_TRUE(tree.enabled[lines]);

    tree.checks[fullRow] = 1;
    m_pages.controlChanged(treePage, fullRow);
    ASSERT_TRUE(m_pages.apply(m_prompts));
    EXPECT_TRUE(m_groups.dataTree().fullRowSelect());
    EXPECT_FALSE(m_groups.dataTree().hasLines());
}

} // namespace
