#pragma once

// The one builder of hand-made region trees for the tests of the region
// library: nodes over the pixels and contours a test chooses, made as the
// tree code makes them (init_region_node) and freed with their tree, the
// partitions the tree builders start from, and the small trees that several
// suites share.

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "analyse/handles.h"
#include "analyse/trees/regiontree.h"
#include "imagecore/handles.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

namespace vx_test {

// A malloc'ed copy, null for an empty list.
inline int* heap_ints(const std::vector<int>& values)
{
    if (values.empty())
        return nullptr;
    auto* out = static_cast<int*>(std::malloc(sizeof(int) * values.size()));
    std::memcpy(out, values.data(), sizeof(int) * values.size());
    return out;
}

// The pixels of an image in raster order.
inline std::vector<int> pixels(const image* img)
{
    return std::vector<int>(img->pixels, img->pixels + img->width * img->height);
}

// A node owning a copy of `pixels`, with these outer and inner contours, as
// init_region_node makes it (birth 0, age 1); appended to the father's sons
// when there is a father. Without a father the caller owns the node
// (region_node_handle).
inline tregionnode* node(tregionnode* father, const std::vector<int>& pixels,
                         const std::vector<int>& contour = {}, const std::vector<int>& inner = {})
{
    tregionnode* n =
        init_region_node(father, 0, static_cast<int>(pixels.size()), heap_ints(pixels), nullptr);
    n->contour = heap_ints(contour);
    n->contour_size = static_cast<int>(contour.size());
    n->inner_contour = heap_ints(inner);
    n->inner_contour_size = static_cast<int>(inner.size());
    if (father != nullptr)
        add_region_son(father, n);
    return n;
}

// A w x h tree whose root has one son: the pixels (x, y) for which
// inside(x, y) holds, its contours traced as the tree builder traces them
// (8-connected).
template <class Inside>
region_tree* traced_region(int w, int h, Inside inside)
{
    region_tree* tree = init_region_tree(w, h, 1);
    const image_handle labels(create_image(w, h, 0));
    set_image_connect(labels.get(), 8);
    std::vector<int> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inside(x, y)) {
                pixels.push_back(y * w + x);
                labels->pixels[y * w + x] = 1;
            }
    add_region_son(tree->root, init_region_node(tree->root, 0, static_cast<int>(pixels.size()),
                                                heap_ints(pixels), labels.get()));
    return tree;
}

// The same with the disc of radius r about (cx, cy).
inline region_tree* traced_disc(int w, int h, int cx, int cy, int r)
{
    return traced_region(
        w, h, [=](int x, int y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; });
}

// Sets the node's birth scale; returns the node.
inline tregionnode* born(tregionnode* n, int birth)
{
    n->birth = birth;
    return n;
}

// An empty attribute vector of `capacity` entries, freed with its node.
inline attrib_array* attribute_vector(int capacity)
{
    auto* v = static_cast<attrib_array*>(std::calloc(1, sizeof(attrib_array)));
    v->entries = static_cast<attrib_entry*>(
        std::calloc(static_cast<size_t>(capacity), sizeof(attrib_entry)));
    v->capacity = capacity;
    return v;
}

// Gives the node a vector of "area" (int), "ratio" (double) and "shape"
// (string).
inline void describe(tregionnode* n, int area, double ratio, const char* shape)
{
    n->attribs = attribute_vector(3);
    init_int_attrib(area, "area", n->attribs);
    init_double_attrib(ratio, "ratio", n->attribs);
    init_string_attrib(shape, "shape", n->attribs);
}

// Numbers the tree in pre-order (root 0) and sets its region count.
inline void number(region_tree* tree)
{
    int counter = 0;
    tree_relabel(tree->root, &counter);
    tree->regions = counter;
}

// Makes `grey` (the tree's size) the tree's grey image: scale 0 of a
// two-scale attribute image.
inline void give_grey(region_tree* tree, const std::vector<int>& grey)
{
    const image_handle g(create_image(tree->width, tree->height, 0));
    std::memcpy(g->pixels, grey.data(), sizeof(int) * grey.size());
    delete_vximage(tree->attr_image);
    tree->attr_image = init_vximage_from_single_image(g.get(), 2, 1);
}

// A partition from one picture per scale, finest first: '.' line, any other
// character basin.
inline vx_image* partition_from(const std::vector<std::vector<std::string>>& scales)
{
    const int w = static_cast<int>(scales[0][0].size());
    const int h = static_cast<int>(scales[0].size());
    vx_image* v = init_vx_image(w, h, static_cast<int>(scales.size()));
    for (size_t s = 0; s < scales.size(); ++s)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                v->scales[s].pixels[y * w + x] = scales[s][y][x] == '.' ? 0 : 1;
    return v;
}

// Scale 2 one basin; scale 1 split by a vertical line; scale 0 splits the
// right part again by a horizontal line.
inline const std::vector<std::vector<std::string>> kThreeScales = {
    {"11.111", "11.111", "11....", "11.111"},
    {"11.111", "11.111", "11.111", "11.111"},
    {"111111", "111111", "111111", "111111"},
};

// A 4 x 2 tree: root -> A (top row) -> A1 (its left half), and B (bottom
// row), numbered in pre-order (A 1, A1 2, B 3) and described as A 12, 0.5,
// "round"; A1 5, 0.25, "thin"; B 7, 2.25, "long". The root borrows A's
// vector, as after the rule pass.
struct three_regions {
    const region_tree_handle owner{init_region_tree(4, 2, 3)};
    region_tree* const tree = owner.get();
    tregionnode* const a = node(tree->root, {0, 1, 2, 3});
    tregionnode* const a1 = node(a, {0, 1});
    tregionnode* const b = node(tree->root, {4, 5, 6, 7});

    three_regions()
    {
        describe(a, 12, 0.5, "round");
        describe(a1, 5, 0.25, "thin");
        describe(b, 7, 2.25, "long");
        number(tree);
        tree->root->attribs = a->attribs;
    }
};

// A tree over a 4 x 2 grey image whose attribute values can be worked out
// by hand:
//
//   grey   10 10 20 20        root: all 8 pixels
//          10 10 20 40        a = {0, 1, 4, 5} (birth 3), b = {2, 3, 6, 7}
//                             (birth 2), b1 = {2, 6} (birth 0) and
//                             b2 = {3, 7} (birth 1), the sons of b
struct grey_tree {
    const image_handle grey_owner{create_image(4, 2, 0)};
    image* const grey = grey_owner.get();
    const region_tree_handle owner{init_region_tree(4, 2, 4)};
    region_tree* const tree = owner.get();
    tregionnode* const a = born(node(tree->root, {0, 1, 4, 5}), 3);
    tregionnode* const b = born(node(tree->root, {2, 3, 6, 7}), 2);
    tregionnode* const b1 = born(node(b, {2, 6}), 0);
    tregionnode* const b2 = born(node(b, {3, 7}), 1);

    grey_tree()
    {
        const int values[] = {10, 10, 20, 20, 10, 10, 20, 40};
        for (int p = 0; p < 8; ++p)
            grey->pixels[p] = values[p];
        update_image_struct(grey);
        number(tree);
    }
};

}  // namespace vx_test
