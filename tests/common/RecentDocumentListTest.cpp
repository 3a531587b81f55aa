// The recent document list: limits, ordering, registry form, label shortening and the menu.
#include "common/RecentDocumentList.h"
#include "common/RecentDocumentMenu.h"
#include "platform/Registry.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QtEndian>
#include <vector>

using qb::RecentDocumentList;
using namespace qb::reg;

namespace {

const QString kRoot = QStringLiteral("Software\\Marrowind\\quillbase\\tessmar");
const QString kListKey = kRoot + QStringLiteral("\\Recent Document List");

struct MenuItem {
    int command;
    QString text;
    bool enabled;
};

class FakeMenu : public qb::RecentDocumentMenu {
public:
    std::vector<MenuItem> items;

    int itemCount() const override { return int(items.size()); }
    int commandAt(int position) const override { return items.at(position).command; }
    QString textAt(int position) const override { return items.at(position).text; }
    void insertItem(int position, int command, const QString& text, bool enabled) override
    {
        items.insert(items.begin() + position, MenuItem{command, text, enabled});
    }
    void removeItem(int position) override { items.erase(items.begin() + position); }

    QStringList texts() const
    {
        QStringList out;
        for (const auto& item : items)
            out << item.text;
        return out;
    }
};

// A File menu as the program builds it: the placeholder between other commands.
FakeMenu fileMenu()
{
    FakeMenu menu;
    menu.items = {{32795, "&Open...", true}, {57616, "(no files)", false}, {32806, "E&xit", true}};
    return menu;
}

void setDword(const QString& name, uint32_t value)
{
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kListKey, key.out()), ERROR_SUCCESS);
    unsigned char data[4];
    qToLittleEndian<quint32>(value, data);
    ASSERT_EQ(RegSetValueEx(key.get(), name, REG_DWORD, data, 4), ERROR_SUCCESS);
}

void setText(const QString& name, const QString& text)
{
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kListKey, key.out()), ERROR_SUCCESS);
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    data.append(2, '\0');
    ASSERT_EQ(RegSetValueEx(key.get(), name, REG_SZ, data.constData(), uint32_t(data.size())), ERROR_SUCCESS);
}

QStringList valueNames()
{
    KeyGuard key;
    QStringList names;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kListKey, key.out()) != ERROR_SUCCESS)
        return names;
    QString name;
    for (uint32_t i = 0; RegEnumValue(key.get(), i, &name, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i)
        names << name;
    return names;
}

class RecentDocumentListTest : public ::testing::Test {
protected:
    qbtest::ScopedRegistryDir m_registry;
    RecentDocumentList m_list;
};

TEST_F(RecentDocumentListTest, StoredCountIsBroughtIntoTwoToSixteen)
{
    for (const auto& [stored, expected] : {std::pair{1u, 2}, {99u, 16}, {0xFFFFFFFFu, 2}, {7u, 7}}) {
        setDword(QStringLiteral("DocumentCount"), stored);
        RecentDocumentList list;
        list.read(kRoot);
        EXPECT_EQ(list.maximumEntries(), expected) << stored;
    }
}

TEST_F(RecentDocumentListTest, MissingKeyOrCountKeepsTheList)
{
    m_list.add(QStringLiteral("/a.udl"));
    m_list.read(kRoot);
    EXPECT_EQ(m_list.entries(), QStringList{"/a.udl"});
    setText(QStringLiteral("Document1"), QStringLiteral("/b.udl"));
    m_list.read(kRoot);
    EXPECT_EQ(m_list.entries(), QStringList{"/a.udl"});
}

TEST_F(RecentDocumentListTest, ReadPutsDocument1LastAndIgnoresValuesBeyondTheMaximum)
{
    setDword(QStringLiteral("DocumentCount"), 3);
    setText(QStringLiteral("Document1"), QStringLiteral("/new.udl"));
    setText(QStringLiteral("Document3"), QStringLiteral("/old.udl"));
    setText(QStringLiteral("Document4"), QStringLiteral("/beyond.udl"));
    m_list.read(kRoot);
    EXPECT_EQ(m_list.entries(), QStringList({"/old.udl", "/new.udl"}));
}

TEST_F(RecentDocumentListTest, SameFileInOtherLetterCaseIsKeptOnceAsNewest)
{
    m_list.add(QStringLiteral("/data/Shop.udl"));
    m_list.add(QStringLiteral("/data/other.udl"));
    m_list.add(QStringLiteral("/DATA/shop.UDL"));
    EXPECT_EQ(m_list.entries(), QStringList({"/data/other.udl", "/DATA/shop.UDL"}));
}

TEST_F(RecentDocumentListTest, FullListDropsTheOldestAndRefusesUnfitPaths)
{
    for (const char* path : {"/1", "/2", "/3", "/4", "/5"})
        m_list.add(QString::fromLatin1(path));
    EXPECT_EQ(m_list.entries(), QStringList({"/2", "/3", "/4", "/5"}));
    EXPECT_FALSE(m_list.add(QString()));
    EXPECT_FALSE(m_list.add(QString(1024, u'x')));
    EXPECT_TRUE(m_list.add(QString(1023, u'x')));
}

TEST_F(RecentDocumentListTest, WriteReadRoundTripWithDocument1Newest)
{
    m_list.setMaximumEntries(5);
    m_list.add(QStringLiteral("/old.udl"));
    m_list.add(QStringLiteral("/mid.udl"));
    m_list.add(QStringLiteral("/new.udl"));
    ASSERT_EQ(m_list.write(kRoot), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(), QStringList({"DocumentCount", "Document3", "Document2", "Document1"}));
    RecentDocumentList again;
    again.read(kRoot);
    EXPECT_EQ(again.maximumEntries(), 5);
    EXPECT_EQ(again.entries(), m_list.entries());
}

TEST_F(RecentDocumentListTest, EmptyListDeletesEveryEntryValueUpToDocument16)
{
    // Prior to the fix, Document16 of a full 16-entry list survived and came back at the next read.
    m_list.setMaximumEntries(16);
    for (int i = 1; i <= 16; ++i)
        m_list.add(QStringLiteral("/f%1.udl").arg(i));
    ASSERT_EQ(m_list.write(kRoot), ERROR_SUCCESS);
    RecentDocumentList empty;
    empty.setMaximumEntries(16);
    ASSERT_EQ(empty.write(kRoot), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(), QStringList{"DocumentCount"});
    RecentDocumentList again;
    again.read(kRoot);
    EXPECT_TRUE(again.entries().isEmpty());
}

TEST_F(RecentDocumentListTest, ShortLabelsFollowTheirRules)
{
    const QString path = QStringLiteral("C:\\Data\\") + QString(45, u'p') + QStringLiteral("\\ab.udl");
    ASSERT_EQ(path.size(), 60);
    const QString label = RecentDocumentList::shortenPath(path, 40);
    EXPECT_EQ(label, path.left(29) + QStringLiteral("...\\ab.udl"));
    EXPECT_EQ(label.size(), 39);

    EXPECT_EQ(RecentDocumentList::shortenPath(QString(39, u'a'), 40), QString(39, u'a'));
    EXPECT_EQ(RecentDocumentList::shortenPath(QString(40, u'a'), 40), QString(36, u'a') + "...");
    const QString longName = QStringLiteral("/srv/") + QString(50, u'n');
    EXPECT_EQ(RecentDocumentList::shortenPath(longName, 40), QStringLiteral(".../") + QString(32, u'n') + "...");
    // A trailing separator stays with the name; the separator shown is the last one in the path.
    const QString trailing = QStringLiteral("/a/") + QString(40, u'd') + QStringLiteral("/sub/");
    EXPECT_EQ(RecentDocumentList::shortenPath(trailing, 40), trailing.left(31) + QStringLiteral(".../sub/"));
    EXPECT_EQ(RecentDocumentList::shortenPath(QStringLiteral("D:") + QString(44, u'z'), 40),
              QStringLiteral("...\\") + QString(32, u'z') + "...");
}

TEST_F(RecentDocumentListTest, MenuShowsNewestFirstAndThePlaceholderWhenEmpty)
{
    FakeMenu menu = fileMenu();
    m_list.attachMenu(&menu);
    m_list.rebuildMenu();
    EXPECT_EQ(menu.texts(), QStringList({"&Open...", "(no files)", "E&xit"}));
    EXPECT_FALSE(menu.items[1].enabled);

    m_list.add(QStringLiteral("/home/ann/a.udl"));
    m_list.add(QStringLiteral("/home/ann/R&D.udl"));
    EXPECT_EQ(menu.texts(), QStringList({"&Open...", "&1 /home/ann/R&&D.udl", "&2 /home/ann/a.udl", "E&xit"}));
    EXPECT_EQ(menu.items[1].command, 57616);
    EXPECT_EQ(menu.items[2].command, 57617);
    EXPECT_TRUE(menu.items[2].enabled);
    EXPECT_EQ(m_list.pathForCommand(57617), QStringLiteral("/home/ann/a.udl"));
    EXPECT_EQ(m_list.pathForCommand(57618), QString());
}

TEST_F(RecentDocumentListTest, LoweringTheMaximumLeavesOnlyTheNewestInTheMenu)
{
    FakeMenu menu = fileMenu();
    m_list.attachMenu(&menu);
    m_list.setMaximumEntries(8);
    for (int i = 1; i <= 8; ++i)
        m_list.add(QStringLiteral("/f%1").arg(i));
    EXPECT_EQ(menu.itemCount(), 10);
    m_list.setMaximumEntries(2);
    EXPECT_EQ(menu.texts(), QStringList({"&Open...", "&1 /f8", "&2 /f7", "E&xit"}));
}

TEST_F(RecentDocumentListTest, ReadRebuildsTheMenuAndMenuWithoutPlaceholderIsLeftAlone)
{
    setDword(QStringLiteral("DocumentCount"), 4);
    setText(QStringLiteral("Document1"), QStringLiteral("/x.udl"));
    FakeMenu menu = fileMenu();
    m_list.attachMenu(&menu);
    m_list.read(kRoot);
    EXPECT_EQ(menu.texts(), QStringList({"&Open...", "&1 /x.udl", "E&xit"}));

    FakeMenu bare;
    bare.items = {{1, "only", true}};
    RecentDocumentList other;
    other.attachMenu(&bare);
    other.add(QStringLiteral("/y.udl"));
    EXPECT_EQ(bare.texts(), QStringList{"only"});
}

} // namespace
