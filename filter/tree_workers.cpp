#include "filter/tree_workers.h"

namespace {

std::atomic<int> chosen_workers{0};

int hardware_threads()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace

void set_tree_workers(int count)
{
    chosen_workers.store(count > 0 ? count : 0, std::memory_order_relaxed);
}

int get_tree_workers()
{
    const int count = chosen_workers.load(std::memory_order_relaxed);
    return count > 0 ? count : std::max(1, hardware_threads() / 2);
}

int get_solo_workers()
{
    const int count = chosen_workers.load(std::memory_order_relaxed);
    return count > 0 ? count : hardware_threads();
}
