#pragma once

// The attribute pass with an update rule: the rule machine's bottom-up run
// gives every node a new attribute vector.
//
// Sums over pixels are taken in 64 bits; a volume beyond the int range is
// stored saturated at INT_MAX (or INT_MIN), while the contrast is computed
// from the exact sum. Positions outside the grey image are left out of every
// sum and histogram. Trees are walked without recursion, so any depth is
// fine.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

struct vm;

// The rule pass on the node and its subtree: grey statistics, moments,
// boxes and decomposition entropy, then the machine's bottom-up run and a
// new attribute vector (the old one is freed), sons before their father.
// The reference has no effect. When the machine fails (a rule fault that
// does not end the process, rule_file.h) the subtree is left as it was and
// the machine's `failed` tells.
ANALYSE_EXPORT void dynamic_region_update(tregionnode* node, image* grey, vm* machine,
                                          int reference);
// Root step over the whole grey image, parse of the rule file, rule pass on
// every son of the root; the root then borrows its first son's vector and
// the tree gets a zeroed selection buffer of that vector's capacity (none
// when the son has no vector). Returns the tree's region count; 0 when the
// rule file does not parse or its run meets a rule fault that does not end
// the process (rule_file.h; either way no node changes), the root has no
// sons or the grey image has another size than the tree (refused with a
// message).
ANALYSE_EXPORT int dynamic_region_tree_update(region_tree* tree, image* grey, const char* rule_file,
                                              int reference);
// Parses the rule file and runs the rule pass on the node. Returns 1, or 0
// when the file does not parse or its run fails (rule_file.h); the node then
// stays as it was.
ANALYSE_EXPORT int init_single_node_attributes(const char* rule_file, tregionnode* node,
                                               image* grey, int reference);
