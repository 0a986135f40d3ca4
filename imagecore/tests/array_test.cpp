#include <cmath>
#include <vector>

#include "imagecore/array_utils.h"
#include "testsupport/vx_test.h"

TEST(Arrays, NeighbourhoodExtremaPreferEarlierCandidates)
{
    // 3 x 3, centre at position 4.
    const int flat[9] = {5, 5, 5, 5, 5, 5, 5, 5, 5};
    EXPECT_EQ(n_get_max(4, flat, 3, 3, 8), 4);
    EXPECT_EQ(n_get_min(4, flat, 3, 3, 8), 4);

    // Equal minima at N and W: W comes first; the diagonal 0 counts with 8 only.
    const int pits[9] = {0, 1, 9,  //
                         1, 5, 9,  //
                         9, 9, 9};
    EXPECT_EQ(n_get_min(4, pits, 3, 3, 4), 3);
    EXPECT_EQ(n_get_min(4, pits, 3, 3, 8), 0);
    EXPECT_EQ(n_get_max(4, pits, 3, 3, 4), 5);
    EXPECT_EQ(n_get_max(4, pits, 3, 3, 8), 5);

    // Border pixels of a two-column image see neither wrapped row.
    const int two[4] = {3, 4,  //
                        0, 9};
    EXPECT_EQ(n_get_max(1, two, 2, 2, 4), 3);
    EXPECT_EQ(n_get_max(2, two, 2, 2, 4), 3);
    EXPECT_EQ(n_get_min(1, two, 2, 2, 8), 2);
    EXPECT_EQ(n_get_min(4, two, 2, 2, 4), -1);
}

TEST(Arrays, SearchesReturnFirstHits)
{
    const int v[6] = {4, 9, 1, 9, 1, 3};
    EXPECT_EQ(get_array_max(v, 6), 1);
    EXPECT_EQ(get_array_min(v, 6), 2);
    EXPECT_EQ(get_array_max(v, 0), -1);
    EXPECT_EQ(get_array_val(v, 6, 1), 2);
    EXPECT_EQ(get_array_val(v, 6, 7), -1);
    int index = -5;
    EXPECT_EQ(value_in_array(v, 6, 3, &index), 1);
    EXPECT_EQ(index, 5);
    EXPECT_EQ(value_in_array(v, 6, 8, &index), 0);
    EXPECT_EQ(index, 0);

    const double d[5] = {2.0, -1.0, 7.5, -1.0, 7.5};
    int lo = 0, hi = 0;
    get_darray_min_max(d, 5, &lo, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 2);
}

TEST(Arrays, Sorts)
{
    std::vector<int> v = {5, -2, 9, 5, 0, 3, 8};
    quicksort(v.data(), 1, 5);  // only the inner range
    EXPECT_EQ(v, (std::vector<int>{5, -2, 0, 3, 5, 9, 8}));
    quicksort(v.data(), 3, 3);
    EXPECT_EQ(v[3], 3);

    std::vector<double> keys = {2.0, NAN, 1.0, 2.0, 1.0};
    std::vector<int> ids = {0, 1, 2, 3, 4};
    msort(keys.data(), ids.data(), 5);
    EXPECT_EQ(ids, (std::vector<int>{2, 4, 0, 3, 1}));
    EXPECT_EQ(keys[0], 1.0);
    EXPECT_TRUE(std::isnan(keys[4]));
}

TEST(Arrays, FlipsAndMirror)
{
    std::vector<int> v = {1, 2, 3,  //
                          4, 5, 6};
    flip_horizontal(v.data(), 2, 3);
    EXPECT_EQ(v, (std::vector<int>{3, 2, 1, 6, 5, 4}));
    flip_vertical(v.data(), 2, 3);
    EXPECT_EQ(v, (std::vector<int>{6, 5, 4, 3, 2, 1}));

    std::vector<int> m = {1, 2, 3,  //
                          4, 5, 6,  //
                          7, 8, 9};
    mirror_xy(m.data(), 3, 3);
    EXPECT_EQ(m, (std::vector<int>{9, 6, 3, 8, 5, 2, 7, 4, 1}));
    mirror_xy(m.data(), 3, 2);
    EXPECT_EQ(m[0], 9);

    invert_array(m.data(), 2);
    EXPECT_EQ(m[0], -9);
    EXPECT_EQ(m[1], -6);
}
