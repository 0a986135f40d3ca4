#pragma once

#include <vector>

// The component tree of an image for one grey order: with grey_up the
// max-tree (nodes are the connected components of the upper level sets),
// with grey_down the min-tree. Every reconstruction of a marker under (above)
// the image is a choice of one level per node, so a partition that
// reconstructs one marker per scale builds the tree once and then spends a
// few passes over the pixels and nodes per scale.
struct component_tree {
    std::vector<int> node_of;  // per pixel: the node whose level it has
    std::vector<int> parent;   // per node; the root is node 0, parent[i] < i
    std::vector<int> level;    // per node

    int nodes() const { return static_cast<int>(level.size()); }
};

// Builds the tree of the width x height pixels with 8 or 4 neighbours.
template <class Order>
void build_component_tree(const int* pixels, int width, int height, bool conn8,
                          component_tree& tree);

// marker := reconstruction of marker by dilation under (grey_up) or by
// erosion above (grey_down) the tree's image `mask`, whose tree was built with
// the same connectivity. `node_values` holds at least tree.nodes() ints.
template <class Order>
void reconstruct_by_tree(const component_tree& tree, const int* mask, int* marker,
                         int* node_values);
