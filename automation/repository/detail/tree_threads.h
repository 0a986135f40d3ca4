#pragma once

// The tree threads of a repository step and the relay that brings their
// progress to the calling thread. Not part of the library's interface.

#include <atomic>
#include <vector>

#include "analyse/trees/lRegion_Graph.h"
#include "filter/progress.h"

// Worker threads only store the last step of each progress kind; the
// calling thread replays every step since its last replay, so that the
// receiver sees each step of kinds 1, 11, 2 and 12 exactly once, in order,
// and always on the calling thread.
class tree_progress_relay {
public:
    // A null target receives nothing.
    tree_progress_relay(tree_progress_fn target, void* context);
    tree_progress_relay(const tree_progress_relay&) = delete;
    tree_progress_relay& operator=(const tree_progress_relay&) = delete;

    // Makes the relay the job's progress receiver.
    void attach(tree_job& job);
    // Calls the target for every step recorded since the last replay: the
    // bright partition and graph, then the dark ones.
    void replay();

private:
    static constexpr int kKinds = 4;
    static void record(int kind, int step, void* relay);

    tree_progress_fn target_;
    void* context_;
    std::atomic<int> latest_[kKinds];
    int replayed_[kKinds];
};

// Runs generateTreeFile on every job, each on its own POSIX thread, in
// order of the list; the calling thread replays the progress about every
// 50 ms until all are done and joined. A job whose thread cannot be started
// runs on the calling thread. The threads recover from exhausted memory when
// the calling thread does (out_of_memory_recovery). Nothing a job throws
// leaves it: the job then ends without a tree, after a message.
void run_tree_jobs(const std::vector<tree_job*>& jobs, tree_progress_relay& relay);
