#include "platform/Event.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

TEST(Event, StaysSetUntilResetAndWakesEveryWaiter)
{
    qb::Event event;
    EXPECT_FALSE(event.wait(10ms));
    int woken = 0;
    std::mutex m;
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (event.wait(5s)) {
                std::lock_guard l(m);
                ++woken;
            }
        });
    event.set();
    for (auto& t : waiters)
        t.join();
    EXPECT_EQ(woken, 3);
    EXPECT_TRUE(event.wait(0ms)); // manual reset: still set
    event.reset();
    EXPECT_FALSE(event.isSet());
    EXPECT_FALSE(event.wait(0ms));
}

TEST(Event, StartsSignalledWhenAsked)
{
    qb::Event idle(true);
    EXPECT_TRUE(idle.isSet());
}
