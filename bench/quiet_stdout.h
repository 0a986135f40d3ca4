#pragma once

// The libraries' trace lines go to /dev/null while a benchmark case runs,
// so that only the benchmark's own report reaches the terminal.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

class quiet_stdout {
public:
    quiet_stdout() : saved_(dup(STDOUT_FILENO))
    {
        std::fflush(stdout);
        if (std::freopen("/dev/null", "w", stdout) == nullptr)
            std::abort();
    }
    ~quiet_stdout()
    {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    quiet_stdout(const quiet_stdout&) = delete;
    quiet_stdout& operator=(const quiet_stdout&) = delete;

private:
    int saved_;
};
