#include <cstdlib>
#include <cstring>
#include <string>

#include "imagecore/text/cnumbers.h"
#include "imagecore/text/vxstringtools.h"
#include "testsupport/vx_test.h"

TEST(FileNames, SplitsAtEitherSeparator)
{
    char out[64];
    const char* path = "data/set\\name.tar.gz";
    truncateFileName(path, out, sizeof out);
    EXPECT_STREQ(out, "name.tar.gz");
    getDotStem(path, out, sizeof out);
    EXPECT_STREQ(out, "name.tar");
    truncatePathName(path, out, sizeof out);
    EXPECT_STREQ(out, "data/set\\");

    truncateFileName("dir/", out, sizeof out);
    EXPECT_STREQ(out, "");
    truncateFileName("plain", out, sizeof out);
    EXPECT_STREQ(out, "plain");
    truncatePathName("plain.pgm", out, sizeof out);
    EXPECT_STREQ(out, "./");
    truncatePathName("/root.pgm", out, sizeof out);
    EXPECT_STREQ(out, "/");
    getDotStem("v1.2/readme", out, sizeof out);
    EXPECT_STREQ(out, "readme");

    std::strcpy(out, "kept");
    truncateFileName(nullptr, out, sizeof out);
    truncatePathName(nullptr, out, sizeof out);
    getDotStem(nullptr, out, sizeof out);
    EXPECT_STREQ(out, "kept");
}

TEST(FileNames, ResultsAreCutToTheCapacity)
{
    char out[8];
    std::memset(out, 'x', sizeof out);
    testing::internal::CaptureStdout();
    truncateFileName("dir/averylongname.png", out, 6);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_STREQ(out, "avery");
    EXPECT_EQ(out[6], 'x');
    EXPECT_NE(said.find("truncateFileName"), std::string::npos);
    truncatePathName("x", out, 2);
    EXPECT_STREQ(out, ".");
}

TEST(Strip, RemovesOnlyBlanksAndControlCharacters)
{
    char s[] = " \t\r{|}~ na\xC3\xAFve\x7f\n ";
    EXPECT_EQ(stripLeadingWhitespacesString(s), 11);
    EXPECT_STREQ(s, "{|}~ na\xC3\xAFve");
    char blank[] = " \t ";
    EXPECT_EQ(stripLeadingWhitespacesString(blank), 0);
    EXPECT_STREQ(blank, "");
}

TEST(SepFields, TakesFieldsOneByOne)
{
    char ints[] = "12, 7,-3";
    EXPECT_EQ(StringStrapSepInt(ints, ','), 12);
    EXPECT_EQ(StringStrapSepInt(ints, ','), 7);
    EXPECT_EQ(StringStrapSepInt(ints, ','), -3);
    EXPECT_STREQ(ints, "");
    EXPECT_EQ(StringStrapSepInt(ints, ','), 0);

    char doubles[] = "7.25;-1e-3; 4";
    EXPECT_DOUBLE_EQ(StringStrapSepDouble(doubles, ';'), 7.25);
    EXPECT_DOUBLE_EQ(StringStrapSepDouble(doubles, ';'), -0.001);
    EXPECT_DOUBLE_EQ(StringStrapSepDouble(doubles, ';'), 4.0);

    char texts[] = "  first field , second,,last ";
    char field[16];
    StringStrapSepString(texts, field, sizeof field, ',');
    EXPECT_STREQ(field, "first field");
    EXPECT_STREQ(texts, "second,,last");
    StringStrapSepString(texts, field, sizeof field, ',');
    EXPECT_STREQ(field, "second");
    StringStrapSepString(texts, field, sizeof field, ',');
    EXPECT_STREQ(field, "");
    StringStrapSepString(texts, field, 3, ',');
    EXPECT_STREQ(field, "la");
}

TEST(SepFields, OverlongNumberFieldIsRefusedAndSkipped)
{
    std::string line(150, '1');
    line += ",42";
    testing::internal::CaptureStdout();
    EXPECT_EQ(StringStrapSepInt(line.data(), ','), 0);
    EXPECT_EQ(StringStrapSepInt(line.data(), ','), 42);
    std::string longd(100, '2');
    EXPECT_EQ(StringStrapSepDouble(longd.data(), ','), 0.0);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find(" This does not seem to be a valid Int"), std::string::npos);
    EXPECT_NE(said.find(" This does not seem to be a valid double"), std::string::npos);

    std::string limit(99, '9');
    limit[0] = '1';
    EXPECT_EQ(StringStrapSepInt(limit.data(), ','), 2147483647);
}

TEST(SepFields, WholeLinesToArrays)
{
    int* values = nullptr;
    EXPECT_EQ(toIntArray("4;-5;66", &values, ';'), 3);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values[0], 4);
    EXPECT_EQ(values[1], -5);
    EXPECT_EQ(values[2], 66);
    values[12] = 1;  // room for n + 10
    std::free(values);
    EXPECT_EQ(toIntArray("", &values, ';'), 0);
    EXPECT_EQ(values, nullptr);
    EXPECT_EQ(toIntArray(nullptr, &values, ';'), 0);

    int n = -1;
    char** fields = toStringArray(" area , contrast,x ,", ',', &n);
    ASSERT_EQ(n, 4);
    EXPECT_STREQ(fields[0], "area");
    EXPECT_STREQ(fields[1], "contrast");
    EXPECT_STREQ(fields[2], "x");
    EXPECT_STREQ(fields[3], "");
    for (int i = 0; i < n; ++i)
        std::free(fields[i]);
    std::free(fields);
    EXPECT_EQ(toStringArray("", ',', &n), nullptr);
    EXPECT_EQ(n, 0);
}

TEST(SepFields, PrefixAndSuffix)
{
    char out[32];
    getSepSuffix("Width: 640", out, sizeof out, ':');
    EXPECT_STREQ(out, " 640");
    getSepSuffix("no separator", out, sizeof out, ':');
    EXPECT_STREQ(out, "");
    getSepSuffix("a:b", out, sizeof out, '\0');
    EXPECT_STREQ(out, "");
    getSepPrefix("a:b:c", out, sizeof out, ':');
    EXPECT_STREQ(out, "a:b");
    getSepPrefix(":only", out, sizeof out, ':');
    EXPECT_STREQ(out, "");
    getSepPrefix("abc", out, sizeof out, ':');
    EXPECT_STREQ(out, "");
}

TEST(SepFiles, ReadsFieldsAndScansSizes)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("t.csv");
    vx_test::write_file(path, "ab;longest field;;x");

    int longest = -1, count = -1;
    EXPECT_EQ(scanSepFile(path.c_str(), ';', &longest, &count), 3);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(longest, 13);
    testing::internal::CaptureStdout();
    EXPECT_EQ(scanSepFile(dir.file("missing").c_str(), ';', &longest, &count), -1);
    testing::internal::GetCapturedStdout();

    FILE* f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char out[8];
    EXPECT_EQ(readSepLineFromFile(f, out, sizeof out, ';'), 2);
    EXPECT_STREQ(out, "ab");
    testing::internal::CaptureStdout();
    EXPECT_EQ(readSepLineFromFile(f, out, sizeof out, ';'), 7);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("cut"), std::string::npos);
    EXPECT_STREQ(out, "longest");
    EXPECT_EQ(readSepLineFromFile(f, out, sizeof out, ';'), 0);
    EXPECT_EQ(readSepLineFromFile(f, out, sizeof out, ';'), 1);
    EXPECT_STREQ(out, "x");
    EXPECT_EQ(readSepLineFromFile(f, out, sizeof out, ';'), 0);
    std::fclose(f);
}

TEST(Strings, SearchCaseAndPadding)
{
    EXPECT_EQ(findSubString("xxabcx", "abc"), 2);
    EXPECT_EQ(findSubString("aaab", "aab"), 1);
    EXPECT_EQ(findSubString("abab", "abb"), -1);
    EXPECT_EQ(findSubString(nullptr, "a"), -1);

    char a[] = "alpha", b[] = "beta";
    char* names[] = {a, nullptr, b};
    EXPECT_EQ(inStringArray("beta", names, 3), 2);
    EXPECT_EQ(inStringArray("gamma", names, 3), -1);

    char up[] = "Mean grey \xC3\xA9 z";
    EXPECT_STREQ(vxstrupr(up), "MEAN GREY \xC3\xA9 Z");

    char buf[12] = "tree";
    prepend("bright.", buf, sizeof buf);
    EXPECT_STREQ(buf, "bright.tree");
    testing::internal::CaptureStdout();
    prepend("x", buf, sizeof buf);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("prepend"), std::string::npos);
    EXPECT_STREQ(buf, "xbright.tre");

    EXPECT_EQ(getDigits(0, 10), 1);
    EXPECT_EQ(getDigits(999, 10), 3);
    EXPECT_EQ(getDigits(1000, 10), 4);
    EXPECT_EQ(getDigits(255, 16), 2);
    EXPECT_EQ(getDigits(-2147483647 - 1, 10), 10);
    EXPECT_EQ(getDigits(5, 1), -1);

    char num[8];
    leadingDecimalZeros(num, sizeof num, 7, 4);
    EXPECT_STREQ(num, "0007");
    leadingDecimalZeros(num, sizeof num, 12345, 3);
    EXPECT_STREQ(num, "12345");
    testing::internal::CaptureStdout();
    leadingDecimalZeros(num, sizeof num, 1, 1000);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::strlen(num), 7u);
}

TEST(CNumbers, ReadAndWriteWithAPoint)
{
    EXPECT_DOUBLE_EQ(vx_atof("  7.25xyz"), 7.25);
    EXPECT_DOUBLE_EQ(vx_atof("abc"), 0.0);
    EXPECT_EQ(vx_atoi(" +42;"), 42);
    EXPECT_EQ(vx_atoi("99999999999"), 2147483647);
    char buf[32];
    EXPECT_EQ(vx_format_fixed(buf, sizeof buf, -1.5, 6), 9u);
    EXPECT_STREQ(buf, "-1.500000");
    EXPECT_EQ(vx_format_fixed(buf, 4, 123.25, 6), 0u);
    EXPECT_STREQ(buf, "");
}
