#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "automation/repository/vx_repository.h"
#include "testsupport/vx_test.h"

namespace {

// Reads the file, keeping what the reader prints.
std::unique_ptr<VxRepository> read_repository(const std::string& path,
                                              std::string* output = nullptr)
{
    testing::internal::CaptureStdout();
    auto repository = std::make_unique<VxRepository>(path.c_str());
    const std::string printed = testing::internal::GetCapturedStdout();
    if (output != nullptr)
        *output = printed;
    return repository;
}

void expect_same_records(VxRepository& a, VxRepository& b)
{
    ASSERT_EQ(a.NumberOfImages(), b.NumberOfImages());
    for (int i = 0; i < a.NumberOfImages(); ++i) {
        EXPECT_STREQ(a.ImageName(i), b.ImageName(i));
        EXPECT_STREQ(a.BrightTreeName(i), b.BrightTreeName(i));
        EXPECT_STREQ(a.DarkTreeName(i), b.DarkTreeName(i));
    }
}

TEST(RepositoryFile, ReadsTheFileWithGenerationModeAndTrailer)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("r.vxr");
    vx_test::write_file(
        path,
        "Number of Images: 3\nGeneration Mode: 3\nRepository Path:\n/data/my trees\n"
        "Images Path:\n/data/images/\r\n"
        "a.png,a.8.bright.tree,a.8.dark.tree,\n"
        " b.png ,-,-\n"
        "Bild~\xc3\xa4.png,Bild~\xc3\xa4.8.bright.tree,\n"
        "Computation starting at 1.2.2026 3:4:5 took 0h 1m 2s\n");
    std::string printed;
    auto r = read_repository(path, &printed);
    ASSERT_EQ(r->NumberOfImages(), 3);
    EXPECT_TRUE(r->isRead());
    EXPECT_EQ(r->getTreeGenerationMode(), 3);
    EXPECT_STREQ(r->RepositoryName(), path.c_str());
    EXPECT_EQ(printed, "Path /data/my trees/\n");
    EXPECT_STREQ(r->ImageFilename(1), "/data/images/b.png");
    EXPECT_STREQ(r->BrightTreeName(0), "a.8.bright.tree");
    EXPECT_STREQ(r->DarkTreeName(1), "-");
    EXPECT_STREQ(r->ImageName(2), "Bild~\xc3\xa4.png");
    EXPECT_STREQ(r->DarkTreeName(2), "-");
    EXPECT_EQ(r->ImageName(3), nullptr);

    testing::internal::CaptureStdout();
    char* bright = r->BrightTreeFilename(0);
    EXPECT_STREQ(bright, "/data/my trees/a.8.bright.tree");
    r->BrightTreeFilename(7);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "BrightFilename /data/my trees/a.8.bright.tree\nBrightFilename /data/my trees/\n");
    EXPECT_STREQ(bright, "/data/my trees/");
}

TEST(RepositoryFile, ReadsTheOlderFileWithoutGenerationMode)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("old.vxr");
    vx_test::write_file(path,
                        "Number of Images: 1\nRepository Path:\n/r/\nImages Path:\n/i/\n"
                        "c.pgm,c.4.bright.nr.tree,-\n");
    auto r = read_repository(path);
    ASSERT_EQ(r->NumberOfImages(), 1);
    EXPECT_EQ(r->getTreeGenerationMode(), 0);
    EXPECT_STREQ(r->BrightTreeName(0), "c.4.bright.nr.tree");
    EXPECT_STREQ(r->DarkTreeName(0), "-");
}

TEST(RepositoryFile, WrittenFilesReadBackToTheSameRepository)
{
    vx_test::TempDir dir;
    const std::string source = dir.file("source.vxr");
    vx_test::write_file(
        source,
        "Number of Images: 2\nGeneration Mode: 7\nRepository Path:\n/t/\n"
        "Images Path:\n/i/\na.png,a.3.bright.tree,a.3.dark.tree,\nb.png,-,b.3.dark.tree,\n");
    auto original = read_repository(source);

    const std::string copy = dir.file("copy.vxr");
    ASSERT_EQ(original->WriteRepository(copy.c_str()), 1);
    auto again = read_repository(copy);
    expect_same_records(*original, *again);
    EXPECT_EQ(again->getTreeGenerationMode(), 7);
    EXPECT_STREQ(again->ImageFilename(0), "/i/a.png");
    EXPECT_NE(vx_test::read_file(copy).find("\nb.png,-,b.3.dark.tree,\nComputation starting at "),
              std::string::npos);

    const std::string older = dir.file("older.vxr");
    testing::internal::CaptureStdout();
    ASSERT_EQ(original->write(older.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Writing Repository " + older);
    EXPECT_STREQ(original->RepositoryName(), older.c_str());
    auto old_again = read_repository(older);
    expect_same_records(*original, *old_again);
}

TEST(RepositoryFile, WriteIntoAMissingDirectoryFailsAndLeavesNoFile)
{
    vx_test::TempDir dir;
    char* names[] = {const_cast<char*>("a.png")};
    testing::internal::CaptureStdout();
    VxRepository r(names, 1, dir.file("t").c_str(), dir.file("i").c_str(), 0);
    const std::string target = dir.file("missing/r.vxr");
    EXPECT_EQ(r.WriteRepository(target.c_str()), 0);
    EXPECT_EQ(r.write(target.c_str()), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(RepositoryFile, IllFormedFilesGiveAnEmptyRepositoryAndAMessage)
{
    vx_test::TempDir dir;
    const char* files[] = {
        "",
        "Number of Images: x\n",
        "Number of Images: -1\nRepository Path:\n/r\nImages Path:\n/i\n",
        "Number of Images: 2000000000\nRepository Path:\n/r\nImages Path:\n/i\na,-,-\n",
        "Number of Images: 1\nGeneration Mode: 99999999999\nRepository Path:\n/r\n",
        "Number of Images: 1\nRepository Path:\n/r\n",
        "Number of Images: 1\nImages Path:\n/i\nRepository Path:\n/r\na,-,-\n",
    };
    for (const char* text : files) {
        const std::string path = dir.file("bad.vxr");
        vx_test::write_file(path, text);
        std::string printed;
        auto r = read_repository(path, &printed);
        EXPECT_EQ(r->NumberOfImages(), 0) << text;
        EXPECT_FALSE(r->isRead()) << text;
        EXPECT_NE(printed.find("Could not read repository"), std::string::npos) << text;
    }
    std::string printed;
    auto none = read_repository(dir.file("none.vxr"), &printed);
    EXPECT_EQ(none->NumberOfImages(), 0);
    EXPECT_FALSE(none->isRead());
    EXPECT_NE(printed.find("Could not read repository"), std::string::npos);
}

TEST(RepositoryText, CommaFieldsAreTakenOffTheFrontOfTheLine)
{
    char line[] = " a.png , 12,3.5 ,  rest";
    char field[8];
    VxRepository::StringStrapCommaString(line, field, sizeof field);
    EXPECT_STREQ(field, "a.png");
    EXPECT_EQ(VxRepository::StringStrapCommaInt(line), 12);
    EXPECT_DOUBLE_EQ(VxRepository::StringStrapCommaDouble(line), 3.5);
    EXPECT_STREQ(line, "rest");

    std::string long_token(120, '7');
    long_token += ",1";
    testing::internal::CaptureStdout();
    EXPECT_EQ(VxRepository::StringStrapCommaInt(long_token.data()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " This does not seem to be a valid Int\n");
    EXPECT_STREQ(long_token.c_str(), "1");

    char padded[] = "\t name}~ \r";
    EXPECT_EQ(VxRepository::stripString(padded), 6);
    EXPECT_STREQ(padded, "name}~");
}

}  // namespace
