#pragma once

// How many threads one tree computation may use: the scales of a partition,
// the leaves of one scale of the region graph and the regions of an
// attribute pass are split over this many workers, the calling thread
// included. Results do not depend on the setting.

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "filter/filter_export.h"

// Sets the worker count for the whole process; a count below 1 restores the
// default, half the machine's hardware threads (at least one): the GUI and
// the repositories compute the bright and the dark tree of an image at once.
FILTER_EXPORT void set_tree_workers(int count);
FILTER_EXPORT int get_tree_workers();

// Runs task(i) for every i in 0 .. count - 1 on up to `workers` threads, the
// calling thread being one of them, and returns when all have run. Tasks are
// handed out in ascending order; with one worker they all run on the calling
// thread, in order.
template <class Task>
void run_tree_tasks(int count, int workers, Task&& task)
{
    const int threads = std::max(1, std::min(workers, count));
    if (threads == 1) {
        for (int i = 0; i < count; ++i)
            task(i);
        return;
    }
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < count; i = next++)
            task(i);
    };
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<size_t>(threads - 1));
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& h : helpers)
        h.join();
}
