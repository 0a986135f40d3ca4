#pragma once

// Scoped handles for the records of the lower libraries that the automation
// classes hold while they work. Not part of the library's interface.

#include <memory>

#include "analyse/trees/regiontree.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

struct image_deleter {
    void operator()(image* img) const { delete_image(img); }
};
struct vx_image_deleter {
    void operator()(vx_image* v) const { delete_vximage(v); }
};
struct region_tree_deleter {
    void operator()(region_tree* tree) const { delete_regiontree(tree); }
};

using image_handle = std::unique_ptr<image, image_deleter>;
using vx_image_handle = std::unique_ptr<vx_image, vx_image_deleter>;
using region_tree_handle = std::unique_ptr<region_tree, region_tree_deleter>;
