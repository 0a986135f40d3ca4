#pragma once

// The threads of one training pass or map computation: the work comes as
// tens of thousands of short parallel jobs, one or two per training step,
// far too many to start threads for each. The team is started once through
// the tree workers and its helpers wait between jobs. A job ends when its
// tasks are done: a helper that the system has not run meanwhile (the
// machine is shared) sits the job out instead of holding it up. Not part of
// the library's interface.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <type_traits>

#include "filter/tree_workers.h"

class step_team {
public:
    // Runs drive(team) on the calling thread while threads - 1 helpers
    // (none for threads <= 1) wait for the jobs it runs; returns when drive
    // has returned and the helpers have ended.
    template <class Drive>
    static void with_team(int threads, Drive&& drive)
    {
        step_team team(threads < 1 ? 1 : threads);
        run_tree_threads(team.threads_, [&](int thread) {
            if (thread != 0) {
                // The job would wait for a task that threw on a helper: the
                // process ends instead.
                [&team]() noexcept { team.serve(); }();
                return;
            }
            // The helpers go also when drive throws.
            const struct stopper {
                step_team& team;
                ~stopper() { team.stop(); }
            } stop{team};
            drive(team);
        });
    }

    int threads() const { return threads_; }

    // Runs task(i) for every i in 0 .. count - 1 on the calling thread and
    // the helpers that join in, each taking the next task as it becomes
    // free; returns when all have run.
    template <class Task>
    void run_tasks(int count, Task&& task)
    {
        using task_type = typename std::remove_reference<Task>::type;
        run_job(
            count, [](void* context, int i) { (*static_cast<task_type*>(context))(i); }, &task);
    }

private:
    using task_fn = void (*)(void* context, int i);

    explicit step_team(int threads) : threads_(threads) {}
    void run_job(int count, task_fn task, void* context);
    // Takes and runs tasks of the current job until none is left.
    void work();
    void serve();
    void stop();
    // Waits until ready() holds: a short spin, then asleep until wake().
    template <class Ready>
    void await(Ready ready);
    void wake();

    const int threads_;
    task_fn task_ = nullptr;
    void* context_ = nullptr;
    int count_ = 0;
    std::atomic<bool> stopping_{false};
    // The job's number in the high 32 bits, whether it still admits helpers
    // (bit 31) and how many have joined it (the low bits).
    std::atomic<uint64_t> state_{0};
    std::atomic<int> next_{0};  // the next task to take
    std::atomic<int> done_{0};  // tasks run
    std::atomic<int> left_{0};  // helpers that have joined and left again
    std::mutex mutex_;
    std::condition_variable changed_;
};
