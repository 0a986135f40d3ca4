#pragma once

// Stand-ins for the outside C4.5 learner: shell scripts "c4.5" and
// "c4.5rules" that log their name and then each argument on a line of its
// own, and exit with the given status, in a directory that is all of PATH
// while the object lives. Removing a script makes that program missing.

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "testsupport/vx_test.h"

namespace vx_test {

struct stand_in_programs {
    TempDir bin;
    std::string log = bin.file("calls.log");
    std::string saved_path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";

    explicit stand_in_programs(int status = 0)
    {
        for (const char* program : {"c4.5", "c4.5rules"}) {
            const std::string path = bin.file(program);
            write_file(path, std::string("#!/bin/sh\nprintf '%s\\n' ") + program + " \"$@\" >> '" +
                                 log + "'\nexit " + std::to_string(status) + "\n");
            chmod(path.c_str(), 0755);
        }
        setenv("PATH", bin.path().c_str(), 1);
    }
    ~stand_in_programs() { setenv("PATH", saved_path.c_str(), 1); }
    stand_in_programs(const stand_in_programs&) = delete;
    stand_in_programs& operator=(const stand_in_programs&) = delete;
};

}  // namespace vx_test
