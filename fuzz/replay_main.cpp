// Replays fuzzer inputs without libFuzzer: every file named on the command
// line (or found in a named directory) is fed to LLVMFuzzerTestOneInput in a
// child process. Readers may legitimately end the process with their own exit
// code; only a death by signal counts as a failure.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool run_one(const std::filesystem::path& path)
{
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return false;
    }
    if (pid == 0) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "FAILED %s: signal %d\n", path.c_str(), WTERMSIG(status));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.push_back(arg);
        }
    }
    int failures = 0;
    for (const auto& path : inputs)
        failures += run_one(path) ? 0 : 1;
    std::printf("%zu inputs replayed, %d failed\n", inputs.size(), failures);
    return failures == 0 ? 0 : 1;
}
