// Rules of the browser that need no database: which element a tree node stands for, the type text
// of procedures (through a provider that reports every type), and the per-kind list styles in the
// registry.
#include "dataaccess/MemoryRowset.h"
#include "explorer/browser/ElementSet.h"
#include "explorer/browser/ItemOpening.h"
#include "explorer/browser/xElementSchemaT.h"
#include "explorer/settings/ElementListStyles.h"
#include "explorer/settings/SettingsKeys.h"
#include "platform/Registry.h"
#include "support/RecordingReportSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qb::browser;
using namespace qb::data;

namespace qbtest {
namespace {

const ElementCaptions kCaptions{"Data Base", "Tables", "Store Procedures", "Table views"};

TEST(TreeNodeRule, FindsTheElementFromTheNodeAndParentTexts)
{
    EXPECT_EQ(elementForTreeNode(kCaptions, "Data Base", std::nullopt), kDatabaseElement);
    EXPECT_EQ(elementForTreeNode(kCaptions, "Tables", QString("Data Base")), kTablesFolder);
    EXPECT_EQ(elementForTreeNode(kCaptions, "Store Procedures", QString("Data Base")), kProceduresFolder);
    EXPECT_EQ(elementForTreeNode(kCaptions, "Table views", QString("Data Base")), kViewsFolder);
    EXPECT_EQ(elementForTreeNode(kCaptions, "public.orders", QString("Tables")), kTableElement);
    EXPECT_EQ(elementForTreeNode(kCaptions, "open_orders", QString("Table views")), kViewElement);
    EXPECT_EQ(elementForTreeNode(kCaptions, "Something", QString("Data Base")), kNoElement);
    EXPECT_EQ(elementForTreeNode(kCaptions, "Something", std::nullopt), kNoElement);
    EXPECT_EQ(elementForTreeNode(kCaptions, "add_one", QString("Store Procedures")), kNoElement);
}

TEST(TreeNodeRule, TablesNamedLikeCaptionsAreStillTables)
{
    // Prior to taking the root from the node's place, a table called "Data Base" showed the
    // database element.
    EXPECT_EQ(elementForTreeNode(kCaptions, "Data Base", QString("Tables")), kTableElement);
    EXPECT_EQ(elementForTreeNode(kCaptions, "Tables", QString("Tables")), kTableElement);
    EXPECT_EQ(elementForTreeNode(kCaptions, "Table views", QString("Table views")), kViewElement);
}

// A session whose procedures schema reports every procedure type, as a provider may.
class ProcedureTypesSession : public Session {
public:
    std::unique_ptr<Rowset> execute(const QString&, int64_t*) override { return nullptr; }
    std::unique_ptr<Rowset> tablesSchema(const QString&) override { return nullptr; }
    std::unique_ptr<Rowset> proceduresSchema() override
    {
        std::vector<ColumnInfo> columns = {
            {"procedure_catalog", 1, 128, DBTYPE_WSTR}, {"procedure_schema", 2, 128, DBTYPE_WSTR},
            {"procedure_name", 3, 128, DBTYPE_WSTR},    {"procedure_type", 4, 2, DBTYPE_I2},
            {"description", 5, 128, DBTYPE_WSTR},       {"procedure_definition", 6, 128, DBTYPE_WSTR},
        };
        std::vector<MemoryRowset::Row> rows;
        for (int type : {0, 1, 2, 3, 4})
            rows.push_back({QVariant(), QString("s"), QStringLiteral("p%1").arg(type), type, QVariant(), QVariant()});
        rows.push_back({QVariant(), QString("s"), QString("no_type"), QVariant(), QString("d"), QString(300, 'x')});
        return std::make_unique<MemoryRowset>(columns, rows);
    }
    bool supportsTransactions() const override { return false; }
    void startTransaction() override {}
    void commit() override {}
    void abort() override {}
    QString identifierQuoteOpen() const override { return "\""; }
    QString identifierQuoteClose() const override { return "\""; }
};

TEST(ProceduresFolder, TypeTextFollowsTheProcedureTypeAndOtherValuesGiveNoText)
{
    ScopedRegistryDir registry;
    RecordingReportSink sink;
    auto session = std::make_shared<ProcedureTypesSession>();
    ElementSet elements(sink, [session] { return session; }, qb::settings::explorerRootPath());
    xElementSchemaT* procedures = elements.folder(kProceduresFolder);
    procedures->show();
    EXPECT_TRUE(sink.errorList().isEmpty()) << sink.errorList().join('\n').toStdString();
    ASSERT_EQ(procedures->itemCount(), 6);
    EXPECT_EQ(procedures->cellText(0, 1), QString());
    EXPECT_EQ(procedures->cellText(1, 1), "It is not known whether there is a returned value.");
    EXPECT_EQ(procedures->cellText(2, 1),
              "Procedure; there is no returned value. It is not known whether there is a returned value.");
    EXPECT_EQ(procedures->cellText(3, 1), "Function; there is a returned value.");
    EXPECT_EQ(procedures->cellText(4, 1), QString());
    EXPECT_EQ(procedures->cellText(5, 1), QString()) << "a NULL type";
    EXPECT_EQ(procedures->cellText(5, 0), "no_type");
    EXPECT_EQ(procedures->cellText(5, 2), "s");
    EXPECT_EQ(procedures->cellText(5, 3), QString()) << "a NULL catalog";
    EXPECT_EQ(procedures->cellText(5, 4), "d");
    EXPECT_EQ(procedures->cellText(5, 5), QString(128, 'x')) << "texts are read up to 128 characters";
    EXPECT_EQ(procedures->cellText(0, 6), QString()) << "no such field";
}

TEST(ElementListStylesStore, EachKindKeepsItsStylesAsDecimalTextOf250Bytes)
{
    ScopedRegistryDir registry;
    RecordingReportSink sink;
    const QString root = qb::settings::explorerRootPath();
    {
        ElementSet elements(sink, {}, root);
        for (int id = kDatabaseElement; id <= kViewElement; ++id) {
            ASSERT_NE(elements.listStyles(id), nullptr);
            EXPECT_EQ(elements.listStyles(id)->listViewStyles(), 0u);
        }
        EXPECT_EQ(elements.listStyles(kNoElement), nullptr);
        elements.listStyles(kTableElement)->setListViewStyles(1);
        elements.listStyles(kTableElement)->setListViewStylesEx(0x80000021u);
        ASSERT_EQ(elements.writeListStyles(), 0);
    }

    using namespace qb::reg;
    KeyGuard key;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, root + "\\1.6\\view\\xElement#5", key.out()), ERROR_SUCCESS);
    uint32_t type = 0, size = 0;
    ASSERT_EQ(RegQueryValueEx(key.get(), "m_dwListViewStylesEx", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 250u);
    QByteArray data(int(size), '\0');
    ASSERT_EQ(RegQueryValueEx(key.get(), "m_dwListViewStylesEx", &type, data.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(data.constData())), "2147483681");

    ElementSet reread(sink, {}, root);
    EXPECT_EQ(reread.listStyles(kTableElement)->listViewStyles(), 1u);
    EXPECT_EQ(reread.listStyles(kTableElement)->listViewStylesEx(), 0x80000021u);
    EXPECT_EQ(reread.listStyles(kViewElement)->listViewStyles(), 0u);
    reread.resetListStyles();
    EXPECT_EQ(reread.listStyles(kTableElement)->listViewStyles(), 0u);
    EXPECT_EQ(reread.listStyles(kTableElement)->listViewStylesEx(), 0u);
}

TEST(ElementListStylesStore, AMissingValueLeavesTheFieldAsItWas)
{
    ScopedRegistryDir registry;
    RecordingReportSink sink;
    const QString root = qb::settings::explorerRootPath();
    ElementSet elements(sink, {}, root);
    elements.listStyles(kTablesFolder)->setListViewStyles(3);
    ASSERT_EQ(elements.readListStyles(), 0);
    EXPECT_EQ(elements.listStyles(kTablesFolder)->listViewStyles(), 3u);
}

} // namespace
} // namespace qbtest
