#pragma once

// The trees that the labels of one image refer to. Not part of the
// library's interface.

#include <functional>
#include <string>

#include "analyse/trees/region_types.h"
#include "automation/detail/handles.h"

// The bright (1) and the dark (2) tree of one image, each loaded the first
// time it is asked for, with its node array by file index.
class class_trees {
public:
    // path(polarity) names the tree file, "" when the image has none.
    explicit class_trees(std::function<std::string(int)> path) : path_(std::move(path)) {}

    // The tree, or null (after a message on the first request) when it
    // cannot be loaded.
    region_tree* tree(int polarity);
    // The path the tree was loaded from.
    const std::string& file(int polarity);

private:
    std::function<std::string(int)> path_;
    bool tried_[2] = {false, false};
    std::string files_[2];
    region_tree_handle trees_[2];
};

// The region with that id (file index) in the tree's node array, or null.
tregionnode* region_of(const region_tree* tree, int id);
