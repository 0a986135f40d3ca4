#pragma once

// The attribute run of a region tree: the one entry point through which the
// GUI, the repositories and the tables compute a tree's attributes.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// Rebuilds the node array (every node below the root at its file index, which
// becomes its label), gives the tree a new two-scale attribute image whose
// scale 0 is a copy of grey, and runs the attribute pass: with an update-rule
// file the rule pass (base attributes, rule symbols and attribute vectors),
// without one the base attributes only. reference is the volume reference (1
// the image maximum, 2 the image minimum). Clears the tree's update flag and
// returns 1; 0 (the tree unchanged) without a grey image, and 0 when the
// attribute image cannot be allocated. A rule file that does not parse, or
// whose run meets a rule fault that does not end the process (rule_file.h),
// changes no region, leaves the update flag set and returns 0.
ANALYSE_EXPORT int va_update_region_tree(image* grey, region_tree* tree, const char* rule_file,
                                         int reference);
