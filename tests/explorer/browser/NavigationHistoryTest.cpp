#include "explorer/browser/BackupPointsBound.h"
#include "explorer/browser/ElementId.h"
#include "explorer/browser/GeneralSettingsBound.h"
#include "explorer/browser/NavigationHistory.h"
#include "explorer/browser/ShowStarter.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace qb::browser;

namespace {

class FixedBound : public BackupPointsBound {
public:
    explicit FixedBound(std::optional<int> value) : value(value) {}
    std::optional<int> maxBackupPoints() const override { return value; }
    std::optional<int> value;
};

// Stands in for the loader: remembers the orders and plays the window's part of showing them
// (an ordinary selection records the element it leaves).
class FakeWindow : public ShowStarter {
public:
    explicit FakeWindow(std::optional<int> bound) : bound(bound), history(*this, &this->bound) {}

    void startShow(ShowOrder order) override
    {
        if (failNextStart) {
            failNextStart = false;
            throw std::runtime_error("Error during create thread");
        }
        orders.push_back(order);
        const int element = order.jobCode < 0 ? -order.jobCode : order.jobCode;
        if (order.jobCode > 0)
            history.recordPoint(current);
        const QString name = order.object ? order.object->displayName() : QStringLiteral("element %1").arg(element);
        current = {element, name, order.request, order.object};
    }
    // The user picks an element (tree, list, SQL pane).
    void visit(int element, QString name = {})
    {
        ShowOrder order{element, ShowRequest{}, std::nullopt};
        if (!name.isEmpty())
            order.object = qb::data::ObjectName{QString(), name};
        startShow(order);
    }
    void back() { history.goBack(current); }
    void forward() { history.goForward(current); }

    FixedBound bound;
    NavigationHistory history;
    HistoryPoint current;
    std::vector<ShowOrder> orders;
    bool failNextStart = false;
};

std::vector<int> elementsOf(const std::vector<HistoryPoint>& points)
{
    std::vector<int> ids;
    for (const auto& p : points)
        ids.push_back(p.element);
    return ids;
}

} // namespace

TEST(NavigationHistory, BoundTwoKeepsTheLastTwoLeftBehindElements)
{
    FakeWindow w(2);
    for (int e : {1, 2, 5, 2, 4})
        w.visit(e);
    EXPECT_EQ(elementsOf(w.history.backPoints()), (std::vector<int>{5, 2}));

    w.back();
    EXPECT_EQ(w.current.element, 2);
    w.back();
    EXPECT_EQ(w.current.element, 5);
    EXPECT_FALSE(w.history.backEnabled(true));
    const size_t ordersBefore = w.orders.size();
    w.back();
    EXPECT_EQ(w.orders.size(), ordersBefore) << "an empty back stack starts nothing";
}

TEST(NavigationHistory, BoundZeroKeepsNoBackPoints)
{
    FakeWindow w(0);
    for (int e : {1, 2, 5, 2})
        w.visit(e);
    EXPECT_FALSE(w.history.canGoBack());
    EXPECT_FALSE(w.history.backEnabled(true));
}

TEST(NavigationHistory, BoundIsOneHundredWhenUnavailableAndCutToTheOptionRange)
{
    FakeWindow unavailable(std::nullopt);
    EXPECT_EQ(unavailable.history.bound(), 100);
    for (int i = 0; i < 150; ++i)
        unavailable.visit(i % 2 ? 2 : 4);
    EXPECT_EQ(unavailable.history.backPoints().size(), 100u);

    FakeWindow negative(-3);
    EXPECT_EQ(negative.history.bound(), 0);
    FakeWindow huge(100000);
    EXPECT_EQ(huge.history.bound(), 500);
}

TEST(NavigationHistory, LeavingElementZeroRecordsNothing)
{
    FakeWindow w(20);
    w.visit(1); // current was 0: nothing shown yet
    EXPECT_FALSE(w.history.canGoBack());
    w.history.recordPoint({0, "nothing", std::nullopt, std::nullopt});
    w.history.recordPoint({-2, "nothing", std::nullopt, std::nullopt});
    EXPECT_FALSE(w.history.canGoBack());
}

TEST(NavigationHistory, HistoryStepsRecordNoBackPointAndUseNegativeJobCodes)
{
    FakeWindow w(20);
    w.visit(1);
    w.visit(2);
    w.visit(5, "public.orders");
    ASSERT_EQ(elementsOf(w.history.backPoints()), (std::vector<int>{1, 2}));

    w.back();
    EXPECT_EQ(w.orders.back().jobCode, -2);
    EXPECT_EQ(elementsOf(w.history.backPoints()), (std::vector<int>{1}));
    EXPECT_EQ(elementsOf(w.history.forwardPoints()), (std::vector<int>{5}));
}

TEST(NavigationHistory, BackThenForwardThenBackReturnsToTheSameElement)
{
    FakeWindow w(20);
    w.visit(1);
    w.visit(2);
    w.visit(4);
    w.back(); // to 2
    w.forward(); // to 4, leaving 2 on the back stack
    EXPECT_EQ(w.current.element, 4);
    EXPECT_EQ(w.orders.back().jobCode, -4);
    w.back();
    EXPECT_EQ(w.current.element, 2) << "Back after Forward must not skip the element Forward left";
    w.back();
    EXPECT_EQ(w.current.element, 1);
}

TEST(NavigationHistory, StepsBringBackTheTableAndItsRequestWithBothFlagsSet)
{
    FakeWindow w(20);
    w.visit(2);
    ShowOrder sqlOrder{5, ShowRequest{"select 1", true, false}, qb::data::ObjectName{"public", "a"}};
    w.startShow(sqlOrder);
    w.visit(2);
    w.startShow({5, ShowRequest{}, qb::data::ObjectName{"public", "b"}});

    w.back(); // folder
    w.back(); // table a with its own SQL text
    const ShowOrder& order = w.orders.back();
    EXPECT_EQ(order.jobCode, -5);
    ASSERT_TRUE(order.object.has_value());
    EXPECT_EQ(order.object->displayName(), "public.a");
    ASSERT_TRUE(order.request.has_value());
    EXPECT_EQ(order.request->sql, "select 1");
    EXPECT_TRUE(order.request->refresh);
    EXPECT_TRUE(order.request->redraw);
    EXPECT_EQ(elementsOf(w.history.forwardPoints()), (std::vector<int>{5, 2}));
    EXPECT_EQ(w.history.forwardPoints().front().name, "public.b");
}

TEST(NavigationHistory, UpFromATableShowsItsFolderAndMakesTheTableABackPoint)
{
    FakeWindow w(20);
    w.visit(2);
    w.visit(5, "t");
    w.history.goUp(kTablesFolder);
    EXPECT_EQ(w.orders.back().jobCode, 2);
    EXPECT_EQ(w.current.element, 2);
    ASSERT_FALSE(w.history.backPoints().empty());
    EXPECT_EQ(w.history.backPoints().back().element, 5);
    EXPECT_EQ(w.history.backPoints().back().name, "t");

    const size_t ordersBefore = w.orders.size();
    w.history.goUp(kNoRelative);
    EXPECT_EQ(w.orders.size(), ordersBefore);
}

TEST(NavigationHistory, CommandStatesFollowStacksIdleAndConnection)
{
    FakeWindow w(20);
    EXPECT_FALSE(w.history.backEnabled(true));
    EXPECT_FALSE(w.history.forwardEnabled(true));
    w.visit(1);
    w.visit(2);
    EXPECT_TRUE(w.history.backEnabled(true));
    EXPECT_FALSE(w.history.backEnabled(false)) << "disabled while a job runs";
    w.back();
    EXPECT_TRUE(w.history.forwardEnabled(true));
    EXPECT_FALSE(w.history.forwardEnabled(false));

    EXPECT_FALSE(NavigationHistory::upEnabled(true, true, kDatabaseElement));
    EXPECT_FALSE(NavigationHistory::upEnabled(true, true, kNoElement));
    EXPECT_TRUE(NavigationHistory::upEnabled(true, true, kTableElement));
    EXPECT_FALSE(NavigationHistory::upEnabled(false, true, kTableElement));
    EXPECT_FALSE(NavigationHistory::upEnabled(true, false, kTableElement));
}

TEST(NavigationHistory, AStepThatCannotStartKeepsItsTargetAndReportsTheErrorToTheCommand)
{
    // Prior to the fix, the target was lost and the error swallowed: Back silently did nothing
    // and the element could not be reached by Back again.
    FakeWindow w(20);
    w.visit(1);
    w.visit(2);
    w.visit(4);
    w.failNextStart = true;
    EXPECT_THROW(w.back(), std::runtime_error);
    EXPECT_EQ(elementsOf(w.history.backPoints()), (std::vector<int>{1, 2}));
    EXPECT_FALSE(w.history.canGoForward()) << "nothing was left, so there is no way forward";
    EXPECT_EQ(w.current.element, 4);
    w.back();
    EXPECT_EQ(w.current.element, 2) << "the retried step reaches the same element";

    w.failNextStart = true;
    EXPECT_THROW(w.forward(), std::runtime_error);
    EXPECT_EQ(elementsOf(w.history.forwardPoints()), (std::vector<int>{4}));
    EXPECT_EQ(elementsOf(w.history.backPoints()), (std::vector<int>{1})) << "no back point for a step not taken";
    w.forward();
    EXPECT_EQ(w.current.element, 4);
    EXPECT_EQ(elementsOf(w.history.backPoints()), (std::vector<int>{1, 2}));
}

TEST(NavigationHistory, ClearEmptiesBothStacks)
{
    FakeWindow w(20);
    w.visit(1);
    w.visit(2);
    w.visit(4);
    w.back();
    ASSERT_TRUE(w.history.canGoBack());
    ASSERT_TRUE(w.history.canGoForward());
    w.history.clear();
    EXPECT_FALSE(w.history.canGoBack());
    EXPECT_FALSE(w.history.canGoForward());
}

TEST(NavigationHistory, BoundComesFromTheGeneralGroupAndIs100WithoutIt)
{
    qbtest::ScopedRegistryDir registry;
    qb::settings::GeneralSettings general;
    EXPECT_EQ(GeneralSettingsBound(&general).maxBackupPoints(), 20);
    EXPECT_EQ(GeneralSettingsBound(nullptr).maxBackupPoints(), std::nullopt);

    struct NoStarter : ShowStarter {
        void startShow(ShowOrder) override {}
    } starter;
    GeneralSettingsBound unavailable(nullptr);
    EXPECT_EQ(NavigationHistory(starter, &unavailable).bound(), 100);
    general.setValue("MaxBackupPoints", 3);
    GeneralSettingsBound fromGroup(&general);
    NavigationHistory history(starter, &fromGroup);
    for (int e : {1, 2, 4, 2, 5})
        history.recordPoint({e, QString(), std::nullopt, std::nullopt});
    EXPECT_EQ(history.backPoints().size(), 3u);
}
