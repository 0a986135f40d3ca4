#pragma once

// Helpers shared by the benchmark programs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

// The main window's default update rule.
constexpr const char* kDefaultUpdateRule =
    "DECLS:\n conv :=  (4 * area * 3.14176) /(pow((perimeter),2.0));\n areafraction := area / "
    "sons;\n bbrelation := aaxis/paxis;\n FDC := 5;\n#DECLS\nRULES:\nTD:\n#RULES\n";

inline long status_kb(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::strlen(key));
    return 0;
}

// Peak resident size of one step: the kernel's high-water mark is reset
// before it.
class step_memory {
public:
    void start()
    {
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        before_kb_ = status_kb("VmRSS:");
    }
    void stop()
    {
        const long hwm = status_kb("VmHWM:");
        peak_kb_ = std::max(peak_kb_, hwm);
        step_kb_ = std::max(step_kb_, hwm - before_kb_);
    }
    void report(benchmark::State& state) const
    {
        state.counters["peak_MB"] = peak_kb_ / 1024.0;
        state.counters["step_MB"] = step_kb_ / 1024.0;
    }

private:
    long before_kb_ = 0;
    long peak_kb_ = 0;
    long step_kb_ = 0;
};

// The library's trace lines go to /dev/null while a case runs.
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
