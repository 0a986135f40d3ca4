#include "filter/tree_workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <vector>

#include "imagecore/fatal.h"

namespace {

TEST(TreeWorkers, ATaskThatThrowsStopsTheRunAndReachesTheCallerWhoseRecoveryTheHelpersShare)
{
    const out_of_memory_recovery recovery;
    for (int thrower : {0, 5, 63}) {
        std::atomic<bool> shared{true};
        std::vector<int> done;
        const auto task = [&](int i) {
            if (!out_of_memory_recovery::active())
                shared = false;
            if (i == thrower)
                throw std::bad_alloc();
        };
        EXPECT_THROW(run_tree_tasks_in_order(
                         64, 4, [&](int i, int) { task(i); }, [&](int i) { done.push_back(i); }),
                     std::bad_alloc);
        // Only tasks before the one that threw are reported, in order.
        ASSERT_LE(done.size(), static_cast<size_t>(thrower));
        for (size_t k = 0; k < done.size(); ++k)
            EXPECT_EQ(done[k], static_cast<int>(k));
        EXPECT_THROW(run_tree_tasks(64, 4, task), std::bad_alloc);
        EXPECT_TRUE(shared);
    }
}

}  // namespace
