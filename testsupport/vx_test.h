#pragma once

// Helpers shared by the test suites of every library.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

// Expects `statement` to end the process with `code` after printing text that
// matches `regex`. The system prints its fatal messages on standard output,
// which the death test does not watch, so the child sends it to standard error.
// The parent sees the exit code modulo 256, as every POSIX parent does.
#define EXPECT_VX_FATAL(statement, code, regex) \
    EXPECT_EXIT(                                \
        {                                       \
            std::fflush(stdout);                \
            dup2(STDERR_FILENO, STDOUT_FILENO); \
            statement;                          \
        },                                      \
        ::testing::ExitedWithCode((code)&0xff), regex)

namespace vx_test {

// A fresh directory, removed with its contents when the object goes.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vxtest.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// What `action` prints on standard output.
inline std::string printed_by(const std::function<void()>& action)
{
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

inline std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The lines of the text, without their line breaks.
inline std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// make() with standard output captured, as it would otherwise reach the
// test log; what was printed goes to *output when given.
template <class Make>
auto capturing_stdout(Make make, std::string* output = nullptr)
{
    testing::internal::CaptureStdout();
    auto made = make();
    const std::string printed = testing::internal::GetCapturedStdout();
    if (output != nullptr)
        *output = printed;
    return made;
}

inline void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Makes this process unable to start threads: a process limit of 0, which
// root escapes unless it first becomes the user nobody (so the files used
// afterwards must be open to all). Call it in a child process, which should
// leave through std::_Exit, since LeakSanitizer needs a thread at exit.
// Returns whether a thread now fails to start.
inline bool forbid_new_threads()
{
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        return false;
    rlimit limit{};
    getrlimit(RLIMIT_NPROC, &limit);
    limit.rlim_cur = 0;
    if (setrlimit(RLIMIT_NPROC, &limit) != 0)
        return false;
    try {
        std::thread([] {}).join();
        return false;
    } catch (const std::system_error&) {
        return true;
    }
}

// Whether forbid_new_threads works here (tried in a child process).
inline bool threads_can_be_forbidden()
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0)
        std::_Exit(forbid_new_threads() ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace vx_test
