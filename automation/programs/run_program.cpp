#include "automation/programs/run_program.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "imagecore/report.h"

extern char** environ;

int run_program(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return -1;
    std::string line;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        line += (line.empty() ? "" : " ") + argument;
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const char* program = arguments[0].c_str();
    vx_report("Calling %s\n\n", line.c_str());
    // The child inherits standard output: what is buffered goes first.
    std::fflush(stdout);

    pid_t child = 0;
    const int error = posix_spawnp(&child, program, nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        vx_report("Could not run %s: %s\n", program,
                  error == ENOENT ? "not found" : std::strerror(error));
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) {
            vx_report("Could not run %s: %s\n", program, std::strerror(errno));
            return -1;
        }
    if (WIFSIGNALED(status)) {
        vx_report("%s ended by signal %d\n", program, WTERMSIG(status));
        return 128 + WTERMSIG(status);
    }
    const int code = WEXITSTATUS(status);
    if (code != 0)
        vx_report("%s ended with status %d\n", program, code);
    return code;
}
