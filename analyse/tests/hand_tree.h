#pragma once

// Region trees put together by hand for the display and table tests: nodes
// with the pixels and contours a test chooses, freed with their tree.

#include <cstdlib>
#include <cstring>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "analyse/trees/regiontree.h"
#include "imagecore/vx_image.h"

namespace hand_tree {

// A malloc'ed copy, null for an empty list.
inline int* heap_ints(const std::vector<int>& values)
{
    if (values.empty())
        return nullptr;
    auto* out = static_cast<int*>(std::malloc(sizeof(int) * values.size()));
    std::memcpy(out, values.data(), sizeof(int) * values.size());
    return out;
}

// A node with these pixels and contours, appended to the father's sons when
// there is a father. Without a father the caller frees it (delete_region).
inline tregionnode* node(tregionnode* father, const std::vector<int>& pixels,
                         const std::vector<int>& contour = {}, const std::vector<int>& inner = {})
{
    tregionnode* n = init_region_node(father, 0, static_cast<int>(pixels.size()), heap_ints(pixels), nullptr);
    n->contour = heap_ints(contour);
    n->contour_size = static_cast<int>(contour.size());
    n->inner_contour = heap_ints(inner);
    n->inner_contour_size = static_cast<int>(inner.size());
    if (father != nullptr)
        add_region_son(father, n);
    return n;
}

// An empty attribute vector of `capacity` entries, freed with its node.
inline attrib_array* vector(int capacity)
{
    auto* v = static_cast<attrib_array*>(std::calloc(1, sizeof(attrib_array)));
    v->entries = static_cast<attrib_entry*>(std::calloc(static_cast<size_t>(capacity), sizeof(attrib_entry)));
    v->capacity = capacity;
    return v;
}

// The tree's grey image: scale 0 of a two-scale attribute image.
inline void give_grey(region_tree* tree, const std::vector<int>& grey)
{
    image* g = create_image(tree->width, tree->height, 0);
    std::memcpy(g->pixels, grey.data(), sizeof(int) * grey.size());
    delete_vximage(tree->attr_image);
    tree->attr_image = init_vximage_from_single_image(g, 2, 1);
    delete_image(g);
}

// Numbers the tree in pre-order (root 0) and sets its region count.
inline void number(region_tree* tree)
{
    int counter = 0;
    tree_relabel(tree->root, &counter);
    tree->regions = counter;
}

// Gives the node a vector of "area" (int), "ratio" (double) and "shape"
// (string).
inline void describe(tregionnode* n, int area, double ratio, const char* shape)
{
    n->attribs = vector(3);
    init_int_attrib(area, "area", n->attribs);
    init_double_attrib(ratio, "ratio", n->attribs);
    init_string_attrib(shape, "shape", n->attribs);
}

// A 4 x 2 tree: root -> A (top row) -> A1 (its left half), and B (bottom
// row), numbered in pre-order (A 1, A1 2, B 3) and described as A 12, 0.5,
// "round"; A1 5, 0.25, "thin"; B 7, 2.25, "long". The root borrows A's
// vector, as after the rule pass.
struct three_regions {
    region_tree* tree = init_region_tree(4, 2, 3);
    tregionnode* a = node(tree->root, {0, 1, 2, 3});
    tregionnode* a1 = node(a, {0, 1});
    tregionnode* b = node(tree->root, {4, 5, 6, 7});

    three_regions()
    {
        describe(a, 12, 0.5, "round");
        describe(a1, 5, 0.25, "thin");
        describe(b, 7, 2.25, "long");
        int counter = 0;
        tree_relabel(tree->root, &counter);
        tree->regions = counter;
        tree->root->attribs = a->attribs;
    }
    ~three_regions() { delete_regiontree(tree); }
    three_regions(const three_regions&) = delete;
    three_regions& operator=(const three_regions&) = delete;
};

inline std::vector<int> pixels(const image* img)
{
    return std::vector<int>(img->pixels, img->pixels + img->width * img->height);
}

}  // namespace hand_tree
