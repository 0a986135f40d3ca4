#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "filter/handles.h"
#include "filter/templates.h"

namespace {

using grid = std::vector<int>;

grid grid_of(const functions& d, int* side = nullptr)
{
    const filter_handle f(init_f_filter());
    EXPECT_NE(init_f_template(&d, f.get()), nullptr);
    grid g(f->values, f->values + f->width * f->height);
    EXPECT_EQ(f->width, f->height);
    if (side != nullptr)
        *side = f->width;
    return g;
}

grid values_of(const f_filter* f)
{
    return grid(f->values, f->values + f->width * f->height);
}

const grid kCross = {-1, 0, -1, 0, 0, 0, -1, 0, -1};

TEST(Templates, DiskSizesFollowTheRoundedRadius)
{
    EXPECT_EQ(grid_of({1, 1.0, 0, 0, 0}), kCross);
    EXPECT_EQ(grid_of({1, 1.4, 0, 0, 0}), kCross);
    int side = 0;
    const grid five = grid_of({1, 1.5, 0, 0, 0}, &side);
    EXPECT_EQ(side, 5);
    EXPECT_EQ(five[0], -1);
    EXPECT_EQ(five[2], 0);
    EXPECT_EQ(five[12], 0);
}

TEST(Templates, WeightedShapes)
{
    // Sphere of radius 2: 2 * sqrt(1 - (d/2)^2), rounded; outside beyond d = 2.
    const grid sphere = grid_of({2, 2.0, 0, 0, 0});
    EXPECT_EQ(sphere[12], 2);
    EXPECT_EQ(sphere[7], 2);  // d = 1: 1.73
    EXPECT_EQ(sphere[6], 1);  // d = 1.41: 1.41
    EXPECT_EQ(sphere[2], 0);  // d = 2
    EXPECT_EQ(sphere[0], -1);
    // Circular power profile with p = 1: 2 * (1 - d / 2).
    const grid cone = grid_of({3, 2.0, 0.5, 0, 0});
    EXPECT_EQ(cone[12], 2);
    EXPECT_EQ(cone[7], 1);
    EXPECT_EQ(cone[2], 0);
    EXPECT_EQ(grid_of({5, 1.0, 0, 0, 0}), (grid{1, 2, 1, 2, 4, 2, 1, 2, 1}));
    EXPECT_EQ(grid_of({6, 1.9, 0, 0, 0}), grid(9, 0));
    // Elliptic power, half-axes 1 and 0: r - r * sqrt((dx^2 + dy^2) / r).
    EXPECT_EQ(grid_of({4, 1.0, 1.0, 1, 0}), (grid{0, 0, 0, 0, 1, 0, 0, 0, 0}));
}

TEST(Templates, UnusableDescriptionsGiveNull)
{
    const filter_handle f(init_f_filter());
    const functions unknown = {9, 1.0, 0, 0, 0};
    const functions negative = {1, -3.0, 0, 0, 0};
    const functions huge = {6, 1e12, 0, 0, 0};
    EXPECT_EQ(init_f_template(&unknown, f.get()), nullptr);
    EXPECT_EQ(init_f_template(&negative, f.get()), nullptr);
    EXPECT_EQ(init_f_template(&huge, f.get()), nullptr);
    // Zero radius of the elliptic profile gives undefined weights: outside.
    const functions flat = {4, 0.0, 1.0, 1, 1};
    ASSERT_NE(init_f_template(&flat, f.get()), nullptr);
    EXPECT_EQ(f->offsets->count, 0);
    EXPECT_EQ(binomkoeff(4, 2), 6);
    EXPECT_EQ(binomkoeff(7, 0), 1);
    EXPECT_EQ(binomkoeff(400, 200), INT_MAX);
}

TEST(Templates, OffsetListCopyAndReflection)
{
    const filter_handle f(init_f_filter());
    const functions disk = {1, 1.0, 0, 0, 0};
    init_f_template(&disk, f.get());
    const offset_tmpl* t = f->offsets;
    ASSERT_EQ(t->count, 5);
    EXPECT_EQ(std::vector<int>(t->dx, t->dx + 5), (std::vector<int>{0, -1, 0, 1, 0}));
    EXPECT_EQ(std::vector<int>(t->dy, t->dy + 5), (std::vector<int>{-1, 0, 0, 0, 1}));
    f->values[1] = 7;  // an asymmetric template
    f->op = FILTER_DILATION;
    f->iterations = 3;
    const filter_handle copy(create_copy_template(f.get()));
    EXPECT_NE(copy->values, f->values);
    EXPECT_EQ(values_of(copy.get()), values_of(f.get()));
    EXPECT_EQ(copy->op, FILTER_DILATION);
    EXPECT_EQ(copy->iterations, 3);
    template_point_reflection(copy.get());
    EXPECT_EQ(values_of(copy.get()), (grid{-1, 0, -1, 0, 0, 0, -1, 7, -1}));
    EXPECT_EQ(copy->offsets->value[4], 7);
    EXPECT_EQ(maskcheck(3, 5, 1), 5);
    EXPECT_EQ(maskcheck(3, 5, 2), 3);
    EXPECT_EQ(maskcheck(3, 5, 21), 3);
}

TEST(Templates, DilatingADiskByADiskGivesTheLargerDiamond)
{
    const filter_handle target(init_f_filter());
    const filter_handle structuring(init_f_filter());
    const functions disk = {1, 1.0, 0, 0, 0};
    init_f_template(&disk, target.get());
    init_f_template(&disk, structuring.get());
    ASSERT_EQ(dilate_template(target.get(), structuring.get()), 1);
    ASSERT_EQ(target->width, 5);
    EXPECT_EQ(target->centre_col, 2);
    EXPECT_EQ(values_of(target.get()), (grid{-1, -1, 0, -1, -1,  //
                                             -1, 0,  0, 0,  -1,  //
                                             0,  0,  0, 0,  0,   //
                                             -1, 0,  0, 0,  -1,  //
                                             -1, -1, 0, -1, -1}));
    EXPECT_EQ(target->offsets->count, 13);
    EXPECT_EQ(structuring->op, 0);  // the structuring filter is not changed
}

TEST(Templates, RotatingMasks)
{
    const filter_handle f(init_f_filter());
    ASSERT_EQ(init_rotate_template(f.get(), 0, 1), 1);
    EXPECT_EQ(values_of(f.get()), (grid{-1, 0,  0,  0,  -1, -1, 0,  0,  0,  -1, -1, -1, 0,
                                        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    // Upside down: the pentagon points south.
    init_rotate_template(f.get(), 4, 1);
    EXPECT_EQ(values_of(f.get()), (grid{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0,
                                        -1, -1, -1, 0,  0,  0,  -1, -1, 0,  0,  0,  -1}));
    // Orientation 7: the hexagon flipped left-right lies to the north-west.
    init_rotate_template(f.get(), 7, 1);
    EXPECT_EQ(values_of(f.get()), (grid{0,  0,  -1, -1, -1, 0,  0,  0,  -1, -1, -1, 0, 0,
                                        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    // Orientation 2, reflected across the anti-diagonal, points east.
    init_rotate_template(f.get(), 2, 1);
    EXPECT_EQ(values_of(f.get()), (grid{-1, -1, -1, -1, -1, -1, -1, -1, 0,  0,  -1, -1, 0,
                                        0,  0,  -1, -1, -1, 0,  0,  -1, -1, -1, -1, -1}));
    init_rotate_template(f.get(), 8, 1);
    EXPECT_EQ(f->offsets->count, 9);
    EXPECT_EQ(init_rotate_template(f.get(), 9, 1), 0);
    EXPECT_EQ(init_rotate_template(f.get(), 1, 2), 0);
    EXPECT_EQ(f->offsets->count, 9);
}

}  // namespace
