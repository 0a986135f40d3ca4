#include <cmath>
#include <cstdlib>

#include "imagecore/files/double_export.h"
#include "imagecore/files/image_loader.h"
#include "imagecore/handles.h"
#include "imagecore/volume.h"
#include "testsupport/vx_test.h"

namespace {

float* volume_of(int n, float (*value)(int))
{
    auto* v = static_cast<float*>(std::malloc(sizeof(float) * static_cast<size_t>(n)));
    for (int i = 0; i < n; ++i)
        v[i] = value(i);
    return v;
}

}  // namespace

TEST(Volume, DoublingCopiesBlocksAndSmoothsInnerVoxels)
{
    // 2 x 1 x 1 volume {0, 6} becomes 4 x 2 x 2; no voxel is inner (y and z
    // have only two layers), so each is a copy of its source voxel.
    ASSERT_EQ(interpol_2to1(2, 1, 1, volume_of(2, [](int i) { return i * 6.0f; })), 0);
    const float expected[4] = {0, 0, 6, 6};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(float_interpol[i], expected[i % 4]) << i;
    std::free(float_interpol);

    // 2 x 2 x 2 volume: the doubled voxel (1, 1, 1) is inner and takes the
    // mean of its face neighbours, three of which come from other sources.
    ASSERT_EQ(interpol_2to1(2, 2, 2, volume_of(8, [](int i) { return static_cast<float>(i); })), 0);
    const float inner = float_interpol[(1 * 4 + 1) * 4 + 1];
    EXPECT_FLOAT_EQ(inner, (0 + 1 + 0 + 2 + 0 + 4) / 6.0f);
    EXPECT_EQ(float_interpol[0], 0.0f);
    EXPECT_EQ(float_interpol[63], 7.0f);
    std::free(float_interpol);

    float_interpol = nullptr;
    float* keep = volume_of(1, [](int) { return 1.0f; });
    EXPECT_EQ(interpol_2to1(0, 1, 1, keep), -1);
    EXPECT_EQ(interpol_1to2(1, 2, 2, keep), -1);
    EXPECT_EQ(interpol_2to1(1 << 30, 1 << 30, 1 << 30, keep), -1);
    EXPECT_EQ(float_interpol, nullptr);
    std::free(keep);
}

TEST(Volume, HalvingAveragesBlocks)
{
    ASSERT_EQ(interpol_1to2(4, 2, 2, volume_of(16, [](int i) { return static_cast<float>(i); })),
              0);
    // Block of x 0..1, y 0..1, z 0..1: voxels 0, 1, 4, 5, 8, 9, 12, 13.
    EXPECT_FLOAT_EQ(float_interpol[0], 52 / 8.0f);
    EXPECT_FLOAT_EQ(float_interpol[1], 68 / 8.0f);
    std::free(float_interpol);
    float_interpol = nullptr;
}

TEST(Volume, EcatConversionsReadBackwards)
{
    const short data[4] = {1, -3, 5, 10};
    float* f = get_float_ecat(1, 2, 2, data, 0.5f);
    EXPECT_EQ(f[0], 5.0f);
    EXPECT_EQ(f[3], 0.5f);
    std::free(f);
    int* i = get_int_ecat(2, 2, 1, data, 2.0f);
    EXPECT_EQ(i[0], 5);
    EXPECT_EQ(i[1], 3);   // 2.5 rounds up
    EXPECT_EQ(i[2], -1);  // -1.5 rounds up
    EXPECT_EQ(i[3], 1);   // 0.5 rounds up
    std::free(i);
    EXPECT_EQ(get_int_ecat(1, 2, 2, data, 0.0f), nullptr);
    EXPECT_EQ(get_float_ecat(0, 2, 2, data, 1.0f), nullptr);
}

TEST(Volume, LinearRegressionValueAtOne)
{
    const float x[4] = {0, 1, 2, 3};
    const float y[4] = {1, 3, 5, 7};
    EXPECT_NEAR(lin_reg(4, x, y), 3.0, 1e-9);
    const float flat_x[3] = {2, 2, 2};
    const float some_y[3] = {1, 2, 6};
    EXPECT_NEAR(lin_reg(3, flat_x, some_y), 3.0, 1e-9);
}

TEST(DoubleExport, MapsValuesOntoGreyLevels)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("d.png");
    const double values[4] = {-1, 0, 1, 3};
    ASSERT_EQ(write_double_array_png(path.c_str(), values, 2, 2, 0), 0);
    image* back = nullptr;
    ASSERT_EQ(loadPNG(path.c_str(), &back), 0);
    EXPECT_EQ(back->pixels[0], 0);
    EXPECT_EQ(back->pixels[1], 63 * 65793);
    EXPECT_EQ(back->pixels[3], 255 * 65793);
    delete_image(back);

    const image_handle img(create_double_image(2, 2, 0));
    const double logs[4] = {-5, 1, std::exp(1.0), std::exp(2.0)};
    for (int i = 0; i < 4; ++i)
        img->dpixels[i] = logs[i];
    ASSERT_EQ(write_double_log_image(path.c_str(), img.get(), 5), 0);
    ASSERT_EQ(loadPNG(path.c_str(), &back), 0);
    EXPECT_EQ(back->pixels[0], 0);
    EXPECT_EQ(back->pixels[1], 0);
    EXPECT_EQ(back->pixels[2], 2 * 65793);
    EXPECT_EQ(back->pixels[3], 4 * 65793);
    delete_image(back);

    const image_handle ints(create_image(1, 1, 0));
    EXPECT_EQ(write_double_image(path.c_str(), ints.get(), 0), 42);
    EXPECT_EQ(write_double_array_png(path.c_str(), values, 0, 4, 0), 42);
}
