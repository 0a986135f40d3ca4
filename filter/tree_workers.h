#pragma once

// How many threads one tree computation may use: the scales of a partition,
// the leaves of one scale of the region graph and the regions of an
// attribute pass are split over this many workers, the calling thread
// included. Results do not depend on the setting.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "filter/filter_export.h"
#include "imagecore/fatal.h"

// Sets the worker count for the whole process; a count below 1 restores the
// default, half the machine's hardware threads (at least one): the GUI and
// the repositories compute the bright and the dark tree of an image at once.
FILTER_EXPORT void set_tree_workers(int count);
FILTER_EXPORT int get_tree_workers();

// The workers of a computation that runs alone, as the self-organising map
// does: the count set with set_tree_workers, by default all the machine's
// hardware threads (at least one).
FILTER_EXPORT int get_solo_workers();

// Runs work(t) for t in 0 .. threads - 1, each on a thread of its own (t = 0
// on the calling thread), and returns when all have returned. A thread that
// cannot be started (a process thread limit, memory) is not tried again and
// neither are those after it: work(t) then runs for the threads started
// only, t = 0 always, so work must take its share from what the others
// leave, as every caller here does through a shared counter. The threads
// recover from exhausted memory when the calling thread does
// (out_of_memory_recovery); what a work(t) throws ends that one, and the
// first thrown is thrown again here once all have returned, so that work
// whose threads wait for each other must let them go on before it throws.
template <class Work>
void run_tree_threads(int threads, Work&& work)
{
    const bool recover = out_of_memory_recovery::active();
    std::mutex failure_mutex;
    std::exception_ptr failure;
    const auto guarded = [&](int t) {
        try {
            work(t);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failure_mutex);
            if (!failure)
                failure = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<size_t>(std::max(threads - 1, 0)));
    try {
        for (int t = 1; t < threads; ++t)
            helpers.emplace_back([&guarded, recover, t] {
                const out_of_memory_recovery recovery(recover);
                guarded(t);
            });
    } catch (const std::exception&) {
        // std::system_error, or std::bad_alloc for the thread's state.
    }
    guarded(0);
    for (std::thread& h : helpers)
        h.join();
    if (failure)
        std::rethrow_exception(failure);
}

// Runs task(i) for every i in 0 .. count - 1 on up to `workers` threads, the
// calling thread being one of them, and returns when all have run. Tasks are
// handed out in ascending order; with one worker they all run on the calling
// thread, in order. After a task that throws no further task starts, and
// the first thrown is thrown again.
template <class Task>
void run_tree_tasks(int count, int workers, Task&& task)
{
    std::atomic<int> next{0};
    run_tree_threads(std::max(1, std::min(workers, count)), [&](int) {
        for (int i = next++; i < count; i = next++) {
            try {
                task(i);
            } catch (...) {
                next = count;
                throw;
            }
        }
    });
}

// run_tree_tasks with task(i, thread), thread in 0 .. workers - 1 telling
// the threads apart (0 the calling thread), that also calls done(i) on the
// calling thread for every i, in ascending order, as soon as task i and all
// tasks before it have run: between the calling thread's own tasks, and
// after them while it waits for the others. After a task that throws no
// further task starts nor done(i) is called, and the first thrown is thrown
// again.
template <class Task, class Done>
void run_tree_tasks_in_order(int count, int workers, Task&& task, Done&& done)
{
    std::vector<char> finished(static_cast<size_t>(std::max(count, 0)), 0);
    std::mutex mutex;
    std::condition_variable finishing;
    std::atomic<int> next{0};
    int reported = 0;
    bool stopped = false;
    const auto report = [&](bool wait) {
        std::unique_lock<std::mutex> lock(mutex);
        while (reported < count && !stopped) {
            if (finished[static_cast<size_t>(reported)] != 0) {
                lock.unlock();
                done(reported++);
                lock.lock();
            } else if (wait) {
                finishing.wait(lock);
            } else {
                return;
            }
        }
    };
    run_tree_threads(std::max(1, std::min(workers, count)), [&](int thread) {
        for (int i = next++; i < count; i = next++) {
            try {
                task(i, thread);
            } catch (...) {
                next = count;
                {
                    const std::lock_guard<std::mutex> lock(mutex);
                    stopped = true;
                }
                finishing.notify_all();
                throw;
            }
            {
                const std::lock_guard<std::mutex> lock(mutex);
                finished[static_cast<size_t>(i)] = 1;
            }
            finishing.notify_all();
            if (thread == 0)
                report(false);
        }
        if (thread == 0)
            report(true);
    });
}
