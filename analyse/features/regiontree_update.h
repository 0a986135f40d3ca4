#pragma once

// Attribute updates of a whole tree without rule file: the tree gets a new
// attribute image from the grey image and every region its derived values
// (volume reference 1: the image maximum, 2: the image minimum).

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

// attr_image := deep copy of grey with the given flag (the old one freed);
// region_tree_update; `update` := 0. Returns 1, or 0 when the copy could not
// be made (the tree is left as it was).
ANALYSE_EXPORT int update_regiontree(vx_image* grey, region_tree* tree, int flag, int reference);
// The same with attr_image := grey in scale 0 of `scales` scales, flag 1.
ANALYSE_EXPORT int update_regiontree_by_image(image* grey, region_tree* tree, int reference);
