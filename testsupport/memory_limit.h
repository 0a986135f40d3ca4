#pragma once

// A process that runs out of memory, for the tests of what a computation
// does then: its address space limited a little above what it holds. Set
// the limit in a child process (EXPECT_EXIT) only. The sanitizers reserve
// far more address space than a program uses, so under them such tests skip.

#include <sys/resource.h>

#include <cstddef>
#include <fstream>
#include <string>

namespace vx_test {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool under_sanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
inline constexpr bool under_sanitizer = true;
#else
inline constexpr bool under_sanitizer = false;
#endif
#else
inline constexpr bool under_sanitizer = false;
#endif

// The bytes of address space this process holds (VmSize), 0 when unknown.
inline size_t address_space_in_use()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoul(line.substr(7)) * 1024;
    return 0;
}

// Lets the process hold `headroom` bytes of address space more than it
// does; false when that cannot be set.
inline bool limit_address_space(size_t headroom)
{
    const size_t used = address_space_in_use();
    rlimit limit{};
    if (used == 0 || getrlimit(RLIMIT_AS, &limit) != 0)
        return false;
    limit.rlim_cur = used + headroom;
    return setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace vx_test
