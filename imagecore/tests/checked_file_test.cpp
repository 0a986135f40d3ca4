#include "imagecore/files/checked_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "testsupport/full_disk.h"
#include "testsupport/vx_test.h"

namespace {

using vx_test::read_file;
using vx_test::write_file;

int entries(const std::filesystem::path& dir)
{
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

// Whether replacing the file with `size` bytes failed with `error` and said
// so; the file itself is left to the caller to look at.
void expect_refused(const std::string& path, size_t size, int error)
{
    const std::string printed = vx_test::printed_by([&] {
        checked_file out(path.c_str(), "w");
        EXPECT_FALSE(out.write(std::string(size, 'x')) && out.close());
        EXPECT_EQ(out.error(), error) << path;
    });
    EXPECT_NE(
        printed.find("Could not write file " + path + ": " + checked_file::reason_of(error) + "\n"),
        std::string::npos)
        << printed;
}

TEST(CheckedFile, AFullDiskOrAFolderTurnedReadOnlyLeavesTheOlderFileWhole)
{
    const vx_test::SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const std::string path = disk.file("table.csv");
    write_file(path, "older");
    disk.fill();
    expect_refused(path, 16384, ENOSPC);
    EXPECT_EQ(read_file(path), "older");
    EXPECT_EQ(entries(disk.file("")), 2) << "no temporary file is left";

    std::filesystem::remove(disk.file(".filler"));
    ASSERT_TRUE(disk.readOnly());
    expect_refused(path, 10, EROFS);
    expect_refused(disk.file("new.csv"), 10, EROFS);
    EXPECT_EQ(read_file(path), "older");
    EXPECT_EQ(entries(disk.file("")), 1);
}

TEST(CheckedFile, AReadOnlyFileIsRefusedAndAWrittenOneKeepsItsPermissions)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("rule.txt");
    write_file(path, "older");
    {
        const vx_test::ReadOnlyFile read_only(path);
        if (!read_only.made())
            GTEST_SKIP() << read_only.why();
        expect_refused(path, 10, geteuid() == 0 ? EROFS : EACCES);
        EXPECT_EQ(read_file(path), "older");
    }
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    checked_file out(path.c_str(), "w");
    ASSERT_TRUE(out.write("newer") && out.close());
    EXPECT_EQ(read_file(path), "newer");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(entries(dir.path()), 1);
}

}  // namespace
