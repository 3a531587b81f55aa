// Appearance flags are read by loader threads while the window's thread applies the options
// dialog and rereads the registry; every field has its own lock, so ThreadSanitizer must stay
// quiet and readers only ever see values that were set.
#include "explorer/settings/DataListSettings.h"
#include "explorer/settings/GeneralSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace qb::settings;

namespace {

TEST(SettingsThreadsTest, ReadersRunWhileTheWindowChangesAndRereadsTheGroup)
{
    qbtest::ScopedRegistryDir registry;
    DataListSettings list;
    GeneralSettings general;
    ASSERT_EQ(list.loadSave(SettingsGroup::Write), 0);
    std::atomic<bool> stop{false};
    std::atomic<int> unexpected{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const uint32_t grid = list.value(QStringLiteral("IsShowGrid"));
                if (grid > 1)
                    ++unexpected;
                (void)list.fullRowSelect();
                if (general.maxBackupPoints() < 0 || general.maxBackupPoints() > 500)
                    ++unexpected;
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        list.setValue(QStringLiteral("IsShowGrid"), uint32_t(i % 2));
        general.setValue(QStringLiteral("MaxBackupPoints"), uint32_t(i));
        if (i % 50 == 0)
            list.loadSave(SettingsGroup::Read);
    }
    stop = true;
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(unexpected.load(), 0);
}

} // namespace
