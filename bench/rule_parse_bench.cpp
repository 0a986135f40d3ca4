// links: analyse
//
// Parsing generated rule files: a top-down rule of many terms (program
// building); one long comment, identifier, number or blank run, and one line
// of unclosed braces (scanning). Argument: terms or bytes. Counter: ns per
// term or per byte.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"

namespace {

// The rule text in a file of its own, removed after the benchmark.
class rule_file {
public:
    explicit rule_file(const std::string& text)
    {
        char pattern[] = "/tmp/rule_bench.XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0)
            std::abort();
        close(fd);
        path_ = pattern;
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~rule_file() { std::remove(path_.c_str()); }
    rule_file(const rule_file&) = delete;
    rule_file& operator=(const rule_file&) = delete;

    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

// Parses the file once per iteration with the parser's messages sent to
// /dev/null; `units` is what the counter divides by.
void parse_repeatedly(benchmark::State& state, const std::string& text, double units)
{
    const rule_file file(text);
    const int saved = dup(STDOUT_FILENO);
    std::fflush(stdout);
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        std::abort();
    bool parsed = true;
    for (auto _ : state) {
        program* prog = parse_rule_file(file.path(), 64);
        parsed = parsed && prog != nullptr;
        delete_program(prog);
    }
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    if (!parsed)
        state.SkipWithError("the generated rule did not parse");
    state.counters["ns/unit"] = benchmark::Counter(
        units, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ParseRuleOfManyTerms(benchmark::State& state)
{
    const long terms = state.range(0);
    std::string text = "RULES:\nTD: area > 1";
    for (long t = 1; t < terms; ++t)
        text += " && area > 1";
    text += "\n#RULES\n";
    parse_repeatedly(state, text, static_cast<double>(terms));
}

// One declaration whose single long token is `token`.
std::string declaration_around(const std::string& token)
{
    return "DECLS:\n" + token + "\nx := 1;\n#DECLS\n";
}

void BM_ScanLongComment(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(state.range(0));
    parse_repeatedly(state, declaration_around("{" + std::string(bytes, 'c') + "}"), bytes);
}

void BM_ScanLongIdentifier(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(state.range(0));
    parse_repeatedly(state, "DECLS:\n" + std::string(bytes, 'v') + " := 1;\n#DECLS\n", bytes);
}

void BM_ScanLongNumber(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(state.range(0));
    parse_repeatedly(state, "DECLS:\nx := " + std::string(bytes, '7') + ";\n#DECLS\n", bytes);
}

void BM_ScanLongBlankRun(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(state.range(0));
    parse_repeatedly(state, declaration_around(std::string(bytes, ' ')), bytes);
}

// "{{{{...": braces without their "}" are unrecognised characters.
void BM_ScanUnclosedBraces(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(state.range(0));
    parse_repeatedly(state, declaration_around(std::string(bytes, '{')), bytes);
}

}  // namespace

BENCHMARK(BM_ParseRuleOfManyTerms)
    ->RangeMultiplier(4)
    ->Range(1024, 65536)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLongComment)
    ->RangeMultiplier(4)
    ->Range(32 << 10, 2 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLongIdentifier)
    ->RangeMultiplier(4)
    ->Range(32 << 10, 2 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLongNumber)
    ->RangeMultiplier(4)
    ->Range(32 << 10, 2 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLongBlankRun)
    ->RangeMultiplier(4)
    ->Range(32 << 10, 2 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanUnclosedBraces)
    ->RangeMultiplier(4)
    ->Range(4 << 10, 64 << 10)
    ->Unit(benchmark::kMillisecond);
