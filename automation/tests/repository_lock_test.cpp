#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "automation/repository/repository_lock.h"
#include "testsupport/vx_test.h"

namespace {

// A second process that takes the lock and, at the word of this one, ends
// releasing it ('r') or as if it crashed.
class lock_holder {
public:
    explicit lock_holder(const std::string& file)
    {
        int to_parent[2];
        int to_child[2];
        if (pipe(to_parent) != 0 || pipe(to_child) != 0)
            return;
        std::fflush(nullptr);
        pid = fork();
        if (pid == 0) {
            std::optional<repository_lock> lock(std::in_place, file);
            const char held = lock->held() ? 'y' : 'n';
            char word = 0;
            if (write(to_parent[1], &held, 1) != 1 || read(to_child[0], &word, 1) != 1 ||
                word == 'r')
                lock.reset();
            std::_Exit(0);
        }
        close(to_parent[1]);
        close(to_child[0]);
        char held = 0;
        took = read(to_parent[0], &held, 1) == 1 && held == 'y';
        close(to_parent[0]);
        word_pipe = to_child[1];
    }
    ~lock_holder() { end('r'); }

    void end(char word)
    {
        if (word_pipe < 0)
            return;
        EXPECT_EQ(write(word_pipe, &word, 1), 1);
        close(word_pipe);
        word_pipe = -1;
        waitpid(pid, nullptr, 0);
    }

    pid_t pid = -1;
    bool took = false;

private:
    int word_pipe = -1;
};

TEST(RepositoryLock, ASecondRunIsToldWhichProcessHoldsTheLock)
{
    vx_test::TempDir dir;
    const std::string file = dir.file("r.vxr");
    const std::string lock_file = file + ".lock";
    lock_holder first(file);
    ASSERT_TRUE(first.took);
    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(lock_file));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::to_string(first.pid));
    EXPECT_EQ(lines[1], "automation_tests");

    const std::string printed = vx_test::printed_by([&] {
        const repository_lock second(file);
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.holder(), first.pid);
    });
    EXPECT_EQ(printed, "Could not lock " + file + ": process " + std::to_string(first.pid) +
                           " (automation_tests) holds it\n");
    first.end('r');
    EXPECT_FALSE(std::filesystem::exists(lock_file));
    {
        const repository_lock again(file);
        EXPECT_TRUE(again.held());
    }
    EXPECT_FALSE(std::filesystem::exists(lock_file));

    const std::string missing = dir.file("missing/r.vxr");
    EXPECT_EQ(vx_test::printed_by([&] { EXPECT_FALSE(repository_lock(missing).held()); }),
              "Could not lock " + missing + ": No such file or directory\n");
}

TEST(RepositoryLock, ALockLeftByAnEndedProcessOrAnIdReusedIsTakenOver)
{
    vx_test::TempDir dir;
    const std::string file = dir.file("r.vxr");
    lock_holder crashed(file);
    ASSERT_TRUE(crashed.took);
    crashed.end('c');
    ASSERT_TRUE(std::filesystem::exists(file + ".lock"));
    {
        const repository_lock taken(file);
        EXPECT_TRUE(taken.held());
        EXPECT_EQ(vx_test::lines_of(vx_test::read_file(file + ".lock")).at(0),
                  std::to_string(getpid()));
    }
    vx_test::write_file(file + ".lock", std::to_string(getpid()) + "\nanother_program\n\n");
    EXPECT_TRUE(repository_lock(file).held());
}

}  // namespace
