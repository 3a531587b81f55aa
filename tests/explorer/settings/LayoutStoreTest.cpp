// The layout save and restore in the registry: what the save-layout flag guards, the maximised
// window, bands and docking records.
#include "common/RecentDocumentList.h"
#include "common/settings/SettingsNumber.h"
#include "docking/BandValue.h"
#include "explorer/settings/LayoutStore.h"
#include "support/SettingsTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qb::settings;
using namespace qb::reg;
using qb::docking::BandValue;
using qbtest::getValue;

namespace {

const QString kRoot = explorerRootPath();

QString view()
{
    return kRoot + viewKey();
}

DockingRecord record(unsigned char fill)
{
    DockingRecord r;
    r.fill(fill);
    return r;
}

WindowLayout sampleLayout()
{
    WindowLayout layout;
    layout.rect = {10, 20, 810, 620};
    layout.bands = {{60160, BandValue{300, false, 0}.encode()}, {60161, BandValue{200, true, 1}.encode()}};
    layout.report = record(1);
    layout.dataQuickView = record(2);
    layout.dataTree = record(3);
    layout.sqlEdit = record(4);
    return layout;
}

class LayoutStoreTest : public ::testing::Test {
protected:
    qbtest::ScopedRegistryDir m_registry;
    LayoutStore m_store;
    qb::RecentDocumentList m_recent;
};

TEST_F(LayoutStoreTest, FirstStartStaysOneUntilTheFirstLayoutSave)
{
    ViewSettings first;
    first.loadSave(SettingsGroup::Read);
    EXPECT_TRUE(first.firstStart());
    ASSERT_EQ(m_store.save(first, sampleLayout(), true, m_recent), ERROR_SUCCESS);
    ViewSettings next;
    next.loadSave(SettingsGroup::Read);
    EXPECT_FALSE(next.firstStart());
}

TEST_F(LayoutStoreTest, SaveWritesViewGroupRectangleBandsAndRecordsInOrder)
{
    ViewSettings viewGroup;
    viewGroup.setToolbarsLocked(true);
    ASSERT_EQ(m_store.save(viewGroup, sampleLayout(), true, m_recent), ERROR_SUCCESS);
    const auto tree = qbtest::dumpTree(HKEY_CURRENT_USER, view());
    ASSERT_FALSE(tree.empty());
    QStringList names;
    for (const auto& v : tree[0].values)
        names << v.name;
    EXPECT_EQ(names, QStringList({"IsStandardTBVisible", "IsDBTBVisible", "IsStatusBarVisible", "IsLockRebarCtrl",
                                  "IsFullWnd", "left", "top", "right", "bottom", "60160", "60161", "report",
                                  "dataquickview", "datatree", "sqledt"}));
    EXPECT_EQ(getValue(view(), QStringLiteral("right"))->data, qbtest::dwordData(810));
    EXPECT_EQ(getValue(view(), QStringLiteral("60161"))->data, qbtest::dwordData(0x010100C8));
    const auto report = getValue(view(), QStringLiteral("report"));
    EXPECT_EQ(report->type, REG_BINARY);
    EXPECT_EQ(report->data, QByteArray(60, '\1'));

    const StoredLayout stored = m_store.read(3);
    EXPECT_FALSE(stored.fullWindow);
    EXPECT_EQ(stored.rect.left, 10);
    EXPECT_EQ(stored.rect.bottom, 620);
    ASSERT_EQ(stored.bands.size(), 2u); // the third band value is missing: reading stops there
    EXPECT_TRUE(BandValue::decode(stored.bands[1].value).newRow);
    EXPECT_EQ(BandValue::decode(stored.bands[1].value).width, 200);
    EXPECT_EQ(BandValue::decode(stored.bands[1].value).position, 1);
    ASSERT_TRUE(stored.sqlEdit.has_value());
    EXPECT_EQ(*stored.sqlEdit, record(4));
}

TEST_F(LayoutStoreTest, MaximisedWindowSavesFullWindowAndKeepsTheOldRectangle)
{
    ViewSettings viewGroup;
    ASSERT_EQ(m_store.save(viewGroup, sampleLayout(), true, m_recent), ERROR_SUCCESS);
    WindowLayout maximised = sampleLayout();
    maximised.maximized = true;
    maximised.rect = {0, 0, 1920, 1040};
    ASSERT_EQ(m_store.save(viewGroup, maximised, true, m_recent), ERROR_SUCCESS);
    EXPECT_EQ(getValue(view(), QStringLiteral("IsFullWnd"))->data, qbtest::dwordData(1));
    const StoredLayout stored = m_store.read(0);
    EXPECT_TRUE(stored.fullWindow);
    EXPECT_EQ(stored.rect.left, 10);
    EXPECT_EQ(stored.rect.right, 810);
}

TEST_F(LayoutStoreTest, NegativeEdgesAloneAreNotAMaximisedWindow)
{
    // Prior to the fix, a window placed partly left of and above the screen was saved as maximised
    // and came back maximised.
    ViewSettings viewGroup;
    WindowLayout moved = sampleLayout();
    moved.rect = {-30, -20, 370, 380};
    ASSERT_EQ(m_store.save(viewGroup, moved, true, m_recent), ERROR_SUCCESS);
    const StoredLayout stored = m_store.read(0);
    EXPECT_FALSE(stored.fullWindow);
    EXPECT_EQ(stored.rect.left, -30);
    EXPECT_EQ(stored.rect.top, -20);
}

TEST_F(LayoutStoreTest, DontSaveLayoutLeavesTheViewButWritesTheRecentList)
{
    ViewSettings viewGroup;
    m_recent.add(QStringLiteral("/home/ann/shop.udl"));
    ASSERT_EQ(m_store.save(viewGroup, sampleLayout(), false, m_recent), ERROR_SUCCESS);
    EXPECT_FALSE(qbtest::keyExists(view()));
    EXPECT_FALSE(getValue(kRoot + versionKey(), QStringLiteral("FirstStart")).has_value());
    EXPECT_EQ(getValue(kRoot + QStringLiteral("\\Recent Document List"), QStringLiteral("Document1"))->data,
              qbtest::regSz(QStringLiteral("/home/ann/shop.udl")));
}

TEST_F(LayoutStoreTest, FreshProfileAndMalformedRecordsGiveDefaults)
{
    StoredLayout fresh = m_store.read(3);
    EXPECT_FALSE(fresh.fullWindow);
    EXPECT_EQ(fresh.rect.right, 400);
    EXPECT_EQ(fresh.rect.bottom, 400);
    EXPECT_TRUE(fresh.bands.empty());
    EXPECT_FALSE(fresh.report.has_value());

    qbtest::setValue(view(), QStringLiteral("report"), REG_BINARY, QByteArray(59, '\1'));
    qbtest::setValue(view(), QStringLiteral("datatree"), REG_BINARY, QByteArray(61, '\1'));
    qbtest::setValue(view(), QStringLiteral("sqledt"), REG_SZ, QByteArray(60, '\1'));
    qbtest::setValue(view(), QStringLiteral("dataquickview"), REG_BINARY, QByteArray(60, '\7'));
    const StoredLayout stored = m_store.read(0);
    EXPECT_FALSE(stored.report.has_value());
    EXPECT_FALSE(stored.dataTree.has_value());
    EXPECT_FALSE(stored.sqlEdit.has_value());
    ASSERT_TRUE(stored.dataQuickView.has_value());
    EXPECT_EQ(*stored.dataQuickView, record(7));
}

TEST(BandValueTest, AnyBitOfTheThirdByteMeansANewRow)
{
    EXPECT_TRUE(BandValue::decode(0x00400010).newRow);
    EXPECT_FALSE(BandValue::decode(0x03000010).newRow);
    EXPECT_EQ(BandValue::decode(0x03000010).position, 3);
    EXPECT_EQ((BandValue{0xFFFF, true, 255}.encode()), 0xFF01FFFFu);
}

} // namespace
