#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/handles.h"
#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "filter/tree_workers.h"
#include "testsupport/vx_test.h"

namespace {

vx_image* two_basins(int scales)
{
    // Two basins left and right of a line in column 2, the same at every scale.
    vx_image* v = init_vx_image(5, 3, scales);
    for (int s = 0; s < scales; ++s)
        for (int p = 0; p < 15; ++p)
            v->scales[s].pixels[p] = p % 5 == 2 ? 0 : 1;
    return v;
}

TEST(RegionGraph, RepeatedBasinsLiveThroughEveryScale)
{
    const vx_image_handle v(two_basins(3));
    const region_tree_handle tree(Region_Graph(v.get(), 8));
    EXPECT_EQ(tree->regions, 3);
    EXPECT_EQ(tree->scales, 3);
    ASSERT_EQ(tree->root->nsons, 2);
    const tregionnode* first = first_son(tree->root);
    const tregionnode* second = last_son(tree->root);
    EXPECT_EQ(first->label, 1);
    EXPECT_EQ(first->pixels[0], 0);
    EXPECT_EQ(second->label, 2);
    EXPECT_EQ(second->pixels[0], 3);
    EXPECT_EQ(first->age, 3);
    EXPECT_EQ(first->birth, 0);
    EXPECT_EQ(second->age, 3);
}

std::vector<std::pair<int, int>> calls;
std::thread::id caller;

void record(int kind, int step, void*)
{
    EXPECT_EQ(std::this_thread::get_id(), caller);
    calls.emplace_back(kind, step);
}

TEST(RegionGraph, ProgressReportsEachScaleInOrderOnTheCallingThread)
{
    int context = 0;
    caller = std::this_thread::get_id();
    const vx_image_handle many(two_basins(12));
    const int saved = get_tree_workers();
    set_tree_workers(4);
    calls.clear();
    delete_regiontree(Region_Graph_progress(many.get(), 8, 2, &context, record));
    set_tree_workers(saved);
    ASSERT_EQ(calls.size(), 12u);
    for (int step = 0; step < 12; ++step)
        EXPECT_EQ(calls[step], std::make_pair(12, step));
    const vx_image_handle v(two_basins(3));
    calls.clear();
    delete_regiontree(Region_Graph_progress(v.get(), 8, 2, &context, record));
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{12, 0}, {12, 1}, {12, 2}}));
    calls.clear();
    delete_regiontree(Region_Graph_progress(v.get(), 8, 1, &context, record));
    EXPECT_EQ(calls.front(), std::make_pair(11, 0));
    calls.clear();
    delete_regiontree(Region_Graph_progress(v.get(), 8, 2, nullptr, record));
    delete_regiontree(Region_Graph_progress(v.get(), 8, 3, &context, record));
    delete_regiontree(Region_Graph_progress(v.get(), 8, 1, &context, nullptr));
    EXPECT_TRUE(calls.empty());
}

TEST(RegionGraph, StepwiseBuildsTheSameTree)
{
    const vx_image_handle v(two_basins(2));
    const rg_control_handle control(region_graph_control(v.get(), 8));
    EXPECT_EQ(control->next_scale, 1);
    EXPECT_EQ(region_graph_step(control.get()), 0);
    EXPECT_EQ(region_graph_step(control.get()), -1);
    EXPECT_EQ(control->tree->regions, 3);
    EXPECT_EQ(region_graph_step(control.get()), -1);
    EXPECT_EQ(control->tree->regions, 3);
    const region_tree_handle tree(control->tree);
    control->tree = nullptr;
    EXPECT_EQ(count_regions(tree->root), 3);
}

TEST(RegionGraph, OldTextTreeOfAPartition)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("graph.txt");
    const vx_image_handle v(two_basins(2));
    ASSERT_EQ(lRegion_Graph(v.get(), path.c_str(), 8), 1);
    const region_tree_handle tree(load_region_tree(path.c_str()));
    EXPECT_EQ(tree->regions, 3);
    EXPECT_EQ(tree->root->nsons, 2);
}

}  // namespace
