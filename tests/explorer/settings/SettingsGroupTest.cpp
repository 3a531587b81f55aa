// Settings groups over the registry: defaults of a fresh profile, the number encoding on both
// sides, value order, failure to open a key, and the life cycle of the option groups.
#include "common/settings/SettingsNumber.h"
#include "explorer/settings/DataListSettings.h"
#include "explorer/settings/DataTreeSettings.h"
#include "explorer/settings/ElementListStyles.h"
#include "explorer/settings/GeneralSettings.h"
#include "explorer/settings/OptionsGroups.h"
#include "explorer/settings/ReportWindowSettings.h"
#include "explorer/settings/ViewSettings.h"
#include "support/SettingsTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qb::settings;
using namespace qb::reg;
using qbtest::getValue;
using qbtest::regSz;
using qbtest::setValue;

namespace {

const QString kRoot = explorerRootPath();

QString general()
{
    return kRoot + generalKey();
}

QByteArray paddedNumberText(const QString& text)
{
    QByteArray data = regSz(text);
    data.resize(kNumberDataSize, '\0');
    return data;
}

class SettingsGroupTest : public ::testing::Test {
protected:
    qbtest::ScopedRegistryDir m_registry;
};

TEST_F(SettingsGroupTest, FreshProfileReadsEveryDefault)
{
    GeneralSettings g;
    DataListSettings list;
    DataTreeSettings tree;
    ReportWindowSettings report;
    ViewSettings view;
    for (SettingsGroup* group : std::initializer_list<SettingsGroup*>{&g, &list, &tree, &report, &view})
        EXPECT_EQ(group->loadSave(SettingsGroup::Read), ERROR_SUCCESS);
    EXPECT_FALSE(g.goDirectlyToTableFldr());
    EXPECT_EQ(g.recentListMaxEnteries(), 4u);
    EXPECT_EQ(g.maxBackupPoints(), 20);
    EXPECT_TRUE(g.singleInstance());
    EXPECT_TRUE(list.useIndividualProperties());
    EXPECT_TRUE(list.showGrid());
    EXPECT_TRUE(list.fullRowSelect());
    EXPECT_FALSE(list.flatScrollBars());
    EXPECT_FALSE(list.tooltipOnClick());
    EXPECT_TRUE(list.tooltipOnShiftClick());
    EXPECT_TRUE(tree.hasButtons());
    EXPECT_TRUE(tree.hasLines());
    EXPECT_FALSE(tree.fullRowSelect());
    EXPECT_FALSE(tree.trackSelect());
    EXPECT_FALSE(report.showGrid());
    EXPECT_TRUE(report.fullRowSelect());
    EXPECT_FALSE(report.flatScrollBars());
    EXPECT_TRUE(view.firstStart());
    EXPECT_TRUE(view.standardToolbarVisible());
    EXPECT_TRUE(view.databaseToolbarVisible());
    EXPECT_TRUE(view.statusBarVisible());
    EXPECT_FALSE(view.toolbarsLocked());

    report.setValue(QStringLiteral("IsShowGrid"), 7);
    EXPECT_EQ(report.loadSave(SettingsGroup::SetDefaults), ERROR_SUCCESS);
    EXPECT_FALSE(report.showGrid());
}

TEST_F(SettingsGroupTest, WriteUsesTableOrderTypesAndFixedNumberSize)
{
    GeneralSettings g;
    ASSERT_EQ(g.loadSave(SettingsGroup::Write), ERROR_SUCCESS);
    const auto tree = qbtest::dumpTree(HKEY_CURRENT_USER, general());
    ASSERT_EQ(tree.size(), 1u);
    const auto& values = tree[0].values;
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0].name, QStringLiteral("GoDirectlyToTableFldr"));
    EXPECT_EQ(values[1].name, QStringLiteral("RecentListMaxEnteries"));
    EXPECT_EQ(values[2].name, QStringLiteral("MaxBackupPoints"));
    EXPECT_EQ(values[3].name, QStringLiteral("SingleInstance"));
    EXPECT_EQ(values[2].type, REG_SZ);
    EXPECT_EQ(values[2].data, paddedNumberText(QStringLiteral("20")));
    EXPECT_EQ(values[3].type, REG_DWORD);
    EXPECT_EQ(values[3].data, qbtest::dwordData(1));
}

TEST_F(SettingsGroupTest, NumberTextReadsLikeAtoi)
{
    struct Case {
        const char16_t* stored;
        int expected;
    };
    const Case cases[] = {
        {u"abc", 0},     // letters only
        {u"12abc", 12},  // digits, then letters
        {u"  \t7", 7},   // leading blanks skipped
        {u"", 0},        // empty text
        {u"+35", 35},
        {u"-3", 0},      // negative: brought into range by the accessor
        {u"499 ", 499},
        {u"0x10", 0},
    };
    for (const Case& c : cases) {
        setValue(general(), QStringLiteral("MaxBackupPoints"), REG_SZ, regSz(QString::fromUtf16(c.stored)));
        GeneralSettings g;
        g.loadSave(SettingsGroup::Read);
        EXPECT_EQ(g.maxBackupPoints(), c.expected) << QString::fromUtf16(c.stored).toStdString();
    }
}

TEST_F(SettingsGroupTest, UnreadableNumbersKeepTheDefault)
{
    // More than 1002 bytes.
    setValue(general(), QStringLiteral("MaxBackupPoints"), REG_SZ, QByteArray(1004, '1'));
    // Text longer than the 20-byte conversion buffer.
    setValue(general(), QStringLiteral("RecentListMaxEnteries"), REG_SZ, regSz(QStringLiteral("00000000000000000000007")));
    // Another type than text.
    setValue(general(), QStringLiteral("GoDirectlyToTableFldr"), REG_DWORD, qbtest::dwordData(1));
    GeneralSettings g;
    EXPECT_EQ(g.loadSave(SettingsGroup::Read), ERROR_SUCCESS);
    EXPECT_EQ(g.maxBackupPoints(), 20);
    EXPECT_EQ(g.recentListMaxEnteries(), 4u);
    EXPECT_FALSE(g.goDirectlyToTableFldr());

    // 1002 bytes exactly is still read.
    QByteArray atLimit = paddedNumberText(QStringLiteral("33"));
    atLimit.resize(1002, '\0');
    setValue(general(), QStringLiteral("MaxBackupPoints"), REG_SZ, atLimit);
    g.loadSave(SettingsGroup::Read);
    EXPECT_EQ(g.maxBackupPoints(), 33);
}

TEST_F(SettingsGroupTest, NumbersWithTheHighBitReadBackAsWritten)
{
    // Prior to taking the digits modulo 2^32, "4294967295" saturated like atoi and came back as
    // 2147483647.
    ElementListStyles styles(3);
    styles.setListViewStyles(0x80000001u);
    styles.setListViewStylesEx(4294967295u);
    ASSERT_EQ(styles.loadSave(SettingsGroup::Write), ERROR_SUCCESS);
    EXPECT_EQ(getValue(kRoot + elementListKey(3), QStringLiteral("m_dwListViewStylesEx"))->data,
              paddedNumberText(QStringLiteral("4294967295")));
    ElementListStyles again(3);
    ASSERT_EQ(again.loadSave(SettingsGroup::Read), ERROR_SUCCESS);
    EXPECT_EQ(again.listViewStyles(), 0x80000001u);
    EXPECT_EQ(again.listViewStylesEx(), 4294967295u);
    EXPECT_EQ(parseLeadingNumber(u"-1"), 4294967295u);
}

TEST_F(SettingsGroupTest, KeyThatCannotBeOpenedReturnsTheErrorAndLeavesFields)
{
    // A key name longer than the registry allows cannot be created.
    DataTreeSettings tree(kRoot + u'\\' + QString(300, u'k'));
    tree.setValue(QStringLiteral("IsHasLines"), 0);
    EXPECT_NE(tree.loadSave(SettingsGroup::Read), ERROR_SUCCESS);
    EXPECT_FALSE(tree.hasLines());
    EXPECT_NE(tree.loadSave(SettingsGroup::Write), ERROR_SUCCESS);
    EXPECT_EQ(tree.loadSave(42), -1);
}

TEST_F(SettingsGroupTest, FieldLookupIgnoresCaseAndUnknownNames)
{
    ReportWindowSettings report;
    ASSERT_NE(report.field(QStringLiteral("isshowgrid")), nullptr);
    EXPECT_EQ(report.field(QStringLiteral("ShowTT1")), nullptr);
    report.setValue(QStringLiteral("NoSuchValue"), 9); // ignored
    report.setValue(QStringLiteral("ISSHOWGRID"), 1);
    EXPECT_TRUE(report.showGrid());
}

TEST_F(SettingsGroupTest, OptionGroupsReadAtCreationAndWriteWhatChangedWhenDestroyed)
{
    setValue(kRoot + dataListKey(), QStringLiteral("ShowTT1"), REG_SZ, paddedNumberText(QStringLiteral("1")));
    {
        OptionsGroups groups;
        EXPECT_TRUE(groups.dataList().tooltipOnClick());
        groups.reportWindow().setValue(QStringLiteral("IsFlatSB"), 1);
        EXPECT_FALSE(getValue(kRoot + reportWindowKey(), QStringLiteral("IsFlatSB")).has_value());
    }
    // The changed group was written by the destructor, with what the window held; the others
    // were left alone.
    EXPECT_EQ(getValue(kRoot + reportWindowKey(), QStringLiteral("IsFlatSB"))->data, paddedNumberText(QStringLiteral("1")));
    EXPECT_FALSE(getValue(general(), QStringLiteral("SingleInstance")).has_value());
    EXPECT_FALSE(getValue(kRoot + dataTreeKey(), QStringLiteral("IsTrackSelect")).has_value());
    EXPECT_FALSE(getValue(kRoot + dataListKey(), QStringLiteral("IsShowGrid")).has_value());
}

TEST_F(SettingsGroupTest, AClosingWindowDoesNotWriteItsStaleCopyOverAnotherWindowsSave)
{
    // Prior to the fix, the window closed last wrote every group it held, so the second window
    // put MaxBackupPoints back to the 20 it had read before the first window saved 3.
    auto first = std::make_unique<OptionsGroups>();
    auto second = std::make_unique<OptionsGroups>();
    first->general().setValue(QStringLiteral("MaxBackupPoints"), 3);
    first.reset();
    second->reportWindow().setValue(QStringLiteral("IsShowGrid"), 1);
    second.reset();
    OptionsGroups third;
    EXPECT_EQ(third.general().maxBackupPoints(), 3);
    EXPECT_TRUE(third.reportWindow().showGrid());
    // Writing makes the group unchanged again; so does setting a value back.
    third.reportWindow().setValue(QStringLiteral("IsShowGrid"), 0);
    EXPECT_TRUE(third.reportWindow().changed());
    third.reportWindow().setValue(QStringLiteral("IsShowGrid"), 1);
    EXPECT_FALSE(third.reportWindow().changed());
}

TEST_F(SettingsGroupTest, WindowsKeepTheValuesTheyReadAtCreation)
{
    OptionsGroups first;
    OptionsGroups second;
    first.general().setValue(QStringLiteral("MaxBackupPoints"), 3);
    ASSERT_EQ(first.writeAll(), ERROR_SUCCESS);
    EXPECT_EQ(second.general().maxBackupPoints(), 20);
    OptionsGroups third;
    EXPECT_EQ(third.general().maxBackupPoints(), 3);
}

TEST_F(SettingsGroupTest, SingleValueOperations)
{
    EXPECT_EQ(readDwordSetting(general(), QStringLiteral("SingleInstance"), 1), 1u);
    EXPECT_FALSE(qbtest::keyExists(general())); // reading creates nothing
    ASSERT_EQ(writeDwordSetting(general(), QStringLiteral("SingleInstance"), 0), ERROR_SUCCESS);
    EXPECT_EQ(readDwordSetting(general(), QStringLiteral("SingleInstance"), 1), 0u);
    // A value of the wrong size is unreadable.
    setValue(general(), QStringLiteral("SingleInstance"), REG_DWORD, QByteArray(2, '\0'));
    EXPECT_EQ(readDwordSetting(general(), QStringLiteral("SingleInstance"), 1), 1u);
}

TEST_F(SettingsGroupTest, HistoryBoundIsBroughtIntoItsRange)
{
    GeneralSettings g;
    g.setValue(QStringLiteral("MaxBackupPoints"), 501);
    EXPECT_EQ(g.maxBackupPoints(), 500);
    g.setValue(QStringLiteral("MaxBackupPoints"), 0);
    EXPECT_EQ(g.maxBackupPoints(), 0);
}

} // namespace
