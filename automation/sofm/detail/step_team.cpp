#include "automation/sofm/detail/step_team.h"

#include <chrono>

namespace {

constexpr uint64_t kOpen = uint64_t{1} << 31;
constexpr uint64_t kJoined = kOpen - 1;
// The gap between two jobs of a training pass is a few microseconds; a
// display refresh between them can take milliseconds.
constexpr std::chrono::microseconds kSpin{50};

uint32_t job_of(uint64_t state)
{
    return static_cast<uint32_t>(state >> 32);
}

void cpu_relax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

}  // namespace

template <class Ready>
void step_team::await(Ready ready)
{
    const auto until = std::chrono::steady_clock::now() + kSpin;
    for (unsigned spin = 1;; ++spin) {
        if (ready())
            return;
        cpu_relax();
        if (spin % 64 == 0 && std::chrono::steady_clock::now() > until)
            break;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, ready);
}

void step_team::wake()
{
    // Taking the lock orders the change before a waiter's last check.
    {
        const std::lock_guard<std::mutex> lock(mutex_);
    }
    changed_.notify_all();
}

void step_team::run_job(int count, task_fn task, void* context)
{
    task_ = task;
    context_ = context;
    count_ = count;
    next_.store(0, std::memory_order_relaxed);
    done_.store(0, std::memory_order_relaxed);
    left_.store(0, std::memory_order_relaxed);
    const uint64_t job = job_of(state_.load(std::memory_order_relaxed)) + uint64_t{1};
    state_.store(job << 32 | kOpen, std::memory_order_release);
    if (threads_ > 1)
        wake();
    work();
    await([&] { return done_.load(std::memory_order_acquire) == count; });
    // No helper joins from now on; those that did are done or about to be.
    const uint64_t joined = state_.fetch_and(~kOpen, std::memory_order_acq_rel) & kJoined;
    await([&] { return static_cast<uint64_t>(left_.load(std::memory_order_acquire)) == joined; });
}

void step_team::work()
{
    for (int i = next_.fetch_add(1, std::memory_order_relaxed); i < count_;
         i = next_.fetch_add(1, std::memory_order_relaxed)) {
        task_(context_, i);
        if (done_.fetch_add(1, std::memory_order_acq_rel) + 1 == count_)
            wake();
    }
}

void step_team::serve()
{
    uint32_t seen = 0;
    for (;;) {
        await([&] { return job_of(state_.load(std::memory_order_acquire)) != seen; });
        uint64_t state = state_.load(std::memory_order_acquire);
        seen = job_of(state);
        if (stopping_.load(std::memory_order_relaxed))
            return;
        bool joined = false;
        while (!joined && job_of(state) == seen && (state & kOpen) != 0)
            joined = state_.compare_exchange_weak(state, state + 1, std::memory_order_acq_rel,
                                                  std::memory_order_acquire);
        if (!joined)
            continue;
        work();
        left_.fetch_add(1, std::memory_order_acq_rel);
        wake();
    }
}

void step_team::stop()
{
    stopping_.store(true, std::memory_order_relaxed);
    const uint64_t job = job_of(state_.load(std::memory_order_relaxed)) + uint64_t{1};
    state_.store(job << 32, std::memory_order_release);
    wake();
}
