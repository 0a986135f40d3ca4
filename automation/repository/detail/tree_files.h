#pragma once

// Tree files as the repository classes load them: one bad file costs its
// image, never the process. Not part of the library's interface.

#include <string>

#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// The tree of a binary tree file, or null after a message when the file is
// missing, cannot be read or is refused by the tree-file reader.
region_tree* load_tree_file(const std::string& path);

// The tree with the attributes of the update rule computed on the picture
// (polarity as volume reference; a null or empty rule name gives the base
// attributes only): its node array holds every node below the
// root at its file index. Null after a message when the tree cannot be
// loaded, has another size than the picture or gets no attributes.
region_tree* measured_tree(const image* picture, const std::string& path, const char* updateRule,
                           int polarity);
