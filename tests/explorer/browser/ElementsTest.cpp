// The elements against every backend: the database element's folders, the three schema folders,
// opening items, the table and view elements, failures of schema rowsets, tree expansion.
#include "BrowserFixture.h"

#include "dataaccess/TableData.h"
#include "explorer/browser/ElementSet.h"
#include "explorer/browser/ItemOpening.h"
#include "explorer/browser/TreeExpansion.h"
#include "explorer/browser/xElementSchemaT.h"
#include "explorer/browser/xElement_DB.h"
#include "explorer/browser/xElement_Table.h"
#include "platform/StringTable.h"
#include "support/RecordingReportSink.h"

using namespace qb::browser;

namespace qbtest {
namespace {

class ElementsTest : public BrowserBackendTest {
protected:
    void SetUp() override
    {
        BrowserBackendTest::SetUp();
        elements = std::make_unique<ElementSet>(sink, sessionSource(), qb::settings::explorerRootPath());
    }
    QStringList itemTexts(const xElement& e, int column = 0) const
    {
        QStringList texts;
        for (int i = 0; i < e.itemCount(); ++i)
            texts << e.cellText(i, column);
        return texts;
    }
    QString errors() const { return sink.errorList().join(u'\n'); }
    // Shows an order the way a loader job does.
    void showOrder(const ShowOrder& order)
    {
        ASSERT_TRUE(isElementId(order.jobCode));
        if (order.object)
            elements->table(order.jobCode)->setObjectName(*order.object);
        elements->element(order.jobCode)->show_data(order.request.value_or(ShowRequest{}));
    }

    RecordingReportSink sink;
    std::unique_ptr<ElementSet> elements;
};

TEST_P(ElementsTest, DatabaseElementHoldsItsThreeFoldersInOrder)
{
    xElement_DB& db = elements->database();
    db.show();
    EXPECT_TRUE(db.isLoaded());
    EXPECT_EQ(itemTexts(db), (QStringList{"Tables", "Store Procedures", "Table views"}));
    EXPECT_EQ(db.childKind(0), kTablesFolder);
    EXPECT_EQ(db.childKind(1), kProceduresFolder);
    EXPECT_EQ(db.childKind(2), kViewsFolder);
    EXPECT_EQ(db.childKind(3), kNoRelative);
    ASSERT_EQ(sink.columnList().size(), 1u);
    EXPECT_EQ(sink.columnList()[0].text, "Name");
    EXPECT_EQ(sink.columnList()[0].width, 300);
    ASSERT_FALSE(sink.textList().empty());
    EXPECT_EQ(sink.textList().back().text, QString());
    EXPECT_EQ(sink.textList().back().pos, 100);
    EXPECT_EQ(sink.hides, 1);
    EXPECT_EQ(db.caption(), "Data Base");
    EXPECT_EQ(db.parentId(), kNoRelative);
}

TEST_P(ElementsTest, TablesFolderListsTablesOnlyWithSchemaQualifiedNamesWhereThereIsASchema)
{
    backend->exec("CREATE TABLE alpha (id INTEGER)");
    backend->exec("CREATE TABLE beta (id INTEGER)");
    backend->exec("CREATE VIEW gamma AS SELECT id FROM alpha");
    xElementSchemaT* tables = elements->folder(kTablesFolder);
    tables->show();
    EXPECT_TRUE(errors().isEmpty()) << errors().toStdString();
    ASSERT_TRUE(tables->isLoaded());
    QStringList names = itemTexts(*tables);
    names.sort();
    EXPECT_EQ(names, (QStringList{displayName("alpha"), displayName("beta")}));
    for (int i = 0; i < tables->itemCount(); ++i) {
        EXPECT_EQ(tables->cellText(i, 1), "TABLE");
        EXPECT_EQ(tables->cellText(i, 2), backend->defaultSchema());
        EXPECT_EQ(tables->itemImage(i, 0), kTableImage);
    }
    EXPECT_EQ(tables->cellText(tables->itemCount(), 0), "(EMPTY)") << "an item that does not exist";

    QStringList titles;
    std::vector<int> widths;
    for (const auto& c : sink.columnList()) {
        titles << c.text;
        widths.push_back(c.width);
    }
    EXPECT_EQ(titles, (QStringList{"Name", "Type", "Schema", "Catalog", "Description"}));
    EXPECT_EQ(widths[0], 150);
    EXPECT_EQ(widths[2], 150);
    EXPECT_EQ(widths[4], 150);

    bool sawStage = false, sawEnumeration = false;
    for (const auto& t : sink.textList()) {
        sawStage |= t.text == "Loads the information about an element (table/view or others)." && t.pos == 10;
        sawEnumeration |= t.text == QStringLiteral("Receives the elements count and enumerates elements:  1/\"%1\"")
                                        .arg(tables->cellText(0, 0)) &&
                          t.pos == 30;
    }
    EXPECT_TRUE(sawStage);
    EXPECT_TRUE(sawEnumeration);
    EXPECT_EQ(sink.textList().back().pos, 100);
    EXPECT_EQ(sink.hides, 1);
}

TEST_P(ElementsTest, ViewsFolderListsViewsAndIsEmptyWithoutErrorWhenThereAreNone)
{
    xElementSchemaT* views = elements->folder(kViewsFolder);
    views->show();
    EXPECT_TRUE(views->isLoaded());
    EXPECT_EQ(views->itemCount(), 0);
    EXPECT_TRUE(errors().isEmpty()) << errors().toStdString();

    backend->exec("CREATE TABLE alpha (id INTEGER)");
    backend->exec("CREATE VIEW gamma AS SELECT id FROM alpha");
    views->show_data(ShowRequest{QString(), true, true});
    EXPECT_EQ(itemTexts(*views), QStringList{displayName("gamma")});
    EXPECT_EQ(views->cellText(0, 1), "VIEW");
    EXPECT_EQ(views->itemImage(0, 0), kViewImage);
}

TEST_P(ElementsTest, AShownFolderIsNotReadAgainUnlessRefreshed)
{
    backend->exec("CREATE TABLE alpha (id INTEGER)");
    xElementSchemaT* tables = elements->folder(kTablesFolder);
    tables->show();
    backend->exec("CREATE TABLE beta (id INTEGER)");
    tables->show();
    EXPECT_EQ(tables->itemCount(), 1);
    tables->show_data(ShowRequest{QString(), false, true});
    EXPECT_EQ(tables->itemCount(), 2);
    tables->clear();
    EXPECT_FALSE(tables->isLoaded());
    EXPECT_EQ(tables->itemCount(), 0);
}

TEST_P(ElementsTest, ProceduresFolderListsFunctionsWithTheirTypeText)
{
    xElementSchemaT* procedures = elements->folder(kProceduresFolder);
    const bool hasFunctions = GetParam() == "postgres";
    if (hasFunctions)
        backend->exec("CREATE FUNCTION add_one(i integer) RETURNS integer AS 'SELECT i + 1' LANGUAGE SQL");
    procedures->show();
    EXPECT_TRUE(errors().isEmpty()) << errors().toStdString();
    EXPECT_TRUE(procedures->isLoaded());
    QStringList titles;
    for (const auto& c : sink.columnList())
        titles << c.text;
    EXPECT_EQ(titles, (QStringList{"Proc. name", "Proc. type", "Schema", "Catalog", "Proc. description",
                                   "Proc. definition"}));
    if (!hasFunctions) {
        EXPECT_EQ(procedures->itemCount(), 0);
        return;
    }
    int found = -1;
    for (int i = 0; i < procedures->itemCount(); ++i)
        if (procedures->cellText(i, 0) == "add_one" && procedures->cellText(i, 2) == "public")
            found = i;
    ASSERT_GE(found, 0);
    // The schema reports PROCEDURE_TYPE in the element's codes (1 unknown, 2 procedure, 3 function);
    // an ODBC provider maps the driver's SQL_PT_* values (0, 1, 2) onto them.
    EXPECT_EQ(procedures->cellText(found, 1), "Function; there is a returned value.");
    EXPECT_EQ(procedures->childKind(found), kNoRelative) << "procedures open nothing";
}

TEST_P(ElementsTest, ASchemaRowsetThatFailsAfterSomeRowsKeepsThemAndLogsTheProviderText)
{
    for (const char* t : {"t1", "t2", "t3", "t4"})
        backend->exec(QStringLiteral("CREATE TABLE %1 (id INTEGER)").arg(t));
    session->setScript({.failAfterRows = 2});
    xElementSchemaT* tables = elements->folder(kTablesFolder);
    tables->show();
    EXPECT_TRUE(tables->isLoaded());
    EXPECT_EQ(tables->itemCount(), 2);
    EXPECT_EQ(sink.errorList(),
              QStringList{"Trying to get the information about an element (table/view/etc.): " +
                          QString::fromUtf16(kInjectedFailure)});
    EXPECT_EQ(sink.textList().back().pos, 100);
    EXPECT_EQ(sink.hides, 1);
}

TEST_P(ElementsTest, ASchemaRowsetThatCannotBeOpenedLeavesTheFolderUnloaded)
{
    session->setScript({.failToOpen = true});
    xElementSchemaT* views = elements->folder(kViewsFolder);
    views->show();
    EXPECT_FALSE(views->isLoaded());
    EXPECT_EQ(sink.errorList(),
              QStringList{"Trying to receive the information about elements (table/view/etc.): " +
                          QString::fromUtf16(kInjectedFailure)});
    session->setScript({});
    views->show();
    EXPECT_TRUE(views->isLoaded()) << "the next show tries again";
}

TEST_P(ElementsTest, OpeningATableItemSetsTheObjectAndRequestsTheTableElement)
{
    makeNumberedTable("orders", 3);
    backend->exec("CREATE VIEW open_orders AS SELECT id FROM orders WHERE id > 1");
    elements->folder(kTablesFolder)->show();
    elements->folder(kViewsFolder)->show();

    const ShowOrder table = orderForOpenedItem(*elements, kTablesFolder, displayName("orders"));
    EXPECT_EQ(table.jobCode, kTableElement);
    ASSERT_TRUE(table.object.has_value());
    EXPECT_EQ(table.object->name, "orders");
    EXPECT_EQ(table.object->schema, backend->defaultSchema());
    showOrder(table);
    xElement_Table* t = elements->table(kTableElement);
    EXPECT_EQ(t->objectName().displayName(), displayName("orders"));
    EXPECT_EQ(t->itemCount(), 3);
    EXPECT_EQ(t->cellText(2, 1), "3");

    const ShowOrder view = orderForOpenedItem(*elements, kViewsFolder, displayName("open_orders"));
    EXPECT_EQ(view.jobCode, kViewElement);
    showOrder(view);
    EXPECT_EQ(elements->table(kViewElement)->itemCount(), 2);
    EXPECT_TRUE(errors().isEmpty()) << errors().toStdString();

    EXPECT_EQ(orderForOpenedItem(*elements, kDatabaseElement, "Tables").jobCode, kTablesFolder);
    EXPECT_EQ(orderForOpenedItem(*elements, kDatabaseElement, "Store Procedures").jobCode, kProceduresFolder);
    EXPECT_EQ(orderForOpenedItem(*elements, kDatabaseElement, "Table views").jobCode, kViewsFolder);
    EXPECT_EQ(orderForOpenedItem(*elements, kDatabaseElement, "orders").jobCode, kNoElement);
    EXPECT_EQ(orderForOpenedItem(*elements, kProceduresFolder, "add_one").jobCode, kNoElement);
    EXPECT_EQ(orderForOpenedItem(*elements, kTableElement, "1").jobCode, kNoElement);

    // A text the folder does not hold (the list was stale) is read as a display name.
    const ShowOrder stale = orderForOpenedItem(*elements, kTablesFolder, "sales.customers");
    ASSERT_TRUE(stale.object.has_value());
    EXPECT_EQ(stale.object->schema, "sales");
    EXPECT_EQ(stale.object->name, "customers");
    EXPECT_EQ(orderForOpenedItem(*elements, kViewsFolder, "gone").object->displayName(), "gone");
}

TEST_P(ElementsTest, OpeningASecondTableShowsItsOwnRowsNotTheFirstOnes)
{
    makeNumberedTable("small", 2);
    makeNumberedTable("large", 5);
    elements->folder(kTablesFolder)->show();
    showOrder(orderForOpenedItem(*elements, kTablesFolder, displayName("small")));
    showOrder(orderForOpenedItem(*elements, kTablesFolder, displayName("large")));
    xElement_Table* t = elements->table(kTableElement);
    EXPECT_EQ(t->itemCount(), 5);
    EXPECT_EQ(t->name(), displayName("large"));
}

TEST_P(ElementsTest, TableElementCountsAllRowsButListsOnePageAndKeepsItsQuery)
{
    makeNumberedTable("big", 150);
    xElement_Table* t = elements->table(kTableElement);
    t->setObjectName({backend->defaultSchema(), "big"});
    t->show();
    EXPECT_TRUE(errors().isEmpty()) << errors().toStdString();
    EXPECT_EQ(t->itemCount(), 150);
    EXPECT_EQ(t->listItemCount(), 100);
    ASSERT_TRUE(t->queryText().has_value());
    EXPECT_TRUE(t->queryText()->startsWith("select * from ")) << t->queryText()->toStdString();
    EXPECT_EQ(t->cellText(0, 0), QString());
    EXPECT_EQ(t->itemImage(0, 0), kTableImage);
    ASSERT_TRUE(t->currentShowRequest().has_value());
    EXPECT_EQ(*t->currentShowRequest(), ShowRequest{});

    const ShowRequest sql{"select id from big where id <= 7", true, true};
    t->show_data(sql);
    EXPECT_EQ(t->itemCount(), 7);
    EXPECT_EQ(t->queryText(), sql.sql);
    EXPECT_EQ(t->currentShowRequest(), sql);
    EXPECT_TRUE(t->acceptsSql());
    EXPECT_FALSE(elements->folder(kTablesFolder)->acceptsSql());

    t->clear();
    EXPECT_FALSE(t->isLoaded());
    EXPECT_EQ(t->listItemCount(), 0);
}

TEST_P(ElementsTest, TableLoadShowsItsStageTextsProgressAndListColumns)
{
    makeNumberedTable("s", 3);
    xElement_Table* t = elements->table(kTableElement);
    t->setObjectName({backend->defaultSchema(), "s"});
    t->show();
    EXPECT_TRUE(errors().isEmpty()) << errors().toStdString();
    std::vector<std::pair<QString, int>> got;
    for (const auto& text : sink.textList())
        got.emplace_back(text.text, text.pos);
    const QString enumerate = QStringLiteral("Loads the data into the row cache and enumerates the data");
    const std::vector<std::pair<QString, int>> expected = {
        {QStringLiteral("Prepares a query"), 2},
        {QStringLiteral("Loads the information about columns"), 5},
        {QStringLiteral("Creates an accessor"), 15},
        {QStringLiteral("Creates an accessor"), 20},
        {QStringLiteral("Redraws columns"), 25},
        {QStringLiteral("Loads data from table"), 30},
        {QStringLiteral("Loads data from table"), 45},
        {QStringLiteral("Creates a row cache"), 50},
        {enumerate, 55},
        {enumerate + QStringLiteral(" [ row number 1 ]"), 80},
        {enumerate + QStringLiteral(" [ row number 2 ]"), 80},
        {enumerate + QStringLiteral(" [ row number 3 ]"), 80},
        {QString(), 95},
        {QString(), 100},
    };
    EXPECT_EQ(got, expected);
    EXPECT_EQ(sink.rangeMin, 0);
    EXPECT_EQ(sink.rangeMax, 100);
    EXPECT_EQ(sink.positions, std::vector<int>{1});
    EXPECT_EQ(sink.hides, 1);
    const auto checkColumns = [this] {
        const auto columns = sink.columnList();
        ASSERT_EQ(columns.size(), 3u);
        EXPECT_EQ(columns[0].text, QString());
        EXPECT_EQ(columns[0].index, 0);
        EXPECT_EQ(columns[0].width, 20);
        EXPECT_EQ(columns[1].text.toLower(), u"id");
        EXPECT_EQ(columns[1].index, 1);
        EXPECT_EQ(columns[1].width, 100);
        EXPECT_EQ(columns[2].text.toLower(), u"name");
        EXPECT_EQ(columns[2].index, 2);
        EXPECT_EQ(columns[2].format, 0);
    };
    checkColumns();

    // Shown again as loaded: the same columns, rebuilt without a new load.
    t->show();
    EXPECT_EQ(sink.columnClears, 2);
    EXPECT_EQ(sink.textList().size(), expected.size());
    checkColumns();
}

TEST_P(ElementsTest, AStatementThatReturnsNoRowsIsNotKeptForHistoryStepsOrRefresh)
{
    makeNumberedTable("t", 3);
    xElement_Table* t = elements->table(kTableElement);
    t->setObjectName({backend->defaultSchema(), "t"});
    t->show_data(ShowRequest{"delete from t where id = 1", true, true});
    EXPECT_TRUE(errors().isEmpty()) << errors().toStdString();
    ASSERT_TRUE(t->currentShowRequest().has_value());
    EXPECT_EQ(t->currentShowRequest()->sql, QString()) << "replaying it would delete again";

    t->show_data(ShowRequest{"select id from t", true, true});
    EXPECT_EQ(t->itemCount(), 2);
    EXPECT_EQ(t->currentShowRequest()->sql, "select id from t");
}

TEST_P(ElementsTest, ClosingTheConnectionDropsEveryElementsContent)
{
    makeNumberedTable("t", 3);
    elements->folder(kTablesFolder)->show();
    showOrder(orderForOpenedItem(*elements, kTablesFolder, displayName("t")));
    elements->clearLoaded();
    for (int id = kTablesFolder; id <= kViewElement; ++id)
        EXPECT_FALSE(elements->element(id)->isLoaded()) << id;
    EXPECT_TRUE(elements->database().isLoaded()) << "the database's folders are always there";
}

TEST_P(ElementsTest, TreeExpansionLoadsTheFolderAndMarksWhatCanBeExpandedFurther)
{
    backend->exec("CREATE TABLE alpha (id INTEGER)");
    const std::vector<TreeChild> root = expandTreeNode(*elements, kDatabaseElement);
    ASSERT_EQ(root.size(), 3u);
    EXPECT_EQ(root[0].text, "Tables");
    EXPECT_TRUE(root[0].expandable);
    EXPECT_EQ(root[1].text, "Store Procedures");
    EXPECT_FALSE(root[1].expandable);
    EXPECT_EQ(root[2].text, "Table views");
    EXPECT_TRUE(root[2].expandable);
    EXPECT_EQ(root[1].image, kProceduresFolderImage);

    const std::vector<TreeChild> tables = expandTreeNode(*elements, kTablesFolder);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].text, displayName("alpha"));
    EXPECT_FALSE(tables[0].expandable);
    EXPECT_TRUE(sink.columnList().empty()) << "a tree expansion does not touch the list columns";
    EXPECT_TRUE(expandTreeNode(*elements, kTableElement).empty());
}

TEST_P(ElementsTest, SelectingATableNodeShowsThatTable)
{
    makeNumberedTable("alpha", 4);
    expandTreeNode(*elements, kTablesFolder);
    const ShowOrder order = orderForTreeNode(*elements, displayName("alpha"), QString("Tables"));
    EXPECT_EQ(order.jobCode, kTableElement);
    showOrder(order);
    EXPECT_EQ(elements->table(kTableElement)->itemCount(), 4);
}

INSTANTIATE_TEST_SUITE_P(Backends, ElementsTest, ::testing::ValuesIn(backendNames()), backendTestName);

} // namespace
} // namespace qbtest
