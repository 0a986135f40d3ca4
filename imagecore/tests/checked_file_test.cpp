#include "imagecore/files/checked_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(CheckedFile, ANameOfAnyLegalLengthIsWrittenAndALinkStaysALink)
{
    namespace fs = std::filesystem;
    vx_test::TempDir dir;
    const auto replace = [](const std::string& path, const std::string& text) {
        checked_file out(path.c_str(), "w");
        return out.write(text) && out.close();
    };
    // Names up to the system's limit of 255 characters.
    const std::string longest = dir.file(std::string(251, 'n') + ".pgm");
    write_file(longest, "older");
    EXPECT_TRUE(replace(longest, "newer"));
    EXPECT_EQ(read_file(longest), "newer");

    // A relative link in one folder to a file in another, and a link to a
    // file not made yet.
    fs::create_directories(dir.path() / "links");
    fs::create_directories(dir.path() / "files");
    write_file(dir.file("files/kept.txt"), "older");
    fs::create_symlink("../files/kept.txt", dir.path() / "links/kept.txt");
    fs::create_symlink("../files/made.txt", dir.path() / "links/made.txt");
    EXPECT_TRUE(replace(dir.file("links/kept.txt"), "newer"));
    EXPECT_TRUE(replace(dir.file("links/made.txt"), "made"));
    for (const char* name : {"links/kept.txt", "links/made.txt"})
        EXPECT_TRUE(fs::is_symlink(dir.path() / name)) << name;
    EXPECT_EQ(read_file(dir.file("files/kept.txt")), "newer");
    EXPECT_EQ(read_file(dir.file("files/made.txt")), "made");
    EXPECT_EQ(entries(dir.path() / "links"), 2);
    EXPECT_EQ(entries(dir.path() / "files"), 2);

    // Links in a ring name no file: refused, the links as they were.
    fs::create_symlink("ring.b", dir.path() / "ring.a");
    fs::create_symlink("ring.a", dir.path() / "ring.b");
    vx_test::printed_by([&] { EXPECT_FALSE(replace(dir.file("ring.a"), "x")); });
    EXPECT_TRUE(fs::is_symlink(dir.path() / "ring.a"));
}

TEST(CheckedFile, APipeOrADeviceIsWrittenInPlace)
{
    vx_test::TempDir dir;
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    checked_file out(pipe.c_str(), "w");
    EXPECT_TRUE(out.write("through") && out.close());
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 7);
    ::close(reader);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe)) << "no plain file in its place";
}

}  // namespace
