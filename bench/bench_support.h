#pragma once

// Helpers shared by the benchmark programs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "imagecore/image.h"

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

// Noise with a few thousand flat discs of random size and level.
inline image* synthetic_grey(int side, int top)
{
    image* g = create_image(side, side, 0);
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> noise(0, top / 16);
    for (int p = 0; p < side * side; ++p)
        g->pixels[p] = noise(rng);
    std::uniform_int_distribution<int> centre(0, side - 1);
    std::uniform_int_distribution<int> radius(2, 40);
    std::uniform_int_distribution<int> level(top / 8, top - top / 16);
    for (int d = 0; d < side * side / 1024; ++d) {
        const int cx = centre(rng), cy = centre(rng), r = radius(rng), v = level(rng);
        for (int y = std::max(0, cy - r); y < std::min(side, cy + r + 1); ++y)
            for (int x = std::max(0, cx - r); x < std::min(side, cx + r + 1); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                    g->pixels[y * side + x] = v + noise(rng);
    }
    update_image_struct(g);
    return g;
}

// A rule file in /tmp for as long as the record lives.
struct temp_rule {
    std::string path;

    temp_rule(const char* name, const char* text)
        : path("/tmp/vx_bench." + std::to_string(getpid()) + "." + name)
    {
        std::ofstream(path) << text;
    }
    ~temp_rule() { std::remove(path.c_str()); }
    temp_rule(const temp_rule&) = delete;
    temp_rule& operator=(const temp_rule&) = delete;
};

// Compact regions of some size and contrast, found top-down.
inline constexpr const char* kQueryRule =
    "DECLS:\n conv := (4 * area * 3.14176) / (pow((perimeter), 2.0));\n c := volume / area;\n"
    "#DECLS\nRULES:\nTD:\n area > 50 && conv > 0.5 && c > 10\n#RULES\n";
