#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imagecore/files/analyze.h"
#include "imagecore/files/bg16.h"
#include "imagecore/files/swap.h"
#include "testsupport/vx_test.h"

namespace {

// Header bytes of a width x height x slices volume in the given byte order.
std::string header_bytes(short width, short height, short slices, short datatype, bool big_endian)
{
    std::string h(ANALYZE_HEADER_SIZE, '\0');
    auto put = [&](int off, const void* value, int size) {
        std::memcpy(&h[static_cast<size_t>(off)], value, static_cast<size_t>(size));
        if (big_endian)
            std::reverse(h.begin() + off, h.begin() + off + size);
    };
    const int size = ANALYZE_HEADER_SIZE;
    put(0, &size, 4);
    const short dims[5] = {4, width, height, slices, 1};
    for (int i = 0; i < 5; ++i)
        put(40 + 2 * i, &dims[i], 2);
    put(70, &datatype, 2);
    const short bitpix = datatype == ANALYZE_UINT8 ? 8 : 16;
    put(72, &bitpix, 2);
    const float pixdim1 = 0.75f;
    put(80, &pixdim1, 4);
    const int glmax = 1000;
    put(140, &glmax, 4);
    const int smin = -3;
    put(344, &smin, 4);
    std::memcpy(&h[148], "test volume", 11);
    return h;
}

}  // namespace

TEST(Analyze, BigEndianHeaderReadsLikeItsLittleEndianTwin)
{
    vx_test::TempDir dir;
    analyze_header little{};
    analyze_header big{};
    vx_test::write_file(dir.file("le.hdr"), header_bytes(5, 4, 3, ANALYZE_INT16, false));
    vx_test::write_file(dir.file("be.hdr"), header_bytes(5, 4, 3, ANALYZE_INT16, true));
    read_analyze_header(dir.file("le").c_str(), &little);
    read_analyze_header(dir.file("be").c_str(), &big);
    for (const analyze_header* h : {&little, &big}) {
        EXPECT_EQ(h->sizeof_hdr, 348);
        EXPECT_EQ(h->dim[0], 4);
        EXPECT_EQ(h->dim[1], 5);
        EXPECT_EQ(h->dim[2], 4);
        EXPECT_EQ(h->dim[3], 3);
        EXPECT_EQ(h->datatype, ANALYZE_INT16);
        EXPECT_EQ(h->bitpix, 16);
        EXPECT_EQ(h->pixdim[1], 0.75f);
        EXPECT_EQ(h->glmax, 1000);
        EXPECT_EQ(h->smin, -3);
        EXPECT_STREQ(h->descrip, "test volume");
        EXPECT_EQ(analyze_voxel_count(h), 60);
    }
    char two[2] = {1, 2};
    Swap2ByteSInt(two);
    EXPECT_EQ(two[0], 2);
    char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    Swap8ByteDouble(eight);
    EXPECT_EQ(std::string(eight, 8), std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8));
}

TEST(Analyze, SplitsVolumeIntoSixteenBitSlices)
{
    vx_test::TempDir dir;
    vx_test::write_file(dir.file("vol.hdr"), header_bytes(2, 1, 3, ANALYZE_INT16, false));
    vx_test::write_file(dir.file("vol.img"),
                        std::string("\xFF\xFF\x01\x00\x02\x00\x03\x00\x2C\x01\x05\x80", 12));
    ASSERT_EQ(analyze_2_16BG(dir.file("vol").c_str(), dir.file("out").c_str()), 0);
    EXPECT_EQ(vx_test::read_file(dir.file("out.0002.16bg")),
              std::string("16BG\x02\0\0\0\x01\0\0\0\x2C\x01\x05\x80", 16));
    image* slice = nullptr;
    ASSERT_EQ(load16BitGreyPGM(dir.file("out.0000.16bg").c_str(), &slice), 0);
    EXPECT_EQ(slice->pixels[0], -1);
    EXPECT_EQ(slice->pixels[1], 1);
    delete_image(slice);

    vx_test::write_file(dir.file("bytes.img"), "\x01\xFF");
    int* voxels = nullptr;
    EXPECT_EQ(read_analyze_image(dir.file("bytes").c_str(), &voxels, 2, ANALYZE_UINT8), 2);
    EXPECT_EQ(voxels[0], 1);
    EXPECT_EQ(voxels[1], 255);
    std::free(voxels);
}

TEST(Analyze, UnreadableVolumesEndTheProcess)
{
    vx_test::TempDir dir;
    const std::string base = dir.file("vol");
    const std::string out = dir.file("out");
    EXPECT_VX_FATAL(analyze_2_16BG(base.c_str(), out.c_str()), 10,
                    "Problems with the header file .*vol.hdr");

    vx_test::write_file(base + ".hdr", header_bytes(2, 2, 1, ANALYZE_INT16, false).substr(0, 200));
    EXPECT_VX_FATAL(analyze_2_16BG(base.c_str(), out.c_str()), 10, "Problems with the header file");

    vx_test::write_file(base + ".hdr", header_bytes(2, 2, 1, 16, false));
    vx_test::write_file(base + ".img", std::string(16, 'x'));
    EXPECT_VX_FATAL(analyze_2_16BG(base.c_str(), out.c_str()), 10, "Unkown Analyze datatype 16");

    vx_test::write_file(base + ".hdr", header_bytes(2, 2, 1, ANALYZE_INT16, false));
    vx_test::write_file(base + ".img", std::string(7, 'x'));
    EXPECT_VX_FATAL(analyze_2_16BG(base.c_str(), out.c_str()), 10, "Problems with the image file");

    vx_test::write_file(base + ".hdr", header_bytes(2, -2, 1, ANALYZE_INT16, false));
    EXPECT_VX_FATAL(analyze_2_16BG(base.c_str(), out.c_str()), 10, "dimensions 2 x -2 x 1");

    vx_test::write_file(base + ".hdr", header_bytes(32000, 32000, 32000, ANALYZE_UINT8, false));
    EXPECT_VX_FATAL(analyze_2_16BG(base.c_str(), out.c_str()), 10, "dimensions");
}
