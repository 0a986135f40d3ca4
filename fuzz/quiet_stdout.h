#pragma once

#include <cstdio>

// The readers talk a lot on standard output; a fuzzer needs none of it.
inline void discard_stdout()
{
    static FILE* quiet = std::freopen("/dev/null", "w", stdout);
    (void)quiet;
}
