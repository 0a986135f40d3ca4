#pragma once

// A small hand-made region tree over a 4 x 2 grey image whose attribute
// values can be worked out by hand:
//
//   grey   10 10 20 20        root: all 8 pixels
//          10 10 20 40        a = {0, 1, 4, 5}, b = {2, 3, 6, 7}
//                             b1 = {2, 6} and b2 = {3, 7}, the sons of b

#include <cstdlib>
#include <vector>

#include "analyse/trees/regiontree.h"
#include "imagecore/image.h"

namespace feature_test {

struct small_tree {
    image* grey = nullptr;
    region_tree* tree = nullptr;
    tregionnode* a = nullptr;
    tregionnode* b = nullptr;
    tregionnode* b1 = nullptr;
    tregionnode* b2 = nullptr;

    small_tree()
    {
        grey = create_image(4, 2, 0);
        const int values[] = {10, 10, 20, 20, 10, 10, 20, 40};
        for (int p = 0; p < 8; ++p)
            grey->pixels[p] = values[p];
        update_image_struct(grey);
        tree = init_region_tree(4, 2, 4);
        a = son(tree->root, 3, {0, 1, 4, 5});
        b = son(tree->root, 2, {2, 3, 6, 7});
        b1 = son(b, 0, {2, 6});
        b2 = son(b, 1, {3, 7});
        tree->regions = count_regions(tree->root);
        int counter = 0;
        tree_relabel(tree->root, &counter);
    }
    ~small_tree()
    {
        delete_regiontree(tree);
        delete_image(grey);
    }
    small_tree(const small_tree&) = delete;
    small_tree& operator=(const small_tree&) = delete;

    static tregionnode* son(tregionnode* father, int birth, const std::vector<int>& pixels)
    {
        auto* own = static_cast<int*>(std::malloc(pixels.size() * sizeof(int)));
        for (size_t i = 0; i < pixels.size(); ++i)
            own[i] = pixels[i];
        tregionnode* n = init_region_node(father, birth, static_cast<int>(pixels.size()), own, nullptr);
        add_region_son(father, n);
        return n;
    }
};

}  // namespace feature_test
