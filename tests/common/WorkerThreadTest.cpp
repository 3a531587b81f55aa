#include "platform/BrelibException.h"
#include "common/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Generous: only a failure waits this long.
constexpr auto kLong = 10s;

TEST(WorkerThread, RunsTheJobAndCollectsItsResult)
{
    qb::WorkerThread worker;
    EXPECT_FALSE(worker.isRunning());
    EXPECT_TRUE(worker.waitForEnd(0ms)) << "nothing running counts as ended";

    auto release = std::make_shared<qb::Event>();
    worker.start([release](qb::WorkerThreadContext&) {
        release->wait();
        return 42;
    });
    EXPECT_TRUE(worker.isRunning());
    EXPECT_FALSE(worker.waitForEnd(1ms));
    EXPECT_FALSE(worker.lastResult().has_value());
    release->set();
    ASSERT_TRUE(worker.waitForEnd(kLong));
    EXPECT_FALSE(worker.isRunning());
    EXPECT_EQ(worker.lastResult(), 42);
}

TEST(WorkerThread, ExceptionsInTheJobBecomeResultMinusOne)
{
    qb::WorkerThread worker;
    worker.start([](qb::WorkerThreadContext&) -> int { throw Brelib::exception("failed"); });
    ASSERT_TRUE(worker.waitForEnd(kLong));
    EXPECT_EQ(worker.lastResult(), -1);

    worker.start([](qb::WorkerThreadContext&) -> int { throw 7; });
    ASSERT_TRUE(worker.waitForEnd(kLong));
    EXPECT_EQ(worker.lastResult(), -1);

    worker.start([](qb::WorkerThreadContext&) { return 0; });
    ASSERT_TRUE(worker.waitForEnd(kLong));
    EXPECT_EQ(worker.lastResult(), 0);
}

TEST(WorkerThread, StartStopsThePreviousJobFirst)
{
    qb::WorkerThread worker;
    auto firstEnded = std::make_shared<std::atomic<bool>>(false);
    auto firstStarted = std::make_shared<qb::Event>();
    worker.start([=](qb::WorkerThreadContext& context) {
        firstStarted->set();
        context.killEvent().wait(); // a job that polls its kill event
        firstEnded->store(true);
        return 1;
    });
    ASSERT_TRUE(firstStarted->wait(kLong));

    auto secondSawFirstEnded = std::make_shared<std::atomic<bool>>(false);
    auto secondSawKill = std::make_shared<std::atomic<bool>>(true);
    worker.start([=](qb::WorkerThreadContext& context) {
        secondSawFirstEnded->store(firstEnded->load());
        secondSawKill->store(context.killRequested());
        return 2;
    }, kLong);
    ASSERT_TRUE(worker.waitForEnd(kLong));
    EXPECT_TRUE(secondSawFirstEnded->load());
    EXPECT_FALSE(secondSawKill->load()) << "the next job starts with the kill event reset";
    EXPECT_EQ(worker.lastResult(), 2);
}

TEST(WorkerThread, StopCallsTheInterruptHookThatEndsABlockedJob)
{
    // Stands in for a statement that only the provider's interrupt call breaks off.
    struct Statement {
        qb::Event interrupted;
        std::atomic<int> interrupts{0};
    };
    auto statement = std::make_shared<Statement>();
    auto running = std::make_shared<qb::Event>();
    qb::WorkerThread worker;
    worker.start([statement, running](qb::WorkerThreadContext& context) {
        context.setInterruptHook([statement] {
            ++statement->interrupts;
            statement->interrupted.set();
        });
        running->set();
        statement->interrupted.wait(); // ignores the kill event: only the interrupt helps
        context.clearInterruptHook();
        return 5;
    });
    ASSERT_TRUE(running->wait(kLong));
    EXPECT_TRUE(worker.stop(kLong));
    EXPECT_EQ(statement->interrupts.load(), 1);
    EXPECT_EQ(worker.lastResult(), 5);
    EXPECT_FALSE(worker.isRunning());
}

TEST(WorkerThread, HookRegisteredAfterTheKillRequestRunsAtOnce)
{
    auto stopRequested = std::make_shared<qb::Event>();
    auto hookCalled = std::make_shared<std::atomic<bool>>(false);
    qb::WorkerThread worker;
    worker.start([=](qb::WorkerThreadContext& context) {
        context.killEvent().wait(); // the stop has already been asked for ...
        context.setInterruptHook([hookCalled] { hookCalled->store(true); }); // ... when the hook comes
        return 0;
    });
    EXPECT_TRUE(worker.stop(kLong));
    EXPECT_TRUE(hookCalled->load());
}

TEST(WorkerThread, StopGivesUpOnAJobThatIgnoresItAndTheJobKeepsItsState)
{
    struct Shared {
        std::vector<int> rows;
        qb::Event release;
        qb::Event started;
        qb::Event stillWorking;
    };
    auto shared = std::make_shared<Shared>();
    auto hookCalls = std::make_shared<std::atomic<int>>(0);
    {
        qb::WorkerThread worker;
        worker.start([shared, hookCalls](qb::WorkerThreadContext& context) {
            context.setInterruptHook([hookCalls] { ++*hookCalls; }); // a hook that does not help
            shared->started.set();
            while (!shared->release.isSet()) {
                shared->rows.push_back(int(shared->rows.size()));
                if (context.killRequested())
                    shared->stillWorking.set();
                std::this_thread::sleep_for(1ms);
            }
            shared->rows.clear();
            shared->rows.shrink_to_fit();
            return 9;
        });
        ASSERT_TRUE(shared->started.wait(kLong));
        EXPECT_FALSE(worker.stop(30ms)) << "the job did not end in time";
        EXPECT_EQ(hookCalls->load(), 1);
        EXPECT_FALSE(worker.isRunning()) << "given up on: no job is current";
        EXPECT_FALSE(worker.lastResult().has_value()) << "its result is discarded";
        EXPECT_TRUE(worker.waitForEnd(0ms));
        EXPECT_GE(qb::WorkerThread::runningThreads(), 1);

        // The worker is free at once for the next job.
        worker.start([](qb::WorkerThreadContext& context) { return context.killRequested() ? 1 : 2; });
        EXPECT_TRUE(worker.waitForEnd(kLong));
        EXPECT_EQ(worker.lastResult(), 2);
    } // the WorkerThread is gone while the job still runs

    auto release = shared; // the test lets go of its main handle; the job keeps its own
    shared.reset();
    EXPECT_TRUE(release->stillWorking.wait(kLong)) << "the job still sees its kill event set";
    release->release.set();
    release.reset();
    EXPECT_TRUE(qb::WorkerThread::waitForAllThreads(kLong));
    EXPECT_EQ(qb::WorkerThread::runningThreads(), 0);
}

TEST(WorkerThread, WaitingKeepsThePumpGoing)
{
    auto release = std::make_shared<qb::Event>();
    qb::WorkerThread worker;
    worker.start([release](qb::WorkerThreadContext&) {
        release->wait();
        return 3;
    });
    int pumped = 0;
    EXPECT_TRUE(worker.waitForEnd(kLong, [&] {
        if (++pumped == 3)
            release->set(); // the job waits for something only the pumping thread gives it
    }));
    EXPECT_GE(pumped, 3);
    EXPECT_EQ(worker.lastResult(), 3);
}

TEST(WorkerThread, EvenAShortWaitPumpsOnce)
{
    // Prior to the fix, a wait of 20 ms or less never called the pump, so a job in a call to the
    // GUI thread could not finish during a short stop.
    auto release = std::make_shared<qb::Event>();
    qb::WorkerThread worker;
    worker.start([release](qb::WorkerThreadContext&) {
        release->wait();
        return 4;
    });
    for (const auto timeout : {0ms, 1ms, 20ms}) {
        int pumped = 0;
        EXPECT_FALSE(worker.waitForEnd(timeout, [&] { ++pumped; }));
        EXPECT_EQ(pumped, 1) << "timeout " << timeout.count() << " ms";
    }
    int pumped = 0;
    EXPECT_TRUE(worker.stop(kLong, [&] {
        ++pumped;
        release->set(); // what the job waits for comes only through the pump
    }));
    EXPECT_GE(pumped, 1);
    EXPECT_EQ(worker.lastResult(), 4);
}

TEST(WorkerThread, ANestedStartOrStopFromThePumpIsRefusedAndTheOuterStopCompletes)
{
    // Prior to the fix, a start or stop called from the pump (an event delivered while the owner
    // waits) ran in the middle of the outer stop: it collected or gave up the job the outer wait
    // was waiting for and put another run in its place.
    auto pumped = std::make_shared<qb::Event>();
    auto secondRan = std::make_shared<std::atomic<bool>>(false);
    qb::WorkerThread worker;
    worker.start([pumped](qb::WorkerThreadContext& context) {
        context.killEvent().wait();
        pumped->wait(); // ends only once the owner's pump has run
        return 1;
    });
    bool nestedStartRefused = false;
    bool nestedStopReturnedAtOnce = false;
    bool nestedWaitReturnedAtOnce = false;
    bool first = true;
    EXPECT_TRUE(worker.stop(kLong, [&] {
        if (!first)
            return;
        first = false;
        pumped->set();
        try {
            worker.start([secondRan](qb::WorkerThreadContext&) {
                secondRan->store(true);
                return 2;
            });
        } catch (const Brelib::exception&) {
            nestedStartRefused = true;
        }
        nestedStopReturnedAtOnce = !worker.stop(kLong);
        nestedWaitReturnedAtOnce = !worker.waitForEnd(kLong);
    }));
    EXPECT_TRUE(nestedStartRefused);
    EXPECT_TRUE(nestedStopReturnedAtOnce) << "the nested stop reports the outer one still in progress";
    EXPECT_TRUE(nestedWaitReturnedAtOnce);
    EXPECT_EQ(worker.lastResult(), 1) << "the outer stop collected its own job";
    EXPECT_FALSE(secondRan->load());
    EXPECT_FALSE(worker.isRunning());

    // Outside a wait the worker takes jobs as before.
    worker.start([](qb::WorkerThreadContext&) { return 3; });
    ASSERT_TRUE(worker.waitForEnd(kLong));
    EXPECT_EQ(worker.lastResult(), 3);
}

// Ends the process through the exit contract, with one job given up on or none.
[[noreturn]] void exitThroughTheContract(bool leaveAJobRunning)
{
    auto never = std::make_shared<qb::Event>();
    qb::WorkerThread worker;
    worker.start([never, leaveAJobRunning](qb::WorkerThreadContext&) {
        if (leaveAJobRunning)
            never->wait();
        return 0;
    });
    worker.stop(leaveAJobRunning ? 10ms : kLong);
    qb::WorkerThread::awaitThreadsBeforeExit(7, 10ms);
    std::exit(0);
}

TEST(WorkerThreadDeathTest, ExitWithAThreadStillRunningEndsWithoutStaticDestructors)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exitThroughTheContract(true), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(exitThroughTheContract(false), ::testing::ExitedWithCode(0), "") << "every thread ended: it returns";
}

// As another user whose process limit the process itself uses up, start a job.
[[noreturn]] void startWithoutThreadsLeft()
{
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 1;
    if (setgid(65534) != 0 || setuid(65534) != 0 || setrlimit(RLIMIT_NPROC, &limit) != 0)
        std::_Exit(2);
    qb::WorkerThread worker;
    try {
        worker.start([](qb::WorkerThreadContext&) { return 0; });
    } catch (const Brelib::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        std::_Exit(e.text() == "Error during create thread: Resource temporarily unavailable" ? 3 : 4);
    }
    std::_Exit(5);
}

TEST(WorkerThreadDeathTest, FailureToCreateTheThreadCarriesTheSystemText)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to switch to a user with an exhausted process limit";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(startWithoutThreadsLeft(), ::testing::ExitedWithCode(3), "Error during create thread: ");
}

} // namespace
