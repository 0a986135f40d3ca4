#include "automation/repository/detail/tree_threads.h"

#include <pthread.h>

#include <chrono>
#include <exception>
#include <memory>
#include <thread>

#include "imagecore/fatal.h"
#include "imagecore/report.h"

namespace {

// Progress kinds in replay order.
constexpr int kReplayKinds[] = {1, 11, 2, 12};

int kind_slot(int kind)
{
    for (int slot = 0; slot < 4; ++slot)
        if (kReplayKinds[slot] == kind)
            return slot;
    return -1;
}

struct tree_thread {
    tree_job* job = nullptr;
    bool recover = false;  // from exhausted memory, as the calling thread does
    pthread_t thread{};
    bool started = false;
    std::atomic<bool> finished{false};
};

// Nothing thrown may leave a POSIX thread, nor the calling thread that runs
// a job in its place.
void* run_tree_thread(void* arg)
{
    auto* run = static_cast<tree_thread*>(arg);
    const out_of_memory_recovery recovery(run->recover);
    try {
        generateTreeFile(run->job);
    } catch (const std::exception& e) {
        vx_report("Could not compute the tree %s: %s\n", run->job->file_name, e.what());
    }
    run->finished.store(true, std::memory_order_release);
    return nullptr;
}

bool all_finished(const std::vector<std::unique_ptr<tree_thread>>& runs)
{
    for (const auto& run : runs)
        if (run->started && !run->finished.load(std::memory_order_acquire))
            return false;
    return true;
}

}  // namespace

tree_progress_relay::tree_progress_relay(tree_progress_fn target, void* context)
    : target_(target), context_(context)
{
    for (int slot = 0; slot < kKinds; ++slot) {
        latest_[slot].store(-1, std::memory_order_relaxed);
        replayed_[slot] = -1;
    }
}

void tree_progress_relay::attach(tree_job& job)
{
    // The region graph reports only with a context, so no target means
    // neither.
    job.progress = target_ != nullptr ? &tree_progress_relay::record : nullptr;
    job.context = target_ != nullptr ? this : nullptr;
}

void tree_progress_relay::record(int kind, int step, void* relay)
{
    const int slot = kind_slot(kind);
    if (slot >= 0)
        static_cast<tree_progress_relay*>(relay)->latest_[slot].store(step,
                                                                      std::memory_order_relaxed);
}

void tree_progress_relay::replay()
{
    if (target_ == nullptr)
        return;
    for (int slot = 0; slot < kKinds; ++slot) {
        const int latest = latest_[slot].load(std::memory_order_relaxed);
        while (replayed_[slot] < latest)
            target_(kReplayKinds[slot], ++replayed_[slot], context_);
    }
}

void run_tree_jobs(const std::vector<tree_job*>& jobs, tree_progress_relay& relay)
{
    // Every record is made before a thread starts: memory that runs out
    // here leaves none running.
    std::vector<std::unique_ptr<tree_thread>> runs;
    for (tree_job* job : jobs) {
        runs.push_back(std::make_unique<tree_thread>());
        runs.back()->job = job;
        runs.back()->recover = out_of_memory_recovery::active();
    }
    for (const auto& entry : runs) {
        tree_thread& run = *entry;
        run.started = pthread_create(&run.thread, nullptr, run_tree_thread, &run) == 0;
        if (!run.started) {
            vx_report("Could not start a tree thread, %s is computed here\n", run.job->file_name);
            run_tree_thread(&run);
            relay.replay();
        }
    }
    while (!all_finished(runs)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        relay.replay();
    }
    for (const auto& run : runs)
        if (run->started)
            pthread_join(run->thread, nullptr);
    relay.replay();
}
