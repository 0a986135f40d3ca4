#include <gtest/gtest.h>

#include <vector>

#include "imagecore/neighbourhood.h"

namespace {

std::vector<int> offsets_of(const neighbour_order& order, int width)
{
    std::vector<int> out(8);
    fill_neighbour_offsets(order, width, out.data());
    return out;
}

// Results depend on the orders, so they are pinned here as offsets for a
// width of 10.
TEST(Neighbourhood, OrdersAreTheDocumentedSequences)
{
    EXPECT_EQ(offsets_of(nb_order, 10), (std::vector<int>{-10, 1, 10, -1, -9, 11, 9, -11}));
    EXPECT_EQ(offsets_of(ring_order, 10), (std::vector<int>{-10, -9, 1, 11, 10, 9, -1, -11}));
    EXPECT_EQ(offsets_of(freeman_order, 10), (std::vector<int>{1, -9, -10, -11, -1, 9, 10, 11}));
    EXPECT_EQ(offsets_of(moore_order, 10), (std::vector<int>{-1, -11, -10, -9, 1, 11, 10, 9}));
    EXPECT_EQ(offsets_of(chaincode_order, 10), (std::vector<int>{-10, 1, 10, -1, -11, -9, 11, 9}));
    EXPECT_EQ(offsets_of(extremum_order, 10), (std::vector<int>{-1, -10, 1, 10, -11, 9, -9, 11}));
    EXPECT_EQ(nb_order.offset(NB_NORTH_WEST, 10), -11);
}

TEST(Neighbourhood, OnlyNeighboursInsideTheImageAreVisitedInOrder)
{
    const auto visited = [](int count, int x, int y, int w, int h) {
        std::vector<int> out;
        for_each_neighbour_inside(nb_order, count, x, y, w, h, [&out](int d) { out.push_back(d); });
        return out;
    };
    EXPECT_TRUE(interior_pixel(1, 1, 3, 3));
    EXPECT_FALSE(interior_pixel(2, 1, 3, 3));
    EXPECT_EQ(visited(8, 1, 1, 3, 3), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(visited(8, 0, 0, 3, 3), (std::vector<int>{NB_EAST, NB_SOUTH, NB_SOUTH_EAST}));
    EXPECT_EQ(visited(4, 2, 0, 3, 2), (std::vector<int>{NB_SOUTH, NB_WEST}));
    EXPECT_TRUE(visited(8, 0, 0, 1, 1).empty());
    std::vector<int> even;
    for_each_neighbour_inside<2>(ring_order, 8, 0, 1, 2, 3, [&even](int d) { even.push_back(d); });
    EXPECT_EQ(even, (std::vector<int>{0, 2, 4}));  // N, E, S of the first column
    EXPECT_EQ(neighbour_count(8), 8);
    EXPECT_EQ(neighbour_count(6), 4);
}

}  // namespace
