#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "automation/sofm/detail/step_team.h"

// Every task of every job runs once, and what it writes is there when the
// job returns, on teams of one to eight threads; a slow task now and then
// lets some helpers fall asleep or miss jobs.
TEST(StepTeam, EveryTaskOfEveryJobRunsOnceBeforeTheJobReturns)
{
    for (int threads : {1, 3, 8}) {
        step_team::with_team(threads, [&](step_team& team) {
            EXPECT_EQ(team.threads(), threads);
            std::vector<int> runs(100);
            for (int job = 0; job < 300; ++job) {
                const int count = job % 7 == 0 ? 0 : job % 100;
                std::fill(runs.begin(), runs.end(), 0);
                team.run_tasks(count, [&](int i) {
                    ++runs[static_cast<size_t>(i)];
                    if (i == 0 && job % 60 == 1)
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                });
                for (int i = 0; i < 100; ++i)
                    ASSERT_EQ(runs[static_cast<size_t>(i)], i < count ? 1 : 0) << job << " " << i;
            }
        });
    }
}
