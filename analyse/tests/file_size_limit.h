#pragma once

// Makes writes fail half-way: runs `write` under a file-size limit of 64
// bytes. Call it in a child process (EXPECT_EXIT), since the limit stays.

#include <sys/resource.h>

#include <csignal>

template <class Write>
int under_size_limit(Write write)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 64;
    setrlimit(RLIMIT_FSIZE, &limit);
    return write();
}
