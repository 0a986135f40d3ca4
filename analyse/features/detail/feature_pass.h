#pragma once

// What the attribute passes over region trees share: the walk that updates a
// node before its sons and finishes it after them, the decomposition
// entropy, the root step and the fields every pass takes from the grey
// statistics.

#include <cstdint>
#include <vector>

#include "analyse/features/detail/grey_statistics.h"
#include "analyse/trees/region_types.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/image.h"

// Depth first without recursion (trees read from files may be as deep as
// they have nodes): `pre` runs before a node's sons, `post` after them.
template <class Pre, class Post>
void walk_pre_post(tregionnode* root, Pre pre, Post post)
{
    struct frame {
        tregionnode* node;
        list_elem* next;  // next son to enter, or the list's tail
    };
    auto enter = [&pre](tregionnode* node) {
        pre(node);
        return frame{node, node->sons != nullptr ? node->sons->head->next : nullptr};
    };
    std::vector<frame> stack{enter(root)};
    while (!stack.empty()) {
        frame& top = stack.back();
        if (top.next != nullptr && top.next != top.node->sons->tail) {
            tregionnode* son = node_of(top.next);
            top.next = top.next->next;
            stack.push_back(enter(son));
        } else {
            tregionnode* node = top.node;
            stack.pop_back();
            post(node);
        }
    }
}

inline int son_count(const tregionnode* node)
{
    return node->sons != nullptr ? node->sons->size : 0;
}

inline tregionnode* first_son(const tregionnode* node)
{
    return son_count(node) > 0 ? node_of(node->sons->head->next) : nullptr;
}

// -sum q log2 q / log2 k over the sons' area quotients; 1.0 without sons.
double decomposition_entropy(const tregionnode* node);

// size / father's size; 1.0 without father.
double father_area_quotient(const tregionnode* node);

// volume, greyentropy, variance, meangrey.
void store_grey_stats(tregionnode* node, const grey_stats& s);

// Root fields that follow from the image size, the root's size and its
// volume: widths, roundness, convexity, contrast, whole-number area
// fraction, decomp_homogeneity and significance.
void set_root_shape(tregionnode* root, int width, int height, int64_t volume);
// The root's ratios to a father it does not have.
void clear_root_quotients(tregionnode* root);

// Whether the grey image has the tree's size; prints why not. Passes that
// size the root from the image refuse one that does not fit, since the
// root's size must stay the length of its pixel array.
bool grey_fits_tree(const region_tree* tree, const image* grey);

// Sum over all pixels of (value - the image's `min`).
int64_t image_volume(const image* grey);
// Sum over the node's pixels of |value - reference|.
int64_t reference_volume(const image* grey, const tregionnode* node, int reference);
