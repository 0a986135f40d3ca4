#include <cstdio>
#include <cstdlib>
#include <string>

#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "testsupport/vx_test.h"

namespace {

// Runs `write` on a fresh file and returns the bytes it left there.
template <typename Fn>
std::string written_bytes(const vx_test::TempDir& dir, Fn write)
{
    const std::string path = dir.file("out.bin");
    FILE* f = std::fopen(path.c_str(), "wb");
    write(f);
    std::fclose(f);
    return vx_test::read_file(path);
}

}  // namespace

TEST(LittleEndian, SingleValuesHaveTheirFileBytesAndReadBack)
{
    vx_test::TempDir dir;
    const std::string bytes = written_bytes(dir, [](FILE* f) {
        write_4_byte_int(f, -2);
        write_2_byte_int(f, 0x12345);
        write_4_byte_float(f, 1.0f);
        write_8_byte_float(f, -2.5);
    });
    EXPECT_EQ(bytes, std::string("\xFE\xFF\xFF\xFF"
                                 "\x45\x23"
                                 "\x00\x00\x80\x3F"
                                 "\x00\x00\x00\x00\x00\x00\x04\xC0",
                                 18));

    FILE* f = std::fopen(dir.file("out.bin").c_str(), "rb");
    EXPECT_EQ(read_4_byte_int(f), -2);
    EXPECT_EQ(read_2_byte_int(f), 0x2345);
    EXPECT_EQ(read_4_byte_float(f), 1.0f);
    EXPECT_EQ(read_8_byte_float(f), -2.5);
    EXPECT_EQ(read_4_byte_int(f), 0);
    EXPECT_TRUE(std::feof(f));
    std::fclose(f);
}

TEST(LittleEndian, BlockFormsCrossChunksAndReportShortReads)
{
    vx_test::TempDir dir;
    const size_t n = 2500;
    int* values = static_cast<int*>(std::malloc(n * sizeof(int)));
    for (size_t i = 0; i < n; ++i)
        values[i] = static_cast<int>(i * 7919) - 1000000;
    const std::string bytes =
        written_bytes(dir, [&](FILE* f) { EXPECT_EQ(write_4_byte_ints(f, values, n), n); });
    ASSERT_EQ(bytes.size(), n * 4);

    int* back = static_cast<int*>(std::calloc(n + 1, sizeof(int)));
    FILE* f = std::fopen(dir.file("out.bin").c_str(), "rb");
    EXPECT_EQ(read_4_byte_ints(f, back, n + 1), n);
    std::fclose(f);
    for (size_t i = 0; i < n; ++i)
        ASSERT_EQ(back[i], values[i]) << i;

    const int shorts[3] = {-1, 300, 65536 + 7};
    EXPECT_EQ(written_bytes(dir, [&](FILE* out) { write_2_byte_ints(out, shorts, 3); }),
              std::string("\xFF\xFF\x2C\x01\x07\x00", 6));
    f = std::fopen(dir.file("out.bin").c_str(), "rb");
    EXPECT_EQ(vx_remaining_bytes(f), 6);
    EXPECT_EQ(read_2_byte_ints(f, back, 4), 3u);
    std::fclose(f);
    EXPECT_EQ(back[0], 65535);
    EXPECT_EQ(back[1], 300);
    EXPECT_EQ(back[2], 7);
    std::free(values);
    std::free(back);
}

TEST(ReadFile, ReadsWholeFileBeyondOneBlock)
{
    vx_test::TempDir dir;
    std::string text(25003, 'x');
    text[0] = '\xE9';
    text[25002] = 'z';
    vx_test::write_file(dir.file("t.txt"), text);

    char* chars = nullptr;
    ASSERT_EQ(readFile(dir.file("t.txt").c_str(), &chars), 25003);
    EXPECT_EQ(std::string(chars, 25003), text);
    EXPECT_EQ(chars[25003], '\0');
    std::free(chars);

    int* ints = nullptr;
    ASSERT_EQ(readFileAsInt(dir.file("t.txt").c_str(), &ints), 25003);
    EXPECT_EQ(ints[0], 0xE9);
    EXPECT_EQ(ints[25002], 'z');
    std::free(ints);

    vx_test::write_file(dir.file("empty"), "");
    ASSERT_EQ(readFile(dir.file("empty").c_str(), &chars), 0);
    EXPECT_EQ(chars[0], '\0');
    std::free(chars);

    EXPECT_EQ(readFile(dir.file("missing").c_str(), &chars), -1);
    EXPECT_EQ(chars, nullptr);
    EXPECT_EQ(readFileAsInt(dir.file("missing").c_str(), &ints), -1);
    EXPECT_EQ(ints, nullptr);
}

TEST(Vxfopen, KeepsSlashesAndRefusesOverlongPaths)
{
    vx_test::TempDir dir;
    vx_test::write_file(dir.file("a.txt"), "a");
    FILE* f = vxfopen(dir.file("a.txt").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    std::string longpath = dir.path().string() + "/";
    longpath += std::string(static_cast<size_t>(VXFOPEN_MAX_PATH) - longpath.size() + 1, 'a');
    EXPECT_EQ(vxfopen(longpath.c_str(), "wb"), nullptr);
    EXPECT_EQ(vxfopen(dir.file("none/x").c_str(), "rb"), nullptr);
}
