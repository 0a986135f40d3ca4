#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "analyse/trees/regionlist.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/queue.h"
#include "imagecore/vx_image.h"
#include "testsupport/region_tree_builder.h"

namespace {

using vx_test::kThreeScales;
using vx_test::partition_from;

// Adds every scale from the coarsest down and numbers the tree in pre-order.
region_tree* build(vx_image* v, int conn = 8)
{
    region_tree* tree = init_region_tree(v->width, v->height, v->nscales);
    const iqueue_handle q(init_iqueue(v->width * v->height));
    for (int s = v->nscales - 1; s >= 0; --s) {
        v->scales[s].label_queue = q.get();
        regiontree_add_scale(&v->scales[s], tree, s, conn);
        v->scales[s].label_queue = nullptr;
    }
    int counter = 0;
    tree_relabel(tree->root, &counter);
    return tree;
}

std::vector<tregionnode*> son_vector(const tregionnode* node)
{
    const son_range sons = sons_of(node);
    return std::vector<tregionnode*>(sons.begin(), sons.end());
}

std::vector<int> pixels_of(const tregionnode* n)
{
    return std::vector<int>(n->pixels, n->pixels + n->size);
}

TEST(RegionTree, NewTreeHasOneRootOverEveryPixel)
{
    const region_tree_handle tree(init_region_tree(3, 2, 5));
    EXPECT_EQ(tree->regions, 1);
    EXPECT_STREQ(tree->name, "GeneratedTree");
    EXPECT_EQ(tree->root, tree->root2);
    EXPECT_EQ(tree->root->birth, 6);
    EXPECT_EQ(tree->root->age, 1);
    EXPECT_EQ(pixels_of(tree->root), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(tree->root->father, nullptr);
    EXPECT_EQ(tree->root->contour_size, 0);
}

TEST(RegionTree, OneBasinAtEveryScaleGivesOneNodeLivingThroughAll)
{
    const vx_image_handle v(partition_from({{"111", "111"}, {"111", "111"}, {"111", "111"}}));
    const region_tree_handle tree(build(v.get()));
    EXPECT_EQ(tree->regions, 2);
    const auto sons = son_vector(tree->root);
    ASSERT_EQ(sons.size(), 1u);
    EXPECT_EQ(sons[0]->birth, 0);
    EXPECT_EQ(sons[0]->age, 3);
    EXPECT_EQ(sons[0]->label, 1);
    EXPECT_EQ(sons[0]->size, 6);
    // The whole image: its pixels on the border are its contour.
    EXPECT_EQ(sons[0]->border, 15);
    EXPECT_EQ(sons[0]->contour_size, 6);
    EXPECT_EQ(sons[0]->contour[0], 5);
}

TEST(RegionTree, SplitsAgesAndNumbersOverSeveralScales)
{
    const vx_image_handle v(partition_from(kThreeScales));
    const region_tree_handle tree(build(v.get()));
    EXPECT_EQ(tree->regions, 6);
    tregionnode* root = tree->root;
    const auto top = son_vector(root);
    ASSERT_EQ(top.size(), 1u);
    tregionnode* whole = top[0];
    EXPECT_EQ(whole->birth, 2);
    EXPECT_EQ(whole->age, 1);
    const auto halves = son_vector(whole);
    ASSERT_EQ(halves.size(), 2u);
    tregionnode* left = halves[0];
    tregionnode* right = halves[1];
    EXPECT_EQ(left->birth, 0);
    EXPECT_EQ(left->age, 2);
    EXPECT_EQ(pixels_of(left), (std::vector<int>{0, 1, 6, 7, 12, 13, 18, 19}));
    EXPECT_EQ(left->border, 1 | 4 | 8);
    EXPECT_EQ(right->birth, 1);
    EXPECT_EQ(right->age, 1);
    EXPECT_EQ(right->size, 12);
    EXPECT_EQ(right->border, 1 | 2 | 4);
    const auto quarters = son_vector(right);
    ASSERT_EQ(quarters.size(), 2u);
    EXPECT_EQ(pixels_of(quarters[0]), (std::vector<int>{3, 4, 5, 9, 10, 11}));
    EXPECT_EQ(pixels_of(quarters[1]), (std::vector<int>{21, 22, 23}));
    EXPECT_EQ(quarters[1]->border, 2 | 4);
    EXPECT_EQ(quarters[1]->father, right);
    // Pre-order numbering.
    EXPECT_EQ(root->label, 0);
    EXPECT_EQ(whole->label, 1);
    EXPECT_EQ(left->label, 2);
    EXPECT_EQ(right->label, 3);
    EXPECT_EQ(quarters[0]->label, 4);
    EXPECT_EQ(quarters[1]->file_index, 5);
    // The partition images hold the labels of their basins, but for the
    // outer contour pixels, which are 0, the quarter's own pixels on the
    // image border among them.
    EXPECT_EQ(v->scales[0].pixels[10], 2);
    EXPECT_EQ(v->scales[0].pixels[21], 0);
    EXPECT_EQ(v->scales[0].connect, 8);
}
}  // namespace

namespace {

TEST(RegionTree, LeafOnLinePixelsNeitherAgesNorSplits)
{
    // The lone pixel at column 2 is a basin at scale 1 and line at scale 0.
    const vx_image_handle v(partition_from({{"11.1.11"}, {"11.1.11"}, {"1111111"}}));
    v->scales[0].pixels[3] = 0;
    const region_tree_handle tree(build(v.get(), 4));
    const auto top = son_vector(tree->root);
    ASSERT_EQ(top.size(), 1u);
    const auto mid = son_vector(top[0]);
    ASSERT_EQ(mid.size(), 3u);
    EXPECT_EQ(pixels_of(mid[1]), (std::vector<int>{3}));
    EXPECT_EQ(mid[1]->birth, 1);
    EXPECT_EQ(mid[1]->age, 1);
    EXPECT_EQ(mid[1]->sons, nullptr);
    EXPECT_EQ(mid[0]->age, 2);
    EXPECT_EQ(mid[2]->age, 2);
    // A one-pixel region: its own pixel is its contour.
    EXPECT_EQ(mid[1]->contour_size, 1);
    EXPECT_EQ(mid[1]->contour[0], 3);
    EXPECT_EQ(mid[1]->inner_contour_size, 0);
    EXPECT_EQ(tree->regions, 5);
}

TEST(RegionTree, SonsFollowTheLabelOrderNotThePixelOrder)
{
    // Labels 1..3 in raster order; the leaf lists its pixels backwards.
    const image_handle labels(create_image(5, 1, 0));
    const int row[] = {1, 0, 2, 0, 3};
    for (int i = 0; i < 5; ++i)
        labels->pixels[i] = row[i];
    labels->connect = 8;
    int* pixels = static_cast<int*>(std::malloc(sizeof(int) * 3));
    pixels[0] = 4;
    pixels[1] = 2;
    pixels[2] = 3;
    const region_node_handle father(init_region_node(nullptr, 9, 0, nullptr, nullptr));
    tregionnode* leaf = init_region_node(father.get(), 5, 3, pixels, nullptr);
    add_region_son(father.get(), leaf);
    int counts[4] = {0, 0, 0, 0};
    region_leaf_update(labels.get(), leaf, 2, 4, counts);
    const auto sons = son_vector(leaf);
    ASSERT_EQ(sons.size(), 2u);
    EXPECT_EQ(pixels_of(sons[0]), (std::vector<int>{2}));
    EXPECT_EQ(pixels_of(sons[1]), (std::vector<int>{4}));
    EXPECT_EQ(sons[0]->birth, 2);
    EXPECT_EQ(std::vector<int>(counts, counts + 4), (std::vector<int>{0, 0, 0, 0}));
    // The backup form builds the same sons; the plain one splits on one label.
    const region_node_handle other(
        init_region_node(nullptr, 5, 3, static_cast<int*>(std::malloc(sizeof(int) * 3)), nullptr));
    std::copy(pixels, pixels + 3, other->pixels);
    init_son_regions_list_backup(labels.get(), other.get(), 2, 4, counts);
    const auto backup = son_vector(other.get());
    ASSERT_EQ(backup.size(), 2u);
    EXPECT_EQ(pixels_of(backup[1]), (std::vector<int>{4}));
    EXPECT_EQ(backup[1]->contour_size, sons[1]->contour_size);
    tregionnode* single = backup[0];
    init_son_regions_list(labels.get(), single, 1, 4, counts);
    EXPECT_EQ(single->nsons, 1);
    EXPECT_EQ(count_regions(other.get()), 4);
}

TEST(RegionTree, NumberingAndNodeArrays)
{
    // Root with two sons, the first of which has one son.
    const region_node_handle root(init_region_node(nullptr, 3, 0, nullptr, nullptr));
    tregionnode* a = init_region_node(root.get(), 2, 0, nullptr, nullptr);
    tregionnode* b = init_region_node(root.get(), 2, 0, nullptr, nullptr);
    tregionnode* c = init_region_node(a, 1, 0, nullptr, nullptr);
    add_region_son(root.get(), a);
    add_region_son(root.get(), b);
    add_region_son(a, c);
    int counter = 0;
    tree_relabel(root.get(), &counter);
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(root->label, 0);
    EXPECT_EQ(a->label, 1);
    EXPECT_EQ(c->label, 2);
    EXPECT_EQ(b->file_index, 3);

    // Indices outside a node array are left out, never written.
    tregionnode* array[3] = {nullptr, nullptr, nullptr};
    b->file_index = 7;
    EXPECT_EQ(rt_local_init_nodelist(array, 3, root.get()), 3);
    EXPECT_EQ(array[2], c);
    EXPECT_EQ(b->label, 7);
    c->file_index = -4;
    EXPECT_EQ(rt_local_init_nodelist(array, 3, root.get()), 2);
}

TEST(RegionTree, NodeArrayAndAttributeImage)
{
    const vx_image_handle v(partition_from(kThreeScales));
    const region_tree_handle tree(build(v.get()));
    rtInitNodelist(tree.get());
    for (int i = 0; i < tree->regions; ++i)
        EXPECT_EQ(tree->nodes[i]->file_index, i);
    EXPECT_EQ(tree->nodes[tree->regions], nullptr);

    // Attribute image: grey in scale 0, one label image per partition scale.
    tree->attr_image = init_vx_image(6, 4, 4);
    tree->attr_image->flag = 1;
    tree->attr_image->scales[0].pixels[0] = 77;
    set_vximage_regions(tree.get());
    const vx_image* attr = tree->attr_image;
    EXPECT_EQ(attr->scales[0].pixels[0], 77);
    // Partition scale s sits at index s + 1.
    EXPECT_EQ(attr->scales[3].pixels[0], 1);
    EXPECT_EQ(attr->scales[2].pixels[5], 3);
    EXPECT_EQ(attr->scales[1].pixels[5], 4);
    EXPECT_EQ(attr->scales[1].pixels[0], 2);
    EXPECT_EQ(attr->scales[1].pixels[2], 0);
    EXPECT_EQ(tree->nodes[4]->label, 4);
    EXPECT_EQ(tree->nodes[0], tree->root);

    const image_handle leaves(create_image(6, 4, 0));
    initLeafLayer(leaves.get(), tree->root);
    EXPECT_EQ(leaves->pixels[0], 2);
    EXPECT_EQ(leaves->pixels[23], 5);
    EXPECT_EQ(leaves->pixels[2], 0);
    EXPECT_EQ(tree->root->bu_mark, -1);
    EXPECT_EQ(tree->nodes[5]->bu_mark, -1);
}

TEST(RegionTree, ReleaseRespectsPixelOwnershipAndBorrowedAttributes)
{
    // Nodes whose pixels lie in a shared array are freed without them.
    region_tree* tree = init_region_tree(2, 1, 1);
    tree->elemset = static_cast<int*>(std::malloc(sizeof(int) * 2));
    tregionnode* son = init_region_node(tree->root, 0, 2, tree->elemset, nullptr);
    son->owns_pixels = 0;
    son->elemset_offset = 0;
    add_region_son(tree->root, son);
    son->attribs = static_cast<attrib_array*>(std::calloc(1, sizeof(attrib_array)));
    tree->root->attribs = son->attribs;
    delete_regiontree(tree);  // the sanitizer build catches double frees and leaks
}

TEST(RegionList, RemoveAndFind)
{
    const region_node_handle a(init_region_node(nullptr, 0, 0, nullptr, nullptr));
    const region_node_handle b(init_region_node(nullptr, 0, 0, nullptr, nullptr));
    list* l = init_region_list(a.get());
    add_region_list(l, b.get());
    reset_region_list(l);
    EXPECT_EQ(get_next_list_region(l), a.get());
    EXPECT_EQ(get_next_list_region(l), b.get());
    EXPECT_EQ(get_next_list_region(l), nullptr);
    EXPECT_NE(find_region_in_list(l, b.get()), nullptr);
    l = remove_region_from_list(l, a.get());
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(find_region_in_list(l, a.get()), nullptr);
    EXPECT_EQ(remove_region_from_list(l, a.get()), l);
    EXPECT_EQ(remove_region_from_list(l, b.get()), nullptr);
}

TEST(RegionTree, DeepChainsAreWalkedWithoutRecursion)
{
    const region_node_handle root(init_region_node(nullptr, 0, 0, nullptr, nullptr));
    tregionnode* tip = root.get();
    for (int i = 0; i < 200000; ++i) {
        tregionnode* n = init_region_node(tip, 0, 0, nullptr, nullptr);
        add_region_son(tip, n);
        tip = n;
    }
    EXPECT_EQ(count_regions(root.get()), 200001);
    int counter = 0;
    tree_relabel(root.get(), &counter);
    EXPECT_EQ(tip->label, 200000);
}

}  // namespace
